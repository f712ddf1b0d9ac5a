// Qt's own windows read in the interface language while the translations are installed, and in
// Qt's English again once they are gone.
#include "ui/qt_translations.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zabko {
namespace {

bool IsHebrew(const QString& text) {
  for (QChar c : text)
    if (c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA) return true;
  return false;
}

// The texts on the buttons and titles of the Qt windows the programs show.
QStringList QtWindowTexts() {
  QStringList texts;
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
  for (QAbstractButton* button : box.buttons()) texts << button->text();

  // The folder picker of the production dialog, as Qt draws it.
  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  files.setFileMode(QFileDialog::Directory);
  files.setOption(QFileDialog::ShowDirsOnly);
  for (QDialogButtonBox* buttons : files.findChildren<QDialogButtonBox*>())
    for (QAbstractButton* button : buttons->buttons()) texts << button->text();

  QPrinter printer;
  QPrintDialog print(&printer);
  texts << print.windowTitle();
  return texts;
}

TEST(QtTranslationsTest, QtsWindowsFollowTheInterfaceLanguageWhileInstalled) {
  const QStringList english = QtWindowTexts();
  ASSERT_EQ(english.size(), 7) << english.join(", ").toStdString();
  for (const QString& text : english) EXPECT_FALSE(IsHebrew(text)) << text.toStdString();

  struct TCase {
    bool hebrewInterface;
    bool installed;
  };
  for (const TCase& c : {TCase{true, true}, TCase{false, false}}) {
    SCOPED_TRACE(c.hebrewInterface ? "Hebrew" : "English");
    QStringList texts;
    {
      TQtTranslations translations(QtInterfaceLanguage(c.hebrewInterface));
      EXPECT_EQ(translations.Installed(), c.installed);
      texts = QtWindowTexts();
    }
    ASSERT_EQ(texts.size(), english.size());
    for (qsizetype i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(IsHebrew(texts[i]), c.hebrewInterface) << texts[i].toStdString();
    }
    // Removed with the object: the next window is English again.
    EXPECT_EQ(QtWindowTexts(), english);
  }
}

TEST(QtTranslationsTest, ALanguageWithoutATranslationKeepsQtsEnglish) {
  const QStringList english = QtWindowTexts();
  TQtTranslations translations(QStringLiteral("xx"));
  EXPECT_FALSE(translations.Installed());
  EXPECT_EQ(QtWindowTexts(), english);
}

}  // namespace
}  // namespace zabko
