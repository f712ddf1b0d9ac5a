// The base of the game model: it owns the sprite sheets and the moving characters, the score, a
// millisecond question clock with a time-out, timed picture overlays drawn over the play area,
// the sound switch and the background music. Its virtual operations are the hooks that the
// shooting game and the question game fill.
//
// Construction has two steps, because a virtual called from a constructor would miss the
// subclass: construct, then Setup (which calls LoadSprites once); MakeGame does both. Time comes
// from an injected millisecond tick count and music from an injected factory, so that tests
// drive both; the defaults are the monotonic clock and TMPG123BackgroundMusic.
//
// Drawing goes through a QPainter on the play area's back buffer (a QImage).
#pragma once

#include "game/play/background_music.h"
#include "game/play/sprite.h"
#include "net/zabkolex_client.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zabko {

class TResManager;
class TWord;

// A timed overlay drawn over the play area.
class TGraphicObject {
 public:
  virtual ~TGraphicObject() = default;
  virtual void Draw(QPainter& canvas, int areaWidth, int areaHeight) = 0;
  virtual bool Finished() const = 0;
  // Whether this object, newly added, removes Other (or, listed, refuses a new Other).
  virtual bool Supersedes(const TGraphicObject& other) const { return false; }

  qint64 StartTick = 0;  // ms, set when it is added
  qint64 ElapsedMs = 0;  // set before each draw
};

// A picture centred on a translucent rounded backdrop 40 pixels wider on every side, shown for
// a time. Kinds are priorities: a picture supersedes one of a lower or equal kind.
class TShowBitmap : public TGraphicObject {
 public:
  static constexpr int kMargin = 40;
  static constexpr TColor kBackdropColor = 0xECBB0F;
  static constexpr int kBackdropAlpha = 80;
  static constexpr int kCorner = 30;

  // Reads the picture; its bottom-left pixel's colour becomes transparent.
  TShowBitmap(const QString& resourceName, int kind, int durationMs, TResManager& resManager);

  void Draw(QPainter& canvas, int areaWidth, int areaHeight) override;
  // Duration < elapsed.
  bool Finished() const override { return durationMs_ < ElapsedMs; }
  bool Supersedes(const TGraphicObject& other) const override;

  const QImage& Picture() const { return picture_; }
  QSize BackdropSize() const { return picture_.size() + QSize(2 * kMargin, 2 * kMargin); }
  int Kind() const { return kind_; }
  int DurationMs() const { return durationMs_; }

 private:
  QImage picture_;
  int durationMs_;
  int kind_;
};

// The overlay kinds of the game.
inline constexpr int kCommentOverlay = 1;
inline constexpr int kStageOverlay = 2;
inline constexpr int kGameOverOverlay = 3;

class TGameManagment {
 public:
  using TWordLookup = std::function<TWord*(qint32 wordId)>;
  using TNextQuestion = std::function<void(TTestQuestion& record)>;
  // Asked word id, answer kind (2 right, 0 wrong), choice (1-4), the question.
  using TAnswerCallback = std::function<void(qint32 askedWordId, int kind, int choice, const TTestQuestion& record)>;
  // A file name ("Game Music\A1.mp3") to its full path in the data folder.
  using TDataFileCallback = std::function<QString(const QString& fileName)>;
  using TTickCount = std::function<qint64()>;
  using TMusicFactory =
      std::function<std::unique_ptr<TBackgroundMusic>(const QString& introFile, const QString& loopFile, int bufferSize)>;

  static constexpr int kMusicBufferSize = 0x100000;

  // Empty arrays, no music; the sheets come with Setup. The resource manager is not owned.
  TGameManagment(const QByteArray& name, TDataFileCallback dataFile, TResManager* resManager, int areaHeight,
                 int areaWidth);
  virtual ~TGameManagment();
  TGameManagment(const TGameManagment&) = delete;
  TGameManagment& operator=(const TGameManagment&) = delete;

  // The second step of construction: LoadSprites with the resource manager, once.
  void Setup();
  template <class TGame, class... Args>
  static std::unique_ptr<TGame> MakeGame(Args&&... args) {
    auto game = std::make_unique<TGame>(std::forward<Args>(args)...);
    game->Setup();
    return game;
  }

  // The hooks, with the base behaviour.
  virtual void LoadSprites(TResManager* resManager) {}
  virtual void OnTimeout() {}
  virtual void DrawTexts(QPainter& canvas) {}
  // Moves every character one tick.
  virtual void MoveAll();
  // Draws every character, in array order.
  virtual void DrawCharacters(QPainter& canvas);
  virtual void OnHit(int index) {}
  virtual void OnDoubleHit(int index) {}
  virtual void OnMiss(int x, int y) {}
  virtual void OnDoubleMiss(int x, int y) {}
  // (X - W div 2, Y - H div 2) to (X + W div 2, Y + H div 2), both corners inside.
  virtual QRect GetCharacterRect(int index) const;
  // A red rounded panel of Width x Height with the score and the elapsed ms, right-aligned.
  virtual void DrawInfo(QPainter& canvas, int width, int height);
  // Score 0.
  virtual void Init();
  virtual void Reset() {}
  // MoveAll, then CheckTimeout.
  virtual void Tick();
  // HitTest; OnMiss when nothing is there, else OnHit.
  virtual void Shoot(int x, int y);
  // The same with OnDoubleMiss and OnDoubleHit.
  virtual void DoubleClick(int x, int y);

