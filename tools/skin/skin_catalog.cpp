// Sheet geometry follows the windows that cut sprites from each bitmap: a button of W x H is
// three rows (plain, hover, down) of H; a three-slice button's row is 3S wide; a nine-slice frame
// is 3S x 3S; several buttons of one sheet stand side by side at their sprite X.
#include "tools/skin/skin_catalog.h"

#include "tools/skin/skin_painter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

namespace zabko::skin {

namespace {

using namespace palette;

QRectF Centred(const QRectF& cell, qreal side, qreal shift = 0) {
  return QRectF(cell.center().x() - side / 2 + shift, cell.center().y() - side / 2 + shift, side, side);
}

// A face with an icon in the middle, for plain sprite buttons.
QImage IconButtons(int w, int h, Tone tone, const std::vector<Icon>& icons, qreal iconSide) {
  return SpriteSheet(w, h, int(icons.size()), [&](QPainter& p, const QRectF& cell, int column, Face face) {
    PaintFace(p, cell, face, tone, std::min(7.0, h / 3.0));
    p.setRenderHint(QPainter::Antialiasing);
    icons[column](p, Centred(cell, iconSide, face == Face::Down ? 1 : 0), InkOn(tone, face));
  });
}

// A title bar: a blue strip with rounded top corners and an orange accent at its right end, where a
// right-to-left caption starts (its "[U]" mirror has the accent on the left).
QImage TitleBar(int w, int h) {
  QImage image = Filled(w, h, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath bar;
  bar.addRoundedRect(QRectF(0.5, 0.5, w - 1, h + 8), 7, 7);
  QLinearGradient fill(0, 0, 0, h);
  fill.setColorAt(0, Sky);
  fill.setColorAt(1, Blue);
  p.setPen(QPen(Navy, 1));
  p.setBrush(fill);
  p.drawPath(bar);
  p.setPen(Qt::NoPen);
  p.setBrush(Orange);
  p.drawRoundedRect(QRectF(w - 34, 4, 4, h - 8), 2, 2);
  p.setBrush(QColor(255, 255, 255, 60));
  p.drawRect(QRectF(8, 2, w - 50, 2));
  return image;
}

// The collapse button sits on the title bar's right end (columns 0, 25) or, mirrored, on its
// left end (columns 50, 75): expand (chevron down) at 0 and 50, collapse (chevron up) at 25 and 75.
QImage CollapseExpand() {
  const QImage bar = TitleBar(186, 24);
  const QImage mirroredBar = bar.mirrored(true, false);
  return SpriteSheet(25, 24, 4, [&](QPainter& p, const QRectF& cell, int column, Face face) {
    const bool mirrored = column >= 2;
    const QImage& source = mirrored ? mirroredBar : bar;
    p.drawImage(cell.topLeft(), source, QRect(mirrored ? 2 : 186 - 27, 0, 25, 24));
    p.setRenderHint(QPainter::Antialiasing);
    if (face != Face::Plain) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, face == Face::Hover ? 70 : 40));
      p.drawEllipse(Centred(cell, 18));
    }
    IconChevron(p, Centred(cell, 12, face == Face::Down ? 1 : 0), Qt::white, column % 2 == 1);
  });
}

// A nine-slice frame of S = 8: a rounded blue line around the panels' light blue.
QImage BlueFrame() {
  QImage image = Filled(24, 24, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Sky, 1.5));
  p.setBrush(Mist);
  p.drawRoundedRect(QRectF(0.75, 0.75, 22.5, 22.5), 6, 6);
  p.setPen(QPen(QColor(255, 255, 255, 150), 1));
  p.drawLine(QPointF(6, 2.5), QPointF(18, 2.5));
  return image;
}

QImage Logo(int w, int h, int fontSize) {
  QImage image = Filled(w, h, Ice);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const qreal frog = h * 0.62;
  IconFrog(p, QRectF(w - frog - 6, (h - frog) / 2 - 4, frog, frog * 0.85));
  // The largest size up to FontSize at which the name fits beside the frog.
  const QRectF room(4, 0, w - frog - 12, h * 0.72);
  QFont font = SkinFont(fontSize);
  while (font.pixelSize() > 8 && QFontMetricsF(font).horizontalAdvance("Zabkolex") > room.width()) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  p.setFont(font);
  p.setPen(Navy);
  p.drawText(room, Qt::AlignRight | Qt::AlignVCenter, "Zabkolex");
  return image;
}

