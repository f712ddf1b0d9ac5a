// The wave-output device over ALSA: one PCM handle and one writer thread per open device. The
// GUI thread queues headers; the writer thread feeds them to ALSA a period at a time, follows
// the device's delay to see which blocks have really been played, and reports those. Every ALSA
// call on a handle is made by its writer thread once the thread runs.
#include "platform/signal_stack.h"
#include "platform/wave_out.h"

#include <alsa/asoundlib.h>

#include <QByteArray>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <deque>
#include <mutex>
#include <thread>

namespace zabko {
namespace {

// ALSA prints its errors on stderr; the program reports its own.
void SilentAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&SilentAlsaErrors); });
}

// ALSA's error codes in the device's own terms.
int OpenErrorToResult(int error) {
  switch (-error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return wave_result::kBadDeviceId;
    case EBUSY:
    case EAGAIN:
      return wave_result::kAllocated;
    case ENOMEM:
      return wave_result::kNoMemory;
    default:
      return wave_result::kNoDriver;
  }
}

bool AlsaFormatOf(const TWaveFormat& format, snd_pcm_format_t& alsaFormat) {
  if (format.FormatTag != kWaveFormatPcm || format.Channels == 0 || format.SamplesPerSec == 0) return false;
  switch (format.BitsPerSample) {
    case 8:
      alsaFormat = SND_PCM_FORMAT_U8;
      break;
    case 16:
      alsaFormat = SND_PCM_FORMAT_S16_LE;
      break;
    case 24:
      alsaFormat = SND_PCM_FORMAT_S24_3LE;
      break;
    case 32:
      alsaFormat = SND_PCM_FORMAT_S32_LE;
      break;
    default:
      return false;
  }
  return format.BlockAlign == format.Channels * format.BitsPerSample / 8;
}

class TAlsaWaveOut final : public TWaveOutDevice {
 public:
  TAlsaWaveOut(snd_pcm_t* pcm, unsigned frameBytes, snd_pcm_uframes_t periodFrames, TWaveDoneCallback done)
      : TWaveOutDevice(std::move(done)), pcm_(pcm), frameBytes_(frameBytes), periodFrames_(periodFrames) {
    thread_ = std::thread([this] {
      InstallThreadSignalStack();
      Run();
    });
  }
  ~TAlsaWaveOut() override { ShutdownOnce(); }

  int Reset() override {
    std::unique_lock lock(mutex_);
    if (stop_) return wave_result::kInvalidHandle;
    const uint64_t wanted = ++resetRequests_;
    wake_.notify_all();
    resetDone_.wait(lock, [&] { return resetsDone_ >= wanted; });
    return wave_result::kNoError;
  }

 protected:
  int Enqueue(TWaveHeader* header) override {
    std::lock_guard lock(mutex_);
    queue_.push_back(header);
    wake_.notify_all();
    return wave_result::kNoError;
  }

