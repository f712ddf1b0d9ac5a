#include "learn/frames/letter_frame.h"

#include "core/language_pack.h"
#include "learn/frames/letter_placement.h"
#include "platform/shell.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"

#include "tests/learn/frame_fixture.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

namespace zabko::test {
namespace {

QList<int> Lefts(const TLetterPlacement& placement) {
  QList<int> lefts;
  for (const TLetterSpot& spot : placement.Spots) lefts << spot.Left;
  return lefts;
}

TEST(LetterPlacementTest, OneRowSpreadsAlikeInBothDirections) {
  const QList<int> widths(22, 26);
  const TLetterPlacement ltr = PlaceLetters(600, 51, widths, true);
  const TLetterPlacement rtl = PlaceLetters(600, 51, widths, false);
  EXPECT_FALSE(ltr.TwoRows);
  EXPECT_NEAR(ltr.Gap, 28.0 / 22, 1e-9);
  EXPECT_EQ(ltr.Spots[0], (TLetterSpot{0, 10, 30}));
  EXPECT_EQ(ltr.Spots[1].Left, 27);
  EXPECT_EQ(ltr.Spots[2].Left, 55);
  EXPECT_EQ(ltr.Spots[21].Left, 573);
  // Right to left the row spreads over the same width with the same steps: the first letter a
  // gap from the right edge, the last at 0.
  EXPECT_EQ(rtl.Spots[0].Left, 573);
  EXPECT_EQ(rtl.Spots[21].Left, 0);
  for (int i = 0; i + 1 < 22; ++i) {
    const int step = rtl.Spots[i].Left - rtl.Spots[i + 1].Left;
    EXPECT_TRUE(step == 27 || step == 28) << i << ": " << step;
  }
}

TEST(LetterPlacementTest, RowsAndGaps) {
  struct TCase {
    int width;
    QList<int> widths;
    bool leftToRight;
    bool twoRows;
    QList<int> lefts;
    QList<int> tops;
  } cases[] = {
      // As wide as the buttons: one row, no gaps.
      {78, {26, 26, 26}, true, false, {0, 26, 52}, {10, 10, 10}},
      {78, {26, 26, 26}, false, false, {52, 26, 0}, {10, 10, 10}},
      // One pixel narrower: the row breaks after the last button that still leaves room.
      {77, {26, 26, 26}, true, true, {0, 26, 0}, {0, 0, 26}},
      {77, {26, 26, 26}, false, true, {51, 25, 51}, {0, 0, 26}},
      // Gaps clamp at 2 px; widened buttons keep 2 px to their neighbours either way.
      {200, {30, 40, 26}, true, false, {0, 32, 74}, {10, 10, 10}},
      {200, {30, 40, 26}, false, false, {168, 126, 98}, {10, 10, 10}},
  };
  for (const auto& c : cases) {
    const TLetterPlacement placement = PlaceLetters(c.width, 51, c.widths, c.leftToRight);
    EXPECT_EQ(placement.TwoRows, c.twoRows) << c.width;
    EXPECT_EQ(Lefts(placement), c.lefts) << c.width << " ltr " << c.leftToRight;
    QList<int> tops;
    for (const TLetterSpot& spot : placement.Spots) tops << spot.Top;
    EXPECT_EQ(tops, c.tops) << c.width;
    EXPECT_EQ(placement.Spots[0].Height, c.twoRows ? 26 : 30);
  }
  EXPECT_TRUE(PlaceLetters(100, 51, {}, true).Spots.isEmpty());
}

// Captions 20 px per character: every letter caption is wider than 14 px.
class TWideMeasure : public TFixedMeasure {
 public:
  int TextWidth(const TGUIFont&, const QString& text) override { return int(text.size()) * 20; }
};

class LetterFrameTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    frame = std::make_unique<TLetterFrm>(nullptr, &manager, &host);
  }
  void TearDown() override {
    frame.reset();
    FrameTest::TearDown();
  }
  void SetUpBar() {
    frame->SetupPanels();
    frame->ShowInfoButton();
    frame->SetupLetters();
    frame->LoadCaptions();
  }
  template <typename T>
  T* Find(const char* name) {
    return FindComponent<T>(frame.get(), name);
  }
  QString Text(const char* key) { return central_->Strings().GetString(key); }

