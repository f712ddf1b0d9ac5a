// The animals of the shooting game, each drawn facing east in a 100 x 100 box centred on the
// origin, at an animation phase T from 0 to 1 (one cycle of the sheet). PaintFrame turns and
// mirrors them into the eight directions and lays them on the sheet's key colour.
#include "tools/game/game_graphics.h"

#include "tools/skin/skin_painter.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace zabko::game_art {

namespace {

constexpr double kPi = 3.14159265358979323846;

QPen Line(const QColor& c, qreal width) {
  QPen pen(c, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Eye(QPainter& p, QPointF at, qreal r) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(at, r, r);
  p.setBrush(skin::palette::Ink);
  p.drawEllipse(at + QPointF(r * 0.3, 0), r * 0.55, r * 0.55);
}

QRadialGradient Shade(QPointF centre, qreal radius, const QColor& colour) {
  QRadialGradient g(centre - QPointF(radius * 0.3, radius * 0.4), radius * 1.3);
  g.setColorAt(0, colour.lighter(135));
  g.setColorAt(1, colour.darker(110));
  return g;
}

void Bat(QPainter& p, double t) {
  const QColor body(0x5B, 0x3F, 0x8C), wing(0x7A, 0x5C, 0xB0), edge(0x2E, 0x1F, 0x4A);
  const qreal flap = std::sin(2 * kPi * t) * 28;
  for (int side : {-1, 1}) {
    QPainterPath w;
    w.moveTo(-4, 0);
    w.cubicTo(-20, side * (18 + flap * 0.5), -44, side * (30 + flap), -46, side * (10 + flap * 0.6));
    w.lineTo(-32, side * (4 + flap * 0.3));
    w.lineTo(-20, side * (8 + flap * 0.4));
    w.lineTo(-10, side * 2.0);
    w.closeSubpath();
    p.setPen(Line(edge, 2));
    p.setBrush(wing);
    p.drawPath(w.translated(12, 0));
  }
  p.setPen(Line(edge, 2));
  p.setBrush(Shade(QPointF(0, 0), 20, body));
  p.drawEllipse(QPointF(0, 0), 22, 14);
  p.drawEllipse(QPointF(22, -2), 12, 11);
  p.setBrush(body);
  p.drawPolygon(QPolygonF({QPointF(16, -10), QPointF(18, -24), QPointF(24, -11)}));
  p.drawPolygon(QPolygonF({QPointF(24, -11), QPointF(30, -22), QPointF(31, -8)}));
  Eye(p, QPointF(27, -4), 3.5);
  p.setPen(Line(Qt::white, 1.5));
  p.drawLine(QPointF(29, 5), QPointF(30, 9));
}

void Cow(QPainter& p, double t) {
  const QColor hide(0xF4, 0xF1, 0xEA), spot(0x3A, 0x34, 0x30), edge(0x55, 0x4E, 0x48);
  const qreal step = std::sin(2 * kPi * t) * 8;
  p.setPen(Line(edge, 3));
  for (int i = 0; i < 4; ++i) {
    const qreal x = -24 + i * 14;
    const qreal swing = (i % 2 == 0 ? step : -step);
    p.drawLine(QPointF(x, 10), QPointF(x + swing, 32));
  }
  p.setPen(Line(edge, 2));
  p.setBrush(hide);
  p.drawRoundedRect(QRectF(-34, -14, 60, 30), 14, 14);
  p.setPen(Qt::NoPen);
  p.setBrush(spot);
  p.drawEllipse(QRectF(-24, -10, 16, 12));
  p.drawEllipse(QRectF(2, 0, 12, 10));
  p.setPen(Line(edge, 2));
  p.drawLine(QPointF(-34, -6), QPointF(-42 - step * 0.5, 6));
  p.setBrush(hide);
  p.drawEllipse(QPointF(32, -14), 13, 12);
  p.setBrush(QColor(0xF2, 0xAE, 0xA8));
  p.drawEllipse(QPointF(40, -8), 7, 5);
  Eye(p, QPointF(33, -18), 3);
  // The king's crown.
  p.setPen(Line(QColor(0xB8, 0x86, 0x0B), 1.5));
  p.setBrush(QColor(0xF7, 0xC8, 0x36));
  p.drawPolygon(QPolygonF({QPointF(22, -25), QPointF(24, -38), QPointF(29, -30), QPointF(33, -41), QPointF(37, -30),
                           QPointF(42, -38), QPointF(42, -25)}));
  p.setPen(Qt::NoPen);
  p.setBrush(skin::palette::Rose);
  p.drawEllipse(QPointF(32, -29), 2, 2);
}

void BallFish(QPainter& p, double t) {
  const QColor body(0xF7, 0xB5, 0x2E), belly(0xFC, 0xE7, 0xA8), edge(0xB0, 0x6A, 0x10);
  const qreal wag = std::sin(2 * kPi * t) * 10;
  const qreal puff = 1 + 0.06 * std::sin(2 * kPi * t);
  p.setPen(Line(edge, 2));
  p.setBrush(skin::palette::Orange);
  p.drawPolygon(QPolygonF({QPointF(-26, 0), QPointF(-44, -14 + wag), QPointF(-44, 14 + wag)}));
  // Spikes all round.
  p.setPen(Line(edge, 4));
  for (int i = 0; i < 14; ++i) {
    const double a = 2 * kPi * i / 14;
    const qreal r0 = 26 * puff, r1 = 34 * puff;
    p.drawLine(QPointF(std::cos(a) * r0, std::sin(a) * r0 * 1.15), QPointF(std::cos(a) * r1, std::sin(a) * r1 * 1.15));
  }
  p.setBrush(Shade(QPointF(0, 0), 28, body));
  p.drawEllipse(QPointF(0, 0), 28 * puff, 32 * puff);
  p.setPen(Qt::NoPen);
  p.setBrush(belly);
  p.drawEllipse(QRectF(-14 * puff, 6 * puff, 30 * puff, 20 * puff));
  Eye(p, QPointF(14, -10), 6);
  p.setPen(Line(edge, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(25, 4), 3, 2.5);
}

void Mouse(QPainter& p, double t) {
  const QColor fur(0x9A, 0xA3, 0xAD), ear(0xF0, 0xB8, 0xC0), edge(0x55, 0x5D, 0x66);
  const qreal step = std::sin(2 * kPi * t) * 7;
  p.setPen(Line(edge, 2.5));
  p.setBrush(Qt::NoBrush);
  QPainterPath tail;
  tail.moveTo(-26, 4);
  tail.cubicTo(-40, 0 + step, -44, 16 - step, -48, 8 + step);
  p.drawPath(tail);
  for (int i = 0; i < 2; ++i) {
    const qreal x = -10 + i * 22;
    p.drawLine(QPointF(x, 12), QPointF(x + (i == 0 ? step : -step), 24));
  }
  p.setPen(Line(edge, 2));
  p.setBrush(Shade(QPointF(0, 0), 24, fur));
  p.drawEllipse(QPointF(-2, 2), 26, 16);
  p.drawEllipse(QPointF(24, -4), 14, 12);
  p.setBrush(ear);
  p.drawEllipse(QPointF(16, -18), 9, 9);
  p.drawEllipse(QPointF(28, -20), 8, 8);
  Eye(p, QPointF(28, -6), 3);
  p.setPen(Qt::NoPen);
  p.setBrush(skin::palette::Rose);
  p.drawEllipse(QPointF(38, -2), 3, 3);
  p.setPen(Line(edge, 1));
  p.drawLine(QPointF(34, 0), QPointF(46, -4));
  p.drawLine(QPointF(34, 2), QPointF(46, 4));
}

void Crocodile(QPainter& p, double t) {
  const QColor scales(0x4C, 0xA6, 0x5A), dark(0x2A, 0x6B, 0x34), belly(0xC8, 0xE6, 0x9A);
  const qreal jaw = (1 - std::cos(2 * kPi * t)) * 5;
  const qreal step = std::sin(2 * kPi * t) * 5;
  // A long, low animal: drawn taller so that it still shows in a small square frame.
  p.scale(1.05, 1.5);
  p.setPen(Line(dark, 3));
  for (int i = 0; i < 2; ++i) {
    const qreal x = -14 + i * 22;
    p.drawLine(QPointF(x, 6), QPointF(x + (i == 0 ? step : -step), 16));
  }
  p.setPen(Line(dark, 2));
  p.setBrush(scales);
  QPainterPath body;
  body.moveTo(-48, 2 + step * 0.4);
  body.quadTo(-30, -12, -4, -10);
  body.lineTo(20, -8);
  body.lineTo(46, -6 - jaw);
  body.lineTo(46, -2 - jaw * 0.5);
  body.lineTo(22, 0);
  body.lineTo(46, 2 + jaw * 0.3);
  body.lineTo(44, 7 + jaw);
  body.lineTo(20, 8);
  body.quadTo(-20, 12, -48, 2 + step * 0.4);
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(belly);
  p.drawEllipse(QRectF(-22, 2, 36, 7));
  p.setBrush(dark);
  for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(-30 + i * 9, -8 + (i % 2)), 2.2, 2.2);
  p.setBrush(Qt::white);
  for (int i = 0; i < 4; ++i) {
    p.drawPolygon(QPolygonF({QPointF(26 + i * 5, 0), QPointF(28 + i * 5, 3), QPointF(30 + i * 5, 0)}));
  }
  Eye(p, QPointF(16, -11), 3.5);
}

void TRex(QPainter& p, double t) {
  const QColor skinColour(0x5F, 0xA8, 0x3E), dark(0x2F, 0x62, 0x1E), belly(0xE8, 0xD9, 0x8C);
  const qreal step = std::sin(2 * kPi * t) * 9;
  p.setPen(Line(dark, 5));
  p.drawLine(QPointF(-6, 12), QPointF(-10 + step, 38));
  p.drawLine(QPointF(6, 12), QPointF(4 - step, 38));
  p.setPen(Line(dark, 2));
  p.setBrush(skinColour);
  QPainterPath body;
  body.moveTo(-46, 6 + step * 0.3);
  body.quadTo(-24, -4, -6, -12);
  body.quadTo(8, -22, 14, -30);
  body.lineTo(18, -34);
  body.quadTo(24, 0, 12, 14);
  body.quadTo(-12, 20, -46, 6 + step * 0.3);
  p.drawPath(body);
  p.setBrush(belly);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(-6, -6, 18, 20));
  p.setPen(Line(dark, 2));
  p.setBrush(skinColour);
  p.drawRoundedRect(QRectF(6, -46, 36, 20), 8, 8);
  p.setBrush(Qt::white);
  for (int i = 0; i < 4; ++i) {
    p.drawPolygon(QPolygonF({QPointF(20 + i * 5, -28), QPointF(22 + i * 5, -24), QPointF(24 + i * 5, -28)}));
  }
  Eye(p, QPointF(22, -40), 3.5);
  p.setPen(Line(dark, 3));
  p.drawLine(QPointF(12, -8), QPointF(20, -2 + step * 0.3));
}

void Bird(QPainter& p, double t) {
  const QColor feathers(0x29, 0x78, 0x9F), light(0x5D, 0xA9, 0xD1), edge(0x1B, 0x4F, 0x72);
  const qreal flap = std::sin(2 * kPi * t) * 30;
  p.setPen(Line(edge, 2));
  p.setBrush(feathers);
  p.drawPolygon(QPolygonF({QPointF(-24, 0), QPointF(-44, -10), QPointF(-40, 0), QPointF(-44, 10)}));
  p.setBrush(Shade(QPointF(0, 0), 22, light));
  p.drawEllipse(QPointF(-2, 0), 26, 15);
  p.drawEllipse(QPointF(24, -8), 12, 11);
  p.setBrush(skin::palette::Amber);
  p.drawPolygon(QPolygonF({QPointF(34, -11), QPointF(46, -6), QPointF(34, -3)}));
  Eye(p, QPointF(27, -11), 3.5);
  p.setBrush(feathers);
  QPainterPath wing;
  wing.moveTo(-12, -2);
  wing.quadTo(-2, -18 - flap, 14, -30 - flap * 0.8);
  wing.quadTo(6, -8 - flap * 0.3, 6, 0);
  wing.closeSubpath();
  p.drawPath(wing);
}

void Explosion(QPainter& p, int frame) {
  const qreal grow = 0.55 + 0.15 * frame;
  p.setPen(Qt::NoPen);
  for (int ring = 0; ring < 3; ++ring) {
    const QColor colours[] = {QColor(0xE8, 0x4A, 0x1C), QColor(0xF7, 0x9A, 0x2E), QColor(0xFF, 0xE1, 0x6B)};
    QPolygonF star;
    const int points = 12;
    const qreal outer = (46 - ring * 13) * grow, inner = outer * 0.62;
    for (int i = 0; i < 2 * points; ++i) {
      const double a = kPi * i / points + frame * 0.3 + ring * 0.2;
      const qreal r = i % 2 == 0 ? outer : inner;
      star << QPointF(std::cos(a) * r, std::sin(a) * r);
    }
    p.setBrush(colours[ring]);
    p.drawPolygon(star);
  }
  p.setBrush(QColor(255, 255, 240, 220));
  p.drawEllipse(QPointF(0, 0), 8 * grow, 8 * grow);
}

// Mirror and tilt of each direction for an animal drawn facing east: west-ward directions are
// the mirror image, diagonals tilt by 25 degrees, north and south by 55 (nose up or down).
void Face(QPainter& p, int direction) {
  static const qreal tilt[8] = {0, 25, 55, 25, 0, -25, -55, -25};
  if (direction >= 3 && direction <= 5) p.scale(-1, 1);
  p.rotate(tilt[direction]);
}

}  // namespace

