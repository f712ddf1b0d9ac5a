// A stand-in for the system's media filter graph, as far as the program uses it: a graph that
// renders a sound file by itself, or an MP3 decoder filter that loads a file and exposes its
// output pin "Raw Audio 0" for the graph to render; then seek, run, stop, state and completion.
// Results are HRESULT-style codes: 0 success, negative failure.
#pragma once

#include "platform/media_clip.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace zabko {

using HResult = int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kEPointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult kEUnexpected = static_cast<HResult>(0x8000FFFFu);
inline constexpr HResult kEClassNotRegistered = static_cast<HResult>(0x80040154u);
inline constexpr HResult kENotFound = static_cast<HResult>(0x80040216u);  // no such pin
inline constexpr HResult kECannotRender = static_cast<HResult>(0x80040218u);
inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr long kEventComplete = 1;
inline constexpr long kEventUserAbort = 2;

enum class TFilterState { Stopped, Paused, Running };

class TFilterGraph;

// The decoder filter's output pin.
class TPin {
 public:
  explicit TPin(class TMp3DecoderFilter* owner) : owner_(owner) {}
  TMp3DecoderFilter* Owner() const { return owner_; }

 private:
  TMp3DecoderFilter* owner_;
};

// The MP3 decoder filter: a file source whose output pin carries the decoded audio.
class TMp3DecoderFilter {
 public:
  TMp3DecoderFilter() : pin_(this) {}
  // Opens the file; fails when it cannot be played.
  HResult Load(const QString& path);
  // The pin "Raw Audio 0", once a file is loaded.
  HResult FindPin(const QString& id, TPin** pin);

 private:
  friend class TFilterGraph;
  std::unique_ptr<TMediaClip> clip_;
  TPin pin_;
  TFilterGraph* graph_ = nullptr;
};

// Creates the decoder filter; fails with kEClassNotRegistered while it is switched off.
HResult CreateMp3DecoderFilter(std::unique_ptr<TMp3DecoderFilter>& filter);
// Tests switch the decoder filter off to see the program do without it.
void SetMp3DecoderFilterAvailable(bool available);

class TFilterGraph {
 public:
  static HResult Create(std::unique_ptr<TFilterGraph>& graph);

  HResult RenderFile(const QString& path);
  HResult AddFilter(TMp3DecoderFilter* filter);
  HResult Render(TPin* pin);
  // Moves to an absolute position; only the start (0) is supported.
  HResult SetPositions(int64_t current);
  HResult Run();
  HResult Stop();
  // Running while the sound plays; stopped once it has played out or was stopped.
  HResult GetState(uint32_t timeout, TFilterState* state);
  // Waits, running the event loop, until the sound has played out or the graph is stopped.
  HResult WaitForCompletion(uint32_t timeout, long* eventCode);

 private:
  TMediaClip* clip_ = nullptr;          // the clip rendered, owned by clipOwned_ or a filter
  std::unique_ptr<TMediaClip> clipOwned_;
  TMp3DecoderFilter* filter_ = nullptr;
  bool running_ = false;
};

}  // namespace zabko
