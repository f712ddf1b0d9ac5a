#include "platform/shell.h"

#include "platform/exception.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zabko {

namespace {

QString& OpenerProgram() {
  static QString program = QStringLiteral("xdg-open");
  return program;
}

bool LooksLikeLink(const QString& target) {
  const qsizetype colon = target.indexOf(u':');
  if (colon < 2) return false;  // no scheme (a one-letter scheme would be a drive letter)
  for (qsizetype i = 0; i < colon; ++i) {
    const QChar c = target[i];
    const bool ok = c.isLetter() || (i > 0 && (c.isDigit() || c == u'+' || c == u'-' || c == u'.'));
    if (!ok || c.unicode() > 127) return false;
  }
  return true;
}

bool DeviceOf(const QByteArray& path, dev_t& device) {
  struct stat st;
  if (::lstat(path.constData(), &st) != 0) return false;
  device = st.st_dev;
  return true;
}

bool MakePrivateDir(const QString& path) {
  if (QFileInfo(path).isDir()) return true;
  return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || errno == EEXIST;
}

// A trash folder on the item's device with files/ and info/ ready, or empty. Top is set for a
// file system's own trash, whose info files keep paths relative to its top folder.
QString TrashFor(const QString& item, dev_t itemDevice, QString& top) {
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  const QString home = dataHome + QStringLiteral("/Trash");
  dev_t device;
  if (QDir().mkpath(dataHome) && MakePrivateDir(home) &&
      DeviceOf(QFile::encodeName(home), device) && device == itemDevice) {
    top.clear();
    return home;
  }
  const QString root = QStorageInfo(QFileInfo(item).absolutePath()).rootPath();
  if (root.isEmpty()) return QString();
  const QString own = root + (root.endsWith(u'/') ? QString() : QStringLiteral("/")) +
                      QStringLiteral(".Trash-") + QString::number(::getuid());
  if (!MakePrivateDir(own) || !DeviceOf(QFile::encodeName(own), device) || device != itemDevice)
    return QString();
  top = root;
  return own;
}

}  // namespace

void SetDocumentOpener(const QString& program) { OpenerProgram() = program; }
QString DocumentOpener() { return OpenerProgram(); }

bool OpenDocumentOrLink(const QString& target) {
  if (target.isEmpty()) return false;
  QString argument;
  if (LooksLikeLink(target)) {
    const QUrl url(target, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && url.isLocalFile()) {
      if (!QFileInfo::exists(url.toLocalFile())) return false;
      argument = QUrl::fromLocalFile(url.toLocalFile()).toString(QUrl::FullyEncoded);
    } else if (url.isValid() && (scheme == u"http" || scheme == u"https") &&
               !url.host().isEmpty()) {
      argument = url.toString(QUrl::FullyEncoded);
    } else {
      return false;
    }
  } else {
    const QFileInfo info(target);
    if (!info.exists()) return false;
    // As a file URL, so that a name starting with "-" is never read as an option.
    argument = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded);
  }
  return StartProgram(OpenerProgram(), {argument}, QString());
}

bool StartProgram(const QString& program, const QStringList& arguments, const QString& folder) {
  if (program.isEmpty()) return false;
  if (!folder.isEmpty() && !QFileInfo(folder).isDir()) return false;
  return QProcess::startDetached(program, arguments, folder);
}

bool MoveToTrash(const QString& path) {
  if (path.isEmpty()) return false;
  const QString item = QFileInfo(path).absoluteFilePath();
  const QByteArray itemName = QFile::encodeName(item);
  dev_t device;
  if (item == u"/" || !DeviceOf(itemName, device)) return false;
  QString top;
  const QString trash = TrashFor(item, device, top);
  if (trash.isEmpty() || !MakePrivateDir(trash + QStringLiteral("/files")) ||
      !MakePrivateDir(trash + QStringLiteral("/info")))
    return false;
  if (item.startsWith(trash + u'/') || item == trash) return false;

  QString original = item;
  if (!top.isEmpty()) original = QDir(top).relativeFilePath(item);
  const QByteArray info = "[Trash Info]\nPath=" + QUrl::toPercentEncoding(original, "/") +
                          "\nDeletionDate=" +
                          QDateTime::currentDateTime().toString(Qt::ISODate).left(19).toUtf8() +
                          "\n";
  const QString base = QFileInfo(item).fileName();
  for (int n = 1; n < 10000; ++n) {
    const QString name = n == 1 ? base : QStringLiteral("%1.%2").arg(base).arg(n);
    const QByteArray infoPath =
        QFile::encodeName(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    // The info file is created exclusively first: it reserves the name in the trash.
    const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const bool written = ::write(fd, info.constData(), info.size()) == info.size();
    ::close(fd);
    const QByteArray target = QFile::encodeName(trash + QStringLiteral("/files/") + name);
    if (written && ::access(target.constData(), F_OK) != 0 &&
        ::rename(itemName.constData(), target.constData()) == 0)
      return true;
    ::unlink(infoPath.constData());
    if (written && ::access(target.constData(), F_OK) == 0) continue;  // a stray entry
    return false;
  }
  return false;
}

QString CreateUniqueFile(const QString& folder, const QString& prefix, const QString& suffix) {
  if (prefix.contains(u'/') || suffix.contains(u'/'))
    throw Exception(QStringLiteral("Cannot create temporary file in ") + folder);
  QString dir = folder.isEmpty() ? QStringLiteral(".") : folder;
  if (!dir.endsWith(u'/')) dir += u'/';
  const QByteArray encodedSuffix = QFile::encodeName(suffix);
  QByteArray name = QFile::encodeName(dir + prefix) + "XXXXXX" + encodedSuffix;
  const int fd = ::mkostemps(name.data(), static_cast<int>(encodedSuffix.size()), O_CLOEXEC);
  if (fd < 0) throw Exception(QStringLiteral("Cannot create temporary file in ") + folder);
  ::close(fd);
  return QFile::decodeName(name);
}

}  // namespace zabko
