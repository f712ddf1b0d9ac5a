// The per-user data folder: a folder named by the application type inside the user's data home
// ($XDG_DATA_HOME, default ~/.local/share), created when missing. User files, logs and the
// downloaded word databases live there.
#pragma once

#include <QString>

namespace zabko {

class TAppDataManager {
 public:
  // Stores the folder name and runs Prepare. An empty name stands for the data home itself.
  explicit TAppDataManager(QString folderName);

  // Finds the data home and creates the folder with its missing parents. Fails with "Could not
  // find value for parameter XDG_DATA_HOME" when neither XDG_DATA_HOME (absolute) nor HOME is set.
  void Prepare();

  // The folder, always ending in "/".
  const QString& Path() const { return path_; }
  const QString& FolderName() const { return folderName_; }

  // The folder followed by fileName, unchecked. The system's relative names use "\" between
  // folders ("Users\" + key + ".data"); they become "/".
  QString GetPath(const QString& fileName) const;

 private:
  QString folderName_;
  QString path_;
};

}  // namespace zabko
