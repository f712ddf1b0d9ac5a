// The play screen against the stand-in server in process: the main window with its own client,
// the word databases in the data folder, a manual clock, scripted random draws, recorded sounds,
// music tracks, messages and results. Tests step the loop by hand: each step moves the clock by
// 30 ms and runs one tick.
#include "game/action_form.h"

#include "core/res_manager.h"
#include "game/zabko_game_main_form.h"
#include "tests/common/frame_grab.h"
#include "tests/game/game_server_fixture.h"
#include "tests/game/question_fixture.h"
#include "ui/n_manager.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zabko::test {
namespace {

// The runner fake that first lets the test act as if from inside the progress dialog, where
// timer events are still delivered.
class TProbeRunner : public TFakeRunner {
 public:
  bool RunJob(int steps, const QString& caption, const TJob& job) override {
    if (during) during(caption);
    return TFakeRunner::RunJob(steps, caption, job);
  }
  std::function<void(const QString& caption)> during;
};

// Music that only tells it was made.
class TSilentMusic : public TBackgroundMusic {
 public:
  void Stop() override {}
  void Play() override {}
};

struct TResult {
  int points = 0, correct = 0, missed = 0;
  std::vector<qint32> words;
};

class ActionFormTest : public GameServerTest {
 protected:
  static constexpr int kFirst = 0, kLast = 25;  // every English word: batches of 8 questions

  void SetUp() override {
    GameServerTest::SetUp();
    const QByteArray url = server_->BaseUrl(dev::TDevServer::MemberName(0));
    TZabkoGameMainForm::TOptions main;
    main.arguments = {"Zabkoplay", QString::fromUtf8(url)};
    main.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    main.makeClient = [this] { return std::make_unique<TGameClient>(new TInProcessChannel(*server_), true); };
    main.progress = &runner_;
    main.showMessage = [this](const QString& text) { messages_ << text; };
    main.confirm = [this](const QString& text) {
      questions_ << text;
      return onConfirm_ ? onConfirm_() : false;
    };
    main.terminate = [] {};
    main_ = std::make_unique<TZabkoGameMainForm>(main);

    // The game's log-on, as the connect job leaves it.
    TGameClient& client = main_->Client();
    client.UserName = kUser;
    client.Password = kPassword;
    client.SetBaseURL(url);
    ASSERT_TRUE(client.LogOn(-1, false));
    client.Authenticated = true;

    for (const QString& source : {HebrewPath(), EnglishPath()}) {
      const QString target = main_->DataManager().GetPath(QFileInfo(source).fileName());
      QFile::remove(target);
      ASSERT_TRUE(QFile::copy(source, target));
    }

    TActionForm::TOptions options;
    options.tickCount = clock_.Function();
    options.random = random_.Function();
    options.soundOutput = [this](const QByteArray& name) { sounds_ << QString::fromLatin1(name); };
    options.musicFactory = [this](const QString& intro, const QString&, int) -> std::unique_ptr<TBackgroundMusic> {
      tracks_ += QFileInfo(intro).fileName().at(0);
      return std::make_unique<TSilentMusic>();
    };
    options.showMessage = [this](const QString& text) {
      messages_ << text;
      if (onMessage_) onMessage_();
    };
    options.progress = &probe_;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    options.showResult = [this](int points, int correct, int missed, const TIntegerList& words) {
      TResult r{points, correct, missed, {}};
      for (int i = 0; i < words.Count(); ++i) r.words.push_back(words.Get(i));
      results_.push_back(r);
    };
    form_ = std::make_unique<TActionForm>(*main_, options);
    server_->ClearLog();
  }

  void TearDown() override {
    form_.reset();
    main_.reset();
    GameServerTest::TearDown();
  }

  TQuestion2Game& Game() const { return form_->Game(); }
  // The letter of the track that plays now, '-' for silence.
  QChar Playing() const { return Game().Music() ? tracks_.back() : QLatin1Char('-'); }

