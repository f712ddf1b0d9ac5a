// The two interactive paths of the learning views, offscreen: a question panel going from an
// answer to the next question painted (the new question laid out, its answers made distinct, its
// report started, the panel rendered), and the known-words sorter turning a page (the rows
// filled, the group buttons updated, the form rendered). Words come from a word database written
// with the tools' writer, the skin from the generated demo skin.
#include "bench/offscreen_app.h"
#include "core/language_pack.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/views/filter_form.h"
#include "learn/views/sub_test_form.h"
#include "learn/views/tick_clock.h"
#include "learn/views/view_host.h"
#include "net/zabkolex_central.h"
#include "tools/word_db_writer.h"
#include "ui/n_manager.h"
#include "ui/text_measure.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zabko;

class BenchViewHost : public IViewHost {
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
  void AddAnswer(qint32, quint8, const TDataPacket*) override {}
  void MoveWord(TWord&, int, int) override {}
  bool ConfirmLeaveTest() override { return true; }
  void ShowConnectionError() override {}
  bool IsLeftToRight() const override { return false; }
  void ClearLetter() override {}
  void SelectLetter(int) override {}
  int SelectedLetter() const override { return -1; }
  void AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) override {
    Central().CurrentLanguagePack()->AddWordsOfLetters(list, first, last, skipKnown);
  }
  void BuildSubjectList(TSubjectItemList&, int, int) override {}
  void BuildSubjectListOfSubject(qint32, TSubjectItemList&, int, int) override {}
  void SetComboDropWidth(QComboBox*, int) override {}
};

// One application, central object and English word list of 26 x 40 words for all benchmarks.
struct TViewWorld {
  TViewWorld() {
    bench::UseFolders(dir.path());
    central = std::make_unique<TZabkolexCentral>();
    SetCentral(central.get());
    central->Strings().LoadLanguage(1);
    for (WordLanguage language : {WordLanguage::Hebrew, WordLanguage::English}) {
      TWordDBWriter db(language);
      db.AddSubject({1, 0, QString::fromUtf8("כללי"), "General"});
      db.AddSubject({2, 1, QString::fromUtf8("בית"), "Home"});
      if (language == WordLanguage::English) {
        for (char c = 'a'; c <= 'z'; ++c)
          for (int i = 0; i < 40; ++i)
            db.AddWord(QStringLiteral("%1word%2").arg(QChar(c)).arg(i), QStringLiteral("meaning %1%2; other %2").arg(QChar(c)).arg(i), 2);
      } else {
        db.AddWord(QString::fromUtf8("אבא"), "m", 2);
      }
      const QString file = central->ResolveAppDataPath(language == WordLanguage::English ? "ClientPsyEnglish.dat"
                                                                                        : "ClientPsyHebrew.dat");
      QDir().mkpath(QFileInfo(file).path());
      db.SaveToFile(file, 3010);
    }
    central->CreateLanguagePacks({}, {}, {}, {});
    for (const auto& pack : central->LanguagePacks()) {
      if (pack->GetCode() == 20) central->CurrentLanguageId = pack->LanguageId();
    }
    manager.SetFilename(QDir(ZABKO_DATA_OUT).filePath("Data.res"));
    SetMeasureCanvas(&measure);
  }
  ~TViewWorld() { SetCentral(nullptr); }

  QTemporaryDir dir;
  std::unique_ptr<TZabkolexCentral> central;
  TNManager manager;
  TCanvasTextMeasure measure{QFont()};
  BenchViewHost host;
};

TViewWorld* World() {
  static TViewWorld* world = nullptr;
  if (world == nullptr) world = new TViewWorld();
  return world;
}

void Render(QWidget& widget, QImage& canvas) {
  QPainter painter(&canvas);
  widget.render(&painter);
}

void BM_AnswerToNextQuestionPainted(benchmark::State& state) {
  TViewWorld& w = *World();
  TSubTestForm panel(nullptr, w.host, &w.manager, SystemTickClock());
  panel.LoadCaptions();
  panel.resize(568, 169);
  panel.show();
  TWordList& list = *w.central->CurrentWordList();
  QImage canvas(panel.size(), QImage::Format_ARGB32_Premultiplied);
  int position = 1;
  for (auto _ : state) {
    const qint32 base = list.GetWord(position % (list.Count() - 4))->Id;
    const TTestQuestion q{base, base + 1, base + 2, base + 3, base + 2, 1, 0, 0, 0};
    panel.ShowQuestion(q, false, 0, 20, position++);
    panel.KnowBtnClick();
    Render(panel, canvas);
    benchmark::DoNotOptimize(canvas.constBits());
  }
}
BENCHMARK(BM_AnswerToNextQuestionPainted)->Unit(benchmark::kMillisecond);

void BM_SorterPageTurn(benchmark::State& state) {
  TViewWorld& w = *World();
  TFilterForm form(nullptr, w.host, &w.manager);
  form.resize(568, 453);
  form.show();
  form.ShowLetter(0);
  QImage canvas(form.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    if (form.Model().Page() == form.Model().PageCount() - 1) form.FirstPageBtnClick();
    else form.NextBtnClick();
    Render(form, canvas);
    benchmark::DoNotOptimize(canvas.constBits());
  }
}
BENCHMARK(BM_SorterPageTurn)->Unit(benchmark::kMillisecond);

}  // namespace
