#include "ui/component.h"

#include <QMouseEvent>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace zabko {

namespace {
constexpr char kTagProperty[] = "zabkoTag";
}

int Tag(const QObject* component) { return component->property(kTagProperty).toInt(); }

void SetTag(QObject* component, int tag) { component->setProperty(kTagProperty, tag); }

TColor FontColor(const QWidget* control) { return ToWinColor(control->palette().color(QPalette::WindowText)); }

void SetFontColor(QWidget* control, TColor color) {
  QPalette palette = control->palette();
  palette.setColor(QPalette::WindowText, WinColor(color));
  palette.setColor(QPalette::Text, WinColor(color));
  palette.setColor(QPalette::ButtonText, WinColor(color));
  control->setPalette(palette);
}

void TClickTracker::Press(const QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

bool TClickTracker::Release(const QMouseEvent* event, const QWidget* control) {
  if (event->button() != Qt::LeftButton) return false;
  const bool click = pressed_ && control->rect().contains(event->position().toPoint());
  pressed_ = false;
  return click;
}

void SetBackgroundColor(QWidget* control, TColor color) {
  QPalette palette = control->palette();
  palette.setColor(QPalette::Window, WinColor(color));
  control->setPalette(palette);
}

}  // namespace zabko
