#include "game/action_form.h"

#include "audio/res_player.h"
#include "core/exception_log.h"
#include "core/integer_list.h"
#include "core/language_pack.h"
#include "core/res_manager.h"
#include "core/window_services.h"
#include "game/play/game_utils.h"
#include "game/play/parameters.h"
#include "game/progress_form.h"
#include "game/play/words_center.h"
#include "game/zabko_game_main_form.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "ui/alpha_blend_form.h"
#include "ui/n_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace zabko {

namespace {

constexpr int kAimSize = 55;
constexpr int kAimAlpha = 128;
constexpr int kDigitWidth = 10;
constexpr int kTimeWidth = 20;
constexpr int kLivesWidth = 70;
constexpr int kLifeStep = 14;
constexpr int kRoundStep = 13;
constexpr int kStageCell = 25;
constexpr int kPauseDimAlpha = 50;
constexpr int kSoundCacheLimit = 0x7FFFFFFF;
constexpr TColor kScoreColor = 0x94FF68;
constexpr int kGameOverOverlayMs = 1;

const char* const kHebrewDatabase = "ClientPsyHebrew.dat";
const char* const kEnglishDatabase = "ClientPsyEnglish.dat";

QString StageBackground(int stage) { return QStringLiteral("levels\\%1.bmp").arg(std::clamp(stage, 1, 9)); }

}  // namespace

// The words center's progress dialog, with the loop stopped and the question clock held while a
// job runs.
class TActionForm::THeldLoopRunner : public IProgressRunner {
 public:
  THeldLoopRunner(TActionForm& form, IProgressRunner& target) : form_(form), target_(target) {}

  bool RunJob(int steps, const QString& caption, const TJob& job) override {
    const bool running = form_.timer_->isActive();
    const qint64 elapsed = form_.game_ ? form_.game_->ElapsedMs() : 0;
    form_.timer_->stop();
    ++form_.jobDepth_;
    struct TRestore {
      TActionForm& form;
      bool running;
      qint64 elapsed;
      ~TRestore() {
        --form.jobDepth_;
        if (!running) return;
        if (form.game_) form.game_->SetElapsed(elapsed);
        form.timer_->start();
      }
    } restore{form_, running, elapsed};
    return target_.RunJob(steps, caption, job);
  }

 private:
  TActionForm& form_;
  IProgressRunner& target_;
};

