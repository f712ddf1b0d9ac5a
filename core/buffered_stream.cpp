#include "core/buffered_stream.h"

#include <algorithm>
#include <cstring>

namespace zabko {

TBufferedStream::TBufferedStream(std::unique_ptr<TStream> inner)
    : inner_(std::move(inner)), buffer_(new char[kBufferSize]) {}

std::unique_ptr<TBufferedStream> TBufferedStream::CreateFromFile(const QString& fileName) {
  return std::make_unique<TBufferedStream>(std::make_unique<TFileStream>(fileName, FileMode::OpenRead));
}

bool TBufferedStream::Refill() {
  position_ = 0;
  valid_ = std::max<qint64>(0, inner_->Read(buffer_.get(), kBufferSize));
  return valid_ > 0;
}

qint64 TBufferedStream::Read(void* buffer, qint64 count) {
  auto* out = static_cast<char*>(buffer);
  if (count <= 0) return 0;
  if (valid_ - position_ >= count) {
    std::memcpy(out, buffer_.get() + position_, static_cast<size_t>(count));
    position_ += count;
    return count;
  }
  qint64 copied = 0;
  while (count > 0) {
    if (position_ >= valid_ && !Refill()) break;
    const qint64 n = std::min(count, valid_ - position_);
    std::memcpy(out + copied, buffer_.get() + position_, static_cast<size_t>(n));
    position_ += n;
    copied += n;
    count -= n;
  }
  return copied;
}

qint64 TBufferedStream::Seek(qint64 offset, SeekOrigin origin) {
  if (origin == SeekOrigin::Current) offset -= valid_ - position_;
  position_ = valid_ = 0;
  return inner_->Seek(offset, origin);
}

qint64 TBufferedStream::Position() {
  return inner_->Seek(0, SeekOrigin::Current) - (valid_ - position_);
}

const char* TBufferedStream::PeekBuffer(qint64& available) {
  if (position_ >= valid_) Refill();
  available = valid_ - position_;
  return available > 0 ? buffer_.get() + position_ : nullptr;
}

void TBufferedStream::Consume(qint64 count) {
  const qint64 inBuffer = std::min(count, valid_ - position_);
  position_ += inBuffer;
  if (count > inBuffer) Seek(count - inBuffer, SeekOrigin::Current);
}

}  // namespace zabko
