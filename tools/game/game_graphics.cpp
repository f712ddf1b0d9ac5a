// The game's bitmaps other than the animals, in the geometry the game cuts from them: the start
// screen's buttons are three rows (plain, hover, down) of their height, side by side at their
// sprite X; the status bar's strips have fixed cells; text pictures sit on a plain key colour.
#include "tools/game/game_graphics.h"

#include "tools/skin/skin_painter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace zabko::game_art {

namespace {

using namespace skin;
using namespace skin::palette;

const char* const kSuffixes[8] = {" e", " se", " s", " sw", " w", " nw", " n", " ne"};

QString Hebrew(const char* utf8) { return QString::fromUtf8(utf8); }

// The colour of a stage: its sky, its ground.
struct Scene {
  QColor skyTop, skyBottom, ground, hills;
};
Scene SceneOf(int stage) {
  static const Scene scenes[] = {
      {QColor(0x8F, 0xD3, 0xF4), QColor(0xE3, 0xF4, 0xFB), QColor(0x7C, 0xC2, 0x5B), QColor(0x5E, 0xA8, 0x45)},
      {QColor(0x6F, 0xB7, 0xE8), QColor(0xD8, 0xEE, 0xF7), QColor(0xD9, 0xC2, 0x7A), QColor(0xC0, 0xA0, 0x5A)},
      {QColor(0xF4, 0xB8, 0x7A), QColor(0xFB, 0xE6, 0xC8), QColor(0x9C, 0x7A, 0x4E), QColor(0x7E, 0x5E, 0x3A)},
      {QColor(0x9E, 0xD8, 0xC8), QColor(0xE8, 0xF7, 0xF1), QColor(0x4C, 0xA6, 0x5A), QColor(0x2F, 0x75, 0x3A)},
      {QColor(0x3E, 0x8E, 0xC8), QColor(0xB6, 0xDD, 0xF2), QColor(0x5D, 0xA9, 0xD1), QColor(0x29, 0x78, 0x9F)},
      {QColor(0xC9, 0xB6, 0xE8), QColor(0xF1, 0xEA, 0xFA), QColor(0x8E, 0xB8, 0x6A), QColor(0x6A, 0x94, 0x4E)},
      {QColor(0x2C, 0x3E, 0x6B), QColor(0x6B, 0x7F, 0xB0), QColor(0x3F, 0x5A, 0x3A), QColor(0x2B, 0x40, 0x28)},
      {QColor(0xF2, 0x9A, 0x38), QColor(0xF7, 0xD9, 0x9B), QColor(0xB5, 0x6B, 0x2E), QColor(0x8A, 0x4B, 0x1C)},
      {QColor(0x1B, 0x4F, 0x72), QColor(0x5D, 0xA9, 0xD1), QColor(0x1F, 0x6F, 0x8A), QColor(0x16, 0x4F, 0x63)},
  };
  return scenes[(stage - 1) % 9];
}

void PaintLandscape(QPainter& p, const QRectF& area, const Scene& scene, int seed) {
  QLinearGradient sky(area.topLeft(), area.bottomLeft());
  sky.setColorAt(0, scene.skyTop);
  sky.setColorAt(1, scene.skyBottom);
  p.fillRect(area, sky);
  p.setRenderHint(QPainter::Antialiasing);
  // Soft clouds.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));
  for (int i = 0; i < 5; ++i) {
    const qreal x = area.left() + std::fmod(151.0 * i + 211.0 * seed + 40, area.width() - 60);
    const qreal y = area.top() + 30 + 37 * ((i * 7 + seed) % 5);
    for (int puff = 0; puff < 3; ++puff) p.drawEllipse(QPointF(x + puff * 26, y - (puff == 1 ? 10 : 0)), 30, 16);
  }
  // Two bands of hills.
  for (int band = 0; band < 2; ++band) {
    QPainterPath hills;
    const qreal base = area.bottom() - (band == 0 ? area.height() * 0.3 : area.height() * 0.18);
    hills.moveTo(area.left(), area.bottom());
    for (qreal x = area.left(); x <= area.right() + 10; x += 10) {
      hills.lineTo(x, base - 18 * std::sin((x + seed * 40) / (70.0 + band * 40)) - 10 * std::sin((x + seed * 13) / 23.0));
    }
    hills.lineTo(area.right(), area.bottom());
    hills.closeSubpath();
    p.setBrush(band == 0 ? scene.hills : scene.ground);
    p.drawPath(hills);
  }
}

// A whole-width face with a caption centred on it, as plain, hover and down rows. Keyed: what lies
// outside the rounded face is the key colour kButtonKey, which the start screen leaves out when
// it draws the button; otherwise the sheet's background shows there.
QImage CaptionButtons(int w, int h, const std::vector<QString>& captions, Tone tone, int pixelSize,
                      bool keyed = false) {
  const auto paint = [&](QPainter& p, const QRectF& cell, int column, Face face) {
    PaintFace(p, cell.adjusted(1, 1, -1, -1), face, tone, std::min(8.0, h / 3.0));
    p.setFont(SkinFont(pixelSize));
    p.setPen(InkOn(tone, face));
    const QRectF text = face == Face::Down ? cell.translated(1, 1) : cell;
    p.drawText(text, Qt::AlignCenter, captions[size_t(column)]);
  };
  const int columns = int(captions.size());
  if (!keyed) return SpriteSheet(w, h, columns, paint);
  // Painted on nothing, then made opaque: a pixel the face covers at least half keeps the face's
  // colour, the others take the key, so the cut edge has no fringe of either colour.
  QImage painted(w * columns, h * 3, QImage::Format_ARGB32_Premultiplied);
  painted.fill(Qt::transparent);
  {
    QPainter p(&painted);
    for (int column = 0; column < columns; ++column) {
      for (int row = 0; row < 3; ++row) paint(p, QRectF(column * w, row * h, w, h), column, Face(row));
    }
  }
  painted = painted.convertToFormat(QImage::Format_ARGB32);
  QImage sheet(painted.size(), QImage::Format_RGB32);
  for (int y = 0; y < sheet.height(); ++y) {
    for (int x = 0; x < sheet.width(); ++x) {
      const QRgb pixel = painted.pixel(x, y);
      sheet.setPixel(x, y, qAlpha(pixel) < 128 ? kButtonKey : qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
    }
  }
  return sheet;
}

QImage EnterScreen() {
  QImage image = Filled(800, 600, Mist);
  QPainter p(&image);
  PaintLandscape(p, QRectF(0, 0, 800, 600), SceneOf(1), 1);
  // The title in a ribbon at the top, the mascot beside it. Every picture on the landscape lies
  // inside the main area (65, 40, 670 x 520), so that a page docked there covers it whole.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Navy, 2));
  QLinearGradient ribbon(0, 44, 0, 134);
  ribbon.setColorAt(0, Sky);
  ribbon.setColorAt(1, Blue);
  p.setBrush(ribbon);
  p.drawRoundedRect(QRectF(190, 48, 420, 88), 22, 22);
  QFont title = SkinFont(54);
  p.setFont(title);
  p.setPen(QColor(0, 0, 0, 70));
  p.drawText(QRectF(192, 51, 420, 88), Qt::AlignCenter, Hebrew("זבקופליי"));
  p.setPen(Qt::white);
  p.drawText(QRectF(190, 48, 420, 88), Qt::AlignCenter, Hebrew("זבקופליי"));
  p.setFont(SkinFont(18, false));
  p.setPen(Navy);
  p.drawText(QRectF(190, 142, 420, 30), Qt::AlignCenter, Hebrew("משחק אוצר המילים"));
  IconFrog(p, QRectF(555, 270, 170, 150));
  // A light panel under the opening sign's text (120, 380) to (350, 550).
  p.setPen(QPen(Sky, 2));
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawRoundedRect(QRectF(108, 370, 254, 188), 18, 18);
  return image;
}

QImage StageBackground(int stage) {
  QImage image = Filled(670, 459, Mist);
  QPainter p(&image);
  PaintLandscape(p, QRectF(0, 0, 670, 459), SceneOf(stage), stage);
  return image;
}

// The dialogs' caption bar, stretched to each dialog's width: a blue band with rounded ends on
// the dialogs' face colour.
QImage CaptionBar() {
  QImage image = Filled(400, 34, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 0, 34);
  band.setColorAt(0, Sky);
  band.setColorAt(1, Navy);
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  p.drawRoundedRect(QRectF(0.5, 0.5, 399, 33), 12, 12);
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.drawLine(QPointF(14, 3.5), QPointF(386, 3.5));
  return image;
}

// The top-10 table's first row: a gold bar with a star between the name and the rank.
QImage BestRow() {
  QImage image = Filled(372, 30, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient gold(0, 0, 0, 30);
  gold.setColorAt(0, QColor(0xFF, 0xE4, 0x8A));
  gold.setColorAt(1, Amber);
  p.setPen(QPen(QColor(0xC8, 0x8A, 0x1E), 1.5));
  p.setBrush(gold);
  p.drawRoundedRect(QRectF(1, 1, 370, 28), 8, 8);
  QPainterPath star;
  const QPointF centre(306, 15);
  for (int i = 0; i < 10; ++i) {
    const qreal angle = -M_PI / 2 + i * M_PI / 5;
    const qreal radius = i % 2 ? 4.5 : 11;
    const QPointF point = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    i == 0 ? star.moveTo(point) : star.lineTo(point);
  }
  star.closeSubpath();
  p.setBrush(QColor(0xFF, 0xF6, 0xD5));
  p.drawPath(star);
  return image;
}

// The result page: a landscape under a light rounded board that holds the figures.
QImage EndGameBackground() {
  QImage image = Filled(670, 520, Mist);
  QPainter p(&image);
  PaintLandscape(p, QRectF(0, 0, 670, 520), SceneOf(4), 4);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Navy, 2));
  p.setBrush(QColor(0xF3, 0xF9, 0xFC, 235));
  p.drawRoundedRect(QRectF(40, 24, 590, 480), 26, 26);
  p.setPen(QPen(Sky, 1.5));
  p.drawLine(QPointF(90, 88), QPointF(580, 88));
  p.drawLine(QPointF(90, 430), QPointF(580, 430));
  IconFrog(p, QRectF(64, 100, 130, 115));
  return image;
}

// The status bar: a navy band with lighter slots where the game draws its numbers and icons.
const QColor kBarTop(0x2A, 0x64, 0x8C), kBarBottom(0x15, 0x3C, 0x57);

void PaintBar(QPainter& p, const QRectF& area) {
  QLinearGradient band(0, 0, 0, 61);
  band.setColorAt(0, kBarTop);
  band.setColorAt(1, kBarBottom);
  p.fillRect(area, band);
}

QImage Controls() {
  QImage image = Filled(670, 61, kBarBottom);
  QPainter p(&image);
  PaintBar(p, QRectF(0, 0, 670, 61));
  p.setPen(QPen(Sky, 1));
  p.drawLine(0, 0, 670, 0);
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(SkinFont(12));
  p.setPen(Ice);
  // Score and correct answers: the game writes six digits at (150, 18) and (150, 32).
  p.drawText(QRectF(20, 16, 120, 16), Qt::AlignRight | Qt::AlignVCenter, Hebrew("ניקוד"));
  p.drawText(QRectF(20, 30, 120, 16), Qt::AlignRight | Qt::AlignVCenter, Hebrew("תשובות נכונות"));
  // Captions over the rounds (296), lives (389), clock (472 - 521) and stage (550) slots.
  p.setFont(SkinFont(10));
  p.drawText(QRectF(296, 2, 78, 12), Qt::AlignCenter, Hebrew("כדורים"));
  p.drawText(QRectF(389, 2, 70, 12), Qt::AlignCenter, Hebrew("חיים"));
  p.drawText(QRectF(466, 2, 62, 12), Qt::AlignCenter, Hebrew("זמן"));
  p.drawText(QRectF(540, 2, 46, 12), Qt::AlignCenter, Hebrew("שלב"));
  // The clock's colon between its two pairs of digits.
  p.setPen(Qt::NoPen);
  p.setBrush(Amber);
  p.drawEllipse(QPointF(496.5, 26), 2, 2);
  p.drawEllipse(QPointF(496.5, 36), 2, 2);
  // Separators.
  p.setPen(QPen(QColor(255, 255, 255, 50), 1));
  for (int x : {286, 382, 464, 536, 590}) p.drawLine(QPointF(x + 0.5, 8), QPointF(x + 0.5, 53));
  IconFrog(p, QRectF(612, 10, 46, 40));
  return image;
}

// A strip of Cells cells of W x 61 on the bar's band, Paint drawing one.
QImage Strip(int w, int cells, const std::function<void(QPainter& p, const QRectF& cell, int index)>& paint) {
  QImage image = Filled(w * cells, 61, kBarBottom);
  QPainter p(&image);
  PaintBar(p, QRectF(0, 0, w * cells, 61));
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < cells; ++i) paint(p, QRectF(i * w, 0, w, 61), i);
  return image;
}

