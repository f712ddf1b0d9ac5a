// Loading a 10,000-word database of format 3010 from a file, and searching it by text and id.
#include "core/word_list.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWords = 10000;

QString SearchTextOf(int i) { return QStringLiteral("word%1ing").arg(i); }

// A database shaped as the server's: subjects, per-letter subject counts and word packets with
// texts, meanings, a files packet and sort keys.
std::unique_ptr<zabko::TDataPacket> Database() {
  auto db = std::make_unique<zabko::TDataPacket>();
  db->AddInteger(3010);
  db->AddNewPacket();
  zabko::TDataPacket* subjects = db->AddNewPacket();
  for (int s = 1; s <= 40; ++s) {
    zabko::TDataPacket* p = subjects->AddNewPacket();
    p->AddInteger(s);
    p->AddUTFString(QString::fromUtf8("נושא %1").arg(s));
    p->AddUTFString(QStringLiteral("Subject %1").arg(s));
  }
  zabko::TDataPacket* counts = db->AddNewPacket();
  for (int level = 0; level < 26; ++level) {
    zabko::TDataPacket* byLevel = counts->AddNewPacket();
    byLevel->AddInteger(1);
    zabko::TDataPacket* entry = byLevel->AddNewPacket();
    zabko::TDataPacket* ids = entry->AddNewPacket();
    zabko::TDataPacket* numbers = entry->AddNewPacket();
    for (int s = 2; s <= 40; ++s) {
      ids->AddInteger(s);
      numbers->AddInteger(10);
    }
  }
  zabko::TDataPacket* words = db->AddNewPacket();
  for (int i = 0; i < kWords; ++i) {
    zabko::TDataPacket* w = words->AddNewPacket();
    w->AddInteger(20000 + i);
    w->AddInteger(i % 26 + 1);
    w->AddNewPacket()->AddInteger(i % 40 + 1);
    zabko::TDataPacket* files = w->AddNewPacket();
    files->AddString(QByteArray::number(20000 + i));
    files->AddInteger(12000);
    files->AddString(QByteArray::number(20000 + i) + "a");
    files->AddInteger(9000);
    const QString text = SearchTextOf(i);
    w->AddUTFString(text);
    w->AddUTFString(QString::fromUtf8("לנטוש, לעזוב; לזנוח; להפקיר %1").arg(i));
    w->AddUTFString(text);
    w->AddUTFString(text);
    w->AddUTFString(text);
  }
  return db;
}

struct DatabaseFile {
  DatabaseFile() { Database()->SaveToFile(path); }
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("ClientPsyEnglish.dat"));
};

DatabaseFile& File() {
  static DatabaseFile file;
  return file;
}

// Freeing the loaded list is not part of loading it.
void BM_WordListLoadFromFile(benchmark::State& state) {
  const QString path = File().path;
  for (auto _ : state) {
    auto list = std::make_unique<zabko::TWordList>(zabko::FillWordWithMp3Names);
    list->LoadFromFile(path);
    benchmark::DoNotOptimize(list->Count());
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WordListLoadFromFile)->Unit(benchmark::kMillisecond);

const zabko::TWordList& Loaded() {
  static zabko::TWordList list(zabko::FillWordWithMp3Names);
  if (list.Count() == 0) list.LoadFromFile(File().path);
  return list;
}

// The last word (a scan over the whole list), in another case than stored.
void BM_WordListFindByTextLast(benchmark::State& state) {
  const zabko::TWordList& list = Loaded();
  const QString wanted = SearchTextOf(kWords - 1).toUpper();
  for (auto _ : state) benchmark::DoNotOptimize(list.FindByText(wanted));
}
BENCHMARK(BM_WordListFindByTextLast)->Unit(benchmark::kMicrosecond);

void BM_WordListFindByTextMissing(benchmark::State& state) {
  const zabko::TWordList& list = Loaded();
  const QString wanted = QStringLiteral("no such word");
  for (auto _ : state) benchmark::DoNotOptimize(list.FindByText(wanted));
}
BENCHMARK(BM_WordListFindByTextMissing)->Unit(benchmark::kMicrosecond);

void BM_WordListFindById(benchmark::State& state) {
  const zabko::TWordList& list = Loaded();
  int i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(list.FindById(20000 + (i++ % kWords)));
}
BENCHMARK(BM_WordListFindById);

}  // namespace
