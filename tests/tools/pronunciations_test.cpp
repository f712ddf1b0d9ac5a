#include "tools/pronunciations.h"

#include "core/res_manager.h"
#include "core/word.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using Language = PronunciationLanguage;

TEST(Pronunciations, EachWordGoesToTheDatabaseOfItsLetter) {
  const struct {
    Language language;
    qint32 letterNumber;
    const char* searchText;
    const char* database;
  } cases[] = {
      {Language::Hebrew, 1, "", "Data/Audio1"},
      {Language::Hebrew, 22, "", "Data/Audio22"},
      {Language::Hebrew, 0, "", ""},
      {Language::Hebrew, 23, "", ""},
      {Language::English, 0, "apple", "Data/AudioA"},
      {Language::English, 0, "to run", "Data/AudioR"},
      {Language::English, 0, "Zebra", "Data/AudioZ"},
      {Language::English, 0, "1st", ""},
      {Language::English, 0, "", ""},
  };
  for (const auto& c : cases) {
    TWord word;
    word.LetterNumber = c.letterNumber;
    word.SearchText = QString::fromUtf8(c.searchText);
    EXPECT_EQ(AudioDatabaseOf(word, c.language), c.database) << c.letterNumber << " " << c.searchText;
  }
  EXPECT_EQ(AudioDatabaseNames(Language::Hebrew).size(), 22);
  EXPECT_EQ(AudioDatabaseNames(Language::English).size(), 26);
}

TEST(Pronunciations, TheHeadwordInItsLanguageAndEachMeaningInTheOther) {
  TWord word;
  word.SearchText = "dog";
  word.Headword = "Dog";
  word.MainSound.Name = "w_dog.mp3";
  word.SetMeanings(QString::fromUtf8("כלב; כלבלב"));
  word.ExtraSounds = {{"m_dog1.mp3", 0}, {"", 0}, {"m_dog3.mp3", 0}};  // no name, no meaning
  std::vector<TPronunciation> sounds;
  AddPronunciations(word, Language::English, sounds);
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_EQ(sounds[0].Database, "Data/AudioD");
  EXPECT_EQ(sounds[0].Name, "w_dog.mp3");
  EXPECT_EQ(sounds[0].Voice, "en");
  EXPECT_EQ(sounds[0].Text, "Dog");
  EXPECT_EQ(sounds[1].Name, "m_dog1.mp3");
  EXPECT_EQ(sounds[1].Voice, "he");
  EXPECT_EQ(sounds[1].Text, QString::fromUtf8("כלב"));
}

TEST(Pronunciations, SpeaksWordsIntoTheDatabasesAndReusesTheCache) {
  if (!TSpeechMaker::ToolsPresent()) GTEST_SKIP() << "espeak-ng or lame is not installed";
  QTemporaryDir dir;
  TWord word;
  word.SearchText = "cat";
  word.MainSound.Name = "cat.mp3";
  word.SetMeanings(QString::fromUtf8("חתול"));
  word.ExtraSounds = {{"cat_he.mp3", 0}};
  std::vector<TPronunciation> sounds;
  AddPronunciations(word, Language::English, sounds);

  TSpeechMaker maker(dir.filePath("cache"));
  for (const TSilence& silence : Silences()) maker.MakeSilence(silence.Milliseconds);
  maker.MakeSpeech(sounds, 2);
  EXPECT_EQ(WritePronunciationDatabases(dir.filePath("out"), sounds, maker), 2);
  EXPECT_EQ(QDir(dir.filePath("out/Data")).entryList(QDir::Files).size(), 1 + 22 + 26);

  TResManager resources({dir.filePath("out/Data/BaseAudio"), dir.filePath("out/Data/AudioC")}, dir.path());
  for (const char* name : {"CAT.MP3", "cat_he.mp3", "ShortSilence", "InterWordSilence", "LongSilence"}) {
    SCOPED_TRACE(name);
    const qint64 size = resources.Open(QString::fromLatin1(name));
    EXPECT_GT(size, 100);
    unsigned char sync[2] = {0, 0};
    resources.Current().ReadBuffer(sync, 2);
    EXPECT_EQ(sync[0], 0xFF);
    EXPECT_EQ(sync[1] & 0xE0, 0xE0) << "an MP3 frame, no tag before it";
  }

  const QFileInfo cached(maker.SpeechFile("en", "cat"));
  const QDateTime made = cached.lastModified();
  maker.MakeSpeech(sounds, 2);
  EXPECT_EQ(QFileInfo(cached.filePath()).lastModified(), made) << "a cached sound is not made again";
}

TEST(Pronunciations, PlayingTimeCountsTheFrames) {
  // 32 kbit/s at 16 kHz: frames of 144 bytes and 576 samples (36 ms); lame adds its delay and
  // pads to whole frames, so 0.3 s of tone plays a little longer.
  auto read = [](const char* name) {
    QFile f(QStringLiteral(ZABKO_TEST_DATA "/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  const QByteArray a = read("tone_a_16k_mono.mp3");
  const QByteArray b = read("tone_b_16k_mono.mp3");
  const qint32 ta = Mp3Milliseconds(a);
  EXPECT_EQ(ta, a.size() / 144 * 36);
  EXPECT_NEAR(ta, 300, 120);
  EXPECT_EQ(Mp3Milliseconds(b), b.size() / 144 * 36);
  EXPECT_EQ(Mp3Milliseconds(a + b), ta + Mp3Milliseconds(b));
  // An ID3v2 tag in front is skipped; bytes that are no frame count nothing.
  const QByteArray tag = QByteArray("ID3\x03\x00\x00\x00\x00\x00\x05", 10) + QByteArray(5, '\xFF');
  EXPECT_EQ(Mp3Milliseconds(tag + a), ta);
  EXPECT_EQ(Mp3Milliseconds(QByteArray(100, 'x')), 0);
}

}  // namespace
}  // namespace zabko