QImage Heart() {
  return Strip(14, 1, [](QPainter& p, const QRectF& cell, int) {
    QPainterPath heart;
    const qreal cx = cell.center().x(), cy = 33;
    heart.moveTo(cx, cy + 6);
    heart.cubicTo(cx - 9, cy - 1, cx - 5, cy - 8, cx, cy - 3);
    heart.cubicTo(cx + 5, cy - 8, cx + 9, cy - 1, cx, cy + 6);
    p.setPen(QPen(QColor(0x8E, 0x1E, 0x1E), 1));
    p.setBrush(Rose);
    p.drawPath(heart);
  });
}

QImage Round() {
  return Strip(13, 1, [](QPainter& p, const QRectF& cell, int) {
    const qreal cx = cell.center().x();
    QLinearGradient brass(cx - 3, 0, cx + 3, 0);
    brass.setColorAt(0, QColor(0xB8, 0x86, 0x0B));
    brass.setColorAt(0.5, QColor(0xF7, 0xD3, 0x6B));
    brass.setColorAt(1, QColor(0xB8, 0x86, 0x0B));
    p.setPen(Qt::NoPen);
    p.setBrush(brass);
    p.drawRoundedRect(QRectF(cx - 3.5, 26, 7, 18), 1.5, 1.5);
    p.setBrush(QColor(0xC9, 0x7B, 0x3C));
    QPainterPath tip;
    tip.moveTo(cx - 3.5, 27);
    tip.quadTo(cx, 14, cx + 3.5, 27);
    tip.closeSubpath();
    p.drawPath(tip);
  });
}

