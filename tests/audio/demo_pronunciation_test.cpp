// The demo data set: every demo word has its pronunciation in the databases the central object
// opens, and the resource player plays it.
#include "audio/res_player.h"
#include "core/res_manager.h"
#include "core/word_list.h"
#include "tests/audio/fake_wave_out.h"
#include "tools/pronunciations.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace zabko {
namespace {

#ifdef ZABKO_DEMO_DATA

QStringList DemoAudioDatabases() {
  const QString data = QStringLiteral(ZABKO_DEMO_DATA) + "/Data/";
  QStringList files = {data + "BaseAudio"};
  for (int i = 1; i <= 22; ++i) files.append(data + QStringLiteral("Audio%1").arg(i));
  for (char c = 'A'; c <= 'Z'; ++c) files.append(data + "Audio" + QChar::fromLatin1(c));
  return files;
}

TEST(DemoPronunciations, EveryDemoWordIsPronounced) {
  TResManager resources(DemoAudioDatabases(), QStringLiteral(ZABKO_DEMO_DATA));
  for (const char* silence : {"ShortSilence", "InterWordSilence", "LongSilence"}) {
    EXPECT_TRUE(resources.Loader().Contains(QString::fromLatin1(silence))) << silence;
  }
  test::FakeWaveSystem wave;
  TResPlayer player(&resources, 2, 5);
  for (const char* file : {"ClientPsyHebrew.dat", "ClientPsyEnglish.dat"}) {
    SCOPED_TRACE(file);
    TWordList words(&FillWordWithMp3Names);
    words.LoadFromFile(QStringLiteral(ZABKO_DEMO_DATA) + "/" + QString::fromLatin1(file));
    ASSERT_GT(words.Count(), 0);
    int missing = 0;
    for (int i = 0; i < words.Count(); ++i) {
      const TWord& word = *words.GetWord(i);
      if (!resources.Loader().Contains(QString::fromLatin1(word.MainSound.Name))) ++missing;
      for (const TWordFile& extra : word.ExtraSounds) {
        if (!resources.Loader().Contains(QString::fromLatin1(extra.Name))) ++missing;
      }
    }
    EXPECT_EQ(missing, 0);
    const int before = static_cast<int>(wave.written.size());
    player.PlayFile(words.GetWord(0)->MainSound.Name);
    ASSERT_EQ(wave.written.size(), before + 1);
    EXPECT_GT(wave.written.back().size(), 22050 / 10) << "at least a tenth of a second of speech";
  }
}

// Production sizes CD tracks from the length figures: each is the playing time of its sound, in
// milliseconds, and every meaning has a sound of its own.
TEST(DemoPronunciations, LengthFiguresAreThePlayingTimesOfTheSounds) {
  TResManager resources(DemoAudioDatabases(), QStringLiteral(ZABKO_DEMO_DATA));
  auto playingTime = [&](const QByteArray& name) {
    TMemoryStream sound;
    resources.CopyTo(sound, QString::fromLatin1(name));
    return Mp3Milliseconds(sound.ToByteArray());
  };
  EXPECT_NEAR(playingTime("LongSilence"), 3500, 100);
  for (const char* file : {"ClientPsyHebrew.dat", "ClientPsyEnglish.dat"}) {
    SCOPED_TRACE(file);
    TWordList words(&FillWordWithMp3Names);
    words.LoadFromFile(QStringLiteral(ZABKO_DEMO_DATA) + "/" + QString::fromLatin1(file));
    for (int i = 0; i < words.Count(); i += 7) {
      const TWord& word = *words.GetWord(i);
      ASSERT_EQ(word.ExtraSounds.size(), static_cast<std::size_t>(word.Meanings.size())) << word.SearchText.toStdString();
      EXPECT_EQ(word.MainSound.Length, playingTime(word.MainSound.Name));
      EXPECT_GT(word.MainSound.Length, 300);
      for (const TWordFile& extra : word.ExtraSounds) EXPECT_EQ(extra.Length, playingTime(extra.Name));
    }
  }
}

#endif

}  // namespace
}  // namespace zabko
