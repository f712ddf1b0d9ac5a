// PCM playback per play: a TACMWrapper is one wave output for one PCM format with counts of the
// buffers written and finished; the process-wide TACMManager owns the wrappers and frees those
// that are released and idle.
#pragma once

#include "audio/acm_out.h"
#include "platform/stream.h"

#include <memory>
#include <vector>

namespace zabko {

// 16-bit PCM with the given rate and channel count.
TWaveFormat PcmFormat(int sampleRate, int channels);

class TACMWrapper {
 public:
  // The device opens with a block written and closes once everything written has played, so
  // that a wrapper holds a device only while it sounds.
  TACMWrapper(int sampleRate, int channels);
  ~TACMWrapper();
  TACMWrapper(const TACMWrapper&) = delete;
  TACMWrapper& operator=(const TACMWrapper&) = delete;

  // Plays the whole stream content as one block. Only a block actually queued is counted, so
  // an empty stream or a failed write never leaves the wrapper busy.
  void Write(TMemoryStream& stream);
  bool IsIdle() const { return FinishedCount >= WrittenCount; }
  void Release() { Locked = false; }
  // A new wrapper of the same format from the manager; this one is released.
  TACMWrapper* Replace();
  // Stops what is playing and closes the device; the wrapper is idle afterwards.
  void Stop();

  int SampleRate() const { return sampleRate_; }
  int Channels() const { return channels_; }
  TACMOut& Out() { return *out_; }

  int WrittenCount = 0;
  int FinishedCount = 0;
  bool Locked = false;

 private:
  void OnBufferDone(TACMOut* sender, TWaveHeader* header);

  std::unique_ptr<TACMOut> out_;
  int sampleRate_;
  int channels_;
};

class TACMManager {
 public:
  TACMManager() = default;
  ~TACMManager();
  TACMManager(const TACMManager&) = delete;
  TACMManager& operator=(const TACMManager&) = delete;

  // Reaps, then creates, keeps and returns a new locked wrapper.
  TACMWrapper* Get(int sampleRate, int channels);
  // Frees every wrapper that is released and idle, from the last to the first.
  void Reap();
  // Stops every wrapper, closing its device.
  void StopAll();
  int Count() const { return static_cast<int>(wrappers_.size()); }

 private:
  std::vector<std::unique_ptr<TACMWrapper>> wrappers_;
};

// The process-wide manager, created on first use.
TACMManager& GetACMManager();
// Frees the manager and every wrapper no sound file holds; held ones are stopped and stay.
void FreeACMManager();

}  // namespace zabko
