// The learning program's application type: its fixed answers, the word filling and the creation
// of the two language packs.
#include "core/zabkolex_app.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"
#include "tests/core/language_fixture.h"

#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::FakeButtons;
using test::FixtureWord;

TEST(AppTypeTest, FixedAnswersOfTheLearningProgram) {
  const TZabkolexApp app;
  const struct {
    const char* name;
    QVariant actual, expected;
  } answers[] = {
      {"GetProductName", app.GetProductName(), "Zabkolex"},
      {"ShowDidYouKnow", app.ShowDidYouKnow(), true},
      {"ShowFollowFaces", app.ShowFollowFaces(), true},
      {"ShowHotWords", app.ShowHotWords(), true},
      {"ShowMobileButton", app.ShowMobileButton(), true},
      {"HasAudio", app.HasAudio(), true},
      {"ShowContactButton", app.ShowContactButton(), true},
      {"ShowSendToFriendButton", app.ShowSendToFriendButton(), true},
      {"ShowHelpButton", app.ShowHelpButton(), true},
      {"ShowInfoButton", app.ShowInfoButton(), true},
      {"LoginAsksEmail", app.LoginAsksEmail(), false},
      {"LoginCompactButtons", app.LoginCompactButtons(), false},
      {"ShowLoginExitButton", app.ShowLoginExitButton(), true},
      {"FilterComboWidth", app.FilterComboWidth(), 41},
      {"FullScreen", app.FullScreen(), false},
      {"PreferredScreenWidth", app.PreferredScreenWidth(), -1},
      {"PreferredScreenHeight", app.PreferredScreenHeight(), -1},
      {"MaxMainWidth", app.MaxMainWidth(), 1024},
      {"MaxMainHeight", app.MaxMainHeight(), 768},
      {"RestoreDisplayMode", app.RestoreDisplayMode(), true},
      {"RememberPassword", app.RememberPassword(), true},
      {"LeftToRightLists", app.LeftToRightLists(), false},
      {"SwitchToEnglishKeyboard", app.SwitchToEnglishKeyboard(), true},
      {"UseTextBuilder", app.UseTextBuilder(), true},
      {"HeaderButtonOffset", app.HeaderButtonOffset(), 0},
      {"PlainQuestionFonts", app.PlainQuestionFonts(), false},
      {"ShowNoHebrewOption", app.ShowNoHebrewOption(), true},
      {"OpenServerPage", app.OpenServerPage(), false},
      {"LoginUsesTextBuilder", app.LoginUsesTextBuilder(), false},
      {"HintHidePause", app.HintHidePause(), 2500},
      {"PrintCardBackground", app.PrintCardBackground(), true},
      {"CardWordFontBold", app.CardWordFontBold(), true},
      {"PrintWordOffset", app.PrintWordOffset(300, true), 0},
      {"CompactHomeButton", app.CompactHomeButton(), true},
      {"SummaryWidth", app.SummaryWidth(), 589},
      {"SummaryHeight", app.SummaryHeight(), 438},
      {"MapLanguageIndex(0)", app.MapLanguageIndex(0), 1},
      {"MapLanguageIndex(1)", app.MapLanguageIndex(1), 0},
      {"MaxListWidth", app.MaxListWidth(), INT_MAX},
      {"FollowLanguageMode", app.FollowLanguageMode(), 0},
      {"EnglishInterface", app.EnglishInterface(), false},
      {"GetAdditionalGUITextName", app.GetAdditionalGUITextName(), ""},
      {"GetCardsPrintBitmap", app.GetCardsPrintBitmap(), "cards_print.bmp"},
      {"GetMainLogoBitmap", app.GetMainLogoBitmap(), "main\\logo.bmp"},
      {"GetFooterLogoBitmap", app.GetFooterLogoBitmap(), "main\\fotterLogo.bmp"},
      {"GetRegistryKey", app.GetRegistryKey(), "Software\\Kestrani\\Zabkolex"},
      {"GetAppDataFolderName", app.GetAppDataFolderName(), "Kestrani Zabkolex"},
      {"ForceMp3NoHebrew", app.ForceMp3NoHebrew(), false},
      {"GetVersionNumber", app.GetVersionNumber(), 7001},
      {"LargeTestLayout", app.LargeTestLayout(), false},
      {"TestRowUsesLabelHeight", app.TestRowUsesLabelHeight(), true},
      {"GetLanguageIds", QVariant::fromValue(app.GetLanguageIds()), QVariant::fromValue(QList<int>{0, 1})},
      {"GetAlphabetSizes", QVariant::fromValue(app.GetAlphabetSizes()), QVariant::fromValue(QList<int>{22, 26})},
      {"GetDataFolder", app.GetDataFolder(), "Data"},
      {"GetGameProgramName", app.GetGameProgramName(), "Zabkoplay"},
  };
  for (const auto& a : answers) EXPECT_EQ(a.actual, a.expected) << a.name;
  EXPECT_EQ(TZabkolexApp::ProductName(), "Zabkolex");
  EXPECT_NE(dynamic_cast<TZabkolexApp*>(GetAppTypeClass().get()), nullptr);
}

