#include "core/rc_or_file_stream.h"

#include "platform/exception.h"

#include <QFile>
#include <QFileInfo>

namespace zabko {

bool DebuggerAttached() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("TracerPid:")) return line.mid(10).trimmed().toInt() != 0;
  }
  return false;
}

QString TRCOrFileStream::ResourceNameFor(const QString& fileName) {
  QString name = QFileInfo(fileName).fileName();
  const qsizetype dot = name.lastIndexOf('.');
  if (dot >= 0) name.truncate(dot);
  name.replace('.', '_');
  return name.toUpper();
}

TRCOrFileStream::TRCOrFileStream(const QString& fileName, bool preferFile) {
  if ((preferFile || DebuggerAttached()) && QFileInfo(fileName).isFile()) {
    inner_ = std::make_unique<TFileStream>(fileName, FileMode::OpenRead);
    isFile_ = true;
  } else {
    inner_ = std::make_unique<TResourceStream>(ResourceNameFor(fileName));
  }
}

qint64 TRCOrFileStream::Write(const void*, qint64) { throw Exception("Write not supported"); }

void TRCOrFileStream::SetSize(qint64) { throw Exception("Not allowed to update size"); }

}  // namespace zabko
