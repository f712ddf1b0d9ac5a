#include "tools/pronunciations.h"

#include "core/word.h"
#include "platform/code_page.h"
#include "platform/exception.h"
#include "tools/res_db_writer.h"
#include "tools/sound_tools.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace zabko {

namespace {

// Bumped whenever the way sounds are made changes, so that cached files are made again.
constexpr const char* kRecipe = "espeak-ng -s 150 | lame -t -m m -b 32 --resample 22.05 | v1";
constexpr int kHebrewLetters = 22;
constexpr int kEnglishLetters = 26;

QString VoiceOf(PronunciationLanguage language) {
  return language == PronunciationLanguage::Hebrew ? QStringLiteral("he") : QStringLiteral("en");
}

PronunciationLanguage Other(PronunciationLanguage language) {
  return language == PronunciationLanguage::Hebrew ? PronunciationLanguage::English : PronunciationLanguage::Hebrew;
}

QStringList LameArguments() {
  return {"--quiet", "-t", "--noreplaygain", "-m", "m", "-b", "32", "--resample", "22.05"};
}

}  // namespace

QStringList AudioDatabaseNames(PronunciationLanguage language) {
  QStringList names;
  if (language == PronunciationLanguage::Hebrew) {
    for (int i = 1; i <= kHebrewLetters; ++i) names.append(QStringLiteral("Data/Audio%1").arg(i));
  } else {
    for (int i = 0; i < kEnglishLetters; ++i) names.append(QStringLiteral("Data/Audio") + QChar(u'A' + i));
  }
  return names;
}

QString AudioDatabaseOf(const TWord& word, PronunciationLanguage language) {
  int index = -1;
  if (language == PronunciationLanguage::Hebrew) {
    index = word.LetterNumber - 1;
  } else {
    QString text = word.SearchText.toUpper();
    if (text.startsWith(QLatin1String("TO "))) text = text.mid(3);
    if (!text.isEmpty()) index = text[0].unicode() - u'A';
  }
  const QStringList names = AudioDatabaseNames(language);
  return index >= 0 && index < names.size() ? names[index] : QString();
}

void AddPronunciations(const TWord& word, PronunciationLanguage language, std::vector<TPronunciation>& out) {
  const QString database = AudioDatabaseOf(word, language);
  if (database.isEmpty()) return;
  const QString headword = word.Headword.isEmpty() ? word.SearchText : word.Headword;
  if (!word.MainSound.Name.isEmpty() && !headword.trimmed().isEmpty()) {
    out.push_back({database, word.MainSound.Name, VoiceOf(language), headword});
  }
  const size_t extras = std::min(word.ExtraSounds.size(), static_cast<size_t>(word.Meanings.size()));
  for (size_t i = 0; i < extras; ++i) {
    const QString meaning = word.Meanings[static_cast<qsizetype>(i)].trimmed();
    if (word.ExtraSounds[i].Name.isEmpty() || meaning.isEmpty()) continue;
    out.push_back({database, word.ExtraSounds[i].Name, VoiceOf(Other(language)), meaning});
  }
}

const std::vector<TSilence>& Silences() {
  // Production appends a short and a long silence to every word: about 4.5 seconds together.
  static const std::vector<TSilence> silences = {
      {"ShortSilence", 1000}, {"InterWordSilence", 500}, {"LongSilence", 3500}};
  return silences;
}

TSpeechMaker::TSpeechMaker(QString cacheDir) : cacheDir_(std::move(cacheDir)) { QDir().mkpath(cacheDir_); }

bool TSpeechMaker::ToolsPresent(QString* missing) {
  for (const char* tool : {"espeak-ng", "lame"}) {
    if (!ToolPresent(QString::fromLatin1(tool))) {
      if (missing) *missing = QString::fromLatin1(tool);
      return false;
    }
  }
  return true;
}

QString TSpeechMaker::SpeechFile(const QString& voice, const QString& text) const {
  const QByteArray key = QByteArray(kRecipe) + '\n' + voice.toUtf8() + '\n' + text.toUtf8();
  return cacheDir_ + "/" + QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex() + ".mp3";
}

