// The demo pronunciations: every word's sounds spoken by espeak-ng and encoded by lame into the
// resource databases the learning program opens: "Data/BaseAudio" with the silences that MP3
// production puts between sounds, and one database per letter ("Data/Audio1" .. "Data/Audio22"
// for Hebrew, "Data/AudioA" .. "Data/AudioZ" for English) with the words of that letter.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace zabko {

class TWord;

enum class PronunciationLanguage { Hebrew, English };

// One sound to make: the database it goes to, its resource name, and what to speak in which
// espeak-ng voice.
struct TPronunciation {
  QString Database;
  QByteArray Name;
  QString Voice;
  QString Text;
};

// Every letter database of a language, in letter order.
QStringList AudioDatabaseNames(PronunciationLanguage language);
// The letter database of a word, or empty when its letter is outside the alphabet.
QString AudioDatabaseOf(const TWord& word, PronunciationLanguage language);
// The sounds of a word: its main sound speaks the headword in the language's voice, extra sound
// i speaks meaning i in the other language's voice. Sounds without a name are left out.
void AddPronunciations(const TWord& word, PronunciationLanguage language, std::vector<TPronunciation>& out);

// The silences of "Data/BaseAudio", by name, with their length in milliseconds.
struct TSilence {
  const char* Name;
  int Milliseconds;
};
const std::vector<TSilence>& Silences();

// Makes MP3 files with espeak-ng and lame, kept in a cache folder under a hash of what they
// hold, so that a rebuild speaks only what changed.
class TSpeechMaker {
 public:
  explicit TSpeechMaker(QString cacheDir);

  // Whether espeak-ng and lame can be run; Missing names the first that cannot.
  static bool ToolsPresent(QString* missing = nullptr);

  // The cache file of a spoken text or of a silence (made or not).
  QString SpeechFile(const QString& voice, const QString& text) const;
  QString SilenceFile(int milliseconds) const;
  // Makes every missing file, running up to Jobs processes at once. Fails with
  // "Cannot make speech for: " + text when a tool fails.
  void MakeSpeech(const std::vector<TPronunciation>& sounds, int jobs);
  void MakeSilence(int milliseconds);

 private:
  QString cacheDir_;
};

// The playing time of an MPEG audio layer III file in milliseconds, summed over its frames (an
// ID3v2 tag in front is skipped); 0 when it holds no frame.
qint32 Mp3Milliseconds(const QByteArray& mp3);
// The same, unrounded.
double Mp3ExactMilliseconds(const QByteArray& mp3);

// The playing times in milliseconds of the silences MP3 production writes around a word's sounds,
// as the made files play (whole frames, the encoder's padding included).
struct TSilenceTimes {
  double Short = 0;      // after the main sound
  double InterWord = 0;  // between two extra sounds
  double Long = 0;       // at the end of the word
};
TSilenceTimes SilenceTimesOf(const TSpeechMaker& maker);

// Copies the word database InFile (format 3010) to OutFile with length figures that make
// production's word cost (main figure + extra figures + its fixed silence allowance) the playing
// time of what it writes for the word: an extra sound's figure is its file's playing time, plus
// the inter-word silence before it for every extra sound but the first; the main sound's figure
// is its playing time plus the short and long silences, less the fixed allowance. Made maps a
// sound's resource name, upper-cased, to its file; a sound without one keeps its figure. Figures
// are rounded up, so that a disc filled to its capacity never plays longer.
void WriteTimedWordDatabase(const QString& inFile, const QString& outFile, const QHash<QByteArray, QString>& made,
                            const TSilenceTimes& silences);

// Writes BaseAudio and every letter database of both languages below OutDir ("Data/...").
// Returns the number of sounds written.
int WritePronunciationDatabases(const QString& outDir, const std::vector<TPronunciation>& sounds,
                                const TSpeechMaker& maker);

}  // namespace zabko
