// Brings a folder up to date with a server file list: each file is fetched only when the folder's
// index file does not already record the same hash and version for it, every fetched file must
// pass the hash test, and the index records what is now in the folder.
//
// File list: one sub-packet per file, Strings[0] URL, Strings[1] file name, Strings[2] hash,
// Integers[0] version. Index entry: Strings[0] file name, Strings[1] URL, Strings[2] hash,
// Integers[0] version.
#pragma once

#include "net/win_http.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace zabko {

class TDataPacket;

class TFileDownloader {
 public:
  using TNotifyEvent = std::function<void(TFileDownloader& sender)>;

  static constexpr int kAttempts = 3;

  TFileDownloader(const QString& folder, const QString& indexName);
  virtual ~TFileDownloader() = default;

  // Every file in order; stops at the first file that fails its attempts. True when all are
  // current (an empty list gives true).
  bool DownloadAll(const TDataPacket& fileList);
  // Up to three attempts of DownloadOne; true at the first that raises nothing.
  bool DownloadFileWithRetries(const QByteArray& name, const QByteArray& url, qint32 version,
                               const QByteArray& hash);
  // Skips a current file, else fetches it and records it; raises on failure. A name that is not
  // a plain file name ("", "..", a path) fails with "Invalid file name: ".
  void DownloadOne(const QByteArray& name, const QByteArray& url, qint32 version, const QByteArray& hash);
  // One transfer of URL into the file Path (virtual so that a test can stand in a transfer that
  // fails in its own way).
  virtual void DownloadFile(const QByteArray& url, const QString& path);
  // Hash test of the fetched file at TempPath; on success it replaces Path and the index entry
  // is rewritten. A mismatch deletes the fetched file and fails with "Downloaded file failed
  // HASH test"; the file that was at Path stays.
  void RecordEntry(const QByteArray& name, const QByteArray& url, qint32 version,
                   const QByteArray& hash, const QString& tempPath, const QString& path);
  void OnFileProgress(const TTransferProgress& progress);

  // A plain file name from the server that may be joined to a folder.
  static bool IsSafeFileName(const QByteArray& name);

  QString Folder;
  QString IndexName;
  int FileNumber = 0;
  QByteArray CurrentName;
  QByteArray CurrentURL;
  TTransferProgress Progress;
  TNotifyEvent OnProgress;

 private:
  QString IndexPath() const;
  // The index, or an empty packet when there is none or it cannot be read.
  void LoadIndex(TDataPacket& index) const;
};

}  // namespace zabko
