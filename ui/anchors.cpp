#include "ui/anchors.h"

#include <QEvent>
#include <QObject>
#include <QSize>
#include <QVariant>
#include <QWidget>

namespace zabko {

namespace {

constexpr char kAnchorsProperty[] = "zabkoAnchors";
constexpr char kBaseProperty[] = "zabkoAnchorParentSize";
constexpr char kKeeperName[] = "zabkoAnchorKeeper";

// Watches one parent and moves its anchored children when it is resized.
class TAnchorKeeper : public QObject {
 public:
  explicit TAnchorKeeper(QWidget* parent) : QObject(parent) {
    setObjectName(kKeeperName);
    parent->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize && watched == parent()) {
      ApplyAnchors(static_cast<QWidget*>(watched));
    }
    return false;
  }
};

void EnsureKeeper(QWidget* parent) {
  for (QObject* child : parent->children()) {
    if (child->objectName() == QLatin1String(kKeeperName) && dynamic_cast<TAnchorKeeper*>(child)) return;
  }
  new TAnchorKeeper(parent);
}

// Moves one edge pair: both anchored stretches, the far one only moves, neither keeps the centre.
void Follow(bool nearEdge, bool farEdge, int delta, int& position, int& extent) {
  if (nearEdge && farEdge) {
    extent += delta;
  } else if (farEdge) {
    position += delta;
  } else if (!nearEdge) {
    position += delta / 2;
  }
}

}  // namespace

void SetAnchors(QWidget* control, TAnchors anchors) {
  control->setProperty(kAnchorsProperty, int(anchors));
  if (QWidget* parent = control->parentWidget()) {
    control->setProperty(kBaseProperty, parent->size());
    if (anchors != kDefaultAnchors) EnsureKeeper(parent);
  }
}

TAnchors GetAnchors(const QWidget* control) {
  const QVariant value = control->property(kAnchorsProperty);
  return value.isValid() ? TAnchors(value.toInt()) : kDefaultAnchors;
}

void ApplyAnchors(QWidget* parent) {
  const QSize now = parent->size();
  for (QObject* object : parent->children()) {
    auto* control = qobject_cast<QWidget*>(object);
    if (!control || control->isWindow()) continue;
    const QVariant base = control->property(kBaseProperty);
    if (!base.isValid()) continue;
    const QSize before = base.toSize();
    control->setProperty(kBaseProperty, now);
    const TAnchors anchors = GetAnchors(control);
    if (before == now || anchors == kDefaultAnchors) continue;
    QRect r = control->geometry();
    int x = r.x(), y = r.y(), w = r.width(), h = r.height();
    Follow(anchors & TAnchorKind::Left, anchors & TAnchorKind::Right, now.width() - before.width(), x, w);
    Follow(anchors & TAnchorKind::Top, anchors & TAnchorKind::Bottom, now.height() - before.height(), y, h);
    control->setGeometry(x, y, qMax(0, w), qMax(0, h));
  }
}

void RebaseAnchors(QWidget* root) {
  const auto rebase = [](QWidget* control) {
    if (control->parentWidget() && control->property(kBaseProperty).isValid()) {
      control->setProperty(kBaseProperty, control->parentWidget()->size());
    }
  };
  rebase(root);
  for (QWidget* control : root->findChildren<QWidget*>()) rebase(control);
}

TAnchors MirrorAnchors(TAnchors anchors) {
  const bool left = anchors & TAnchorKind::Left;
  const bool right = anchors & TAnchorKind::Right;
  if (left == right) return anchors;
  anchors.setFlag(TAnchorKind::Left, right);
  anchors.setFlag(TAnchorKind::Right, left);
  return anchors;
}

}  // namespace zabko
