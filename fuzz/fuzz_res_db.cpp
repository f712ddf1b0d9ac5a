// Arbitrary bytes as a resource database: the directory, every entry and every entry as a bitmap.
#include "core/res_manager.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    zabko::TResManager res(std::make_unique<zabko::TResLoader>(std::make_unique<zabko::TMemoryStream>(bytes), "fuzz"),
                           QStringLiteral("/nonexistent-zabko-app-dir"));
    QStringList names;
    res.Loader().ListNames(names);
    for (const QString& name : names) {
      const qint64 size = res.Open(name);
      QByteArray blob(size, '\0');
      if (res.Current().Read(blob.data(), size) != size) __builtin_trap();
      try {
        QImage image;
        res.LoadBitmap(image, name);
      } catch (const zabko::Exception&) {
      }
    }
  } catch (const zabko::Exception&) {
  }
  return 0;
}