  std::unique_ptr<TLetterFrm> frame;
};

TEST_F(LetterFrameTest, SetsUpAPanelOfButtonsPerPack) {
  frame->SetupPanels();
  EXPECT_EQ(Find<TNButton>("SwitchBtn")->toolTip(), Text("LetterFrm.SwitchTo0Hint"));
  SetUpBar();
  ASSERT_EQ(frame->LetterButtons().size(), 2u);
  EXPECT_EQ(frame->LetterButtons()[0].size(), 22u);
  EXPECT_EQ(frame->LetterButtons()[1].size(), 26u);
  EXPECT_TRUE(frame->LettersPanel(0)->isVisibleTo(frame.get()));
  EXPECT_FALSE(frame->LettersPanel(1)->isVisibleTo(frame.get()));
  EXPECT_FALSE(Find<QWidget>("LettersPnl3")->isVisibleTo(frame.get()));
  EXPECT_TRUE(Find<TNButton>("SwitchBtn")->isVisibleTo(frame.get()));
  EXPECT_EQ(central_->LanguagePacks()[0]->LetterButtons().size(), 22u);
  const TLetterButton* alef = frame->LetterButtons()[0][0];
  EXPECT_EQ(alef->Caption(), QString::fromUtf8("א"));
  EXPECT_EQ(alef->width(), 26);  // a caption of 10 px keeps the button's width
  // Hebrew fits one row of the 572-px panel exactly; English breaks into two short rows.
  EXPECT_EQ(alef->geometry(), QRect(572 - 26, 10, 26, 30));
  EXPECT_EQ(Find<TNBitmapComponent>("LetterCmp")->Filename(), "Main\\SingleLetter2.bmp");
  EXPECT_EQ(Find<TNBitmapComponent>("LetterCmp2")->Filename(), "Main\\SingleLetterShort.bmp");
  const auto& english = frame->LetterButtons()[1];
  EXPECT_EQ(english[0]->geometry(), QRect(0, 0, 26, 26));
  // The row breaks after the last button that leaves room: the 21st.
  EXPECT_EQ(english[20]->geometry(), QRect(520, 0, 26, 26));
  EXPECT_EQ(english[21]->geometry(), QRect(0, 26, 26, 26));
  EXPECT_EQ(english[25]->geometry(), QRect(104, 26, 26, 26));
  EXPECT_EQ(frame->MinimumWidth(), 26 * 28 / 2);
}

TEST_F(LetterFrameTest, WideCaptionsWidenTheirButtons) {
  TWideMeasure wide;
  SetMeasureCanvas(&wide);
  SetUpBar();
  for (const auto& buttons : frame->LetterButtons())
    for (const TLetterButton* button : buttons) EXPECT_EQ(button->width(), 32);
  EXPECT_EQ(frame->MinimumWidth(), 26 * 34 / 2);
}

TEST_F(LetterFrameTest, ShowsTheCountsOfThePack) {
  SetUpBar();
  TLanguagePack& hebrew = *central_->LanguagePacks()[0];
  hebrew.SetCount(0, 0, 3);
  hebrew.SetCount(1, 1, 5);
  hebrew.SetCount(2, 2, 1200);
  hebrew.RefreshCounts(-1);
  EXPECT_EQ(Find<TTntLabel>("NoLbl")->Caption(), "3");
  EXPECT_EQ(Find<TTntLabel>("PartialLbl")->Caption(), "5");
  EXPECT_EQ(Find<TTntLabel>("YesLbl")->Caption(), "1200");
  EXPECT_EQ(Find<TTntLabel>("TotalLbl")->Caption(), "1208");
}

