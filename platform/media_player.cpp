#include "platform/media_player.h"

#include "platform/exception.h"

namespace zabko {

void TMediaPlayer::Open() {
  clip_.reset();
  clip_ = OpenMediaClip(FileName);
}

void TMediaPlayer::Play() {
  if (!clip_) throw Exception("Media device not open");
  clip_->Play();
}

void TMediaPlayer::Stop() {
  if (clip_) clip_->Stop();
}

}  // namespace zabko
