// Worker threads of the HTTP client: TEventWinThread is one worker thread, TCustomWinThread the
// component that owns the current worker, starts it for each request and, when asked, waits for
// it on the GUI thread while events go on being processed.
//
// Threading rules: OnExecute runs on the worker and touches only what it was given; OnException
// and every call the worker makes through Synchronize run on the GUI thread while the worker
// waits (TGuiDispatcher::Send); OnFinish runs on the GUI thread after the body has ended, handed
// over behind those calls (TGuiDispatcher::Hand), while the system thread goes back to the pool. A worker that is replaced or whose owner is destroyed
// is abandoned: its further calls to the GUI thread are dropped and it is told to stop. Linux has
// no safe way to kill a thread, so stopping is cooperative: the worker's body polls
// CheckTerminated() between steps and ends soon after.
//
// Each request gets a fresh worker object; the system thread under it comes from a small pool of
// idle threads (started when none is free, ended after a while unused), since starting a thread
// costs a whole scheduler slice on a busy machine.
#pragma once

#include "platform/gui_dispatcher.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zabko {

class TCustomWinThread;

// Thread priorities are given as an index 0..6 into these levels (3 is normal).
inline constexpr int kThreadPriorityLevels[7] = {-15, -2, -1, 0, 1, 2, 15};
inline constexpr int kNormalThreadPriority = 3;

class TEventWinThread : public std::enable_shared_from_this<TEventWinThread> {
 public:
  using TExecuteHook = std::function<void(TEventWinThread& thread)>;
  using TExceptionHook = std::function<void(TEventWinThread& thread, std::exception_ptr error)>;
  using TFinishHook = std::function<void(TEventWinThread& thread)>;

  // A new worker, suspended (its thread starts at the Resume that clears Suspended).
  static std::shared_ptr<TEventWinThread> Create(TCustomWinThread* owner);
  // The running thread holds a reference to its worker, so this runs once the body is done.
  ~TEventWinThread();
  TEventWinThread(const TEventWinThread&) = delete;
  TEventWinThread& operator=(const TEventWinThread&) = delete;

  TCustomWinThread* Owner() const { return owner_; }

  bool Terminated() const { return terminated_.load(); }
  void Terminate();
  // On the worker: pauses while the thread is suspended, then tells whether it should stop.
  bool CheckTerminated();

  bool Suspended() const;
  // Suspending a running worker takes effect at its next CheckTerminated.
  void Suspend();
  // Suspended is cleared only when the resume brings the suspend count to 0; the first such
  // resume starts the thread.
  void Resume();
  // True while the hooks run.
  bool Running() const { return running_.load(); }
  // True once the thread has started and ended.
  bool Finished() const { return finished_.load(); }
  bool Started() const;
  int ReturnValue() const { return returnValue_.load(); }
  void SetReturnValue(int value) { returnValue_ = value; }

  // From the worker: runs Method on the GUI thread and waits until it ran. An exception from it is
  // kept (KeptException) and, when the owner does not handle exceptions, raised again here.
  // Nothing runs once the worker is abandoned or its owner is being destroyed.
  void Synchronize(const std::function<void()>& method);
  std::exception_ptr KeptException() const { return keptException_; }

  // Waits for the thread's end and returns ReturnValue. On the GUI thread the calls the worker
  // sends meanwhile still run, so a worker blocked in Synchronize cannot deadlock the wait.
  int WaitFor();

  int GetPriority() const { return priority_.load(); }
  void SetPriority(int index);

  // A new suspended worker with the same owner, priority and hooks.
  std::shared_ptr<TEventWinThread> Clone() const;

  // Drops every further call of this worker to the GUI thread, tells it to stop, and ends a wait
  // for it (the thread-end function runs now, and again when the thread ends).
  void Abandon();
  // True while the GUI thread is running a call that this worker sent (the worker is blocked in
  // Synchronize, so waiting for its end now would never return).
  bool InSynchronizedCall() const { return inSyncCall_.load() > 0; }

  // Taken over from the owner when the thread starts: with true an exception of OnExecute runs
  // OnException on the GUI thread, with false it is kept in FatalException.
  void SetHandleExceptions(bool value) { handleExceptions_ = value; }
  std::exception_ptr FatalException() const { return fatalException_; }

