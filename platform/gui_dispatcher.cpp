#include "platform/gui_dispatcher.h"

#include "platform/exception.h"
#include "platform/exception_handler.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace zabko {
namespace {

// One call waiting for the GUI thread: a sent one, whose worker blocks until done (the item lives
// on its stack), or a handed one, which owns its call and is deleted once it has run.
struct SentCall {
  const TGuiDispatcher::TCall* call = nullptr;
  TLifeGuard::Token guard;
  std::exception_ptr error;
  bool done = false;
  bool dropped = false;
  std::unique_ptr<TGuiDispatcher::TCall> handed;  // set for a handed call
};

struct DispatcherState {
  std::mutex mutex;
  std::condition_variable callDone;  // a sent call has run or was dropped
  std::condition_variable guiWake;   // WaitRunningSentCalls should look again
  std::deque<SentCall*> sent;
  bool drainPosted = false;  // a drain of the sent calls is queued on the GUI thread
  int guiServing = 0;        // the GUI thread waits on guiWake and serves sent calls itself
  bool shutDown = false;     // the application object is going: drop everything
  const QCoreApplication* registeredApp = nullptr;  // the one whose destruction calls ShutDown
};

DispatcherState& State() {
  static DispatcherState* state = new DispatcherState;  // outlives every static destructor
  return *state;
}

// Called from the application object's destructor: workers still blocked in Send return.
void ShutDown() {
  DispatcherState& s = State();
  // Handed calls are dropped once the mutex is free: what they hold may take a while to go.
  std::vector<std::unique_ptr<SentCall>> handed;
  std::lock_guard lock(s.mutex);
  s.shutDown = true;
  for (SentCall* c : s.sent) {
    if (c->handed) {
      handed.emplace_back(c);
      continue;
    }
    c->done = true;
    c->dropped = true;
  }
  s.sent.clear();
  s.callDone.notify_all();
  s.guiWake.notify_all();
}

// Registers ShutDown with the application object once. Caller holds the mutex.
void EnsureShutDownRoutine(DispatcherState& s, const QCoreApplication* app) {
  if (s.registeredApp == app) return;
  s.registeredApp = app;
  s.shutDown = false;
  qAddPostRoutine(ShutDown);
}

// The GUI thread waits on guiWake for sent calls. Caller holds the mutex. While it sleeps here,
// a sent call wakes it through the condition alone and queues no drain on the event loop;
// around this wait (running calls, which may run event loops of their own) drains are queued.
template <class Wait>
auto WaitForSentCall(DispatcherState& s, Wait wait) {
  ++s.guiServing;
  struct Leave {
    DispatcherState& s;
    ~Leave() { --s.guiServing; }
  } leave{s};
  return wait();
}

// Queues Item for the GUI thread and makes sure it will look: a GUI thread sleeping in
// WaitForSentCall is woken through the condition alone, else a drain goes on its event loop.
// Caller holds Lock; true when it was unlocked here.
bool Queue(DispatcherState& s, std::unique_lock<std::mutex>& lock, QCoreApplication* app, SentCall* item) {
  s.sent.push_back(item);
  if (s.guiServing > 0) {
    // Notified after unlocking, so that the GUI thread does not wake only to find the mutex held.
    lock.unlock();
    s.guiWake.notify_all();
    return true;
  }
  if (!s.drainPosted) {
    s.drainPosted = true;
    QMetaObject::invokeMethod(app, &TGuiDispatcher::ProcessSentCalls, Qt::QueuedConnection);
  }
  return false;
}

void RunGuarded(const TGuiDispatcher::TCall& call) {
  try {
    call();
  } catch (...) {
    TGuiDispatcher::HandleException(std::current_exception());
  }
}

}  // namespace

bool TGuiDispatcher::IsGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

void TGuiDispatcher::Post(TCall call, TLifeGuard::Token guard) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  {
    DispatcherState& s = State();
    std::lock_guard lock(s.mutex);
    EnsureShutDownRoutine(s, app);
  }
  QMetaObject::invokeMethod(
      app,
      [call = std::move(call), guard = std::move(guard)] {
        if (guard.Alive()) RunGuarded(call);
      },
      Qt::QueuedConnection);
}

std::exception_ptr TGuiDispatcher::Send(const TCall& call, TLifeGuard::Token guard, bool* dropped) {
  if (dropped) *dropped = false;
  if (IsGuiThread()) {
    if (!guard.Alive()) {
      if (dropped) *dropped = true;
      return nullptr;
    }
    try {
      call();
    } catch (...) {
      return std::current_exception();
    }
    return nullptr;
  }
  QCoreApplication* app = QCoreApplication::instance();
  DispatcherState& s = State();
  SentCall item;
  item.call = &call;
  item.guard = std::move(guard);
  std::unique_lock lock(s.mutex);
  if (app) EnsureShutDownRoutine(s, app);
  if (!app || s.shutDown) {
    if (dropped) *dropped = true;
    return nullptr;
  }
  if (Queue(s, lock, app, &item)) lock.lock();
  s.callDone.wait(lock, [&] { return item.done; });
  if (dropped) *dropped = item.dropped;
  return item.error;
}