TActionForm::TActionForm(TZabkoGameMainForm& main, TOptions options)
    : QWidget(nullptr), main_(main), options_(std::move(options)) {
  setObjectName(QStringLiteral("ActionForm"));
  setWindowFlag(Qt::FramelessWindowHint);
  setLayoutDirection(Qt::RightToLeft);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(kWidth, kHeight);
  if (options_.programFolder.isEmpty()) options_.programFolder = QCoreApplication::applicationDirPath();

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer"));
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, [this] { Guarded([this] { TimerTimer(); }); });
  gameOverTimer_ = new QTimer(this);
  gameOverTimer_->setObjectName(QStringLiteral("GameOverTimer"));
  gameOverTimer_->setInterval(kGameOverMs);
  connect(gameOverTimer_, &QTimer::timeout, this, [this] { Guarded([this] { GameOverTimerTimer(); }); });

  buffer_ = QImage(width(), height() - kStatusHeight, QImage::Format_RGB32);
  buffer_.fill(Qt::black);
  statusImage_ = QImage(width(), kStatusHeight, QImage::Format_RGB32);
  statusImage_.fill(Qt::black);

  const QDir folder(options_.programFolder);
  graphics_ = std::make_unique<TResManager>(QStringList{folder.filePath(QStringLiteral("Graphics.dat"))},
                                            options_.programFolder);
  LoadPictures();
  directSound_ = std::make_unique<TDirectSoundManager>();
  if (!options_.soundOutput) {
    // Effects are a pleasure, not a need: without their database the game plays silent.
    const QString soundsFile = folder.filePath(QStringLiteral("Sounds.dat"));
    try {
      sounds_ = std::make_unique<TResManager>(QStringList{soundsFile}, options_.programFolder);
      const int audio = main_.Parameters().ReadInteger(QString::fromLatin1(kMainSection),
                                                       QString::fromLatin1(kAudioValue), kDefaultAudio);
      player_ = std::make_unique<TResPlayer>(sounds_.get(), kSoundCacheLimit, SoundPlayTypeFromOption(audio));
    } catch (const Exception& e) {
      LogLine("Game sounds not available: " + e.Message().toUtf8());
    }
  }

  for (const char* name : {kHebrewDatabase, kEnglishDatabase}) {
    const QString path = GetDataFile(QString::fromLatin1(name));
    if (!QFile::exists(path)) throw Exception("Word database not found: " + path);
  }
  wordsCenter_ = std::make_unique<TWordsCenter>(GetDataFile(QString::fromLatin1(kHebrewDatabase)),
                                                GetDataFile(QString::fromLatin1(kEnglishDatabase)));
  runner_ = std::make_unique<THeldLoopRunner>(*this, options_.progress ? *options_.progress : *GetProgressForm());
  wordsCenter_->Client = &main_.Client();
  wordsCenter_->Progress = runner_.get();
  wordsCenter_->LogOn = [this] { main_.LogOn(); };
  wordsCenter_->TextOf = [this](const QString& key) { return main_.Strings().GetString(key); };

  try {
    gameOverOverlay_ = std::make_unique<TShowBitmap>(QStringLiteral("texts\\game-over.bmp"), kGameOverOverlay,
                                                     kGameOverOverlayMs, *graphics_);
  } catch (const Exception& e) {
    LogLine("Game-over picture not available: " + e.Message().toUtf8());
  }
  CreateGame();

  // The hooks hold the page weakly: a page that is gone is never called.
  const QPointer<TActionForm> self(this);
  main_.OnStartGame = [self](int firstLetter, int lastLetter, bool update, bool english) {
    if (!self || !self->NewGame(firstLetter, lastLetter, update, english)) return;
    self->main_.ShowPage(self);
    // Docking a page that shows already hides it for a moment, which stops the loop.
    if (self->inGame_ && !self->gameOver_) self->timer_->start();
  };
  main_.OnEndGame = [self] {
    if (self) self->EndGame();
  };
  main_.OnShowPage = [self](QWidget* page) {
    if (self && page != self) self->game_->SetMusic(1);
  };
  main_.OnCloseQuestion = [self](bool asking) {
    if (self) self->HoldForQuestion(asking);
  };
  main_.OnClosing = [self] {
    if (self) self->CloseGame();
  };
  main_.FindWord = [self](qint32 wordId) -> TWord* { return self ? self->wordsCenter_->FindWord(wordId) : nullptr; };
  Render();
}

TActionForm::~TActionForm() {
  timer_->stop();
  gameOverTimer_->stop();
}

