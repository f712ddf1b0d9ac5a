// Fonts as the forms give them: a Windows font name, a size in points or a height in pixels, and
// a style set. The Windows fonts map to the installed substitutes here and nowhere else.
#pragma once

#include <QFlags>
#include <QFont>
#include <QString>

namespace zabko {

enum class TFontStyle { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

// The installed family that stands in for a Windows font name ("Arial" -> "Liberation Sans",
// "David" -> "David CLM", "Tahoma" -> "DejaVu Sans"); an unknown name is kept as it is, so that
// fontconfig may still find it or fall back.
QString SubstituteFontFamily(const QString& windowsName);

// Font.Name := name.
void SetWinFontName(QFont& font, const QString& windowsName);
// Font.Height := height: below 0 the character height in pixels, above 0 the cell height
// (character height plus internal leading); 0 changes nothing.
void SetWinFontHeight(QFont& font, int height);
// Font.Size := size in points at 96 pixels per inch, i.e. Height := -MulDiv(size, 96, 72). A
// negative size therefore gives a positive height (a cell height).
void SetWinFontSize(QFont& font, int size);
// Font.Style := style (replaces every style).
void SetWinFontStyle(QFont& font, TFontStyles style);
TFontStyles WinFontStyle(const QFont& font);

// A font from its layout values; height 0 means "use the size".
QFont WinFont(const QString& windowsName, int size, int height = 0, TFontStyles style = {});

// Windows MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c);

}  // namespace zabko
