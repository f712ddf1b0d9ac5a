// A read-only stream with a 1 MiB read-ahead buffer over another stream, for loading word
// databases and packet files quickly.
#pragma once

#include "platform/stream.h"

#include <memory>

namespace zabko {

class TBufferedStream : public TStream {
 public:
  static constexpr qint64 kBufferSize = 1048576;

  // Takes ownership of the inner stream; the buffer starts empty.
  explicit TBufferedStream(std::unique_ptr<TStream> inner);
  static std::unique_ptr<TBufferedStream> CreateFromFile(const QString& fileName);

  qint64 Read(void* buffer, qint64 count) override;
  // Writes nothing.
  qint64 Write(const void* buffer, qint64 count) override { return 0; }
  // Passes the seek to the inner stream (relative seeks from the true position) and empties
  // the buffer.
  qint64 Seek(qint64 offset, SeekOrigin origin) override;
  // The true position: the inner stream's, less what is buffered and not yet read.
  qint64 Position() override;
  qint64 Size() override { return inner_->Size(); }
  const char* PeekBuffer(qint64& available) override;
  void Consume(qint64 count) override;

 private:
  bool Refill();

  std::unique_ptr<TStream> inner_;
  std::unique_ptr<char[]> buffer_;
  qint64 position_ = 0;  // read position within the buffer
  qint64 valid_ = 0;     // valid bytes in the buffer
};

}  // namespace zabko
