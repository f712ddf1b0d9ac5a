#include "ui/my_shape.h"

#include "ui/event_guard.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace zabko {

namespace {

// The class library's shapes cover right - left pixels; Qt's outline of a 1-pixel pen covers
// one more, so the Qt rectangle is one pixel smaller each way.
QRect QtOutline(const QRect& area) { return area.adjusted(0, 0, -1, -1); }

}  // namespace

void DrawWinRectangle(QPainter& canvas, const QRect& area) { canvas.drawRect(QtOutline(area)); }

void DrawWinRoundRect(QPainter& canvas, const QRect& area, int radiusX, int radiusY) {
  // The class library's corner values are the ellipse's full width and height.
  canvas.drawRoundedRect(QtOutline(area), radiusX / 2.0, radiusY / 2.0);
}

void DrawWinEllipse(QPainter& canvas, const QRect& area) { canvas.drawEllipse(QtOutline(area)); }

// ---- TMyShape --------------------------------------------------------------------------------

TMyShape::TMyShape(QWidget* parent, const QString& name) : QWidget(parent) { setObjectName(name); }

void TMyShape::SetShape(TShapeType shape) { SetAndRepaint(this, shape_, shape); }
void TMyShape::SetPenColor(TColor color) { SetAndRepaint(this, penColor_, color); }
void TMyShape::SetPenWidth(int width) { SetAndRepaint(this, penWidth_, width); }
void TMyShape::SetBrushColor(TColor color) { SetAndRepaint(this, brushColor_, color); }
void TMyShape::SetBrushClear(bool clear) { SetAndRepaint(this, brushClear_, clear); }
void TMyShape::SetRadiusX(int radius) { SetAndRepaint(this, radiusX_, radius); }
void TMyShape::SetRadiusY(int radius) { SetAndRepaint(this, radiusY_, radius); }

QRect TMyShape::ShapeRect() const {
  const int p = penWidth_;
  int x = p / 2;
  int y = p / 2;
  int w = width() - p + 1;
  int h = height() - p + 1;
  if (p == 0) {
    --w;
    --h;
  }
  if (shape_ == TShapeType::Square || shape_ == TShapeType::RoundSquare || shape_ == TShapeType::Circle) {
    const int side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  return QRect(x, y, w, h);
}

void TMyShape::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  canvas.setPen(QPen(WinColor(penColor_), std::max(penWidth_, 1)));
  canvas.setBrush(brushClear_ ? QBrush(Qt::NoBrush) : QBrush(WinColor(brushColor_)));
  const QRect area = ShapeRect();
  switch (shape_) {
    case TShapeType::Rectangle:
    case TShapeType::Square:
      DrawWinRectangle(canvas, area);
      break;
    case TShapeType::RoundRect:
    case TShapeType::RoundSquare:
      canvas.setRenderHint(QPainter::Antialiasing);
      DrawWinRoundRect(canvas, area, radiusX_, radiusY_);
      break;
    case TShapeType::Ellipse:
    case TShapeType::Circle:
      canvas.setRenderHint(QPainter::Antialiasing);
      DrawWinEllipse(canvas, area);
      break;
  }
}

// ---- TRoundedPanel ---------------------------------------------------------------------------

TRoundedPanel::TRoundedPanel(QWidget* parent, const QString& name) : QWidget(parent) { setObjectName(name); }

void TRoundedPanel::SetColor(TColor color) { SetAndRepaint(this, color_, color); }
void TRoundedPanel::SetBackgroundColor(TColor color) { SetAndRepaint(this, backgroundColor_, color); }
void TRoundedPanel::SetRadiusX(int radius) { SetAndRepaint(this, radiusX_, radius); }
void TRoundedPanel::SetRadiusY(int radius) { SetAndRepaint(this, radiusY_, radius); }

void TRoundedPanel::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  canvas.fillRect(rect(), WinColor(backgroundColor_));
  // A 1-pixel pen: the rounded rectangle covers the whole client area.
  canvas.setRenderHint(QPainter::Antialiasing);
  canvas.setPen(WinColor(color_));
  canvas.setBrush(WinColor(color_));
  DrawWinRoundRect(canvas, rect(), radiusX_, radiusY_);
}

void TRoundedPanel::mousePressEvent(QMouseEvent* event) {
  click_.Press(event);
  event->accept();
}

void TRoundedPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (click_.Release(event, this)) Guarded([this] { emit Onclick(); });
}

}  // namespace zabko
