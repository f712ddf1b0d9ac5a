// Checks a window's layout as a person sees it: every visible label's and sprite button's text
// must lie inside the room it is drawn in (the control, less its sprite's icon, clipped by every
// parent), and no two visible sibling controls may overlap unless the layout stacks them on
// purpose. Faults come back as readable lines naming the control by its path of object names.
#pragma once

#include "ui/n_button.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include <vector>

namespace zabko::test {

// Two sibling controls (by object name, either order) that overlap by design. A first name of
// "*" stands for any two children of the control named second.
struct TStackedPair {
  const char* first;
  const char* second;
  const char* reason;
};

// A sprite sheet whose three-slice buttons carry an icon in their left cap, ending IconEnd
// pixels from the button's left edge: the caption's room starts there.
struct TIconSheet {
  const char* sheet;
  int iconEnd;
};

class TLayoutCheck {
 public:
  TLayoutCheck(std::vector<TStackedPair> stacked, std::vector<TIconSheet> icons)
      : stacked_(std::move(stacked)), icons_(std::move(icons)) {}

  // The faults of Root and every visible control inside it (windows of their own excluded).
  QStringList Check(QWidget* root) {
    faults_.clear();
    root_ = root;
    Walk(root);
    return faults_;
  }

  static QString PathOf(const QWidget* widget, const QWidget* root) {
    QStringList names;
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
      names.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
      if (w == root || w->isWindow()) break;
    }
    return names.join('/');
  }

 private:
  bool Shown(const QWidget* w) const { return !w->isWindow() && w->isVisibleTo(root_) && !w->isHidden(); }

  // The part of the widget that its parents let show, in the widget's own coordinates.
  static QRect VisibleRect(const QWidget* widget) {
    QRect visible = widget->rect();
    QPoint offset(0, 0);
    for (const QWidget* w = widget; w->parentWidget() && !w->isWindow(); w = w->parentWidget()) {
      offset += w->pos();
      visible &= w->parentWidget()->rect().translated(-offset);
    }
    return visible;
  }

  void Fault(const QWidget* w, const QString& what) { faults_ << PathOf(w, root_) + ": " + what; }

  static QString Quoted(const QString& text) { return '"' + text + '"'; }

  void CheckLabel(const QLabel* label) {
    const QString text = label->text();
    if (text.isEmpty() || label->textFormat() == Qt::RichText) return;
    const QFontMetrics metrics(label->font());
    const QRect contents = label->contentsRect();
    const QRect room = contents & VisibleRect(label);
    if (label->wordWrap()) {
      const QRect needed = metrics.boundingRect(contents, int(label->alignment()) | Qt::TextWordWrap, text);
      if (needed.width() > contents.width() || needed.height() > contents.height())
        Fault(label, QString("%1 needs %2 x %3 in a label of %4 x %5")
                         .arg(Quoted(text))
                         .arg(needed.width())
                         .arg(needed.height())
                         .arg(contents.width())
                         .arg(contents.height()));
      else if (!room.contains(contents & needed))
        Fault(label, Quoted(text) + " is cut by a parent");
      return;
    }
    int width = 0;
    for (const QString& line : text.split('\n')) width = std::max(width, metrics.horizontalAdvance(line));
    const QRect drawn = QStyle::alignedRect(label->layoutDirection(), QStyle::visualAlignment(label->layoutDirection(), label->alignment()),
                                            QSize(width, contents.height()), contents);
    if (width > contents.width())
      Fault(label, QString("%1 is %2 px wide in a label of %3").arg(Quoted(text)).arg(width).arg(contents.width()));
    else if (drawn.left() < room.left() || drawn.right() > room.right())
      Fault(label, QString("%1 is cut by a parent: it needs x %2..%3, shows x %4..%5")
                       .arg(Quoted(text))
                       .arg(drawn.left())
                       .arg(drawn.right())
                       .arg(room.left())
                       .arg(room.right()));
  }

