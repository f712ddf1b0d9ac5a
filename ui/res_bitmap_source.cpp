#include "ui/res_bitmap_source.h"

#include "platform/exception.h"

namespace zabko {

std::unique_ptr<TNBitmapSource> CreateResBitmapSource(const QString& filename) {
  throw Exception("Failed to open " + filename);
}

}  // namespace zabko
