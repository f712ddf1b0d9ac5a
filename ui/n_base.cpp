#include "ui/n_base.h"

#include "ui/component.h"
#include "ui/event_guard.h"

#include <QMouseEvent>
#include <QPainter>

namespace zabko {

// ---- TNBase ----------------------------------------------------------------------------------

TNBase::TNBase(QWidget* parent, const QString& name) : QWidget(parent) {
  setObjectName(name);
  setAutoFillBackground(true);
  SetBackgroundColor(this, color_);
  loading_ = TFormLoading::Register(this, this);
}

void TNBase::SetManager(TNManager* manager) {
  if (manager == manager_) return;
  manager_ = manager;
  ManagerChanged();
  update();
}

void TNBase::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  SetBackgroundColor(this, color);
  update();
}

void TNBase::SetCaption(const QString& caption) { SetAndRepaint(this, caption_, caption); }

void TNBase::SetAlignment(TAlignment alignment) { SetAndRepaint(this, alignment_, alignment); }

void TNBase::Loaded() { loading_ = false; }

void TNBase::mousePressEvent(QMouseEvent* event) {
  click_.Press(event);
  event->accept();
}

void TNBase::mouseReleaseEvent(QMouseEvent* event) {
  if (click_.Release(event, this)) Fire(this, &TNBase::OnClick);
}

void TNBase::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  click_.Press(event);
  Fire(this, &TNBase::OnDblClick);
}

// ---- TNStatic --------------------------------------------------------------------------------

TNStatic::TNStatic(QWidget* parent, const QString& name) : TNBase(parent, name) {}

void TNStatic::SetBackgroundName(const QString& name) {
  if (name == backgroundName_) return;
  backgroundName_ = name;
  if (name.isEmpty()) {
    SetDrawerIndex(-1);
  } else if (!IsLoading() && Manager()) {
    SetDrawerIndex(Manager()->GetDrawer(name));
    update();
  }
}

void TNStatic::SetTile(bool tile) { SetAndRepaint(this, tile_, tile); }

void TNStatic::SetStretchDraw(bool stretch) { SetAndRepaint(this, stretchDraw_, stretch); }

void TNStatic::SetDrawerIndex(int index) { SetAndRepaint(this, drawerIndex_, index); }

void TNStatic::Loaded() {
  TNBase::Loaded();
  const QString name = backgroundName_;
  SetBackgroundName(QString());
  SetBackgroundName(name);
}

void TNStatic::ManagerChanged() {
  // A manager given after the name (outside a form load) still takes the drawer.
  if (!IsLoading() && Manager() && !backgroundName_.isEmpty()) SetDrawerIndex(Manager()->GetDrawer(backgroundName_));
}

void TNStatic::PaintBackground(QPainter& canvas) {
  TNManager* manager = Manager();
  if (!manager) return;
  if (stretchDraw_) {
    manager->DrawStretched(canvas, 0, drawerIndex_, height(), width(), 0);
  } else if (tile_) {
    manager->DrawTiled(canvas, 0, drawerIndex_, height(), width(), 0);
  } else {
    manager->DrawPlain(canvas, 0, drawerIndex_, 0);
  }
}

void TNStatic::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  PaintBackground(canvas);
}

// ---- TNFrameStatic ---------------------------------------------------------------------------

TNFrameStatic::TNFrameStatic(QWidget* parent, const QString& name) : TNStatic(parent, name) {}

void TNFrameStatic::SetSize(int size) { SetAndRepaint(this, size_, size); }

void TNFrameStatic::paintEvent(QPaintEvent*) {
  TNManager* manager = Manager();
  const int s = size_;
  if (!manager || s <= 0) return;
  QPainter canvas(this);
  const int d = DrawerIndex();
  const int w = width();
  const int h = height();
  // Corners, unscaled.
  manager->DrawPart(0, 0, d, s, s, 0, 0, canvas);
  manager->DrawPart(0, 2 * s, d, s, s, h - s, 0, canvas);
  manager->DrawPart(2 * s, 2 * s, d, s, s, h - s, w - s, canvas);
  manager->DrawPart(2 * s, 0, d, s, s, 0, w - s, canvas);
  // Edges, tiled; the centre shows the panel's colour and children.
  manager->DrawPartTiled({s, 0, 2 * s, s}, canvas, d, s, w - 2 * s, 0, s);
  manager->DrawPartTiled({0, s, s, 2 * s}, canvas, d, h - 2 * s, s, s, 0);
  manager->DrawPartTiled({2 * s, s, 3 * s, 2 * s}, canvas, d, h - 2 * s, s, s, w - s);
  manager->DrawPartTiled({s, 2 * s, 2 * s, 3 * s}, canvas, d, s, w - 2 * s, h - s, s);
}

}  // namespace zabko
