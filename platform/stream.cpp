#include "platform/stream.h"

#include "platform/exception.h"

#include <QResource>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zabko {

qint64 TStream::Size() {
  const qint64 position = Seek(0, SeekOrigin::Current);
  const qint64 size = Seek(0, SeekOrigin::End);
  Seek(position, SeekOrigin::Beginning);
  return size;
}

void TStream::SetSize(qint64) {}

void TStream::ReadBuffer(void* buffer, qint64 count) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    const qint64 n = Read(out, count);
    if (n <= 0) throw Exception(kStreamReadError);
    out += n;
    count -= n;
  }
}

void TStream::WriteBuffer(const void* buffer, qint64 count) {
  const auto* in = static_cast<const char*>(buffer);
  while (count > 0) {
    const qint64 n = Write(in, count);
    if (n <= 0) throw Exception(kStreamWriteError);
    in += n;
    count -= n;
  }
}

qint64 TStream::CopyFrom(TStream& source, qint64 count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const qint64 total = count;
  constexpr qint64 kChunk = 64 * 1024;
  QByteArray chunk(static_cast<qsizetype>(std::min(count, kChunk)), Qt::Uninitialized);
  while (count > 0) {
    const qint64 n = std::min(count, kChunk);
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.constData(), n);
    count -= n;
  }
  return total;
}

// ---- TFileStream

TFileStream::TFileStream(const QString& fileName, FileMode mode) : fileName_(fileName) {
  const QByteArray path = fileName.toUtf8();
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case FileMode::OpenRead: flags |= O_RDONLY; break;
    case FileMode::OpenWrite: flags |= O_WRONLY; break;
    case FileMode::OpenReadWrite: flags |= O_RDWR; break;
  }
  fd_ = ::open(path.constData(), flags, 0666);
  if (fd_ < 0) {
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    if (mode == FileMode::Create)
      throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason));
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, reason));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

qint64 TFileStream::Read(void* buffer, qint64 count) {
  if (count <= 0) return 0;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(count));
    if (n >= 0) return n;
    if (errno != EINTR) return 0;
  }
}

qint64 TFileStream::Write(const void* buffer, qint64 count) {
  if (count <= 0) return 0;
  for (;;) {
    const ssize_t n = ::write(fd_, buffer, static_cast<size_t>(count));
    if (n >= 0) return n;
    if (errno != EINTR) return 0;
  }
}

qint64 TFileStream::Seek(qint64 offset, SeekOrigin origin) {
  const int whence = origin == SeekOrigin::Beginning ? SEEK_SET
                     : origin == SeekOrigin::Current ? SEEK_CUR
                                                     : SEEK_END;
  const off_t result = ::lseek(fd_, offset, whence);
  return result < 0 ? ::lseek(fd_, 0, SEEK_CUR) : result;
}

qint64 TFileStream::Size() {
  const off_t position = ::lseek(fd_, 0, SEEK_CUR);
  const off_t size = ::lseek(fd_, 0, SEEK_END);
  ::lseek(fd_, position, SEEK_SET);
  return size;
}

void TFileStream::SetSize(qint64 size) {
  if (::ftruncate(fd_, size) != 0)
    throw Exception(QStringLiteral("Cannot set the size of \"%1\". %2")
                        .arg(fileName_, QString::fromLocal8Bit(std::strerror(errno))));
  if (Position() > size) Seek(size, SeekOrigin::Beginning);
}

// ---- TCustomMemoryStream

qint64 TCustomMemoryStream::Read(void* buffer, qint64 count) {
  if (count <= 0 || position_ >= size_) return 0;
  const qint64 n = std::min(count, size_ - position_);
  std::memcpy(buffer, data_.constData() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

const char* TCustomMemoryStream::PeekBuffer(qint64& available) {
  available = std::max<qint64>(0, size_ - position_);
  return available > 0 ? data_.constData() + position_ : nullptr;
}

qint64 TCustomMemoryStream::Seek(qint64 offset, SeekOrigin origin) {
  qint64 target = offset;
  if (origin == SeekOrigin::Current) target += position_;
  if (origin == SeekOrigin::End) target += size_;
  position_ = std::max<qint64>(0, target);
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& target) const {
  target.WriteBuffer(data_.constData(), size_);
}

void TCustomMemoryStream::SaveToFile(const QString& fileName) const {
  TFileStream file(fileName, FileMode::Create);
  SaveToStream(file);
}

// ---- TMemoryStream

TMemoryStream::TMemoryStream(const QByteArray& contents) {
  data_ = contents;
  size_ = contents.size();
}

void TMemoryStream::Reserve(qint64 capacity) {
  if (capacity <= data_.size()) return;
  const qint64 grown = std::max<qint64>(capacity, std::max<qint64>(data_.size() * 2, 256));
  data_.resize(static_cast<qsizetype>(grown));
}

qint64 TMemoryStream::Write(const void* buffer, qint64 count) {
  if (count <= 0) return 0;
  const qint64 end = position_ + count;
  Reserve(end);
  // Writing past the end leaves a gap of zeros, as SetSize does.
  if (position_ > size_) std::memset(data_.data() + size_, 0, static_cast<size_t>(position_ - size_));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  size_ = std::max(size_, end);
  return count;
}

void TMemoryStream::SetSize(qint64 size) {
  size = std::max<qint64>(0, size);
  Reserve(size);
  if (size > size_) std::memset(data_.data() + size_, 0, static_cast<size_t>(size - size_));
  size_ = size;
  position_ = std::min(position_, size_);
}

void TMemoryStream::Clear() {
  data_.clear();
  size_ = 0;
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const qint64 size = source.Size();
  Clear();
  SetSize(size);
  source.ReadBuffer(data_.data(), size);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const QString& fileName) {
  TFileStream file(fileName, FileMode::OpenRead);
  LoadFromStream(file);
}

// ---- TResourceStream

QString TResourceStream::ResourcePath(const QString& name) {
  return QStringLiteral(":/rcdata/") + name.toUpper();
}

bool TResourceStream::Exists(const QString& name) {
  return QResource(ResourcePath(name)).isValid();
}

TResourceStream::TResourceStream(const QString& name) {
  QResource resource(ResourcePath(name));
  if (!resource.isValid()) throw Exception(QStringLiteral("Resource %1 not found").arg(name));
  data_ = resource.uncompressedData();
  size_ = data_.size();
}

qint64 TResourceStream::Write(const void*, qint64) {
  throw Exception("Can't write to a read-only resource stream");
}

}  // namespace zabko
