#include "game/play/shoot_game.h"

#include "audio/res_player.h"
#include "core/exception_log.h"
#include "game/play/sprite.h"
#include "platform/exception.h"

#include <algorithm>

namespace zabko {

namespace {

struct TSheet {
  const char* prefix;
  quint8 kind;
  int frames;
  int delay;
  TColor transparent;
  int width;
  int height;
};

// The animal sheets, then the explosion, which is always last.
constexpr TSheet kSheets[] = {
    {"Sprites\\bating", skDirected, 12, 3, 0x29425E, 128, 128},
    {"Sprites\\cowking", skDirected, 8, 4, 0x334F6F, 96, 96},
    {"Sprites\\ball fish", skDirected, 8, 3, 0x2B4461, 64, 80},
    {"Sprites\\mousing", skDirected, 8, 3, 0x29425E, 96, 96},
    {"Sprites\\croing", skDirected, 16, 2, 0x2E8031, 64, 64},
    {"Sprites\\trexing", skDirected, 8, 3, 0x2B4461, 128, 128},
    {"Sprites\\brding", skDirected, 12, 3, 0x808080, 128, 128},
    {"Sprites\\blowup ", skOneSet, 4, 3, 0x000000, 61, 63},
};

}  // namespace

TShootGame::TShootGame(const QByteArray& name, TDataFileCallback dataFile, TResManager* resManager,
                       int areaHeight, int areaWidth)
    : TGameManagment(name, std::move(dataFile), resManager, areaHeight, areaWidth) {}

void TShootGame::LoadSprites(TResManager* resManager) {
  if (!resManager) return;
  for (const TSheet& s : kSheets)
    ExplosionSheet = AddSprite(std::make_unique<TSprite>(s.prefix, s.kind, s.delay, s.transparent, s.height,
                                                         s.width, *resManager, s.frames));
}

int TShootGame::RandomIndex(int count) const { return DrawRandomIndex(Random, count); }

void TShootGame::SpawnRandom(int sheet) {
  if (SpriteCount() < 2) return;  // no sheets were loaded
  if (sheet == -1) sheet = RandomIndex(SpriteCount() - 1);
  const int x = RandomIndex(AreaWidth());
  const int y = RandomIndex(AreaHeight());
  const auto direction = static_cast<quint8>(RandomIndex(kDirectionCount));
  const int dx = 1 + RandomIndex(3);
  const int dy = 1 + RandomIndex(3);
  AddCharacter(std::make_unique<TCharacter>(x, Sprite(sheet), direction, dy, dx, y));
}

bool TShootGame::IsExploding(const TCharacter* character) const {
  return std::find(Dying.begin(), Dying.end(), character) != Dying.end();
}

void TShootGame::Explode(int index) {
  const TCharacter* old = Character(index);
  auto explosion = std::make_unique<TCharacter>(old->X, Sprite(ExplosionSheet), old->Direction, old->Dy, old->Dx,
                                                old->Y);
  Dying.push_back(explosion.get());
  ReplaceCharacter(index, std::move(explosion));
}

void TShootGame::RemoveFinishedExplosions() {
  int removed = 0;
  for (int i = static_cast<int>(Dying.size()) - 1; i >= 0; --i) {
    TCharacter* c = Dying[static_cast<size_t>(i)];
    if (!c->IsLastFrame()) continue;
    Dying.erase(Dying.begin() + i);
    RemoveCharacter(IndexOfCharacter(c));
    ++removed;
  }
  if (removed > 0) Respawn(removed);
}

void TShootGame::Reload(int rounds) {
  if (RoundsLeft >= 0) PlaySound("reload.mp3");
  RoundsLeft = rounds;
  EmptyShots = 0;
}

void TShootGame::EmptyShot() {
  EmptyShots = (EmptyShots + 1) % 9;
  switch (EmptyShots) {
    case 8: PlaySound("empty_magazine_Mooo.mp3"); break;
    case 4: PlaySound("empty_magazine_boing.mp3"); break;
    case 2: PlaySound("empty_magazine_dog.mp3"); break;
    default: PlaySound("empty_magazine.mp3"); break;
  }
}

void TShootGame::SetPlayer(TResPlayer* player) {
  if (!player) {
    SoundOutput = {};
    return;
  }
  SoundOutput = [player](const QByteArray& name) { player->PlayFile(name); };
}

void TShootGame::PlaySound(const QByteArray& name) {
  if (!SoundOn() || !SoundOutput) return;
  try {
    SoundOutput(name);
  } catch (const std::exception& e) {
    // No device or a missing sound: the game goes on without it.
    LogLine("Sound " + name + " cannot play: " + e.what());
  }
}

void TShootGame::SpawnInitial() {
  for (int i = 0; i < kInitialCharacters; ++i) SpawnRandom(-1);
}

void TShootGame::Respawn(int count) {
  for (int i = 0; i < count; ++i) SpawnRandom(-1);
}

void TShootGame::OnTimeout() {
  TGameManagment::OnTimeout();
  for (int i = 0; i < CharacterCount(); ++i)
    if (!IsExploding(Character(i))) Explode(i);
}

void TShootGame::OnHit(int index) {
  TGameManagment::OnHit(index);
  Explode(index);
}

void TShootGame::OnMiss(int x, int y) {
  TGameManagment::OnMiss(x, y);
  SetScore(Score() - 1);
  ++MissCount;
  PlaySound("357mag.mp3");
}

QRect TShootGame::GetCharacterRect(int index) const {
  if (IsExploding(Character(index))) return QRect();  // holds no point
  return TGameManagment::GetCharacterRect(index);
}

void TShootGame::Init() {
  TGameManagment::Init();
  SpawnInitial();
}

void TShootGame::Reset() {
  TGameManagment::Reset();
  Dying.clear();
}

void TShootGame::Tick() {
  TGameManagment::Tick();
  RemoveFinishedExplosions();
}

void TShootGame::Shoot(int x, int y) {
  if (RoundsLeft <= 0) {
    EmptyShot();
    return;
  }
  --RoundsLeft;
  TGameManagment::Shoot(x, y);
}

}  // namespace zabko
