// Small helpers shared by the tests of every library.
#pragma once

#include "platform/exception.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <ostream>

// Readable values in test failures.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << "\"" << bytes.toStdString() << "\" (hex " << bytes.toHex().toStdString() << ")";
}
inline void PrintTo(const QString& text, std::ostream* os) { *os << "\"" << text.toStdString() << "\""; }

namespace zabko::test {

// Bytes from a hex text such as "AA 99 11 EE" (blanks ignored).
QByteArray FromHex(const char* hex);

// The folder of the checked-in test fixtures.
QString FixturePath(const QString& name);

// The message of the zabko::Exception that F throws, or "(no exception)".
inline QString MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return QStringLiteral("(no exception)");
}

// The permission bits of a file (0777 part of its mode), -1 when it is missing.
int FileMode(const QString& path);

// Caps the size of any file this process writes (RLIMIT_FSIZE) while it lives, so that a write
// growing a file past Bytes fails as on a full disk (EFBIG instead of SIGXFSZ).
class FileSizeCap {
 public:
  explicit FileSizeCap(qint64 bytes);
  ~FileSizeCap();
  FileSizeCap(const FileSizeCap&) = delete;
  FileSizeCap& operator=(const FileSizeCap&) = delete;

 private:
  qint64 savedCur_ = 0;
  qint64 savedMax_ = 0;
  void (*savedHandler_)(int) = nullptr;
};

// Counts the complete rewrites of one file (a temporary file renamed over it) from its
// construction on.
class RewriteCounter {
 public:
  explicit RewriteCounter(const QString& fileName);
  ~RewriteCounter();
  RewriteCounter(const RewriteCounter&) = delete;
  RewriteCounter& operator=(const RewriteCounter&) = delete;
  int Count();

 private:
  int fd_ = -1;
  QByteArray name_;
  int count_ = 0;
};

// Bytes the heap hands out now, from the allocator's own figures (0 under the sanitizers,
// whose allocator keeps none).
size_t HeapBytesInUse();

// Processes events until Done holds or Ms milliseconds have passed; returns Done().
bool PumpEventsUntil(const std::function<bool()>& done, int ms = 10000);

// After QCoreApplication::exit: every event loop started later would return at once until the
// application's own loop has run, so this runs it for a moment.
void ResumeAfterQuit();

// Ends the running event loop with status 99 once Ms milliseconds have passed, so that a program
// run that hangs fails its test. It ends with its scope: a guard left pending would end a later
// run in the same process (a repeated or shuffled test run).
class HangGuard {
 public:
  explicit HangGuard(int ms);
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;

 private:
  QTimer timer_;
};

}  // namespace zabko::test
