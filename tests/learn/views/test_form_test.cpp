#include "learn/views/test_form.h"

#include "learn/views/options_form.h"
#include "learn/views/sub_test_form.h"
#include "learn/views/tick_clock.h"
#include "learn/views/word_summary.h"
#include "net/answer_report.h"
#include "net/zabkolex_flow.h"
#include "platform/registry_ini_file.h"
#include "ui/component.h"
#include "ui/tnt_label.h"

#include "tests/learn/view_fixture.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace zabko::test {
namespace {

class TestFormTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    options = std::make_unique<TOptionsForm>(nullptr, view, &manager);
    summary = std::make_unique<TWordSummary>(nullptr, view, &manager);
    summary->NoModalLoop = true;
    form = std::make_unique<TTestForm>(nullptr, view, &manager, *options, summary.get(), tick);
    form->resize(568, 398);
    form->SoundSink = [this](const QByteArray& name) { sounds << QString::fromLatin1(name); };
    form->LoadCaptions();
    options->LoadCaptions();
    // The one-time tip is already seen.
    central_->Settings().WriteBool("Test", "DidYouKnowShowTest", true);
    central_->Settings().WriteBool("Test", "DidYouKnowShowExam", true);
  }
  void TearDown() override {
    form.reset();
    summary.reset();
    options.reset();
    ViewTest::TearDown();
  }

  void LogOn() {
    flow_->ConnectToServer();
    ASSERT_FALSE(flow_->MustClose);
    flow_->RunLoginDialog();
    ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
    server_->ClearLog();
  }

  // The options of the mode: letters From..To, Count questions, and for an exam kind and time.
  void SetOptions(bool exam, int from, int to, int count, int kind = 0, int time = 20) {
    const QString section = exam ? "Exam\\20" : "Test\\20";
    TRegistryIniFile& s = central_->Settings();
    s.WriteInteger(section, "Range", 1);
    s.WriteInteger(section, "From", from);
    s.WriteInteger(section, "To", to);
    s.WriteInteger(section, "QCount", count);
    s.WriteInteger(section, "QuestionKind", kind);
    s.WriteInteger(section, "Time", time);
    s.WriteInteger(section, "Order", 1);
  }

  bool Start(bool exam) {
    form->IsExam = exam;
    form->show();
    form->ShowIntro();
    options->DoneBtnClick();
    return !form->OnIntroPage();
  }

  void FinishSlide() {
    while (form->Sliding()) form->TimerTimer();
    form->PlayTimerTimer();
  }

  enum Answer { kRight, kWrong, kNotKnown };
  void AnswerPractice(Answer a) {
    TSubTestForm* upper = form->UpperForm();
    if (a == kNotKnown) {
      upper->DontKnowBtnClick();
      upper->NextLblClick();
    } else {
      upper->KnowBtnClick();
      const int right = RightAnswerIndex(form->Run().Current());
      upper->AnswerBtnClick(a == kRight ? right : (right + 1) % 4);
      upper->CheckAnswerBtnClick();
      upper->NextLbl2Click();
    }
    FinishSlide();
  }

  int ServerStatusCount(int letterStatus) {
    int n = 0;
    WithStore([&](dev::TDevStore& store) {
      const auto states = store.WordStates(userKey_, kEnglish);
      for (const auto& w : central_->CurrentWordList()->Words()) {
        if (central_->CurrentLanguagePack()->GetLetterIndex(*w) != kLetterD) continue;
        const auto it = states.find(w->Id);
        if ((it == states.end() ? 0 : it->second.status) == letterStatus) ++n;
      }
    });
    return n;
  }

  TManualTickClock tick;
  std::unique_ptr<TOptionsForm> options;
  std::unique_ptr<TWordSummary> summary;
  std::unique_ptr<TTestForm> form;
  QStringList sounds;
};

