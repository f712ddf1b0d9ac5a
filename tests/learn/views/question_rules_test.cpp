#include "learn/views/question_rules.h"

#include "learn/views/tick_clock.h"
#include "net/answer_report.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

TEST(QuestionRules, CountdownTextAndExpiry) {
  EXPECT_EQ(CountdownText(9), "0:09");
  EXPECT_EQ(CountdownText(0), "0:00");
  EXPECT_EQ(CountdownText(20), "0:20");

  // The check comes one tick after the label read 0:00.
  TCountdown c;
  c.Start(2);
  EXPECT_FALSE(c.Tick());
  EXPECT_FALSE(c.Tick());
  EXPECT_EQ(CountdownText(c.SecondsLeft()), "0:00");
  c.Pause();
  EXPECT_FALSE(c.Tick()) << "a paused countdown never expires";
  c.Resume();
  EXPECT_TRUE(c.Tick());
  EXPECT_FALSE(c.Running());
  EXPECT_FALSE(c.Tick()) << "it expires once";
}

TEST(QuestionRules, KeyTables) {
  struct Case {
    TPanelPage page;
    bool ltr;
    int key;
    bool nextShown;
    TKeyAction action;
  };
  const Case cases[] = {
      {TPanelPage::First, false, vk::kLeft, false, TKeyAction::Know},
      {TPanelPage::First, false, vk::kF, false, TKeyAction::Know},
      {TPanelPage::First, false, vk::kRight, false, TKeyAction::DontKnow},
      {TPanelPage::First, false, vk::kK, false, TKeyAction::DontKnow},
      {TPanelPage::First, false, vk::kY, false, TKeyAction::None},
      {TPanelPage::First, true, vk::kRight, false, TKeyAction::Know},
      {TPanelPage::First, true, vk::kY, false, TKeyAction::Know},
      {TPanelPage::First, true, vk::kLeft, false, TKeyAction::DontKnow},
      {TPanelPage::First, true, vk::kN, false, TKeyAction::DontKnow},
      {TPanelPage::First, true, vk::kF, false, TKeyAction::None},
      {TPanelPage::First, false, vk::kReturn, false, TKeyAction::None},
      {TPanelPage::First, false, vk::kSpace, true, TKeyAction::Next},
      {TPanelPage::Question, false, vk::kDigit1, false, TKeyAction::Answer1},
      {TPanelPage::Question, true, vk::kDigit1 + 3, false, TKeyAction::Answer4},
      {TPanelPage::Question, false, vk::kDigit1 + 4, false, TKeyAction::None},
      {TPanelPage::Question, false, vk::kReturn, false, TKeyAction::Check},
      {TPanelPage::Question, false, vk::kReturn, true, TKeyAction::Next},
      {TPanelPage::Question, false, vk::kLeft, false, TKeyAction::None},
      {TPanelPage::Summary, false, vk::kReturn, true, TKeyAction::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyActionFor(c.page, c.ltr, c.key, c.nextShown), c.action)
        << static_cast<int>(c.page) << " ltr " << c.ltr << " key " << c.key;
  }
  EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_Left), vk::kLeft);
  EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_Enter), vk::kReturn);
  EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_3), vk::kDigit1 + 2);
  EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_K), vk::kK);
  EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_F5), 0);
}

TEST(QuestionRules, DistinctAnswersNeverReplaceTheRightOne) {
  // Four answers sharing one meaning; the right one is the third.
  std::array<QString, 4> texts = {"house", "House", "house", "HOUSE"};
  const std::array<qint32, 4> ids = {10, 11, 12, 13};
  int n = 0;
  const int passes = MakeAnswersDistinct(texts, ids, 12, [&] { return QStringLiteral("other%1").arg(n++); });
  EXPECT_EQ(texts[2], "house");
  EXPECT_LE(passes, 6);
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b) EXPECT_NE(texts[a].toLower(), texts[b].toLower()) << a << b;

  // A replacement source that always repeats the right text: six passes, then it stops.
  std::array<QString, 4> stuck = {"x", "x", "y", "z"};
  const int stuckPasses = MakeAnswersDistinct(stuck, ids, 10, [] { return QStringLiteral("x"); });
  EXPECT_EQ(stuckPasses, 6);
  EXPECT_EQ(stuck[0], "x");

  std::array<QString, 4> plain = {"a", "b", "c", "d"};
  EXPECT_EQ(MakeAnswersDistinct(plain, ids, 10, [] { return QStringLiteral("?"); }), 1);
}

