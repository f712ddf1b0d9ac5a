// zabko_pronounce: makes the demo pronunciation databases.
//
//   zabko_pronounce OUTDIR CACHEDIR [--hebrew WORDS.dat] [--english WORDS.dat]
//                   [--hebrew-out TIMED.dat] [--english-out TIMED.dat] [--jobs N]
//
// Speaks the main and extra sounds of every word of the given word databases (espeak-ng, lame)
// and writes OUTDIR/Data/BaseAudio (the silences) and OUTDIR/Data/Audio1..22, AudioA..Z.
// Sounds already made are taken from CACHEDIR. The -out files get a copy of the word database
// whose length figures are the playing times of the sounds made, with the silences that MP3
// production writes around them counted in, so that CD production's sizes are what the tracks play.
#include "core/word_list.h"
#include "platform/exception.h"
#include "tools/pronunciations.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <cstdio>

namespace {

int Usage() {
  std::fputs("usage: zabko_pronounce OUTDIR CACHEDIR [--hebrew WORDS.dat] [--english WORDS.dat] "
             "[--hebrew-out TIMED.dat] [--english-out TIMED.dat] [--jobs N]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 2) return Usage();
  QString hebrew;
  QString english;
  QString hebrewOut;
  QString englishOut;
  int jobs = QThread::idealThreadCount();
  for (qsizetype i = 2; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return Usage();
    if (args[i] == "--hebrew") {
      hebrew = args[i + 1];
    } else if (args[i] == "--english") {
      english = args[i + 1];
    } else if (args[i] == "--hebrew-out") {
      hebrewOut = args[i + 1];
    } else if (args[i] == "--english-out") {
      englishOut = args[i + 1];
    } else if (args[i] == "--jobs") {
      jobs = args[i + 1].toInt();
    } else {
      return Usage();
    }
  }
  QString missing;
  if (!zabko::TSpeechMaker::ToolsPresent(&missing)) {
    std::fprintf(stderr, "zabko_pronounce: %s not found; install it (scripts/deps) to make the demo pronunciations\n",
                 qPrintable(missing));
    return 1;
  }
  try {
    std::vector<zabko::TPronunciation> sounds;
    const std::pair<QString, zabko::PronunciationLanguage> packs[] = {
        {hebrew, zabko::PronunciationLanguage::Hebrew}, {english, zabko::PronunciationLanguage::English}};
    for (const auto& [file, language] : packs) {
      if (file.isEmpty()) continue;
      zabko::TWordList words(&zabko::FillWordWithMp3Names);
      words.LoadFromFile(file);
      for (int i = 0; i < words.Count(); ++i) zabko::AddPronunciations(*words.GetWord(i), language, sounds);
    }
    zabko::TSpeechMaker maker(args[1]);
    for (const zabko::TSilence& silence : zabko::Silences()) maker.MakeSilence(silence.Milliseconds);
    maker.MakeSpeech(sounds, jobs);
    const int written = zabko::WritePronunciationDatabases(args[0], sounds, maker);
    QHash<QByteArray, QString> made;
    for (const zabko::TPronunciation& sound : sounds) made.insert(sound.Name.toUpper(), maker.SpeechFile(sound.Voice, sound.Text));
    const zabko::TSilenceTimes silences = zabko::SilenceTimesOf(maker);
    if (!hebrewOut.isEmpty()) zabko::WriteTimedWordDatabase(hebrew, hebrewOut, made, silences);
    if (!englishOut.isEmpty()) zabko::WriteTimedWordDatabase(english, englishOut, made, silences);
    std::printf("zabko_pronounce: %d sounds in %s/Data\n", written, qPrintable(args[0]));
  } catch (const zabko::Exception& e) {
    std::fprintf(stderr, "zabko_pronounce: %s\n", e.what());
    return 1;
  }
  return 0;
}
