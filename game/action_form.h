// The play screen: a borderless 670 x 520 page that the main window docks into its main area. It
// owns the question game, the words center, the sound player and the game's graphics; runs the
// game loop from a 30 ms timer; renders the play area into a back buffer (Buffer) and the status
// bar into its own image, which the paint event shows; maps the mouse and the keys to shots,
// reloads, music, pause and menu; raises the stage every 30 right answers; and ends the game
// 5 seconds after the last life is lost.
//
// No tick runs while a progress dialog fetches questions or uploads answers: the loop stops and
// the question clock is held for the job's length, so that a nested tick cannot time the old
// question out or start a second fetch.
#pragma once

#include "game/play/background_music.h"
#include "game/play/question2_game.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;

namespace zabko {

class IProgressRunner;
class TIntegerList;
class TResManager;
class TResPlayer;
class TShowBitmap;
class TWordsCenter;
class TZabkoGameMainForm;

class TActionForm : public QWidget {
  Q_OBJECT

 public:
  // What tests replace; every empty member takes its default.
  struct TOptions {
    // The question clock's millisecond tick count (default: the monotonic clock).
    TGameManagment::TTickCount tickCount;
    // Where the rules draw at random (default: the global generator).
    TRandomIndex random;
    // Plays one named effect (default: the resource player over "Sounds.dat").
    TShootGame::TSoundOutput soundOutput;
    // Makes the background music of a track (default: libmpg123 to the wave output).
    TGameManagment::TMusicFactory musicFactory;
    // A plain message box: the pause and a game that cannot go on (default: a right-to-left
    // box with OK).
    std::function<void(const QString& text)> showMessage;
    // The progress dialog of the question fetches and answer uploads (default: the game's one).
    IProgressRunner* progress = nullptr;
    // The folder of "Graphics.dat" and "Sounds.dat" (default: the program folder).
    QString programFolder;
    // The finished game's figures (default: the main window's result page).
    std::function<void(int points, int correct, int missed, const TIntegerList& missedWords)> showResult;
  };

  static constexpr int kWidth = 670;
  static constexpr int kHeight = 520;
  static constexpr int kStatusHeight = 61;
  // The status bar's top rows hold its captions over the rounds, lives, clock and stage; what
  // those show is drawn below them.
  static constexpr int kStatusCaptionHeight = 15;
  static constexpr int kTickMs = 30;
  static constexpr int kGameOverMs = 5000;
  static constexpr int kRounds = 6;
  static constexpr int kLives = 5;
  static constexpr int kTimeOutMs = 10000;
  static constexpr int kCorrectPerStage = 30;

  // Builds the page and wires it to Main: a game started there runs here, an ended one ends
  // here, and the result page finds its words here. Fails with "Word database not found: " and
  // the path when either word database is missing from the data folder.
  explicit TActionForm(TZabkoGameMainForm& main) : TActionForm(main, TOptions()) {}
  TActionForm(TZabkoGameMainForm& main, TOptions options);
  ~TActionForm() override;

  // The question game over the play area, with the language's fonts and the words center's
  // questions, words and answers.
  void CreateGame();
  // Starts a game: the first batch, track B, a full magazine, five lives, the first question,
  // stage 1, the loop on. A batch that cannot be fetched shows its message and starts nothing
  // (false).
  bool NewGame(int firstLetter, int lastLetter, bool updateWanted, bool english);
  // One step of the loop: the game's tick, the rendering, game over when no life is left. A
  // batch that cannot be fetched ends the game with its message.
  void TimerTimer();
  // The stage background, the game and the aim into Buffer; the status bar; a repaint.
  void Render();
  void DrawAim(QPainter& canvas);
  void DrawStatusBar();
  // A game that cannot go on: its message, then the end of the game.
  void FailGame(const QString& message);

