#include "game/play/game_managment.h"

#include "core/exception_log.h"
#include "core/res_manager.h"
#include "game/play/game_utils.h"
#include "platform/exception.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainterPath>

namespace zabko {

qint64 MonotonicTickCount() {
  static const QElapsedTimer clock = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
  }();
  return clock.elapsed();
}

std::unique_ptr<TBackgroundMusic> MakeMPG123Music(const QString& introFile, const QString& loopFile, int bufferSize) {
  return std::make_unique<TMPG123BackgroundMusic>(QFile::encodeName(introFile), QFile::encodeName(loopFile),
                                                  bufferSize);
}

// --- TShowBitmap ---

TShowBitmap::TShowBitmap(const QString& resourceName, int kind, int durationMs, TResManager& resManager)
    : durationMs_(durationMs), kind_(kind) {
  QImage picture;
  resManager.LoadBitmap(picture, resourceName);
  // The picture's background is whatever its bottom-left pixel shows.
  const TColor key = picture.isNull() ? clBlack : ToWinColor(picture.pixelColor(0, picture.height() - 1));
  picture_ = KeyedImage(picture, key);
}

bool TShowBitmap::Supersedes(const TGraphicObject& other) const {
  const auto* bitmap = dynamic_cast<const TShowBitmap*>(&other);
  return bitmap && bitmap->kind_ <= kind_;
}

void TShowBitmap::Draw(QPainter& canvas, int areaWidth, int areaHeight) {
  const int px = (areaWidth - picture_.width()) / 2;
  const int py = (areaHeight - picture_.height()) / 2;
  const QRectF box(px - kMargin, py - kMargin, picture_.width() + 2 * kMargin, picture_.height() + 2 * kMargin);
  const qreal radius = kCorner / 2.0;
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing);
  // The backdrop: a rounded rectangle blended over the scene at a constant alpha.
  canvas.setOpacity(kBackdropAlpha / 255.0);
  canvas.setPen(Qt::NoPen);
  canvas.setBrush(WinColor(kBackdropColor));
  canvas.drawRoundedRect(box, radius, radius);
  canvas.setOpacity(1.0);
  canvas.setPen(QPen(Qt::white, 1));
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  canvas.restore();
  canvas.drawImage(QPoint(px, py), picture_);
}

// --- TGameManagment ---

TGameManagment::TGameManagment(const QByteArray& name, TDataFileCallback dataFile, TResManager* resManager,
                               int areaHeight, int areaWidth)
    : DataFile(std::move(dataFile)),
      TickCount(MonotonicTickCount),
      MusicFactory(MakeMPG123Music),
      name_(name),
      areaWidth_(areaWidth),
      areaHeight_(areaHeight),
      resManager_(resManager) {}

TGameManagment::~TGameManagment() {
  overlays_.clear();
  music_.reset();
  characters_.clear();
  sprites_.clear();
}

void TGameManagment::Setup() {
  if (setUp_) return;
  setUp_ = true;
  LoadSprites(resManager_);
}

void TGameManagment::MoveAll() {
  for (const auto& character : characters_) character->Move(areaWidth_, areaHeight_);
}

void TGameManagment::DrawCharacters(QPainter& canvas) {
  for (const auto& character : characters_) character->Draw(canvas);
}

QRect TGameManagment::GetCharacterRect(int index) const {
  const TCharacter* c = Character(index);
  const int hw = c->Width() / 2;
  const int hh = c->Height() / 2;
  return QRect(QPoint(c->X - hw, c->Y - hh), QPoint(c->X + hw, c->Y + hh));
}

void TGameManagment::DrawInfo(QPainter& canvas, int width, int height) {
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing);
  canvas.setPen(Qt::NoPen);
  canvas.setBrush(QColor(200, 30, 30));
  canvas.drawRoundedRect(QRectF(0, 0, width, height), 8, 8);
  QFont font = canvas.font();
  SetFontNSS(font, QStringLiteral("Arial"), 10, TFontStyle::Bold);
  canvas.setFont(font);
  canvas.setPen(Qt::white);
  const int line = TextRect(canvas, QStringLiteral("0")).height();
  TextOutRight(canvas, width - 8, 6, QString::fromUtf8("ניקוד: ") + QString::number(score_));
  TextOutRight(canvas, width - 8, 6 + line, QString::fromUtf8("זמן: ") + QString::number(ElapsedMs()));
  canvas.restore();
}

void TGameManagment::Init() { score_ = 0; }

void TGameManagment::Tick() {
  MoveAll();
  CheckTimeout();
}

void TGameManagment::Shoot(int x, int y) {
  const int index = HitTest(x, y);
  if (index < 0) {
    OnMiss(x, y);
  } else {
    OnHit(index);
  }
}