void TGuiDispatcher::Hand(TCall call, TLifeGuard::Token guard) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  auto item = std::make_unique<SentCall>();
  item->handed = std::make_unique<TCall>(std::move(call));
  item->guard = std::move(guard);
  DispatcherState& s = State();
  std::unique_lock lock(s.mutex);
  EnsureShutDownRoutine(s, app);
  if (s.shutDown) return;
  Queue(s, lock, app, item.release());
}

void TGuiDispatcher::ProcessSentCalls() {
  DispatcherState& s = State();
  std::unique_lock lock(s.mutex);
  s.drainPosted = false;
  while (!s.sent.empty()) {
    SentCall* item = s.sent.front();
    s.sent.pop_front();
    lock.unlock();
    if (item->handed) {
      {
        const std::unique_ptr<SentCall> owned(item);  // goes before the mutex is taken again
        if (owned->guard.Alive()) RunGuarded(*owned->handed);
      }
      lock.lock();
      continue;
    }
    // The worker is blocked until done is set, so the item and its call stay valid here.
    if (item->guard.Alive()) {
      try {
        (*item->call)();
      } catch (...) {
        item->error = std::current_exception();
      }
    } else {
      item->dropped = true;
    }
    lock.lock();
    item->done = true;
    // The worker may return (and its item go) as soon as the mutex is free; the condition
    // outlives it.
    lock.unlock();
    s.callDone.notify_all();
    lock.lock();
  }
}

void TGuiDispatcher::WaitRunningSentCalls(const std::function<bool()>& done) {
  DispatcherState& s = State();
  std::unique_lock lock(s.mutex);
  for (;;) {
    if (!s.sent.empty()) {
      lock.unlock();
      ProcessSentCalls();
      lock.lock();
      continue;
    }
    if (done()) return;
    WaitForSentCall(s, [&] { s.guiWake.wait(lock); });
  }
}

bool TGuiDispatcher::ServeSentCallsFor(const std::function<bool()>& done, int us) {
  DispatcherState& s = State();
  const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(us);
  std::unique_lock lock(s.mutex);
  for (;;) {
    if (!s.sent.empty()) {
      lock.unlock();
      ProcessSentCalls();
      lock.lock();
      continue;
    }
    if (done()) return true;
    if (WaitForSentCall(s, [&] { return s.guiWake.wait_until(lock, end); }) == std::cv_status::timeout) {
      if (!s.sent.empty()) continue;
      return done();
    }
  }
}

void TGuiDispatcher::Wake() {
  DispatcherState& s = State();
  std::lock_guard lock(s.mutex);
  s.guiWake.notify_all();
}

// Exceptions of posted calls end where every other uncaught exception ends, so that the crash log
// records them too.
void TGuiDispatcher::SetExceptionHandler(TExceptionHandler handler) {
  if (handler) {
    SetApplicationExceptionHandler(std::move(handler));
  } else {
    SetApplicationExceptionHandler(nullptr);
  }
}

void TGuiDispatcher::HandleException(std::exception_ptr error) {
  if (error) zabko::HandleException(error);
}

// ---------------------------------------------------------------------------------------------

struct TPumpingWait::State {
  std::mutex mutex;
  QEventLoop* loop = nullptr;  // the running nested loop, guarded by mutex
  bool signalled = false;

  void Signal() {
    std::lock_guard lock(mutex);
    signalled = true;
    // Posting under the mutex: Wait cannot destroy the loop meanwhile, and events posted to a
    // loop that is then destroyed are discarded with it.
    if (loop) QMetaObject::invokeMethod(loop, &QEventLoop::quit, Qt::QueuedConnection);
  }
};

TPumpingWait::TPumpingWait() : state_(std::make_shared<State>()) {}

TPumpingWait::~TPumpingWait() = default;

void TPumpingWait::Signal() { state_->Signal(); }

std::function<void()> TPumpingWait::Signaller() const {
  return [state = state_] { state->Signal(); };
}

bool TPumpingWait::IsSignalled() const {
  std::lock_guard lock(state_->mutex);
  return state_->signalled;
}

void TPumpingWait::Reset() {
  std::lock_guard lock(state_->mutex);
  state_->signalled = false;
}

TPumpingWait::Result TPumpingWait::Wait(int timeoutMs) {
  Q_ASSERT(TGuiDispatcher::IsGuiThread());
  if (IsSignalled()) return Result::Signalled;
  if (!QCoreApplication::instance() || QCoreApplication::closingDown()) return Result::Quit;

  QEventLoop loop;
  bool timedOut = false;
  QTimer timer;
  if (timeoutMs > 0) {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
      timedOut = true;
      loop.quit();
    });
    timer.start(timeoutMs);
  }
  {
    std::lock_guard lock(state_->mutex);
    if (state_->signalled) return Result::Signalled;
    state_->loop = &loop;
  }
  loop.exec(QEventLoop::AllEvents);
  bool signalled;
  {
    std::lock_guard lock(state_->mutex);
    state_->loop = nullptr;
    signalled = state_->signalled;
  }
  if (signalled) return Result::Signalled;
  return timedOut ? Result::TimedOut : Result::Quit;
}

}  // namespace zabko