  void Start() {
    main_->StartGame(kFirst, kLast, true, true);
    ASSERT_TRUE(form_->InGame());
    sounds_.clear();
  }

  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      clock_.now += TActionForm::kTickMs;
      form_->TimerTimer();
    }
  }

  // The living answer characters side by side and still, so that a shot hits what it aims at.
  void Spread() {
    for (int i = 0; i < Game().CharacterCount(); ++i) {
      TCharacter* c = Game().Character(i);
      if (Game().IsExploding(c)) continue;
      c->X = 90 + 160 * c->Slot;
      c->Y = 250;
      c->Dx = c->Dy = 0;
    }
  }
  int Living() const {
    int n = 0;
    for (int i = 0; i < Game().CharacterCount(); ++i) n += !Game().IsExploding(Game().Character(i));
    return n;
  }
  int RightSlot() const {
    for (int s = 0; s < 4; ++s)
      if (Game().AnswerAt(s) == Game().Question.WordId) return s;
    return -1;
  }
  // A wrong answer whose character is still there.
  int WrongSlot() const {
    for (int i = 0; i < Game().CharacterCount(); ++i) {
      const TCharacter* c = Game().Character(i);
      if (!Game().IsExploding(c) && c->Slot != RightSlot()) return c->Slot;
    }
    return -1;
  }
  void Click(const QPoint& at) {
    form_->FormMouseMove(at);
    form_->FormMouseDown(Qt::LeftButton);
  }
  void ShootSlot(int slot) {
    ASSERT_GE(slot, 0);
    Spread();
    Click(QPoint(90 + 160 * slot, 250));
  }
  // Right, then the loop until the next question stands.
  void AnswerRight() {
    const int before = Game().CorrectCount;
    ShootSlot(RightSlot());
    ASSERT_EQ(Game().CorrectCount, before + 1);
    for (int i = 0; i < 100 && Game().Answered; ++i) Tick();
    ASSERT_FALSE(Game().Answered) << "the next question came";
    if (Game().RoundsLeft < 2) form_->FormMouseUp(Qt::RightButton);
  }
  void AnswerWrong() {
    ShootSlot(WrongSlot());
    Tick(20);  // its explosion ends
  }
  // The answer rows held for the server for a word, of a kind.
  int Rows(qint32 wordId, int kind) const {
    const TDataPacket& data = form_->WordsCenter().Answers().Data();
    int n = 0;
    for (int i = 0; i < data.GetPacket(1)->IntegerCount(); ++i)
      n += data.GetPacket(1)->GetInteger(i) == wordId && data.GetPacket(2)->GetInteger(i) == kind;
    return n;
  }
  // The kinds of the overlays the game shows now.
  std::vector<int> OverlayKinds() const {
    std::vector<int> kinds;
    for (int i = 0; i < Game().OverlayCount(); ++i)
      kinds.push_back(static_cast<const TShowBitmap*>(Game().Overlay(i))->Kind());
    return kinds;
  }
  // The question times out; the loop runs until the next one stands (or the game is over).
  void TimeOut() {
    clock_.now += TActionForm::kTimeOutMs + 1;
    Tick();
    for (int i = 0; i < 100 && Game().TimedOut && !form_->IsGameOver(); ++i) Tick();
  }

  TProbeRunner probe_;
  TManualClock clock_;
  TScriptedRandom random_;
  QStringList sounds_;
  QStringList messages_;
  QString tracks_;  // the letter of every track started
  std::function<void()> onMessage_;
  QStringList questions_;
  std::function<bool()> onConfirm_;
  std::vector<TResult> results_;
  std::unique_ptr<TZabkoGameMainForm> main_;
  std::unique_ptr<TActionForm> form_;
};

TEST_P(ActionFormTest, ANewGameDocksThePageWithFullMagazineFiveLivesAndTrackB) {
  Start();
  EXPECT_EQ(form_->parentWidget(), main_->MainArea());
  EXPECT_TRUE(form_->Timer()->isActive());
  EXPECT_EQ(form_->Timer()->interval(), 30);
  EXPECT_EQ(Game().RoundsLeft, 6);
  EXPECT_EQ(Game().Lives, 5);
  EXPECT_EQ(Game().Stage, 1);
  EXPECT_EQ(Playing(), 'B');
  EXPECT_EQ(Living(), 4);
  EXPECT_EQ(Game().Score(), 0);
  EXPECT_NE(Game().Question.WordId, 0);
  EXPECT_FALSE(sounds_.contains("reload.mp3")) << "no reload sound at the start";
  EXPECT_EQ(form_->Buffer().size(), QSize(670, 459));
  EXPECT_EQ(form_->StatusImage().size(), QSize(670, 61));
  Tick(3);
  EXPECT_TRUE(SaveFrameGrab(*form_, "action_form"));
}

