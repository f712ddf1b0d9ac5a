// Qt's own texts in the interface language: the standard buttons of message boxes (Yes, No, OK,
// Cancel), the print dialog and the file dialogs. Qt's translation "qtbase_<language>.qm" comes
// from Qt's translations folder (Debian's qt6-translations-l10n).
#pragma once

#include <QPointer>
#include <QString>
#include <QTranslator>

namespace zabko {

// The language code of Qt's translation for the programs' interface: "he" for the Hebrew
// interface, "en" (Qt's own texts, no translation) for the English one.
QString QtInterfaceLanguage(bool hebrewInterface);

// Installs Qt's translation for a language into the application while it lives, and removes it
// again when it goes. English needs none; a language whose translation is missing leaves Qt's
// English texts (the programs still run).
class TQtTranslations {
 public:
  explicit TQtTranslations(const QString& language);
  ~TQtTranslations();
  TQtTranslations(const TQtTranslations&) = delete;
  TQtTranslations& operator=(const TQtTranslations&) = delete;

  // Whether a translation was found and installed.
  bool Installed() const { return !translator_.isNull(); }

 private:
  QPointer<QTranslator> translator_;
};

}  // namespace zabko
