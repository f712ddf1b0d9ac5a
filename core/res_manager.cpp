#include "core/res_manager.h"

#include "core/jpeg_image.h"
#include "core/rle_stream.h"
#include "platform/code_page.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

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
}

TResManager::~TResManager() { CloseCurrent(); }

void TResManager::CloseCurrent() {
  current_.reset();
  looseFile_.reset();
}

qint64 TResManager::Open(const QString& name) {
  CloseCurrent();
  const QString loose = FindFileIgnoringCase(appDir_, name);
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

QString FindFileIgnoringCase(const QString& dir, const QString& name) {
  QString path = dir;
  const QStringList parts = QString(name).replace('\\', '/').split('/', Qt::SkipEmptyParts);
  if (parts.isEmpty()) return QString();
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part == QLatin1String(".") || part == QLatin1String("..")) return QString();
    QDir folder(path);
    QString found;
    if (QFileInfo::exists(folder.filePath(part))) {
      found = part;
    } else {
      const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
      for (const QString& entry : entries) {
        if (entry.compare(part, Qt::CaseInsensitive) == 0) {
          found = entry;
          break;
        }
      }
    }
    if (found.isEmpty()) return QString();
    path = folder.filePath(found);
  }
  return QFileInfo(path).isFile() ? path : QString();
}

}  // namespace zabko