TEST_P(ActionFormTest, ShotsScoreAndCostAsTheyHitAndTheMagazineEmptiesAndReloads) {
  Start();
  form_->FormMouseUp(Qt::RightButton);
  sounds_.clear();
  enum TTarget { kRight, kWrong, kNothing, kReload };
  const struct {
    const char* what;
    TTarget target;
    int score, lives, rounds, correct, misses;
    const char* sound;  // the last sound, empty: any wrong-answer sound
  } steps[] = {
      {"right at once", kRight, 10, 5, 5, 1, 0, "shoot_good.mp3"},
      {"wrong", kWrong, 8, 4, 4, 1, 0, ""},
      {"at nothing", kNothing, 7, 4, 3, 1, 1, "357mag.mp3"},
      {"at nothing", kNothing, 6, 4, 2, 1, 2, "357mag.mp3"},
      {"at nothing", kNothing, 5, 4, 1, 1, 3, "357mag.mp3"},
      {"the last round", kNothing, 4, 4, 0, 1, 4, "357mag.mp3"},
      {"an empty magazine", kNothing, 4, 4, 0, 1, 4, "empty_magazine.mp3"},
      {"an empty magazine at an answer", kRight, 4, 4, 0, 1, 4, "empty_magazine_dog.mp3"},
      {"right click", kReload, 4, 4, 6, 1, 4, "reload.mp3"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    switch (s.target) {
      case kRight: {
        const bool loaded = Game().RoundsLeft > 0;
        ShootSlot(RightSlot());
        if (loaded) {
          for (int i = 0; i < 100 && Game().Answered; ++i) Tick();
        }
        break;
      }
      case kWrong: ShootSlot(WrongSlot()); break;
      case kNothing:
        Spread();
        Click(QPoint(20, 440));
        break;
      case kReload: form_->FormMouseUp(Qt::RightButton); break;
    }
    EXPECT_EQ(Game().Score(), s.score);
    EXPECT_EQ(Game().Lives, s.lives);
    EXPECT_EQ(Game().RoundsLeft, s.rounds);
    EXPECT_EQ(Game().CorrectCount, s.correct);
    EXPECT_EQ(Game().MissCount, s.misses);
    ASSERT_FALSE(sounds_.isEmpty());
    if (*s.sound) {
      EXPECT_EQ(sounds_.back(), s.sound);
    } else {
      EXPECT_TRUE(sounds_.back().startsWith("shoot_")) << sounds_.back().toStdString();
    }
  }
  // Both answers are held for the server, kind right and wrong.
  EXPECT_EQ(form_->WordsCenter().Answers().Count(), 2);
}

// The status bar's captions ("כדורים", "חיים", "זמן", "שלב") stand in its top rows over the
// rounds, lives, clock and stage: whatever those show, the captions stay whole.
TEST_P(ActionFormTest, TheStatusBarKeepsItsCaptionsWholeOverWhatItShows) {
  Start();
  QImage bar(form_->StatusImage().size(), QImage::Format_RGB32);
  {
    QPainter p(&bar);
    main_->Manager()->DrawPlain(p, 0, main_->Manager()->GetDrawer("controls.bmp"), 0);
  }
  const QRect captions(0, 0, bar.width(), TActionForm::kStatusCaptionHeight);
  const struct {
    int rounds, lives, stage;
    qint64 elapsed;
  } states[] = {{6, 5, 1, 0}, {3, 2, 9, 9870}, {1, 1, 5, 45670}, {0, 0, 2, 99990}};
  for (const auto& st : states) {
    SCOPED_TRACE(testing::Message() << st.rounds << " rounds, " << st.lives << " lives, stage " << st.stage);
    Game().RoundsLeft = st.rounds;
    Game().Lives = st.lives;
    Game().SetStage(st.stage);
    Game().SetElapsed(st.elapsed);
    form_->DrawStatusBar();
    EXPECT_TRUE(form_->StatusImage().copy(captions) == bar.copy(captions));
    // What the slots show still shows, below the captions.
    const QRect shown(kShotLeft, captions.height(), kLevelLeft + 25 - kShotLeft, bar.height() - captions.height());
    EXPECT_FALSE(form_->StatusImage().copy(shown) == bar.copy(shown));
  }
  form_->Render();
  QDir().mkpath(QDir(ZABKO_BUILD_DIR).filePath("frames"));  // this case may be the first to grab a frame
  EXPECT_TRUE(form_->grab().toImage().save(QDir(ZABKO_BUILD_DIR).filePath("frames/status_bar.png")));
}

TEST_P(ActionFormTest, PauseAndMenuHoldTheQuestionClockAndHideTheWords) {
  Start();
  Tick();
  clock_.now += 3000;
  const qint64 elapsed = Game().ElapsedMs();
  const struct {
    QChar key;
    bool message;
  } cases[] = {{' ', true}, {QChar(27), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message ? "space" : "Esc");
    messages_.clear();
    bool stopped = false, hidden = false;
    onMessage_ = [&] {
      stopped = !form_->Timer()->isActive();
      hidden = Game().Hidden;
      clock_.now += 20000;  // the player reads for 20 s
    };
    form_->FormKeyPress(c.key);
    if (c.message) {
      ASSERT_EQ(messages_.size(), 1);
      EXPECT_EQ(messages_[0], main_->Strings().GetString("ActionForm.PauseMsg"));
      EXPECT_TRUE(stopped);
      EXPECT_TRUE(hidden) << "the words are not readable while paused";
    } else {
      EXPECT_TRUE(messages_.isEmpty());
    }
    EXPECT_TRUE(form_->Timer()->isActive()) << "running again";
    EXPECT_FALSE(Game().Hidden);
    EXPECT_EQ(Game().ElapsedMs(), elapsed) << "the remaining time is what it was";
  }
  // Stopped by hand, the menu holds too.
  form_->SetRunning(false);
  EXPECT_TRUE(Game().Hidden);
  EXPECT_EQ(Game().ShownText("cat"), "***");
  clock_.now += 9000;
  form_->SetRunning(true);
  EXPECT_EQ(Game().ElapsedMs(), elapsed);
  Tick();
  EXPECT_EQ(Game().Lives, 5) << "no time-out after the pauses";
}

TEST_P(ActionFormTest, DigitKeysChooseTheMusicTrack) {
  Start();
  const struct {
    char key;
    char playing;
  } cases[] = {{'3', 'D'}, {'1', 'B'}, {'5', 'F'}, {'0', '-'}, {'6', '-'}, {'9', '-'}, {'2', 'C'}, {'6', 'C'}};
  for (const auto& c : cases) {
    form_->FormKeyPress(QLatin1Char(c.key));
    EXPECT_EQ(Playing(), QLatin1Char(c.playing)) << c.key;
  }
  EXPECT_EQ(tracks_, "BDBFC") << "no key for the menu's track A";
}

TEST_P(ActionFormTest, ThirtyRightAnswersRaiseTheStageOnceWithTrackDAndACheer) {
  Start();
  for (int i = 0; i < 29; ++i) ASSERT_NO_FATAL_FAILURE(AnswerRight());
  EXPECT_EQ(Game().Stage, 1);
  EXPECT_FALSE(sounds_.contains("yeahha_children.mp3"));
  ShootSlot(RightSlot());
  EXPECT_EQ(Game().Stage, 2);
  EXPECT_EQ(OverlayKinds(), std::vector<int>{kStageOverlay}) << "the stage picture, no comment";
  // The stage-2 picture over the play area, for a person to look at.
  form_->Render();
  EXPECT_TRUE(form_->grab().toImage().save(QDir(ZABKO_BUILD_DIR).filePath("game_stage2.png")));
  for (int i = 0; i < 100 && Game().Answered; ++i) Tick();
  EXPECT_EQ(Game().Stage, 2);
  EXPECT_EQ(Playing(), 'D');
  EXPECT_EQ(sounds_.count("yeahha_children.mp3"), 1);
  EXPECT_GE(server_->LogOf("Game.GetQuestions").size(), 4u) << "a batch every 8 questions";
  EXPECT_FALSE(server_->LogOf("UpdateWords").empty()) << "answers go up before each new batch";

  // The play area shows stage 2's background where nothing stands (the bottom-left corner).
  TResManager res({QStringLiteral(ZABKO_DATA_OUT "/Game/Graphics.dat")});
  QImage first, second;
  res.LoadBitmap(first, "levels\\1.bmp");
  res.LoadBitmap(second, "levels\\2.bmp");
  const QPoint corner(3, 455);
  ASSERT_NE(first.pixel(corner), second.pixel(corner));
  Spread();
  form_->FormMouseMove(QPoint(400, 250));
  form_->Render();
  EXPECT_EQ(form_->Buffer().pixel(corner), second.pixel(corner));

  // Wrong answers at 30 right raise nothing again.
  sounds_.clear();
  ASSERT_NO_FATAL_FAILURE(AnswerWrong());
  EXPECT_EQ(Game().Stage, 2);
  EXPECT_FALSE(sounds_.contains("yeahha_children.mp3"));
}

// The stage rises inside the 30th right answer, before its character explodes. A wrong answer
// that exploded and went before it moved the later characters down one place; the stage change
// must not hand the right answer to another character, or shooting that one during the
// explosion would be a 31st right answer and a second right row for the server.
TEST_P(ActionFormTest, AStageUpAfterAGoneWrongAnswerLeavesNoSecondRightAnswer) {
  Start();
  for (int i = 0; i < 29; ++i) ASSERT_NO_FATAL_FAILURE(AnswerRight());
  // A question whose right answer has a wrong one before it and one after it (the player lets
  // the others run out, with lives to spare).
  for (int i = 0; i < 6 && (RightSlot() < 1 || RightSlot() > 2); ++i) {
    ASSERT_NO_FATAL_FAILURE(TimeOut());
    Game().Lives = 5;
  }
  ASSERT_TRUE(RightSlot() == 1 || RightSlot() == 2) << RightSlot();
  form_->FormMouseUp(Qt::RightButton);
  const qint32 asked = Game().Question.WordId;

  ShootSlot(0);
  Tick(20);  // the wrong answer explodes and goes
  ASSERT_EQ(Game().CharacterCount(), 3);
  ASSERT_EQ(Game().Lives, 4);
  ShootSlot(RightSlot());
  ASSERT_EQ(Game().Stage, 2);
  EXPECT_EQ(Game().CorrectCount, 30);

  // The player shoots the two characters left while the right one explodes: both are wrong.
  std::vector<QPoint> left;
  for (int i = 0; i < Game().CharacterCount(); ++i) {
    const TCharacter* c = Game().Character(i);
    if (!Game().IsExploding(c)) left.push_back({c->X, c->Y});
  }
  ASSERT_EQ(left.size(), 2u);
  for (const QPoint& at : left) Click(at);
  EXPECT_EQ(Game().CorrectCount, 30);
  EXPECT_EQ(Game().Lives, 2) << "each wrong shot costs a life";
  EXPECT_EQ(Rows(asked, kAnswerRight), 1);
  EXPECT_EQ(Rows(asked, kAnswerWrong), 3);
  form_->Render();
  EXPECT_EQ(Game().Stage, 2);
}

TEST_P(ActionFormTest, TheLastStagesRaiseUpToNineAndNoFurther) {
  Start();
  const struct {
    int stage, correctBefore, stageAfter;
    char playing;
    bool cheer;
  } cases[] = {
      {4, 119, 5, 'B', true},
      {8, 239, 9, 'F', true},
      {9, 269, 9, '-', false},  // the last stage stays, no cheer
      {2, 40, 2, '-', false},   // raised at 30, next at 60
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stage);
    Game().SetStage(c.stage);
    Game().CorrectCount = c.correctBefore;
    form_->FormKeyPress('0');
    sounds_.clear();
    ASSERT_NO_FATAL_FAILURE(AnswerRight());
    EXPECT_EQ(Game().Stage, c.stageAfter);
    EXPECT_EQ(Playing(), QLatin1Char(c.playing));
    EXPECT_EQ(sounds_.contains("yeahha_children.mp3"), c.cheer);
  }
}

