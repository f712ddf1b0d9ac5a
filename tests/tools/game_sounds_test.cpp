#include "audio/mpg123_wrapper.h"
#include "core/res_manager.h"
#include "platform/stream.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <limits>

namespace zabko {
namespace {

struct TDecoded {
  long rate = 0;
  int channels = 0;
  qint64 bytes = 0;
  double peak = 0;  // largest sample, 0 to 1
};

TDecoded Decode(const QString& path) {
  TMPG123Wrapper decoder(QFile::encodeName(path));
  decoder.SetupFormat();
  TMemoryStream pcm;
  TDecoded d;
  d.bytes = decoder.DecodeToStream(pcm, std::numeric_limits<int32_t>::max());
  d.rate = decoder.SampleRate();
  d.channels = decoder.Channels();
  const QByteArray data = pcm.ToByteArray();
  const auto* samples = reinterpret_cast<const qint16*>(data.constData());
  for (qsizetype i = 0; i < data.size() / 2; ++i) d.peak = std::max(d.peak, std::abs(samples[i]) / 32768.0);
  return d;
}

bool SoundsMade() { return QFile::exists(QDir(ZABKO_DATA_OUT).filePath("Game/Sounds.dat")); }

TEST(GameSoundsTest, EveryEffectTheGameNamesDecodes) {
  if (!SoundsMade()) GTEST_SKIP() << "the build made no game sounds (no lame)";
  TResManager res({QDir(ZABKO_DATA_OUT).filePath("Game/Sounds.dat")});
  const char* names[] = {"357mag.mp3",          "reload.mp3",           "empty_magazine.mp3",
                         "empty_magazine_dog.mp3", "empty_magazine_boing.mp3", "empty_magazine_Mooo.mp3",
                         "shoot_good.mp3",      "shoot_laugh.mp3",      "shoot_whistle.mp3",
                         "shoot_boing.mp3",     "shoot_mehehe.mp3",     "yeahha_children.mp3",
                         "gameover.mp3"};
  QStringList listed;
  res.Loader().ListNames(listed);
  EXPECT_EQ(listed.size(), 13);
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const QString file = res.ExtractToTempFile(name, ".mp3");
    const TDecoded d = Decode(file);
    QFile::remove(file);
    EXPECT_GT(d.bytes, d.rate / 20 * 2) << "at least 50 ms of sound";
    EXPECT_LT(d.bytes, d.rate * 3 * 2) << "short effects";
    EXPECT_GT(d.peak, 0.2) << "audible";
  }
}

TEST(GameSoundsTest, EveryTrackIsAnIntroAndALoopOfOneFormat) {
  if (!SoundsMade()) GTEST_SKIP() << "the build made no game sounds (no lame)";
  const QDir music(QDir(ZABKO_DATA_OUT).filePath("Game Music"));
  bool shortIntro = false;
  for (const char* track : {"A", "B", "C", "D", "E", "F"}) {
    SCOPED_TRACE(track);
    const bool pair = QString(track) < "E";
    const TDecoded intro = Decode(music.filePath(QString(track) + (pair ? "1.mp3" : ".mp3")));
    const TDecoded loop = Decode(music.filePath(QString(track) + (pair ? "2.mp3" : ".mp3")));
    EXPECT_EQ(intro.rate, loop.rate);
    EXPECT_EQ(intro.channels, loop.channels);
    EXPECT_GT(loop.peak, 0.2);
    // Seconds of music, and whole frames of PCM.
    EXPECT_GT(loop.bytes, loop.rate * loop.channels * 2 * 4);
    EXPECT_EQ(loop.bytes % (loop.channels * 2), 0);
    shortIntro = shortIntro || intro.bytes < 0x100000;
    // The tunes are whole bars (an intro of two, a loop of four) and decode without the
    // encoder's delay and padding, so that the loop joins itself without a gap.
    if (pair) {
      EXPECT_EQ(loop.bytes, 2 * intro.bytes);
    }
  }
  EXPECT_TRUE(shortIntro) << "an intro shorter than one music buffer";
}

}  // namespace
}  // namespace zabko
