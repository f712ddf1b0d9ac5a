#include "core/file.h"

#include "platform/exception_handler.h"
#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>

namespace zabko {

void TFile::ShellOpenWith(QObject* ownerWindow, const QString& target) {
  if (target.isEmpty()) return;
  OpenDocumentOrLink(target);
}

bool TFile::Execute(const QString& fileName, const QStringList& parameters,
                    const QString& folder, bool show) {
  return StartProgram(fileName, parameters, folder);
}

bool TFile::DeleteFolder(const QString& path) {
  try {
    QString p = path;
    if (p.endsWith(u'\\') || (p.endsWith(u'/') && p.size() > 1)) p.chop(1);
    return MoveToTrash(p);
  } catch (...) {
    RecordCaughtException(std::current_exception());
    return false;
  }
}

QString TFile::GetTempPath() {
  QString path = QDir::tempPath();
  if (!path.endsWith(u'/')) path += u'/';
  return path;
}

QString TFile::GetTempFileName(const QString& ext) {
  return CreateUniqueFile(QDir::tempPath(), QStringLiteral("TMP"), ext);
}

bool TFile::DirectoryExists(const QString& path) { return QFileInfo(path).isDir(); }

bool TFile::ForceDirectories(const QString& path) {
  return !path.isEmpty() && QDir().mkpath(path) && QFileInfo(path).isDir();
}

}  // namespace zabko
