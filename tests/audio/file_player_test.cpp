#include "audio/dshow_sound_file.h"
#include "audio/file_player.h"
#include "audio/mci_sound_file.h"
#include "audio/media_play_sound_file.h"
#include "audio/mpg123_sound_file.h"
#include "platform/exception.h"
#include "platform/mci.h"
#include "tests/audio/fake_wave_out.h"
#include "tests/common/test_util.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

namespace zabko {
namespace {

using test::FakeWaveSystem;

QByteArray Fixture(const char* name) { return QFile::encodeName(test::FixturePath(name)); }

TEST(SoundPlayTypeFromOption, MapsTheAudioSetting) {
  const std::map<int, SoundPlayType> cases = {{1, 1}, {2, 0}, {3, 2}, {4, 3}, {5, 4},
                                              {6, 5}, {0, 5}, {-1, 5}, {7, 5}, {1000, 5}};
  for (const auto& [option, type] : cases) EXPECT_EQ(SoundPlayTypeFromOption(option), type) << option;
}

// A sound file that counts what happens to it.
struct Counts {
  int created = 0;
  int plays = 0;
  int freed = 0;
};

class CountingFile : public TSoundFile {
 public:
  CountingFile(const QByteArray& path, Counts& counts) : TSoundFile(path, false), counts_(counts) {}
  ~CountingFile() override { ++counts_.freed; }

 protected:
  void Play() override { ++counts_.plays; }

