#include "tools/pronunciations.h"

#include "audio/prod_audio.h"
#include "core/data_packet.h"
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
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
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

qint32 Mp3Milliseconds(const QByteArray& mp3) { return static_cast<qint32>(Mp3ExactMilliseconds(mp3) + 0.5); }

double Mp3ExactMilliseconds(const QByteArray& mp3) {
  const auto* b = reinterpret_cast<const unsigned char*>(mp3.constData());
  const qint64 n = mp3.size();
  qint64 pos = 0;
  if (n >= 10 && mp3.startsWith("ID3")) {
    pos = 10 + ((b[6] & 0x7F) << 21 | (b[7] & 0x7F) << 14 | (b[8] & 0x7F) << 7 | (b[9] & 0x7F));
  }
  static const int kRatesV1[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kRatesV2[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kSampleRates[3] = {44100, 48000, 32000};
  double milliseconds = 0;
  while (pos + 4 <= n) {
    const int version = (b[pos + 1] >> 3) & 3;  // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
    const int layer = (b[pos + 1] >> 1) & 3;    // 1 layer III
    const int bitrateIndex = b[pos + 2] >> 4;
    const int rateIndex = (b[pos + 2] >> 2) & 3;
    if (b[pos] != 0xFF || (b[pos + 1] & 0xE0) != 0xE0 || version == 1 || layer != 1 || bitrateIndex == 0 ||
        bitrateIndex == 15 || rateIndex == 3) {
      ++pos;
      continue;
    }
    const int rate = kSampleRates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    const int samples = version == 3 ? 1152 : 576;
    const int bitrate = (version == 3 ? kRatesV1 : kRatesV2)[bitrateIndex] * 1000;
    pos += samples / 8 * bitrate / rate + ((b[pos + 2] >> 1) & 1);
    milliseconds += 1000.0 * samples / rate;
  }
  return milliseconds;
}

TSilenceTimes SilenceTimesOf(const TSpeechMaker& maker) {
  auto time = [&](const char* name) {
    for (const TSilence& silence : Silences()) {
      if (qstrcmp(silence.Name, name) != 0) continue;
      QFile file(maker.SilenceFile(silence.Milliseconds));
      if (!file.open(QIODevice::ReadOnly)) throw Exception("Cannot read " + file.fileName());
      return Mp3ExactMilliseconds(file.readAll());
    }
    return 0.0;
  };
  return {time("ShortSilence"), time("InterWordSilence"), time("LongSilence")};
}

void WriteTimedWordDatabase(const QString& inFile, const QString& outFile, const QHash<QByteArray, QString>& made,
                            const TSilenceTimes& silences) {
  TDataPacket database;
  database.LoadFromFile(inFile, true);
  if (database.GetInteger(0) != 3010) throw Exception("Not a format 3010 word database: " + inFile);
  const TDataPacket& words = *database.GetPacket(3);
  for (int i = 0; i < words.PacketCount(); ++i) {
    // The word's sound files: the main sound first, then the extra sounds in order.
    TDataPacket& files = *words.GetPacket(i)->GetPacket(1);
    for (int k = 0; k < files.StringCount() && k < files.IntegerCount(); ++k) {
      const QString file = made.value((files.GetString(k) + ".mp3").toUpper());
      if (file.isEmpty()) continue;
      QFile sound(file);
      if (!sound.open(QIODevice::ReadOnly)) throw Exception("Cannot read " + file);
      double figure = Mp3ExactMilliseconds(sound.readAll());
      if (k == 0) {
        figure += silences.Short + silences.Long - static_cast<double>(kWordSilenceCost);
      } else if (k > 1) {
        figure += silences.InterWord;
      }
      files.SetInteger(k, static_cast<qint32>(std::max(std::ceil(figure), 0.0)));
    }
  }
  const QByteArray bytes = database.SaveToBytes();
  QSaveFile out(outFile);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    throw Exception("Cannot write " + outFile);
  }
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
