// One step of the game loop on the play screen: the model's tick, then the rendering of the
// 670 x 459 play area (the stage background, four animals of the stage's sheet with their word
// labels, the question, the stage picture, the aim) and of the status bar, from the demo
// Graphics.dat. The game's 30 ms timer leaves this step well under 30 ms; the aim is 3 ms.
#include "bench/offscreen_app.h"
#include "game/action_form.h"
#include "game/zabko_game_main_form.h"
#include "tools/word_db_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zabko;

// The main window and the play screen offscreen, settings and data in a temporary place, with
// small word databases; questions come from a fixed list instead of the server.
class TPlayBench {
 public:
  TPlayBench() {
    bench::UseFolders(dir_.path());

    const QString game = QDir(ZABKO_DATA_OUT).filePath("Game");
    TZabkoGameMainForm::TOptions main;
    main.arguments = {"Zabkoplay", "http://127.0.0.1:9/app/"};
    main.programFolder = game;
    main_ = std::make_unique<TZabkoGameMainForm>(main);
    Write(WordLanguage::Hebrew, "ClientPsyHebrew.dat",
          {{"אבא", "father"}, {"בית", "house"}, {"גמל", "camel"}, {"דלת", "door"}});
    Write(WordLanguage::English, "ClientPsyEnglish.dat",
          {{"apple", "תפוח"}, {"book", "ספר"}, {"cat", "חתול"}, {"dog", "כלב"}});

    TActionForm::TOptions options;
    options.programFolder = game;
    options.tickCount = [this] { return now_; };
    options.musicFactory = [](const QString&, const QString&, int) { return std::unique_ptr<TBackgroundMusic>(); };
    options.soundOutput = [](const QByteArray&) {};
    options.showMessage = [](const QString&) {};
    form_ = std::make_unique<TActionForm>(*main_, options);

    TQuestion2Game& g = form_->Game();
    g.SetQuestionSource([](TTestQuestion& q) { q = TTestQuestion{20001, 20002, 20003, 20004, 20002, 1, 0, 0, 0}; });
    g.RoundsLeft = -1;
    g.Reload(TActionForm::kRounds);
    g.Lives = TActionForm::kLives;
    g.Reset();
    form_->FormMouseMove(QPoint(335, 230));
  }

  // The stage with its picture shown; the clock stands, so the picture stays.
  void SetStage(int stage) { form_->Game().SetStage(stage); }
  TActionForm& Form() { return *form_; }

 private:
  void Write(WordLanguage language, const char* file, const QList<std::pair<QString, QString>>& words) {
    TWordDBWriter db(language);
    db.AddSubject({1, 0, QString::fromUtf8("כללי"), "General"});
    db.AddSubject({2, 1, QString::fromUtf8("בית"), "Home"});
    for (const auto& [word, meaning] : words) db.AddWord(word, meaning, 2);
    const QString path = main_->DataManager().GetPath(QString::fromLatin1(file));
    QFile::remove(path);
    db.SaveToFile(path, 3010);
  }

  QTemporaryDir dir_;
  qint64 now_ = 1'000'000;
  std::unique_ptr<TZabkoGameMainForm> main_;
  std::unique_ptr<TActionForm> form_;
};

void BM_PlayScreenTick(benchmark::State& state) {
  if (!QFile::exists(QDir(ZABKO_DATA_OUT).filePath("Game/Graphics.dat"))) {
    state.SkipWithError("no demo game graphics");
    return;
  }
  TPlayBench bench;
  bench.SetStage(static_cast<int>(state.range(0)));
  TActionForm& form = bench.Form();
  for (auto _ : state) {
    form.Game().Tick();
    form.Render();
  }
  state.counters["overlays"] = form.Game().OverlayCount();
  state.counters["animals"] = form.Game().CharacterCount();
}
BENCHMARK(BM_PlayScreenTick)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
