// The wave-output device: opened for one PCM format, it takes blocks of audio (wave headers),
// plays them in order and reports each finished block on the GUI thread. The real device plays
// through ALSA (alsa_wave_out.cpp); tests put a fake one in its place with SetWaveOutOpener.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>

namespace zabko {

// Result codes of the wave-output calls; 0 is success.
namespace wave_result {
inline constexpr int kNoError = 0;
inline constexpr int kBadDeviceId = 2;   // the device does not exist
inline constexpr int kAllocated = 4;     // the device is in use
inline constexpr int kInvalidHandle = 5;
inline constexpr int kNoDriver = 6;
inline constexpr int kNoMemory = 7;
inline constexpr int kInvalidFlag = 10;
inline constexpr int kInvalidParam = 11;
inline constexpr int kBadFormat = 32;
inline constexpr int kStillPlaying = 33;
inline constexpr int kNotPossible = 512;
inline constexpr int kUnprepared = 514;  // a header written without being prepared
}  // namespace wave_result

inline constexpr uint16_t kWaveFormatPcm = 1;
// The device number that lets the system pick a device for the format.
inline constexpr unsigned kWaveMapper = 0xFFFFFFFFu;

struct TWaveFormat {
  uint16_t FormatTag = kWaveFormatPcm;
  uint16_t Channels = 0;
  uint32_t SamplesPerSec = 0;
  uint32_t AvgBytesPerSec = 0;
  uint16_t BlockAlign = 0;
  uint16_t BitsPerSample = 0;
  QByteArray Extra;  // extra format bytes of non-PCM formats
};

// Header flags.
inline constexpr uint32_t kWaveHeaderDone = 0x01;
inline constexpr uint32_t kWaveHeaderPrepared = 0x02;
inline constexpr uint32_t kWaveHeaderInQueue = 0x10;

// One block of audio handed to the device. Its data must stay valid until it is reported done.
struct TWaveHeader {
  const char* Data = nullptr;
  uint32_t BufferLength = 0;
  uint32_t BytesRecorded = 0;
  uintptr_t User = 0;
  uint32_t Flags = 0;
  uint32_t Loops = 0;
};

// Called on the GUI thread for every block the device has finished with (played, or dropped by a
// reset).
using TWaveDoneCallback = std::function<void(TWaveHeader*)>;

// One open output device. All calls come from the GUI thread.
class TWaveOutDevice {
 public:
  explicit TWaveOutDevice(TWaveDoneCallback done);
  virtual ~TWaveOutDevice();
  TWaveOutDevice(const TWaveOutDevice&) = delete;
  TWaveOutDevice& operator=(const TWaveOutDevice&) = delete;

  int PrepareHeader(TWaveHeader* header);
  // Fails with kStillPlaying while the header is queued.
  int UnprepareHeader(TWaveHeader* header);
  // Queues a prepared header (kUnprepared otherwise).
  int Write(TWaveHeader* header);
  // Stops playing and reports every queued header done.
  virtual int Reset() = 0;
  // Closes the device; no report reaches the callback afterwards, even one already on its way.
  int Close();

 protected:
  // Queues a header that Write has checked and marked.
  virtual int Enqueue(TWaveHeader* header) = 0;
  // Releases the device; called once by Close or by the destructor of the derived class.
  virtual void Shutdown() = 0;
  // Reports a header done: may be called from any thread; the report runs on the GUI thread,
  // and only while the device is open.
  void ReportDone(TWaveHeader* header);
  // For derived destructors: Shutdown once when Close was not called.
  void ShutdownOnce();

 private:
  struct Reports;
  std::shared_ptr<Reports> reports_;
  bool shutDown_ = false;
};

// Opens a device for a format on a device number (kWaveMapper or 0); returns a result code and,
// on success, the device.
using TWaveOutOpener = std::function<int(std::unique_ptr<TWaveOutDevice>& device, unsigned deviceId,
                                         const TWaveFormat& format, TWaveDoneCallback done)>;

int WaveOutOpen(std::unique_ptr<TWaveOutDevice>& device, unsigned deviceId, const TWaveFormat& format,
                TWaveDoneCallback done);

// Replaces the opener (tests use fakes); an empty one restores ALSA. Returns the previous one.
TWaveOutOpener SetWaveOutOpener(TWaveOutOpener opener);

// The ALSA opener: device name from the environment variable ZABKO_ALSA_DEVICE, else "default".
int AlsaWaveOutOpen(std::unique_ptr<TWaveOutDevice>& device, unsigned deviceId, const TWaveFormat& format,
                    TWaveDoneCallback done);

// Runs a call later on the GUI thread, from its event loop (TGuiDispatcher::Post); an exception
// it raises goes to the application's exception handler.
void PostToGuiThread(std::function<void()> call);

}  // namespace zabko
