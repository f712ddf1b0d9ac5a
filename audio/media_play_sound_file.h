// The media-player engine: sound files borrow hidden media-player controls from a process-wide
// pool whose entries are "Empty" or "Occupied"; a returned control is kept for reuse only while
// the pool holds fewer than 4 entries.
#pragma once

#include "audio/sound_file.h"
#include "platform/media_player.h"

#include <QByteArray>

namespace zabko {

class TMediaPlaySoundFile : public TSoundFile {
 public:
  TMediaPlaySoundFile(QByteArray path, bool deleteAfterUse);
  ~TMediaPlaySoundFile() override;

  TMediaPlayer* Player() const { return player_; }

 protected:
  void Open() override;
  void Close() override;
  void Play() override;

 private:
  TMediaPlayer* player_ = nullptr;
};

// Frees every free control of the pool, from the last entry to the first, then the pool. Controls
// that sound files still hold are stopped and freed as each file returns its own.
void FreeMediaPlayerPool();
// The pool's items in order ("Empty" or "Occupied"), for tests and diagnostics.
QList<QByteArray> MediaPlayerPoolItems();

}  // namespace zabko
