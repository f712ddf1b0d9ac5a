// The files the stand-in server hands out, per list: the word databases and language files of
// "GetPreDownloadFiles", the sound databases of "GetDownloadFiles", the game music of
// "Game.GetDownloadFiles". Each is served from memory or from disk under base + "files/".
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace zabko {
class TDataPacket;
}

namespace zabko::dev {

enum class TFileList { PreDownload = 0, Download = 1, GameMusic = 2 };

struct TDevFile {
  QByteArray name;     // as listed; any bytes, the client must check it before use
  QByteArray content;  // served from memory when path is empty
  QString path;        // served from this file otherwise
  qint32 version = 1;
  QByteArray hash;     // 32 upper-case hex characters, filled when the file is added
};

class TDevFiles {
 public:
  using THashFunction = std::function<QByteArray(const QByteArray& content)>;
  explicit TDevFiles(THashFunction hasher);

  void Add(TFileList list, const QByteArray& name, const QByteArray& content, qint32 version = 1);
  // A file on disk, listed under its own file name; fails when it cannot be read.
  void AddFromDisk(TFileList list, const QString& path, qint32 version = 1);
  void Clear(TFileList list);

  const TDevFile* Find(TFileList list, const QByteArray& name) const;
  QByteArray Content(const TDevFile& file) const;
  // One sub-packet per file: Strings[0] URL, Strings[1] name, Strings[2] hash, Integers[0]
  // version. A wrong hash (fault switch) lists every hash with its digits changed.
  void BuildList(TFileList list, const QByteArray& baseUrl, bool wrongHash,
                 TDataPacket& payload) const;

  // The path under the base URL where a file of a list is served.
  static QByteArray ListFolder(TFileList list);

 private:
  THashFunction hasher_;
  std::map<TFileList, std::vector<TDevFile>> files_;
};

}  // namespace zabko::dev
