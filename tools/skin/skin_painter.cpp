#include "tools/skin/skin_painter.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace zabko::skin {

namespace {

struct ToneColours {
  QColor top, bottom, border;
};

ToneColours ColoursOf(Tone tone) {
  switch (tone) {
    case Tone::Blue: return {palette::Sky, palette::Blue, palette::Navy};
    case Tone::Orange: return {palette::Amber, palette::Orange, QColor(0xC2, 0x6E, 0x1E)};
    case Tone::Grey: return {QColor(0xE4, 0xE9, 0xEC), palette::Stone, QColor(0x7E, 0x8B, 0x92)};
    case Tone::Green: return {QColor(0x8C, 0xD0, 0x86), palette::Leaf, QColor(0x2F, 0x75, 0x3A)};
    case Tone::Light: return {palette::Ice, palette::Mist, palette::Sky};
  }
  return {palette::Sky, palette::Blue, palette::Navy};
}

QPen Stroke(const QColor& c, qreal width) {
  QPen pen(c, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

}  // namespace

QColor InkOn(Tone tone, Face face) {
  if (tone == Tone::Light || tone == Tone::Grey) return face == Face::Hover ? palette::Blue : palette::Navy;
  return Qt::white;
}

void PaintFace(QPainter& p, const QRectF& area, Face face, Tone tone, qreal radius) {
  ToneColours c = ColoursOf(tone);
  if (face == Face::Hover) {
    c.top = c.top.lighter(112);
    c.bottom = c.bottom.lighter(115);
  } else if (face == Face::Down) {
    std::swap(c.top, c.bottom);
    c.top = c.top.darker(112);
    c.bottom = c.bottom.darker(104);
  }
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body = area.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0, c.top);
  fill.setColorAt(1, c.bottom);
  p.setPen(QPen(c.border, 1));
  p.setBrush(fill);
  p.drawRoundedRect(body, radius, radius);
  // A soft highlight along the top, absent when pressed.
  if (face != Face::Down) {
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.setBrush(Qt::NoBrush);
    const QRectF shine = body.adjusted(1.5, 1.5, -1.5, -body.height() / 2);
    p.drawLine(QPointF(shine.left() + radius / 2, shine.top()), QPointF(shine.right() - radius / 2, shine.top()));
  }
  p.restore();
}

QImage Filled(int w, int h, const QColor& colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

QImage SpriteSheet(int w, int h, int columns,
                   const std::function<void(QPainter& p, const QRectF& cell, int column, Face face)>& paint) {
  QImage sheet = Filled(w * columns, h * 3, palette::Mist);
  QPainter p(&sheet);
  for (int column = 0; column < columns; ++column) {
    for (int row = 0; row < 3; ++row) paint(p, QRectF(column * w, row * h, w, h), column, Face(row));
  }
  return sheet;
}

void MakeMiddleUniform(QImage& sheet, int s) {
  for (int cell = 0; cell + 3 * s <= sheet.width(); cell += 3 * s) {
    const int centre = cell + s + s / 2;
    for (int y = 0; y < sheet.height(); ++y) {
      const QRgb pixel = sheet.pixel(centre, y);
      for (int x = cell + s; x < cell + 2 * s; ++x) sheet.setPixel(x, y, pixel);
    }
  }
}

QImage ThreeSliceSheet(int s, int h, Tone tone, const Icon& icon, int columns, const std::function<Tone(int)>& toneOf) {
  QImage sheet = SpriteSheet(3 * s, h, columns, [&](QPainter& p, const QRectF& cell, int column, Face face) {
    const Tone t = toneOf ? toneOf(column) : tone;
    PaintFace(p, cell, face, t, std::min(6.0, h / 3.0));
  });
  MakeMiddleUniform(sheet, s);
  if (icon) {
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    for (int column = 0; column < columns; ++column) {
      const Tone t = toneOf ? toneOf(column) : tone;
      for (int row = 0; row < 3; ++row) {
        const qreal shift = row == 2 ? 1 : 0;
        const qreal side = std::min<qreal>(s, h) * 0.62;
        const QRectF box(column * 3 * s + (s - side) / 2 + shift, row * h + (h - side) / 2 + shift, side, side);
        icon(p, box, InkOn(t, Face(row)));
      }
    }
  }
  return sheet;
}

QFont SkinFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// ---- icons -----------------------------------------------------------------------------------

void IconChevron(QPainter& p, const QRectF& b, const QColor& c, bool up) {
  p.setPen(Stroke(c, std::max(1.5, b.width() / 7)));
  p.setBrush(Qt::NoBrush);
  const qreal y0 = up ? b.bottom() - b.height() * 0.3 : b.top() + b.height() * 0.3;
  const qreal y1 = up ? b.top() + b.height() * 0.3 : b.bottom() - b.height() * 0.3;
  p.drawPolyline(QPolygonF({QPointF(b.left() + b.width() * 0.2, y0), QPointF(b.center().x(), y1),
                            QPointF(b.right() - b.width() * 0.2, y0)}));
}

void IconMagnifier(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, std::max(1.5, b.width() / 7)));
  p.setBrush(Qt::NoBrush);
  const QRectF lens(b.left(), b.top(), b.width() * 0.65, b.height() * 0.65);
  p.drawEllipse(lens);
  p.drawLine(QPointF(lens.right() - lens.width() * 0.12, lens.bottom() - lens.height() * 0.12), b.bottomRight());
}

