#include "net/custom_win_thread.h"

#include "platform/signal_stack.h"

#include <QtGlobal>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <thread>

namespace zabko {
namespace {

// Idle system threads that run worker bodies. A thread whose priority was changed for a body is
// not reused (lowering is one-way for an unprivileged process); one unused for kIdleLimit ends.
class WorkerPool {
 public:
  static WorkerPool& Instance() {
    static WorkerPool* pool = new WorkerPool;  // threads may outlive static destruction
    return *pool;
  }

  void Run(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    if (idle_ > static_cast<int>(jobs_.size())) {
      jobs_.push_back(std::move(job));
      lock.unlock();  // the woken thread then finds the mutex free
      wake_.notify_one();
      return;
    }
    lock.unlock();
    std::thread([this, job = std::move(job)]() mutable { Loop(std::move(job)); }).detach();
  }

  // Marks the current pool thread as not to be reused.
  static void Taint() { tainted_ = true; }

 private:
  static constexpr auto kIdleLimit = std::chrono::seconds(30);

  void Loop(std::function<void()> job) {
    InstallThreadSignalStack();  // a worker's crash reaches the crash log too
    for (;;) {
      job();
      job = nullptr;
      if (tainted_) return;
      // Sleeps on the condition until the next job: a wake-up costs a few microseconds, where
      // looking for work in a loop would cost a core (and on a busy machine, yielding gives the
      // core away for a whole slice anyway).
      std::unique_lock lock(mutex_);
      ++idle_;
      const bool got = wake_.wait_for(lock, kIdleLimit, [&] { return !jobs_.empty(); });
      --idle_;
      if (!got) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  int idle_ = 0;
  static thread_local bool tainted_;
};

thread_local bool WorkerPool::tainted_ = false;

// How long the GUI thread serves a waited request's calls before it runs the event loop.
constexpr int kServeSentCallsUs = 1000;

// Nice values standing in for the seven priority levels; raising above normal needs privileges
// and is then silently left at normal.
constexpr int kNiceOfLevel[7] = {19, 10, 5, 0, -5, -10, -20};

// Marks the GUI thread as being inside a call of one worker.
class SyncCallScope {
 public:
  explicit SyncCallScope(std::atomic<int>& counter) : counter_(counter) { ++counter_; }
  ~SyncCallScope() { --counter_; }

 private:
  std::atomic<int>& counter_;
};

}  // namespace

std::shared_ptr<TEventWinThread> TEventWinThread::Create(TCustomWinThread* owner) {
  return std::shared_ptr<TEventWinThread>(new TEventWinThread(owner));
}

TEventWinThread::~TEventWinThread() { terminated_ = true; }

void TEventWinThread::Terminate() {
  terminated_ = true;
  std::lock_guard lock(suspendMutex_);
  suspendChanged_.notify_all();
}

bool TEventWinThread::CheckTerminated() {
  std::unique_lock lock(suspendMutex_);
  suspendChanged_.wait(lock, [&] { return suspendCount_ == 0 || terminated_.load(); });
  return terminated_.load();
}

bool TEventWinThread::Suspended() const {
  std::lock_guard lock(suspendMutex_);
  return suspendCount_ > 0;
}

bool TEventWinThread::Started() const {
  std::lock_guard lock(suspendMutex_);
  return started_;
}

void TEventWinThread::Suspend() {
  std::lock_guard lock(suspendMutex_);
  ++suspendCount_;
}

void TEventWinThread::Resume() {
  std::unique_lock lock(suspendMutex_);
  if (suspendCount_ == 0) return;
  if (--suspendCount_ > 0) return;
  suspendChanged_.notify_all();
  if (started_) return;
  started_ = true;
  lock.unlock();
  WorkerPool::Instance().Run([self = shared_from_this()]() mutable { ThreadProc(std::move(self)); });
}

void TEventWinThread::ThreadProc(std::shared_ptr<TEventWinThread> self) {
  self->threadId_ = static_cast<int>(::gettid());
  bool handed = false;  // the finish hook was handed to the GUI thread, which reports the end
  if (!self->terminated_) {
    self->running_ = true;
    self->ApplyPriority();
    self->RunExecute();
    handed = self->HandFinish();
    if (!handed) self->running_ = false;
  }
  if (self->priorityChanged_) WorkerPool::Taint();
  self->threadId_ = 0;
  {
    std::lock_guard lock(self->suspendMutex_);
    self->finished_ = true;
    self->suspendChanged_.notify_all();
  }
  // A handed finish hook ends a wait for this worker when it has run; waking the GUI thread from
  // here as well would only disturb the wait of the next request.
  if (self->onThreadEnd_ && !handed) self->onThreadEnd_();
  if (!handed || self->waitedFor_.load()) TGuiDispatcher::Wake();
  // Dropping the last reference here may run the destructor on this thread; that is fine.
}

void TEventWinThread::RunExecute() {
  if (!OnExecute || !callsGuard_.Alive()) return;
  try {
    OnExecute(*this);
  } catch (...) {
    std::exception_ptr error = std::current_exception();
    if (!handleExceptions_) {
      fatalException_ = error;
      return;
    }
    try {
      Synchronize([this, error] {
        if (OnException)
          OnException(*this, error);
        else
          TGuiDispatcher::HandleException(error);
      });
    } catch (...) {
    }
  }
}

bool TEventWinThread::HandFinish() {
  if (!OnFinish || !callsGuard_.Alive()) return false;
  // The worker has nothing left to do once the hook has run, so it does not wait for it: the hook
  // runs on the GUI thread after the calls the worker sent before, and holds the worker object.
  TGuiDispatcher::Hand([self = shared_from_this()] { self->RunFinish(); }, callsGuard_.GetToken());
  return true;
}

void TEventWinThread::RunFinish() {
  // Whatever happens in the hook, a wait for this worker is over once it has run.
  struct EndWait {
    TEventWinThread* self;
    ~EndWait() {
      self->running_ = false;
      if (self->onThreadEnd_) self->onThreadEnd_();
    }
  } endWait{this};
  SyncCallScope scope(inSyncCall_);
  try {
    OnFinish(*this);
  } catch (...) {
    std::exception_ptr error = std::current_exception();
    if (!handleExceptions_) {
      fatalException_ = error;
      return;
    }
    // The finish hook may have destroyed the owner: only report what is left to report.
    if (OnException && callsGuard_.Alive())
      OnException(*this, error);
    else
      TGuiDispatcher::HandleException(error);
  }
}

void TEventWinThread::Synchronize(const std::function<void()>& method) {
  keptException_ = nullptr;
  std::exception_ptr error = TGuiDispatcher::Send(
      [this, &method] {
        SyncCallScope scope(inSyncCall_);
        method();
      },
      callsGuard_.GetToken());
  keptException_ = error;
  if (error && !handleExceptions_) std::rethrow_exception(error);
}

int TEventWinThread::WaitFor() {
  if (!Started() || threadId_.load() == static_cast<int>(::gettid())) return ReturnValue();
  if (TGuiDispatcher::IsGuiThread()) {
    waitedFor_ = true;  // before looking at finished_: the thread's end then wakes this wait
    TGuiDispatcher::WaitRunningSentCalls([this] { return finished_.load(); });
  } else {
    std::unique_lock lock(suspendMutex_);
    suspendChanged_.wait(lock, [this] { return finished_.load(); });
  }
  return ReturnValue();
}

void TEventWinThread::SetPriority(int index) {
  if (index < 0 || index > 6) return;
  priority_ = index;
  if (running_) ApplyPriority();
}

void TEventWinThread::ApplyPriority() {
  const int tid = threadId_.load();
  if (tid == 0) return;
  const int priority = priority_.load();
  if (priority == kNormalThreadPriority && !priorityChanged_) return;
  priorityChanged_ = true;
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), kNiceOfLevel[priority]);
}

std::shared_ptr<TEventWinThread> TEventWinThread::Clone() const {
  std::shared_ptr<TEventWinThread> clone = Create(owner_);
  clone->priority_ = priority_.load();
  clone->OnExecute = OnExecute;
  clone->OnException = OnException;
  clone->OnFinish = OnFinish;
  return clone;
}

void TEventWinThread::Abandon() {
  callsGuard_.Revoke();
  Terminate();
  // A wait for this worker is over: it no longer counts as the running request.
  if (Started() && onThreadEnd_) onThreadEnd_();
}

// ---------------------------------------------------------------------------------------------

TCustomWinThread::TCustomWinThread() : worker_(TEventWinThread::Create(this)) {}

TCustomWinThread::~TCustomWinThread() {
  // No waiting here: a worker may be stuck for seconds where it cannot look at its stop flag (a
  // name lookup inside libcurl), and the GUI thread must not freeze meanwhile. An abandoned worker
  // owns what it uses, reaches nothing of ours any more, and ends on its own.
  guard_.Revoke();
  retired_.push_back(std::move(worker_));
  for (auto& w : retired_) w->Abandon();
}

void TCustomWinThread::Retire(std::shared_ptr<TEventWinThread> worker) {
  std::erase_if(retired_, [](const std::shared_ptr<TEventWinThread>& w) { return w->Finished(); });
  if (!worker->Started() || worker->Finished()) return;  // released here; a finished thread joins at once
  worker->Abandon();
  retired_.push_back(std::move(worker));
}

void TCustomWinThread::ResetThread(bool kill) {
  if (!kill) {
    worker_->Terminate();
    return;
  }
  std::shared_ptr<TEventWinThread> old = std::move(worker_);
  worker_ = old->Clone();
  Retire(std::move(old));
}

void TCustomWinThread::SetSuspended(bool value) {
  if (value == worker_->Suspended()) return;
  if (value)
    worker_->Suspend();
  else
    worker_->Resume();
}

void TCustomWinThread::Synchronize(const std::function<void()>& method) {
  if (Destroying()) return;
  worker_->Synchronize(method);
}

bool TCustomWinThread::Execute() {
  Q_ASSERT(TGuiDispatcher::IsGuiThread());
  // Taken before any call of the worker runs: a handler it calls may destroy this object.
  const TLifeGuard::Token alive = guard_.GetToken();
  ResetThread(true);
  TEventWinThread& worker = *worker_;
  worker.SetHandleExceptions(HandleExceptions);
  TPumpingWait wait;
  if (WaitThread) worker.SetOnThreadEnd(wait.Signaller());
  worker.Resume();
  if (!WaitThread) return true;
  // A loopback or cached reply takes a fraction of a millisecond: for a moment, wait on the
  // dispatcher's condition and serve the worker's calls as they come, before the event loop,
  // whose wake-up through the application's queue costs more.
  TGuiDispatcher::ServeSentCallsFor([&wait] { return wait.IsSignalled(); }, kServeSentCallsUs);
  if (!alive.Alive()) return false;

  const TPumpingWait::Result result = wait.Wait(WaitTimeout);
  if (!alive.Alive()) return false;  // an event handler destroyed us meanwhile
  if (result != TPumpingWait::Result::TimedOut) return true;
  bool terminateThread = true;
  if (OnWaitTimeoutExpired) OnWaitTimeoutExpired(*this, terminateThread);
  if (!alive.Alive()) return false;
  if (terminateThread) ResetThread(true);
  return !terminateThread;
}

}  // namespace zabko