TEST_F(LetterFrameTest, SwitchShowsTheOtherPackOrStaysWhenRefused) {
  SetUpBar();
  auto* button = Find<TNButton>("SwitchBtn");
  host.leaveAnswer = false;
  frame->SwitchBtnClick();
  EXPECT_EQ(host.calls, QStringList{"LeaveViewForSwitch"});
  EXPECT_EQ(button->X(), 24);
  EXPECT_TRUE(frame->LettersPanel(0)->isVisibleTo(frame.get()));

  host.leaveAnswer = true;
  host.calls.clear();
  frame->SwitchBtnClick();
  EXPECT_EQ(host.calls, (QStringList{"LeaveViewForSwitch", "SelectLanguagePack 20", "RefreshView"}));
  EXPECT_EQ(button->X(), 0);
  // English is up: the hint offers the way back.
  EXPECT_EQ(button->toolTip(), "Switch to Hebrew words");
  EXPECT_TRUE(frame->LettersPanel(1)->isVisibleTo(frame.get()));
  EXPECT_FALSE(frame->LettersPanel(0)->isVisibleTo(frame.get()));

  host.calls.clear();
  frame->SwitchBtnClick();
  EXPECT_EQ(host.calls, (QStringList{"LeaveViewForSwitch", "SelectLanguagePack 10", "RefreshView"}));
  EXPECT_EQ(button->X(), 24);
  EXPECT_EQ(button->toolTip(), "Switch to English words");
  EXPECT_TRUE(frame->LettersPanel(0)->isVisibleTo(frame.get()));
}