// Digits of 10 x 61: cells 1-9, then 0.
QImage TimerDigits() {
  return Strip(10, 10, [](QPainter& p, const QRectF& cell, int index) {
    p.setFont(SkinFont(17));
    p.setPen(Amber);
    p.drawText(cell.adjusted(0, 12, 0, -8), Qt::AlignCenter, QString::number((index + 1) % 10));
  });
}

// Stage numbers of 25 x 61: cells for stages 1 to 10.
QImage StageDigits() {
  return Strip(25, 10, [](QPainter& p, const QRectF& cell, int index) {
    p.setPen(QPen(Navy, 1));
    p.setBrush(Orange);
    p.drawEllipse(QRectF(cell.center().x() - 11, 20, 22, 22));
    p.setFont(SkinFont(index == 9 ? 11 : 15));
    p.setPen(Qt::white);
    p.drawText(QRectF(cell.left(), 20, 25, 22), Qt::AlignCenter, QString::number(index + 1));
  });
}

// The aim, drawn so that its white leaves the scene as it is: dark rings and a cross.
QImage Aim() {
  QImage image = Filled(55, 55, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x90, 0x10, 0x10), 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(27.5, 27.5), 20, 20);
  p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.5));
  p.drawEllipse(QPointF(27.5, 27.5), 9, 9);
  for (const QLineF& l : {QLineF(27.5, 2, 27.5, 18), QLineF(27.5, 37, 27.5, 53), QLineF(2, 27.5, 18, 27.5),
                          QLineF(37, 27.5, 53, 27.5)}) {
    p.drawLine(l);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x90, 0x10, 0x10));
  p.drawEllipse(QPointF(27.5, 27.5), 2, 2);
  return image;
}

