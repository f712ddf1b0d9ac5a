#include "audio/mpg123_wrapper.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace zabko {
namespace {

constexpr qint64 kWhole = std::numeric_limits<int32_t>::max();

QByteArray Fixture(const char* name) { return QFile::encodeName(test::FixturePath(name)); }

QByteArray DecodeAll(const QByteArray& path) {
  TMPG123Wrapper decoder(path);
  TMemoryStream pcm;
  const qint64 total = decoder.DecodeToStream(pcm, kWhole);
  EXPECT_EQ(total, pcm.Size());
  EXPECT_TRUE(decoder.EndOfStream());
  return pcm.ToByteArray();
}

struct FixtureCase {
  const char* name;
  long rate;
  int channels;
  qint64 bytes;  // every frame decoded whole: frames x samples per frame x channels x 2
};

TEST(MPG123Wrapper, DecodesFixturesToTheirWholeFramesOf16BitPcm) {
  const FixtureCase cases[] = {
      {"tone_a_16k_mono.mp3", 16000, 1, 11 * 576 * 1 * 2},   // 11 frames of 144 bytes
      {"tone_b_16k_mono.mp3", 16000, 1, 8 * 576 * 1 * 2},    // 8 frames
      {"tone_44k_stereo.mp3", 44100, 2, 5 * 1152 * 2 * 2},   // 5 frames of 417 or 418 bytes
  };
  for (const FixtureCase& c : cases) {
    SCOPED_TRACE(c.name);
    TMPG123Wrapper decoder(Fixture(c.name));
    TMemoryStream pcm;
    EXPECT_EQ(decoder.DecodeToStream(pcm, kWhole), c.bytes);
    EXPECT_EQ(decoder.SampleRate(), c.rate);
    EXPECT_EQ(decoder.Channels(), c.channels);
    EXPECT_TRUE(decoder.EndOfStream());
  }
}

TEST(MPG123Wrapper, AConcatenationDecodesToTheSumOfItsParts) {
  QFile a(test::FixturePath("tone_a_16k_mono.mp3"));
  QFile b(test::FixturePath("tone_b_16k_mono.mp3"));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  QTemporaryDir dir;
  QFile joined(dir.filePath("joined.mp3"));
  ASSERT_TRUE(joined.open(QIODevice::WriteOnly));
  const QByteArray first = a.readAll();
  joined.write(first + b.readAll() + first);
  joined.close();
  EXPECT_EQ(DecodeAll(QFile::encodeName(joined.fileName())).size(),
            2 * DecodeAll(Fixture("tone_a_16k_mono.mp3")).size() + DecodeAll(Fixture("tone_b_16k_mono.mp3")).size());
}

TEST(MPG123Wrapper, ALimitStopsAtExactlyTheLimitAndDecodingGoesOnFromThere) {
  const QByteArray whole = DecodeAll(Fixture("tone_a_16k_mono.mp3"));
  TMPG123Wrapper decoder(Fixture("tone_a_16k_mono.mp3"));
  TMemoryStream pcm;
  EXPECT_EQ(decoder.DecodeToStream(pcm, 1001), 1001);
  EXPECT_FALSE(decoder.EndOfStream());
  EXPECT_EQ(decoder.DecodeToStream(pcm, kWhole), whole.size() - 1001);
  EXPECT_EQ(pcm.ToByteArray(), whole);
}

TEST(MPG123Wrapper, RewindDecodesTheFileAgain) {
  const QByteArray whole = DecodeAll(Fixture("tone_b_16k_mono.mp3"));
  TMPG123Wrapper decoder(Fixture("tone_b_16k_mono.mp3"));
  TMemoryStream first;
  decoder.DecodeToStream(first, kWhole);
  decoder.Rewind();
  EXPECT_FALSE(decoder.EndOfStream());
  TMemoryStream second;
  decoder.DecodeToStream(second, kWhole);
  EXPECT_EQ(second.ToByteArray(), whole);
}

TEST(MPG123Wrapper, FilesThatAreNotMp3FailWithTheMethodThatFailed) {
  QTemporaryDir dir;
  const QString text = dir.filePath("words.txt");
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("These are not the sounds you are looking for.\n").repeated(40));
  file.close();
  const struct {
    QByteArray path;
    const char* message;
    bool atOpen;
  } cases[] = {
      {QFile::encodeName(dir.filePath("missing.mp3")), "mpg123 failed with method mpg123_open", true},
      {QFile::encodeName(text), "mpg123 failed with method mpg123_getformat", false},
      {QFile::encodeName(dir.filePath("empty.mp3")), "mpg123 failed with method mpg123_getformat", false},
  };
  QFile empty(dir.filePath("empty.mp3"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    try {
      TMPG123Wrapper decoder(c.path);
      EXPECT_FALSE(c.atOpen);
      TMemoryStream pcm;
      decoder.DecodeToStream(pcm, kWhole);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(MPG123Wrapper, ADecodeErrorIsReportedNotPassedOffAsTheWholeSound) {
  // Two good frames, then bytes the decoder cannot find its way through.
  QFile good(test::FixturePath("tone_a_16k_mono.mp3"));
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  QByteArray damaged = good.read(2 * 144);
  for (int i = 0; i < 2000; ++i) damaged.append(static_cast<char>((i * 37 + 11) % 256));
  QTemporaryDir dir;
  QFile file(dir.filePath("damaged.mp3"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(damaged);
  file.close();

  TMPG123Wrapper decoder(QFile::encodeName(file.fileName()));
  TMemoryStream pcm;
  try {
    decoder.DecodeToStream(pcm, kWhole);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "mpg123 failed with method mpg123_read");
  }
  EXPECT_FALSE(decoder.EndOfStream());
}

}  // namespace
}  // namespace zabko