QImage FooterTile() {
  QImage image(8, 57, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient fill(0, 0, 0, 57);
  fill.setColorAt(0, Navy);
  fill.setColorAt(1, Blue);
  p.fillRect(image.rect(), fill);
  p.fillRect(QRect(0, 0, 8, 2), Orange);
  return image;
}

QImage FooterDots() {
  QImage image = FooterTile().scaled(12, 57);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));
  for (int y = 12; y < 50; y += 8) p.drawEllipse(QPointF(6, y), 1.6, 1.6);
  return image;
}

QImage FooterLogo() {
  QImage image = FooterTile().scaled(73, 57);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  IconFrog(p, QRectF(20, 8, 33, 28));
  p.setFont(SkinFont(10));
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 38, 73, 16), Qt::AlignCenter, "Zabko");
  return image;
}

QImage ScoreBox() {
  QImage image = Filled(129, 49, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Sky, 1.5));
  p.setBrush(Ice);
  p.drawRoundedRect(QRectF(1, 1, 127, 47), 8, 8);
  // The three count cells (not known, partly known, known) and the total below them.
  const QColor tints[] = {QColor(0xF6, 0xD5, 0xD0), QColor(0xFC, 0xE6, 0xC4), QColor(0xD4, 0xEE, 0xD6)};
  for (int i = 0; i < 3; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(tints[i]);
    p.drawRoundedRect(QRectF(8 + 41 * i, 7, 32, 20), 4, 4);
  }
  p.setPen(QPen(Stone, 1));
  p.drawLine(QPointF(49, 29), QPointF(81, 29));
  return image;
}

QImage Smiles() {
  QImage image = Filled(67, 189, Mist);
  QPainter p(&image);
  const QColor fills[] = {QColor(0xF4, 0xA2, 0x6B), QColor(0xF7, 0xD3, 0x5C), QColor(0x9C, 0xD9, 0x6A)};
  for (int i = 0; i < 3; ++i) IconSmiley(p, QRectF(6, 63 * i + 4, 55, 55), fills[i], i - 1);
  return image;
}

// The switch between the learning languages: a track with the knob at position Column of N.
QImage Switch(int positions) {
  return SpriteSheet(24, 32, positions, [&](QPainter& p, const QRectF& cell, int column, Face face) {
    PaintFace(p, cell.adjusted(3, 1, -3, -1), face, Tone::Light, 8);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal step = (cell.height() - 16) / std::max(1, positions - 1);
    p.setPen(QPen(Navy, 1));
    p.setBrush(face == Face::Hover ? Amber : Orange);
    p.drawEllipse(QRectF(cell.center().x() - 6, cell.top() + 2 + step * column + (face == Face::Down ? 1 : 0), 12, 12));
  });
}

// Radio buttons of 13 x 13 in the two question colours (columns 0 and 13); down is selected.
QImage Radio(const QColor& even, const QColor& odd) {
  return SpriteSheet(13, 13, 2, [&](QPainter& p, const QRectF& cell, int column, Face face) {
    p.fillRect(cell, column == 0 ? even : odd);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(face == Face::Hover ? Blue : Navy, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(cell.adjusted(1, 1, -1, -1));
    if (face == Face::Down) {
      p.setPen(Qt::NoPen);
      p.setBrush(Blue);
      p.drawEllipse(cell.adjusted(3.5, 3.5, -3.5, -3.5));
    }
  });
}

QImage Backdrop(int w, int h, bool photo) {
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, Ice);
  sky.setColorAt(0.7, Mist);
  sky.setColorAt(1, QColor(0xB9, 0xDC, 0xEA));
  p.fillRect(image.rect(), sky);
  if (photo) {
    // Soft lily pads along the bottom.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
      p.setBrush(QColor(0x7F, 0xC2, 0x7A, 90 + 20 * (i % 3)));
      p.drawEllipse(QPointF(w * (0.08 + 0.17 * i), h - 18 - (i % 2) * 14), w * 0.09, 16);
    }
  }
  return image;
}

