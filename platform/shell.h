// Shell and process calls: open a document or a link with the desktop's handler, start a
// program, move a file or folder to the desktop trash, and create a unique file. No call goes
// through a shell command line: programs get their arguments as a list.
#pragma once

#include <QString>
#include <QStringList>

namespace zabko {

// The program that opens documents and links; "xdg-open" unless set. Tests set a recorder.
void SetDocumentOpener(const QString& program);
QString DocumentOpener();

// Opens an existing local file or folder, or an http or https link, with the document opener.
// Any other kind of link, a link without a host and a missing file are refused. True when the
// opener started.
bool OpenDocumentOrLink(const QString& target);

// Starts Program (a path, or a name looked up in PATH) detached, with Arguments and the working
// folder Folder (empty: the current one). True when the program started.
bool StartProgram(const QString& program, const QStringList& arguments, const QString& folder);

// Moves a file or folder to the desktop trash as the freedesktop.org trash layout
// describes: the home trash ($XDG_DATA_HOME/Trash) when the item lies on the same file system,
// else the file system's own ".Trash-<uid>" folder. True on success.
bool MoveToTrash(const QString& path);

// Creates a new empty file in Folder named Prefix, six random characters and Suffix, atomically
// (no other process can take the name), mode 0600, and returns its path. Names may hold any
// characters the file system takes. Fails with "Cannot create temporary file in " + Folder.
QString CreateUniqueFile(const QString& folder, const QString& prefix, const QString& suffix);

}  // namespace zabko