TEST_P(ActionFormTest, NoTickRunsWhileABatchIsFetchedOrAnswersGoUp) {
  Start();
  QStringList jobs;
  int questionRequests = -1;
  probe_.during = [&](const QString& caption) {
    jobs << caption;
    EXPECT_FALSE(form_->Timer()->isActive()) << caption.toStdString();
    EXPECT_TRUE(form_->InProgressJob());
    // The dialog is slow, and a timer event arrives inside it.
    clock_.now += 20000;
    questionRequests = static_cast<int>(server_->LogOf("Game.GetQuestions").size());
    const QImage status = form_->StatusImage();
    form_->TimerTimer();
    EXPECT_EQ(form_->StatusImage(), status) << "no tick ran: the clock on the bar did not move";
    EXPECT_EQ(static_cast<int>(server_->LogOf("Game.GetQuestions").size()), questionRequests)
        << "no second fetch from inside the first";
  };
  const qint32 firstBatch = Game().Question.WordId;
  for (int i = 0; i < 8; ++i) ASSERT_NO_FATAL_FAILURE(AnswerRight());
  EXPECT_NE(firstBatch, 0);
  const QStringList expected = {main_->Strings().GetString("WordCenter.UpdatingServer"),
                                main_->Strings().GetString("WordCenter.LoadingQuestions")};
  EXPECT_EQ(jobs, expected) << "the used-up batch: the answers go up, then the next batch comes";
  EXPECT_EQ(Game().Lives, 5) << "the old question did not time out";
  EXPECT_EQ(Game().Score(), 80);
  EXPECT_TRUE(form_->Timer()->isActive()) << "the loop runs on after the jobs";
  EXPECT_FALSE(form_->InProgressJob());
  EXPECT_LT(Game().ElapsedMs(), 1000) << "the new question's clock started after the fetch";
  EXPECT_TRUE(form_->WordsCenter().Answers().IsEmpty());
  EXPECT_EQ(server_->LogOf("UpdateWords").size(), 1u);
}

