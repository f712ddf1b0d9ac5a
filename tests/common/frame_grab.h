// Grabs of windows saved under build/frames, for a person to look at.
#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace zabko::test {

// Saves a grab of the widget under build/frames as Name.png.
inline bool SaveFrameGrab(QWidget& widget, const QString& name) {
  const QString folder = QDir(ZABKO_BUILD_DIR).filePath("frames");
  QDir().mkpath(folder);
  return widget.grab().toImage().save(QDir(folder).filePath(name + ".png"));
}

}  // namespace zabko::test
