// Arbitrary bytes as a packet's binary form, as its hex text, and as run-length coded data.
#include "core/data_packet.h"
#include "core/rle_stream.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  zabko::TDataPacket packet;
  try {
    packet.LoadFromBytes(bytes);
    // What loads must save to the same form and load again.
    const QByteArray saved = packet.SaveToBytes();
    zabko::TDataPacket again;
    again.LoadFromBytes(saved);
    if (again.SaveToBytes() != saved) __builtin_trap();
    (void)packet.ToText();
  } catch (const zabko::Exception&) {
  }
  try {
    packet.LoadFromHexString(bytes);
  } catch (const zabko::Exception&) {
  }
  try {
    zabko::TMemoryStream source(bytes);
    zabko::TRLEStream rle;
    rle.LoadFromStream(source);
    char buffer[4096];
    while (rle.Read(buffer, sizeof buffer) > 0) {
    }
    rle.Seek(3, zabko::SeekOrigin::Beginning);
    rle.Seek(0, zabko::SeekOrigin::End);
  } catch (const zabko::Exception&) {
  }
  return 0;
}