TEST_P(ActionFormTest, GameOverIgnoresInputAndShowsTheResultAfterFiveSecondsWithTheAnswersUploaded) {
  Start();
  // Four wrong answers, each on its own question, with a right one after each; a shot at
  // nothing; then the fifth wrong answer is the last life.
  std::vector<qint32> missed;
  for (int i = 0; i < 4; ++i) {
    missed.push_back(Game().Question.WordId);
    ASSERT_NO_FATAL_FAILURE(AnswerWrong());
    ASSERT_NO_FATAL_FAILURE(AnswerRight());
  }
  Click(QPoint(20, 440));
  missed.push_back(Game().Question.WordId);
  ShootSlot(WrongSlot());
  EXPECT_EQ(Game().Lives, 0);
  EXPECT_FALSE(form_->IsGameOver()) << "the next tick ends it";
  sounds_.clear();
  Tick();
  ASSERT_TRUE(form_->IsGameOver());
  EXPECT_FALSE(form_->Timer()->isActive());
  EXPECT_TRUE(form_->GameOverTimer()->isActive());
  EXPECT_EQ(form_->GameOverTimer()->interval(), 5000);
  EXPECT_EQ(sounds_, QStringList{"gameover.mp3"});
  EXPECT_FALSE(Game().SoundOn()) << "silent until the result";

  const int score = Game().Score();
  const int rounds = Game().RoundsLeft;
  const int held = form_->WordsCenter().Answers().Count();
  ASSERT_GT(held, 0);
  const struct {
    const char* what;
    std::function<void()> input;
  } inputs[] = {
      {"a left click on an answer", [&] { ShootSlot(RightSlot()); }},
      {"a left click at nothing", [&] { Click(QPoint(20, 440)); }},
      {"a right click", [&] { form_->FormMouseUp(Qt::RightButton); }},
      {"a double click", [&] { form_->FormDblClick(); }},
      {"space", [&] { form_->FormKeyPress(' '); }},
      {"Esc", [&] { form_->FormKeyPress(QChar(27)); }},
      {"a late tick", [&] { Tick(); }},
  };
  for (const auto& in : inputs) {
    SCOPED_TRACE(in.what);
    messages_.clear();
    in.input();
    EXPECT_EQ(Game().Score(), score);
    EXPECT_EQ(Game().RoundsLeft, rounds);
    EXPECT_TRUE(messages_.isEmpty()) << "no pause during game over";
    EXPECT_FALSE(form_->Timer()->isActive()) << "the loop stays off";
    EXPECT_TRUE(form_->GameOverTimer()->isActive());
    EXPECT_EQ(sounds_, QStringList{"gameover.mp3"});
  }
  EXPECT_TRUE(results_.empty());

  server_->ClearLog();
  form_->GameOverTimerTimer();
  EXPECT_FALSE(form_->GameOverTimer()->isActive());
  EXPECT_TRUE(Game().SoundOn()) << "the sound switch is back";
  ASSERT_EQ(results_.size(), 1u);
  EXPECT_EQ(results_[0].points, score);
  EXPECT_EQ(results_[0].correct, 4);
  EXPECT_EQ(results_[0].missed, 5) << "the missed words, not the shots at nothing";
  EXPECT_EQ(Game().MissCount, 1);
  EXPECT_EQ(results_[0].words, missed);
  const auto uploads = server_->LogOf("UpdateWords");
  ASSERT_EQ(uploads.size(), 1u) << "the answers go up at the end";
  EXPECT_EQ(uploads[0].arguments->PacketCount(), held);
  EXPECT_TRUE(form_->WordsCenter().Answers().IsEmpty());
  EXPECT_FALSE(form_->InGame());
}

