// Small helpers of the game's renderer and dialogs: translucent drawing onto a painter (a
// constant-alpha copy of one picture onto another), text measuring and placing, fonts in one
// call, dimmed modal showing of the game's dialogs, a random range and a character replacement.
#pragma once

#include "core/word.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include <QByteArray>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QRect>
#include <QString>

#include <bitset>

namespace zabko {

class TModalForm;

// The game's dialogs show over a cover of this colour and alpha.
inline constexpr TColor kDialogDimColor = 0xF1CC4B;
inline constexpr int kDialogDimAlpha = 60;

// Shows Form modally over a cover of Color and Alpha (percent) laid over the active window, the
// form centred on the cover; the cover goes away afterwards in every case. With no window to
// cover the form shows without one. Returns the form's modal result.
int ShowModalDimmed(TModalForm& form, TColor color, int alpha);
// ShowModalDimmed in grey 0x808080.
int ShowModalGreyDimmed(TModalForm& form, int alpha);

// The game's notices and confirmations: a plain right-to-left message box over Parent (none for
// a top-level box) with the application's title; returns the button chosen.
QMessageBox::StandardButton PlainBox(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons);

// Copies the rectangle (0, 0, Width, Height) of Source onto Dest at (X, Y), blended at the
// constant opacity Alpha / 255 (source over, the source's own alpha kept as its mask).
void AlphaBlendCanvas(QPainter& dest, int x, int y, int alpha, const QImage& source, int height, int width);
// The same for the whole of Bitmap.
void AlphaBlendBitmap(QPainter& dest, int x, int y, int alpha, const QImage& bitmap);

// (0, 0, text width, text height) in the painter's font.
QRect TextRect(const QPainter& canvas, const QString& text);
QRect OffsetRectBy(const QRect& rect, int dx, int dy);
// Left - Dx, Top - Dy, Right + Dx, Bottom + Dy.
QRect InflateRectBy(const QRect& rect, int dx, int dy);
// Draws Text in the painter's font and pen with its right end at X and its top at Y.
void TextOutRight(QPainter& canvas, int x, int y, const QString& text);
// Font name, size in points and style at once.
void SetFontNSS(QFont& font, const QString& name, int size, TFontStyles style);

// A uniform integer from A to B, both included, drawn with Random (the global generator when
// empty); B below A gives A.
int RandomBetween(int a, int b, const TRandomIndex& random = {});

// A set of 8-bit characters.
using TCharSet = std::bitset<256>;
// Every 8-bit character.
TCharSet FullCharSet();
// Text with every character of Set replaced by Replacement.
QByteArray ReplaceCharsInSet(const QByteArray& text, const TCharSet& set, char replacement);

}  // namespace zabko
