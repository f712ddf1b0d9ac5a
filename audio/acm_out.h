// TACMOut plays blocks of PCM audio through the wave-output device: each block is copied into a
// buffer of its own, the first NumBuffers blocks after Open are held back and then written
// together with the next one, and every finished buffer is reported (OnBufferDone) and freed on
// the GUI thread.
#pragma once

#include "platform/exception.h"
#include "platform/wave_out.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace zabko {

// The failures of wave output.
class EACMOut : public Exception {
 public:
  using Exception::Exception;
};

class TACMOut : public QObject {
 public:
  // The owner, when given, frees the object with itself.
  explicit TACMOut(QObject* owner = nullptr);
  ~TACMOut() override;

  // Opens the device for the format; does nothing when already open. Fails with EACMOut
  // ("WaveOutOpen ...") and stays closed, the format copied.
  void Open(const TWaveFormat& format);
  // Copies the block and queues it (or holds it back); does nothing for 0 bytes or while closed.
  // Returns whether a buffer was queued or held back. A failed write raises EACMOut and keeps
  // nothing of the block.
  bool PlayBuffer(const void* data, qint64 count);
  // Stops and closes the device and frees every buffer; reports still on their way are dropped.
  void ACMOutClose();

  bool IsOpen() const { return open_; }
  const TWaveFormat& Format() const { return format_; }
  // Buffers allocated and not yet freed (held back, queued or playing).
  int BufferCount() const { return static_cast<int>(headers_.size()); }

  // How many buffers are held back after Open before anything reaches the device.
  int NumBuffers = 4;
  // Called for every finished buffer, on the GUI thread, before the buffer is freed.
  std::function<void(TACMOut* sender, TWaveHeader* header)> OnBufferDone;

  // Raises EACMOut for a non-zero result: the operation name and the text of the code.
  static void RaiseError(const char* operation, int code);

 private:
  struct Buffer {
    TWaveHeader header;
    QByteArray data;
  };

  void WriteHeader(Buffer* buffer);
  void BufferDone(TWaveHeader* header, unsigned generation);
  std::unique_ptr<Buffer> TakeBuffer(const TWaveHeader* header);

  bool open_ = false;
  std::unique_ptr<TWaveOutDevice> device_;
  TWaveFormat format_;
  int heldBack_ = 0;
  unsigned generation_ = 0;  // counts Opens, so that a report of an earlier opening is dropped
  std::vector<std::unique_ptr<Buffer>> headers_;
  std::vector<Buffer*> pending_;
};

}  // namespace zabko
