#include "tools/pronunciations.h"

#include "core/res_manager.h"
#include "core/word.h"

#include <QDir>
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

}  // namespace
}  // namespace zabko
