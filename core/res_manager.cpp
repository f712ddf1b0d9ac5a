#include "core/res_manager.h"

#include "core/jpeg_image.h"
#include "core/rle_stream.h"
#include "platform/code_page.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace zabko {
namespace {

// Reads exactly the bytes [offset, offset + size) of another stream, with positions counted
// from the window's start; the other stream is borrowed.
class TWindowStream : public TStream {
 public:
  TWindowStream(TStream& inner, qint64 offset, qint64 size) : inner_(inner), offset_(offset), size_(size) {
    inner_.Seek(offset_, SeekOrigin::Beginning);
  }

  qint64 Read(void* buffer, qint64 count) override {
    count = std::min(count, size_ - position_);
    if (count <= 0) return 0;
    const qint64 n = inner_.Read(buffer, count);
    if (n > 0) position_ += n;
    return n;
  }
  qint64 Write(const void*, qint64) override { throw Exception("Write not supported"); }
  qint64 Seek(qint64 offset, SeekOrigin origin) override {
    qint64 target = position_;
    switch (origin) {
      case SeekOrigin::Beginning: target = offset; break;
      case SeekOrigin::Current: target = position_ + offset; break;
      case SeekOrigin::End: target = size_ + offset; break;
    }
    target = std::clamp<qint64>(target, 0, size_);
    if (target != position_) inner_.Seek(offset_ + target, SeekOrigin::Beginning);
    position_ = target;
    return position_;
  }
  qint64 Position() override { return position_; }
  qint64 Size() override { return size_; }

