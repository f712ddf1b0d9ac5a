#include "platform/atomic_file.h"

#include "platform/exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zabko {
namespace {

[[noreturn]] void Fail(const QString& fileName, int error) {
  throw Exception(QStringLiteral("Cannot write file %1: %2")
                      .arg(fileName, QString::fromLocal8Bit(std::strerror(error))));
}

}  // namespace

void WriteFileAtomically(const QString& fileName, const QByteArray& contents, mode_t mode) {
  const QFileInfo info(fileName);
  QDir().mkpath(info.absolutePath());
  QByteArray temp = QFile::encodeName(info.absolutePath() + "/." + info.fileName() + ".XXXXXX");
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) Fail(fileName, errno);
  bool ok = ::fchmod(fd, mode) == 0;
  const char* p = contents.constData();
  qsizetype left = contents.size();
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= n;
  }
  ok = ok && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.constData(), QFile::encodeName(fileName).constData()) == 0) return;
  if (ok) error = errno;
  ::unlink(temp.constData());
  Fail(fileName, error);
}

void ReplaceFile(const QString& source, const QString& target) {
  if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
    Fail(target, errno);
}

}  // namespace zabko
