#include "ui/n_button.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace zabko {

TNButton::TNButton(QWidget* parent, const QString& name) : TNStatic(parent, name) { setMouseTracking(true); }

void TNButton::Repaint(bool reload) {
  if (reload && !IsLoading()) ReloadDrawers();
  update();
}

void TNButton::SetBitmapComponent(TNBitmapComponent* component) {
  if (SetAndRepaint(this, bitmapComponent_, component)) Repaint(true);
}

void TNButton::SetX(int x) {
  if (SetAndRepaint(this, x_, x)) Repaint(true);
}

void TNButton::SetY(int y) {
  if (SetAndRepaint(this, y_, y)) Repaint(true);
}

void TNButton::SetCanBeDown(bool canBeDown) {
  if (canBeDown == canBeDown_) return;
  canBeDown_ = canBeDown;
  UpdateState();
}

void TNButton::SetClickableWhenDown(bool clickable) { clickableWhenDown_ = clickable; }

void TNButton::SetSize(int size) {
  if (size == size_) return;
  size_ = size;
  UpdateState();
  update();
}

void TNButton::SetDeltaYPlain(int delta) { SetAndRepaint(this, deltaYPlain_, delta); }
void TNButton::SetDeltaYDown(int delta) { SetAndRepaint(this, deltaYDown_, delta); }
void TNButton::SetDeltaYOver(int delta) { SetAndRepaint(this, deltaYOver_, delta); }
void TNButton::SetDeltaX(int delta) { SetAndRepaint(this, deltaX_, delta); }

void TNButton::SetDown(bool down) {
  down_ = down;
  UpdateState();
  update();
}

void TNButton::ReloadDrawers() {
  TNManager* manager = Manager();
  if (!manager || !bitmapComponent_) return;
  const QString sheet = bitmapComponent_->Filename();
  const int w = width();
  const int h = height();
  plainDrawer_ = manager->GetPartDrawer(x_, y_, sheet, h, w);
  hoverDrawer_ = manager->GetPartDrawer(x_, y_ + h, sheet, h, w);
  downDrawer_ = manager->GetPartDrawer(x_, y_ + 2 * h, sheet, h, w);
  SetDrawerIndex(plainDrawer_);
  UpdateState();
}

void TNButton::ReloadAndRepaint() {
  ReloadDrawers();
  update();
}

void TNButton::UpdateState() {
  int row = 0;
  if (canBeDown_ && !hovered_ && !down_) {
    row = 0;
  } else if (pressed_ || down_) {
    row = 2;
  } else if (hovered_) {
    row = 1;
  }
  if (size_ > 0) {
    row_ = row;
    SetDrawerIndex(plainDrawer_);
  } else {
    row_ = 0;
    const int drawers[] = {plainDrawer_, hoverDrawer_, downDrawer_};
    SetDrawerIndex(drawers[row]);
  }
  update();
}

void TNButton::Loaded() {
  TNStatic::Loaded();
  if (bitmapComponent_) bitmapComponent_->Loaded();
  ReloadDrawers();
}

void TNButton::paintEvent(QPaintEvent* event) {
  if (size_ <= 0) {
    TNStatic::paintEvent(event);
    return;
  }
  TNManager* manager = Manager();
  if (!manager) return;
  QPainter canvas(this);
  const int s = size_;
  const int w = width();
  const int h = height();
  const int d = DrawerIndex();
  const int top = row_ * h;
  manager->DrawPart(0, top, d, h, s, 0, 0, canvas);
  manager->DrawPart(2 * s, top, d, h, s, 0, w - s, canvas);
  manager->DrawPartTiled({s, top, 2 * s, top + h}, canvas, d, h, w - 2 * s, 0, s);

  const QString& caption = Caption();
  if (caption.isEmpty()) return;
  const QFontMetrics metrics(font());
  const int textWidth = metrics.horizontalAdvance(caption);
  int x = deltaX_;
  if (Alignment() == TAlignment::RightJustify) x += w - textWidth;
  if (Alignment() == TAlignment::Center) x += (w - textWidth) / 2;
  const int deltas[] = {deltaYPlain_, deltaYOver_, deltaYDown_};
  const int y = (h - metrics.height()) / 2 + deltas[row_];
  canvas.setClipRect(rect());
  canvas.setFont(font());
  canvas.setPen(palette().color(QPalette::WindowText));
  canvas.drawText(x, y + metrics.ascent(), caption);
}

void TNButton::SetHovered(bool hovered) {
  if (hovered == hovered_) return;
  hovered_ = hovered;
  UpdateState();
  Fire(this, hovered ? &TNButton::OnMouseEnter : &TNButton::OnMouseLeave);
}

void TNButton::enterEvent(QEnterEvent*) { SetHovered(true); }

void TNButton::leaveEvent(QEvent*) { SetHovered(false); }

bool TNButton::TakesLeftButton(QMouseEvent* event) {
  // Other buttons are swallowed; the left one is ignored while Down unless ClickableWhenDown.
  event->accept();
  return event->button() == Qt::LeftButton && !(down_ && !clickableWhenDown_);
}

void TNButton::SetPressed(bool pressed) {
  pressed_ = pressed;
  UpdateState();
}

void TNButton::mousePressEvent(QMouseEvent* event) {
  if (!TakesLeftButton(event)) return;
  SetPressed(true);
  TNStatic::mousePressEvent(event);
}

void TNButton::mouseReleaseEvent(QMouseEvent* event) {
  if (!TakesLeftButton(event)) return;
  SetPressed(false);
  TNStatic::mouseReleaseEvent(event);
}

void TNButton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!TakesLeftButton(event)) return;
  SetPressed(true);
  TNStatic::mouseDoubleClickEvent(event);
}

void TNButton::mouseMoveEvent(QMouseEvent* event) {
  // While the left button is held Qt keeps the mouse here and reports leaving only at the
  // release; follow the pointer so that dragging off shows the right sprite at once.
  const bool inside = rect().contains(event->position().toPoint());
  if (!pressed_ || inside != hovered_) SetHovered(pressed_ ? inside : true);
  event->accept();
}

void TNButton::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

}  // namespace zabko
