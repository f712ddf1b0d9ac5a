// The fakes stand in for the windows in the flow's tests, so they keep the windows' contract.
#include "tests/net/fake_flow_ui.h"

#include "platform/exception.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

TEST(FakeFlowUiTest, TheRunnerSendsAJobsExceptionToTheHandlerAndReportsIt) {
  QStringList handled;
  SetApplicationExceptionHandler([&](const std::exception_ptr& e) { handled << ExceptionMessage(e); });
  test::TFakeProgressRunner runner;
  EXPECT_TRUE(runner.RunJob(3, "ok", [](IProgress& p) { p.Step(); p.Step(); }));
  EXPECT_FALSE(runner.RunJob(2, "bad", [](IProgress& p) {
    p.Step();
    throw Exception("Server error");
  }));
  SetApplicationExceptionHandler(nullptr);
  ASSERT_EQ(runner.runs.size(), 2u);
  EXPECT_EQ(runner.runs[0].stepsTaken, 2);
  EXPECT_TRUE(runner.runs[0].completed);
  EXPECT_EQ(runner.runs[1].error, "Server error");
  EXPECT_EQ(handled, QStringList{"Server error"});
}

TEST(FakeFlowUiTest, TheMessageServiceAnswersFromItsScript) {
  test::TFakeMessageService messages;
  messages.answers = {true};
  EXPECT_TRUE(messages.AskYesNo("c", "first", kButtonYes | kButtonNo));
  EXPECT_FALSE(messages.AskYesNo("c", "second", kButtonYes | kButtonNo)) << "DefaultAnswer";
  messages.ShowMessageWithLinks("c", "note", {"https://x"});
  ASSERT_EQ(messages.boxes.size(), 3u);
  EXPECT_EQ(messages.boxes[1].flags, kButtonYes | kButtonNo);
  EXPECT_EQ(messages.boxes[2].flags, kButtonOK);
  EXPECT_EQ(messages.boxes[2].links, QStringList{"https://x"});
}

}  // namespace
}  // namespace zabko
