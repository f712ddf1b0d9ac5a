#include "net/custom_win_thread.h"

#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

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
      stopped = t.Terminated();
      t.Synchronize([&] { finished = true; });
    });
    c.SetOnFinish([&](TEventWinThread&) { finished = true; });
    ASSERT_TRUE(c.Execute());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(stopped);  // the destructor waited for the worker's end
  EXPECT_FALSE(finished);
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

}  // namespace
}  // namespace zabko
