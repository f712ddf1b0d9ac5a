#include "net/custom_win_thread.h"

#include "core/exception_log.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace zabko {
namespace {

// A body that runs until told to stop, or for at most Ms milliseconds.
void Work(TEventWinThread& t, int ms) {
  for (int i = 0; i < ms / 5 && !t.CheckTerminated(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

TEST(CustomWinThread, HooksRunOnTheirThreadsAndEachStartHasANewWorker) {
  TCustomWinThread c;
  QThread* gui = QThread::currentThread();
  std::vector<std::thread::id> workers;
  QThread* executeOn = nullptr;
  QThread* finishOn = nullptr;
  QThread* syncOn = nullptr;
  bool runningDuringExecute = false;
  c.SetOnExecute([&](TEventWinThread& t) {
    executeOn = QThread::currentThread();
    workers.push_back(std::this_thread::get_id());
    runningDuringExecute = t.Running();
    t.Synchronize([&] { syncOn = QThread::currentThread(); });
  });
  c.SetOnFinish([&](TEventWinThread&) { finishOn = QThread::currentThread(); });
  c.WaitThread = true;
  ASSERT_TRUE(c.Execute());
  EXPECT_NE(executeOn, gui);
  EXPECT_TRUE(runningDuringExecute);
  EXPECT_EQ(syncOn, gui);
  EXPECT_EQ(finishOn, gui);  // the finish hook ran before the wait returned
  const std::shared_ptr<TEventWinThread> first = c.Worker().shared_from_this();
  ASSERT_TRUE(c.Execute());
  ASSERT_EQ(workers.size(), 2u);
  EXPECT_NE(&c.Worker(), first.get());
}

// Short requests one after the other: while the GUI thread waits, and while the worker waits
// for its next request, both sleep instead of looking for work in a loop.
TEST(CustomWinThread, WaitingForShortBodiesCostsAlmostNoCpu) {
  TCustomWinThread c;
  std::mutex threadsMutex;
  std::set<std::thread::id> threads;
  c.SetOnExecute([&](TEventWinThread& t) {
    {
      std::lock_guard lock(threadsMutex);
      threads.insert(std::this_thread::get_id());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(400));
    t.Synchronize([] {});
  });
  c.SetOnFinish([](TEventWinThread&) {});
  c.WaitThread = true;
  const auto cpu = [] {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
  };
  ASSERT_TRUE(c.Execute());  // the pool's thread is started
  constexpr int kStarts = 100;
  QElapsedTimer wall;
  wall.start();
  const long long before = cpu();
  for (int i = 0; i < kStarts; ++i) {
    ASSERT_TRUE(c.Execute());
    std::this_thread::sleep_for(std::chrono::microseconds(300));  // the caller's own work
  }
  const long long used = cpu() - before;
  const long long elapsed = wall.nsecsElapsed() / 1000;
  std::lock_guard lock(threadsMutex);
  // Looking for work in a loop costs a whole core while waiting; sleeping costs a few wake-ups
  // per start (more on a loaded machine, where a body may outlast the short wait).
  EXPECT_LT(used, elapsed / 2) << "microseconds of CPU over " << elapsed << " us, on " << threads.size()
                                << " threads";
}

TEST(CustomWinThread, ExceptionsOfTheBody) {
  for (bool handle : {true, false}) {
    SCOPED_TRACE(handle ? "handled" : "not handled");
    TCustomWinThread c;
    QString reported;
    bool afterSync = false;
    c.HandleExceptions = handle;
    c.SetOnExecute([&](TEventWinThread& t) {
      // An exception of a synchronised call is kept, and raised again only when not handled.
      t.Synchronize([] { throw Exception("in the call"); });
      afterSync = true;
      throw Exception("in the body");
    });
    c.SetOnException([&](TEventWinThread&, std::exception_ptr e) {
      EXPECT_TRUE(TGuiDispatcher::IsGuiThread());
      reported = test::MessageOf([e] { std::rethrow_exception(e); });
    });
    c.WaitThread = true;
    ASSERT_TRUE(c.Execute());
    EXPECT_EQ(afterSync, handle);
    EXPECT_EQ(reported, handle ? QString("in the body") : QString());
    if (!handle) {
      EXPECT_EQ(test::MessageOf([&] { std::rethrow_exception(c.Worker().FatalException()); }), "in the call");
    }
  }
}

TEST(CustomWinThread, WaitTimeout) {
  {
    SCOPED_TRACE("the handler keeps the worker: true at once, the finish comes later");
    TCustomWinThread c;
    std::atomic<bool> release{false};
    bool finished = false;
    c.SetOnExecute([&](TEventWinThread&) {
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    c.SetOnFinish([&](TEventWinThread&) { finished = true; });
    c.OnWaitTimeoutExpired = [](TCustomWinThread&, bool& terminate) { terminate = false; };
    c.WaitThread = true;
    c.WaitTimeout = 30;
    EXPECT_TRUE(c.Execute());
    EXPECT_FALSE(finished);
    release = true;
    EXPECT_TRUE(test::PumpEventsUntil([&] { return finished; }));
  }
  {
    SCOPED_TRACE("the worker is abandoned: false, and its finish never runs");
    TCustomWinThread c;
    bool finished = false;
    int fired = 0;
    c.SetOnExecute([](TEventWinThread& t) { Work(t, 5000); });
    c.SetOnFinish([&](TEventWinThread&) { finished = true; });
    c.OnWaitTimeoutExpired = [&](TCustomWinThread&, bool&) { ++fired; };
    c.WaitThread = true;
    c.WaitTimeout = 30;
    EXPECT_FALSE(c.Execute());
    EXPECT_EQ(fired, 1);
    test::PumpEventsUntil([] { return false; }, 50);
    EXPECT_FALSE(finished);
  }
}

TEST(CustomWinThread, DestroyingStopsTheWorkerAndDropsItsHooks) {
  bool finished = false;
  std::atomic<bool> stopped{false};
  {
    TCustomWinThread c;
    c.SetOnExecute([&](TEventWinThread& t) {
      Work(t, 5000);
      t.Synchronize([&] { finished = true; });
      stopped = t.Terminated();
    });
    c.SetOnFinish([&](TEventWinThread&) { finished = true; });
    ASSERT_TRUE(c.Execute());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(test::PumpEventsUntil([&] { return stopped.load(); }, 5000)) << "told to stop, the worker ends";
  EXPECT_FALSE(finished);
}

// A worker stuck where it cannot look at its stop flag (libcurl in a name lookup): destroying its
// component returns at once, and the worker ends on its own later, its calls dropped.
TEST(CustomWinThread, DestroyingDoesNotWaitForAStuckWorker) {
  struct Shared {
    std::atomic<bool> release{false};
    std::atomic<bool> running{false};
    std::atomic<bool> ended{false};
    std::atomic<bool> called{false};
  };
  auto shared = std::make_shared<Shared>();
  QElapsedTimer clock;
  {
    TCustomWinThread c;
    c.SetOnExecute([shared](TEventWinThread& t) {
      shared->running = true;
      while (!shared->release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      t.Synchronize([shared] { shared->called = true; });
      shared->ended = true;
    });
    c.SetOnFinish([shared](TEventWinThread&) { shared->called = true; });
    ASSERT_TRUE(c.Execute());
    // A component destroyed before its body starts never runs it: wait until it is stuck.
    while (!shared->running) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    clock.start();
    // The worker comes free by itself a second later, whether or not anyone waits for it.
    std::thread([shared] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1000));
      shared->release = true;
    }).detach();
  }
  EXPECT_LT(clock.elapsed(), 500);
  EXPECT_TRUE(test::PumpEventsUntil([&] { return shared->ended.load(); }, 5000));
  test::PumpEventsUntil([] { return false; }, 20);
  EXPECT_FALSE(shared->called);
}

// A handler run by the worker's first calls, served before the waiting event loop starts, may
// free the component (a window closed from an HTTP event).
TEST(CustomWinThread, AWaitingStartSurvivesAHandlerThatFreesTheComponent) {
  for (const bool inFinish : {false, true}) {
    SCOPED_TRACE(inFinish ? "finish hook" : "synchronised call");
    auto c = std::make_unique<TCustomWinThread>();
    if (inFinish) {
      c->SetOnFinish([&](TEventWinThread&) { c.reset(); });
    } else {
      c->SetOnExecute([&](TEventWinThread& t) { t.Synchronize([&] { c.reset(); }); });
    }
    c->WaitThread = true;
    TCustomWinThread* raw = c.get();
    EXPECT_FALSE(raw->Execute());
    EXPECT_FALSE(c);
    test::PumpEventsUntil([] { return false; }, 20);
  }
}

TEST(EventWinThread, SuspendCountAndPriority) {
  TCustomWinThread c;
  std::atomic<int> runs{0};
  auto worker = TEventWinThread::Create(&c);
  worker->OnExecute = [&](TEventWinThread&) { ++runs; };
  EXPECT_TRUE(worker->Suspended());
  worker->Suspend();
  worker->Resume();
  EXPECT_TRUE(worker->Suspended());  // one suspend is still outstanding
  EXPECT_FALSE(worker->Started());
  worker->Resume();
  EXPECT_FALSE(worker->Suspended());
  worker->WaitFor();
  EXPECT_EQ(runs, 1);

  EXPECT_EQ(worker->GetPriority(), kNormalThreadPriority);
  worker->SetPriority(0);
  EXPECT_EQ(worker->GetPriority(), 0);
  worker->SetPriority(7);  // not a level: ignored
  EXPECT_EQ(worker->GetPriority(), 0);
  EXPECT_EQ(worker->Clone()->GetPriority(), 0);

  // A worker terminated before it starts ends without running its body.
  auto early = worker->Clone();
  early->Terminate();
  early->Resume();
  early->WaitFor();
  EXPECT_TRUE(early->Finished());
  EXPECT_EQ(runs, 1);
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZABKO_TEST_ASAN 1
#endif
#endif
#if !defined(__SANITIZE_ADDRESS__) && !defined(ZABKO_TEST_ASAN)
// Recurses until the stack runs out (the limit is never reached).
volatile int g_neverDepth = -1;
[[gnu::noinline]] int Overflow(int depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  if (depth == g_neverDepth) return 0;
  return Overflow(depth + 1) + frame[0];
}

// A worker that overflows its stack still leaves its record in the crash log before the process
// ends. (Under AddressSanitizer the sanitizer takes fatal signals over, so this runs without it.)
TEST(CustomWinThreadDeathTest, AStackOverflowOnAWorkerIsRecorded) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The child process runs this test again from the start: it finds the folder in its
  // environment.
  QTemporaryDir dir;
  if (qEnvironmentVariableIsEmpty("ZABKO_WORKER_CRASH_LOG")) qputenv("ZABKO_WORKER_CRASH_LOG", dir.filePath("log.txt").toUtf8());
  const QString path = qEnvironmentVariable("ZABKO_WORKER_CRASH_LOG");
  EXPECT_EXIT(
      {
        SetLogFileName(path);
        if (!InstallLogger()) _exit(3);
        TCustomWinThread c;
        c.SetOnExecute([](TEventWinThread&) { Overflow(0); });
        c.WaitThread = true;
        c.Execute();
        _exit(4);
      },
      testing::KilledBySignal(SIGSEGV), "");
  QFile log(path);
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_TRUE(log.readAll().contains("Exception:\r\n"));
  qunsetenv("ZABKO_WORKER_CRASH_LOG");
}
#endif

}  // namespace
}  // namespace zabko
