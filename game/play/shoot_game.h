// The generic shooting layer of the game: the animal sheets and the explosion, a play area full
// of randomly moving characters, the magazine with its shot, reload and empty-magazine sounds,
// hit characters turned into explosions that keep drifting, and finished explosions replaced by
// new characters.
#pragma once

#include "core/word.h"
#include "game/play/game_managment.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace zabko {

class TResPlayer;

class TShootGame : public TGameManagment {
 public:
  // Plays one named sound of "Sounds.dat".
  using TSoundOutput = std::function<void(const QByteArray& name)>;

  static constexpr int kInitialCharacters = 15;

  // Made with TGameManagment::MakeGame, which loads the sheets.
  TShootGame(const QByteArray& name, TDataFileCallback dataFile, TResManager* resManager, int areaHeight,
             int areaWidth);

  // The sheet that a random spawn draws from: 0 to the sheet count - 2 (never the explosion).
  void SpawnRandom(int sheet = -1);
  // The character at Index becomes an explosion with its position, speeds and direction.
  void Explode(int index);
  void RemoveFinishedExplosions();
  void Reload(int rounds);
  void EmptyShot();
  // Plays through the sound output while sound is on; a sound that cannot play is logged.
  void PlaySound(const QByteArray& name);
  bool IsExploding(const TCharacter* character) const;

  // Sounds go through Player; tests put a recorder in Output.
  void SetPlayer(TResPlayer* player);
  TSoundOutput SoundOutput;

  virtual void SpawnInitial();
  virtual void Respawn(int count);

  // TGameManagment
  void LoadSprites(TResManager* resManager) override;
  void OnTimeout() override;
  void OnHit(int index) override;
  void OnMiss(int x, int y) override;
  QRect GetCharacterRect(int index) const override;
  void Init() override;
  void Reset() override;
  void Tick() override;
  void Shoot(int x, int y) override;

  int ExplosionSheet = -1;
  std::vector<TCharacter*> Dying;  // not owned: the model's characters that explode
  int RoundsLeft = -1;             // -1: never loaded
  int Lives = 0;
  int EmptyShots = 0;
  int CorrectCount = 0;
  int MissCount = 0;
  // Where the rules draw at random (positions, sheets, speeds, sounds); the global generator
  // when empty.
  TRandomIndex Random;

 protected:
  int RandomIndex(int count) const;
};

}  // namespace zabko
