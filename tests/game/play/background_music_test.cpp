#include "game/play/background_music.h"

#include "audio/acm_out.h"
#include "audio/mpg123_wrapper.h"
#include "game/play/game_managment.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "tests/audio/fake_wave_out.h"
#include "tests/common/test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace zabko {
namespace {

QByteArray Fixture(const char* name) { return QFile::encodeName(test::FixturePath(name)); }

// The whole PCM of a file, in its own format or converted to Rate and Channels.
QByteArray DecodeAll(const QByteArray& path, long rate = 0, int channels = 0) {
  TMPG123Wrapper decoder(path);
  if (rate != 0) decoder.SetupFormat(rate, channels);
  TMemoryStream pcm;
  decoder.DecodeToStream(pcm, std::numeric_limits<int32_t>::max());
  return pcm.ToByteArray();
}

// Intro once, then the loop for ever: the first Count bytes.
QByteArray Expected(const QByteArray& intro, const QByteArray& loop, qint64 count) {
  QByteArray stream = intro;
  while (stream.size() < count) stream += loop;
  return stream.left(count);
}

QByteArray Joined(const QList<QByteArray>& blocks) {
  QByteArray all;
  for (const QByteArray& block : blocks) all += block;
  return all;
}

class BackgroundMusicTest : public ::testing::Test {
 protected:
  test::FakeWaveSystem wave;
  const QByteArray a = DecodeAll(Fixture("tone_a_16k_mono.mp3"));  // 12672 bytes
  const QByteArray b = DecodeAll(Fixture("tone_b_16k_mono.mp3"));  // 9216 bytes
};

TEST_F(BackgroundMusicTest, TheIntroPlaysOnceThenTheLoopRepeatsWithoutAGap) {
  TMPG123BackgroundMusic music(Fixture("tone_a_16k_mono.mp3"), Fixture("tone_b_16k_mono.mp3"), 16000);
  ASSERT_EQ(wave.formats.size(), 1u);
  const TWaveFormat& format = wave.formats[0];
  EXPECT_EQ(format.FormatTag, kWaveFormatPcm);
  EXPECT_EQ(format.Channels, 1);
  EXPECT_EQ(format.SamplesPerSec, 16000u);
  EXPECT_EQ(format.BitsPerSample, 16);
  EXPECT_EQ(format.BlockAlign, 2);
  EXPECT_EQ(format.AvgBytesPerSec, 32000u);
  EXPECT_EQ(music.Output().NumBuffers, 0);
  EXPECT_EQ(wave.QueuedCount(), 0) << "nothing queued before Play";

  music.Play();
  ASSERT_EQ(wave.written.size(), 2) << "two buffers in flight, none held back";
  // The first buffer holds the intro's end and the loop's start; the loop, shorter than a
  // buffer, is decoded more than once into the second.
  EXPECT_EQ(wave.written[0].size(), 16000);
  EXPECT_EQ(wave.written[1].size(), 16000);
  EXPECT_EQ(Joined(wave.written), Expected(a, b, 32000));

  // Each played buffer is refilled at once.
  for (int played = 1; played <= 3; ++played) {
    wave.devices[0]->CompleteNext();
    test::RunPostedCalls();
    EXPECT_EQ(wave.written.size(), 2 + played);
    EXPECT_EQ(wave.QueuedCount(), 2);
  }
  EXPECT_EQ(Joined(wave.written), Expected(a, b, 5 * 16000));
  EXPECT_FALSE(music.Ended());
}

TEST_F(BackgroundMusicTest, ABufferFilledExactlyAtTheLoopsEndGoesOnWithTheLoop) {
  // Intro + loop fill the first buffer exactly: the loop's end is not yet seen.
  const int size = static_cast<int>(a.size() + b.size());
  TMPG123BackgroundMusic music(Fixture("tone_a_16k_mono.mp3"), Fixture("tone_b_16k_mono.mp3"), size);
  music.Play();
  wave.devices[0]->CompleteNext();
  test::RunPostedCalls();
  ASSERT_EQ(wave.written.size(), 3);
  EXPECT_EQ(Joined(wave.written), Expected(a, b, 3 * size));
  EXPECT_FALSE(music.Ended());
}

TEST_F(BackgroundMusicTest, ALoopOfAnotherFormatIsConvertedToTheIntros) {
  const QByteArray intro = DecodeAll(Fixture("tone_44k_stereo.mp3"));
  const QByteArray loop = DecodeAll(Fixture("tone_b_16k_mono.mp3"), 44100, 2);
  // 0.2 s of mono 16 kHz is about 0.2 s of stereo 44.1 kHz, not 9216 bytes played too fast.
  EXPECT_NEAR(loop.size(), b.size() / 2 * 44100.0 / 16000 * 4, 4000);
  TMPG123BackgroundMusic music(Fixture("tone_44k_stereo.mp3"), Fixture("tone_b_16k_mono.mp3"), 100000);
  ASSERT_EQ(wave.formats.size(), 1u);
  EXPECT_EQ(wave.formats[0].Channels, 2);
  EXPECT_EQ(wave.formats[0].SamplesPerSec, 44100u);
  music.Play();
  EXPECT_EQ(Joined(wave.written), Expected(intro, loop, 200000));
}

TEST_F(BackgroundMusicTest, AnEmptyLoopQueuesWhatWasDecodedAndEndsTheMusic) {
  QTemporaryDir dir;
  QFile empty(dir.filePath("empty.mp3"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  TMPG123BackgroundMusic music(Fixture("tone_a_16k_mono.mp3"), QFile::encodeName(empty.fileName()), 16000);
  music.Play();
  EXPECT_TRUE(music.Ended());
  ASSERT_EQ(wave.written.size(), 1);
  EXPECT_EQ(wave.written[0], a) << "the intro, then nothing";
  wave.CompleteAll();
  EXPECT_EQ(wave.written.size(), 1);
}

TEST_F(BackgroundMusicTest, StopThenDestroyNeverQueuesAnotherBuffer) {
  {
    TMPG123BackgroundMusic music(Fixture("tone_a_16k_mono.mp3"), Fixture("tone_b_16k_mono.mp3"), 4000);
    music.Play();
    ASSERT_EQ(wave.written.size(), 2);
    music.Stop();
    EXPECT_FALSE(music.Output().IsOpen());
    test::RunPostedCalls();
  }
  test::RunPostedCalls();
  EXPECT_EQ(wave.written.size(), 2);
  EXPECT_EQ(wave.QueuedCount(), 0);
}

TEST_F(BackgroundMusicTest, ARefillThatFailsWhilePlayingEndsTheMusicQuietly) {
  TMPG123BackgroundMusic music(Fixture("tone_a_16k_mono.mp3"), Fixture("tone_b_16k_mono.mp3"), 4000);
  music.Play();
  wave.writeResult = 7;  // the device gives up
  wave.devices[0]->CompleteNext();
  EXPECT_NO_THROW(test::RunPostedCalls());
  EXPECT_TRUE(music.Ended());
  EXPECT_FALSE(music.Output().IsOpen());
}

// The model with the real music: a missing file, a file that is no MP3, or no sound device
// leave the game silent and running.
TEST_F(BackgroundMusicTest, TheModelGoesOnSilentWhenMusicCannotPlay) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("Game Music"));
  QFile::copy(test::FixturePath("tone_a_16k_mono.mp3"), dir.filePath("Game Music/A1.mp3"));
  QFile::copy(test::FixturePath("tone_b_16k_mono.mp3"), dir.filePath("Game Music/A2.mp3"));
  QFile text(dir.filePath("Game Music/E.mp3"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not music at all");
  text.close();
  TGameManagment game("", [&](const QString& name) { return dir.filePath(QString(name).replace('\\', '/')); },
                      nullptr, 100, 100);
  game.SetSoundOn(true);

  game.SetMusic(1);
  ASSERT_NE(game.Music(), nullptr) << "track A plays";
  EXPECT_EQ(wave.written.size(), 2);
  for (quint8 track : {2, 5}) {  // B is missing, E does not decode
    EXPECT_NO_THROW(game.SetMusic(track));
    EXPECT_EQ(game.Music(), nullptr);
    EXPECT_EQ(game.StoredTrack(), track);
  }
  wave.openResult = 2;  // no device
  EXPECT_NO_THROW(game.SetMusic(1));
  EXPECT_EQ(game.Music(), nullptr);
  wave.openResult = 0;
  game.SetMusic(1);
  EXPECT_NE(game.Music(), nullptr) << "the next choice plays again";
}

}  // namespace
}  // namespace zabko