// The splash and the log-on dialog: the brand in a band at the top; below y 100 the backdrop
// stays quiet for the version text, the loading line and the log-on fields.
QImage Splash() {
  QImage image = Backdrop(550, 400, true);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  IconFrog(p, QRectF(430, 10, 96, 80));
  p.setPen(Navy);
  p.setFont(SkinFont(40));
  p.drawText(QRectF(30, 8, 390, 54), Qt::AlignRight | Qt::AlignVCenter, "Zabkolex");
  p.setFont(SkinFont(18, false));
  p.setPen(Blue);
  p.drawText(QRectF(30, 60, 390, 28), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8("לומדים מילים, מילה אחר מילה"));
  p.setPen(QPen(Orange, 3));
  p.drawLine(QPointF(150, 95), QPointF(420, 95));
  return image;
}

// The small brand logo of the splash and the log-on dialog.
QImage SplashLogo() {
  QImage image = Filled(48, 48, Ice);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Sky, 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1, 1, 46, 46), 9, 9);
  IconFrog(p, QRectF(6, 9, 36, 30));
  return image;
}

// The welcome page's picture: the frog over an open book.
QImage WelcomePicture() {
  QImage image = Filled(150, 130, QColor(0xD9, 0xEC, 0xF3));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Navy, 2));
  p.setBrush(Qt::white);
  QPainterPath book;
  book.moveTo(10, 92);
  book.quadTo(42, 80, 75, 96);
  book.quadTo(108, 80, 140, 92);
  book.lineTo(140, 124);
  book.quadTo(108, 112, 75, 128);
  book.quadTo(42, 112, 10, 124);
  book.closeSubpath();
  p.drawPath(book);
  p.drawLine(QPointF(75, 96), QPointF(75, 128));
  IconFrog(p, QRectF(30, 6, 90, 76));
  return image;
}

// The arrow of the language hint bubble, pointing up at the language switch.
QImage HintBubble() {
  QImage image = Filled(24, 24, QColor(0xFF, 0xFF, 0xE1));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Orange);
  p.drawEllipse(QRectF(1, 1, 22, 22));
  p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(QPointF(12, 18), QPointF(12, 6));
  p.drawLine(QPointF(7, 11), QPointF(12, 6));
  p.drawLine(QPointF(17, 11), QPointF(12, 6));
  return image;
}

QImage ProgressBackground() {
  QImage image = Backdrop(471, 99, false);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Sky, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(1, 1, 469, 97), 10, 10);
  IconFrog(p, QRectF(441, 8, 22, 19));
  return image;
}

QImage PopupTile() {
  QImage image = Filled(32, 32, Ice);
  QPainter p(&image);
  p.setPen(QColor(0xE4, 0xF1, 0xF6));
  for (int i = -32; i < 32; i += 8) p.drawLine(i, 32, i + 32, 0);
  return image;
}

QImage PopupMark() {
  QImage image(98, 300, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 0, 98, 0);
  fill.setColorAt(0, Mist);
  fill.setColorAt(1, QColor(0xC4, 0xE2, 0xEE));
  p.fillRect(image.rect(), fill);
  p.setPen(QPen(Blue, 3));
  p.setBrush(Ice);
  p.drawEllipse(QRectF(21, 14, 56, 56));
  p.setPen(Qt::NoPen);
  p.setBrush(Orange);
  p.drawRoundedRect(QRectF(45, 25, 8, 26), 4, 4);
  p.drawEllipse(QPointF(49, 59), 4.5, 4.5);
  return image;
}

// Row strips of the question panel: two question colours side by side or stacked.
QImage Strips(int w, int h, bool sideBySide) {
  const QColor even(0xA5, 0xDA, 0xEE), odd(0xC6, 0xD7, 0xDD);
  QImage image = Filled(sideBySide ? 2 * w : w, sideBySide ? h : 2 * h, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 2; ++i) {
    // Side by side: x 0 even, x W odd. Stacked (answer footer): y 0 odd, y H even.
    const QColor colour = sideBySide ? (i == 0 ? even : odd) : (i == 0 ? odd : even);
    const QRectF area = sideBySide ? QRectF(i * w, 0, w, h) : QRectF(0, i * h, w, h);
    p.fillRect(area, colour);
    p.setPen(QPen(colour.darker(115), 1));
    p.setBrush(colour.lighter(108));
    p.drawRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
  }
  return image;
}