  // Sheets and characters, owned.
  int AddSprite(std::unique_ptr<TSprite> sheet);
  // Returns the new count.
  int AddCharacter(std::unique_ptr<TCharacter> character);
  // Frees the old character.
  void ReplaceCharacter(int index, std::unique_ptr<TCharacter> character);
  // Frees it and closes the gap.
  void RemoveCharacter(int index);
  TCharacter* Character(int index) const { return characters_[static_cast<size_t>(index)].get(); }
  TSprite* Sprite(int index) const { return sprites_[static_cast<size_t>(index)].get(); }
  int CharacterCount() const { return static_cast<int>(characters_.size()); }
  int SpriteCount() const { return static_cast<int>(sprites_.size()); }
  // -1 when absent.
  int IndexOfCharacter(const TCharacter* character) const;

  // From the last character down, the first whose rectangle holds the point; -1 when none.
  int HitTest(int x, int y) const;
  // DrawCharacters, DrawTexts, DrawOverlays.
  void Draw(QPainter& canvas);

  int Score() const { return score_; }
  // Values below 0 become 0.
  void SetScore(int value) { score_ = value < 0 ? 0 : value; }

  // The question clock.
  qint64 Now() const { return TickCount(); }
  qint64 ElapsedMs() const { return Now() - clockBase_; }
  qint64 ElapsedSeconds() const { return ElapsedMs() / 1000; }
  // Resumes the clock at Ms elapsed.
  void SetElapsed(qint64 ms) { clockBase_ = Now() - ms; }
  // Fetches the next question into Record, then restarts the clock.
  void ResetClock(TTestQuestion& record);
  // The elapsed ms; at or past the time-out OnTimeout runs first.
  qint64 CheckTimeout();
  // Whole seconds and hundredths, each at least two digits: "07:25".
  QString ClockText() const;

  // Takes the overlay; false when a listed one of a higher or equal priority refused it.
  bool AddOverlay(std::unique_ptr<TGraphicObject> overlay);
  // Draws each overlay with its elapsed time and frees those that are then finished.
  void DrawOverlays(QPainter& canvas);
  // Frees every overlay at once (the game's end covers them all).
  void ClearOverlays() { overlays_.clear(); }
  int OverlayCount() const { return static_cast<int>(overlays_.size()); }
  TGraphicObject* Overlay(int index) const { return overlays_[static_cast<size_t>(index)].get(); }

  bool SoundOn() const { return soundOn_; }
  // A change of the switch plays the stored track (on) or stops the music (off).
  void SetSoundOn(bool on);
  // 0 silence, 1-6 tracks A-F. With sound off a track is only stored. Music that cannot be
  // made or played is logged and the game goes on silent.
  void SetMusic(quint8 track);
  quint8 StoredTrack() const { return storedTrack_; }
  TBackgroundMusic* Music() const { return music_.get(); }
  // The intro and loop files of a track (1-6), before the data folder's path.
  static void TrackFiles(quint8 track, QString& intro, QString& loop);

  const QByteArray& Name() const { return name_; }
  int AreaWidth() const { return areaWidth_; }
  int AreaHeight() const { return areaHeight_; }
  TResManager* ResManager() const { return resManager_; }

  TWordLookup WordLookup;
  TNextQuestion NextQuestion;
  TAnswerCallback AnswerCallback;
  TDataFileCallback DataFile;
  int TimeOut = 0;  // ms
  // Injected services; replace them before the first use.
  TTickCount TickCount;
  TMusicFactory MusicFactory;

 protected:
  int score_ = 0;

 private:
  std::vector<std::unique_ptr<TSprite>> sprites_;
  std::vector<std::unique_ptr<TCharacter>> characters_;
  QByteArray name_;
  int areaWidth_;
  int areaHeight_;
  qint64 clockBase_ = 0;
  std::vector<std::unique_ptr<TGraphicObject>> overlays_;
  bool soundOn_ = false;
  std::unique_ptr<TBackgroundMusic> music_;
  quint8 storedTrack_ = 0;
  TResManager* resManager_;
  bool setUp_ = false;
};

// Milliseconds of the monotonic clock.
qint64 MonotonicTickCount();
// A TMPG123BackgroundMusic over the two files.
std::unique_ptr<TBackgroundMusic> MakeMPG123Music(const QString& introFile, const QString& loopFile, int bufferSize);

}  // namespace zabko
