#include "audio/acm_out.h"

#include "platform/gui_dispatcher.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace zabko {

namespace {

const char* ErrorText(int code) {
  switch (code) {
    case 2:
      return " The specified resource does not exist.";
    case 4:
      return " The specified resource is already in use.";
    case 5:
      return " The specified handle is invalid.";
    case 6:
      return " A suitable driver is not available to provide valid format selections.";
    case 7:
      return " The system is unable to allocate resources.";
    case 10:
      return " At least one flag is invalid.";
    case 11:
      return " At least one parameter is invalid.";
    case 32:
      return " Unsupported audio format.";
    case 35:
      return " The specified device does not support asynchronous operation.";
    case 512:
      return " The requested operation cannot be performed.";
    case 513:
      return " The conversion stream is already in use.";
    case 514:
      return " Cannot perform this action on a header that has not been prepared.";
    default:
      return nullptr;
  }
}

}  // namespace

void TACMOut::RaiseError(const char* operation, int code) {
  if (code == 0) return;
  if (const char* text = ErrorText(code)) throw EACMOut(QString::fromLatin1(operation) + QString::fromLatin1(text));
  throw EACMOut(QStringLiteral("%1 raised an unknown error (code #%2)").arg(QString::fromLatin1(operation)).arg(code));
}

TACMOut::TACMOut(QObject* owner) : QObject(owner) {}

TACMOut::~TACMOut() {
  if (open_) ACMOutClose();
}

void TACMOut::Open(const TWaveFormat& format) {
  Q_ASSERT(TGuiDispatcher::IsGuiThread());
  if (open_) return;
  heldBack_ = NumBuffers;
  format_ = format;
  const unsigned generation = ++generation_;
  const bool pcm = format.FormatTag == kWaveFormatPcm;
  const int result = WaveOutOpen(device_, pcm ? kWaveMapper : 0, format_,
                                 [this, generation](TWaveHeader* header) { BufferDone(header, generation); });
  if (result != 0) {
    device_.reset();
    RaiseError("WaveOutOpen", result);
  }
  open_ = true;
}

bool TACMOut::PlayBuffer(const void* data, qint64 count) {
  Q_ASSERT(TGuiDispatcher::IsGuiThread());
  if (count <= 0 || !open_) return false;
  auto owned = std::make_unique<Buffer>();
  owned->data = QByteArray(static_cast<const char*>(data), count);
  owned->header.Data = owned->data.constData();
  owned->header.BufferLength = static_cast<uint32_t>(count);
  owned->header.Loops = 1;
  Buffer* buffer = owned.get();
  headers_.push_back(std::move(owned));

  if (heldBack_ > 0) {
    pending_.push_back(buffer);
    --heldBack_;
    return true;
  }
  // The held-back buffers go first, in order; a buffer whose write fails is freed, the ones
  // after it stay pending, and the new block is dropped.
  size_t written = 0;
  try {
    for (; written < pending_.size(); ++written) WriteHeader(pending_[written]);
    pending_.clear();
    WriteHeader(buffer);
  } catch (...) {
    if (written < pending_.size()) {
      TakeBuffer(&pending_[written]->header);
      pending_.erase(pending_.begin(), pending_.begin() + written + 1);
    }
    TakeBuffer(&buffer->header);
    throw;
  }
  return true;
}

void TACMOut::WriteHeader(Buffer* buffer) {
  RaiseError("WaveOut-PrepareHeader", device_->PrepareHeader(&buffer->header));
  const int result = device_->Write(&buffer->header);
  if (result != 0) {
    device_->UnprepareHeader(&buffer->header);
    RaiseError("WaveOut-Write", result);
  }
}

void TACMOut::ACMOutClose() {
  if (!open_) return;
  open_ = false;
  device_->Reset();
  device_->Close();
  pending_.clear();
  device_.reset();
  while (!headers_.empty()) headers_.pop_back();
}

std::unique_ptr<TACMOut::Buffer> TACMOut::TakeBuffer(const TWaveHeader* header) {
  const auto it = std::find_if(headers_.begin(), headers_.end(),
                               [header](const std::unique_ptr<Buffer>& b) { return &b->header == header; });
  if (it == headers_.end()) return nullptr;
  std::unique_ptr<Buffer> buffer = std::move(*it);
  headers_.erase(it);
  return buffer;
}

void TACMOut::BufferDone(TWaveHeader* header, unsigned generation) {
  // Reports that arrive after a close, or from an earlier opening, are ignored.
  if (!open_ || generation != generation_) return;
  // The buffer leaves the list first, so that it is freed even when the handler raises.
  std::unique_ptr<Buffer> buffer = TakeBuffer(header);
  if (!buffer) return;
  if (OnBufferDone) OnBufferDone(this, header);
  if (!open_) return;  // the handler closed the output, which freed the device
  RaiseError("WaveOut-UnprepareHeader", device_->UnprepareHeader(header));
}

}  // namespace zabko
