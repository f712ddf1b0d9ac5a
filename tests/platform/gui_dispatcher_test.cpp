#include "platform/gui_dispatcher.h"

#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <time.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zabko {
namespace {

class ExceptionHandlerScope {
 public:
  explicit ExceptionHandlerScope(std::vector<QString>* seen) {
    TGuiDispatcher::SetExceptionHandler([seen](std::exception_ptr e) {
      try {
        std::rethrow_exception(e);
      } catch (const Exception& ex) {
        seen->push_back(ex.Message());
      }
    });
  }
  ~ExceptionHandlerScope() { TGuiDispatcher::SetExceptionHandler(nullptr); }
};

TEST(GuiDispatcher, PostedCallsRunOnTheGuiThreadInOrderAndExpiredOnesAreDropped) {
  ASSERT_TRUE(TGuiDispatcher::IsGuiThread());
  QThread* gui = QThread::currentThread();
  std::vector<int> ran;
  std::vector<QThread*> threads;
  auto guard = std::make_unique<TLifeGuard>();
  std::vector<QString> errors;
  ExceptionHandlerScope scope(&errors);

  std::thread worker([&] {
    EXPECT_FALSE(TGuiDispatcher::IsGuiThread());
    for (int i = 0; i < 3; ++i)
      TGuiDispatcher::Post([&, i] {
        ran.push_back(i);
        threads.push_back(QThread::currentThread());
      });
    TGuiDispatcher::Post([&] { ran.push_back(99); }, guard->GetToken());
    TGuiDispatcher::Post([] { throw Exception("posted failure"); });
  });
  worker.join();
  guard.reset();  // the owner goes before the GUI thread gets to its report
  ASSERT_TRUE(test::PumpEventsUntil([&] { return errors.size() == 1; }));
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
  for (QThread* t : threads) EXPECT_EQ(t, gui);
  EXPECT_EQ(errors, std::vector<QString>{"posted failure"});
}

TEST(GuiDispatcher, SendBlocksTheWorkerUntilTheGuiThreadRanTheCall) {
  QThread* gui = QThread::currentThread();
  int value = 0;  // touched by the GUI thread only, read by the worker after Send returns
  QThread* ranOn = nullptr;
  std::atomic<bool> finished{false};
  int seenByWorker = -1;
  bool droppedFirst = true;
  std::thread worker([&] {
    TGuiDispatcher::Send(
        [&] {
          value = 42;
          ranOn = QThread::currentThread();
        },
        {}, &droppedFirst);
    seenByWorker = value;
    finished = true;
  });
  ASSERT_TRUE(test::PumpEventsUntil([&] { return finished.load(); }));
  worker.join();
  EXPECT_FALSE(droppedFirst);
  EXPECT_EQ(seenByWorker, 42);
  EXPECT_EQ(ranOn, gui);
}

TEST(GuiDispatcher, SendReturnsTheCallsExceptionAndDropsExpiredGuards) {
  TLifeGuard guard;
  guard.Revoke();
  std::exception_ptr error;
  bool dropped = false, ran = false;
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    error = TGuiDispatcher::Send([] { throw Exception("boom"); });
    TGuiDispatcher::Send([&] { ran = true; }, guard.GetToken(), &dropped);
    finished = true;
  });
  ASSERT_TRUE(test::PumpEventsUntil([&] { return finished.load(); }));
  worker.join();
  ASSERT_TRUE(error);
  EXPECT_THROW(std::rethrow_exception(error), Exception);
  EXPECT_TRUE(dropped);
  EXPECT_FALSE(ran);

  // On the GUI thread itself the call runs at once.
  bool inline_ran = false;
  EXPECT_FALSE(TGuiDispatcher::Send([&] { inline_ran = true; }));
  EXPECT_TRUE(inline_ran);
}

