#include "core/rle_stream.h"

#include "platform/exception.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zabko {
namespace {

constexpr int kMaxChunk = 32767;

[[noreturn]] void InvalidData() { throw Exception("Invalid run-length data"); }

quint16 HeaderAt(const QByteArray& coded, qint64 pos) {
  return static_cast<quint16>(static_cast<quint8>(coded[pos]) |
                              (static_cast<quint8>(coded[pos + 1]) << 8));
}

}  // namespace

void TRLEStream::LoadFromStream(TStream& source) {
  qint32 length = 0;
  source.ReadBuffer(&length, 4);
  if (length < 0) InvalidData();
  const qint64 left = source.Size() - source.Position();
  if (left >= 0 && length > left) throw Exception(kStreamReadError);
  QByteArray coded(length, Qt::Uninitialized);
  source.ReadBuffer(coded.data(), length);
  const QByteArray previous = std::exchange(coded_, coded);
  try {
    size_ = ComputeSize();
  } catch (...) {
    coded_ = previous;
    size_ = ComputeSize();
    throw;
  }
  Rewind();
}

void TRLEStream::SaveToStream(TStream& target) const {
  const qint32 length = static_cast<qint32>(coded_.size());
  target.WriteBuffer(&length, 4);
  target.WriteBuffer(coded_);
}

qint64 TRLEStream::ComputeSize() const {
  qint64 size = 0;
  qint64 pos = 0;
  const qint64 end = coded_.size();
  while (pos < end) {
    if (end - pos < 2) InvalidData();
    const quint16 header = HeaderAt(coded_, pos);
    const qint64 count = header & 0x7FFF;
    pos += 2;
    if (header & 0x8000) {
      if (end - pos < 3) InvalidData();
      pos += 3;
      size += 3 * count;
    } else {
      if (end - pos < count) InvalidData();
      pos += count;
      size += count;
    }
  }
  return size;
}

void TRLEStream::Rewind() {
  position_ = 0;
  codedPos_ = 0;
  run_ = false;
  blockLength_ = blockOffset_ = 0;
  NextBlock();
}

// Reads the next non-empty block header; false at the end of the coded data.
bool TRLEStream::NextBlock() {
  while (codedPos_ + 2 <= coded_.size()) {
    const quint16 header = HeaderAt(coded_, codedPos_);
    codedPos_ += 2;
    const qint64 count = header & 0x7FFF;
    run_ = (header & 0x8000) != 0;
    blockOffset_ = 0;
    if (run_) {
      std::memcpy(pattern_, coded_.constData() + codedPos_, 3);
      codedPos_ += 3;
      blockLength_ = 3 * count;
    } else {
      blockLength_ = count;
    }
    if (blockLength_ > 0) return true;
  }
  blockLength_ = blockOffset_ = 0;
  return false;
}

qint64 TRLEStream::Read(void* buffer, qint64 count) {
  auto* out = static_cast<char*>(buffer);
  qint64 delivered = 0;
  while (count > 0) {
    if (blockOffset_ >= blockLength_ && !NextBlock()) break;
    const qint64 n = std::min(count, blockLength_ - blockOffset_);
    if (run_) {
      for (qint64 k = 0; k < n; ++k) out[delivered + k] = pattern_[(blockOffset_ + k) % 3];
    } else {
      std::memcpy(out + delivered, coded_.constData() + codedPos_, static_cast<size_t>(n));
      codedPos_ += n;
    }
    blockOffset_ += n;
    position_ += n;
    delivered += n;
    count -= n;
  }
  return delivered;
}

void TRLEStream::Skip(qint64 count) {
  while (count > 0) {
    if (blockOffset_ >= blockLength_ && !NextBlock()) break;
    const qint64 n = std::min(count, blockLength_ - blockOffset_);
    if (!run_) codedPos_ += n;
    blockOffset_ += n;
    position_ += n;
    count -= n;
  }
}

qint64 TRLEStream::Seek(qint64 offset, SeekOrigin origin) {
  switch (origin) {
    case SeekOrigin::Beginning:
      Rewind();
      Skip(offset);
      break;
    case SeekOrigin::Current: Skip(offset); break;
    case SeekOrigin::End: Skip(offset + (size_ - position_)); break;
  }
  return position_;
}

void TRLEStream::AppendLiteral(const char* data, int count) {
  if (count <= 0) return;
  const quint16 header = static_cast<quint16>(count);
  coded_.append(static_cast<char>(header & 0xFF));
  coded_.append(static_cast<char>(header >> 8));
  coded_.append(data, count);
  size_ += count;
  position_ += count;
}

void TRLEStream::AppendRun(const char* pattern, int count) {
  const quint16 header = static_cast<quint16>(0x8000 | count);
  coded_.append(static_cast<char>(header & 0xFF));
  coded_.append(static_cast<char>(header >> 8));
  coded_.append(pattern, 3);
  size_ += 3LL * count;
  position_ += 3LL * count;
}

qint64 TRLEStream::Write(const void* buffer, qint64 count) {
  const auto* data = static_cast<const char*>(buffer);
  for (qint64 done = 0; done < count;) {
    const int length = static_cast<int>(std::min<qint64>(kMaxChunk, count - done));
    const char* chunk = data + done;
    if (length < 3) {
      AppendLiteral(chunk, length);
    } else {
      TCompress(*this, chunk, length).Run();
      const int whole = length / 3 * 3;
      AppendLiteral(chunk + whole, length - whole);
    }
    done += length;
  }
  // Reading starts over from the first block.
  const qint64 written = position_;
  Rewind();
  Skip(written);
  return count;
}

// ---- TCompress

TCompress::TCompress(TRLEStream& target, const char* chunk, int length)
    : target_(target), chunk_(chunk), length_(length) {}

void TCompress::Run() {
  for (int offset = 0; offset + 3 <= length_; offset += 3) AddTriple(chunk_ + offset);
  Finish();
}

void TCompress::AddTriple(const char* triple) {
  const int offset = static_cast<int>(triple - chunk_);
  if (first_) {
    first_ = false;
    pending_.append(triple, 3);
    last_ = offset;
    repeats_ = 1;
    return;
  }
  if (std::memcmp(triple, chunk_ + last_, 3) == 0) {
    ++repeats_;
    if (repeats_ == 3) {
      // The two earlier copies leave the literal bytes and a run begins.
      target_.AppendLiteral(pending_.constData(), static_cast<int>(pending_.size() - 6));
      pending_.clear();
    } else if (repeats_ < 3) {
      pending_.append(triple, 3);
    }
    return;
  }
  if (repeats_ >= 3) target_.AppendRun(chunk_ + last_, repeats_);
  pending_.append(triple, 3);
  last_ = offset;
  repeats_ = 1;
}

void TCompress::Finish() {
  if (repeats_ >= 3) {
    target_.AppendRun(chunk_ + last_, repeats_);
  } else {
    target_.AppendLiteral(pending_.constData(), static_cast<int>(pending_.size()));
  }
  pending_.clear();
}

}  // namespace zabko
