#include "platform/atomic_file.h"

#include "platform/exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zabko {
namespace {

[[noreturn]] void Fail(const QString& fileName, int error) {
  throw Exception(QStringLiteral("Cannot write file %1: %2")
                      .arg(fileName, QString::fromLocal8Bit(std::strerror(error))));
}

// The temporary copy of a write is ".<name>.XXXXXX" beside the file, locked (flock) by its
// writer until the rename. One that can be locked belongs to a writer that died before its
// rename: a full copy of the file that nothing will ever use.
QByteArray TemporaryPrefix(const QFileInfo& info) { return QFile::encodeName("." + info.fileName() + "."); }

void RemoveStaleTemporaries(const QFileInfo& info) {
  const QByteArray prefix = TemporaryPrefix(info);
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const QByteArray name(entry->d_name);
    if (name.size() != prefix.size() + 6 || !name.startsWith(prefix)) continue;
    const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlinkat(dirFd, entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(dir);
}

}  // namespace

void WriteFileAtomically(const QString& fileName, const QByteArray& contents, mode_t mode) {
  const QFileInfo info(fileName);
  QDir().mkpath(info.absolutePath());
  RemoveStaleTemporaries(info);
  QByteArray temp = QFile::encodeName(info.absolutePath()) + '/' + TemporaryPrefix(info) + "XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) Fail(fileName, errno);
  // Held until the descriptor closes (or the process dies), so that another write of this file
  // never takes this copy for a stale one.
  ::flock(fd, LOCK_EX);
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
  // The copy is renamed while still open and locked; the bytes are already on disk.
  ok = ok && ::rename(temp.constData(), QFile::encodeName(fileName).constData()) == 0;
  const int error = ok ? 0 : errno;
  if (!ok) ::unlink(temp.constData());
  ::close(fd);
  if (!ok) Fail(fileName, error);
}

void ReplaceFile(const QString& source, const QString& target) {
  if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
    Fail(target, errno);
}

}  // namespace zabko