TEST_F(LetterFrameTest, LetterClicksGoThroughTheHost) {
  SetUpBar();
  frame->show();
  TLetterButton* bet = frame->LetterButtons()[0][1];
  host.canChangeLetter = false;
  QTest::mouseClick(bet, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(central_->LanguagePacks()[0]->SelectedLetter(), -1);
  host.canChangeLetter = true;
  QTest::mouseClick(bet, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(central_->LanguagePacks()[0]->SelectedLetter(), 1);
  EXPECT_EQ(host.calls, QStringList{"LetterChosen 1"});
}

// The count labels ask the stand-in server for the words of the selected letter, or of every
// letter, in their level range, after the pending answers went up.
TEST_F(LetterFrameTest, CountClicksAskTheServerForTheirLevels) {
  SetUpBar();
  StartAndLogOn();
  runner_.runs.clear();
  AddAnswers(2);
  frame->TotalLblClick();
  auto requests = Requests("GetFilterList2");
  ASSERT_EQ(requests.size(), 1u);
  const TDataPacket& args = *requests[0].arguments;
  EXPECT_EQ(args.GetByte(0), 0);
  EXPECT_EQ(args.GetByte(1), 21);
  EXPECT_EQ(args.GetByte(2), 0);
  EXPECT_EQ(args.GetByte(3), 2);
  EXPECT_EQ(args.GetInteger(0), kHebrew);
  EXPECT_EQ(central_->AnswerHolder().Count(), 0);
  ASSERT_EQ(runner_.runs.size(), 1u);
  EXPECT_EQ(runner_.runs[0].steps, 3);
  const QString title = Text("LetterFrm.AllWords") + Text("LetterFrm.FromAllLetterCaption") +
                        Text("LetterFrm.HebrewCaption");
  EXPECT_EQ(runner_.runs[0].caption, TWStr::Format(Text("LetterFrm.CalculatingCaption"), {title}));
  EXPECT_EQ(host.calls, (QStringList{"FocusCurrentView", "ShowStringList " + title}));
  ASSERT_EQ(host.shown.size(), 3);
  for (const TWordItem& item : host.shown) {
    ASSERT_NE(item.Word, nullptr);
    EXPECT_EQ(QString::number(item.Word->Id), item.Text);
  }

  struct TCase {
    void (TLetterFrm::*click)();
    const char* title;
    int lowest, highest;
  } cases[] = {
      {&TLetterFrm::NoLblClick, "LetterFrm.WordsIDontKnow", 0, 0},
      {&TLetterFrm::PartialLblClick, "LetterFrm.WordsIPartialKnow", 1, 1},
      {&TLetterFrm::YesLblClick, "LetterFrm.WordsIKnow", 2, 2},
      {&TLetterFrm::TotalLblClick, "LetterFrm.AllWords", 0, 2},
  };
  central_->LanguagePacks()[0]->SelectLetter(3);
  for (const auto& c : cases) {
    server_->ClearLog();
    host.calls.clear();
    (frame.get()->*c.click)();
    requests = Requests("GetFilterList2");
    ASSERT_EQ(requests.size(), 1u) << c.title;
    const TDataPacket& a = *requests[0].arguments;
    EXPECT_EQ(a.GetByte(0), 3);
    EXPECT_EQ(a.GetByte(1), 3);
    EXPECT_EQ(a.GetByte(2), c.lowest) << c.title;
    EXPECT_EQ(a.GetByte(3), c.highest) << c.title;
    EXPECT_EQ(host.calls.last(), "ShowStringList " + Text(c.title) + Text("LetterFrm.FromLetterCaption") +
                                     central_->LanguagePacks()[0]->GetLetterLabel(3) +
                                     Text("LetterFrm.HebrewCaption"));
  }
}

TEST_F(LetterFrameTest, AFailedRequestShowsAnEmptyList) {
  SetUpBar();
  StartAndLogOn();
  Fault("", "GetFilterList2", dev::TFaultKind::Http500);
  frame->TotalLblClick();
  EXPECT_TRUE(host.calls.last().startsWith("ShowStringList "));
  EXPECT_TRUE(host.shown.isEmpty());
}

TEST_F(LetterFrameTest, InfoButtonOpensTheStatisticsPage) {
  SetUpBar();
  const QString output = dir_.path() + "/opened.txt";
  const QString script = dir_.path() + "/opener";
  QFile f(script);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("#!/bin/sh\nprintf '%s' \"$1\" > \"" + QFile::encodeName(output) + ".part\"; mv \"" +
          QFile::encodeName(output) + ".part\" \"" + QFile::encodeName(output) + "\"\n");
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString previous = DocumentOpener();
  SetDocumentOpener(script);
  frame->InfoBtnClick();
  SetDocumentOpener(previous);
  QDeadlineTimer deadline(5000);
  while (!QFileInfo::exists(output) && !deadline.hasExpired()) QThread::msleep(10);
  QFile opened(output);
  ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(opened.readAll()), Text("StatsLink"));
}

// Two packs: the switch button goes to the left edge, the letters start at the mirror of their
// right-to-left start, and the information button stands clear of the switch button.
TEST_F(LetterFrameTest, LeftToRightMirrorsTheCountsTheSwitchAndThePanels) {
  SetUpBar();
  frame->ApplyLeftToRight();
  EXPECT_EQ(Find<TNStatic>("NumberBox")->x(), 790 - 44 - 129);
  TNButton* info = Find<TNButton>("InfoBtn");
  TNButton* switchBtn = Find<TNButton>("SwitchBtn");
  EXPECT_EQ(info->x(), 790 - 16 - 27 + 10);
  EXPECT_EQ(switchBtn->x(), 14);
  EXPECT_EQ(GetAnchors(switchBtn), TAnchorKind::Left | TAnchorKind::Top);
  EXPECT_FALSE(info->geometry().intersects(switchBtn->geometry()));
  for (int pack = 0; pack < 2; ++pack) {
    QWidget* panel = frame->LettersPanel(pack);
    EXPECT_EQ(panel->geometry(), QRect(44, 1, 572, 51)) << pack;
    EXPECT_FALSE(panel->geometry().intersects(switchBtn->geometry()));
    EXPECT_FALSE(panel->geometry().intersects(Find<TNStatic>("NumberBox")->geometry()));
  }
}

}  // namespace
}  // namespace zabko::test
