#include "learn/frames/follow_frame.h"

#include "core/language_pack.h"
#include "platform/registry_ini_file.h"
#include "ui/component.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "tests/learn/frame_fixture.h"

#include <QDateEdit>

namespace zabko::test {
namespace {

// Letters "A", "B", ... each with Total words of which Known are known or partly known.
QList<TFollowLetter> Letters(const QList<std::pair<int, int>>& knownAndTotal) {
  QList<TFollowLetter> letters;
  for (qsizetype i = 0; i < knownAndTotal.size(); ++i)
    letters.push_back({knownAndTotal[i].first, knownAndTotal[i].second, QString(QChar('A' + int(i)))});
  return letters;
}

TEST(FollowRulesTest, AmAt) {
  struct TCase {
    QList<std::pair<int, int>> letters;
    int am;
  } cases[] = {
      {{{0, 10}, {0, 10}, {0, 10}}, 0},
      {{{0, 10}, {1, 10}, {0, 10}}, 1},                      // a tenth started
      {{{0, 10}, {1, 10}, {0, 10}, {3, 10}}, 1},             // 30 % but only 4 of 30 known so far
      {{{0, 10}, {1, 10}, {0, 10}, {5, 10}}, 3},             // 6 of 30: the jump
      {{{10, 10}, {0, 0}, {1, 10}}, 0},                      // letter 0 counts in nothing; no words, no step
      {{{0, 0}}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FollowAmAt(Letters(c.letters)), c.am);
}

TEST(FollowRulesTest, ShouldBeAt) {
  const QList<TFollowLetter> even = Letters(QList<std::pair<int, int>>(22, {0, 10}));
  const QList<TFollowLetter> empty = Letters(QList<std::pair<int, int>>(22, {0, 0}));
  struct TCase {
    const QList<TFollowLetter>* letters;
    double span, elapsed;
    int words, should;
  } cases[] = {
      {&even, 76, 0.5, 220, 0},   // the first day: letter 0
      {&even, 76, 10, 220, 2},    // 3.45 days a letter
      {&even, 76, 76, 220, 21},   // the span is over: the last letter
      {&even, 76, -3, 220, 0},    // a start in the future
      {&empty, 76, 10, 3, 0},     // no letter has words: the walk finds none
      {&even, 76, 10, 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FollowShouldBeAt(*c.letters, c.span, c.elapsed, c.words), c.should) << c.elapsed;
}

TEST(FollowRulesTest, LettersToGoOver) {
  struct TCase {
    QList<std::pair<int, int>> letters;
    int should;
    const char* runs;
    int count, focus;
  } cases[] = {
      // 2, 3, 4 and 7 to go over: two runs, the least known letter is the focus.
      {{{6, 10}, {6, 10}, {5, 10}, {1, 10}, {2, 10}, {6, 10}, {6, 10}, {0, 10}}, 7, " C-E, H", 4, 7},
      // Letters past Should are not to go over.
      {{{6, 10}, {0, 10}, {0, 10}}, 1, " B", 1, 1},
      // A run reaching the last letter is written first-last.
      {{{6, 10}, {6, 10}, {1, 10}, {2, 10}}, 3, " C-D", 2, 2},
      // A tie keeps the earlier letter.
      {{{6, 10}, {2, 10}, {2, 10}}, 2, " B-C", 2, 1},
      // A letter without words is to go over but never stays the focus.
      {{{0, 0}, {6, 10}, {4, 10}}, 2, " A, C", 2, 2},
      {{{6, 10}, {7, 10}}, 1, "", 0, 0},
  };
  for (const auto& c : cases) {
    const TGoOver goOver = FollowGoOver(Letters(c.letters), c.should);
    EXPECT_EQ(goOver.Runs, c.runs);
    EXPECT_EQ(goOver.Count, c.count) << c.runs;
    EXPECT_EQ(goOver.Focus, c.focus) << c.runs;
  }
}

TEST(FollowRulesTest, FaceComparesTheLabels) {
  EXPECT_EQ(FollowStateOf("B", "A"), kFollowBehind);
  EXPECT_EQ(FollowStateOf("A", "B"), kFollowAhead);
  EXPECT_EQ(FollowStateOf("B", "B"), kFollowOnSchedule);
  EXPECT_EQ(FollowStateOf(QString::fromUtf8("ב'"), QString::fromUtf8("א'")), kFollowBehind);
}

class FollowFrameTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    LoadPacks();
    hebrew = central_->LanguagePacks()[0].get();
    for (int i = 0; i < hebrew->AlphabetSize(); ++i) hebrew->SetCount(i, 0, 10);
  }
  std::unique_ptr<TFollowFrm> Start() {
    auto frame = std::make_unique<TFollowFrm>(&panel, &manager, &host);
    panel.resize(186, 195);
    frame->LoadCaptions();
    frame->Init();
    return frame;
  }
  bool Visible(TFollowFrm& frame, const char* name) { return FindComponent<QWidget>(&frame, name)->isVisibleTo(&frame); }
  QString Caption(TFollowFrm& frame, const char* name) { return FindComponent<TTntLabel>(&frame, name)->Caption(); }
  QString Text(const char* key) { return central_->Strings().GetString(key); }
  QString TimeToStudy(int letter) { return Text("TimeToStudyLetter") + hebrew->GetLetterLabel(letter) + "."; }

  QWidget panel;
  TLanguagePack* hebrew = nullptr;
};

TEST_F(FollowFrameTest, FirstStartOpensTheDatesAndTellsTheLetter) {
  auto frame = Start();
  const TDateTime today = std::floor(clock_.now);
  EXPECT_EQ(frame->StartDate(), today);
  EXPECT_EQ(frame->TestDate(), today + 90);
  EXPECT_TRUE(Visible(*frame, "StartDP"));
  EXPECT_EQ(FindComponent<QDateEdit>(frame.get(), "StartDP")->text(), "10/12/2026");
  EXPECT_FALSE(Visible(*frame, "FaceStat"));
  EXPECT_FALSE(central_->Settings().ReadBool("Main", "NoDatesYet", true));
  // Dates set by the program stored nothing and ran no computation of their own.
  EXPECT_FALSE(central_->Settings().ValueExists("Main", "Start"));
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, Text("LettersCaption"));
  EXPECT_EQ(messages_.boxes[0].text, TimeToStudy(0));
  EXPECT_EQ(hebrew->ReadFollowSupposed(central_->Settings(), -1), 0);
  EXPECT_EQ(Caption(*frame, "SupposeLbl"), hebrew->GetLetterLabel(0));
  EXPECT_EQ(Caption(*frame, "AmLbl"), hebrew->GetLetterLabel(0));
  EXPECT_EQ(frame->FollowState(), kFollowOnSchedule);

