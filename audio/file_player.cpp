#include "audio/file_player.h"

#include "audio/acm_wrapper.h"
#include "audio/dshow_sound_file.h"
#include "audio/mci_sound_file.h"
#include "audio/media_play_sound_file.h"
#include "audio/mpg123_sound_file.h"
#include "audio/mpg123_wrapper.h"
#include "platform/exception.h"

#include <algorithm>

namespace zabko {

SoundPlayType SoundPlayTypeFromOption(int option) {
  switch (option) {
    case 1:
      return 1;
    case 2:
      return 0;
    case 3:
      return 2;
    case 4:
      return 3;
    case 5:
      return 4;
    default:
      return 5;
  }
}

TFilePlayer::TFilePlayer(SoundPlayType type, int maxCount) : maxCount_(maxCount), type_(type) {}

TFilePlayer::~TFilePlayer() {
  while (!items_.empty()) EvictFirst();
}

std::vector<TFilePlayer::Entry>::iterator TFilePlayer::Find(const QByteArray& key, bool& found) {
  const auto it = std::lower_bound(items_.begin(), items_.end(), key, [](const Entry& entry, const QByteArray& k) {
    return qstricmp(entry.first.constData(), k.constData()) < 0;
  });
  found = it != items_.end() && qstricmp(it->first.constData(), key.constData()) == 0;
  return it;
}

void TFilePlayer::CacheSoundFile(const QByteArray& key) {
  std::unique_ptr<TSoundFile> file = CreateSoundFile(key);
  if (static_cast<int>(items_.size()) >= maxCount_ && !items_.empty()) EvictFirst();
  bool found = false;
  const auto it = Find(key, found);
  items_.insert(it, Entry(key, std::move(file)));
}

void TFilePlayer::PlayFile(const QByteArray& key) {
  bool found = false;
  auto it = Find(key, found);
  if (!found) {
    CacheSoundFile(key);
    it = Find(key, found);
  }
  try {
    it->second->PlayFile();
  } catch (...) {
    items_.erase(it);
    throw;
  }
}

std::unique_ptr<TSoundFile> TFilePlayer::NewSoundFile(const QByteArray& path, bool deleteAfterUse) {
  switch (type_) {
    case 0:
      return OpenSoundFile<TMCISoundFile>(path, deleteAfterUse);
    case 1:
      return OpenSoundFile<TDShowSoundFile>(path, deleteAfterUse, false);
    case 2:
      return OpenSoundFile<TDShowSoundFile>(path, deleteAfterUse, true);
    case 3:
      return OpenSoundFile<TMediaPlaySoundFile>(path, deleteAfterUse);
    case 5:
      return OpenSoundFile<TMPG123SoundFile>(path, deleteAfterUse);
    default:
      throw Exception("Invalid SoundPlayType");
  }
}

void TFilePlayer::EvictFirst() {
  if (!items_.empty()) items_.erase(items_.begin());
}

std::unique_ptr<TSoundFile> TFilePlayer::CreateSoundFile(const QByteArray& key) { return NewSoundFile(key, false); }

QList<QByteArray> TFilePlayer::Keys() const {
  QList<QByteArray> keys;
  for (const Entry& entry : items_) keys.append(entry.first);
  return keys;
}

TSoundFile* TFilePlayer::Cached(const QByteArray& key) const {
  bool found = false;
  const auto it = const_cast<TFilePlayer*>(this)->Find(key, found);
  return found ? it->second.get() : nullptr;
}

void ShutdownMedia() {
  ExitMpg123();
  FreeMediaPlayerPool();
  FreeACMManager();
}

}  // namespace zabko
