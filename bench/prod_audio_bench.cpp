// MP3 production of 1,000 words (inline progress window, no boxes) against a plain loop that
// writes the same files, byte for byte, from the same byte ranges of the same resource database
// with pread and write. Both write to the same disk with the database in the page cache; the
// output folder is removed outside the timed part. Sounds are sized as the demo's 32 kbit/s MP3s:
// about 4 kB a second.
#include "audio/prod_audio.h"
#include "core/language_pack.h"
#include "core/res_manager.h"
#include "core/window_services.h"
#include "core/zabkolex_app.h"
#include "core/zabkolex_strings.h"
#include "tools/res_db_writer.h"
#include "tools/word_db_writer.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

using namespace zabko;

class InlineRunner : public IProgressRunner, public IProgress {
 public:
  bool RunJob(int, const QString&, const TJob& job) override {
    job(*this);
    return true;
  }
  void Step() override {}
  void SetCaption(const QString&) override {}
  void ProcessMessages() override {}
};

class SilentMessages : public IMessageService {
 public:
  void ShowMessageWithLinks(const QString&, const QString&, const QStringList&) override {}
  bool AskYesNo(const QString&, const QString&, int) override { return true; }
};

constexpr int kWords = 1000;

struct Setup {
  QTemporaryDir dir;
  std::unique_ptr<TLanguagePack> pack;
  std::unique_ptr<TResManager> resources;
  TZabkolexStrings texts;
  TZabkolexApp app;
  InlineRunner runner;
  SilentMessages messages;
  QHash<QByteArray, std::pair<qint64, qint64>> ranges;  // name -> offset, size in the database

  Setup() {
    TWordDBWriter words(WordLanguage::English);
    words.AddSubject({1, 0, "Top", "Top"});
    words.AddSubject({11, 1, "Home", "Bayit"});
    for (int i = 0; i < kWords; ++i) {
      words.AddWord(QStringLiteral("w%1").arg(i, 4, 10, QChar(u'0')), QStringLiteral("one; two"), 11);
    }
    words.SaveToFile(dir.filePath("Words.dat"), 3010);
    pack = std::make_unique<TEnglishLanguage>(1, 26, dir.filePath("Words.dat"), std::vector<ILetterButton*>{}, nullptr,
                                              nullptr, nullptr, TFillWord(FillWordWithMp3Names));
    TResDBWriter db;
    QList<QByteArray> names;
    auto add = [&](const QByteArray& name, int bytes) {
      db.AddData(QString::fromLatin1(name), QByteArray(bytes, 'x'));
      names << name;
    };
    add("ShortSilence", 4000);
    add("InterWordSilence", 2000);
    add("LongSilence", 14000);
    for (const auto& word : pack->WordList().Words()) {
      word->ExtraSounds = {{word->MainSound.Name + "e1", 1500}, {word->MainSound.Name + "e2", 1500}};
      add(word->MainSound.Name, 4000);
      for (const TWordFile& f : word->ExtraSounds) add(f.Name, 6000);
    }
    db.SaveToFile(dir.filePath("Sounds.dat"));
    // The blobs follow the directory in order.
    const QByteArray file = db.ToBytes();
    qint64 offset = 4;
    std::vector<std::pair<QByteArray, qint64>> sizes;
    for (int i = 0; i < names.size(); ++i) {
      qint32 length = 0;
      memcpy(&length, file.constData() + offset, 4);
      const QByteArray name = file.mid(offset + 4, length);
      qint32 size = 0;
      memcpy(&size, file.constData() + offset + 4 + length, 4);
      offset += 8 + length;
      sizes.emplace_back(name, size);
    }
    for (const auto& [name, size] : sizes) {
      ranges.insert(name.toUpper(), {offset, size});
      offset += size;
    }
    // A program folder with a few files, as beside the real program.
    QDir().mkpath(dir.filePath("app"));
    for (int i = 0; i < 20; ++i) QFile(dir.filePath(QStringLiteral("app/file%1.txt").arg(i))).open(QIODevice::WriteOnly);
    resources = std::make_unique<TResManager>(QStringList{dir.filePath("Sounds.dat")}, dir.filePath("app"));
    texts.LoadLanguage(1);
  }

  TWordItemList Items() const {
    TWordItemList items;
    for (const auto& word : pack->WordList().Words()) items.append({word->Headword, word.get()});
    return items;
  }
  QString Out() const { return dir.filePath("out"); }
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

void BM_Mp3Production(benchmark::State& state) {
  Setup& s = TheSetup();
  for (auto _ : state) {
    state.PauseTiming();
    QDir(s.Out()).removeRecursively();
    state.ResumeTiming();
    TProdServices services;
    services.ResManager = s.resources.get();
    services.Pack = s.pack.get();
    services.Texts = &s.texts;
    services.AppType = &s.app;
    services.Progress = &s.runner;
    services.Messages = &s.messages;
    services.Clock = [] { return EncodeDate(2026, 12, 9); };
    services.OpenFolder = [](const QString&) {};
    TProdMp3s producer(services, s.pack->WordList());
    producer.SetWordList(s.Items());
    producer.SetOutputFolder(s.Out());
    producer.Produce();
  }
}
BENCHMARK(BM_Mp3Production)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same files from the same byte ranges, with the names the production gives them.
void BM_Mp3PlainLoop(benchmark::State& state) {
  Setup& s = TheSetup();
  const QByteArray db = s.dir.filePath("Sounds.dat").toUtf8();
  const int in = open(db.constData(), O_RDONLY);
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    state.PauseTiming();
    QDir(s.Out()).removeRecursively();
    state.ResumeTiming();
    const QString dated = s.Out() + "/9-12-2026/";
    QDir().mkpath(dated);
    QByteArray list;
    int position = 0;
    for (const TWordItem& item : s.Items()) {
      const TWord& w = *item.Word;
      const QString name = QStringLiteral("%1 - %2 - %3.mp3").arg(++position, 4, 10, QChar(u'0')).arg(w.SearchText, w.MeaningsLine());
      const int out = open((dated + name).toUtf8().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const QByteArray sounds[] = {w.MainSound.Name, "ShortSilence", w.ExtraSounds[0].Name, "InterWordSilence",
                                   w.ExtraSounds[1].Name, "LongSilence"};
      for (const QByteArray& sound : sounds) {
        const auto [offset, size] = s.ranges.value(sound.toUpper());
        if (pread(in, buffer.data(), static_cast<size_t>(size), offset) != size ||
            write(out, buffer.data(), static_cast<size_t>(size)) != size) {
          state.SkipWithError("I/O failed");
        }
      }
      close(out);
      list += name.toUtf8() + "\r\n";
    }
    for (const char* playList : {"a.m3u", "b.m3u"}) {
      QFile f(dated + playList);
      if (f.open(QIODevice::WriteOnly)) f.write(list);
    }
  }
  close(in);
}
BENCHMARK(BM_Mp3PlainLoop)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