QImage PaintFrame(const TSheet& sheet, int sheetIndex, int direction, int frame) {
  QImage art(sheet.width, sheet.height, QImage::Format_ARGB32_Premultiplied);
  art.fill(Qt::transparent);
  {
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(sheet.width / 2.0, sheet.height / 2.0);
    const qreal side = std::min(sheet.width, sheet.height);
    p.scale(side / 100.0 * 0.92, side / 100.0 * 0.92);
    const double t = double(frame) / sheet.frames;
    if (sheet.directed) Face(p, direction);
    switch (sheetIndex) {
      case 0: Bat(p, t); break;
      case 1: Cow(p, t); break;
      case 2: BallFish(p, t); break;
      case 3: Mouse(p, t); break;
      case 4: Crocodile(p, t); break;
      case 5: TRex(p, t); break;
      case 6: Bird(p, t); break;
      default: Explosion(p, frame); break;
    }
  }
  // Hard edges on the key colour: a half-covered pixel is the animal's, a less covered one the
  // key's, so that no blend of the two is left around the outline.
  const QRgb key = qRgb(sheet.key & 0xFF, (sheet.key >> 8) & 0xFF, (sheet.key >> 16) & 0xFF);
  QImage frameImage(sheet.width, sheet.height, QImage::Format_RGB32);
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < sheet.width; ++x) {
      const QRgb pixel = art.pixel(x, y);  // unpremultiplied
      QRgb out = qAlpha(pixel) >= 128 ? qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) : key;
      if (qAlpha(pixel) >= 128 && (out & 0xFFFFFF) == (key & 0xFFFFFF)) out ^= 0x000001;
      frameImage.setPixel(x, y, out);
    }
  }
  return frameImage;
}

}  // namespace zabko::game_art
