#include "game/progress_form.h"

#include "game/play/game_utils.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "ui/alpha_blend_form.h"
#include "ui/modal_form.h"
#include "ui/tnt_label.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zabko {
namespace {

class GameProgressFormTest : public ::testing::Test {
 protected:
  GameProgressFormTest() {
    SetApplicationExceptionHandler([this](const std::exception_ptr& error) { errors << ExceptionMessage(error); });
  }
  ~GameProgressFormTest() override { SetApplicationExceptionHandler(nullptr); }

  QStringList errors;
};

TEST_F(GameProgressFormTest, TheOneDialogRunsAJobAndEndsWithAFullBar) {
  TProgressForm* form = GetProgressForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(GetProgressForm(), form) << "one dialog, made on the first call";
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("אנא המתן..."));
  EXPECT_EQ(form->layoutDirection(), Qt::RightToLeft);
  EXPECT_EQ(form->Timer()->interval(), 1);

  struct Case {
    const char* name;
    int steps;
    int stepCalls;
    std::vector<int> seen;  // the bar after each step
  };
  const Case cases[] = {
      {"steps as announced", 3, 3, {1, 2, 3}},
      {"too few steps fill at the end", 6, 2, {1, 2}},
      {"too many steps stay at the maximum", 2, 4, {1, 2, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int> seen;
    bool visible = false;
    QString text;
    const int result = form->Run(c.steps, "Connecting", [&](TProgressForm& sender) {
      visible = sender.isVisible();
      text = sender.InfoLbl()->Caption();
      for (int i = 0; i < c.stepCalls; ++i) {
        sender.Step();
        seen.push_back(sender.Progress()->value());
      }
      sender.SetText("Updating");
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(visible) << "the job runs with the dialog on screen";
    EXPECT_EQ(text, "Connecting");
    EXPECT_EQ(form->InfoLbl()->Caption(), "Updating");
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(form->Progress()->value(), c.steps);
    EXPECT_FALSE(form->isVisible());
  }
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(GameProgressFormTest, FillingTakesTenMillisecondsAStepAndAtMost101Steps) {
  TProgressForm form;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(form.Run(5, "Idle", [](TProgressForm&) {}), mrOk);
  EXPECT_GE(clock.elapsed(), 5 * TProgressForm::kFillStepMs);
  EXPECT_EQ(form.Progress()->value(), 5);

  EXPECT_EQ(form.Run(150, "Long", [](TProgressForm&) {}), mrOk);
  EXPECT_EQ(form.Progress()->value(), TProgressForm::kMaxFillSteps);
}

TEST_F(GameProgressFormTest, ARaisingJobIsNotOkAndGoesToTheHandlerNotTheCaller) {
  TProgressForm form;
  int result = -1;
  EXPECT_NO_THROW(result = form.Run(4, "Failing", [](TProgressForm& sender) {
    sender.Step();
    throw Exception("No connection");
  }));
  EXPECT_EQ(result, mrCancel) << "OK only after a job that ran to its end";
  EXPECT_EQ(errors, QStringList{"No connection"});
  EXPECT_EQ(form.Progress()->value(), 1) << "no filling after a failure";
  EXPECT_FALSE(form.isVisible());
}

class DimmedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.resize(600, 400);
    main.move(100, 80);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  }
  QWidget main;
};

TEST_F(DimmedTest, ADialogShowsCentredOverACoverThatGoesAfterwards) {
  TModalForm dialog(&main);
  dialog.resize(200, 100);
  bool coverShown = false;
  TColor colour = 0;
  QPoint dialogAt;
  QTimer::singleShot(0, [&] {
    auto* cover = main.findChild<TAlphaBlendForm*>();
    coverShown = cover && cover->isVisible();
    if (cover) colour = cover->Color();
    dialogAt = dialog.pos();
    dialog.SetModalResult(mrYes);
  });
  EXPECT_EQ(ShowModalDimmed(dialog, kDialogDimColor, kDialogDimAlpha), mrYes);
  EXPECT_TRUE(coverShown);
  EXPECT_EQ(colour, kDialogDimColor);
  EXPECT_EQ(main.findChildren<TAlphaBlendForm*>().size(), 0) << "the cover is freed";
  const QPoint origin = main.mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(dialogAt, origin + QPoint((600 - 200) / 2, (400 - 100) / 2));

  // The grey variant covers in grey, also while the window the dialog belongs to is not yet
  // active again.
  colour = 0;
  QTimer::singleShot(0, [&] {
    if (auto* c = main.findChild<TAlphaBlendForm*>()) colour = c->Color();
    dialog.SetModalResult(mrOk);
  });
  EXPECT_EQ(ShowModalGreyDimmed(dialog, 30), mrOk);
  EXPECT_EQ(colour, kDimmerGrey);
}

TEST_F(DimmedTest, WithNoWindowToCoverTheDialogStillShows) {
  main.hide();
  QTest::qWait(10);
  TModalForm dialog;
  QTimer::singleShot(0, [&] { dialog.SetModalResult(mrOk); });
  EXPECT_EQ(ShowModalDimmed(dialog, kDialogDimColor, kDialogDimAlpha), mrOk);
}

}  // namespace
}  // namespace zabko
