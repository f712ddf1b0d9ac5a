#include "learn/frames/search_frame.h"

#include "core/word.h"
#include "platform/registry_ini_file.h"
#include "ui/component.h"
#include "ui/n_button.h"

#include "tests/learn/frame_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace zabko::test {
namespace {

class SearchFrameTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    LoadPacks();
    panel.resize(186, 228);
    frame = new TSearchFrm(&panel, &manager, &host);
    frame->SetSizeChanged([this](QWidget*) { ++sizeChanges; });
  }
  void Start(int screenHeight = 800) {
    frame->Setup(screenHeight);
    frame->FillPacks();
    frame->LoadCaptions();
  }
  void ShowEnglish() {
    central_->CurrentLanguageId = 1;
    frame->ShowPack(kEnglish);
  }
  QComboBox* Box(const char* name) { return FindComponent<QComboBox>(frame, name); }
  QString Memo() { return FindComponent<QPlainTextEdit>(frame, "ExplainMemo")->toPlainText(); }
  QString Text(const char* key) { return central_->Strings().GetString(key); }

  QWidget panel;
  TSearchFrm* frame = nullptr;
  int sizeChanges = 0;
};

TEST_F(SearchFrameTest, ABoxPerPackAndOnlyTheCurrentPacksShows) {
  Start();
  frame->ShowPack(kHebrew);
  EXPECT_TRUE(Box("QuickSearch1")->isVisibleTo(frame));
  EXPECT_FALSE(Box("QuickSearch2")->isVisibleTo(frame));
  EXPECT_FALSE(Box("QuickSearch3")->isVisibleTo(frame));
  EXPECT_EQ(frame->CurrentBox(), Box("QuickSearch1"));
  EXPECT_EQ(Box("QuickSearch1")->count(), 3);
  EXPECT_EQ(Box("QuickSearch1")->layoutDirection(), Qt::RightToLeft);
  ShowEnglish();
  EXPECT_FALSE(Box("QuickSearch1")->isVisibleTo(frame));
  EXPECT_TRUE(Box("QuickSearch2")->isVisibleTo(frame));
  EXPECT_EQ(Box("QuickSearch2")->layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(Box("QuickSearch2")->itemText(0), "apple");
  // The widest headword (5 characters of 10 px), the scroll bar and 10 px.
  EXPECT_GE(frame->DropDownWidth(1), 60);
  EXPECT_EQ(Box("QuickSearch2")->view()->minimumWidth(), frame->DropDownWidth(1));
  EXPECT_EQ(FindComponent<QPlainTextEdit>(frame, "ExplainMemo")->geometry(), QRect(8, 32, 169, 169));
}

TEST_F(SearchFrameTest, TypingShowsTheTranslationOfAWordOnly) {
  Start();
  ShowEnglish();
  QComboBox* box = Box("QuickSearch2");
  struct TCase {
    const char* typed;
    QString memo;
  } cases[] = {
      {"BoOk", "m"},
      {"bo", Text("NoSearchItem")},
      {"", ""},
  };
  for (const auto& c : cases) {
    box->setEditText(c.typed);
    EXPECT_EQ(Memo(), c.memo) << c.typed;
  }
  box->setCurrentIndex(2);
  frame->QuickSearch1Change();
  EXPECT_EQ(frame->FindCurrentWord(false)->Headword, "cat");
}

TEST_F(SearchFrameTest, SearchButtonListsTheWordsContainingTheText) {
  Start();
  ShowEnglish();
  QComboBox* box = Box("QuickSearch2");
  box->setEditText("o");
  frame->QSearchBtnClick();
  EXPECT_EQ(host.calls, QStringList{"ShowWords " + Text("SearchFrm.SearchResultCaption")});
  ASSERT_EQ(host.shown.size(), 1);
  EXPECT_EQ(host.shown[0].Word->Headword, "book");
  // A meaning matches too: every word means "m".
  box->setEditText("M");
  frame->QSearchBtnClick();
  EXPECT_EQ(host.shown.size(), 3);
  // A whole word selects its item and lists nothing.
  host.calls.clear();
  box->setEditText("CAT");
  frame->QSearchBtnClick();
  EXPECT_TRUE(host.calls.isEmpty());
  EXPECT_EQ(box->currentIndex(), 2);
  EXPECT_EQ(Memo(), "m");
}

// Typed as a keyboard types: every key goes to the focused widget of the active window.
TEST_F(SearchFrameTest, EnterSearchesAndEscapeLeavesTheBox) {
  Start();
  ShowEnglish();
  panel.show();
  panel.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
  QComboBox* box = Box("QuickSearch2");
  box->setFocus();
  const auto focused = [] { return QApplication::focusWidget(); };
  ASSERT_TRUE(focused());
  QTest::keyClicks(focused(), "a");
  EXPECT_EQ(box->currentText(), "a");
  host.calls.clear();
  QTest::keyClick(focused(), Qt::Key_Return);
  EXPECT_EQ(host.calls.value(0), "ShowWords " + Text("SearchFrm.SearchResultCaption"));
  EXPECT_EQ(host.shown.size(), 2);  // apple, cat
  QTest::keyClick(focused(), Qt::Key_Enter);
  EXPECT_EQ(host.calls.count("ShowWords " + Text("SearchFrm.SearchResultCaption")), 2) << "the keypad's Enter too";
  QTest::keyClick(focused(), Qt::Key_Escape);
  EXPECT_EQ(host.calls.value(host.calls.size() - 1), "FocusCurrentView");
}

TEST_F(SearchFrameTest, StartsCollapsedOnLowScreensUnlessStored) {
  struct TCase {
    int screen;
    int stored;  // -1: no value
    int height;
  } cases[] = {{660, -1, 24}, {661, -1, 228}, {600, 1, 228}, {800, 0, 24}};
  for (const auto& c : cases) {
    TRegistryIniFile& settings = central_->Settings();
    if (c.stored < 0) {
      settings.WriteBool("Main", "ShowSearch", true);
      settings.DeleteKey("Main", "ShowSearch");
    } else {
      settings.WriteBool("Main", "ShowSearch", c.stored == 1);
    }
    panel.resize(186, 228);
    frame->Setup(c.screen);
    EXPECT_EQ(panel.height(), c.height) << c.screen << " stored " << c.stored;
  }
}

TEST_F(SearchFrameTest, CollapseTogglesStoresAndRestacks) {
  Start();
  auto* mini = FindComponent<TNButton>(frame, "MiniBtn");
  frame->MiniBtnClick();
  EXPECT_EQ(panel.height(), 24);
  EXPECT_EQ(mini->X(), 0);
  EXPECT_FALSE(central_->Settings().ReadBool("Main", "ShowSearch", true));
  frame->MiniBtnClick();
  EXPECT_EQ(panel.height(), 228);
  EXPECT_EQ(mini->X(), 25);
  EXPECT_TRUE(central_->Settings().ReadBool("Main", "ShowSearch", false));
  EXPECT_EQ(sizeChanges, 2);
  EXPECT_EQ(mini->toolTip(), Text("SearchFrm.MiniBtn.Hint"));
}

TEST_F(SearchFrameTest, LeftToRightMovesTheButtonsAndTheBoxes) {
  Start();
  frame->ApplyLeftToRight();
  auto* mini = FindComponent<TNButton>(frame, "MiniBtn");
  EXPECT_EQ(mini->x(), 0);
  EXPECT_EQ(mini->X(), 75);
  EXPECT_EQ(Box("QuickSearch1")->x(), 11);
  EXPECT_EQ(FindComponent<TNButton>(frame, "QSearchBtn")->x(), 11 + 136 + 7);
  frame->MiniBtnClick();
  EXPECT_EQ(mini->X(), 50);
}

}  // namespace
}  // namespace zabko::test
