#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace zabko {

QString QtInterfaceLanguage(bool hebrewInterface) {
  return hebrewInterface ? QStringLiteral("he") : QStringLiteral("en");
}

TQtTranslations::TQtTranslations(const QString& language) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application || language == QLatin1String("en")) return;
  // Owned by the application, so that it never outlives the object it is installed in.
  auto* translator = new QTranslator(application);
  if (translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator)) {
    translator_ = translator;
  } else {
    delete translator;
  }
}

TQtTranslations::~TQtTranslations() {
  if (translator_.isNull()) return;
  QCoreApplication::removeTranslator(translator_);
  delete translator_.data();
}

}  // namespace zabko
