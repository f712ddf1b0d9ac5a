// What the connection flow needs of the windows above it. The flow runs its long steps as jobs
// in a modal progress window, asks and tells the user through message boxes, fetches file lists
// under the download dialog, and calls the main window back. ui/ implements these with its
// windows; tests implement them with fakes that run inline and answer from a script.
#pragma once

#include "core/window_services.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zabko {

class TDataPacket;

class IFileListDownload {
 public:
  virtual ~IFileListDownload() = default;
  // Brings Folder up to date with the file list under the download dialog, whose three lines
  // the caller gives. False after any failure, which the dialog has already reported.
  virtual bool DownloadFilesWithProgress(const QString& folder, const QString& indexName,
                                         const TDataPacket& fileList, const QString& line1,
                                         const QString& line2, const QString& line3, bool hebrew) = 0;
};

}  // namespace zabko