QImage TActionForm::Picture(const QString& name) {
  TNManager* manager = main_.Manager();
  const int drawer = manager->GetDrawer(name);
  const TNImageDrawer* d = manager->Drawer(drawer);
  QImage image(d->Width(), d->Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  manager->DrawPlain(p, 0, drawer, 0);
  return image;
}

void TActionForm::LoadPictures() {
  TNManager* manager = main_.Manager();
  backgroundDrawer_ = manager->GetDrawer(StageBackground(1));
  statusDrawer_ = manager->GetDrawer(QStringLiteral("controls.bmp"));
  livesDrawer_ = manager->GetDrawer(QStringLiteral("controls\\lives.bmp"));
  weaponsDrawer_ = manager->GetDrawer(QStringLiteral("controls\\weapons.bmp"));
  timerImage_ = Picture(QStringLiteral("controls\\timer_no.bmp"));
  aimImage_ = Picture(QStringLiteral("controls\\kavenet_anti.bmp"));
  levelImage_ = Picture(QStringLiteral("controls\\stage_no.bmp"));
  leftTimeImg_ = QImage(kTimeWidth, kStatusHeight, QImage::Format_RGB32);
  rightTimeImg_ = QImage(kTimeWidth, kStatusHeight, QImage::Format_RGB32);
  livesImage_ = QImage(kLivesWidth, kStatusHeight, QImage::Format_RGB32);
}

void TActionForm::CreateGame() {
  const TLanguageClass& language = main_.LanguageClass();
  game_ = TGameManagment::MakeGame<TQuestion2Game>(
      QByteArray(), language.GetFontName().toLatin1(), language.GetMeaningFontName().toLatin1(),
      [this](const QString& name) { return GetDataFile(name); }, graphics_.get(), buffer_.height(),
      buffer_.width());
  if (options_.tickCount) game_->TickCount = options_.tickCount;
  if (options_.musicFactory) game_->MusicFactory = options_.musicFactory;
  if (options_.random) game_->Random = options_.random;
  if (options_.soundOutput) {
    game_->SoundOutput = options_.soundOutput;
  } else {
    game_->SetPlayer(player_.get());
  }
  game_->WordLookup = [this](qint32 wordId) { return wordsCenter_->FindWord(wordId); };
  game_->SetQuestionSource([this](TTestQuestion& record) { record = wordsCenter_->NextQuestion(); });
  game_->AnswerCallback = [this](qint32 wordId, int kind, int choice, const TTestQuestion& record) {
    OnAnswer(wordId, kind, choice, record);
  };
  game_->SetSoundOn(main_.Parameters().ReadBool(QString::fromLatin1(kMainSection),
                                                QString::fromLatin1(kSoundOnValue), kDefaultSoundOn));
  game_->TimeOut = kTimeOutMs;
  game_->Init();
}

bool TActionForm::NewGame(int firstLetter, int lastLetter, bool updateWanted, bool english) {
  timer_->stop();
  StopGameOver();
  inGame_ = false;
  try {
    wordsCenter_->SetRange(firstLetter, lastLetter, updateWanted, english);
    game_->SetMusic(2);
    game_->RoundsLeft = -1;
    game_->Reload(kRounds);
    game_->Hidden = false;
    game_->Lives = kLives;
    // Before the first stage, so that every game opens with its stage picture, also after a
    // game that ended at stage 1.
    game_->Stage = 0;
    game_->Reset();
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  game_->SetStage(1);
  gameOver_ = false;
  inGame_ = true;
  savedElapsed_ = 0;
  SetBackground(game_->Stage);
  timer_->start();
  return true;
}

void TActionForm::TimerTimer() {
  // A timer event delivered inside a progress dialog, during game over or after the end: nothing
  // to do.
  if (jobDepth_ > 0 || gameOver_ || !inGame_) return;
  try {
    game_->Tick();
  } catch (const Exception& e) {
    FailGame(e.Message());
    return;
  }
  Render();
  if (game_->Lives < 1) GameOver();
}

void TActionForm::FailGame(const QString& message) {
  timer_->stop();
  ShowMessage(message);
  EndGame();
}

void TActionForm::SetBackground(int stage) { backgroundDrawer_ = main_.Manager()->GetDrawer(StageBackground(stage)); }

void TActionForm::Render() {
  {
    QPainter canvas(&buffer_);
    main_.Manager()->DrawPlain(canvas, 0, backgroundDrawer_, 0);
    game_->Draw(canvas);
    DrawAim(canvas);
  }
  DrawStatusBar();
  update();
}

void TActionForm::DrawAim(QPainter& canvas) {
  const QRect square(mouse_.x() - kAimSize / 2, mouse_.y() - kAimSize / 2, kAimSize, kAimSize);
  // A translucent dark disc under the aim.
  canvas.save();
  canvas.setOpacity(kAimAlpha / 255.0);
  canvas.setPen(Qt::black);
  canvas.setBrush(Qt::black);
  canvas.drawEllipse(square.adjusted(0, 0, -1, -1));
  canvas.restore();
  // The aim's white leaves the scene unchanged.
  canvas.save();
  canvas.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  canvas.drawImage(square.topLeft(), aimImage_);
  canvas.restore();
}

void TActionForm::DrawStatusBar() {
  TNManager* manager = main_.Manager();
  QPainter status(&statusImage_);
  manager->DrawPlain(status, 0, statusDrawer_, 0);

  // The clock: two cells of seconds, two of hundredths; the digit strip runs 1-9, then 0.
  const QStringList clock = game_->ClockText().split(QLatin1Char(':'));
  const auto digits = [this](QImage& image, const QString& pair) {
    QPainter p(&image);
    const QString two = pair.right(2).rightJustified(2, QLatin1Char('0'));
    for (int i = 0; i < 2; ++i) {
      int d = two[i].digitValue();
      if (d <= 0) d = 10;
      p.drawImage(QPoint(kDigitWidth * i, 0), timerImage_, QRect(kDigitWidth * (d - 1), 0, kDigitWidth, kStatusHeight));
    }
  };
  digits(leftTimeImg_, clock.value(0));
  digits(rightTimeImg_, clock.value(1));

  // Score and right answers.
  QFont font = status.font();
  SetFontNSS(font, QStringLiteral("Arial"), 8, TFontStyle::Bold);
  status.setFont(font);
  status.setBrush(Qt::NoBrush);
  status.setPen(WinColor(kScoreColor));
  const auto six = [](int value) { return QStringLiteral("%1").arg(value, 6, 10, QLatin1Char('0')); };
  status.setLayoutDirection(Qt::LeftToRight);
  status.drawText(QRect(150, 18, 120, 14), Qt::AlignLeft | Qt::AlignTop, six(game_->Score()));
  status.setPen(Qt::red);
  status.drawText(QRect(150, 32, 120, 14), Qt::AlignLeft | Qt::AlignTop, six(game_->CorrectCount));

  // What the slots show goes below the bar's captions, which stay whole over them.
  const QRect belowCaptions(0, kStatusCaptionHeight, width(), kStatusHeight - kStatusCaptionHeight);
  status.setClipRect(belowCaptions);

  // The stage number.
  status.drawImage(QPoint(kLevelLeft, 0), levelImage_,
                   QRect(kStageCell * (std::clamp(game_->Stage, 1, 9) - 1), 0, kStageCell, kStatusHeight));

  // Lives right to left on the bar's own background, rounds left to right.
  {
    QPainter lives(&livesImage_);
    manager->DrawPart(kLivesLeft, 0, statusDrawer_, kStatusHeight, kLivesWidth, 0, 0, lives);
    lives.setClipRect(belowCaptions);
    for (int i = 0; i < game_->Lives; ++i) manager->DrawPlain(lives, kLivesWidth - kLifeStep * i - kLifeStep, livesDrawer_, 0);
  }
  for (int c = 0; c < game_->RoundsLeft; ++c) manager->DrawPlain(status, kShotLeft + kRoundStep * c, weaponsDrawer_, 0);

  status.drawImage(QPoint(kLivesLeft, 0), livesImage_);
  status.drawImage(QPoint(kLeftTimeLeft, 0), leftTimeImg_);
  status.drawImage(QPoint(kRightTimeLeft, 0), rightTimeImg_);
}

void TActionForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (gameOver_ && !gameOverScreen_.isNull()) {
    p.drawImage(0, 0, gameOverScreen_);
    return;
  }
  p.drawImage(0, 0, buffer_);
  p.drawImage(0, buffer_.height(), statusImage_);
}

// --- Mouse and keys ---

void TActionForm::FormMouseMove(const QPoint& position) {
  mouse_ = position;
  // The aim stands for the cursor over the play area; the status bar has the cursor.
  setCursor(position.y() < buffer_.height() ? Qt::BlankCursor : Qt::ArrowCursor);
}

void TActionForm::FormMouseLeave() { mouse_ = QPoint(-100, -100); }

void TActionForm::FormMouseDown(Qt::MouseButton button) {
  if (button != Qt::LeftButton || gameOver_ || !inGame_) return;
  game_->Shoot(mouse_.x(), mouse_.y());
}

void TActionForm::FormMouseUp(Qt::MouseButton button) {
  if (button != Qt::RightButton || gameOver_ || !inGame_) return;
  Reload();
}

void TActionForm::FormDblClick() {
  if (gameOver_ || !inGame_) return;
  game_->DoubleClick(mouse_.x(), mouse_.y());
}

void TActionForm::Reload() {
  game_->Reload(kRounds);
  Render();
}

void TActionForm::FormKeyPress(QChar key) {
  const char16_t c = key.unicode();
  if (c == u'0') {
    game_->SetMusic(0);
  } else if (c >= u'1' && c <= u'5') {
    game_->SetMusic(static_cast<quint8>(c - u'1' + 2));
  } else if (c == u' ') {
    PauseWithMessage();
  } else if (c == 27) {
    ShowMenu();
  }
}

void TActionForm::mouseMoveEvent(QMouseEvent* event) {
  Guarded([&] { FormMouseMove(event->position().toPoint()); });
}

void TActionForm::mousePressEvent(QMouseEvent* event) {
  Guarded([&] {
    FormMouseMove(event->position().toPoint());
    FormMouseDown(event->button());
  });
}

void TActionForm::mouseReleaseEvent(QMouseEvent* event) {
  Guarded([&] { FormMouseUp(event->button()); });
}

void TActionForm::mouseDoubleClickEvent(QMouseEvent*) {
  Guarded([&] { FormDblClick(); });
}

void TActionForm::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  FormMouseLeave();
}

