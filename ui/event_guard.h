// No exception crosses a Qt event handler: every handler runs its work through GuardedCall (or
// connects a Guarded functor), and what it catches goes to the application's exception handler,
// which the main window sets (it shows the message; the default writes a warning).
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace zabko {

using TExceptionHandler = std::function<void(const QString& message)>;

// Sets the application's exception handler; an empty function restores the default.
void SetApplicationExceptionHandler(TExceptionHandler handler);

// The message of an exception: zabko::Exception's message, std::exception's what(), or
// "Unknown exception".
QString ExceptionMessage(const std::exception_ptr& error);

// Hands the exception being handled to the application's exception handler. Call it only
// inside a catch block. A handler that throws itself is contained here.
void HandleCurrentException() noexcept;

// Runs Work and hands any exception to the application's exception handler.
template <class Work>
void GuardedCall(Work&& work) noexcept {
  try {
    std::forward<Work>(work)();
  } catch (...) {
    HandleCurrentException();
  }
}

// A functor for connect() that runs Function guarded, with the signal's arguments.
template <class Function>
auto Guarded(Function function) {
  return [function = std::move(function)](auto&&... args) mutable {
    GuardedCall([&] { function(std::forward<decltype(args)>(args)...); });
  };
}

}  // namespace zabko