TEST(AppTypeTest, LetterButtonsGetTheirStyle) {
  test::FakeLetterButton button;
  TZabkolexApp().StyleButton(button);
  EXPECT_EQ(button.style, (TButtonStyle{-1, -3, -2, -2, "Arial", 14}));
}

// Word filling through a loaded database: the base keeps the sound names, the learning program
// appends ".mp3" to the main and extra sounds, empty names included, but not to the examples.
TEST(AppTypeTest, FillWordAppendsMp3ToMainAndExtraSounds) {
  QTemporaryDir dir;
  const QString path = dir.filePath("words.dat");
  test::WriteWordDatabase(path, {{1, 1, "dog", nullptr, {"w", "x", "y"}}, {2, 1, "cat", nullptr, {"", ""}}});
  const TZabkolexApp app;
  TWordList list(app.WordFiller());
  list.LoadFromFile(path);
  const TWord* dog = list.FindById(1);
  EXPECT_EQ(dog->MainSound.Name, "w.mp3");
  ASSERT_EQ(dog->ExtraSounds.size(), 2u);
  EXPECT_EQ(dog->ExtraSounds[0].Name, "x.mp3");
  EXPECT_EQ(dog->ExtraSounds[1].Name, "y.mp3");
  EXPECT_EQ(dog->ExampleSound1.Name, "example1");
  EXPECT_EQ(dog->ExampleSound2.Name, "example2");
  EXPECT_TRUE(dog->NumberMeanings);
  EXPECT_FALSE(dog->PickWholeLine);
  EXPECT_EQ(dog->Meanings, (QStringList{"first", "second"}));
  const TWord* cat = list.FindById(2);
  EXPECT_EQ(cat->MainSound.Name, ".mp3");
  EXPECT_EQ(cat->ExtraSounds.at(0).Name, ".mp3");

  // The base application type's filling leaves the names alone.
  struct BaseOnly : TZabkolexApp {
    void FillWord(TWord& w, const TDataPacket& p) const override { TAppTypeSpecific::FillWord(w, p); }
  } base;
  TWordList plain(base.WordFiller());
  plain.LoadFromFile(path);
  EXPECT_EQ(plain.FindById(1)->MainSound.Name, "w");
}

TEST(AppTypeTest, CreatesTheHebrewThenTheEnglishPack) {
  QTemporaryDir dir;
  test::WriteWordDatabase(dir.filePath("ClientPsyHebrew.dat"), {{1, 2, "בית", nullptr}});
  test::WriteWordDatabase(dir.filePath("ClientPsyEnglish.dat"), {{5, 0, "to go", nullptr}, {6, 0, "be", nullptr}});
  FakeButtons hebrew(22), english(26);
  int shown = 0;
  const TZabkolexApp app;
  const auto packs = app.CreateLanguagePacks(
      {hebrew.Pointers(), english.Pointers()}, [&](const QString& name) { return dir.filePath(name); }, {}, {},
      [&](TLanguagePack&, int, int, int, int) { ++shown; });
  ASSERT_EQ(packs.size(), 2u);
  ASSERT_NE(dynamic_cast<THebrewLanguage*>(packs[0].get()), nullptr);
  ASSERT_NE(dynamic_cast<TEnglishLanguage*>(packs[1].get()), nullptr);
  EXPECT_EQ(packs[0]->LanguageId(), 0);
  EXPECT_EQ(packs[0]->AlphabetSize(), 22);
  EXPECT_EQ(packs[1]->LanguageId(), 1);
  EXPECT_EQ(packs[1]->AlphabetSize(), 26);
  EXPECT_EQ(packs[0]->LetterButtons().size(), 22u);
  EXPECT_EQ(shown, 2);
  // The words were filled by the application type.
  EXPECT_EQ(packs[1]->WordList().FindById(5)->MainSound.Name, "main.mp3");

  // Clicking a button of the English pack selects its letter; no callbacks given means allowed.
  english.buttons[6]->onClick();
  EXPECT_EQ(packs[1]->SelectedLetter(), 6);

  // Group names of MP3 export.
  const TWord& bayit = *packs[0]->WordList().FindById(1);
  const TWord& go = *packs[1]->WordList().FindById(5);
  EXPECT_EQ(app.GetSoundGroupName(true, bayit, *packs[0]), "Bet");
  EXPECT_EQ(app.GetSoundGroupName(false, bayit, *packs[0]), QString::fromUtf8("ב"));
  EXPECT_EQ(app.GetSoundGroupName(false, go, *packs[1]), "G");
}

TEST(AppTypeTest, AMissingDatabaseEndsTheCreation) {
  QTemporaryDir dir;
  test::WriteWordDatabase(dir.filePath("ClientPsyEnglish.dat"), {});
  try {
    TZabkolexApp().CreateLanguagePacks({}, [&](const QString& name) { return dir.filePath(name); }, {}, {}, {});
    FAIL() << "created without the Hebrew database";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Failed to load file " + dir.filePath("ClientPsyHebrew.dat"));
  }
}

}  // namespace
}  // namespace zabko