  // Called once the thread is done: on the GUI thread right after a finish hook, else on the
  // worker thread as its very last step. Must be thread-safe.
  void SetOnThreadEnd(std::function<void()> onEnd) { onThreadEnd_ = std::move(onEnd); }

  // Set before the thread starts; not changed while it runs.
  TExecuteHook OnExecute;
  TExceptionHook OnException;
  TFinishHook OnFinish;

 private:
  explicit TEventWinThread(TCustomWinThread* owner) : owner_(owner) {}
  static void ThreadProc(std::shared_ptr<TEventWinThread> self);
  void RunExecute();
  // On the worker: hands OnFinish to the GUI thread; false when there is none to run.
  bool HandFinish();
  // On the GUI thread: OnFinish, then the end of a wait for this worker.
  void RunFinish();
  void ApplyPriority();

  TCustomWinThread* owner_;
  std::atomic<int> threadId_{0};  // kernel id of the worker, for the priority
  std::atomic<bool> terminated_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> returnValue_{0};
  std::atomic<int> priority_{kNormalThreadPriority};
  std::atomic<bool> priorityChanged_{false};  // the system thread's priority was set for us
  std::atomic<int> inSyncCall_{0};
  std::atomic<bool> waitedFor_{false};    // the GUI thread waits for the end in WaitFor
  bool handleExceptions_ = true;
  std::exception_ptr keptException_;
  std::exception_ptr fatalException_;
  std::function<void()> onThreadEnd_;
  TLifeGuard callsGuard_;  // revoked when abandoned

  mutable std::mutex suspendMutex_;
  std::condition_variable suspendChanged_;  // also: the thread has finished
  int suspendCount_ = 1;
  bool started_ = false;
};

class TCustomWinThread {
 public:
  using TWaitTimeoutEvent = std::function<void(TCustomWinThread& sender, bool& terminateThread)>;

  TCustomWinThread();
  // Abandons the workers and returns at once; they end on their own, their calls to the GUI
  // thread dropped.
  ~TCustomWinThread();
  TCustomWinThread(const TCustomWinThread&) = delete;
  TCustomWinThread& operator=(const TCustomWinThread&) = delete;

  TEventWinThread& Worker() const { return *worker_; }

  // Starts OnExecute on a fresh worker thread. Without WaitThread returns true at once; with it
  // waits, processing events, for the worker's end (true), for WaitTimeout milliseconds (0: no
  // limit; on expiry OnWaitTimeoutExpired may keep the worker, else it is abandoned and the result
  // is false) or for the application to quit (true). False too when this object was destroyed by
  // an event handler during the wait.
  bool Execute();
  // With Kill the worker is replaced by a fresh clone (a running one is abandoned); without, the
  // worker is told to stop.
  void ResetThread(bool kill);
  // From the current worker: TEventWinThread::Synchronize; nothing while being destroyed.
  void Synchronize(const std::function<void()>& method);

  void Suspend() { worker_->Suspend(); }
  bool Suspended() const { return worker_->Suspended(); }
  void SetSuspended(bool value);
  bool Running() const { return worker_->Running(); }
  bool Terminated() const { return worker_->Terminated(); }
  int GetPriority() const { return worker_->GetPriority(); }
  void SetPriority(int index) { worker_->SetPriority(index); }
  bool Destroying() const { return !guard_.Alive(); }

  void SetOnExecute(TEventWinThread::TExecuteHook hook) { worker_->OnExecute = std::move(hook); }
  void SetOnException(TEventWinThread::TExceptionHook hook) { worker_->OnException = std::move(hook); }
  void SetOnFinish(TEventWinThread::TFinishHook hook) { worker_->OnFinish = std::move(hook); }

  bool HandleExceptions = true;
  bool WaitThread = false;
  int WaitTimeout = 0;
  TWaitTimeoutEvent OnWaitTimeoutExpired;

 private:
  void Retire(std::shared_ptr<TEventWinThread> worker);

  std::shared_ptr<TEventWinThread> worker_;
  std::vector<std::shared_ptr<TEventWinThread>> retired_;  // replaced workers that may still run
  TLifeGuard guard_;  // revoked when destruction begins
};

}  // namespace zabko