TEST_F(TestFormTest, PracticeRecordsEveryAnswerAndTheServerAgreesWithTheLettersBar) {
  LogOn();
  SetOptions(false, kLetterD, kLetterD, 5);
  ASSERT_TRUE(Start(false)) << runner_.exceptions.join("; ").toStdString() << " boxes "
                            << (view.messages.boxes.empty() ? "" : view.messages.boxes[0].second.toStdString())
                            << " errors " << view.connectionErrors << " requests " << Requests("GetQuestions").size();
  EXPECT_EQ(runner_.runs.back().steps, 5);
  ASSERT_EQ(Requests("GetQuestions").size(), 1u);
  EXPECT_EQ(FindComponent<TTntLabel>(form.get(), "QuestionCountLbl")->Caption(), "Question 1 of 5");
  EXPECT_EQ(sounds.size(), 1) << "the first word is heard";

  const Answer answers[] = {kRight, kWrong, kNotKnown, kRight, kRight};
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(form->IsTestInProgress()) << i;
    AnswerPractice(answers[i]);
  }
  EXPECT_FALSE(form->IsTestInProgress());
  EXPECT_EQ(form->Run().RightCount(), 3);
  EXPECT_EQ(form->Run().WrongCount(), 1);
  EXPECT_EQ(form->Run().NotKnownCount(), 1);
  EXPECT_EQ(form->UpperForm()->Page(), TPanelPage::Summary);

  const TDataPacket& queue = central_->AnswerHolder().Data();
  ASSERT_EQ(queue.GetPacket(1)->IntegerCount(), 5);
  for (int i = 0; i < 5; ++i) {
    const TDataPacket& report = *queue.GetPacket(3)->GetPacket(i);
    ASSERT_EQ(report.IntegerCount(), 17);
    EXPECT_EQ(report.GetInteger(report::kQuestionCount), 5);
    EXPECT_EQ(report.GetInteger(report::kPosition), i + 1);
    EXPECT_EQ(queue.GetPacket(2)->GetInteger(i), answers[i] == kRight ? 2 : 0);
    if (answers[i] == kNotKnown) EXPECT_EQ(report.GetInteger(report::kWordId), 0);
    else EXPECT_EQ(report.GetInteger(report::kKind), 100);
  }

  // Back to the options uploads them; the server's statuses match the letters bar.
  form->UpperForm()->BackToDefBtnClick();
  EXPECT_TRUE(form->OnIntroPage());
  EXPECT_TRUE(central_->AnswerHolder().IsEmpty());
  const auto updates = Requests("UpdateWords");
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].arguments->PacketCount(), 5);
  TLanguagePack* pack = central_->CurrentLanguagePack();
  for (int status = 0; status <= 2; ++status)
    EXPECT_EQ(ServerStatusCount(status), pack->GetCount(kLetterD, status)) << "status " << status;
  EXPECT_EQ(pack->GetCount(kLetterD, 1), 3);

  SaveFrameGrab(*form, "test_form_intro");
}

// The question panels are parts of the view from their creation, not windows that become
// parts of it at the first answer: a practice and an exam under way show no window but the
// view's own, and question 1 stands in the upper panel.
TEST_F(TestFormTest, TheQuestionPanelsAreNeverWindowsOfTheirOwn) {
  const auto visibleWindows = [] {
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) names << QString::fromLatin1(w->metaObject()->className()) + " " + w->objectName();
    }
    return names;
  };
  LogOn();
  for (bool exam : {false, true}) {
    SCOPED_TRACE(exam ? "exam" : "practice");
    SetOptions(exam, kLetterD, kLetterD, 5);
    ASSERT_TRUE(Start(exam));
    EXPECT_EQ(visibleWindows(), QStringList{"zabko::TTestForm TestForm"});
    for (QWidget* panel : {form->UpperPanel(), form->LowerPanel(), form->SlidingPanel()}) {
      const TSubTestForm* sub = panel->findChild<TSubTestForm*>(QString(), Qt::FindDirectChildrenOnly);
      ASSERT_TRUE(sub);
      EXPECT_FALSE(sub->isWindow()) << panel->objectName().toStdString();
    }
    TSubTestForm* upper = form->UpperForm();
    EXPECT_TRUE(upper->isVisible());
    EXPECT_EQ(upper->geometry(), form->UpperPanel()->rect());
    EXPECT_EQ(upper->Page(), exam ? TPanelPage::Question : TPanelPage::First);
    form->ShowIntro();
  }
}

TEST_F(TestFormTest, ShortBatchesDoNotStart) {
  LogOn();
  struct Case {
    int from, to, count, offered, field;
  };
  // Letter a holds one word, e..h one each: a count field of 4 or less is never written.
  const Case cases[] = {{0, 0, 5, 1, 5}, {kLetterD + 1, kLetterD + 4, 5, 4, 5}, {kLetterD + 1, kLetterD + 4, 10, 4, 10}};
  for (const Case& c : cases) {
    view.messages.boxes.clear();
    SetOptions(false, c.from, c.to, c.count);
    EXPECT_FALSE(Start(false));
    ASSERT_EQ(view.messages.boxes.size(), 1u);
    EXPECT_TRUE(view.messages.boxes[0].second.startsWith(
        QString("You asked for %1 questions, but only %2 questions").arg(c.count).arg(c.offered)))
        << view.messages.boxes[0].second.toStdString();
    EXPECT_EQ(options->GetQuestionCount(), c.field);
  }
}

TEST_F(TestFormTest, SevenForTenLowersTheField) {
  LogOn();
  // Mark ten words of d known on the server: seven remain to be asked.
  WithStore([&](dev::TDevStore& store) {
    int n = 0;
    for (const auto& w : central_->CurrentWordList()->Words()) {
      if (central_->CurrentLanguagePack()->GetLetterIndex(*w) == kLetterD && n++ < 10)
        store.SetWordState(userKey_, kEnglish, w->Id, {0, true});
    }
  });
  SetOptions(false, kLetterD, kLetterD, 10);
  EXPECT_FALSE(Start(false));
  EXPECT_EQ(options->GetQuestionCount(), 7);
  EXPECT_TRUE(form->OnIntroPage());
}

