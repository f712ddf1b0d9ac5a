// One method run later from the event loop, after the current event has been handled; the main
// window uses it to act once its first showing is over.
#pragma once

#include <QObject>

#include <functional>

namespace zabko {

class TDelayedCall : public QObject {
 public:
  using Method = std::function<void()>;

  explicit TDelayedCall(QObject* parent = nullptr);

  // Stores the method and posts its call to this object's event loop. While a method is pending
  // (posted and not yet returned, so also from inside the running method) fails with "Already
  // has a delayed call request". A call still posted when this object is destroyed is dropped.
  void Post(Method method);

  bool IsPending() const { return static_cast<bool>(pending_); }

 private:
  // Runs the pending method and clears it afterwards, also when it throws; what it throws goes
  // to the application's exception handler, never into the event loop.
  void Run();

  Method pending_;
};

inline constexpr const char* kAlreadyHasDelayedCall = "Already has a delayed call request";

}  // namespace zabko