  // Mouse and keys, as the events deliver them (tests call them directly).
  void FormMouseMove(const QPoint& position);
  void FormMouseLeave();
  void FormMouseDown(Qt::MouseButton button);
  void FormMouseUp(Qt::MouseButton button);
  void FormDblClick();
  // '0' music off, '1'-'5' tracks B-F, space pause, Esc (27) the menu.
  void FormKeyPress(QChar key);

  // Runs or stops the loop; stopped, the labels show asterisks and the question clock is held.
  void SetRunning(bool on);
  void PauseWithMessage();
  // Stops for the main window's menu and runs on when it chose to continue.
  void ShowMenu();
  // The main window's close question: the loop stops while it asks (true) and runs on when the
  // answer was No (false); a loop that was not running stays stopped.
  void HoldForQuestion(bool asking);
  void OnAnswer(qint32 askedWordId, int kind, int choice, const TTestQuestion& record);
  void LevelUp();
  void GameOver();
  void GameOverTimerTimer();
  // Stops the loops, uploads the answers and shows the result.
  void EndGame();
  // Closing or quitting mid-game: the loops stop and the held answers go up, no result.
  void CloseGame();
  // The data folder path of a file name.
  QString GetDataFile(const QString& name) const;
  void Reload();

  TQuestion2Game& Game() const { return *game_; }
  TWordsCenter& WordsCenter() const { return *wordsCenter_; }
  QTimer* Timer() const { return timer_; }
  QTimer* GameOverTimer() const { return gameOverTimer_; }
  const QImage& Buffer() const { return buffer_; }
  const QImage& StatusImage() const { return statusImage_; }
  bool IsGameOver() const { return gameOver_; }
  bool InGame() const { return inGame_; }
  QPoint MousePosition() const { return mouse_; }
  // Inside a progress job started from the loop.
  bool InProgressJob() const { return jobDepth_ > 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  class THeldLoopRunner;

  void LoadPictures();
  QImage Picture(const QString& name);
  void SetBackground(int stage);
  void ShowMessage(const QString& text);
  // Ends a game over early (a new game or the end): its timer off and the sound switch back.
  void StopGameOver();

  TZabkoGameMainForm& main_;
  TOptions options_;
  bool heldForQuestion_ = false;

  std::unique_ptr<TResManager> graphics_;
  std::unique_ptr<TResManager> sounds_;
  std::unique_ptr<TResPlayer> player_;
  std::unique_ptr<TDirectSoundManager> directSound_;
  std::unique_ptr<THeldLoopRunner> runner_;
  std::unique_ptr<TWordsCenter> wordsCenter_;
  std::unique_ptr<TQuestion2Game> game_;
  std::unique_ptr<TShowBitmap> gameOverOverlay_;

  QTimer* timer_ = nullptr;
  QTimer* gameOverTimer_ = nullptr;

  QImage buffer_;
  QImage statusImage_;
  QImage timerImage_;      // clock digits 1-9, then 0, 10 pixels each
  QImage leftTimeImg_;     // seconds, 20 x 61
  QImage rightTimeImg_;    // hundredths, 20 x 61
  QImage livesImage_;      // 70 x 61
  QImage aimImage_;        // 55 x 55
  QImage levelImage_;      // stage numbers, 25 pixels each
  QImage gameOverScreen_;  // the whole page at game over
  int backgroundDrawer_ = -1;
  int statusDrawer_ = -1;
  int livesDrawer_ = -1;
  int weaponsDrawer_ = -1;

  QPoint mouse_{-100, -100};
  bool gameOver_ = false;
  bool inGame_ = false;
  qint64 savedElapsed_ = 0;
  bool savedSoundOn_ = true;
  int jobDepth_ = 0;
};

// Where the play screen's parts sit on the status bar (left edges, status bar coordinates).
inline constexpr int kLeftTimeLeft = 472;
inline constexpr int kRightTimeLeft = 501;
inline constexpr int kLivesLeft = 389;
inline constexpr int kShotLeft = 296;
inline constexpr int kLevelLeft = 550;

}  // namespace zabko