  void CheckSpriteButton(const TNButton* button) {
    const QString text = button->Caption();
    if (text.isEmpty() || button->Size() <= 0) return;  // plain sprites draw no caption
    const QFontMetrics metrics(button->font());
    const int textWidth = metrics.horizontalAdvance(text);
    const int w = button->width();
    int x = button->DeltaX();
    if (button->Alignment() == TAlignment::RightJustify) x += w - textWidth;
    if (button->Alignment() == TAlignment::Center) x += (w - textWidth) / 2;
    int start = 0;
    if (const TNBitmapComponent* sheet = button->BitmapComponent())
      for (const TIconSheet& icon : icons_)
        if (sheet->Filename().compare(QLatin1String(icon.sheet), Qt::CaseInsensitive) == 0) start = icon.iconEnd;
    const QRect room = QRect(start, 0, w - start, button->height()) & VisibleRect(button);
    if (x < room.left() || x + textWidth - 1 > room.right())
      Fault(button, QString("%1 is drawn at x %2..%3, its room is x %4..%5%6")
                        .arg(Quoted(text))
                        .arg(x)
                        .arg(x + textWidth - 1)
                        .arg(room.left())
                        .arg(room.right())
                        .arg(start > 0 ? " (right of its icon)" : ""));
  }

  void CheckButton(const QAbstractButton* button) {
    if (button->text().isEmpty()) return;
    const int needed = button->sizeHint().width();
    if (needed > button->width())
      Fault(button, QString("%1 needs %2 px, has %3").arg(Quoted(button->text())).arg(needed).arg(button->width()));
  }

  bool Stacked(const QWidget* a, const QWidget* b) const {
    const QString na = a->objectName(), nb = b->objectName();
    const QString parent = a->parentWidget() ? a->parentWidget()->objectName() : QString();
    for (const TStackedPair& pair : stacked_)
      if (QLatin1String(pair.first) == QLatin1String("*") && parent == QLatin1String(pair.second)) return true;
    for (const TStackedPair& pair : stacked_)
      if ((na == QLatin1String(pair.first) && nb == QLatin1String(pair.second)) ||
          (na == QLatin1String(pair.second) && nb == QLatin1String(pair.first)))
        return true;
    return false;
  }

  static bool QtInternal(const QWidget* w) { return w->objectName().startsWith(QLatin1String("qt_")); }

  void Walk(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) CheckLabel(label);
    if (auto* button = qobject_cast<TNButton*>(widget)) CheckSpriteButton(button);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) CheckButton(button);
    // Qt's compound controls lay out their own parts.
    if (qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QScrollBar*>(widget))
      return;
    std::vector<QWidget*> children;
    for (QObject* object : widget->children())
      if (auto* child = qobject_cast<QWidget*>(object); child && Shown(child)) children.push_back(child);
    const bool scrollArea = qobject_cast<QAbstractScrollArea*>(widget) != nullptr;
    for (size_t i = 0; i < children.size(); ++i) {
      for (size_t j = i + 1; j < children.size(); ++j) {
        QWidget* a = children[i];
        QWidget* b = children[j];
        if (scrollArea || QtInternal(a) || QtInternal(b) || Stacked(a, b)) continue;
        const QRect common = a->geometry() & b->geometry();
        if (!common.isEmpty())
          faults_ << QString("%1 and %2 overlap (%3 x %4 at %5, %6)")
                         .arg(PathOf(a, root_), b->objectName().isEmpty() ? b->metaObject()->className() : b->objectName())
                         .arg(common.width())
                         .arg(common.height())
                         .arg(common.x())
                         .arg(common.y());
      }
      Walk(children[i]);
    }
  }

  std::vector<TStackedPair> stacked_;
  std::vector<TIconSheet> icons_;
  QWidget* root_ = nullptr;
  QStringList faults_;
};

}  // namespace zabko::test
