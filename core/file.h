// File and shell helpers: open documents and links, start programs, delete folders to the
// trash, temporary files and folder tests. Local paths use "/".
#pragma once

#include <QString>
#include <QStringList>

class QObject;

namespace zabko {

class TFile {
 public:
  // Opens a local file or folder, or an http/https link, with the desktop's handler; an empty
  // Target does nothing. The owner window is not needed by the desktop's handler.
  static void ShellOpenWith(QObject* ownerWindow, const QString& target);
  static void ShellOpen(const QString& target) { ShellOpenWith(nullptr, target); }
  // Starts a program with its parameters (each one argument, no shell in between) in Folder.
  // Show is a wish for the program's window that a desktop program decides for itself. True
  // when the program started.
  static bool Execute(const QString& fileName, const QStringList& parameters,
                      const QString& folder, bool show = true);
  // Moves the folder tree to the desktop trash, one trailing "\" or "/" dropped from Path
  // first; true on success, false on any failure.
  static bool DeleteFolder(const QString& path);
  // The user's temporary folder, ending with "/".
  static QString GetTempPath();
  // A new, already created, empty file in the temporary folder: "TMP", six random characters,
  // then Ext (with its dot). Fails with "Cannot create temporary file in " + folder.
  static QString GetTempFileName(const QString& ext);
  static bool DirectoryExists(const QString& path);
  // Creates every missing folder of Path; true when the folder exists afterwards.
  static bool ForceDirectories(const QString& path);
};

}  // namespace zabko
