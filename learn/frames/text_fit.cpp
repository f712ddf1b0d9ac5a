#include "learn/frames/text_fit.h"

#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include <QFontMetrics>
#include <QLabel>

namespace zabko {

TGUIFont GUIFontOf(const QFont& font) {
  TGUIFont result;
  result.Name = font.family();
  if (font.pixelSize() > 0) {
    result.Height = -font.pixelSize();
    result.Size = 0;
  } else {
    result.Size = font.pointSize();
  }
  result.Style = WinFontStyle(font);
  return result;
}

int FittingPrefixLength(const QString& text, bool wordMode, const TGUIFont& font, int width) {
  TTextMeasure& measure = MeasureCanvas();
  const auto fits = [&](qsizetype length) { return measure.TextWidth(font, text.left(length)) <= width; };
  // Prefix lengths: the candidate taken last and the one before it (0: none yet).
  qsizetype remembered = 0;
  qsizetype taken = 0;
  for (qsizetype pos = 1; pos <= text.size(); ++pos) {
    if (wordMode && text.at(pos - 1) != QLatin1Char(' ')) continue;
    remembered = taken;
    taken = pos;
    if (!fits(taken)) break;
  }
  if (fits(taken)) taken = text.size();
  return int(fits(taken) ? taken : remembered);
}

namespace {

void SetLabelText(TTntLabel* label, const QString& text) {
  if (label) label->SetCaption(text);
}

}  // namespace

void SplitTextToLabels(const QString& text, TTntLabel* first, TTntLabel* third, TTntLabel* second) {
  const TGUIFont font = GUIFontOf(first->font());
  const int width = first->width();
  const int n = FittingPrefixLength(text, true, font, width);
  SetLabelText(first, text.left(n));
  QString rest = text.mid(n);
  if (rest.isEmpty()) {
    SetLabelText(second, QString());
    SetLabelText(third, QString());
    return;
  }
  if (third) {
    SplitTextToLabels(rest, second, nullptr, third);
    return;
  }
  const int m = FittingPrefixLength(rest, false, font, width);
  // Fewer than three fitting characters leave no room before the ellipsis: "..." alone.
  if (m < rest.size()) rest = rest.left(qMax(0, m - 3)) + QStringLiteral("...");
  SetLabelText(second, rest);
}

bool ShrinkFontUntil(QWidget* widget, const std::function<bool(const QFont&)>& fits) {
  QFont font = widget->font();
  while (!fits(font)) {
    if (font.pixelSize() > 0) {
      if (font.pixelSize() <= kSmallestFittedPixels) return false;
      font.setPixelSize(font.pixelSize() - 1);
    } else {
      // A point size: the pixel height of the font as the screen shows it.
      const int pixels = QFontMetrics(font).height();
      if (pixels <= kSmallestFittedPixels) return false;
      font.setPixelSize(pixels - 1);
    }
    widget->setFont(font);
  }
  return true;
}

bool CaptionFits(const QLabel* label, const QFont& font) {
  const QFontMetrics metrics(font);
  const QRect room = label->contentsRect();
  if (label->wordWrap()) {
    const QRect needed = metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
  }
  int width = 0;
  for (const QString& line : label->text().split(QLatin1Char('\n'))) width = qMax(width, metrics.horizontalAdvance(line));
  return width <= room.width();
}

bool FitLabelFont(QLabel* label) {
  return ShrinkFontUntil(label, [label](const QFont& font) { return CaptionFits(label, font); });
}

bool FitButtonFont(TNButton* button, int room) {
  return ShrinkFontUntil(button, [button, room](const QFont& font) {
    return QFontMetrics(font).horizontalAdvance(button->Caption()) <= room;
  });
}

}  // namespace zabko
