#include "platform/wave_out.h"

#include "platform/gui_dispatcher.h"

#include <utility>

namespace zabko {

// What a report on its way to the GUI thread needs; shared with the posted calls so that a report
// arriving after Close or after the device is gone is dropped.
struct TWaveOutDevice::Reports {
  TWaveDoneCallback done;
  bool open = true;
};

TWaveOutDevice::TWaveOutDevice(TWaveDoneCallback done) : reports_(std::make_shared<Reports>()) {
  reports_->done = std::move(done);
}

TWaveOutDevice::~TWaveOutDevice() { reports_->open = false; }

int TWaveOutDevice::PrepareHeader(TWaveHeader* header) {
  if (header == nullptr) return wave_result::kInvalidParam;
  header->Flags |= kWaveHeaderPrepared;
  return wave_result::kNoError;
}

int TWaveOutDevice::UnprepareHeader(TWaveHeader* header) {
  if (header == nullptr) return wave_result::kInvalidParam;
  if (header->Flags & kWaveHeaderInQueue) return wave_result::kStillPlaying;
  header->Flags &= ~kWaveHeaderPrepared;
  return wave_result::kNoError;
}

int TWaveOutDevice::Write(TWaveHeader* header) {
  if (header == nullptr) return wave_result::kInvalidParam;
  if (shutDown_) return wave_result::kInvalidHandle;
  if (!(header->Flags & kWaveHeaderPrepared)) return wave_result::kUnprepared;
  if (header->Flags & kWaveHeaderInQueue) return wave_result::kStillPlaying;
  header->Flags = (header->Flags & ~kWaveHeaderDone) | kWaveHeaderInQueue;
  const int result = Enqueue(header);
  if (result != wave_result::kNoError) header->Flags &= ~kWaveHeaderInQueue;
  return result;
}

int TWaveOutDevice::Close() {
  reports_->open = false;
  ShutdownOnce();
  return wave_result::kNoError;
}

void TWaveOutDevice::ShutdownOnce() {
  if (shutDown_) return;
  shutDown_ = true;
  Shutdown();
}

void TWaveOutDevice::ReportDone(TWaveHeader* header) {
  std::weak_ptr<Reports> weak = reports_;
  PostToGuiThread([weak, header] {
    const std::shared_ptr<Reports> reports = weak.lock();
    if (!reports || !reports->open) return;
    header->Flags = (header->Flags & ~kWaveHeaderInQueue) | kWaveHeaderDone;
    if (reports->done) reports->done(header);
  });
}

namespace {

TWaveOutOpener& CurrentOpener() {
  static TWaveOutOpener opener;
  return opener;
}

}  // namespace

int WaveOutOpen(std::unique_ptr<TWaveOutDevice>& device, unsigned deviceId, const TWaveFormat& format,
                TWaveDoneCallback done) {
  device.reset();
  const TWaveOutOpener& opener = CurrentOpener();
  if (opener) return opener(device, deviceId, format, std::move(done));
  return AlsaWaveOutOpen(device, deviceId, format, std::move(done));
}

TWaveOutOpener SetWaveOutOpener(TWaveOutOpener opener) {
  return std::exchange(CurrentOpener(), std::move(opener));
}

void PostToGuiThread(std::function<void()> call) { TGuiDispatcher::Post(std::move(call)); }

}  // namespace zabko
