// The one place where exceptions end that no caller handles: every Qt event handler, posted call
// and the message loop hand what they catch to HandleException instead of letting it cross the
// event loop. A crash log hooks in before the application's own handler sees the exception.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace zabko {

// Runs before the application's handler for each exception that reaches HandleException; the
// crash log installs one to write the exception's record.
using CatchAllHook = void (*)(const std::exception_ptr& error);
void SetCatchAllHook(CatchAllHook hook);
CatchAllHook GetCatchAllHook();

// The application's exception handler (the main window shows the message). Without one the
// message goes to the Qt warning output.
using ApplicationExceptionHandler = std::function<void(const std::exception_ptr& error)>;
void SetApplicationExceptionHandler(ApplicationExceptionHandler handler);

// For a handler that catches every exception and goes on by itself (a request that fails answers
// false): the hook alone, so that the crash log records the exception as it records those that
// reach HandleException. Never throws.
void RecordCaughtException(const std::exception_ptr& error) noexcept;

// Hook first, then the application's handler. Never throws: a failing handler is reported to
// the warning output and dropped.
void HandleException(const std::exception_ptr& error);

// The text of an exception for messages: the zabko::Exception message, what() of a standard
// exception, or "Unknown exception".
QString ExceptionMessage(const std::exception_ptr& error);

// Runs body; anything it throws goes to HandleException. Answers false when it threw.
template <class Body>
bool Guarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (...) {
    HandleException(std::current_exception());
    return false;
  }
}

}  // namespace zabko
