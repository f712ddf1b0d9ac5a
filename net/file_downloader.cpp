#include "net/file_downloader.h"

#include "core/data_packet.h"
#include "core/exception_log.h"
#include "core/hasher.h"
#include "net/http_file_download.h"
#include "platform/atomic_file.h"
#include "platform/exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace zabko {

TFileDownloader::TFileDownloader(const QString& folder, const QString& indexName)
    : Folder(folder), IndexName(indexName) {}

bool TFileDownloader::IsSafeFileName(const QByteArray& name) {
  if (name.isEmpty() || name == "." || name == ".." || name.size() > 255) return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == '\0' || c == ':') return false;
  return true;
}

QString TFileDownloader::IndexPath() const { return QDir(Folder).filePath(IndexName); }

void TFileDownloader::LoadIndex(TDataPacket& index) const {
  const QString path = IndexPath();
  if (!QFileInfo::exists(path)) return;
  try {
    index.LoadFromFile(path, true);
  } catch (const Exception& e) {
    // An unreadable index only costs a fresh download of every file.
    LogLine(QStringLiteral("Ignoring unreadable index %1: %2").arg(path, e.Message()).toUtf8());
    index.Clear();
  }
}

bool TFileDownloader::DownloadAll(const TDataPacket& fileList) {
  for (int i = 0; i < fileList.PacketCount(); ++i) {
    const TDataPacket& file = *fileList.GetPacket(i);
    if (file.StringCount() < 3 || file.IntegerCount() < 1) {
      LogLine(QStringLiteral("File list entry %1 lacks its fields").arg(i).toUtf8());
      return false;
    }
    if (!DownloadFileWithRetries(file.GetString(1), file.GetString(0), file.GetInteger(0), file.GetString(2)))
      return false;
  }
  return true;
}

namespace {

void LogFailedAttempt(const QByteArray& name, const QString& reason) {
  LogLine(QStringLiteral("Download of %1 failed: %2").arg(QString::fromLatin1(name), reason).toUtf8());
}

}  // namespace

bool TFileDownloader::DownloadFileWithRetries(const QByteArray& name, const QByteArray& url,
                                              qint32 version, const QByteArray& hash) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    try {
      DownloadOne(name, url, version, hash);
      return true;
    } catch (const Exception& e) {
      LogFailedAttempt(name, e.Message());
    } catch (const std::exception& e) {
      // Whatever fails is one failed attempt (memory, a library's own exception): the next
      // attempt and the rest of the list go on.
      LogFailedAttempt(name, QString::fromLocal8Bit(e.what()));
    } catch (...) {
      LogFailedAttempt(name, QStringLiteral("Unknown exception"));
    }
  }
  return false;
}

void TFileDownloader::DownloadOne(const QByteArray& name, const QByteArray& url, qint32 version,
                                  const QByteArray& hash) {
  if (url != CurrentURL) ++FileNumber;
  CurrentURL = url;
  CurrentName = name;
  // The list may not name the index itself, nor a name the download's temporary file uses.
  if (!IsSafeFileName(name) || QString::fromLatin1(name).compare(IndexName, Qt::CaseInsensitive) == 0 ||
      name.endsWith(".download"))
    throw Exception(QStringLiteral("Invalid file name: ") + QString::fromLatin1(name));
  const QString path = QDir(Folder).filePath(QString::fromLatin1(name));

  TDataPacket index;
  LoadIndex(index);
  if (const TDataPacket* entry = index.FindPacketByString(name, 0)) {
    if (entry->StringCount() > 2 && entry->GetString(2) == hash && entry->IntegerCount() > 0 &&
        entry->GetInteger(0) == version && QFileInfo(path).isFile())
      return;
  }
  QDir().mkpath(Folder);
  const QString tempPath = path + QStringLiteral(".download");
  DownloadFile(url, tempPath);
  RecordEntry(name, url, version, hash, tempPath, path);
}

void TFileDownloader::DownloadFile(const QByteArray& url, const QString& path) {
  THttpFileDownload download;
  download.OnProgress = [this](THttpFileDownload& sender) { OnFileProgress(sender.GetProgress()); };
  download.Download(url, path, false);
}

void TFileDownloader::RecordEntry(const QByteArray& name, const QByteArray& url, qint32 version,
                                  const QByteArray& hash, const QString& tempPath, const QString& path) {
  // A transfer that wrote nothing fails here with the file's open error.
  QByteArray digest;
  try {
    digest = HashFile(tempPath);
  } catch (...) {
    QFile::remove(tempPath);
    throw;
  }
  if (digest != hash) {
    QFile::remove(tempPath);
    throw Exception("Downloaded file failed HASH test");
  }
  ReplaceFile(tempPath, path);

  TDataPacket index;
  LoadIndex(index);
  TDataPacket* entry = index.FindPacketByString(name, 0);
  if (!entry) entry = index.AddNewPacket();
  entry->Clear();
  entry->AddString(name);
  entry->AddString(url);
  entry->AddString(hash);
  entry->AddInteger(version);
  WriteFileAtomically(IndexPath(), index.SaveToBytes());
}

void TFileDownloader::OnFileProgress(const TTransferProgress& progress) {
  Progress = progress;
  if (OnProgress) OnProgress(*this);
}

}  // namespace zabko
