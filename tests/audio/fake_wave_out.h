// A wave-output device for tests: it keeps what is written and finishes buffers when the test
// says so. FakeWaveSystem puts itself in place of ALSA for its lifetime, and shuts the media
// layer down when it goes.
#pragma once

#include "audio/file_player.h"
#include "platform/wave_out.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

namespace zabko::test {

// Runs the GUI thread's posted calls (the finished-buffer reports).
inline void RunPostedCalls() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

struct FakeWaveSystem;

class FakeWaveOut : public TWaveOutDevice {
 public:
  FakeWaveOut(FakeWaveSystem* system, TWaveDoneCallback done) : TWaveOutDevice(std::move(done)), system_(system) {}
  ~FakeWaveOut() override;

  int Reset() override {
    while (!queued.empty()) CompleteNext();
    return 0;
  }
  // Reports the oldest queued buffer finished (the report runs from the event loop).
  void CompleteNext() {
    ReportDone(queued.front());
    queued.pop_front();
  }

  std::deque<TWaveHeader*> queued;

 protected:
  int Enqueue(TWaveHeader* header) override;
  void Shutdown() override {}

 private:
  FakeWaveSystem* system_;
};

struct FakeWaveSystem {
  FakeWaveSystem() {
    previous = SetWaveOutOpener([this](std::unique_ptr<TWaveOutDevice>& device, unsigned deviceId,
                                       const TWaveFormat& format, TWaveDoneCallback done) {
      deviceIds.push_back(deviceId);
      formats.push_back(format);
      lastCallback = done;
      if (openResult != 0) return openResult;
      ++opens;
      auto fake = std::make_unique<FakeWaveOut>(this, std::move(done));
      devices.push_back(fake.get());
      device = std::move(fake);
      return 0;
    });
  }
  // The wrappers that outlive a test hold fake devices: they go with the fake.
  ~FakeWaveSystem() {
    ShutdownMedia();
    SetWaveOutOpener(std::move(previous));
  }

  // Finishes every queued buffer of every open device and runs the reports.
  void CompleteAll() {
    for (FakeWaveOut* device : std::vector<FakeWaveOut*>(devices)) {
      while (!device->queued.empty()) device->CompleteNext();
    }
    RunPostedCalls();
  }
  int QueuedCount() const {
    int count = 0;
    for (const FakeWaveOut* device : devices) count += static_cast<int>(device->queued.size());
    return count;
  }

  int openResult = 0;   // result of the next opens
  int writeResult = 0;  // result of the next writes
  int opens = 0;
  std::vector<unsigned> deviceIds;
  std::vector<TWaveFormat> formats;
  std::vector<FakeWaveOut*> devices;  // open now
  QList<QByteArray> written;          // every block written, in order
  TWaveDoneCallback lastCallback;
  TWaveOutOpener previous;
};

inline FakeWaveOut::~FakeWaveOut() {
  auto& devices = system_->devices;
  devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
}

inline int FakeWaveOut::Enqueue(TWaveHeader* header) {
  if (system_->writeResult != 0) return system_->writeResult;
  queued.push_back(header);
  system_->written.append(QByteArray(header->Data, header->BufferLength));
  return 0;
}

}  // namespace zabko::test