// Big outlined words on the key colour, hard-edged so that no blend of the key is left.
QImage TextPicture(const QString& text, int pixelSize, const QColor& fill, const QColor& outline, int smiley) {
  // The picture and its backdrop's 40 pixels on each side fit the play area (670 x 459).
  QPainterPath path;
  qreal pen = 0;
  QRectF bounds;
  int iconSide = 0, gap = 0;
  for (;; pixelSize -= 2) {
    path = QPainterPath();
    path.addText(QPointF(0, 0), SkinFont(pixelSize), text);
    pen = std::max(3.0, pixelSize / 12.0);
    bounds = path.boundingRect().adjusted(-pen, -pen, pen, pen);
    iconSide = smiley != 2 ? int(pixelSize * 1.1) : 0;
    gap = iconSide > 0 ? 12 : 0;
    if (bounds.width() + iconSide + gap + 40 <= 590 || pixelSize <= 12) break;
  }
  const int w = std::min(590, int(bounds.width() + iconSide + gap + 40));
  const int h = std::min(379, int(std::max<qreal>(bounds.height(), iconSide) + 30));
  QImage art(w, h, QImage::Format_ARGB32_Premultiplied);
  art.fill(Qt::transparent);
  {
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    // The words at the right, a face before them (right to left, the face comes last).
    const qreal left = (w - bounds.width() - iconSide - gap) / 2;
    p.translate(left + iconSide + gap - bounds.left(), (h - bounds.height()) / 2 - bounds.top());
    p.setPen(QPen(outline, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
    p.resetTransform();
    if (iconSide > 0) IconSmiley(p, QRectF(left, (h - iconSide) / 2.0, iconSide, iconSide), Amber, smiley);
  }
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const QRgb pixel = art.pixel(x, y);
      QRgb out = qAlpha(pixel) >= 128 ? qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) : kTextKey;
      if (qAlpha(pixel) >= 128 && (out & 0xFFFFFF) == (kTextKey & 0xFFFFFF)) out ^= 0x000100;
      image.setPixel(x, y, out);
    }
  }
  return image;
}

