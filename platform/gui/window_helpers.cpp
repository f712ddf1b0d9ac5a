#include "platform/gui/window_helpers.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zabko {

bool BrowseForFolder(QWidget* ownerWindow, const QString& title, QString& path) {
  const QString chosen = QFileDialog::getExistingDirectory(
      ownerWindow, title, path, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
  if (chosen.isEmpty()) return false;
  path = chosen;
  return true;
}

QWidget* FindActiveForm() {
  QWidget* active = QApplication::activeWindow();
  return active ? active->window() : nullptr;
}

void BringProgramForward(QWidget* mainWindow) {
  QWidget* target = QApplication::activeModalWidget();
  if (!target) target = mainWindow;
  if (!target) return;
  if (target->isMinimized()) target->setWindowState(target->windowState() & ~Qt::WindowMinimized);
  target->show();
  target->raise();
  target->activateWindow();
  // Activation is a request the window manager may refuse (focus stealing prevention).
  QTimer::singleShot(200, target, [window = QPointer<QWidget>(target)] {
    if (window && !window->isActiveWindow()) QApplication::alert(window);
  });
}

}  // namespace zabko
