#include "ui/text_measure.h"

#include "platform/exception.h"

#include <QFontMetrics>

namespace zabko {

namespace {
TTextMeasure* sharedMeasure = nullptr;
}

int TCanvasTextMeasure::TextWidth(const TGUIFont& font, const QString& text) {
  return QFontMetrics(LabelFont(font)).horizontalAdvance(text);
}

int TCanvasTextMeasure::TextHeight(const TGUIFont& font, const QString&) {
  return QFontMetrics(LabelFont(font)).height();
}

QFont TCanvasTextMeasure::LabelFont(const TGUIFont& font) {
  QFont result = canvasFont_;
  SetWinFontName(result, font.Name);
  SetWinFontSize(result, font.Size);
  if (font.Height != 0) SetWinFontHeight(result, font.Height);
  SetWinFontStyle(result, font.Style);
  return result;
}

void SetMeasureCanvas(TTextMeasure* measure) { sharedMeasure = measure; }

TTextMeasure& MeasureCanvas() {
  if (!sharedMeasure) throw Exception("Missing Canvas object");
  return *sharedMeasure;
}

}  // namespace zabko
