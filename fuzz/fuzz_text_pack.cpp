// Arbitrary bytes as a text pack: decoding by mark, block joining and line parsing.
#include "core/zabkolex_strings.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    zabko::TZabkolexStrings table;
    zabko::TMemoryStream stream(bytes);
    table.LoadFromStream(stream, QStringLiteral("fuzz"));
    for (const auto& entry : table.Entries()) {
      if (!table.HasString(entry.key)) __builtin_trap();
      try {
        if (table.GetString(entry.key).isEmpty()) __builtin_trap();
      } catch (const zabko::Exception&) {
      }
    }
  } catch (const zabko::Exception&) {
  }
  return 0;
}