TEST(QuestionRules, ParityAndRightAnswer) {
  EXPECT_EQ(ParityLook(true).Background, 0xEEDAA5u);
  EXPECT_EQ(ParityLook(false).Background, 0xDDD7C6u);
  EXPECT_EQ(ParityLook(false).ButtonX, 45);
  EXPECT_EQ(ParityLook(false).RadioX, 13);
  EXPECT_EQ(ParityLook(true).FooterY, 21);
  EXPECT_EQ(ParityLook(false).SummaryX, 207);
  EXPECT_EQ(RightAnswerIndex({5, 6, 7, 8, 7, 0, 0, 0, 0}), 2);
  EXPECT_EQ(RightAnswerIndex({5, 6, 7, 8, 9, 0, 0, 0, 0}), 3);
  EXPECT_EQ(HeaderHeight(173, false), 39);
  EXPECT_EQ(HeaderHeight(400, false), 100);
  EXPECT_EQ(HeaderHeight(400, true), 70);
  EXPECT_EQ(AnswerFontHeight(100, false), 30);
  EXPECT_EQ(AnswerFontHeight(70, true), 39);
}

TEST(QuestionRules, SoundRule) {
  struct Case {
    bool audio, speakerOff;
    int kind;
    bool plays;
  };
  const Case cases[] = {
      {true, false, kKindNormal, true},     {true, true, kKindNormal, false},
      {true, true, kKindAudioOnly, true},   {true, false, kKindUpsideDown, false},
      {false, false, kKindNormal, false},   {false, false, kKindAudioOnly, false},
  };
  for (const Case& c : cases) EXPECT_EQ(ShouldPlayTestSound(c.audio, c.speakerOff, c.kind), c.plays) << c.kind;
}

// The report of one question as the panel fills it.
class ReportBuilderTest : public ::testing::Test {
 protected:
  ReportBuilderTest() {
    for (int i = 0; i < 4; ++i) {
      words[i].Id = 100 + i;
      words[i].SetMeanings(QStringLiteral("alpha%1; beta%1").arg(i));
    }
  }
  TManualTickClock clock;
  TWord words[4];
  TTestQuestion q{100, 101, 102, 103, 102, 3, 1, 2, 0};

  void ShowAll(TAnswerReportBuilder& b, bool practice, int kind) {
    std::array<QString, 4> shown = {"beta0", "alpha1", "nothing", "beta3"};
    b.AnswersShown(q, kind, practice, shown, {&words[0], &words[1], &words[2], &words[3]}, 55, 40);
  }
};

TEST_F(ReportBuilderTest, RightWrongAndTimeOut) {
  struct Case {
    const char* name;
    bool practice;
    int kind;
    int chosen;
    int ms;
    int expectKind;
  };
  const Case cases[] = {
      {"right", true, 0, 3, 2500, 100},
      {"wrong", true, 0, 1, 999, 100},
      {"exam time-out", false, 1, -1, 6000, 1},
  };
  for (const Case& c : cases) {
    TAnswerReportBuilder b(clock);
    b.Begin(4);
    clock.Set(1000);
    ShowAll(b, c.practice, c.kind);
    clock.Advance(c.ms);
    b.Checked(c.chosen);
    const TDataPacket& r = b.Report();
    ASSERT_EQ(r.IntegerCount(), 17) << c.name;
    const qint32 expected[17] = {102, c.chosen, 100, 101, 102, 103, 1, 0, -1, 1, c.expectKind, 2, 55, 40,
                                 c.ms / 1000, 0, 4};
    for (int i = 0; i < 17; ++i) EXPECT_EQ(r.GetInteger(i), expected[i]) << c.name << " slot " << i;
  }
}

TEST_F(ReportBuilderTest, DontKnowLeavesZerosButPosition) {
  TAnswerReportBuilder b(clock);
  ShowAll(b, true, 0);  // an earlier question's values
  b.Begin(7);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(b.Report().GetInteger(i), i == report::kPosition ? 7 : 0) << i;
}

}  // namespace
}  // namespace zabko
