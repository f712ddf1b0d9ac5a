#include "audio/acm_wrapper.h"

namespace zabko {

TWaveFormat PcmFormat(int sampleRate, int channels) {
  TWaveFormat format;
  format.FormatTag = kWaveFormatPcm;
  format.Channels = static_cast<uint16_t>(channels);
  format.SamplesPerSec = static_cast<uint32_t>(sampleRate);
  format.AvgBytesPerSec = static_cast<uint32_t>(sampleRate * channels * 2);
  format.BlockAlign = static_cast<uint16_t>(channels * 2);
  format.BitsPerSample = 16;
  return format;
}

TACMWrapper::TACMWrapper(int sampleRate, int channels)
    : out_(std::make_unique<TACMOut>()), sampleRate_(sampleRate), channels_(channels) {
  out_->NumBuffers = 0;
  out_->OnBufferDone = [this](TACMOut* sender, TWaveHeader* header) { OnBufferDone(sender, header); };
}

TACMWrapper::~TACMWrapper() { out_->ACMOutClose(); }

void TACMWrapper::OnBufferDone(TACMOut*, TWaveHeader*) {
  ++FinishedCount;
  // Played out: the device goes, so that sounds kept in a cache hold none between plays.
  if (IsIdle()) out_->ACMOutClose();
}

void TACMWrapper::Write(TMemoryStream& stream) {
  if (stream.Size() == 0) return;
  out_->Open(PcmFormat(sampleRate_, channels_));
  if (out_->PlayBuffer(stream.Memory(), stream.Size())) ++WrittenCount;
}

TACMWrapper* TACMWrapper::Replace() {
  TACMWrapper* fresh = GetACMManager().Get(sampleRate_, channels_);
  Release();
  return fresh;
}

void TACMWrapper::Stop() {
  out_->ACMOutClose();
  FinishedCount = WrittenCount;  // the reports of the dropped buffers never come
}

TACMManager::~TACMManager() {
  while (!wrappers_.empty()) wrappers_.pop_back();
}

TACMWrapper* TACMManager::Get(int sampleRate, int channels) {
  Reap();
  wrappers_.push_back(std::make_unique<TACMWrapper>(sampleRate, channels));
  TACMWrapper* wrapper = wrappers_.back().get();
  wrapper->Locked = true;
  return wrapper;
}

void TACMManager::Reap() {
  for (size_t i = wrappers_.size(); i-- > 0;) {
    if (wrappers_[i]->IsIdle() && !wrappers_[i]->Locked) wrappers_.erase(wrappers_.begin() + static_cast<long>(i));
  }
}

namespace {
std::unique_ptr<TACMManager>& ManagerSlot() {
  static std::unique_ptr<TACMManager> manager;
  return manager;
}
}  // namespace

TACMManager& GetACMManager() {
  std::unique_ptr<TACMManager>& slot = ManagerSlot();
  if (!slot) slot = std::make_unique<TACMManager>();
  return *slot;
}

void TACMManager::StopAll() {
  for (const auto& wrapper : wrappers_) wrapper->Stop();
}

void FreeACMManager() {
  // Wrappers still locked by a live sound file stay (stopped, their devices closed) until the
  // file releases them; freeing them here would leave the file holding freed memory.
  std::unique_ptr<TACMManager>& slot = ManagerSlot();
  if (!slot) return;
  slot->StopAll();
  slot->Reap();
  if (slot->Count() == 0) slot.reset();
}

}  // namespace zabko
