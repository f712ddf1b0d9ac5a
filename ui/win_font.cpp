#include "ui/win_font.h"

#include <QFontMetricsF>
#include <QHash>

#include <cmath>
#include <cstdlib>

namespace zabko {

QString SubstituteFontFamily(const QString& windowsName) {
  static const QHash<QString, QString> substitutes = {
      {"arial", "Liberation Sans"},
      {"helvetica", "Liberation Sans"},
      {"times new roman", "Liberation Serif"},
      {"courier new", "Liberation Mono"},
      {"tahoma", "DejaVu Sans"},
      {"verdana", "DejaVu Sans"},
      {"ms sans serif", "DejaVu Sans"},
      {"microsoft sans serif", "DejaVu Sans"},
      {"segoe ui", "DejaVu Sans"},
      {"david", "David CLM"},
      {"miriam", "Miriam CLM"},
      {"traditional arabic", "DejaVu Serif"},
  };
  const QString key = windowsName.trimmed().toLower();
  if (key.isEmpty()) return QStringLiteral("Liberation Sans");
  return substitutes.value(key, windowsName);
}

void SetWinFontName(QFont& font, const QString& windowsName) {
  font.setFamily(SubstituteFontFamily(windowsName));
}

void SetWinFontHeight(QFont& font, int height) {
  if (height < 0) {
    font.setPixelSize(-height);
  } else if (height > 0) {
    // A cell height: scale the character height by the family's own ascent + descent.
    QFont probe(font);
    probe.setPixelSize(100);
    const qreal cell = QFontMetricsF(probe).ascent() + QFontMetricsF(probe).descent();
    const int pixels = cell > 0 ? int(std::lround(height * 100.0 / cell)) : height;
    font.setPixelSize(pixels > 0 ? pixels : 1);
  }
}

void SetWinFontSize(QFont& font, int size) { SetWinFontHeight(font, -MulDiv(size, 96, 72)); }

void SetWinFontStyle(QFont& font, TFontStyles style) {
  font.setBold(style.testFlag(TFontStyle::Bold));
  font.setItalic(style.testFlag(TFontStyle::Italic));
  font.setUnderline(style.testFlag(TFontStyle::Underline));
  font.setStrikeOut(style.testFlag(TFontStyle::StrikeOut));
}

TFontStyles WinFontStyle(const QFont& font) {
  TFontStyles style;
  style.setFlag(TFontStyle::Bold, font.bold());
  style.setFlag(TFontStyle::Italic, font.italic());
  style.setFlag(TFontStyle::Underline, font.underline());
  style.setFlag(TFontStyle::StrikeOut, font.strikeOut());
  return style;
}

QFont WinFont(const QString& windowsName, int size, int height, TFontStyles style) {
  QFont font;
  SetWinFontName(font, windowsName);
  SetWinFontSize(font, size);
  SetWinFontHeight(font, height);
  SetWinFontStyle(font, style);
  return font;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  const long long magnitude = (std::llabs(product) + std::llabs(static_cast<long long>(c)) / 2) /
                              std::llabs(static_cast<long long>(c));
  return static_cast<int>(((product < 0) != (c < 0)) ? -magnitude : magnitude);
}

}  // namespace zabko
