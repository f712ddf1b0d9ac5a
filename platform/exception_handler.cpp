#include "platform/exception_handler.h"

#include "platform/exception.h"

#include <QtGlobal>

#include <atomic>
#include <mutex>

namespace zabko {

namespace {

std::atomic<CatchAllHook> g_hook{nullptr};
std::mutex g_handler_mutex;
ApplicationExceptionHandler g_handler;

}  // namespace

void SetCatchAllHook(CatchAllHook hook) { g_hook.store(hook); }

CatchAllHook GetCatchAllHook() { return g_hook.load(); }

void SetApplicationExceptionHandler(ApplicationExceptionHandler handler) {
  std::lock_guard lock(g_handler_mutex);
  g_handler = std::move(handler);
}

QString ExceptionMessage(const std::exception_ptr& error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
  } catch (...) {
  }
  return QStringLiteral("Unknown exception");
}

void RecordCaughtException(const std::exception_ptr& error) noexcept {
  try {
    if (CatchAllHook hook = g_hook.load()) hook(error);
  } catch (...) {
  }
}

void HandleException(const std::exception_ptr& error) {
  try {
    if (CatchAllHook hook = g_hook.load()) hook(error);
    ApplicationExceptionHandler handler;
    {
      std::lock_guard lock(g_handler_mutex);
      handler = g_handler;
    }
    if (handler) {
      handler(error);
    } else {
      qWarning("Unhandled exception: %s", qUtf8Printable(ExceptionMessage(error)));
    }
  } catch (...) {
    qWarning("The exception handler failed on: %s", qUtf8Printable(ExceptionMessage(error)));
  }
}

}  // namespace zabko
