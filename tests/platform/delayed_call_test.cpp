#include "platform/delayed_call.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace zabko {
namespace {

void RunEventLoop() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// Collects what reaches the application's exception handler during one test.
class DelayedCallTest : public testing::Test {
 protected:
  void SetUp() override {
    SetApplicationExceptionHandler([this](const std::exception_ptr& e) { handled_ << ExceptionMessage(e); });
  }
  void TearDown() override { SetApplicationExceptionHandler(nullptr); }

  QStringList handled_;
};

TEST_F(DelayedCallTest, RunsOnceFromTheEventLoopNotInsidePost) {
  TDelayedCall call;
  int runs = 0;
  call.Post([&] { ++runs; });
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(call.IsPending());
  RunEventLoop();
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(call.IsPending());
  RunEventLoop();
  EXPECT_EQ(runs, 1);
}

TEST_F(DelayedCallTest, SecondPostWhilePendingFails) {
  TDelayedCall call;
  int first = 0, second = 0;
  call.Post([&] { ++first; });
  try {
    call.Post([&] { ++second; });
    FAIL() << "second post accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Already has a delayed call request");
  }
  RunEventLoop();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
}

TEST_F(DelayedCallTest, PostAfterTheCallRanRunsBothOnce) {
  TDelayedCall call;
  int first = 0, second = 0;
  call.Post([&] { ++first; });
  RunEventLoop();
  call.Post([&] { ++second; });
  RunEventLoop();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

TEST_F(DelayedCallTest, PostFromInsideTheRunningMethodFails) {
  TDelayedCall call;
  QString failure;
  call.Post([&] {
    try {
      call.Post([] {});
    } catch (const Exception& e) {
      failure = e.Message();
    }
  });
  RunEventLoop();
  EXPECT_EQ(failure, "Already has a delayed call request");
  EXPECT_FALSE(call.IsPending());
}

TEST_F(DelayedCallTest, RaisingMethodClearsThePendingCallAndReachesTheHandler) {
  TDelayedCall call;
  call.Post([] { throw Exception("boom"); });
  RunEventLoop();
  EXPECT_EQ(handled_, QStringList{"boom"});
  EXPECT_FALSE(call.IsPending());
  int runs = 0;
  call.Post([&] { ++runs; });
  RunEventLoop();
  EXPECT_EQ(runs, 1);
}

TEST_F(DelayedCallTest, DestroyingDropsAPostedCall) {
  int runs = 0;
  auto call = std::make_unique<TDelayedCall>();
  call->Post([&] { ++runs; });
  call.reset();
  RunEventLoop();
  EXPECT_EQ(runs, 0);
}

TEST_F(DelayedCallTest, GuardedHandsEveryKindOfExceptionToTheHandler) {
  EXPECT_TRUE(Guarded([] {}));
  EXPECT_FALSE(Guarded([] { throw Exception("Invalid packet header"); }));
  EXPECT_FALSE(Guarded([] { throw std::runtime_error("std failure"); }));
  EXPECT_FALSE(Guarded([] { throw 42; }));
  EXPECT_EQ(handled_, (QStringList{"Invalid packet header", "std failure", "Unknown exception"}));
}

TEST_F(DelayedCallTest, AFailingApplicationHandlerDoesNotEscape) {
  SetApplicationExceptionHandler([](const std::exception_ptr&) { throw std::runtime_error("handler broke"); });
  EXPECT_FALSE(Guarded([] { throw Exception("x"); }));
}

// The window that owns the delayed call may close from inside the method: the method goes on
// with what it captured, and nothing touches the deleted object afterwards.
TEST_F(DelayedCallTest, AMethodMayDeleteItsOwnDelayedCall) {
  for (const bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "throws" : "returns");
    auto* call = new TDelayedCall;
    QPointer<TDelayedCall> watch(call);
    auto marker = std::make_shared<int>(7);
    int seen = 0;
    call->Post([call, marker, &seen, throws] {
      delete call;
      seen = *marker;
      if (throws) throw Exception("after the delete");
    });
    RunEventLoop();
    EXPECT_EQ(seen, 7);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(marker.use_count(), 1) << "the method was released";
    EXPECT_EQ(handled_, throws ? QStringList{"after the delete"} : QStringList{});
    handled_.clear();
  }
}

}  // namespace
}  // namespace zabko