void TActionForm::keyPressEvent(QKeyEvent* event) {
  QChar key;
  if (event->key() == Qt::Key_Escape) {
    key = QChar(27);
  } else if (!event->text().isEmpty()) {
    key = event->text().at(0);
  } else {
    QWidget::keyPressEvent(event);
    return;
  }
  Guarded([&] { FormKeyPress(key); });
}

void TActionForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  setCursor(Qt::BlankCursor);
}

void TActionForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  timer_->stop();
}

// --- Pause, menu, stages and the end ---

void TActionForm::SetRunning(bool on) {
  if (on) {
    timer_->start();
  } else {
    timer_->stop();
  }
  game_->Hidden = !on;
  if (on) {
    game_->SetElapsed(savedElapsed_);
  } else {
    savedElapsed_ = game_->ElapsedMs();
  }
  Render();
}

void TActionForm::PauseWithMessage() {
  if (!inGame_ || gameOver_) return;
  SetRunning(false);
  {
    std::unique_ptr<TAlphaBlendForm> cover(CreateDimmer(kDimmerGrey, kPauseDimAlpha, true, window()));
    ShowMessage(main_.Strings().GetString(QStringLiteral("ActionForm.PauseMsg")));
  }
  SetRunning(true);
}

void TActionForm::ShowMenu() {
  // During game over a second run of the loop would end the game twice.
  if (!inGame_ || gameOver_) return;
  SetRunning(false);
  if (main_.ShowMenu()) SetRunning(true);
}

