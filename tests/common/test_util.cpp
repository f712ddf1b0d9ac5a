#include "tests/common/test_util.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <malloc.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zabko::test {

QByteArray FromHex(const char* hex) {
  QByteArray digits(hex);
  digits.replace(' ', QByteArray());
  return QByteArray::fromHex(digits);
}

QString FixturePath(const QString& name) {
#ifdef ZABKO_TEST_DATA
  return QStringLiteral(ZABKO_TEST_DATA) + "/" + name;
#else
  return name;
#endif
}

size_t HeapBytesInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

int FileMode(const QString& path) {
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
  return static_cast<int>(st.st_mode & 0777);
}

FileSizeCap::FileSizeCap(qint64 bytes) {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  savedCur_ = static_cast<qint64>(limit.rlim_cur);
  savedMax_ = static_cast<qint64>(limit.rlim_max);
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeCap::~FileSizeCap() {
  rlimit limit{static_cast<rlim_t>(savedCur_), static_cast<rlim_t>(savedMax_)};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, savedHandler_);
}

RewriteCounter::RewriteCounter(const QString& fileName)
    : name_("." + QFile::encodeName(QFileInfo(fileName).fileName()) + ".") {
  const QString folder = QFileInfo(fileName).absolutePath();
  QDir().mkpath(folder);
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  // Each rewrite renames a temporary file of its own name (".<name>.XXXXXX") away; counting
  // those is exact, where the kernel merges repeated events for the target's one name.
  if (fd_ >= 0) ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_MOVED_FROM);
}

RewriteCounter::~RewriteCounter() {
  if (fd_ >= 0) ::close(fd_);
}

int RewriteCounter::Count() {
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = fd_ < 0 ? -1 : ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->len > 0 && QByteArray(event->name).startsWith(name_)) ++count_;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return count_;
}

bool PumpEventsUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

void ResumeAfterQuit() {
  QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  QCoreApplication::exec();
}

HangGuard::HangGuard(int ms) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  timer_.start(ms);
}

}  // namespace zabko::test
