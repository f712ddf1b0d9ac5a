#include "core/app_data_manager.h"

#include "platform/exception.h"

#include <QDir>

namespace zabko {

TAppDataManager::TAppDataManager(QString folderName) : folderName_(std::move(folderName)) { Prepare(); }

void TAppDataManager::Prepare() {
  // The base directory rules of XDG: a relative XDG_DATA_HOME is ignored.
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) throw Exception("Could not find value for parameter XDG_DATA_HOME");
    base = home + "/.local/share";
  }
  if (!base.endsWith('/')) base += '/';
  QString path = base + QString(folderName_).replace('\\', '/');
  if (!path.endsWith('/')) path += '/';
  QDir().mkpath(path);
  path_ = path;
}

QString TAppDataManager::GetPath(const QString& fileName) const {
  return path_ + QString(fileName).replace('\\', '/');
}

}  // namespace zabko
