#include "audio/media_play_sound_file.h"

#include "audio/mpg123_sound_file.h"

#include <QList>

#include <memory>
#include <utility>
#include <vector>

namespace zabko {

namespace {

struct PoolEntry {
  QByteArray item;  // "Empty" or "Occupied"
  std::unique_ptr<TMediaPlayer> player;
};

constexpr int kPoolKeep = 4;

std::unique_ptr<std::vector<PoolEntry>>& Pool() {
  static std::unique_ptr<std::vector<PoolEntry>> pool;
  return pool;
}

TMediaPlayer* TakePlayer() {
  auto& pool = Pool();
  if (!pool) pool = std::make_unique<std::vector<PoolEntry>>();
  for (PoolEntry& entry : *pool) {
    if (entry.item == "Empty") {
      entry.item = "Occupied";
      return entry.player.get();
    }
  }
  pool->push_back({"Occupied", std::make_unique<TMediaPlayer>()});
  return pool->back().player.get();
}

void ReturnPlayer(TMediaPlayer* player) {
  auto& pool = Pool();
  if (!pool) return;
  for (auto it = pool->begin(); it != pool->end(); ++it) {
    if (it->player.get() != player) continue;
    if (static_cast<int>(pool->size()) < kPoolKeep) {
      it->item = "Empty";
    } else {
      pool->erase(it);
    }
    return;
  }
}

}  // namespace

TMediaPlaySoundFile::TMediaPlaySoundFile(QByteArray path, bool deleteAfterUse)
    : TSoundFile(std::move(path), deleteAfterUse) {
  InstallMediaClips();
}

TMediaPlaySoundFile::~TMediaPlaySoundFile() { CloseFile(); }

void TMediaPlaySoundFile::Open() { player_ = TakePlayer(); }

void TMediaPlaySoundFile::Play() {
  player_->FileName = Path();
  player_->Open();
  player_->Play();
}

void TMediaPlaySoundFile::Close() {
  TMediaPlayer* player = std::exchange(player_, nullptr);
  player->Stop();
  player->Close();  // the file is let go; the control alone goes back to the pool
  ReturnPlayer(player);
}

void FreeMediaPlayerPool() {
  auto& pool = Pool();
  if (!pool) return;
  while (!pool->empty()) pool->pop_back();
  pool.reset();
}

QList<QByteArray> MediaPlayerPoolItems() {
  QList<QByteArray> items;
  if (Pool()) {
    for (const PoolEntry& entry : *Pool()) items.append(entry.item);
  }
  return items;
}

}  // namespace zabko
