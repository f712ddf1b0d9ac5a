// What the game tests share: a resource database written in the test (TResDBWriter) and served
// from memory, pictures whose pixels tell which frame they are, and a manual millisecond clock.
#pragma once

#include "core/res_manager.h"
#include "platform/stream.h"
#include "tools/res_db_writer.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

namespace zabko::test {

// A frame picture: filled with Tag as its red value (green 200, blue 100), with a one-pixel
// border in Key (a Windows colour value) so that the transparency shows at the corners.
inline QImage TaggedFrame(int width, int height, int tag, QRgb key) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(key);
  for (int y = 1; y < height - 1; ++y) {
    for (int x = 1; x < width - 1; ++x) image.setPixel(x, y, qRgb(tag, 200, 100));
  }
  return image;
}

// The RGB of a Windows colour value (0x00BBGGRR).
inline QRgb RgbOf(int winColor) { return qRgb(winColor & 0xFF, (winColor >> 8) & 0xFF, (winColor >> 16) & 0xFF); }

// A resource manager over a database the test fills in Writer, made on first use.
struct TMemoryResources {
  TResDBWriter writer;
  QTemporaryDir looseDir;  // no loose files
  std::unique_ptr<TResManager> manager;

  TResManager& Manager() {
    if (!manager) {
      auto loader = std::make_unique<TResLoader>(std::make_unique<TMemoryStream>(writer.ToBytes()), "test.dat");
      manager = std::make_unique<TResManager>(std::move(loader), looseDir.path());
    }
    return *manager;
  }
};

// A clock the test moves by hand.
struct TManualClock {
  qint64 now = 1000000;
  std::function<qint64()> Function() {
    return [this] { return now; };
  }
};

}  // namespace zabko::test
