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

// Set while the pool, freed at shutdown, still holds controls of live sound files: each is freed
// when its file returns it, and the pool goes with the last one.
bool g_freeing = false;

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
    if (!g_freeing && static_cast<int>(pool->size()) < kPoolKeep) {
      it->item = "Empty";
    } else {
      pool->erase(it);
    }
    if (g_freeing && pool->empty()) {
      pool.reset();
      g_freeing = false;
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
  // Controls that a cached sound file still holds stay (stopped) until the file returns them;
  // freeing them here would leave the file holding freed memory.
  for (auto it = pool->end(); it != pool->begin();) {
    --it;
    if (it->item == "Occupied") {
      it->player->Stop();
    } else {
      it = pool->erase(it);
    }
  }
  if (pool->empty()) {
    pool.reset();
    g_freeing = false;
  } else {
    g_freeing = true;
  }
}

QList<QByteArray> MediaPlayerPoolItems() {
  QList<QByteArray> items;
  if (Pool()) {
    for (const PoolEntry& entry : *Pool()) items.append(entry.item);
  }
  return items;
}

}  // namespace zabko