const char* const kPraise[] = {"מצוין!", "כל הכבוד!", "יפה מאוד!", "נהדר!", "בול!", "אלופים!",
                               "מושלם!", "וואו!", "פגיעה!", "גאוני!", "ככה עושים את זה!"};
const char* const kOops[] = {"אופס!", "לא נכון", "כמעט...", "נסו שוב", "לא הפעם", "פספוס!",
                             "חבל...", "לא זאת", "אבוי!", "עוד ניסיון", "היי, לא!", "אוי!"};

}  // namespace

const std::vector<TSheet>& Sheets() {
  static const std::vector<TSheet> sheets = {
      {"Sprites\\bating", true, 12, 0x29425E, 128, 128},  {"Sprites\\cowking", true, 8, 0x334F6F, 96, 96},
      {"Sprites\\ball fish", true, 8, 0x2B4461, 64, 80},  {"Sprites\\mousing", true, 8, 0x29425E, 96, 96},
      {"Sprites\\croing", true, 16, 0x2E8031, 64, 64},    {"Sprites\\trexing", true, 8, 0x2B4461, 128, 128},
      {"Sprites\\brding", true, 12, 0x808080, 128, 128},  {"Sprites\\blowup ", false, 4, 0x000000, 61, 63},
  };
  return sheets;
}

QString FrameName(const TSheet& sheet, int direction, int frame) {
  return QString::fromLatin1(sheet.prefix) + (sheet.directed ? QString::fromLatin1(kSuffixes[direction]) : QString()) +
         QStringLiteral("%1.bmp").arg(frame, 4, 10, QLatin1Char('0'));
}

bool IsPraise(int comment) {
  switch (comment) {
    case 1: case 2: case 3: case 4: case 8: case 9: case 16: case 17: case 18: case 22: case 23:
      return true;
    default:
      return false;
  }
}

