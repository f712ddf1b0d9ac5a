// The resource player: plays sounds named in the resource databases. Each sound entering the
// cache is copied to a temporary file, which lives exactly as long as its cache entry.
#pragma once

#include "audio/file_player.h"

namespace zabko {

class TResManager;

class TResPlayer : public TFilePlayer {
 public:
  // The manager is not owned.
  TResPlayer(TResManager* resManager, int maxCount, SoundPlayType type);

  // Extracts the named resource to a temporary file (".mp3" when the name has no extension)
  // and opens it; the temporary file is deleted again when the sound cannot be made.
  std::unique_ptr<TSoundFile> CreateSoundFile(const QByteArray& key) override;

  TResManager* ResManager() const { return resManager_; }

 private:
  TResManager* resManager_;
};

}  // namespace zabko
