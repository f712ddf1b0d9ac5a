// The translucent cover laid over a window while a modal box is open: a child widget of the
// covered window that fills its whole client area with one colour at Alpha percent opacity and
// takes its input. Being a child widget, it needs no compositing window manager and works on
// every platform plugin, the offscreen one included; it follows the covered window's size.
#pragma once

#include "ui/win_color.h"

#include <QPointer>
#include <QWidget>

namespace zabko {

class TAlphaBlendForm : public QWidget {
  Q_OBJECT

 public:
  TAlphaBlendForm(QWidget* covered, TColor color);

  // Opacity in percent, 0..100 (values outside are clamped). A non-zero percent paints the
  // colour at percent * 255 / 100 (50 gives 127); 0 turns the translucency off and the cover
  // is opaque.
  int Alpha() const { return alpha_; }
  void SetAlpha(int percent);
  // The opacity the cover is painted with, 0..255.
  int LayerAlpha() const { return alpha_ == 0 ? 255 : alpha_ * 255 / 100; }
  TColor Color() const { return color_; }
  QWidget* Covered() const { return parentWidget(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TColor color_;
  int alpha_ = 0;
};

inline constexpr TColor kDimmerGrey = 0x808080;

// The window a cover goes over for the active window Active: itself, or when it is hidden (the
// progress window a message box has just hidden) the nearest visible window it belongs to.
QWidget* DimmerTarget(QWidget* active);

// A cover of Color and AlphaPercent over Covered (by default DimmerTarget of the application's
// active window), shown when Show is asked for and the covered window is visible. None when there is
// no window to cover or the cover cannot be made. The cover is a child of the covered window:
// delete it to remove it.
TAlphaBlendForm* CreateDimmer(TColor color, int alphaPercent, bool show);
TAlphaBlendForm* CreateDimmer(TColor color, int alphaPercent, bool show, QWidget* covered);
// A grey cover over DimmerTarget of the active window.
TAlphaBlendForm* ShowDimmer(int alphaPercent, bool show);

}  // namespace zabko
