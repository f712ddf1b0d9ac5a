#include "core/buffered_stream.h"
#include "core/rc_or_file_stream.h"
#include "core/rle_stream.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "tests/common/test_util.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::FromHex;

// A run-length stream loaded from coded blocks (the length prefix is added here).
std::unique_ptr<TRLEStream> Decoder(const QByteArray& blocks) {
  TMemoryStream source;
  const qint32 n = static_cast<qint32>(blocks.size());
  source.WriteBuffer(&n, 4);
  source.WriteBuffer(blocks);
  source.SetPosition(0);
  auto rle = std::make_unique<TRLEStream>();
  rle->LoadFromStream(source);
  return rle;
}

QByteArray ReadN(TStream& s, qint64 n) {
  QByteArray out(n, '\0');
  out.resize(s.Read(out.data(), n));
  return out;
}

QByteArray Encode(const QByteArray& data) {
  TRLEStream rle;
  rle.Write(data.constData(), data.size());
  return rle.CodedData();
}

TEST(RLEStream, DecodesRunsAndLiterals) {
  auto rle = Decoder(FromHex("03 80 41 42 43 02 00 78 79"));
  EXPECT_EQ(rle->Size(), 11);
  EXPECT_EQ(ReadN(*rle, 4), QByteArray("ABCA"));
  EXPECT_EQ(ReadN(*rle, 7), QByteArray("BCABCxy"));
  EXPECT_EQ(ReadN(*rle, 5), QByteArray());  // the end delivers nothing more

  EXPECT_EQ(rle->Seek(5, SeekOrigin::Beginning), 5);
  EXPECT_EQ(ReadN(*rle, 3), QByteArray("CAB"));
  EXPECT_EQ(rle->Seek(-2, SeekOrigin::End), 9);
  EXPECT_EQ(ReadN(*rle, 5), QByteArray("xy"));
  EXPECT_EQ(rle->Seek(-3, SeekOrigin::Current), 11);  // no backward moves
}

TEST(RLEStream, SkipsEmptyBlocks) {
  auto rle = Decoder(FromHex("00 00 01 00 41 00 80 5A 5A 5A 01 00 42"));
  EXPECT_EQ(ReadN(*rle, 10), QByteArray("AB"));
}