 private:
  TStream& inner_;
  qint64 offset_;
  qint64 size_;
  qint64 position_ = 0;
};

qint32 ReadInt32(TStream& stream) {
  qint32 value = 0;
  stream.ReadBuffer(&value, 4);
  return qFromLittleEndian(value);
}

QByteArray AsciiUpper(QByteArray text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Run-length data expands up to some 6500 times; a decoded bitmap beyond this is refused.
constexpr qint64 kMaxDecodedBitmap = qint64(256) << 20;

QByteArray ReadAll(TStream& stream, qint64 size) {
  QByteArray bytes(size, Qt::Uninitialized);
  stream.ReadBuffer(bytes.data(), size);
  return bytes;
}

}  // namespace

QByteArray ResourceKey(const QString& name) { return AsciiUpper(WideToSystemCodePage(name)); }

// ---- TResLoader

TResLoader::TResLoader(const QString& fileName)
    : TResLoader(std::make_unique<TFileStream>(fileName, FileMode::OpenRead), fileName) {}

TResLoader::TResLoader(std::unique_ptr<TStream> stream, const QString& name) : stream_(std::move(stream)) {
  ReadDirectory(name);
}

void TResLoader::ReadDirectory(const QString& label) {
  // Every count, length and size is checked against the file, so a damaged directory is refused
  // instead of giving offsets outside it.
  const auto invalid = [&] { return Exception(QString::fromLatin1(kInvalidResourceDatabase) + label); };
  fileSize_ = stream_->Size();
  stream_->Seek(0, SeekOrigin::Beginning);
  if (fileSize_ < 4) throw invalid();
  const qint32 count = ReadInt32(*stream_);
  // An entry takes at least 8 bytes of directory.
  if (count < 0 || count > (fileSize_ - 4) / 8) throw invalid();
  entries_.reserve(static_cast<size_t>(count));
  std::vector<qint64> sizes;
  sizes.reserve(static_cast<size_t>(count));
  qint64 position = 4;
  for (qint32 i = 0; i < count; ++i) {
    const qint32 length = ReadInt32(*stream_);
    if (length < 0 || length > fileSize_ - position - 8) throw invalid();
    QByteArray name = ReadAll(*stream_, length);
    const qint32 size = ReadInt32(*stream_);
    if (size < 0) throw invalid();
    position += 8 + length;
    entries_.push_back({AsciiUpper(std::move(name)), 0});
    sizes.push_back(size);
  }
  qint64 offset = position;
  for (size_t i = 0; i < entries_.size(); ++i) {
    entries_[i].offset = offset;
    offset += sizes[i];
    if (offset > fileSize_) throw invalid();
    // The first entry of a name is the one served.
    if (!lookup_.contains(entries_[i].name)) lookup_.insert(entries_[i].name, static_cast<int>(i));
  }
}

int TResLoader::Find(const QByteArray& key) const { return lookup_.value(key, -1); }

qint64 TResLoader::OpenEntry(const QString& name) {
  const int i = Find(ResourceKey(name));
  if (i < 0) throw Exception(QString::fromLatin1(kFileNotFoundInDB) + name);
  const qint64 offset = entries_[i].offset;
  const qint64 end = static_cast<size_t>(i) + 1 < entries_.size() ? entries_[i + 1].offset : fileSize_;
  stream_->Seek(offset, SeekOrigin::Beginning);
  return end - offset;
}

void TResLoader::ListNames(QStringList& names) const {
  names.reserve(names.size() + static_cast<qsizetype>(entries_.size()));
  for (const Entry& e : entries_) names.append(SystemCodePageToWide(e.name));
}

// ---- TMultiResLoader

TMultiResLoader::TMultiResLoader(const QStringList& fileNames) {
  for (const QString& fileName : fileNames) loaders_.push_back(std::make_unique<TResLoader>(fileName));
  BuildIndex();
}

void TMultiResLoader::BuildIndex() {
  for (size_t i = 0; i < loaders_.size(); ++i) {
    QStringList names;
    loaders_[i]->ListNames(names);
    for (const QString& name : names) index_.push_back({ResourceKey(name), static_cast<int>(i)});
  }
  // Names are held upper-cased, so a plain byte order sorts them without regard to case; the
  // stable sort keeps the first file first among equal names.
  std::stable_sort(index_.begin(), index_.end(),
                   [](const IndexEntry& a, const IndexEntry& b) { return a.name < b.name; });
}

int TMultiResLoader::Find(const QByteArray& key) const {
  const auto it = std::lower_bound(index_.begin(), index_.end(), key,
                                   [](const IndexEntry& e, const QByteArray& k) { return e.name < k; });
  if (it == index_.end() || it->name != key) return -1;
  return it->loader;
}

qint64 TMultiResLoader::OpenEntry(const QString& name) {
  const int loader = Find(ResourceKey(name));
  if (loader < 0) throw Exception(QString::fromLatin1(kFileNotFoundInDB) + name);
  const qint64 size = loaders_[loader]->OpenEntry(name);
  current_ = &loaders_[loader]->GetStream();
  return size;
}

TStream& TMultiResLoader::GetStream() {
  if (!current_) throw Exception("No resource opened");
  return *current_;
}

void TMultiResLoader::ListNames(QStringList& names) const {
  for (const auto& loader : loaders_) loader->ListNames(names);
}

// ---- Loose files

namespace {

QStringList ListFolder(const QDir& folder) {
  return folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The first of Entries (a folder's listing in its order) equal to Part without regard to case.
QString FirstMatch(const QStringList& entries, const QString& part) {
  for (const QString& entry : entries) {
    if (entry.compare(part, Qt::CaseInsensitive) == 0) return entry;
  }
  return QString();
}

// The entry of Folder that Part names, looked up on the disk: Part itself when it exists,
// otherwise the first entry of the listing equal to it without regard to case.
QString MatchOnDisk(const QDir& folder, const QString& part) {
  if (QFileInfo::exists(folder.filePath(part))) return part;
  return FirstMatch(ListFolder(folder), part);
}

// Follows Name's parts down from Dir; Match (folder, folder's path, part) gives the entry that
// matches a part, or empty.
template <typename TMatch>
QString WalkIgnoringCase(const QString& dir, const QString& name, TMatch match) {
  QString path = dir;
  const QStringList parts = QString(name).replace('\\', '/').split('/', Qt::SkipEmptyParts);
  if (parts.isEmpty()) return QString();
  for (const QString& part : parts) {
    if (part == QLatin1String(".") || part == QLatin1String("..")) return QString();
    const QDir folder(path);
    const QString found = match(folder, path, part);
    if (found.isEmpty()) return QString();
    path = folder.filePath(found);
  }
  return QFileInfo(path).isFile() ? path : QString();
}

}  // namespace

QString FindFileIgnoringCase(const QString& dir, const QString& name) {
  return WalkIgnoringCase(dir, name,
                          [](const QDir& folder, const QString&, const QString& part) { return MatchOnDisk(folder, part); });
}

// Every resource opened asks for a loose file first, and a production run opens thousands; a
// listing of the program folder per Open costs far more than the copy. The listings of the
// folders looked in are therefore kept, and an inotify watch on each, set before it is listed,
// tells of every entry made, removed or renamed there afterwards: the next look-up then drops
// all listings and reads them again. The program folder's device and inode are compared on each
// look-up too, as a watch follows the folder and not its path. Where no watch can be set, the
// look-up goes to the disk as FindFileIgnoringCase does. A file found is still checked on the
// disk, so a look-up finds the file FindFileIgnoringCase would find.
class TLooseFiles {
 public:
  explicit TLooseFiles(const QString& dir) : dir_(dir) {}
  ~TLooseFiles() { CloseWatches(); }
  TLooseFiles(const TLooseFiles&) = delete;
  TLooseFiles& operator=(const TLooseFiles&) = delete;

  QString Find(const QString& name) {
    Refresh();
    return WalkIgnoringCase(dir_, name, [this](const QDir& folder, const QString& path, const QString& part) {
      const TListing* listing = Listing(folder, path);
      if (!listing) return MatchOnDisk(folder, part);
      // The name itself is taken when it exists (a link may point nowhere), as on the disk.
      if (listing->Names.contains(part) && QFileInfo::exists(folder.filePath(part))) return part;
      return FirstMatch(listing->Entries, part);
    });
  }

 private:
  struct TListing {
    QStringList Entries;  // in the folder listing's order
    QSet<QString> Names;
  };

  // Drops the listings when anything changed since they were read.
  void Refresh() {
    struct stat info {};
    const bool present = ::stat(QFile::encodeName(dir_).constData(), &info) == 0;
    if (!present || info.st_dev != dirDevice_ || info.st_ino != dirInode_) {
      // Another folder (or none) under that path: start over with new watches.
      CloseWatches();
      dirDevice_ = present ? info.st_dev : 0;
      dirInode_ = present ? info.st_ino : 0;
      return;
    }
    if (watches_ < 0) return;
    alignas(struct inotify_event) char events[4096];
    bool changed = false;
    while (::read(watches_, events, sizeof events) > 0) changed = true;
    if (changed) listings_.clear();
  }

  // The kept listing of Folder, read (and watched) now when there is none; null when the folder
  // cannot be watched.
  const TListing* Listing(const QDir& folder, const QString& path) {
    const auto it = listings_.constFind(path);
    if (it != listings_.constEnd()) return &it.value();
    if (watches_ < 0) watches_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watches_ < 0) return nullptr;
    constexpr uint32_t kChanges =
        IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    if (::inotify_add_watch(watches_, QFile::encodeName(path).constData(), kChanges) < 0) return nullptr;
    TListing listing;
    listing.Entries = ListFolder(folder);
    listing.Names = QSet<QString>(listing.Entries.cbegin(), listing.Entries.cend());
    return &listings_.insert(path, std::move(listing)).value();
  }

  void CloseWatches() {
    if (watches_ >= 0) ::close(watches_);
    watches_ = -1;
    listings_.clear();
  }

  QString dir_;
  dev_t dirDevice_ = 0;
  ino_t dirInode_ = 0;
  int watches_ = -1;  // inotify descriptor
  QHash<QString, TListing> listings_;  // by folder path
};

// ---- TResManager

namespace {

std::unique_ptr<TBaseResLoader> LoaderFor(const QStringList& fileNames) {
  if (fileNames.size() == 1) return std::make_unique<TResLoader>(fileNames.first());
  return std::make_unique<TMultiResLoader>(fileNames);
}

}  // namespace

TResManager::TResManager(const QStringList& fileNames, const QString& appDir)
    : TResManager(LoaderFor(fileNames), appDir) {}

TResManager::TResManager(std::unique_ptr<TBaseResLoader> loader, const QString& appDir) : loader_(std::move(loader)) {
  appDir_ = appDir.isEmpty() ? QCoreApplication::applicationDirPath() : appDir;
  if (!appDir_.endsWith('/')) appDir_ += '/';
  looseFiles_ = std::make_unique<TLooseFiles>(appDir_);
}

TResManager::~TResManager() { CloseCurrent(); }

void TResManager::CloseCurrent() {
  current_.reset();
  looseFile_.reset();
}

qint64 TResManager::Open(const QString& name) {
  CloseCurrent();
  const QString loose = looseFiles_->Find(name);
  if (!loose.isEmpty()) {
    looseFile_ = std::make_unique<TFileStream>(loose, FileMode::OpenRead);
    current_ = std::make_unique<TWindowStream>(*looseFile_, 0, looseFile_->Size());
    return current_->Size();
  }
  const qint64 size = loader_->OpenEntry(name);
  TStream& stream = loader_->GetStream();
  current_ = std::make_unique<TWindowStream>(stream, stream.Position(), size);
  return size;
}

TStream& TResManager::Current() {
  if (!current_) throw Exception("No resource opened");
  return *current_;
}

void TResManager::LoadBitmap(QImage& bitmap, const QString& name) {
  const qint64 size = Open(name);
  if (size < 1) throw Exception(QStringLiteral("Invalid bitmap: ") + name);
  unsigned char kind = 0;
  current_->ReadBuffer(&kind, 1);
  QImage image;
  switch (static_cast<BitmapKind>(kind)) {
    case BitmapKind::Jpeg: image = DecodeJpeg(ReadAll(*current_, size - 1)); break;
    case BitmapKind::Bmp: image.loadFromData(ReadAll(*current_, size - 1), "BMP"); break;
    case BitmapKind::RleBmp: {
      TRLEStream rle;
      rle.LoadFromStream(*current_);
      if (rle.Size() > kMaxDecodedBitmap) throw Exception(QStringLiteral("Invalid bitmap: ") + name);
      image.loadFromData(ReadAll(rle, rle.Size()), "BMP");
      break;
    }
    default:
      throw Exception(QStringLiteral("Unknown bitmap kind %1 in: %2").arg(kind).arg(name));
  }
  if (image.isNull()) throw Exception(QStringLiteral("Invalid bitmap: ") + name);
  bitmap = image;
}

void TResManager::CopyTo(TStream& stream, const QString& name) {
  const qint64 size = Open(name);
  if (size > 0) stream.CopyFrom(*current_, size);
}

QString TResManager::ExtractToTempFile(const QString& name, const QString& defaultExt) {
  // The extension of the name's last part, with its dot.
  const QString base = name.mid(std::max(name.lastIndexOf('\\'), name.lastIndexOf('/')) + 1);
  const qsizetype dot = base.lastIndexOf('.');
  const QString ext = dot >= 0 ? base.mid(dot) : defaultExt;
  QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/zabko_XXXXXX") + ext);
  const int fd = ::mkstemps(pattern.data(), static_cast<int>(QFile::encodeName(ext).size()));
  if (fd < 0) throw Exception(QStringLiteral("Cannot create temporary file for ") + name);
  ::close(fd);
  const QString fileName = QFile::decodeName(pattern);
  try {
    TFileStream file(fileName, FileMode::OpenWrite);
    CopyTo(file, name);
  } catch (...) {
    QFile::remove(fileName);
    throw;
  }
  return fileName;
}

}  // namespace zabko
