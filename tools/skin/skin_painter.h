// Painting primitives of the demo skin: one palette (sky blues with a warm orange accent), button
// faces in their three states, sprite sheets, and small line icons. Everything is drawn here;
// no picture comes from outside.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <functional>

namespace zabko::skin {

// The palette. The forms' own colours (0xF3ECD9, 0xF0EBDC, 0xEEDAA5, 0xDDD7C6 as Windows colour
// values) are light blues; the skin matches them.
namespace palette {
inline const QColor Ink(0x33, 0x33, 0x33);
inline const QColor Navy(0x1B, 0x4F, 0x72);
inline const QColor Blue(0x29, 0x78, 0x9F);  // the hover colour of the labels
inline const QColor Sky(0x5D, 0xA9, 0xD1);
inline const QColor Mist(0xD9, 0xEC, 0xF3);  // the forms' background
inline const QColor Ice(0xF0, 0xF7, 0xFA);
inline const QColor Orange(0xF2, 0x9A, 0x38);
inline const QColor Amber(0xF7, 0xC1, 0x6B);
inline const QColor Leaf(0x4C, 0xA6, 0x5A);
inline const QColor Rose(0xD9, 0x5C, 0x4F);
inline const QColor Stone(0xA9, 0xB4, 0xBA);
}  // namespace palette

enum class Face { Plain = 0, Hover = 1, Down = 2 };

// A button's colour family.
enum class Tone { Blue, Orange, Grey, Green, Light };

// A rounded, gently shaded button face filling Area; hover is lighter, down darker and pressed in.
void PaintFace(QPainter& p, const QRectF& area, Face face, Tone tone, qreal radius = 5);

// An icon drawer: draws into Box in Colour.
using Icon = std::function<void(QPainter& p, const QRectF& box, const QColor& colour)>;

// The colour icons and captions take on a face of that tone.
QColor InkOn(Tone tone, Face face);

// A sheet of Columns buttons of W x H side by side, each as three rows (plain, hover, down);
// Paint draws one cell.
QImage SpriteSheet(int w, int h, int columns,
                   const std::function<void(QPainter& p, const QRectF& cell, int column, Face face)>& paint);

// A three-slice sheet: rows of 3S x H (plain, hover, down), the middle third made uniform so that
// it tiles; Icon, when given, sits in the left cap.
QImage ThreeSliceSheet(int s, int h, Tone tone, const Icon& icon = {}, int columns = 1,
                       const std::function<Tone(int column)>& toneOf = {});

// Copies the centre column of each row over columns S .. 2S of every 3S-wide cell.
void MakeMiddleUniform(QImage& sheet, int s);

// A transparent-free image filled with Colour.
QImage Filled(int w, int h, const QColor& colour);

// A bold font of that pixel size (DejaVu Sans, with Hebrew).
QFont SkinFont(int pixelSize, bool bold = true);

// Icons.
void IconChevron(QPainter& p, const QRectF& box, const QColor& c, bool up);
void IconMagnifier(QPainter& p, const QRectF& box, const QColor& c);
void IconSpeaker(QPainter& p, const QRectF& box, const QColor& c, bool waves);
void IconPrinter(QPainter& p, const QRectF& box, const QColor& c);
void IconNote(QPainter& p, const QRectF& box, const QColor& c);
void IconDisc(QPainter& p, const QRectF& box, const QColor& c);
void IconPhone(QPainter& p, const QRectF& box, const QColor& c);
void IconEnvelope(QPainter& p, const QRectF& box, const QColor& c);
void IconFriends(QPainter& p, const QRectF& box, const QColor& c);
void IconInfo(QPainter& p, const QRectF& box, const QColor& c);
void IconGear(QPainter& p, const QRectF& box, const QColor& c);
void IconFunnel(QPainter& p, const QRectF& box, const QColor& c);
void IconPencil(QPainter& p, const QRectF& box, const QColor& c);
void IconClock(QPainter& p, const QRectF& box, const QColor& c);
void IconHouse(QPainter& p, const QRectF& box, const QColor& c);
void IconCross(QPainter& p, const QRectF& box, const QColor& c);
void IconCheck(QPainter& p, const QRectF& box, const QColor& c);
void IconArrow(QPainter& p, const QRectF& box, const QColor& c, int direction);  // 0 down, 1 left, 2 right
void IconGamepad(QPainter& p, const QRectF& box, const QColor& c);
// A face: mood -1 sad, 0 plain, 1 glad.
void IconSmiley(QPainter& p, const QRectF& box, const QColor& fill, int mood);
// The program's mascot, a small frog.
void IconFrog(QPainter& p, const QRectF& box);

}  // namespace zabko::skin
