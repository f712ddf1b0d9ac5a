// Calls from worker threads to the GUI thread, and the waits that keep the GUI thread alive.
//
// All program logic runs on the GUI thread (the thread of the QCoreApplication object). A worker
// reports back in one of two ways:
//   - TGuiDispatcher::Post: the call is queued and runs later from the GUI thread's event loop;
//   - TGuiDispatcher::Send: the worker blocks until the GUI thread has run the call, so the call
//     may read data the worker owns (a body stream being filled) without a lock;
//   - TGuiDispatcher::Hand: the call is queued behind the sent calls and the worker goes on.
// Each call may carry the token of a TLifeGuard: when the guard has been revoked or destroyed by
// the time the GUI thread would run the call, the call is dropped. Revoking and checking both
// happen on the GUI thread, so a report never reaches an owner that is gone.
//
// TPumpingWait is the message-pumping wait: a nested event loop with an optional time limit, so
// timers, painting and input go on while the GUI thread waits for a worker.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

namespace zabko {

// Held by an owner for as long as calls for it may run. Not copyable; hand out Token()s.
class TLifeGuard {
 public:
  class Token {
   public:
    Token() = default;  // an empty token never expires
    bool Alive() const { return !alive_ || alive_->load(std::memory_order_acquire); }

   private:
    friend class TLifeGuard;
    explicit Token(std::shared_ptr<const std::atomic<bool>> alive) : alive_(std::move(alive)) {}
    std::shared_ptr<const std::atomic<bool>> alive_;
  };

  TLifeGuard() : alive_(std::make_shared<std::atomic<bool>>(true)) {}
  ~TLifeGuard() { Revoke(); }
  TLifeGuard(const TLifeGuard&) = delete;
  TLifeGuard& operator=(const TLifeGuard&) = delete;

  // From now on calls carrying this guard's tokens are dropped.
  void Revoke() { alive_->store(false, std::memory_order_release); }
  bool Alive() const { return alive_->load(std::memory_order_acquire); }
  Token GetToken() const { return Token(alive_); }

 private:
  std::shared_ptr<std::atomic<bool>> alive_;
};

// The process-wide dispatcher to the GUI thread. Every member is static.
class TGuiDispatcher {
 public:
  using TCall = std::function<void()>;
  using TExceptionHandler = std::function<void(std::exception_ptr)>;

  // True on the thread of the QCoreApplication object (false when there is none).
  static bool IsGuiThread();

  // From any thread: runs Call later on the GUI thread, unless Guard has expired by then. An
  // exception from Call goes to the exception handler. Without an application the call is dropped.
  static void Post(TCall call, TLifeGuard::Token guard = {});

  // From any thread: runs Call on the GUI thread and returns once it has run (on the GUI thread
  // itself it runs at once). Returns the exception Call raised, or null. A call whose guard has
  // expired, or that is still waiting when the application goes away, is dropped: Send returns
  // null without running it (Dropped, when given, tells which).
  static std::exception_ptr Send(const TCall& call, TLifeGuard::Token guard = {}, bool* dropped = nullptr);

  // From a worker: queues Call behind the calls sent before it and returns at once. It runs where
  // sent calls run (so a GUI thread waiting in WaitRunningSentCalls or ServeSentCallsFor runs it
  // without going through its event loop), unless Guard has expired by then or the application
  // goes first. Call handles its own exceptions. For a worker's last call, which has nothing to
  // wait for: it saves the wake-up that would tell the worker the call has run.
  static void Hand(TCall call, TLifeGuard::Token guard = {});

  // GUI thread: runs the blocking calls that workers are waiting on right now.
  static void ProcessSentCalls();

  // GUI thread: blocks until Done returns true, running blocking calls from workers meanwhile (and
  // nothing else: no timers, no input). Done is checked after each Wake() and each call run, so
  // whoever makes it true must call Wake() afterwards. Used to wait for a worker's end without
  // deadlocking on a worker that is itself blocked in Send.
  static void WaitRunningSentCalls(const std::function<bool()>& done);

  // GUI thread: like WaitRunningSentCalls, but for at most Us microseconds; returns Done(). It
  // sleeps on the condition between calls, so it costs no CPU while the worker works.
  static bool ServeSentCallsFor(const std::function<bool()>& done, int us);

  // From any thread: makes WaitRunningSentCalls check its condition again.
  static void Wake();

  // The handler of exceptions from posted calls (the application's exception handler); the
  // default writes a warning. HandleException passes one exception to it.
  static void SetExceptionHandler(TExceptionHandler handler);
  static void HandleException(std::exception_ptr error);
};

// A wait on the GUI thread that goes on processing every event (a nested event loop).
class TPumpingWait {
 public:
  enum class Result { Signalled, TimedOut, Quit };

  TPumpingWait();
  ~TPumpingWait();
  TPumpingWait(const TPumpingWait&) = delete;
  TPumpingWait& operator=(const TPumpingWait&) = delete;

  // Ends the current wait, or makes the next one return at once. Any thread.
  void Signal();
  // A function that signals this wait from any thread; harmless after the wait is destroyed.
  std::function<void()> Signaller() const;
  bool IsSignalled() const;
  void Reset();

  // GUI thread: processes events until signalled, TimeoutMs milliseconds have passed (0: no limit)
  // or the application is quitting.
  Result Wait(int timeoutMs);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace zabko
