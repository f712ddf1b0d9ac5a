// The demo skin: every skin bitmap that the learning program's windows name, painted in the
// geometry the windows cut from it.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace zabko::skin {

struct TSkinBitmap {
  QString name;   // the resource name, as the windows spell it
  QImage image;
  bool photo;     // large backgrounds, stored as JPEG; the rest run-length coded BMP
};

std::vector<TSkinBitmap> PaintDemoSkin();

// The learning program's icon, 128 x 128 with a transparent corner.
QImage PaintProgramIcon();

}  // namespace zabko::skin
