#include "core/exception_log.h"

#include "core/app_data_manager.h"
#include "platform/call_chain.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>

namespace zabko {

namespace {

// The file descriptor is read without the lock only by the fatal-signal handler, which must not
// wait for a lock that the interrupted code may hold.
std::mutex g_mutex;
std::atomic<int> g_fd{-1};
QString g_file_name;
std::atomic<std::uintptr_t> g_code_base{0};
std::atomic<std::uint8_t> g_trace_level{0};
std::once_flag g_hook_once;

// "Exception:", the site, up to 31 callers: at most 11 + 32 x 18 bytes.
constexpr std::size_t kRecordCapacity = 1024;

// Appends an address relative to the code start as at least 8 upper-case hex digits and CR LF.
// Plain character work, no allocation: it also runs inside the fatal-signal handler.
std::size_t PutAddress(char* out, std::uintptr_t address) {
  const std::uintptr_t value = address - g_code_base.load(std::memory_order_relaxed);
  char digits[2 * sizeof(value)];
  int n = 0;
  std::uintptr_t v = value;
  do {
    digits[n++] = "0123456789ABCDEF"[v & 0xF];
    v >>= 4;
  } while (v != 0);
  while (n < 8) digits[n++] = '0';
  std::size_t len = 0;
  while (n > 0) out[len++] = digits[--n];
  out[len++] = '\r';
  out[len++] = '\n';
  return len;
}

// The record of a chain whose first frame is the site itself and whose further frames are return
// addresses; those are moved back by one byte so that they point into the calling instruction.
std::size_t FormatRecord(char* out, void* const* frames, int count) {
  static constexpr char kHead[] = "Exception:\r\n";
  std::size_t len = sizeof(kHead) - 1;
  std::copy(kHead, kHead + len, out);
  if (count <= 0) return len;
  len += PutAddress(out + len, reinterpret_cast<std::uintptr_t>(frames[0]));
  for (int i = 1; i < std::min(count, CallChain::kMaxCallers + 1); ++i) {
    len += PutAddress(out + len, reinterpret_cast<std::uintptr_t>(frames[i]) - 1);
  }
  return len;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return ::fdatasync(fd) == 0;
}

bool WriteLocked(const char* data, std::size_t size) {
  const int fd = g_fd.load();
  return fd >= 0 && WriteAll(fd, data, size);
}

void CloseLocked() {
  const int fd = g_fd.exchange(-1);
  if (fd >= 0) {
    ::fdatasync(fd);
    ::close(fd);
  }
}

QByteArray OpeningLine() {
  const QLocale locale = QLocale::system();
  const QDateTime now = QDateTime::currentDateTime();
  // The long time form without the time zone that Qt's long form adds.
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove('t');
  const QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
                        locale.toString(now.time(), timeFormat.trimmed());
  return "Initializing logging.... [" + stamp.toLocal8Bit() + "]\r\n";
}

QByteArray BuildLine(const char* kind) {
  return "Running with build " + QByteArray::number(kLogBuildNumber) + " [" + kind + "]";
}

// Arguments that hold blanks are quoted, so the line reads as the command that was typed.
QByteArray CommandLineText(const QStringList& arguments) {
  QStringList parts;
  for (const QString& a : arguments) parts << (a.contains(' ') ? '"' + a + '"' : a);
  return parts.join(' ').toLocal8Bit();
}

// Fatal signals: write the record of the place that faulted, then take the default action, which
// ends the process.
constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

void* FaultAddress(void* context) {
#if defined(__x86_64__)
  return reinterpret_cast<void*>(static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return reinterpret_cast<void*>(static_cast<ucontext_t*>(context)->uc_mcontext.pc);
#else
  return nullptr;
#endif
}

void FatalSignalHandler(int sig, siginfo_t* info, void* context) {
  const int savedErrno = errno;
  const int fd = g_fd.load();
  if (fd >= 0) {
    void* raw[CallChain::kMaxCallers + 16];
    const int n = backtrace(raw, static_cast<int>(std::size(raw)));
    void* fault = FaultAddress(context);
    const int at = static_cast<int>(std::find(raw, raw + n, fault) - raw);
    void* frames[CallChain::kMaxCallers + 1];
    int count = 0;
    if (at < n) {
      for (int i = at; i < n && count <= CallChain::kMaxCallers; ++i) frames[count++] = raw[i];
    } else {
      // The faulting frame is not on the unwound stack: the site, then what lies above this handler.
      frames[count++] = fault != nullptr ? fault : (n > 1 ? raw[1] : nullptr);
      for (int i = 2; i < n && count <= CallChain::kMaxCallers; ++i) frames[count++] = raw[i];
    }
    char record[kRecordCapacity];
    WriteAll(fd, record, FormatRecord(record, frames, count));
  }
  signal(sig, SIG_DFL);
  errno = savedErrno;
  // A signal sent by a process (raise, abort, kill) is sent again; a fault raised by the
  // processor repeats itself when the faulting instruction runs again after this return.
  if (info == nullptr || info->si_code <= 0) raise(sig);
}

void InstallSignalHandlers() {
  // A stack of its own, so that a stack overflow can still be recorded.
  static char altStack[64 * 1024];
  stack_t ss{};
  ss.ss_sp = altStack;
  ss.ss_size = sizeof(altStack);
  sigaltstack(&ss, nullptr);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) {
    struct sigaction action{};
    action.sa_sigaction = FatalSignalHandler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(kFatalSignals[i], &action, nullptr);
  }
}

}  // namespace

void SetLogFileName(const QString& name) {
  std::lock_guard lock(g_mutex);
  g_file_name = name;
}

QString GetLogFileName() {
  std::lock_guard lock(g_mutex);
  return g_file_name;
}

bool InstallLogger() {
  ComputeCodeBase();
  if (OpenLog()) {
    InstallExceptionHook();
    return true;
  }
  CloseLog();
  return false;
}

bool OpenLog() {
  std::lock_guard lock(g_mutex);
  CloseLocked();
  if (g_file_name.isEmpty()) return false;
  const QByteArray path = QFile::encodeName(g_file_name);
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  g_fd.store(fd);
  const QByteArray line = OpeningLine();
  if (!WriteLocked(line.constData(), static_cast<std::size_t>(line.size()))) {
    CloseLocked();
    return false;
  }
  return true;
}

bool WriteLogRaw(const QByteArray& text) {
  std::lock_guard lock(g_mutex);
  return WriteLocked(text.constData(), static_cast<std::size_t>(text.size()));
}

void LogLine(const QByteArray& text) { WriteLogRaw(text + "\r\n"); }

void CloseLog() {
  std::lock_guard lock(g_mutex);
  CloseLocked();
}

bool IsLogOpen() { return g_fd.load() >= 0; }

void SetTraceLevel(std::uint8_t level) { g_trace_level.store(level); }

std::uint8_t GetTraceLevel() { return g_trace_level.load(); }

void TraceLog(const QByteArray& text, std::uint8_t level) {
  if (GetTraceLevel() >= level) LogLine(text);
}

void InstallDevLog(const QStringList& arguments) {
  TAppDataManager home{QString()};
  SetLogFileName(home.GetPath("KestraniLog.txt"));
  if (!InstallLogger()) throw Exception(kFailedToInstallLogger);
  LogLine(BuildLine("developement"));
  LogLine("CMD Line: " + CommandLineText(arguments));
}

void InstallProductionLog(const QString& fileName) {
  SetLogFileName(fileName);
  if (!InstallLogger()) throw Exception(kFailedToInstallLogger);
  LogLine(BuildLine("production"));
}

void ComputeCodeBase() { g_code_base.store(ComputeProgramCodeRange().start); }

std::uintptr_t CodeBase() { return g_code_base.load(); }

void InstallExceptionHook() {
  std::call_once(g_hook_once, [] {
    SetCallChainCapture(true);
    SetCatchAllHook(&LogExceptionTrace);
    InstallSignalHandlers();
  });
}

void LogExceptionTrace(const std::exception_ptr& error) {
  CallChain chain;
  try {
    if (error) std::rethrow_exception(error);
  } catch (const Exception& e) {
    chain = e.Chain();
  } catch (...) {
  }
  if (chain.count == 0) CaptureCallChain(chain, __builtin_return_address(0));
  char record[kRecordCapacity];
  const std::size_t len = FormatRecord(record, chain.frames.data(), chain.count);
  std::lock_guard lock(g_mutex);
  WriteLocked(record, len);
}

}  // namespace zabko