void IconSpeaker(QPainter& p, const QRectF& b, const QColor& c, bool waves) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  const qreal w = b.width(), h = b.height();
  p.drawPolygon(QPolygonF({QPointF(b.left(), b.top() + h * 0.35), QPointF(b.left() + w * 0.25, b.top() + h * 0.35),
                           QPointF(b.left() + w * 0.5, b.top() + h * 0.1), QPointF(b.left() + w * 0.5, b.bottom() - h * 0.1),
                           QPointF(b.left() + w * 0.25, b.bottom() - h * 0.35), QPointF(b.left(), b.bottom() - h * 0.35)}));
  if (!waves) return;
  p.setPen(Stroke(c, 1.4));
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 2; ++i) {
    const qreal r = w * 0.18 * i;
    p.drawArc(QRectF(b.left() + w * 0.5 - r, b.center().y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
  }
}

void IconPrinter(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.5));
  p.setBrush(Qt::NoBrush);
  const qreal w = b.width(), h = b.height();
  p.drawRect(QRectF(b.left() + w * 0.25, b.top(), w * 0.5, h * 0.3));
  p.drawRoundedRect(QRectF(b.left(), b.top() + h * 0.3, w, h * 0.45), 2, 2);
  p.setBrush(c);
  p.drawRect(QRectF(b.left() + w * 0.25, b.top() + h * 0.62, w * 0.5, h * 0.38));
}

void IconNote(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.6));
  p.setBrush(c);
  const qreal w = b.width(), h = b.height();
  p.drawEllipse(QRectF(b.left(), b.bottom() - h * 0.3, w * 0.38, h * 0.3));
  p.drawEllipse(QRectF(b.left() + w * 0.58, b.bottom() - h * 0.42, w * 0.38, h * 0.3));
  p.drawLine(QPointF(b.left() + w * 0.36, b.bottom() - h * 0.15), QPointF(b.left() + w * 0.36, b.top() + h * 0.15));
  p.drawLine(QPointF(b.left() + w * 0.94, b.bottom() - h * 0.27), QPointF(b.left() + w * 0.94, b.top()));
  p.drawLine(QPointF(b.left() + w * 0.36, b.top() + h * 0.15), QPointF(b.left() + w * 0.94, b.top()));
}

void IconDisc(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(b);
  p.setBrush(c);
  p.drawEllipse(QRectF(b.center().x() - b.width() * 0.12, b.center().y() - b.height() * 0.12, b.width() * 0.24,
                       b.height() * 0.24));
  p.setBrush(Qt::NoBrush);
  p.drawArc(b.adjusted(b.width() * 0.2, b.height() * 0.2, -b.width() * 0.2, -b.height() * 0.2), 100 * 16, 60 * 16);
}

void IconPhone(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.5));
  p.setBrush(Qt::NoBrush);
  const QRectF body(b.center().x() - b.width() * 0.3, b.top(), b.width() * 0.6, b.height());
  p.drawRoundedRect(body, 3, 3);
  p.drawLine(QPointF(body.left() + 2, body.bottom() - body.height() * 0.2),
             QPointF(body.right() - 2, body.bottom() - body.height() * 0.2));
  p.setBrush(c);
  p.drawEllipse(QPointF(body.center().x(), body.bottom() - body.height() * 0.1), 1.2, 1.2);
}

