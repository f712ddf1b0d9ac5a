// The main window's frames with the Qt measure: refitting a word row (a summary page refits nine
// of them on every resize) and filling the search panel's boxes from 10,000-word packs.
#include "bench/offscreen_app.h"
#include "core/word.h"
#include "core/word_list.h"
#include "learn/frames/frame_host.h"
#include "learn/frames/search_frame.h"
#include "learn/frames/word_frame.h"
#include "net/zabkolex_central.h"
#include "tools/word_db_writer.h"
#include "ui/n_manager.h"
#include "ui/text_measure.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zabko;

constexpr int kWords = 10000;

// A widget application, settings and data in a temporary place, a central object whose two
// packs hold Words generated words each, and the Qt measure.
class TFrameBench {
 public:
  explicit TFrameBench(int words) {
    bench::UseFolders(dir_.path());
    central_ = std::make_unique<TZabkolexCentral>();
    SetCentral(central_.get());
    Write(WordLanguage::Hebrew, "ClientPsyHebrew.dat", QString::fromUtf8("מילה"), words);
    Write(WordLanguage::English, "ClientPsyEnglish.dat", QStringLiteral("word"), words);
    central_->CreateLanguagePacks({}, {}, {}, {});
    SetMeasureCanvas(&measure_);
  }
  ~TFrameBench() {
    SetMeasureCanvas(nullptr);
    SetCentral(nullptr);
  }
  TZabkolexCentral& Central() { return *central_; }

 private:
  void Write(WordLanguage language, const char* file, const QString& stem, int words) {
    TWordDBWriter db(language);
    db.AddSubject({1, 0, QString::fromUtf8("כללי"), "General"});
    db.AddSubject({2, 1, QString::fromUtf8("בית"), "Home"});
    for (int i = 0; i < words; ++i)
      db.AddWord(stem + QString::number(i), QStringLiteral("meaning %1; another meaning; a third").arg(i), 2);
    const QString path = central_->ResolveAppDataPath(QString::fromLatin1(file));
    QDir().mkpath(QFileInfo(path).path());
    db.SaveToFile(path, 3010);
  }

  QTemporaryDir dir_;
  std::unique_ptr<TZabkolexCentral> central_;
  TCanvasTextMeasure measure_{QFont()};
};

// Every skin picture as one plain 200 x 200 bitmap.
class TPlainSkin : public TNBitmapSource {
 public:
  QImage LoadBitmap(const QString&) override {
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    return image;
  }
};

class TNoHost : public IFrameHost {
 public:
  void FocusCurrentView() override {}
  void SelectLanguagePack(int) override {}
  void RefreshView() override {}
  bool LeaveViewForSwitch() override { return true; }
  bool CanChangeLetter(TLanguagePack&, ILetterButton*) override { return true; }
  void LetterChosen(TLanguagePack&, ILetterButton*) override {}
  void ShowWords(const QString&, const TWordItemList&) override {}
  void ShowStringList(const QString&, const TWordItemList&) override {}
  void StackLeftPanel(QWidget*) override {}
  IProgressRunner& ProgressRunner() override { std::abort(); }
  IMessageService& MessageService() override { std::abort(); }
  IFlowClock& FlowClock() override { std::abort(); }
  TZabkolexFlow& Flow() override { std::abort(); }
};

void BM_WordRowFill(benchmark::State& state) {
  TFrameBench bench(10);
  TNManager manager;
  manager.SetBitmapSource(std::make_unique<TPlainSkin>());
  TWord word;
  word.Headword = QString::fromUtf8("התקדמות");
  word.SetMeanings("progress; advance; a moving forward");
  TWordFrm frame(nullptr, &manager);
  frame.resize(int(state.range(0)), int(state.range(1)));
  frame.SetWord(&word);
  for (auto _ : state) frame.Fill();
  state.SetLabel("one row; a summary page refits nine");
}
BENCHMARK(BM_WordRowFill)->Args({538, 38})->Args({1000, 150})->Unit(benchmark::kMicrosecond);

void BM_SearchFill(benchmark::State& state) {
  TFrameBench bench(kWords);
  TNManager manager;
  manager.SetBitmapSource(std::make_unique<TPlainSkin>());
  TNoHost host;
  TSearchFrm frame(nullptr, &manager, &host);
  frame.Setup(800);
  for (auto _ : state) frame.FillPacks();
  state.SetLabel("two packs of 10,000 words");
}
BENCHMARK(BM_SearchFill)->Unit(benchmark::kMillisecond);

}  // namespace
