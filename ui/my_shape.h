// Two plain drawn controls of the kit: TMyShape, the class library's shape with free corner radii,
// and TRoundedPanel, a rounded rectangle on a background colour.
#pragma once

#include "ui/component.h"
#include "ui/win_color.h"

#include <QWidget>

namespace zabko {

enum class TShapeType { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };

class TMyShape : public QWidget {
  Q_OBJECT

 public:
  explicit TMyShape(QWidget* parent = nullptr, const QString& name = QString());

  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType shape);
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor color);
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int width);
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor color);
  // No fill (a clear brush).
  bool BrushClear() const { return brushClear_; }
  void SetBrushClear(bool clear);
  int RadiusX() const { return radiusX_; }
  void SetRadiusX(int radius);
  int RadiusY() const { return radiusY_; }
  void SetRadiusY(int radius);

  // The rectangle the outline is drawn in, by the shape kind and pen width.
  QRect ShapeRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TShapeType shape_ = TShapeType::Rectangle;
  TColor penColor_ = clBlack;
  int penWidth_ = 1;
  TColor brushColor_ = clWhite;
  bool brushClear_ = false;
  int radiusX_ = 0, radiusY_ = 0;
};

class TRoundedPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TRoundedPanel(QWidget* parent = nullptr, const QString& name = QString());

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor color);
  int RadiusX() const { return radiusX_; }
  void SetRadiusX(int radius);
  int RadiusY() const { return radiusY_; }
  void SetRadiusY(int radius);

 signals:
  void Onclick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TColor color_ = clBtnFace;
  TColor backgroundColor_ = clBtnFace;
  int radiusX_ = 0, radiusY_ = 0;
  TClickTracker click_;
};

// A rectangle by the class library's drawing rule (left, top, right, bottom; the outline of a
// 1-pixel pen inside it), drawn on Canvas as a rectangle, rounded rectangle or ellipse.
void DrawWinRectangle(QPainter& canvas, const QRect& area);
void DrawWinRoundRect(QPainter& canvas, const QRect& area, int radiusX, int radiusY);
void DrawWinEllipse(QPainter& canvas, const QRect& area);

}  // namespace zabko
