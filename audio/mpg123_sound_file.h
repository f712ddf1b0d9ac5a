// The libmpg123 engine: a sound file decoded once into memory when it opens and played from
// there through a TACMWrapper of the wave-output manager. Also the playback behind the stand-ins
// of the other engines (InstallMediaClips).
#pragma once

#include "audio/acm_wrapper.h"
#include "audio/sound_file.h"
#include "platform/stream.h"

#include <memory>

namespace zabko {

class TMPG123SoundFile : public TSoundFile {
 public:
  using TSoundFile::TSoundFile;
  ~TMPG123SoundFile() override;

  // The wrapper that plays now (none while closed).
  TACMWrapper* Wrapper() const { return wrapper_; }
  TMemoryStream* Pcm() const { return pcm_.get(); }
  // Stops the play that sounds now.
  void StopPlaying();

 protected:
  // Decodes the whole file and takes a wrapper for its format (no device opens yet).
  void Open() override;
  void Close() override;
  // Plays from the start; a play still sounding goes on beside it on a device of its own.
  void Play() override;

 private:
  std::unique_ptr<TMemoryStream> pcm_;
  TACMWrapper* wrapper_ = nullptr;
};

// Lets the media stand-ins (command strings, filter graph, media-player control) play through
// libmpg123 and the wave output, unless another playback is installed already.
void InstallMediaClips();

}  // namespace zabko