// A handed call does not hold its worker: it runs in order with the calls sent around it, inside
// the wait that serves them (no event loop needed), and is dropped when its owner has gone.
TEST(GuiDispatcher, HandedCallsRunInOrderWithTheSentOnesWithoutHoldingTheWorker) {
  std::vector<QString> errors;
  ExceptionHandlerScope scope(&errors);
  auto guard = std::make_unique<TLifeGuard>();
  std::vector<int> ran;
  std::atomic<bool> queued{false};
  bool last = false;
  std::thread worker([&] {
    TGuiDispatcher::Hand([&] { ran.push_back(1); });
    TGuiDispatcher::Hand([&] { ran.push_back(99); }, guard->GetToken());
    TGuiDispatcher::Hand([] { throw Exception("handed failure"); });
    queued = true;  // nothing has run yet: the GUI thread has not looked
    TGuiDispatcher::Send([&] { ran.push_back(2); });
    TGuiDispatcher::Hand([&] { last = true; });
  });
  QElapsedTimer clock;
  clock.start();
  while (!queued.load() && clock.elapsed() < 5000) std::this_thread::yield();
  ASSERT_TRUE(queued.load()) << "the worker was held by a handed call";
  guard.reset();  // the owner of the second call goes before the GUI thread gets to it
  EXPECT_TRUE(TGuiDispatcher::ServeSentCallsFor([&] { return last; }, 10 * 1000 * 1000));
  worker.join();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(errors, std::vector<QString>{"handed failure"});
}

TEST(GuiDispatcher, WaitRunningSentCallsServesABlockedWorkerButNoTimers) {
  std::atomic<bool> workerDone{false};
  bool timerFired = false;
  QTimer::singleShot(0, [&] { timerFired = true; });
  int calls = 0;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i) TGuiDispatcher::Send([&] { ++calls; });
    workerDone = true;
    TGuiDispatcher::Wake();
  });
  TGuiDispatcher::WaitRunningSentCalls([&] { return workerDone.load(); });
  worker.join();
  EXPECT_EQ(calls, 5);
  EXPECT_FALSE(timerFired);
  test::PumpEventsUntil([&] { return timerFired; });
}

// While the GUI thread serves sent calls itself it sleeps on the condition; a call it runs may
// start an event loop of its own, which must then receive the calls other workers send.
TEST(GuiDispatcher, ServingSentCallsSleepsAndACallsOwnEventLoopStillReceivesOtherWorkersCalls) {
  std::atomic<bool> done{false};
  bool innerRan = false;
  std::thread inner;
  std::thread outer([&] {
    TGuiDispatcher::Send([&] {
      QEventLoop loop;
      inner = std::thread([&] { TGuiDispatcher::Send([&] { innerRan = true; loop.quit(); }); });
      QTimer::singleShot(10000, &loop, &QEventLoop::quit);
      loop.exec();
    });
    done = true;
    TGuiDispatcher::Wake();
  });
  EXPECT_TRUE(TGuiDispatcher::ServeSentCallsFor([&] { return done.load(); }, 20 * 1000 * 1000));
  outer.join();
  inner.join();
  EXPECT_TRUE(innerRan);

  // Nothing to serve: the wait sleeps out its time.
  const auto cpu = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
  };
  const long long before = cpu();
  EXPECT_FALSE(TGuiDispatcher::ServeSentCallsFor([] { return false; }, 50 * 1000));
  EXPECT_LT(cpu() - before, 10 * 1000) << "microseconds of CPU in a wait of 50 ms";
}

TEST(PumpingWait, TimersKeepFiringWhileWaitingForASignalFromAWorker) {
  TPumpingWait wait;
  std::atomic<int> ticks{0};
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);
  auto signal = wait.Signaller();
  // The worker signals once it has seen the timer fire a few times (or gives up after 5 s).
  std::thread worker([signal, &ticks] {
    for (int i = 0; i < 1000 && ticks < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    signal();
  });
  EXPECT_EQ(wait.Wait(0), TPumpingWait::Result::Signalled);
  worker.join();
  EXPECT_GE(ticks.load(), 3);
  // Still signalled: the next wait returns at once until reset.
  EXPECT_EQ(wait.Wait(0), TPumpingWait::Result::Signalled);
}

TEST(PumpingWait, TimesOutAndSignalOutlivesTheWait) {
  std::function<void()> late;
  {
    TPumpingWait wait;
    late = wait.Signaller();
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(wait.Wait(60), TPumpingWait::Result::TimedOut);
    EXPECT_GE(t.elapsed(), 55);
    EXPECT_FALSE(wait.IsSignalled());
  }
  late();  // the wait is gone: nothing happens
}

TEST(PumpingWait, NestedWaitsEachEndOnTheirOwnSignal) {
  TPumpingWait outer, inner;
  TPumpingWait::Result innerResult{};
  QTimer::singleShot(10, [&] {
    QTimer::singleShot(20, [&] { inner.Signal(); });
    innerResult = inner.Wait(2000);
    outer.Signal();
  });
  EXPECT_EQ(outer.Wait(2000), TPumpingWait::Result::Signalled);
  EXPECT_EQ(innerResult, TPumpingWait::Result::Signalled);
}

}  // namespace
}  // namespace zabko