QImage CardBackground() {
  // A word card, portrait like the cards it is stretched into (a quarter of the A4 long side wide,
  // about 0.8 of that high), at 150 pixels per inch, with a light frame, a rule along its top and
  // a frog corner. The printer draws the cards' text turned round, so the card is painted upside
  // down: it reads the right way once the sheet is turned. The picture covers the card less one
  // line height at either end, and the text starts a further line height in (1/18 of the
  // picture's height); the rule stays in that band, clear of the headwords and meanings.
  QImage image = Filled(438, 556, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Mist.darker(110), 4));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(6, 6, 426, 544), 18, 18);
  p.setPen(QPen(Amber, 2));
  p.drawLine(QPointF(30, 18), QPointF(408, 18));
  IconFrog(p, QRectF(394, 512, 30, 26));
  p.end();
  return image.mirrored(true, true);
}

// The page arrows of the sorter, 17 x 17: PrevBtn at X 0 (pointing right, the previous page in a
// right-to-left list), NextBtn at X 17; rows plain, hover, down from Y 0 enabled and from Y 51
// disabled (greyed).
QImage PageArrows() {
  QImage sheet = Filled(34, 102, Mist);
  QPainter p(&sheet);
  for (int half = 0; half < 2; ++half) {
    const QImage faces = SpriteSheet(17, 17, 2, [&](QPainter& q, const QRectF& cell, int column, Face face) {
      const Tone tone = half == 0 ? Tone::Blue : Tone::Grey;
      PaintFace(q, cell, half == 0 ? face : Face::Plain, tone, 4);
      q.setRenderHint(QPainter::Antialiasing);
      IconArrow(q, Centred(cell, 9, face == Face::Down && half == 0 ? 1 : 0), InkOn(tone, Face::Plain),
                column == 0 ? 2 : 1);
    });
    p.drawImage(0, half * 51, faces);
  }
  return sheet;
}

// A picture for a page of its own: a backdrop with an icon in a round badge.
QImage Badge(int w, int h, const Icon& icon, Tone tone) {
  QImage image = Filled(w, h, Mist);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal side = std::min(w, h) - 4;
  const QRectF circle((w - side) / 2, (h - side) / 2, side, side);
  p.setPen(QPen(palette::Navy, 1.5));
  p.setBrush(tone == Tone::Orange ? palette::Amber : palette::Sky);
  p.drawEllipse(circle);
  icon(p, circle.adjusted(side / 4, side / 4, -side / 4, -side / 4), Qt::white);
  return image;
}

}  // namespace

QImage PaintProgramIcon() {
  QImage image(128, 128, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 0, 0, 128);
  fill.setColorAt(0, Sky);
  fill.setColorAt(1, Blue);
  p.setPen(QPen(Navy, 3));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(4, 4, 120, 120), 24, 24);
  p.setPen(Qt::NoPen);
  p.setBrush(Ice);
  p.drawEllipse(QRectF(16, 20, 96, 92));
  IconFrog(p, QRectF(22, 30, 84, 70));
  return image;
}

