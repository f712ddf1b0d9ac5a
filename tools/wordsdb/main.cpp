// zabko_wordsdb: writes and lists word databases.
//
//   zabko_wordsdb build hebrew|english SUBJECTS WORDS OUTPUT [1000|3010]
//   zabko_wordsdb list DATABASE
//
// build reads the subject table and the word list (tab-separated text, see data/words) and
// writes the database (format 3010 unless told). list prints one line per word, tab-separated:
// id, letter number, main sound name, text, so that other tools (speech synthesis, the
// stand-in server) can follow the database without reading packets.
#include "core/buffered_stream.h"
#include "core/word_list.h"
#include "platform/exception.h"
#include "tools/word_db_writer.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int Usage() {
  std::fputs("usage: zabko_wordsdb build hebrew|english SUBJECTS WORDS OUTPUT [1000|3010]\n"
             "       zabko_wordsdb list DATABASE\n",
             stderr);
  return 2;
}

int Build(const QStringList& args) {
  if (args.size() < 5 || args.size() > 6 || (args[1] != "hebrew" && args[1] != "english"))
    return Usage();
  const int format = args.size() == 6 ? args[5].toInt() : 3010;
  zabko::TWordDBWriter writer(args[1] == "hebrew" ? zabko::WordLanguage::Hebrew
                                                  : zabko::WordLanguage::English);
  writer.ReadSubjects(args[2]);
  writer.ReadWords(args[3]);
  writer.SaveToFile(args[4], format);
  return 0;
}

int List(const QStringList& args) {
  if (args.size() != 2) return Usage();
  zabko::TWordList list(zabko::FillWordTexts);
  list.LoadFromStream(*zabko::TBufferedStream::CreateFromFile(args[1]));
  for (const auto& w : list.Words()) {
    const QByteArray line = QByteArray::number(w->Id) + '\t' + QByteArray::number(w->LetterNumber) +
                            '\t' + w->MainSound.Name + '\t' + w->Text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) return Usage();
  try {
    if (args[0] == "build") return Build(args);
    if (args[0] == "list") return List(args);
    return Usage();
  } catch (const zabko::Exception& e) {
    std::fprintf(stderr, "zabko_wordsdb: %s\n", e.what());
    return 1;
  }
}
