// A sound file opened by the stand-ins of the system's media services (the command-string
// interface, the filter graph and the media-player control). They play through the program's own
// decoder and wave output, which the audio layer installs here with SetMediaClipOpener.
#pragma once

#include <QByteArray>

#include <functional>
#include <memory>

namespace zabko {

class TMediaClip {
 public:
  virtual ~TMediaClip() = default;
  // Plays from the start (a play still sounding goes on beside it).
  virtual void Play() = 0;
  // Stops every play of the clip.
  virtual void Stop() = 0;
  virtual bool IsPlaying() = 0;
};

// Opens a sound file for playing; raises zabko::Exception when it cannot.
using TMediaClipOpener = std::function<std::unique_ptr<TMediaClip>(const QByteArray& path)>;

void SetMediaClipOpener(TMediaClipOpener opener);
bool HasMediaClipOpener();
// Raises "No media playback installed" when no opener is set, or the opener's error.
std::unique_ptr<TMediaClip> OpenMediaClip(const QByteArray& path);

}  // namespace zabko
