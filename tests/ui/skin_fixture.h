// Test pictures for the skin kit: coordinate-coded bitmaps (the pixel at (x, y) is red x, green y,
// blue a tag), a bitmap source that serves them by name and counts the loads, and samplers.
#pragma once

#include "platform/exception.h"
#include "ui/n_manager.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <sstream>

namespace zabko::test {

// Width x Height, pixel (x, y) = rgb(x, y, tag).
inline QImage CodedImage(int width, int height, int tag = 0) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x, y, tag));
  }
  return image;
}

// What a pixel shows: the source coordinate and tag it came from.
struct TSample {
  int x, y, tag;
  bool operator==(const TSample&) const = default;
};
inline TSample Sample(const QImage& image, int x, int y) {
  const QRgb pixel = image.pixel(x, y);
  return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}
inline std::ostream& operator<<(std::ostream& os, const TSample& s) {
  return os << "(" << s.x << "," << s.y << " tag " << s.tag << ")";
}

inline constexpr QRgb kBackdrop = 0xFFFFFFFF;  // white: nothing was drawn there
inline constexpr TSample kNothing{255, 255, 255};

// A canvas filled with the backdrop.
inline QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kBackdrop);
  return image;
}

// Compares every pixel of Image with Expected (nullopt: the backdrop); returns the first
// mismatch as text, or an empty string.
inline std::string FirstMismatch(const QImage& image, const std::function<std::optional<TSample>(int, int)>& expected) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const TSample want = expected(x, y).value_or(kNothing);
      const TSample got = Sample(image, x, y);
      if (!(want == got)) {
        std::ostringstream text;
        text << "pixel " << x << "," << y << " shows " << got << ", expected " << want;
        return text.str();
      }
    }
  }
  return {};
}

class TFakeBitmapSource : public TNBitmapSource {
 public:
  QImage LoadBitmap(const QString& name) override {
    ++loads[name.toUpper()];
    const auto found = images.constFind(name.toUpper());
    if (found == images.constEnd()) throw Exception("File not found in DB: " + name);
    return *found;
  }
  void Add(const QString& name, const QImage& image) { images.insert(name.toUpper(), image); }

  QHash<QString, QImage> images;
  QHash<QString, int> loads;
};

// A manager over a fake source; Source stays valid while the manager lives.
struct TSkinFixture {
  TSkinFixture() {
    auto owned = std::make_unique<TFakeBitmapSource>();
    source = owned.get();
    manager.SetBitmapSource(std::move(owned));
  }
  TNManager manager;
  TFakeBitmapSource* source;
};

}  // namespace zabko::test