TEST_F(TestFormTest, FetchFailures) {
  LogOn();
  SetOptions(false, kLetterD, kLetterD, 5);
  // "Not Logged" once: the client logs on again and the test starts.
  Fault("", "GetQuestions", dev::TFaultKind::NotLogged, 1);
  EXPECT_TRUE(Start(false));
  EXPECT_EQ(view.connectionErrors, 0);

  // An error status raises inside the job: no test, the batch stays empty.
  form->ShowIntro();
  Fault("", "GetQuestions", dev::TFaultKind::ErrorStatus, 1);
  EXPECT_FALSE(Start(false));
  EXPECT_TRUE(form->Run().Batch().empty());
  EXPECT_TRUE(form->OnIntroPage());

  // No answer at all: the connection error.
  Fault("", "GetQuestions", dev::TFaultKind::Http500, -1);
  EXPECT_FALSE(Start(false));
  EXPECT_EQ(view.connectionErrors, 1);
}

TEST_F(TestFormTest, UpsideDownExamAsksTheGameAndNeverPlays) {
  LogOn();
  SetOptions(true, kLetterD, kLetterD, 5, /*kind*/ 1, 5);
  ASSERT_TRUE(Start(true));
  const auto game = Requests("Game.GetQuestions");
  ASSERT_EQ(game.size(), 1u);
  const TDataPacket& args = *game[0].arguments;
  EXPECT_EQ(args.GetByte(0), kLetterD);
  EXPECT_EQ(args.GetByte(1), kLetterD);
  EXPECT_EQ(args.GetInteger(0), kEnglish);
  EXPECT_EQ(args.GetInteger(1), 5) << "no subject arguments";
  EXPECT_TRUE(args.GetBoolean(0));
  EXPECT_EQ(form->UpperForm()->Kind(), kKindUpsideDown);
  EXPECT_EQ(form->UpperForm()->Page(), TPanelPage::Question) << "an exam goes straight to the answers";
  form->UpperForm()->HandleKey(vk::kDigit1 + RightAnswerIndex(form->Run().Current()));
  form->UpperForm()->HandleKey(vk::kReturn);
  FinishSlide();
  EXPECT_EQ(form->Run().RightCount(), 1);
  EXPECT_TRUE(sounds.isEmpty());
  SaveFrameGrab(*form, "test_form_exam_upside_down");
}

TEST_F(TestFormTest, ExamTimeOutRecordsOnceAndPausesUnderTheQuestion) {
  LogOn();
  SetOptions(true, kLetterD, kLetterD, 5, 0, 5);
  ASSERT_TRUE(Start(true));
  TSubTestForm* upper = form->UpperForm();
  // Checking without an answer asks; the countdown waits while the box is up.
  view.messages.answers = {false};
  int ticksDuringBox = 0;
  view.messages.onBox = [&] {
    for (int i = 0; i < 10; ++i) upper->CountDownTimer();
    ticksDuringBox = static_cast<int>(central_->AnswerHolder().Count());
  };
  upper->CheckAnswerBtnClick();
  view.messages.onBox = {};
  EXPECT_EQ(ticksDuringBox, 0) << "no time-out while the learner is asked";
  EXPECT_EQ(upper->Page(), TPanelPage::Question);
  EXPECT_EQ(FindComponent<TTntLabel>(upper, "TimeLbl")->Caption(), "0:05");

  tick.Advance(6000);
  for (int i = 0; i < 5; ++i) upper->CountDownTimer();
  EXPECT_EQ(FindComponent<TTntLabel>(upper, "TimeLbl")->Caption(), "0:00");
  EXPECT_EQ(central_->AnswerHolder().Count(), 0);
  upper->CountDownTimer();
  ASSERT_EQ(central_->AnswerHolder().Count(), 1);
  const TDataPacket& report = *central_->AnswerHolder().Data().GetPacket(3)->GetPacket(0);
  EXPECT_EQ(report.GetInteger(report::kChosen), -1);
  EXPECT_EQ(report.GetInteger(report::kKind), 0);
  EXPECT_EQ(report.GetInteger(report::kSeconds), 6);
  EXPECT_EQ(FindComponent<TTntLabel>(upper, "AnwerLbl")->Caption(), "Time is up");
  upper->CountDownTimer();
  EXPECT_EQ(central_->AnswerHolder().Count(), 1) << "recorded once";
  FinishSlide();
  SaveFrameGrab(*form, "test_form_exam_time_out");
}

TEST_F(TestFormTest, LeavingAndLetters) {
  LogOn();
  SetOptions(false, kLetterD, kLetterD, 5);
  ASSERT_TRUE(Start(false));
  view.confirmAnswer = false;
  form->FinishBtnClick();
  EXPECT_FALSE(form->OnIntroPage()) << "the learner stays";
  view.confirmAnswer = true;
  // A letter picked while the test runs becomes the single letter of the options.
  view.selected = 5;
  form->LetterChosen();
  EXPECT_TRUE(form->OnIntroPage());
  EXPECT_EQ(central_->Settings().ReadInteger("Test\\20", "Range", -1), 0);
  EXPECT_EQ(central_->Settings().ReadInteger("Test\\20", "Unit", -1), 5);
  EXPECT_FALSE(form->IsTestInProgress());
}

}  // namespace
}  // namespace zabko::test
