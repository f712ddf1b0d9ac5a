#include "ui/event_guard.h"

#include "platform/exception.h"

#include <QtGlobal>

namespace zabko {

namespace {

TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

void SetApplicationExceptionHandler(TExceptionHandler handler) { Handler() = std::move(handler); }

QString ExceptionMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("Unknown exception");
  }
}

void HandleCurrentException() noexcept {
  const QString message = ExceptionMessage(std::current_exception());
  try {
    if (Handler()) {
      Handler()(message);
      return;
    }
  } catch (...) {
    // The handler failed too: fall through to the warning, so nothing escapes the event loop.
  }
  qWarning("Exception: %s", qUtf8Printable(message));
}

}  // namespace zabko
