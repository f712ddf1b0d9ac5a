#include "core/hasher.h"

#include "core/data_packet.h"
#include "platform/stream.h"

#include <cstring>

namespace zabko {

std::int32_t HashMul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t HashAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t HashSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::int32_t HashRem(std::int32_t a, std::int32_t b) {
  // INT32_MIN % -1 traps on x86; every remainder by -1 is 0 anyway.
  if (b == -1) return 0;
  return a % b;  // C++ truncates toward zero: the sign is that of the dividend
}

void THasher::Mix(std::int32_t w1, std::int32_t w2, std::int32_t w3, std::int32_t w4) {
  s1_ ^= w1;
  s2_ ^= w2;
  s3_ ^= w3;
  s4_ ^= w4;
  if (s3_ == 0) s3_ = 1;
  s1_ = HashRem(HashMul(s1_, s2_), s3_);
  s2_ = HashAdd(s4_, s3_);
  s3_ = HashSub(s2_, HashMul(s4_, s1_));
  s4_ = HashMul(HashMul(s3_, s4_), s2_);
}

namespace {

std::int32_t LittleEndianWord(const unsigned char* p) {
  const std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                          (std::uint32_t(p[3]) << 24);
  return static_cast<std::int32_t>(v);
}

}  // namespace

void THasher::HashBlock(const void* buffer, qint64 length) {
  if (length <= 0) return;
  const auto* p = static_cast<const unsigned char*>(buffer);
  while (length > 16) {
    Mix(LittleEndianWord(p), LittleEndianWord(p + 4), LittleEndianWord(p + 8), LittleEndianWord(p + 12));
    p += 16;
    length -= 16;
  }
  unsigned char last[16] = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
  std::memcpy(last, p, static_cast<size_t>(length));
  Mix(LittleEndianWord(last), LittleEndianWord(last + 4), LittleEndianWord(last + 8), LittleEndianWord(last + 12));
}

void THasher::HashStream(TStream& stream) {
  QByteArray chunk(kChunkSize, Qt::Uninitialized);
  for (;;) {
    // A read may return fewer bytes than asked before the end; keep reading until the chunk is
    // full, since a short chunk is padded and would change the digest.
    qint64 filled = 0;
    while (filled < kChunkSize) {
      const qint64 n = stream.Read(chunk.data() + filled, kChunkSize - filled);
      if (n <= 0) break;
      filled += n;
    }
    if (filled == 0) return;
    HashBlock(chunk.constData(), filled);
    if (filled < kChunkSize) return;
  }
}

QByteArray THasher::GetDigest() const {
  unsigned char bytes[16];
  const std::int32_t words[4] = {s1_, s2_, s3_, s4_};
  for (int i = 0; i < 4; ++i) {
    const auto v = static_cast<std::uint32_t>(words[i]);
    for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<unsigned char>(v >> (8 * b));
  }
  return BytesToHex(reinterpret_cast<const char*>(bytes), 16);
}

QByteArray HashStream(TStream& stream) {
  THasher hasher;
  hasher.HashStream(stream);
  return hasher.GetDigest();
}

QByteArray HashFile(const QString& fileName) {
  TFileStream file(fileName, FileMode::OpenRead);
  return HashStream(file);
}

}  // namespace zabko