// A game that ends at stage 1 leaves the stage at 1; the next game still opens with its
// "Stage 1" picture.
TEST_P(ActionFormTest, EveryGameOpensWithItsStagePicture) {
  Start();
  EXPECT_EQ(OverlayKinds(), std::vector<int>{kStageOverlay});
  for (int i = 0; i < 5; ++i) ASSERT_NO_FATAL_FAILURE(TimeOut());
  ASSERT_TRUE(form_->IsGameOver());
  form_->GameOverTimerTimer();
  ASSERT_EQ(results_.size(), 1u);
  ASSERT_EQ(Game().Stage, 1);
  ASSERT_TRUE(OverlayKinds().empty());

  main_->PlayAgain();
  ASSERT_TRUE(form_->InGame());
  EXPECT_EQ(Game().Stage, 1);
  EXPECT_EQ(OverlayKinds(), std::vector<int>{kStageOverlay});
  for (int i = 0; i < Game().CharacterCount(); ++i)
    EXPECT_EQ(Game().Character(i)->Sprite, Game().Sprite(Game().Stages[0].Sheet));
}

// The last life goes with a wrong answer, whose comment shows: the game-over page is the play
// area as it stands, the status bar and the game-over picture, with no comment under it.
TEST_P(ActionFormTest, TheGameOverPictureStandsAloneOverThePlayArea) {
  Start();
  for (int i = 0; i < 4; ++i) ASSERT_NO_FATAL_FAILURE(TimeOut());
  ASSERT_EQ(Game().Lives, 1);
  form_->FormMouseUp(Qt::RightButton);
  ShootSlot(WrongSlot());
  ASSERT_EQ(OverlayKinds(), std::vector<int>{kCommentOverlay}) << "the wrong answer's comment";
  Tick();
  ASSERT_TRUE(form_->IsGameOver());
  EXPECT_TRUE(OverlayKinds().empty());

  QImage scene(form_->Buffer().size(), QImage::Format_RGB32);
  {
    QPainter p(&scene);
    main_->Manager()->DrawPlain(p, 0, main_->Manager()->GetDrawer("levels\\1.bmp"), 0);
    Game().DrawCharacters(p);
    Game().DrawTexts(p);
    form_->DrawAim(p);
  }
  TResManager res({QStringLiteral(ZABKO_DATA_OUT "/Game/Graphics.dat")});
  TShowBitmap gameOver("texts\\game-over.bmp", kGameOverOverlay, 1, res);
  QImage expected(form_->size(), QImage::Format_RGB32);
  {
    QPainter p(&expected);
    p.drawImage(0, 0, scene);
    p.drawImage(0, scene.height(), form_->StatusImage());
    gameOver.Draw(p, expected.width(), expected.height());
  }
  const QImage shown = form_->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(SaveFrameGrab(*form_, "game_over"));
  EXPECT_TRUE(shown == expected) << "see frames/game_over.png";
}

