#include "core/hasher.h"

#include "platform/exception.h"
#include "platform/stream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

namespace zabko {
namespace {

QByteArray DigestOf(const QByteArray& bytes) {
  TMemoryStream m(bytes);
  return HashStream(m);
}

// Bytes as the hash reads them: a little-endian word.
std::int32_t Word(const QByteArray& bytes, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return static_cast<std::int32_t>(v);
}

QByteArray Pattern(int size) {
  QByteArray b(size, Qt::Uninitialized);
  for (int i = 0; i < size; ++i) b[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  return b;
}

TEST(Hasher, GoldenDigests) {
  const struct {
    const char* text;
    const char* digest;
  } cases[] = {
      {"", "00000000000000000000000000000000"},
      {"abc", "000000000700000007000000C4000000"},
      {"abcdefghijklmnopq", "10C35154288AA7C408C94CC0804E6978"},
  };
  for (const auto& c : cases) EXPECT_EQ(DigestOf(c.text), QByteArray(c.digest)) << c.text;

  THasher h;
  h.HashBlock("abc", 3);
  EXPECT_EQ((std::vector<std::int32_t>{h.S1(), h.S2(), h.S3(), h.S4()}),
            (std::vector<std::int32_t>{0, 7, 7, 196}));
}

TEST(Hasher, ArithmeticWrapsAndTruncatesTowardZero) {
  const struct {
    std::int32_t a, b, rem;
  } rems[] = {{-7, 3, -1}, {7, -3, 1}, {-7, -3, -1}, {7, 3, 1}, {INT_MIN, -1, 0}, {INT_MAX, -1, 0}};
  for (const auto& r : rems) EXPECT_EQ(HashRem(r.a, r.b), r.rem) << r.a << " rem " << r.b;
  EXPECT_EQ(HashMul(0x10000, 0x10000), 0);
  EXPECT_EQ(HashMul(INT_MAX, 2), -2);
  EXPECT_EQ(HashAdd(INT_MAX, 1), INT_MIN);
  EXPECT_EQ(HashSub(INT_MIN, 1), INT_MAX);
}

TEST(Hasher, MixEdges) {
  // S3 zero after the xor becomes 1 before the division.
  THasher zero;
  zero.Mix(5, 6, 0, 2);
  EXPECT_EQ((std::vector<std::int32_t>{zero.S1(), zero.S2(), zero.S3(), zero.S4()}),
            (std::vector<std::int32_t>{0, 3, 3, 18}));
  // The one pair that faults a division instruction: INT_MIN rem -1.
  THasher edge;
  edge.Mix(INT_MIN, 1, -1, 0);
  EXPECT_EQ((std::vector<std::int32_t>{edge.S1(), edge.S2(), edge.S3(), edge.S4()}),
            (std::vector<std::int32_t>{0, -1, -1, 0}));
}

TEST(Hasher, BlockBoundariesOfFiles) {
  QTemporaryDir dir;
  for (int size : {16, 10240, 10241, 3 * 10240 + 5}) {
    const QByteArray bytes = Pattern(size);
    // The expected state, mixed by hand: full blocks, then the padded or full last block.
    THasher expected;
    int at = 0;
    while (size - at > 16) {
      expected.Mix(Word(bytes, at), Word(bytes, at + 4), Word(bytes, at + 8), Word(bytes, at + 12));
      at += 16;
    }
    QByteArray last = bytes.mid(at) + QByteArray::fromHex("01000000020000000300000004000000").mid(size - at);
    expected.Mix(Word(last, 0), Word(last, 4), Word(last, 8), Word(last, 12));

    const QString name = dir.filePath(QString::number(size));
    TMemoryStream(bytes).SaveToFile(name);
    EXPECT_EQ(HashFile(name), expected.GetDigest()) << size;
  }
}

// A stream that hands out at most a few bytes per read, as a pipe or socket might.
class TrickleStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  qint64 Read(void* buffer, qint64 count) override { return TMemoryStream::Read(buffer, std::min<qint64>(count, 7)); }
};

TEST(Hasher, ShortReadsDoNotChangeTheDigest) {
  const QByteArray bytes = Pattern(2 * 10240 + 100);
  TrickleStream trickle(bytes);
  EXPECT_EQ(HashStream(trickle), DigestOf(bytes));
}

TEST(Hasher, StreamIsHashedFromItsPositionAndMissingFileFails) {
  TMemoryStream m(QByteArray("xxabc"));
  m.SetPosition(2);
  EXPECT_EQ(HashStream(m), QByteArray("000000000700000007000000C4000000"));
  EXPECT_THROW(HashFile("/nonexistent/file.dat"), Exception);
}

}  // namespace
}  // namespace zabko
