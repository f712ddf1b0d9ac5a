#include "ui/modal_form.h"

#include "platform/exception.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

namespace zabko {

TModalForm::TModalForm(QWidget* parent, const QString& name, TFormKind kind)
    : QWidget(parent, kind == TFormKind::Docked ? Qt::Widget
                                                : Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(name);
}

int TModalForm::ShowModal() {
  if (loop_) throw Exception("Cannot make a visible window modal");
  modalResult_ = mrNone;
  if (QCoreApplication::closingDown()) return mrCancel;
  setWindowModality(Qt::ApplicationModal);
  show();
  // Top-level windows stack themselves on show where the platform cannot raise them.
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
  activateWindow();
  QEventLoop loop;
  loop_ = &loop;
  // A result set while showing (by a show handler) ends the loop at once.
  if (modalResult_ == mrNone) loop.exec(QEventLoop::DialogExec);
  loop_ = nullptr;
  hide();
  setWindowModality(Qt::NonModal);
  // The loop also ends when the application quits.
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
}

void TModalForm::SetModalResult(int result) {
  modalResult_ = result;
  if (result != mrNone && loop_) loop_->exit();
}

void TModalForm::CenterOnScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TModalForm::closeEvent(QCloseEvent* event) {
  // Closing a modal window is cancelling it; the loop hides the window.
  if (loop_) {
    event->ignore();
    SetModalResult(mrCancel);
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace zabko