 private:
  Counts& counts_;
};

class CountingPlayer : public TFilePlayer {
 public:
  CountingPlayer(int maxCount, Counts& counts) : TFilePlayer(5, maxCount), counts(counts) {}
  std::unique_ptr<TSoundFile> CreateSoundFile(const QByteArray&) override {
    ++counts.created;
    return std::make_unique<CountingFile>(Fixture("tone_a_16k_mono.mp3"), counts);
  }
  Counts& counts;
};

TEST(FilePlayer, TheCacheDropsTheFirstKeyInCaselessOrder) {
  Counts counts;
  CountingPlayer player(2, counts);
  for (const char* key : {"b", "C", "a"}) player.PlayFile(key);
  EXPECT_EQ(player.Keys(), (QList<QByteArray>{"a", "C"})) << "b, first of {b, C}, is dropped, not the oldest";
  EXPECT_EQ(player.counts.freed, 1);

  player.PlayFile("c");  // the same key without regard to case
  player.PlayFile("a");
  EXPECT_EQ(player.counts.created, 3) << "a cached key plays from the same sound file";
  EXPECT_EQ(player.counts.plays, 5);
}

TEST(FilePlayer, DestroyingThePlayerFreesEveryEntry) {
  Counts counts;
  {
    CountingPlayer player(10, counts);
    for (const char* key : {"x", "y", "z"}) player.PlayFile(key);
    EXPECT_EQ(counts.freed, 0);
  }
  EXPECT_EQ(counts.freed, 3);
}

TEST(FilePlayer, ShuttingMediaDownLeavesCachedSoundsSafeToFree) {
  for (const SoundPlayType type : {0, 1, 2, 3, 5}) {
    SCOPED_TRACE(static_cast<int>(type));
    FakeWaveSystem wave;
    {
      TFilePlayer player(type, 4);
      player.PlayFile(Fixture("tone_a_16k_mono.mp3"));
      player.PlayFile(Fixture("tone_b_16k_mono.mp3"));
      if (type == 3) {
        auto* held = static_cast<TMediaPlaySoundFile*>(player.Cached(Fixture("tone_a_16k_mono.mp3")));
        ASSERT_TRUE(held->Player()->IsOpen());
        // A free control as well: shutdown frees that one, and keeps those the cache holds.
        OpenSoundFile<TMediaPlaySoundFile>(Fixture("tone_a_16k_mono.mp3"), false);
        EXPECT_EQ(MediaPlayerPoolItems(), (QList<QByteArray>{"Occupied", "Occupied", "Empty"}));
      }
      // The program ends its media while the player still caches the sounds.
      ShutdownMedia();
      if (type == 3) {
        EXPECT_EQ(MediaPlayerPoolItems(), QList<QByteArray>(2, "Occupied"));
      }
      EXPECT_EQ(wave.QueuedCount(), 0) << "what sounded is stopped";
    }  // the cached sounds return their controls and wrappers here: they must still be there
    EXPECT_TRUE(MediaPlayerPoolItems().isEmpty());
  }
}

// A sound file whose file was missing when it was made opens when the file appears, and plays
// nothing until then.
TEST(FilePlayer, ASoundWhoseFileAppearsLaterOpensBeforePlaying) {
  for (const SoundPlayType type : {0, 1, 2, 3, 5}) {
    SCOPED_TRACE(static_cast<int>(type));
    FakeWaveSystem wave;
    QTemporaryDir dir;
    const QString path = dir.filePath("late.mp3");
    const QByteArray key = QFile::encodeName(path);
    TFilePlayer player(type, 2);
    player.PlayFile(key);
    ASSERT_NE(player.Cached(key), nullptr);
    test::RunPostedCalls();
    EXPECT_TRUE(wave.written.isEmpty());

    ASSERT_TRUE(QFile::copy(test::FixturePath("tone_b_16k_mono.mp3"), path));
    player.PlayFile(key);
    test::RunPostedCalls();
    EXPECT_EQ(wave.written.size(), 1);
  }
}

TEST(FilePlayer, TypeFourHasNoEngine) {
  FakeWaveSystem wave;
  TFilePlayer player(SoundPlayTypeFromOption(5), 2);
  try {
    player.PlayFile(Fixture("tone_a_16k_mono.mp3"));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid SoundPlayType");
  }
  EXPECT_TRUE(player.Keys().isEmpty());
  EXPECT_TRUE(wave.written.isEmpty());
}

TEST(FilePlayer, AMissingFileIsNeitherOpenedNorPlayed) {
  FakeWaveSystem wave;
  TFilePlayer player(5, 2);
  EXPECT_NO_THROW(player.PlayFile("/no/such/file.mp3"));
  EXPECT_NO_THROW(player.PlayFile(""));
  EXPECT_TRUE(wave.written.isEmpty());
}

// Every engine plays a fixture through the decoder and the wave output.
class Engines : public testing::TestWithParam<SoundPlayType> {
 protected:
  FakeWaveSystem wave;
};

TEST_P(Engines, PlayTheDecodedSoundOnTheWaveOutput) {
  TFilePlayer player(GetParam(), 2);
  player.PlayFile(Fixture("tone_b_16k_mono.mp3"));
  test::RunPostedCalls();
  ASSERT_EQ(wave.written.size(), 1);
  EXPECT_EQ(wave.written[0].size(), 8 * 576 * 2);
  wave.CompleteAll();
  player.PlayFile(Fixture("tone_b_16k_mono.mp3"));
  EXPECT_EQ(wave.written.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(FilePlayer, Engines, testing::Values(0, 1, 2, 3, 5),
                         [](const testing::TestParamInfo<SoundPlayType>& info) {
                           return "Type" + std::to_string(static_cast<int>(info.param));
                         });

TEST(MCISoundFile, EachFileHasAnAliasOfItsOwn) {
  FakeWaveSystem wave;
  auto first = OpenSoundFile<TMCISoundFile>(Fixture("tone_a_16k_mono.mp3"), false);
  auto second = OpenSoundFile<TMCISoundFile>(Fixture("tone_a_16k_mono.mp3"), false);
  ASSERT_TRUE(first->Alias().startsWith("ZabkolexSound"));
  const int number = first->Alias().mid(13).toInt();
  EXPECT_EQ(second->Alias(), "ZabkolexSound" + QByteArray::number(number + 1));
  EXPECT_TRUE(MciIsOpen(first->Alias()));
  const QByteArray alias = first->Alias();
  first.reset();
  EXPECT_FALSE(MciIsOpen(alias));
  EXPECT_TRUE(MciIsOpen(second->Alias()));
}

TEST(MediaPlaySoundFile, APoolOfFourOrMoreFreesTheControlReturned) {
  FakeWaveSystem wave;
  std::vector<std::unique_ptr<TMediaPlaySoundFile>> files;
  for (int i = 0; i < 4; ++i) files.push_back(OpenSoundFile<TMediaPlaySoundFile>(Fixture("tone_a_16k_mono.mp3"), false));
  EXPECT_EQ(MediaPlayerPoolItems(), QList<QByteArray>(4, "Occupied"));
  files.erase(files.begin());
  EXPECT_EQ(MediaPlayerPoolItems(), QList<QByteArray>(3, "Occupied"));
  files.erase(files.begin());
  EXPECT_EQ(MediaPlayerPoolItems(), (QList<QByteArray>{"Empty", "Occupied", "Occupied"}));
  TMediaPlayer* reused = nullptr;
  {
    auto again = OpenSoundFile<TMediaPlaySoundFile>(Fixture("tone_a_16k_mono.mp3"), false);
    reused = again->Player();
    EXPECT_EQ(MediaPlayerPoolItems(), QList<QByteArray>(3, "Occupied"));
  }
  files.clear();
  EXPECT_EQ(MediaPlayerPoolItems(), QList<QByteArray>(3, "Empty"));
  EXPECT_NE(reused, nullptr);
  ShutdownMedia();
  EXPECT_TRUE(MediaPlayerPoolItems().isEmpty());
}

TEST(DShowSoundFile, WithoutTheDecoderFilterTypeTwoRendersLikeTypeOne) {
  FakeWaveSystem wave;
  SetMp3DecoderFilterAvailable(false);
  auto file = OpenSoundFile<TDShowSoundFile>(Fixture("tone_a_16k_mono.mp3"), false, true);
  SetMp3DecoderFilterAvailable(true);
  EXPECT_FALSE(file->UseDecoder());
  file->PlayFile();
  EXPECT_TRUE(file->IsPlaying());
  wave.CompleteAll();
  EXPECT_FALSE(file->IsPlaying());
  EXPECT_EQ(wave.written.size(), 1);
}

TEST(DShowSoundFile, BuildErrors) {
  FakeWaveSystem wave;
  QTemporaryDir dir;
  QFile text(dir.filePath("not.mp3"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write(QByteArray("plain text, not sound\n").repeated(20));
  text.close();
  const QByteArray path = QFile::encodeName(text.fileName());
  for (const auto& [useDecoder, message] : {std::pair{false, "Failed to render file"}, {true, "Failed loading file"}}) {
    try {
      OpenSoundFile<TDShowSoundFile>(path, false, useDecoder);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
}

TEST(DShowSoundFile, PlayLoopedPlaysUntilStopped) {
  FakeWaveSystem wave;
  auto file = OpenSoundFile<TDShowSoundFile>(Fixture("tone_b_16k_mono.mp3"), false, true);
  ASSERT_TRUE(file->UseDecoder());
  // The device finishes each play a little later; the third one stops the loop.
  QTimer finisher;
  QObject::connect(&finisher, &QTimer::timeout, [&] {
    if (wave.QueuedCount() == 0) return;
    if (wave.written.size() == 3) file->Stop();
    wave.CompleteAll();
  });
  finisher.start(1);
  file->PlayLooped();
  EXPECT_EQ(wave.written.size(), 3);
  EXPECT_FALSE(file->IsPlaying());
}

TEST(SoundFile, ATemporaryFileThatFailsToOpenIsDeleted) {
  FakeWaveSystem wave;
  QTemporaryDir dir;
  const QString path = dir.filePath("temp.mp3");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a sound at all");
  file.close();
  EXPECT_THROW(OpenSoundFile<TMPG123SoundFile>(QFile::encodeName(path), true), Exception);
  EXPECT_FALSE(QFile::exists(path));
}

TEST(SoundFile, AFailingPlayLeavesTheCacheAndTakesItsTemporaryFile) {
  FakeWaveSystem wave;
  QTemporaryDir dir;
  const QString path = dir.filePath("temp.mp3");
  ASSERT_TRUE(QFile::copy(test::FixturePath("tone_a_16k_mono.mp3"), path));

  class TempPlayer : public TFilePlayer {
   public:
    explicit TempPlayer(QString path) : TFilePlayer(5, 2), path_(std::move(path)) {}
    std::unique_ptr<TSoundFile> CreateSoundFile(const QByteArray&) override {
      return NewSoundFile(QFile::encodeName(path_), true);
    }

   private:
    QString path_;
  } player(path);
  wave.openResult = 2;
  EXPECT_THROW(player.PlayFile("word"), EACMOut);
  EXPECT_TRUE(player.Keys().isEmpty());
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace zabko