  void Shutdown() override {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
      wake_.notify_all();
    }
    thread_.join();
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
  }

 private:
  struct Sent {
    TWaveHeader* header;
    uint64_t endFrame;  // the frame count written once this block was complete
  };

  void Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
      if (resetsDone_ < resetRequests_) {
        DropEverything();
        resetsDone_ = resetRequests_;
        resetDone_.notify_all();
        continue;
      }
      if (!queue_.empty()) {
        WriteSome(lock);
      } else if (!sent_.empty()) {
        StartIfPrepared();
        wake_.wait_for(lock, std::chrono::milliseconds(5));
      } else {
        wake_.wait(lock, [&] { return stop_ || !queue_.empty() || resetsDone_ < resetRequests_; });
      }
      ReportPlayed();
    }
  }

  // Writes up to one period of the first queued block.
  void WriteSome(std::unique_lock<std::mutex>& lock) {
    TWaveHeader* header = queue_.front();
    const uint64_t totalFrames = header->BufferLength / frameBytes_;
    if (offsetFrames_ >= totalFrames) {
      FinishFront();
      return;
    }
    const snd_pcm_uframes_t count = std::min<uint64_t>(periodFrames_, totalFrames - offsetFrames_);
    const char* data = header->Data + offsetFrames_ * frameBytes_;
    const uint64_t resetsBefore = resetRequests_;
    lock.unlock();
    snd_pcm_sframes_t written = snd_pcm_writei(pcm_, data, count);
    if (written < 0) written = snd_pcm_recover(pcm_, static_cast<int>(written), 1) == 0 ? 0 : written;
    lock.lock();
    if (resetRequests_ != resetsBefore) return;  // the block was dropped meanwhile
    if (written < 0) {
      // The device has failed: this block cannot be played; it is reported so that it is freed.
      offsetFrames_ = totalFrames;
    } else {
      offsetFrames_ += static_cast<uint64_t>(written);
      framesWritten_ += static_cast<uint64_t>(written);
    }
    if (offsetFrames_ >= totalFrames) FinishFront();
  }

  void FinishFront() {
    sent_.push_back({queue_.front(), framesWritten_});
    queue_.pop_front();
    offsetFrames_ = 0;
  }

  // A stream shorter than the start threshold is started by hand.
  void StartIfPrepared() {
    if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED && framesWritten_ > 0) snd_pcm_start(pcm_);
  }

  // Reports the blocks whose last frame the device has played.
  void ReportPlayed() {
    if (sent_.empty()) return;
    uint64_t played = framesWritten_;
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_delay(pcm_, &delay) == 0 && delay > 0) {
      played = framesWritten_ > static_cast<uint64_t>(delay) ? framesWritten_ - delay : 0;
    } else if (snd_pcm_state(pcm_) == SND_PCM_STATE_XRUN) {
      snd_pcm_prepare(pcm_);  // ran dry: everything written has been played
    }
    while (!sent_.empty() && sent_.front().endFrame <= played) {
      ReportDone(sent_.front().header);
      sent_.pop_front();
    }
  }

  void DropEverything() {
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
    for (const Sent& sent : sent_) ReportDone(sent.header);
    for (TWaveHeader* header : queue_) ReportDone(header);
    sent_.clear();
    queue_.clear();
    offsetFrames_ = 0;
    framesWritten_ = 0;
  }

  snd_pcm_t* pcm_;
  const unsigned frameBytes_;
  const snd_pcm_uframes_t periodFrames_;
  std::thread thread_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable resetDone_;
  bool stop_ = false;
  uint64_t resetRequests_ = 0;
  uint64_t resetsDone_ = 0;
  std::deque<TWaveHeader*> queue_;  // written by the program, not yet all given to ALSA
  std::deque<Sent> sent_;           // given to ALSA, not yet played
  uint64_t offsetFrames_ = 0;       // frames of queue_.front() already given to ALSA
  uint64_t framesWritten_ = 0;
};

}  // namespace

int AlsaWaveOutOpen(std::unique_ptr<TWaveOutDevice>& device, unsigned deviceId, const TWaveFormat& format,
                    TWaveDoneCallback done) {
  if (deviceId != kWaveMapper && deviceId != 0) return wave_result::kBadDeviceId;
  snd_pcm_format_t alsaFormat;
  if (!AlsaFormatOf(format, alsaFormat)) return wave_result::kBadFormat;
  SilenceAlsa();

  const QByteArray name = qEnvironmentVariableIsEmpty("ZABKO_ALSA_DEVICE")
                              ? QByteArray("default")
                              : qgetenv("ZABKO_ALSA_DEVICE");
  snd_pcm_t* pcm = nullptr;
  int error = snd_pcm_open(&pcm, name.constData(), SND_PCM_STREAM_PLAYBACK, 0);
  if (error < 0) return OpenErrorToResult(error);

  error = snd_pcm_set_params(pcm, alsaFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.Channels,
                             format.SamplesPerSec, 1, 100000);
  snd_pcm_uframes_t bufferFrames = 0;
  snd_pcm_uframes_t periodFrames = 0;
  if (error == 0) error = snd_pcm_get_params(pcm, &bufferFrames, &periodFrames);
  if (error < 0) {
    snd_pcm_close(pcm);
    return error == -ENOMEM ? wave_result::kNoMemory : wave_result::kBadFormat;
  }
  // Start as soon as a period is there, so short sounds play without waiting for a full buffer.
  snd_pcm_sw_params_t* sw = nullptr;
  snd_pcm_sw_params_alloca(&sw);
  if (snd_pcm_sw_params_current(pcm, sw) == 0) {
    snd_pcm_sw_params_set_start_threshold(pcm, sw, periodFrames);
    snd_pcm_sw_params(pcm, sw);
  }
  if (periodFrames == 0) periodFrames = 1024;
  device = std::make_unique<TAlsaWaveOut>(pcm, format.BlockAlign, periodFrames, std::move(done));
  return wave_result::kNoError;
}

}  // namespace zabko
