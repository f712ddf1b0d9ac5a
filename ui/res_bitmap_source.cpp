#include "ui/res_bitmap_source.h"

#include "core/res_manager.h"

#include <QCoreApplication>
#include <QDir>

namespace zabko {

namespace {

class TResBitmapSource : public TNBitmapSource {
 public:
  explicit TResBitmapSource(const QString& path) : resources_(QStringList{path}) {}
  QImage LoadBitmap(const QString& name) override {
    QImage bitmap;
    resources_.LoadBitmap(bitmap, name);
    return bitmap;
  }

 private:
  TResManager resources_;
};

}  // namespace

std::unique_ptr<TNBitmapSource> CreateResBitmapSource(const QString& filename) {
  const QString path = QDir::isAbsolutePath(filename)
                           ? filename
                           : QDir(QCoreApplication::applicationDirPath()).filePath(filename);
  return std::make_unique<TResBitmapSource>(path);
}

}  // namespace zabko
