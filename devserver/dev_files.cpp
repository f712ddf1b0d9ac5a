#include "devserver/dev_files.h"

#include "core/data_packet.h"
#include "platform/exception.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace zabko::dev {

TDevFiles::TDevFiles(THashFunction hasher) : hasher_(std::move(hasher)) {}

void TDevFiles::Add(TFileList list, const QByteArray& name, const QByteArray& content,
                    qint32 version) {
  auto& files = files_[list];
  std::erase_if(files, [&](const TDevFile& f) { return f.name == name; });
  files.push_back(TDevFile{name, content, QString(), version, hasher_(content)});
}

void TDevFiles::AddFromDisk(TFileList list, const QString& path, qint32 version) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw Exception("Cannot read " + path);
  const QByteArray name = QFileInfo(path).fileName().toUtf8();
  auto& files = files_[list];
  std::erase_if(files, [&](const TDevFile& f) { return f.name == name; });
  files.push_back(TDevFile{name, QByteArray(), path, version, hasher_(file.readAll())});
}

void TDevFiles::Clear(TFileList list) { files_[list].clear(); }

const TDevFile* TDevFiles::Find(TFileList list, const QByteArray& name) const {
  const auto it = files_.find(list);
  if (it == files_.end()) return nullptr;
  for (const TDevFile& f : it->second)
    if (f.name == name) return &f;
  return nullptr;
}

QByteArray TDevFiles::Content(const TDevFile& file) const {
  if (file.path.isEmpty()) return file.content;
  QFile f(file.path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray TDevFiles::ListFolder(TFileList list) {
  switch (list) {
    case TFileList::PreDownload: return "files/pre/";
    case TFileList::Download: return "files/data/";
    case TFileList::GameMusic: return "files/music/";
  }
  return "files/";
}

void TDevFiles::BuildList(TFileList list, const QByteArray& baseUrl, bool wrongHash,
                          TDataPacket& payload) const {
  const auto it = files_.find(list);
  if (it == files_.end()) return;
  for (const TDevFile& f : it->second) {
    TDataPacket* entry = payload.AddNewPacket();
    entry->AddString(baseUrl + ListFolder(list) + QUrl::toPercentEncoding(QString::fromUtf8(f.name)));
    entry->AddString(f.name);
    QByteArray hash = f.hash;
    if (wrongHash) {
      for (char& c : hash) c = c == '0' ? '1' : '0';
    }
    entry->AddString(hash);
    entry->AddInteger(f.version);
  }
}

}  // namespace zabko::dev
