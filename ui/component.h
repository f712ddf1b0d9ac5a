// Small things every form does with its components: names are objectName()s (so caption loaders,
// mirroring and tests find controls by name), a Tag integer, and the font colour, which the class
// library keeps in the font and Qt in the palette.
#pragma once

#include "ui/win_color.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <utility>

class QMouseEvent;
class QWidget;

namespace zabko {

// The component named Name below Owner, or none.
template <class T>
T* FindComponent(const QObject* owner, const QString& name) {
  return owner->findChild<T*>(name);
}

int Tag(const QObject* component);
void SetTag(QObject* component, int tag);

// Font.Color: the palette's window-text colour.
TColor FontColor(const QWidget* control);
void SetFontColor(QWidget* control, TColor color);

// A left press followed by a left release inside the control is a click.
class TClickTracker {
 public:
  void Press(const QMouseEvent* event);
  // True when the release completes a click.
  bool Release(const QMouseEvent* event, const QWidget* control);

 private:
  bool pressed_ = false;
};

// A published property's setter: stores Value and repaints Control, only when it changes.
// Returns whether it changed.
template <class T, class V>
bool SetAndRepaint(QWidget* control, T& field, V&& value) {
  if (field == value) return false;
  field = std::forward<V>(value);
  control->update();
  return true;
}

// Color: the background a control fills itself with.
void SetBackgroundColor(QWidget* control, TColor color);

}  // namespace zabko
