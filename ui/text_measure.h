// The measuring surface of the markup layouter: text width and height for a font given as the
// forms give it (name, size or height, style). One process-wide instance, set by the main window
// when it is first shown; tests set a fixed-width fake.
#pragma once

#include "ui/win_font.h"

#include <QFont>
#include <QString>

namespace zabko {

// A run's font: Windows name, size (points, may be negative), height (0 = not set) and style.
struct TGUIFont {
  QString Name = QStringLiteral("Arial");
  int Size = 11;
  int Height = 0;
  TFontStyles Style;
  bool operator==(const TGUIFont&) const = default;
};

class TTextMeasure {
 public:
  virtual ~TTextMeasure() = default;
  virtual int TextWidth(const TGUIFont& font, const QString& text) = 0;
  // The line height of the font (also for an empty text).
  virtual int TextHeight(const TGUIFont& font, const QString& text) = 0;
  // The font a label of that run gets: the canvas font with the run's name, size, height
  // (when set) and style.
  virtual QFont LabelFont(const TGUIFont& font) = 0;
};

// Measures with Qt's font metrics over a canvas font (the main window's).
class TCanvasTextMeasure : public TTextMeasure {
 public:
  explicit TCanvasTextMeasure(QFont canvasFont) : canvasFont_(std::move(canvasFont)) {}
  int TextWidth(const TGUIFont& font, const QString& text) override;
  int TextHeight(const TGUIFont& font, const QString& text) override;
  QFont LabelFont(const TGUIFont& font) override;

 private:
  QFont canvasFont_;
};

// The shared measuring surface (not owned; none clears it).
void SetMeasureCanvas(TTextMeasure* measure);
// The shared measuring surface; fails with "Missing Canvas object" when none is set.
TTextMeasure& MeasureCanvas();

}  // namespace zabko