struct EncodeCase {
  const char* name;
  QByteArray data;
  QByteArray blocks;
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class RLEEncode : public testing::TestWithParam<EncodeCase> {};

TEST_P(RLEEncode, WritesTheExpectedBlocks) {
  const auto& c = GetParam();
  EXPECT_EQ(Encode(c.data).toHex(' '), c.blocks.toHex(' '));
  auto rle = Decoder(Encode(c.data));
  EXPECT_EQ(ReadN(*rle, c.data.size() + 10), c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RLEEncode,
    testing::Values(
        EncodeCase{"RunThenTail", "ABCABCABCxy", FromHex("03 80 41 42 43 02 00 78 79")},
        EncodeCase{"PairStaysLiteral", "ABCABCxyz", FromHex("09 00") + "ABCABCxyz"},
        EncodeCase{"Short", "xy", FromHex("02 00") + "xy"},
        EncodeCase{"LiteralRunLiteral", "xyzABCABCABCABCqrsA",
                   FromHex("03 00") + "xyz" + FromHex("04 80") + "ABC" + FromHex("03 00") + "qrs" +
                       FromHex("01 00") + "A"},
        EncodeCase{"PairThenRun", "ABCABCxyzxyzxyz",
                   FromHex("06 00") + "ABCABC" + FromHex("03 80") + "xyz"}),
    [](const testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

TEST(RLEStream, LongDataIsSplitIntoChunksAndRoundTrips) {
  QByteArray data;
  data += QByteArray(100000 * 3, 'Q');  // long runs
  QRandomGenerator random(7);
  for (int i = 0; i < 70000; ++i) data += static_cast<char>(random.bounded(4));  // mixed
  const QByteArray coded = Encode(data);
  EXPECT_LT(coded.size(), data.size());
  auto rle = Decoder(coded);
  EXPECT_EQ(rle->Size(), data.size());
  // Read in odd-sized pieces so that runs are split across reads.
  QByteArray back;
  for (QByteArray piece; !(piece = ReadN(*rle, 1237)).isEmpty();) back += piece;
  EXPECT_EQ(back, data);
}

TEST(RLEStream, BadCodedDataFailsCleanly) {
  for (const QByteArray& blocks : {FromHex("05 00 41 42"), FromHex("01 80 41"), FromHex("01")}) {
    EXPECT_THROW(Decoder(blocks), Exception) << blocks.toHex().toStdString();
  }
  TMemoryStream shortLength(FromHex("01 00"));
  TRLEStream rle;
  EXPECT_THROW(rle.LoadFromStream(shortLength), Exception);
  TMemoryStream negative(FromHex("FF FF FF FF"));
  EXPECT_THROW(rle.LoadFromStream(negative), Exception);
  TMemoryStream longerThanData(FromHex("10 00 00 00 01 00 41"));
  EXPECT_THROW(rle.LoadFromStream(longerThanData), Exception);
}

TEST(RLEStream, SaveWritesWhatLoadReads) {
  TRLEStream rle;
  rle.Write("ABCABCABCxy", 11);
  TMemoryStream saved;
  rle.SaveToStream(saved);
  saved.SetPosition(0);
  TRLEStream again;
  again.LoadFromStream(saved);
  EXPECT_EQ(ReadN(again, 20), QByteArray("ABCABCABCxy"));
}

TEST(BufferedStream, DeliversEveryByteInOrderAndKnowsItsPosition) {
  QTemporaryDir dir;
  const QString file = dir.filePath("big.bin");
  QByteArray data(3 * 1024 * 1024 + 17, '\0');
  QRandomGenerator random(1);
  for (auto& c : data) c = static_cast<char>(random.bounded(256));
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
  }
  auto stream = TBufferedStream::CreateFromFile(file);
  EXPECT_EQ(stream->Size(), data.size());
  QByteArray back;
  const int sizes[] = {1, 7, 1048576, 3, 1048575, 999999};
  for (int i = 0; back.size() < data.size(); ++i) {
    const QByteArray piece = ReadN(*stream, sizes[i % 6]);
    ASSERT_FALSE(piece.isEmpty());
    back += piece;
    EXPECT_EQ(stream->Position(), back.size());
  }
  EXPECT_EQ(back, data);
  EXPECT_EQ(ReadN(*stream, 10), QByteArray());

  stream->Seek(10, SeekOrigin::Beginning);
  ReadN(*stream, 5);
  stream->Seek(-3, SeekOrigin::Current);
  EXPECT_EQ(stream->Position(), 12);
  EXPECT_EQ(ReadN(*stream, 4), data.mid(12, 4));
  EXPECT_EQ(stream->Write("x", 1), 0);
}

TEST(RCOrFileStream, ResourceNames) {
  EXPECT_EQ(TRCOrFileStream::ResourceNameFor("Hebrew.GUI.txt"), "HEBREW_GUI");
  EXPECT_EQ(TRCOrFileStream::ResourceNameFor("Game.Hebrew.GUI.txt"), "GAME_HEBREW_GUI");
  EXPECT_EQ(TRCOrFileStream::ResourceNameFor("/opt/x/English.GUI.txt"), "ENGLISH_GUI");
}

TEST(RCOrFileStream, ChoosesFileOrResource) {
  QTemporaryDir dir;
  const QString loose = dir.filePath("Test.Pack.txt");
  {
    QFile f(loose);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("loose");
  }
  TRCOrFileStream fromFile(loose, true);
  EXPECT_TRUE(fromFile.IsFile());
  EXPECT_EQ(ReadN(fromFile, 100), QByteArray("loose"));

  TRCOrFileStream fromResource(loose, false);
  EXPECT_FALSE(fromResource.IsFile());
  EXPECT_EQ(ReadN(fromResource, 100), QByteArray("Loose or compiled-in text\n"));
  EXPECT_THROW(fromResource.Write("x", 1), Exception);
  EXPECT_THROW(fromResource.SetSize(0), Exception);

  // A missing loose file falls back to the resource; a missing resource fails.
  TRCOrFileStream fallback(dir.filePath("none/Test.Pack.txt"), true);
  EXPECT_FALSE(fallback.IsFile());
  EXPECT_THROW(TRCOrFileStream("No.Such.txt", false), Exception);
}

}  // namespace
}  // namespace zabko
