// The system's own 128-bit file hash. Download indexes give each file's hash as 32 upper-case hex
// characters, so the arithmetic is reproduced bit for bit: four signed 32-bit state words, every
// sum and product wrapped to 32 bits.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zabko {

class TStream;

class THasher {
 public:
  // Bytes read from a stream at a time; a multiple of 16, so only a stream's last block is short.
  static constexpr int kChunkSize = 10240;

  THasher() = default;

  // Mixes Length bytes into the state, 16 at a time; a short last block is laid over the words
  // 1, 2, 3, 4 (little-endian) before it is mixed. Nothing is mixed for Length 0.
  void HashBlock(const void* buffer, qint64 length);
  // One mixing step with four words.
  void Mix(std::int32_t w1, std::int32_t w2, std::int32_t w3, std::int32_t w4);
  // Hashes Stream from its position to its end, in full chunks of kChunkSize bytes.
  void HashStream(TStream& stream);
  // The state S1..S4, each little-endian, as 32 upper-case hex characters.
  QByteArray GetDigest() const;

  std::int32_t S1() const { return s1_; }
  std::int32_t S2() const { return s2_; }
  std::int32_t S3() const { return s3_; }
  std::int32_t S4() const { return s4_; }

 private:
  std::int32_t s1_ = 0, s2_ = 0, s3_ = 0, s4_ = 0;
};

// Digest of a stream (from its position) with a fresh hasher.
QByteArray HashStream(TStream& stream);
// Digest of a file's whole contents; fails with the file stream's open error.
QByteArray HashFile(const QString& fileName);

// The 32-bit arithmetic of the hash, without signed overflow: products and sums wrap modulo 2^32,
// and the remainder is truncated toward zero with any divisor of -1 giving 0.
std::int32_t HashMul(std::int32_t a, std::int32_t b);
std::int32_t HashAdd(std::int32_t a, std::int32_t b);
std::int32_t HashSub(std::int32_t a, std::int32_t b);
std::int32_t HashRem(std::int32_t a, std::int32_t b);

}  // namespace zabko