QString TSpeechMaker::SilenceFile(int milliseconds) const {
  return cacheDir_ + QStringLiteral("/silence-%1ms.mp3").arg(milliseconds);
}

void TSpeechMaker::MakeSpeech(const std::vector<TPronunciation>& sounds, int jobs) {
  // One job per distinct text and voice not yet in the cache.
  QMap<QString, const TPronunciation*> todo;
  for (const TPronunciation& sound : sounds) {
    const QString file = SpeechFile(sound.Voice, sound.Text);
    if (!QFile::exists(file)) todo.insert(file, &sound);
  }
  const QList<QString> files = todo.keys();
  std::atomic<qsizetype> next{0};
  std::mutex failureLock;
  QString failure;
  auto worker = [&] {
    for (qsizetype i = next++; i < files.size(); i = next++) {
      const TPronunciation& sound = *todo.value(files[i]);
      const QString wav = files[i] + ".wav";
      const QString mp3 = files[i] + ".part";
      const bool made = RunTool("espeak-ng", {"-v", sound.Voice, "-s", "150", "-w", wav, "--", sound.Text}) &&
                        RunTool("lame", LameArguments() << wav << mp3);
      QFile::remove(wav);
      if (made) {
        try {
          PublishFile(mp3, files[i]);
          continue;
        } catch (const Exception&) {
        }
      }
      QFile::remove(mp3);
      std::lock_guard lock(failureLock);
      if (failure.isEmpty()) failure = sound.Text;
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < std::max(1, jobs); ++i) threads.emplace_back(worker);
  for (std::thread& thread : threads) thread.join();
  if (!failure.isEmpty()) throw Exception("Cannot make speech for: " + failure);
}

void TSpeechMaker::MakeSilence(int milliseconds) {
  const QString target = SilenceFile(milliseconds);
  if (QFile::exists(target)) return;
  // A WAV file of silence, 16-bit mono at 22.05 kHz.
  const QString wav = target + ".wav";
  const QByteArray bytes = WaveFileBytes(QByteArray(22050 * milliseconds / 1000 * 2, '\0'), 22050, 1);
  QFile file(wav);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) throw Exception("Cannot write " + wav);
  file.close();
  const QString part = target + ".part";
  const bool made = RunTool("lame", LameArguments() << wav << part);
  QFile::remove(wav);
  if (!made) {
    QFile::remove(part);
    throw Exception(QStringLiteral("Cannot make silence of %1 ms").arg(milliseconds));
  }
  PublishFile(part, target);
}

int WritePronunciationDatabases(const QString& outDir, const std::vector<TPronunciation>& sounds,
                                const TSpeechMaker& maker) {
  QMap<QString, TResDBWriter> writers;
  QMap<QString, QSet<QByteArray>> names;  // upper-cased names per database: the first one wins
  for (PronunciationLanguage language : {PronunciationLanguage::Hebrew, PronunciationLanguage::English}) {
    for (const QString& database : AudioDatabaseNames(language)) writers[database];
  }
  TResDBWriter& base = writers[QStringLiteral("Data/BaseAudio")];
  for (const TSilence& silence : Silences()) base.AddFile(QString::fromLatin1(silence.Name), maker.SilenceFile(silence.Milliseconds));

  int written = 0;
  for (const TPronunciation& sound : sounds) {
    QSet<QByteArray>& taken = names[sound.Database];
    const QByteArray key = sound.Name.toUpper();
    if (taken.contains(key)) continue;
    taken.insert(key);
    QFile file(maker.SpeechFile(sound.Voice, sound.Text));
    if (!file.open(QIODevice::ReadOnly)) throw Exception("Cannot read " + file.fileName());
    writers[sound.Database].AddData(SystemCodePageToWide(sound.Name), file.readAll());
    ++written;
  }
  QDir().mkpath(outDir + "/Data");
  for (auto it = writers.begin(); it != writers.end(); ++it) it.value().SaveToFile(outDir + "/" + it.key());
  return written;
}

}  // namespace zabko