void IconEnvelope(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.5));
  p.setBrush(Qt::NoBrush);
  const QRectF body = b.adjusted(0, b.height() * 0.15, 0, -b.height() * 0.15);
  p.drawRect(body);
  p.drawPolyline(QPolygonF({body.topLeft(), QPointF(body.center().x(), body.center().y() + 1), body.topRight()}));
}

void IconFriends(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  const qreal w = b.width(), h = b.height();
  for (int i = 0; i < 2; ++i) {
    const qreal x = b.left() + w * (i == 0 ? 0.05 : 0.45);
    p.drawEllipse(QRectF(x + w * 0.1, b.top() + h * 0.05, w * 0.3, h * 0.35));
    p.drawChord(QRectF(x, b.top() + h * 0.45, w * 0.5, h * 0.8), 0, 180 * 16);
  }
}

void IconInfo(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(b);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  const qreal w = b.width();
  p.drawEllipse(QPointF(b.center().x(), b.top() + b.height() * 0.28), w * 0.08, w * 0.08);
  p.drawRoundedRect(QRectF(b.center().x() - w * 0.07, b.top() + b.height() * 0.42, w * 0.14, b.height() * 0.38), 1, 1);
}

void IconGear(QPainter& p, const QRectF& b, const QColor& c) {
  p.save();
  p.translate(b.center());
  const qreal r = std::min(b.width(), b.height()) / 2;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  for (int i = 0; i < 8; ++i) {
    p.drawRect(QRectF(-r * 0.16, -r, r * 0.32, r * 0.4));
    p.rotate(45);
  }
  p.drawEllipse(QPointF(0, 0), r * 0.72, r * 0.72);
  p.setBrush(palette::Blue);
  p.drawEllipse(QPointF(0, 0), r * 0.3, r * 0.3);
  p.restore();
}

void IconFunnel(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.2));
  p.setBrush(c);
  const qreal w = b.width(), h = b.height();
  p.drawPolygon(QPolygonF({b.topLeft(), b.topRight(), QPointF(b.left() + w * 0.6, b.top() + h * 0.5),
                           QPointF(b.left() + w * 0.6, b.bottom()), QPointF(b.left() + w * 0.4, b.bottom() - h * 0.12),
                           QPointF(b.left() + w * 0.4, b.top() + h * 0.5)}));
}

void IconPencil(QPainter& p, const QRectF& b, const QColor& c) {
  p.save();
  p.translate(b.center());
  p.rotate(45);
  const qreal l = b.width() * 0.62, t = b.width() * 0.13;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRect(QRectF(-t, -l, 2 * t, l * 1.45));
  p.drawPolygon(QPolygonF({QPointF(-t, l * 0.5), QPointF(t, l * 0.5), QPointF(0, l)}));
  p.restore();
}

void IconClock(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(b);
  p.drawLine(b.center(), QPointF(b.center().x(), b.top() + b.height() * 0.2));
  p.drawLine(b.center(), QPointF(b.center().x() + b.width() * 0.25, b.center().y() + b.height() * 0.1));
}

void IconHouse(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, 1.5));
  p.setBrush(Qt::NoBrush);
  const qreal w = b.width(), h = b.height();
  p.drawPolyline(QPolygonF({QPointF(b.left(), b.top() + h * 0.45), QPointF(b.center().x(), b.top()),
                            QPointF(b.right(), b.top() + h * 0.45)}));
  p.drawRect(QRectF(b.left() + w * 0.15, b.top() + h * 0.4, w * 0.7, h * 0.6));
  p.setBrush(c);
  p.drawRect(QRectF(b.center().x() - w * 0.1, b.bottom() - h * 0.35, w * 0.2, h * 0.35));
}

void IconCross(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, std::max(1.6, b.width() / 6)));
  p.drawLine(b.topLeft(), b.bottomRight());
  p.drawLine(b.topRight(), b.bottomLeft());
}

void IconCheck(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Stroke(c, std::max(1.6, b.width() / 6)));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(b.left(), b.center().y()), QPointF(b.left() + b.width() * 0.4, b.bottom()),
                            QPointF(b.right(), b.top())}));
}