// Closing the window during the game-over wait ends the game silent: the music that game over
// stopped does not start again.
TEST_P(ActionFormTest, ClosingDuringTheGameOverWaitLeavesTheMusicOff) {
  Start();
  for (int i = 0; i < 5; ++i) ASSERT_NO_FATAL_FAILURE(TimeOut());
  ASSERT_TRUE(form_->IsGameOver());
  ASSERT_EQ(Playing(), '-');
  const QString started = tracks_;
  onConfirm_ = [] { return true; };
  EXPECT_TRUE(main_->close());
  EXPECT_FALSE(form_->GameOverTimer()->isActive());
  EXPECT_EQ(tracks_, started) << "no track starts again";
  EXPECT_EQ(Playing(), '-');
  EXPECT_TRUE(results_.empty());
}

TEST_P(ActionFormTest, ANewGameAfterOneLostByTimeOutsStartsWithFourAnswers) {
  Start();
  for (int i = 0; i < 5; ++i) ASSERT_NO_FATAL_FAILURE(TimeOut());
  ASSERT_TRUE(form_->IsGameOver());
  EXPECT_EQ(Game().Score(), 0);

  // Play again during the game-over wait.
  main_->PlayAgain();
  EXPECT_FALSE(form_->IsGameOver());
  EXPECT_FALSE(form_->GameOverTimer()->isActive()) << "the old game's end does not come";
  EXPECT_TRUE(Game().SoundOn());
  EXPECT_TRUE(form_->Timer()->isActive());
  EXPECT_EQ(Game().Lives, 5);
  EXPECT_EQ(Game().CharacterCount(), 4);
  EXPECT_EQ(Living(), 4);
  EXPECT_FALSE(Game().TimedOut);
  Tick(20);
  EXPECT_EQ(Living(), 4) << "the answers stay until one is shot";
  ASSERT_NO_FATAL_FAILURE(AnswerRight());
  EXPECT_EQ(Game().CorrectCount, 1);
  EXPECT_TRUE(results_.empty());
}

