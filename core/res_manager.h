// Resource databases: one file holding many named blobs (sounds, skin bitmaps, game graphics),
// and the manager that serves them by name, a loose file beside the program taking precedence.
//
// File layout (little-endian): a signed 32-bit entry count N; N directory entries, each a signed
// 32-bit name length L, L bytes of 8-bit name and a signed 32-bit blob size; then the N blobs one
// after another in directory order. Names compare without regard to ASCII case.
//
// Bitmap resources begin with one kind byte: 0 a JPEG file follows, 1 a BMP file, 2 a signed
// 32-bit coded length and run-length coded data (see TRLEStream) that decodes to a BMP file.
#pragma once

#include "platform/stream.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zabko {

class TLooseFiles;

// The kind byte that starts a bitmap resource.
enum class BitmapKind : unsigned char { Jpeg = 0, Bmp = 1, RleBmp = 2 };

// A resource name as it is stored in a database: 8-bit text in the system code page.
QByteArray ResourceKey(const QString& name);

// A database file's directory is outside input: it fails with "Invalid resource database: "
// and the file name when its counts, lengths or sizes do not fit the file.
inline constexpr const char* kInvalidResourceDatabase = "Invalid resource database: ";
inline constexpr const char* kFileNotFoundInDB = "File not found in DB: ";

// The abstract loader of resource databases.
class TBaseResLoader {
 public:
  virtual ~TBaseResLoader() = default;
  // Positions GetStream() on the blob's first byte and returns its size; fails with
  // "File not found in DB: " + Name.
  virtual qint64 OpenEntry(const QString& name) = 0;
  // The stream to read from after OpenEntry.
  virtual TStream& GetStream() = 0;
  virtual bool Contains(const QString& name) const = 0;
  // Appends every name (upper-cased) to Names.
  virtual void ListNames(QStringList& names) const = 0;
};

// One database file, open for the loader's whole life.
class TResLoader : public TBaseResLoader {
 public:
  // Opens the file and reads its directory.
  explicit TResLoader(const QString& fileName);
  // Reads the directory of a database held by Stream (taken over); Name labels errors.
  TResLoader(std::unique_ptr<TStream> stream, const QString& name);

  qint64 OpenEntry(const QString& name) override;
  TStream& GetStream() override { return *stream_; }
  bool Contains(const QString& name) const override { return Find(ResourceKey(name)) >= 0; }
  void ListNames(QStringList& names) const override;

 private:
  struct Entry {
    QByteArray name;  // upper-cased
    qint64 offset;
  };
  void ReadDirectory(const QString& label);
  int Find(const QByteArray& key) const;

  std::unique_ptr<TStream> stream_;
  qint64 fileSize_ = 0;
  std::vector<Entry> entries_;
  QHash<QByteArray, int> lookup_;  // name -> first entry of that name
};

// Several database files behind one index; a name present in several is served by the first.
class TMultiResLoader : public TBaseResLoader {
 public:
  explicit TMultiResLoader(const QStringList& fileNames);

  qint64 OpenEntry(const QString& name) override;
  TStream& GetStream() override;
  bool Contains(const QString& name) const override { return Find(ResourceKey(name)) >= 0; }
  void ListNames(QStringList& names) const override;

 private:
  struct IndexEntry {
    QByteArray name;  // upper-cased
    int loader;
  };
  void BuildIndex();
  int Find(const QByteArray& key) const;

  std::vector<std::unique_ptr<TResLoader>> loaders_;
  std::vector<IndexEntry> index_;  // sorted by name, file order kept among equal names
  TStream* current_ = nullptr;
};

// Named resources of one or several database files. The resource opened last is the current
// one: a window over the database file (no copy of the blob) or over a loose file, reading
// exactly the resource's bytes from position 0.
class TResManager {
 public:
  // One file gets a TResLoader, more a TMultiResLoader. AppDir is where loose files are looked
  // for; empty means the program folder.
  explicit TResManager(const QStringList& fileNames, const QString& appDir = QString());
  // Serves the resources of a loader made elsewhere (a database in memory).
  TResManager(std::unique_ptr<TBaseResLoader> loader, const QString& appDir);
  ~TResManager();
  TResManager(const TResManager&) = delete;
  TResManager& operator=(const TResManager&) = delete;

  // Makes the resource current and returns its size. A file of that name in GetAppDir (found
  // without regard to case) wins over the database; otherwise "File not found in DB: " + Name.
  qint64 Open(const QString& name);
  // The current resource's stream; valid until the next Open or CloseCurrent.
  TStream& Current();
  // Decodes a bitmap resource. Fails with "Unknown bitmap kind N in: " + Name, or "Invalid
  // bitmap: " + Name when the picture does not decode.
  void LoadBitmap(QImage& bitmap, const QString& name);
  // Appends the resource's bytes to Stream at its position.
  void CopyTo(TStream& stream, const QString& name);
  // Copies the resource to a new file in the temporary folder, named with Name's extension (or
  // DefaultExt, with its dot, when Name has none); the caller owns the file.
  QString ExtractToTempFile(const QString& name, const QString& defaultExt);
  // Where loose files are looked for, with a trailing "/".
  QString GetAppDir() const { return appDir_; }
  void CloseCurrent();

  TBaseResLoader& Loader() { return *loader_; }

 private:
  std::unique_ptr<TBaseResLoader> loader_;
  std::unique_ptr<TStream> looseFile_;  // owned stream of a loose file
  std::unique_ptr<TStream> current_;    // window over the loose file or the loader's stream
  QString appDir_;
  std::unique_ptr<TLooseFiles> looseFiles_;  // finds loose files below appDir_
};

// The path of an existing file Name below Dir, each part matched without regard to case ("\" and
// "/" both separate parts); empty when there is none or Name tries to leave Dir.
QString FindFileIgnoringCase(const QString& dir, const QString& name);

}  // namespace zabko
