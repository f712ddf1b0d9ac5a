// The sound players: TFilePlayer plays sound files by key through the engine its SoundPlayType
// selects, keeping at most a maximum count of opened sound files; TResPlayer takes its sounds by
// name from the resource databases.
#pragma once

#include "audio/sound_file.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace zabko {

// The playback engine: 0 command strings, 1 filter graph, 2 filter graph with the MP3 decoder,
// 3 media-player pool, 5 libmpg123 to wave output; every other value has none.
using SoundPlayType = uint8_t;

// The engine of the setting "Settings"/"Audio" (default 6): 1 -> 1, 2 -> 0, 3 -> 2, 4 -> 3,
// 5 -> 4 (no engine), every other value -> 5.
SoundPlayType SoundPlayTypeFromOption(int option);

class TFilePlayer {
 public:
  TFilePlayer(SoundPlayType type, int maxCount);
  virtual ~TFilePlayer();
  TFilePlayer(const TFilePlayer&) = delete;
  TFilePlayer& operator=(const TFilePlayer&) = delete;

  // Plays the sound of a key, creating and caching its sound file when needed. When playing
  // fails, the entry leaves the cache (its temporary file with it) and the error is raised.
  void PlayFile(const QByteArray& key);
  // A sound file of the player's engine; "Invalid SoundPlayType" when it has none.
  std::unique_ptr<TSoundFile> NewSoundFile(const QByteArray& path, bool deleteAfterUse);

  // Frees the sound file of the first key in case-insensitive order.
  virtual void EvictFirst();
  // The sound file of a key: here the key is the file's path.
  virtual std::unique_ptr<TSoundFile> CreateSoundFile(const QByteArray& key);

  SoundPlayType Type() const { return type_; }
  int MaxCount() const { return maxCount_; }
  // The cached keys in their sorted order, and the sound file of one (none when not cached).
  QList<QByteArray> Keys() const;
  TSoundFile* Cached(const QByteArray& key) const;

 private:
  using Entry = std::pair<QByteArray, std::unique_ptr<TSoundFile>>;
  // The position of the key, or where it would go.
  std::vector<Entry>::iterator Find(const QByteArray& key, bool& found);
  void CacheSoundFile(const QByteArray& key);

  std::vector<Entry> items_;  // sorted by key without case; no two keys equal
  int maxCount_;
  SoundPlayType type_;
};

// Called once when the program ends: ends libmpg123, frees the media-player pool and the
// wave-output manager.
void ShutdownMedia();

}  // namespace zabko