TEST_P(ActionFormTest, AFailedBatchEndsTheGameWithItsMessage) {
  Start();
  for (int i = 0; i < 7; ++i) ASSERT_NO_FATAL_FAILURE(AnswerRight());
  Fault("Game.GetQuestions", dev::TFaultKind::Http500);
  messages_.clear();
  ShootSlot(RightSlot());
  Tick(30);
  EXPECT_EQ(messages_, QStringList{"Failed to get questions from server"});
  EXPECT_FALSE(form_->InGame());
  EXPECT_FALSE(form_->Timer()->isActive());
  ASSERT_EQ(results_.size(), 1u);
  EXPECT_EQ(results_[0].correct, 8);
  const int score = Game().Score();
  Click(QPoint(20, 440));
  EXPECT_EQ(Game().Score(), score) << "no shots after the end";

  // A game that cannot get its first batch does not start.
  messages_.clear();
  main_->PlayAgain();
  EXPECT_EQ(messages_, QStringList{"Failed to get questions from server"});
  EXPECT_FALSE(form_->InGame());
  EXPECT_FALSE(form_->Timer()->isActive());
  EXPECT_EQ(results_.size(), 1u);
}

TEST_P(ActionFormTest, ClosingMidGameUploadsTheAnswersWithoutAResult) {
  Start();
  ASSERT_NO_FATAL_FAILURE(AnswerRight());
  ASSERT_NO_FATAL_FAILURE(AnswerWrong());
  server_->ClearLog();
  form_->CloseGame();
  EXPECT_FALSE(form_->Timer()->isActive());
  ASSERT_EQ(server_->LogOf("UpdateWords").size(), 1u);
  EXPECT_EQ(server_->LogOf("UpdateWords")[0].arguments->PacketCount(), 2);
  EXPECT_TRUE(results_.empty());
  form_->CloseGame();
  EXPECT_EQ(server_->LogOf("UpdateWords").size(), 1u) << "nothing more to send";
}

TEST_P(ActionFormTest, TheCloseQuestionHoldsTheLoopAndYesHandsInTheAnswers) {
  Start();
  ASSERT_NO_FATAL_FAILURE(AnswerRight());
  Tick();
  const qint64 elapsed = Game().ElapsedMs();
  server_->ClearLog();
  bool stoppedWhileAsking = false;
  // No: the player thinks for 20 s, and the question still has its time.
  onConfirm_ = [&] {
    stoppedWhileAsking = !form_->Timer()->isActive();
    clock_.now += 20000;
    return false;
  };
  EXPECT_FALSE(main_->FormCloseQuery());
  EXPECT_EQ(questions_.size(), 1);
  EXPECT_TRUE(stoppedWhileAsking);
  EXPECT_TRUE(form_->Timer()->isActive()) << "running again after No";
  EXPECT_EQ(Game().ElapsedMs(), elapsed);
  Tick();
  EXPECT_EQ(Game().Lives, 5) << "no time-out behind the question";
  EXPECT_TRUE(server_->LogOf("UpdateWords").empty());

  // Yes: the answers go up before the window goes, with no result page.
  onConfirm_ = [] { return true; };
  EXPECT_TRUE(main_->FormCloseQuery());
  EXPECT_FALSE(form_->Timer()->isActive());
  EXPECT_EQ(server_->LogOf("UpdateWords").size(), 1u);
  EXPECT_TRUE(results_.empty());
}

TEST_P(ActionFormTest, AnyOtherPageOrTheStartScreenBringsBackTheStartTrack) {
  Start();
  ASSERT_EQ(Playing(), 'B');
  QWidget other;
  main_->ShowPage(&other);
  EXPECT_EQ(Playing(), 'A');
  main_->StartGame(kFirst, kLast, true, true);
  EXPECT_EQ(Playing(), 'B') << "the play screen keeps its own track";
  main_->ShowPage(nullptr);
  EXPECT_EQ(Playing(), 'A');
  EXPECT_FALSE(main_->MainArea()->isVisible());
  other.setParent(nullptr);
}

TEST_P(ActionFormTest, KeysAtTheWindowReachThePageAndKeysThePageLeavesEndThere) {
  Start();
  // Space at the main window pauses the game: the box says so.
  QTest::keyClick(main_.get(), Qt::Key_Space);
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0], main_->Strings().GetString("ActionForm.PauseMsg"));
  // A key the page does not use goes up to the window and no further, at either end.
  QTest::keyClick(form_.get(), Qt::Key_F5);
  QTest::keyClick(main_.get(), Qt::Key_F5);
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_TRUE(form_->Timer()->isActive());
}

INSTANTIATE_TEST_SUITE_P(InProcess, ActionFormTest, ::testing::Values(false));

}  // namespace
}  // namespace zabko::test