void TGameManagment::DoubleClick(int x, int y) {
  const int index = HitTest(x, y);
  if (index < 0) {
    OnDoubleMiss(x, y);
  } else {
    OnDoubleHit(index);
  }
}

int TGameManagment::AddSprite(std::unique_ptr<TSprite> sheet) {
  sprites_.push_back(std::move(sheet));
  return SpriteCount() - 1;
}

int TGameManagment::AddCharacter(std::unique_ptr<TCharacter> character) {
  characters_.push_back(std::move(character));
  return CharacterCount();
}

void TGameManagment::ReplaceCharacter(int index, std::unique_ptr<TCharacter> character) {
  characters_[static_cast<size_t>(index)] = std::move(character);
}

void TGameManagment::RemoveCharacter(int index) { characters_.erase(characters_.begin() + index); }

int TGameManagment::IndexOfCharacter(const TCharacter* character) const {
  for (int i = 0; i < CharacterCount(); ++i) {
    if (characters_[static_cast<size_t>(i)].get() == character) return i;
  }
  return -1;
}

int TGameManagment::HitTest(int x, int y) const {
  for (int i = CharacterCount() - 1; i >= 0; --i) {
    if (GetCharacterRect(i).contains(x, y)) return i;
  }
  return -1;
}

void TGameManagment::Draw(QPainter& canvas) {
  DrawCharacters(canvas);
  DrawTexts(canvas);
  DrawOverlays(canvas);
}

void TGameManagment::ResetClock(TTestQuestion& record) {
  if (NextQuestion) NextQuestion(record);
  clockBase_ = Now();
}

qint64 TGameManagment::CheckTimeout() {
  const qint64 elapsed = ElapsedMs();
  if (elapsed >= TimeOut) OnTimeout();
  return elapsed;
}

QString TGameManagment::ClockText() const {
  const qint64 elapsed = qMax<qint64>(ElapsedMs(), 0);
  return QStringLiteral("%1:%2")
      .arg(elapsed / 1000, 2, 10, QLatin1Char('0'))
      .arg((elapsed % 1000) / 10, 2, 10, QLatin1Char('0'));
}

bool TGameManagment::AddOverlay(std::unique_ptr<TGraphicObject> overlay) {
  overlay->StartTick = Now();
  std::erase_if(overlays_, [&](const std::unique_ptr<TGraphicObject>& listed) { return overlay->Supersedes(*listed); });
  for (const auto& listed : overlays_) {
    if (listed->Supersedes(*overlay)) return false;
  }
  overlays_.push_back(std::move(overlay));
  return true;
}

void TGameManagment::DrawOverlays(QPainter& canvas) {
  for (size_t i = 0; i < overlays_.size();) {
    TGraphicObject& overlay = *overlays_[i];
    overlay.ElapsedMs = Now() - overlay.StartTick;
    overlay.Draw(canvas, areaWidth_, areaHeight_);
    if (overlay.Finished()) {
      overlays_.erase(overlays_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

void TGameManagment::SetSoundOn(bool on) {
  if (on == soundOn_) return;
  soundOn_ = on;
  SetMusic(on ? storedTrack_ : 0);
}

void TGameManagment::TrackFiles(quint8 track, QString& intro, QString& loop) {
  const QChar letter = QLatin1Char(static_cast<char>('A' + track - 1));
  if (track <= 4) {
    intro = QStringLiteral("Game Music\\") + letter + QStringLiteral("1.mp3");
    loop = QStringLiteral("Game Music\\") + letter + QStringLiteral("2.mp3");
  } else {
    intro = loop = QStringLiteral("Game Music\\") + letter + QStringLiteral(".mp3");
  }
}

void TGameManagment::SetMusic(quint8 track) {
  if (track > 6) return;
  if ((track == storedTrack_ && music_) || (track == 0 && !music_)) return;
  if (track != 0) storedTrack_ = track;
  if (!soundOn_ && track != 0) return;
  if (music_) {
    music_->Stop();
    music_.reset();
  }
  if (track == 0) return;
  QString intro, loop;
  TrackFiles(track, intro, loop);
  // Music is a pleasure, not a need: without it the game goes on silent.
  try {
    const QString introPath = DataFile ? DataFile(intro) : intro;
    const QString loopPath = DataFile ? DataFile(loop) : loop;
    music_ = MusicFactory(introPath, loopPath, kMusicBufferSize);
    if (music_) music_->Play();
  } catch (const std::exception& e) {
    music_.reset();
    LogLine(QByteArray("Background music ") + intro.toUtf8() + " not played: " + e.what());
  }
}

}  // namespace zabko