void TActionForm::HoldForQuestion(bool asking) {
  if (asking) {
    heldForQuestion_ = inGame_ && !gameOver_ && timer_->isActive();
    if (heldForQuestion_) SetRunning(false);
  } else if (heldForQuestion_) {
    heldForQuestion_ = false;
    SetRunning(true);
  }
}

void TActionForm::OnAnswer(qint32 askedWordId, int kind, int choice, const TTestQuestion& record) {
  wordsCenter_->RecordAnswer(askedWordId, static_cast<quint8>(kind), choice, record);
  if (game_->CorrectCount / kCorrectPerStage == game_->Stage && game_->Stage < TQuestion2Game::kStageCount)
    LevelUp();
}

void TActionForm::LevelUp() {
  game_->SetStage(game_->Stage + 1);
  game_->SetMusic(static_cast<quint8>(game_->Stage % 5 + 2));
  if (game_->SoundOn()) game_->PlaySound("yeahha_children.mp3");
  SetBackground(game_->Stage);
}

void TActionForm::GameOver() {
  timer_->stop();
  gameOver_ = true;
  // The game-over picture supersedes every picture that shows, the last answer's comment too:
  // the play area is drawn again without them.
  game_->ClearOverlays();
  Render();
  // The game-over picture over the whole page, drawn once.
  gameOverScreen_ = QImage(size(), QImage::Format_RGB32);
  {
    QPainter p(&gameOverScreen_);
    p.drawImage(0, 0, buffer_);
    p.drawImage(0, buffer_.height(), statusImage_);
    if (gameOverOverlay_) gameOverOverlay_->Draw(p, width(), height());
  }
  update();
  savedSoundOn_ = game_->SoundOn();
  if (savedSoundOn_) game_->PlaySound("gameover.mp3");
  game_->SetSoundOn(false);
  gameOverTimer_->start();
}

void TActionForm::StopGameOver() {
  if (!gameOverTimer_->isActive()) return;
  gameOverTimer_->stop();
  game_->SetSoundOn(savedSoundOn_);
}

void TActionForm::GameOverTimerTimer() {
  StopGameOver();
  EndGame();
}

void TActionForm::EndGame() {
  timer_->stop();
  StopGameOver();
  inGame_ = false;
  wordsCenter_->Flush();
  const int points = game_->Score();
  const int correct = game_->CorrectCount;
  TIntegerList missed;
  missed.Assign(game_->Missed);
  if (options_.showResult) {
    options_.showResult(points, correct, missed.Count(), missed);
  } else {
    main_.ShowResult(points, correct, missed.Count(), missed);
  }
}

void TActionForm::CloseGame() {
  timer_->stop();
  // A game over ends where it stands: the sound it switched off stays off, so that no music
  // starts again while the window goes.
  gameOverTimer_->stop();
  if (!inGame_) return;
  inGame_ = false;
  wordsCenter_->Flush();
}

QString TActionForm::GetDataFile(const QString& name) const { return main_.DataManager().GetPath(name); }

void TActionForm::ShowMessage(const QString& text) {
  if (options_.showMessage) {
    options_.showMessage(text);
    return;
  }
  PlainBox(window(), text, QMessageBox::Ok);
}

}  // namespace zabko
