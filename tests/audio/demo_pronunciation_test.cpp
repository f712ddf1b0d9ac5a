// The demo data set: every demo word has its pronunciation in the databases the central object
// opens, and the resource player plays it.
#include "audio/mpg123_wrapper.h"
#include "audio/prod_audio.h"
#include "audio/res_player.h"
#include "core/res_manager.h"
#include "core/word_list.h"
#include "tests/audio/fake_wave_out.h"
#include "core/zabkolex_app.h"
#include "core/zabkolex_strings.h"
#include "tests/common/window_fakes.h"
#include "tools/pronunciations.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>

#include <cmath>

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

// Production sizes CD tracks from the length figures: the main sound's figure counts the short and
// long silences written after it (less the fixed allowance production adds), an extra sound's the
// inter-word silence before it, and every meaning has a sound of its own.
TEST(DemoPronunciations, LengthFiguresCountTheSoundsWithTheSilencesWrittenAroundThem) {
  TResManager resources(DemoAudioDatabases(), QStringLiteral(ZABKO_DEMO_DATA));
  auto playingTime = [&](const QByteArray& name) {
    TMemoryStream sound;
    resources.CopyTo(sound, QString::fromLatin1(name));
    return Mp3ExactMilliseconds(sound.ToByteArray());
  };
  const double shortSilence = playingTime("ShortSilence");
  const double interWord = playingTime("InterWordSilence");
  const double longSilence = playingTime("LongSilence");
  EXPECT_NEAR(longSilence, 3500, 100);
  for (const char* file : {"ClientPsyHebrew.dat", "ClientPsyEnglish.dat"}) {
    SCOPED_TRACE(file);
    TWordList words(&FillWordWithMp3Names);
    words.LoadFromFile(QStringLiteral(ZABKO_DEMO_DATA) + "/" + QString::fromLatin1(file));
    for (int i = 0; i < words.Count(); i += 7) {
      const TWord& word = *words.GetWord(i);
      ASSERT_EQ(word.ExtraSounds.size(), static_cast<std::size_t>(word.Meanings.size())) << word.SearchText.toStdString();
      const double main = playingTime(word.MainSound.Name);
      EXPECT_GT(main, 300);
      EXPECT_EQ(word.MainSound.Length, std::ceil(main + shortSilence + longSilence - kWordSilenceCost));
      for (std::size_t k = 0; k < word.ExtraSounds.size(); ++k) {
        const double extra = playingTime(word.ExtraSounds[k].Name) + (k > 0 ? interWord : 0.0);
        EXPECT_EQ(word.ExtraSounds[k].Length, std::ceil(extra));
      }
    }
  }
}

// The playing time of an MP3 file as the decoder gives it, in milliseconds.
double DecodedMilliseconds(const QString& path) {
  TMPG123Wrapper decoder(QFile::encodeName(path));
  qint64 bytes = 0;
  while (!decoder.EndOfStream()) {
    TMemoryStream pcm;
    const qint64 decoded = decoder.DecodeToStream(pcm, 1 << 22);
    if (decoded == 0 && !decoder.EndOfStream()) break;
    bytes += decoded;
  }
  return 1000.0 * static_cast<double>(bytes) / 2.0 / decoder.Channels() / static_cast<double>(decoder.SampleRate());
}

// The Hebrew demo words written as CD tracks, more than a disc of them: each disc plays at most
// 73 minutes when its tracks are decoded, and every track plays as long as production counted it.
TEST(DemoPronunciations, DemoDiscsPlayWithinTheirCapacityWhenDecoded) {
  QTemporaryDir dir;
  TResManager resources(DemoAudioDatabases(), QStringLiteral(ZABKO_DEMO_DATA));
  THebrewLanguage pack(0, 22, QStringLiteral(ZABKO_DEMO_DATA "/ClientPsyHebrew.dat"), std::vector<ILetterButton*>{},
                       nullptr, nullptr, nullptr, TFillWord(FillWordWithMp3Names));
  TZabkolexStrings texts;
  texts.LoadLanguage(0);
  TZabkolexApp app;
  test::TFakeRunner runner;
  test::TFakeMessages messages;
  TProdServices services;
  services.ResManager = &resources;
  services.Pack = &pack;
  services.Texts = &texts;
  services.AppType = &app;
  services.Progress = &runner;
  services.Messages = &messages;
  services.Clock = [] { return EncodeDate(2026, 12, 9); };
  services.OpenFolder = [](const QString&) {};
  TProdCD cd(services);
  // The demo words, again and again until they fill a disc and start a second one.
  TWordItemList items;
  qint64 total = 0;
  while (total <= kDiscSplitCapacity + 60000) {
    for (const auto& word : pack.WordList().Words()) {
      items.append({word->Headword, word.get()});
      total += TProdCD::WordCost(*word);
    }
  }
  cd.SetWordList(items);
  cd.SetOutputFolder(dir.path());
  cd.SetTracksBy(2);
  cd.Produce();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, texts.GetString("SucessfulOutput"));
  ASSERT_GE(cd.GroupFolders().size(), 2) << "the demo list fills more than one disc";

  QHash<QString, double> discs;
  for (const auto& track : cd.Files()) {
    SCOPED_TRACE(track->Name.toStdString());
    const double decoded = DecodedMilliseconds(cd.DatedFolder() + track->Name);
    const double counted = static_cast<double>(TProdCD::TrackCost(*track));
    // Figures are rounded up to whole milliseconds, at most one for each sound of a word.
    EXPECT_LE(decoded, counted);
    EXPECT_GE(decoded, counted - 5.0 * static_cast<double>(track->Words.size()));
    discs[track->Name.section(u'/', 0, 0)] += decoded;
  }
  for (auto it = discs.begin(); it != discs.end(); ++it) {
    EXPECT_LE(it.value(), static_cast<double>(kDiscSplitCapacity)) << it.key().toStdString();
  }
}

#endif

}  // namespace
}  // namespace zabko
