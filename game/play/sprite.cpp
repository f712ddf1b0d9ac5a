#include "game/play/sprite.h"

#include "core/res_manager.h"

namespace zabko {

namespace {

const char* const kSuffixes[kDirectionCount] = {" e", " se", " s", " sw", " w", " nw", " n", " ne"};

}  // namespace

const char* DirectionSuffix(int direction) {
  return direction >= 0 && direction < kDirectionCount ? kSuffixes[direction] : "";
}

QImage KeyedImage(const QImage& picture, TColor key) {
  QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = WinColor(key).rgb() & 0xFFFFFF;
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == keyRgb) line[x] = 0;
    }
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TSprite::TSprite(const QByteArray& prefix, quint8 kind, int frameDelay, TColor transparentColor, int height, int width,
                 TResManager& resManager, int framesPerSet)
    : prefix_(prefix),
      kind_(kind),
      frameDelay_(frameDelay),
      framesPerSet_(framesPerSet),
      transparentColor_(transparentColor),
      width_(width),
      height_(height) {
  const int sets = kind == skDirected ? kDirectionCount : 1;
  images_.reserve(static_cast<size_t>(sets * qMax(framesPerSet, 0)));
  for (int direction = 0; direction < sets; ++direction) {
    for (int frame = 0; frame < framesPerSet; ++frame) {
      QImage picture;
      resManager.LoadBitmap(picture, FrameName(prefix, kind, direction, frame));
      // Every image of the sheet has the sheet's size, whatever the bitmap's.
      if (picture.size() != QSize(width, height)) picture = picture.copy(0, 0, width, height);
      images_.push_back(KeyedImage(picture, transparentColor));
    }
  }
}

QString TSprite::FrameName(const QByteArray& prefix, quint8 kind, int direction, int frame) {
  const QString suffix = kind == skDirected ? QString::fromLatin1(DirectionSuffix(direction)) : QString();
  return QString::fromLatin1(prefix) + suffix + QStringLiteral("%1.bmp").arg(frame, 4, 10, QLatin1Char('0'));
}

int TSprite::ImageIndex(int direction, int frame) const {
  switch (kind_) {
    case skDirected:
      return direction * framesPerSet_ + frame;
    case skOneSet:
      return frame;
    default:
      return 0;
  }
}

TCharacter::TCharacter(int x, TSprite* sprite, quint8 direction, int dy, int dx, int y)
    : Sprite(sprite), X(x), Y(y), Dy(dy), Dx(dx), Direction(direction), TicksLeft(sprite->FrameDelay()) {}

void TCharacter::Move(int areaWidth, int areaHeight) {
  if (TicksLeft-- == 1) {
    Frame = Sprite->FramesPerSet() > 0 ? (Frame + 1) % Sprite->FramesPerSet() : 0;
    TicksLeft = Sprite->FrameDelay();
  }

  switch (Direction) {
    case dirE: case dirSE: case dirNE: X += Dx; break;
    case dirSW: case dirW: case dirNW: X -= Dx; break;
    default: break;
  }
  switch (Direction) {
    case dirNW: case dirN: case dirNE: Y -= Dy; break;
    case dirSE: case dirS: case dirSW: Y += Dy; break;
    default: break;
  }

  if (Direction >= kDirectionCount) return;
  const int hw = Width() / 2;
  const int hh = Height() / 2;
  const bool west = Direction == dirSW || Direction == dirW || Direction == dirNW;
  const bool east = Direction == dirE || Direction == dirSE || Direction == dirNE;
  if ((X < hw + Dx && west) || (areaWidth - hw - Dx < X && east)) {
    static const quint8 mirrored[kDirectionCount] = {dirW, dirSW, dirS, dirSE, dirE, dirNE, dirN, dirNW};
    Direction = mirrored[Direction];
  }
  const bool north = Direction == dirNW || Direction == dirN || Direction == dirNE;
  const bool south = Direction == dirSE || Direction == dirS || Direction == dirSW;
  if ((Y < hh + Dy && north) || (areaHeight - hh - Dy < Y && south)) {
    static const quint8 flipped[kDirectionCount] = {dirE, dirNE, dirN, dirNW, dirW, dirSW, dirS, dirSE};
    Direction = flipped[Direction];
  }
}

void TCharacter::Draw(QPainter& canvas) const {
  const int index = ImageIndex();
  if (index < 0 || index >= Sprite->ImageCount()) return;
  canvas.drawImage(QPoint(X - Width() / 2, Y - Height() / 2), Sprite->Image(index));
}

bool TCharacter::IsLastFrame() const { return Frame == Sprite->FramesPerSet() - 1 && TicksLeft == 1; }

}  // namespace zabko