void IconArrow(QPainter& p, const QRectF& b, const QColor& c, int direction) {
  p.save();
  p.translate(b.center());
  p.rotate(direction == 0 ? 0 : direction == 1 ? 90 : -90);
  const qreal r = std::min(b.width(), b.height()) / 2;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRect(QRectF(-r * 0.22, -r, r * 0.44, r));
  p.drawPolygon(QPolygonF({QPointF(-r * 0.7, 0), QPointF(r * 0.7, 0), QPointF(0, r)}));
  p.restore();
}

void IconGamepad(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  const qreal w = b.width(), h = b.height();
  p.drawRoundedRect(QRectF(b.left(), b.top() + h * 0.25, w, h * 0.55), h * 0.27, h * 0.27);
  p.setBrush(palette::Orange);
  p.drawRect(QRectF(b.left() + w * 0.18, b.top() + h * 0.47, w * 0.2, h * 0.1));
  p.drawRect(QRectF(b.left() + w * 0.23, b.top() + h * 0.42, w * 0.1, h * 0.2));
  p.drawEllipse(QPointF(b.left() + w * 0.7, b.top() + h * 0.45), h * 0.06, h * 0.06);
  p.drawEllipse(QPointF(b.left() + w * 0.8, b.top() + h * 0.57), h * 0.06, h * 0.06);
}

void IconSmiley(QPainter& p, const QRectF& b, const QColor& fill, int mood) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient shade(b.center() - QPointF(b.width() * 0.15, b.height() * 0.15), b.width() * 0.7);
  shade.setColorAt(0, fill.lighter(130));
  shade.setColorAt(1, fill);
  p.setPen(QPen(fill.darker(150), 1.5));
  p.setBrush(shade);
  p.drawEllipse(b);
  p.setPen(Qt::NoPen);
  p.setBrush(palette::Ink);
  const qreal w = b.width(), h = b.height();
  p.drawEllipse(QPointF(b.left() + w * 0.35, b.top() + h * 0.38), w * 0.06, h * 0.08);
  p.drawEllipse(QPointF(b.left() + w * 0.65, b.top() + h * 0.38), w * 0.06, h * 0.08);
  p.setPen(Stroke(palette::Ink, std::max(1.5, w / 22)));
  p.setBrush(Qt::NoBrush);
  const QRectF mouth(b.left() + w * 0.28, b.top() + h * (mood > 0 ? 0.42 : 0.62), w * 0.44, h * 0.3);
  if (mood > 0) {
    p.drawArc(mouth, 200 * 16, 140 * 16);
  } else if (mood < 0) {
    p.drawArc(mouth, 20 * 16, 140 * 16);
  } else {
    p.drawLine(QPointF(mouth.left(), b.top() + h * 0.68), QPointF(mouth.right(), b.top() + h * 0.68));
  }
  p.restore();
}

void IconFrog(QPainter& p, const QRectF& b) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = b.width(), h = b.height();
  const QColor skin(0x6C, 0xBF, 0x4F), dark(0x3E, 0x86, 0x2E);
  p.setPen(QPen(dark, std::max(1.0, w / 40)));
  p.setBrush(skin);
  // Eyes on top of a wide head.
  p.drawEllipse(QRectF(b.left() + w * 0.12, b.top(), w * 0.3, h * 0.36));
  p.drawEllipse(QRectF(b.left() + w * 0.58, b.top(), w * 0.3, h * 0.36));
  p.drawEllipse(QRectF(b.left(), b.top() + h * 0.18, w, h * 0.8));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(b.left() + w * 0.17, b.top() + h * 0.05, w * 0.2, h * 0.24));
  p.drawEllipse(QRectF(b.left() + w * 0.63, b.top() + h * 0.05, w * 0.2, h * 0.24));
  p.setBrush(palette::Ink);
  p.drawEllipse(QRectF(b.left() + w * 0.23, b.top() + h * 0.1, w * 0.1, h * 0.14));
  p.drawEllipse(QRectF(b.left() + w * 0.69, b.top() + h * 0.1, w * 0.1, h * 0.14));
  p.setPen(QPen(dark, std::max(1.5, w / 25), Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(b.left() + w * 0.22, b.top() + h * 0.35, w * 0.56, h * 0.45), 200 * 16, 140 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xF2, 0x9A, 0x9A, 160));
  p.drawEllipse(QRectF(b.left() + w * 0.1, b.top() + h * 0.58, w * 0.14, h * 0.1));
  p.drawEllipse(QRectF(b.left() + w * 0.76, b.top() + h * 0.58, w * 0.14, h * 0.1));
  p.restore();
}

}  // namespace zabko::skin