std::vector<TSkinBitmap> PaintDemoSkin() {
  std::vector<TSkinBitmap> skin;
  const auto add = [&](const char* name, QImage image, bool photo = false) {
    skin.push_back({QString::fromLatin1(name), std::move(image), photo});
  };
  const auto icon = [](auto draw) -> Icon {
    return [draw](QPainter& p, const QRectF& b, const QColor& c) { draw(p, b, c); };
  };

  // Header and footer bars.
  add("main\\logo.bmp", Logo(142, 57, 22));
  // FilterBtn, TestBtn, ExamBtn: three-slice S 50, 43 high, at X 300, 150, 0; the icon in the cap.
  {
    const Icon icons[] = {icon(IconClock), icon(IconPencil), icon(IconFunnel)};
    QImage sheet = ThreeSliceSheet(50, 43, Tone::Blue, {}, 3);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    for (int column = 0; column < 3; ++column) {
      for (int row = 0; row < 3; ++row) {
        const qreal shift = row == 2 ? 1 : 0;
        icons[column](p, QRectF(column * 150 + 14 + shift, row * 43 + 10 + shift, 22, 22), InkOn(Tone::Blue, Face(row)));
      }
    }
    add("Main\\HeadBtns.bmp", sheet);
  }
  // HelpBtn (X 0) and ExitBtn (X 45): three-slice S 15, 29 high; HomeBtn: a 50 x 29 sprite at X 90,
  // and the compact home button beside it, 45 x 29 at X 140.
  {
    QImage sheet = Filled(185, 87, Mist);
    QPainter p(&sheet);
    p.drawImage(0, 0, ThreeSliceSheet(15, 29, Tone::Blue, {}, 2, [](int c) { return c == 0 ? Tone::Blue : Tone::Orange; }));
    p.drawImage(90, 0, IconButtons(50, 29, Tone::Blue, {icon(IconHouse)}, 16));
    p.drawImage(140, 0, IconButtons(45, 29, Tone::Blue, {icon(IconHouse)}, 16));
    add("Main\\ExitHelpBtns.bmp", sheet);
  }
  add("main\\fotterLogo.bmp", FooterLogo());
  add("main\\fotterDots.bmp", FooterDots());
  add("main\\FotterTile.bmp", FooterTile());
  add("Main\\ProdPrefBtn.bmp", ThreeSliceSheet(35, 35, Tone::Orange, icon(IconGear)));
  // MobileBtn, CDBtn, PlayerBtn, PrintBtn at X 0, 83, 166, 249; 83 x 35.
  add("Main\\ProdBtn.bmp",
      IconButtons(83, 35, Tone::Light, {icon(IconPhone), icon(IconDisc), icon(IconNote), icon(IconPrinter)}, 22));
  // SendFriendBtn (X 0) and ContactBtn (X 52), 52 x 26.
  add("Main\\SendBtns.bmp", IconButtons(52, 26, Tone::Blue, {icon(IconFriends), icon(IconEnvelope)}, 16));

  // Side panels: title bars, the collapse button, the frame, search and the follow-up faces.
  add("main\\searchCaption.bmp", TitleBar(186, 24));
  add("main\\FollowHeader.bmp", TitleBar(184, 24));
  add("Main\\FCollapseExpand.bmp", CollapseExpand());
  add("main\\BlueBkg.bmp", BlueFrame());
  add("Main\\SearchBtn.bmp", IconButtons(26, 26, Tone::Orange, {icon(IconMagnifier)}, 14));
  add("Follow\\Smiles.bmp", Smiles());
  add("Main\\GamesBtn2.bmp", ThreeSliceSheet(55, 55, Tone::Green, icon(IconGamepad)).scaled(184, 165));

  // Letters bar: letter buttons (three-slice S 8, 30 or 26 high), information, counts, switch.
  add("Main\\SingleLetter2.bmp", ThreeSliceSheet(8, 30, Tone::Light));
  add("Main\\SingleLetterShort.bmp", ThreeSliceSheet(8, 26, Tone::Light));
  add("Main\\InfoBtn.bmp", IconButtons(27, 33, Tone::Light, {icon(IconInfo)}, 17));
  add("main\\scoreBox.bmp", ScoreBox());
  add("Main\\SwitchBtn.bmp", Switch(2));
  add("Main\\Switch3Btn.bmp", Switch(3));

  // Word rows, tests and options.
  add("sinun\\sinun_bt.bmp", SpriteSheet(21, 23, 1, [](QPainter& p, const QRectF& cell, int, Face face) {
        p.fillRect(cell, Mist);
        PaintFace(p, cell.adjusted(2, 3, -2, -3), face == Face::Down ? Face::Plain : face,
                  face == Face::Down ? Tone::Green : Tone::Light, 4);
        if (face == Face::Down) {
          p.setRenderHint(QPainter::Antialiasing);
          IconCheck(p, Centred(cell, 9), Qt::white);
        }
      }));
  add("tirgul\\Speakers.bmp", IconButtons(29, 21, Tone::Light, {[](QPainter& p, const QRectF& b, const QColor& c) {
                                            IconSpeaker(p, b, c, true);
                                          }},
                                          15));
  add("tirgul\\FinishBtn.bmp", ThreeSliceSheet(10, 19, Tone::Orange));
  // KnowBtn, DontKnowBtn, CheckAnswerBtn: three-slice S 15, 26 high; X 0 even questions, 45 odd.
  add("tirgul\\OrngBtns.bmp",
      ThreeSliceSheet(15, 26, Tone::Orange, {}, 2, [](int c) { return c == 0 ? Tone::Orange : Tone::Blue; }));
  add("tirgul\\radio_bt_gary_blue.bmp", Radio(QColor(0xA5, 0xDA, 0xEE), QColor(0xC6, 0xD7, 0xDD)));
  add("tirgul\\radio_bt.bmp", Radio(Mist, Mist));
  add("tirgul\\summary_bg.bmp", Strips(207, 94, true));
  add("tirgul\\answer_bg.bmp", Strips(369, 21, false));
  add("prod\\back_btn.bmp", ThreeSliceSheet(10, 26, Tone::Blue));
  // The production buttons: three-slice S 15, 35 high; X 0 with the note (MP3, disc, the word
  // summary's button), X 45 with the printer (printing), the icon in the left cap.
  {
    QImage sheet = ThreeSliceSheet(15, 35, Tone::Orange, {}, 2);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    const Icon icons[] = {icon(IconNote), icon(IconPrinter)};
    for (int column = 0; column < 2; ++column) {
      for (int row = 0; row < 3; ++row) {
        const qreal shift = row == 2 ? 1 : 0;
        const qreal side = 15 * 0.62;
        icons[column](p, QRectF(column * 45 + (15 - side) / 2 + shift, row * 35 + (35 - side) / 2 + shift, side, side),
                      InkOn(Tone::Orange, Face(row)));
      }
    }
    add("prod\\prod_btns.bmp", sheet);
  }
  // The "..." folder buttons of the production panels: three-slice S 6, 22 high.
  add("prod\\search_btn.bmp", ThreeSliceSheet(6, 22, Tone::Light));
  // Known-words sorter: its buttons (three-slice S 10, 26 high: X 0 blue, X 30 orange), the page
  // arrows and the picture of its opening page.
  add("sinun\\SinunBtns.bmp",
      ThreeSliceSheet(10, 26, Tone::Blue, {}, 2, [](int c) { return c == 0 ? Tone::Blue : Tone::Orange; }));
  add("sinun\\NextPrevBtns.bmp", PageArrows());
  add("sinun\\OpenImage.bmp", Badge(120, 120, icon(IconFunnel), Tone::Blue));
  // The options page's title pictures: practice, exam, production.
  add("tirgul\\TestImg.bmp", Badge(48, 48, icon(IconPencil), Tone::Blue));
  add("tirgul\\ExamImg.bmp", Badge(48, 48, icon(IconClock), Tone::Orange));
  add("prod\\ProdImg.bmp", Badge(48, 48, icon(IconNote), Tone::Blue));
  add("prod\\PrintImg.bmp", Badge(48, 48, icon(IconPrinter), Tone::Blue));

  // Dialogs: splash and log-on, progress, message boxes.
  add("Splash.bmp", Splash(), true);
  add("Splash\\ZabkolexLogo.bmp", SplashLogo());
  add("Welcome\\Image3.bmp", WelcomePicture());
  add("Main\\HintBubble.bmp", HintBubble());
  add("Login\\LoginBtns.bmp", ThreeSliceSheet(30, 30, Tone::Orange, [](QPainter& q, const QRectF& b, const QColor& c) { IconArrow(q, b, c, 1); }, 2,
                                              [](int c) { return c == 0 ? Tone::Orange : Tone::Blue; }));
  add("Login\\small_exit.bmp", IconButtons(20, 20, Tone::Grey, {icon(IconCross)}, 8));
  add("Progress\\Bkg.bmp", ProgressBackground(), true);
  add("Popup\\Background.bmp", PopupTile());
  add("Popup\\Mark.bmp", PopupMark());
  // NoBtn X 0, YesBtn X 81, ContinueBtn X 162 (three-slice S 27, 32 high); DownloadBtn X 243 (S 15).
  {
    QImage sheet = Filled(288, 96, Mist);
    QPainter p(&sheet);
    const Tone tones[] = {Tone::Grey, Tone::Blue, Tone::Orange};
    p.drawImage(0, 0, ThreeSliceSheet(27, 32, Tone::Grey, {}, 3, [&](int c) { return tones[c]; }));
    p.drawImage(243, 0, ThreeSliceSheet(15, 32, Tone::Green, [](QPainter& q, const QRectF& b, const QColor& c) {
                  IconArrow(q, b, c, 0);
                }));
    add("Popup\\PopupBtns.bmp", sheet);
  }
  add("cards_print.bmp", CardBackground(), true);
  return skin;
}

}  // namespace zabko::skin