std::vector<TSkinBitmap> PaintGameGraphics() {
  std::vector<TSkinBitmap> out;
  const auto add = [&](const QString& name, QImage image, bool photo = false) {
    out.push_back({name, std::move(image), photo});
  };

  for (size_t s = 0; s < Sheets().size(); ++s) {
    const TSheet& sheet = Sheets()[s];
    for (int d = 0; d < (sheet.directed ? 8 : 1); ++d) {
      for (int f = 0; f < sheet.frames; ++f) add(FrameName(sheet, d, f), PaintFrame(sheet, int(s), d, f));
    }
  }

  // The start screen: its background and buttons.
  add("enter_screen.bmp", EnterScreen(), true);
  add("EnterBtns.bmp", CaptionButtons(140, 29,
                                      {Hebrew("משחק חדש"), Hebrew("משחק מותאם"), Hebrew("עשרת הגדולים"),
                                       Hebrew("הוראות"), Hebrew("שלחו לחבר"), Hebrew("יציאה")},
                                      Tone::Blue, 14, true));
  add("tryBtn.bmp", CaptionButtons(270, 55, {Hebrew("נסו את זבקולקס המלאה")}, Tone::Orange, 19, true));
  add("SwitchBtn.bmp", CaptionButtons(24, 32, {QStringLiteral("EN"), Hebrew("עב")}, Tone::Light, 10, true));

  // The dialogs and the result page.
  add("Dialogs\\DialogBtns.bmp",
      CaptionButtons(100, 30, {Hebrew("סגירה"), Hebrew("אישור"), Hebrew("ביטול"), Hebrew("שליחה")}, Tone::Blue, 15));
  add("Dialogs\\MenuBtns.bmp", CaptionButtons(200, 36,
                                               {Hebrew("סיום המשחק"), Hebrew("משחק חדש"), Hebrew("משחק מותאם"),
                                                Hebrew("יציאה מהמשחק")},
                                               Tone::Blue, 16));
  add("Dialogs\\QuestionBtn.bmp", CaptionButtons(24, 24, {QStringLiteral("?")}, Tone::Orange, 15));
  add("Dialogs\\EndGameBtns.bmp", CaptionButtons(150, 34,
                                                  {Hebrew("שליחת התוצאה"), Hebrew("למסך הפתיחה"),
                                                   Hebrew("משחק נוסף"), Hebrew("עשרת הגדולים")},
                                                  Tone::Blue, 15));
  add("Dialogs\\Caption.bmp", CaptionBar());
  add("Dialogs\\Best.bmp", BestRow());
  add("Dialogs\\EndGameBkg.bmp", EndGameBackground(), true);

  // The play screen.
  for (int stage = 1; stage <= 9; ++stage) add(QStringLiteral("levels\\%1.bmp").arg(stage), StageBackground(stage), true);
  add("controls.bmp", Controls());
  add("controls\\lives.bmp", Heart());
  add("controls\\weapons.bmp", Round());
  add("controls\\timer_no.bmp", TimerDigits());
  add("controls\\stage_no.bmp", StageDigits());
  add("controls\\kavenet_anti.bmp", Aim());

  // Stage, comment and game-over pictures.
  for (int stage = 1; stage <= 9; ++stage) {
    add(QStringLiteral("Texts\\Stage%1.bmp").arg(stage),
        TextPicture(Hebrew("שלב ") + QString::number(stage), 96, Amber, Navy, 2));
  }
  int praise = 0, oops = 0;
  for (int n = 1; n <= kComments; ++n) {
    const bool good = IsPraise(n);
    const QString text = Hebrew(good ? kPraise[praise++] : kOops[oops++]);
    add(QStringLiteral("Texts\\comment%1.bmp").arg(n),
        good ? TextPicture(text, 64, QColor(0x8C, 0xD0, 0x86), QColor(0x2F, 0x75, 0x3A), 1)
             : TextPicture(text, 64, QColor(0xF2, 0x9A, 0x9A), QColor(0x8E, 0x1E, 0x1E), -1));
  }
  add("texts\\game-over.bmp", TextPicture(Hebrew("המשחק נגמר"), 88, Rose, Ink, -1));
  return out;
}

}  // namespace zabko::game_art
