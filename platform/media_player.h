// A stand-in for the class library's hidden media-player control: a file name, then open the
// device, play, stop and close it. Failures raise zabko::Exception.
#pragma once

#include "platform/media_clip.h"

#include <QByteArray>

#include <memory>

namespace zabko {

class TMediaPlayer {
 public:
  QByteArray FileName;

  // Opens the file named by FileName (closing one opened before).
  void Open();
  // Plays the open file from the start; raises "Media device not open" when none is open.
  void Play();
  void Stop();
  void Close() { clip_.reset(); }
  bool IsOpen() const { return clip_ != nullptr; }

 private:
  std::unique_ptr<TMediaClip> clip_;
};

}  // namespace zabko