  // The next start shows the summary and says nothing while the letter stays.
  frame.reset();
  messages_.boxes.clear();
  frame = Start();
  EXPECT_FALSE(Visible(*frame, "StartDP"));
  EXPECT_TRUE(Visible(*frame, "FaceStat"));
  EXPECT_TRUE(messages_.boxes.empty());

  // Past the span the schedule reaches the last letter: the message comes again.
  frame.reset();
  central_->Settings().WriteDateTime("Main", "Start", today);
  central_->Settings().WriteDateTime("Main", "Test", today + 90);
  clock_.now += 80;
  frame = Start();
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, TimeToStudy(21));
  EXPECT_EQ(frame->FollowState(), kFollowBehind);
  // The runs text keeps its leading blank after the caption's own.
  EXPECT_EQ(Caption(*frame, "FollowSumLbl"), Text("FollowFrm.IShouldGoOvers") + "  " + hebrew->GetLetterLabel(0) +
                                                 "-" + hebrew->GetLetterLabel(21) + " " +
                                                 Text("FollowFrm.AndFocusOn") + " " + hebrew->GetLetterLabel(0));
}

TEST_F(FollowFrameTest, AllWordsKnownLeavesTheScheduleAsItWas) {
  for (int i = 0; i < hebrew->WordList().Count(); ++i) hebrew->WordList().GetWord(i)->Known = true;
  auto frame = Start();
  // Nothing is computed or stored; the first start still names the first letter.
  EXPECT_FALSE(central_->Settings().ValueExists("Main", hebrew->FollowSupposedName()));
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, TimeToStudy(0));
  EXPECT_EQ(Caption(*frame, "SupposeLbl"), "");
  EXPECT_EQ(Caption(*frame, "AmLbl"), hebrew->GetLetterLabel(0));
}

TEST_F(FollowFrameTest, DatesKeepTheirOrderAndAreStored) {
  auto frame = Start();
  const TDateTime today = std::floor(clock_.now);
  FindComponent<QDateEdit>(frame.get(), "StartDP")->setDate(QDate(2027, 6, 1));
  EXPECT_EQ(frame->TestDate(), frame->StartDate());
  EXPECT_EQ(central_->Settings().ReadDateTime("Main", "Test", 0), EncodeDate(2027, 6, 1));
  EXPECT_EQ(central_->Settings().ReadDateTime("Main", "Start", 0), EncodeDate(2027, 6, 1));
  FindComponent<QDateEdit>(frame.get(), "TestDP")->setDate(QDate(2026, 12, 1));
  EXPECT_EQ(frame->StartDate(), EncodeDate(2026, 12, 1));
  EXPECT_EQ(central_->Settings().ReadDateTime("Main", "Start", 0), EncodeDate(2026, 12, 1));
  EXPECT_LT(frame->StartDate(), today);
}

TEST_F(FollowFrameTest, CollapseIsKeptForTheNextStart) {
  int changes = 0;
  auto frame = Start();
  frame->SetSizeChanged([&](QWidget* changed) {
    EXPECT_EQ(changed, frame.get());
    ++changes;
  });
  frame->MiniBtnClick();
  EXPECT_TRUE(frame->IsCollapsed());
  EXPECT_EQ(panel.height(), 24);
  EXPECT_FALSE(central_->Settings().ReadBool("Main", "ShowFollow", true));
  EXPECT_EQ(changes, 1);
  frame.reset();
  panel.resize(186, 195);
  frame = Start();
  EXPECT_EQ(panel.height(), 24);
  EXPECT_EQ(FindComponent<TNButton>(frame.get(), "MiniBtn")->X(), 0);
}

TEST_F(FollowFrameTest, ChangeDatesLinkAndOkSwitchTheContent) {
  central_->Settings().WriteBool("Main", "NoDatesYet", false);
  auto frame = Start();
  EXPECT_FALSE(Visible(*frame, "TestDP"));
  frame->ChangeDatesLblClick();
  EXPECT_TRUE(Visible(*frame, "TestDP"));
  EXPECT_FALSE(Visible(*frame, "FollowSumLbl"));
  frame->FollowOkBtnClick();
  EXPECT_FALSE(Visible(*frame, "TestDP"));
  EXPECT_EQ(FindComponent<TNButton>(frame.get(), "FollowOkBtn")->Caption(), Text("OkBtn"));
}

}  // namespace
}  // namespace zabko::test
