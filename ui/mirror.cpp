#include "ui/mirror.h"

#include "ui/anchors.h"
#include "ui/my_shape.h"
#include "ui/n_base.h"

#include <QFrame>
#include <QGroupBox>
#include <QWidget>

#include <algorithm>

namespace zabko {

namespace {

// Controls whose children are form controls: the kit's panels and plain containers.
bool IsContainer(const QWidget* control) {
  if (qobject_cast<const TNBase*>(control) || qobject_cast<const TRoundedPanel*>(control) ||
      qobject_cast<const QGroupBox*>(control)) {
    return true;
  }
  const QMetaObject* type = control->metaObject();
  return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject;
}

TAnchors MirroredAnchors(TAnchors anchors, TAnchorMirror mode) {
  if (mode == TAnchorMirror::Swap) return MirrorAnchors(anchors);
  const TAnchors leftTop = TAnchorKind::Left | TAnchorKind::Top;
  const TAnchors topRight = TAnchorKind::Top | TAnchorKind::Right;
  if (anchors == leftTop) return topRight;
  if (anchors == topRight) return leftTop;
  return anchors;
}

}  // namespace

void MirrorControl(QWidget* control, TAnchorMirror anchors) {
  if (QWidget* parent = control->parentWidget()) {
    control->move(parent->width() - control->x() - control->width(), control->y());
  }
  control->setLayoutDirection(Qt::LeftToRight);
  SetAnchors(control, MirroredAnchors(GetAnchors(control), anchors));
}

void MirrorChildren(QWidget* parent, bool recursive, std::initializer_list<const QWidget*> except,
                    TAnchorMirror anchors) {
  const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* child : children) {
    if (child->isWindow()) continue;
    const bool skipped = std::find(except.begin(), except.end(), child) != except.end();
    if (!skipped) MirrorControl(child, anchors);
    if (recursive && IsContainer(child)) MirrorChildren(child, true, except, anchors);
  }
}

void MirrorTitleBitmap(TNStatic* title) {
  const QString name = title->BackgroundName();
  if (!name.isEmpty() && !name.startsWith(QLatin1String("[U]"))) title->SetBackgroundName("[U]" + name);
}

}  // namespace zabko
