// The sprite button: its three states (plain, hover, down) are rows of one sprite sheet, cut as
// part drawers of the button's own size at (X, Y), (X, Y + H) and (X, Y + 2H). With Size S > 0 it
// is a three-slice button instead: each row of the sheet is 3S wide (left cap, middle, right cap),
// stretched to any width by tiling the middle, with the caption drawn over it.
#pragma once

#include "ui/n_base.h"

namespace zabko {

class TNButton : public TNStatic {
  Q_OBJECT

 public:
  explicit TNButton(QWidget* parent = nullptr, const QString& name = QString());

  TNBitmapComponent* BitmapComponent() const { return bitmapComponent_; }
  void SetBitmapComponent(TNBitmapComponent* component);
  int X() const { return x_; }
  void SetX(int x);
  int Y() const { return y_; }
  void SetY(int y);
  bool CanBeDown() const { return canBeDown_; }
  void SetCanBeDown(bool canBeDown);
  bool ClickableWhenDown() const { return clickableWhenDown_; }
  void SetClickableWhenDown(bool clickable);
  int Size() const { return size_; }
  void SetSize(int size);
  int DeltaYPlain() const { return deltaYPlain_; }
  void SetDeltaYPlain(int delta);
  int DeltaYDown() const { return deltaYDown_; }
  void SetDeltaYDown(int delta);
  int DeltaYOver() const { return deltaYOver_; }
  void SetDeltaYOver(int delta);
  int DeltaX() const { return deltaX_; }
  void SetDeltaX(int delta);

  // The toggle state set by the program.
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Hovered() const { return hovered_; }
  bool Pressed() const { return pressed_; }
  // The sprite row shown in Size mode: 0 plain, 1 hover, 2 down.
  int Row() const { return row_; }
  int PlainDrawer() const { return plainDrawer_; }
  int HoverDrawer() const { return hoverDrawer_; }
  int DownDrawer() const { return downDrawer_; }

  // Cuts the three state drawers for the current size; the bars call ReloadAndRepaint after
  // resizing a button.
  void ReloadDrawers();
  void ReloadAndRepaint();
  void UpdateState();

  void Loaded() override;

 signals:
  void OnMouseEnter();
  void OnMouseLeave();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void SetHovered(bool hovered);
  bool TakesLeftButton(QMouseEvent* event);
  void SetPressed(bool pressed);
  void Repaint(bool reload);

  QPointer<TNBitmapComponent> bitmapComponent_;
  int x_ = 0, y_ = 0;
  bool canBeDown_ = false, clickableWhenDown_ = false;
  int size_ = 0;
  int deltaYPlain_ = 0, deltaYDown_ = 0, deltaYOver_ = 0, deltaX_ = 0;
  int plainDrawer_ = -1, hoverDrawer_ = -1, downDrawer_ = -1;
  bool down_ = false, hovered_ = false, pressed_ = false;
  int row_ = 0;
};

}  // namespace zabko
