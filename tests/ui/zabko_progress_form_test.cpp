#include "ui/zabko_progress_form.h"

#include "platform/exception.h"
#include "ui/tnt_label.h"

#include "dialog_fixture.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

namespace zabko {
namespace {

class ProgressFormTest : public ::testing::Test, public test::TDialogFixture {
 protected:
  TZabkoProgressForm form{&manager};
};

TEST_F(ProgressFormTest, AJobRunsOnceOnScreenAndTheBarFollowsItsSteps) {
  struct Case {
    const char* name;
    int steps;
    int stepCalls;
    std::vector<int> seen;  // the bar after each call of Step
  };
  const Case cases[] = {
      {"every step used", 4, 4, {1, 2, 3, 4}},
      {"steps left over fill after the job", 5, 2, {1, 2}},
      {"more calls than steps stay at the maximum", 2, 4, {1, 2, 2, 2}},
      {"no steps", 0, 1, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int runs = 0;
    bool visibleAtStart = false;
    QString caption;
    std::vector<int> seen;
    const bool completed = form.RunJob(c.steps, "Working", [&](IProgress& sender) {
      ++runs;
      visibleAtStart = form.isVisible();
      caption = form.MainLbl()->Caption();
      for (int i = 0; i < c.stepCalls; ++i) {
        sender.Step();
        seen.push_back(form.Progress()->value());
      }
    });
    EXPECT_TRUE(completed);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(visibleAtStart);
    EXPECT_EQ(caption, "Working");
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(form.Progress()->maximum(), c.steps);
    EXPECT_EQ(form.Progress()->value(), c.steps) << "the bar ends full";
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.TimerStart()->isActive());
  }
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ProgressFormTest, UnusedStepsFillAtTenMillisecondsEach) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(form.RunJob(5, "Idle", [](IProgress&) {}));
  EXPECT_GE(clock.elapsed(), 5 * TZabkoProgressForm::kFillStepMs);
  EXPECT_EQ(form.Progress()->value(), 5);
}

TEST_F(ProgressFormTest, ARaisingJobEndsTheWindowAndGoesToTheHandlerNotTheCaller) {
  bool continued = false;
  const bool completed = form.RunJob(5, "Failing", [&](IProgress& sender) {
    sender.Step();
    sender.Step();
    throw Exception("Connection lost");
  });
  continued = true;
  EXPECT_TRUE(continued);
  EXPECT_FALSE(completed) << "the caller learns the job did not complete";
  EXPECT_EQ(errors, QStringList{"Connection lost"});
  EXPECT_EQ(form.Progress()->value(), 2) << "no filling after a failure";
  EXPECT_FALSE(form.isVisible());

  // The window is ready for the next run.
  errors.clear();
  EXPECT_TRUE(form.RunJob(1, "Again", [](IProgress& sender) { sender.Step(); }));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ProgressFormTest, HidingForAMessageNeitherEndsNorRestartsTheJob) {
  int runs = 0;
  bool hiddenMeanwhile = false, backAfterwards = false;
  const bool completed = form.RunJob(3, "Working", [&](IProgress& sender) {
    ++runs;
    sender.Step();
    form.HideForMessage();
    QTest::qWait(40);  // events run while hidden: the modal loop must not end, the timer not refire
    hiddenMeanwhile = !form.isVisible() && form.InModalLoop();
    form.RestoreAfterMessage();
    QTest::qWait(40);
    backAfterwards = form.isVisible();
    sender.Step();
  });
  EXPECT_TRUE(completed);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(hiddenMeanwhile);
  EXPECT_TRUE(backAfterwards);

  // Outside a run the window stays hidden after a message.
  form.HideForMessage();
  form.RestoreAfterMessage();
  EXPECT_FALSE(form.isVisible());
}

TEST_F(ProgressFormTest, ARunInsideARunRunsInTheSameWindow) {
  bool innerCompleted = true, outerInLoop = false;
  QString innerCaption;
  const bool completed = form.RunJob(4, "Outer", [&](IProgress& sender) {
    sender.Step();
    EXPECT_TRUE(form.RunJob(9, "Inner", [&](IProgress& inner) {
      inner.Step();
      innerCaption = form.MainLbl()->Caption();
      outerInLoop = form.InModalLoop();
    }));
    innerCompleted = form.RunJob(1, "Failing inner", [](IProgress&) { throw Exception("inner"); });
  });
  EXPECT_TRUE(completed);
  EXPECT_FALSE(innerCompleted);
  EXPECT_EQ(innerCaption, "Inner");
  EXPECT_TRUE(outerInLoop);
  EXPECT_EQ(errors, QStringList{"inner"});
  EXPECT_EQ(form.Progress()->maximum(), 4) << "the inner run keeps the outer bar";
}

TEST_F(ProgressFormTest, LayoutAndTheEnglishCaption) {
  EXPECT_EQ(form.size(), QSize(471, 99));
  EXPECT_EQ(form.layoutDirection(), Qt::RightToLeft);
  EXPECT_EQ(form.MainLbl()->geometry(), QRect(31, 24, 409, 17));
  EXPECT_EQ(form.Progress()->geometry(), QRect(31, 64, 409, 16));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  form.ApplyLeftToRight();
  EXPECT_EQ(form.windowTitle(), "Please wait...");
  EXPECT_EQ(form.layoutDirection(), Qt::LeftToRight);
}

}  // namespace
}  // namespace zabko
