#include "platform/gui/window_helpers.h"

#include <QApplication>
#include <QFileDialog>
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

}  // namespace zabko
