#include "game/play/shoot_game.h"

#include "audio/res_player.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"
#include "tests/game/question_fixture.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

class ShootGameTest : public test::ShootGameFixture {
 protected:
  void SetUp() override {
    ShootGameFixture::SetUp();
    game_ = TGameManagment::MakeGame<TShootGame>("", [](const QString& n) { return n; }, &res_.Manager(), kHeight,
                                                 kWidth);
    Prepare(*game_);
  }

  // One still character of sheet 0 at (X, Y).
  void AddStill(int x, int y) {
    game_->AddCharacter(std::make_unique<TCharacter>(x, game_->Sprite(0), dirE, 0, 0, y));
  }

  std::unique_ptr<TShootGame> game_;
};

TEST_F(ShootGameTest, LoadsTheAnimalSheetsThenTheExplosion) {
  const struct {
    const char* prefix;
    int frames, delay;
    TColor transparent;
    int width, height;
  } sheets[] = {
      {"Sprites\\bating", 12, 3, 0x29425E, 128, 128},  {"Sprites\\cowking", 8, 4, 0x334F6F, 96, 96},
      {"Sprites\\ball fish", 8, 3, 0x2B4461, 64, 80},  {"Sprites\\mousing", 8, 3, 0x29425E, 96, 96},
      {"Sprites\\croing", 16, 2, 0x2E8031, 64, 64},    {"Sprites\\trexing", 8, 3, 0x2B4461, 128, 128},
      {"Sprites\\brding", 12, 3, 0x808080, 128, 128},  {"Sprites\\blowup ", 4, 3, 0x000000, 61, 63},
  };
  ASSERT_EQ(game_->SpriteCount(), 8);
  for (int i = 0; i < 8; ++i) {
    const TSprite& s = *game_->Sprite(i);
    SCOPED_TRACE(sheets[i].prefix);
    EXPECT_EQ(s.Prefix(), sheets[i].prefix);
    EXPECT_EQ(s.Kind(), i < 7 ? skDirected : skOneSet);
    EXPECT_EQ(s.FramesPerSet(), sheets[i].frames);
    EXPECT_EQ(s.FrameDelay(), sheets[i].delay);
    EXPECT_EQ(s.TransparentColor(), sheets[i].transparent);
    EXPECT_EQ(s.Width(), sheets[i].width);
    EXPECT_EQ(s.Height(), sheets[i].height);
    EXPECT_EQ(s.ImageCount(), sheets[i].frames * (i < 7 ? 8 : 1));
  }
  EXPECT_EQ(game_->ExplosionSheet, 7);
  EXPECT_EQ(game_->RoundsLeft, -1);
  EXPECT_EQ(game_->CorrectCount, 0);
  EXPECT_EQ(game_->MissCount, 0);
}

TEST_F(ShootGameTest, RandomCharactersNeverOfTheExplosion) {
  // Sheet, x, y, direction, dx - 1, dy - 1.
  random_.script = {5, 300, 40, 7, 2, 0};
  game_->SpawnRandom(-1);
  EXPECT_EQ(random_.counts, (std::vector<int>{7, kWidth, kHeight, 8, 3, 3}));
  ASSERT_EQ(game_->CharacterCount(), 1);
  const TCharacter& c = *game_->Character(0);
  EXPECT_EQ(c.Sprite, game_->Sprite(5));
  EXPECT_EQ(c.X, 300);
  EXPECT_EQ(c.Y, 40);
  EXPECT_EQ(c.Direction, dirNE);
  EXPECT_EQ(c.Dx, 3);
  EXPECT_EQ(c.Dy, 1);

  random_.counts.clear();
  game_->SpawnRandom(2);
  EXPECT_EQ(random_.counts.size(), 5u) << "a given sheet is not drawn";
  EXPECT_EQ(game_->Character(1)->Sprite, game_->Sprite(2));

  game_->SetScore(30);
  game_->Init();
  EXPECT_EQ(game_->Score(), 0);
  EXPECT_EQ(game_->CharacterCount(), 2 + 15);
}

TEST_F(ShootGameTest, TheMagazine) {
  AddStill(300, 200);
  game_->Reload(6);
  EXPECT_TRUE(sounds_.isEmpty()) << "the first reload of a game is silent";
  game_->SetScore(3);
  for (int i = 0; i < 6; ++i) game_->Shoot(10, 10);
  EXPECT_EQ(sounds_, QStringList(6, "357mag.mp3"));
  EXPECT_EQ(game_->Score(), 0) << "a miss costs one, never below 0";
  EXPECT_EQ(game_->MissCount, 6);
  EXPECT_EQ(game_->RoundsLeft, 0);

  sounds_.clear();
  for (int i = 0; i < 9; ++i) game_->Shoot(300, 200);
  EXPECT_EQ(sounds_, QStringList({"empty_magazine.mp3", "empty_magazine_dog.mp3", "empty_magazine.mp3",
                                  "empty_magazine_boing.mp3", "empty_magazine.mp3", "empty_magazine.mp3",
                                  "empty_magazine.mp3", "empty_magazine_Mooo.mp3", "empty_magazine.mp3"}));
  EXPECT_TRUE(game_->Dying.empty()) << "an empty magazine hits nothing";
  EXPECT_EQ(game_->MissCount, 6);

  sounds_.clear();
  game_->Shoot(300, 200);
  game_->Reload(6);
  EXPECT_EQ(sounds_, QStringList({"empty_magazine.mp3", "reload.mp3"})) << "nine clicks make a round";
  EXPECT_EQ(game_->EmptyShots, 0);
  game_->Shoot(300, 200);
  EXPECT_EQ(game_->RoundsLeft, 5);
  EXPECT_EQ(game_->Dying.size(), 1u);

  sounds_.clear();
  game_->SetSoundOn(false);
  game_->Shoot(10, 10);
  game_->Reload(6);
  EXPECT_TRUE(sounds_.isEmpty()) << "sound off";
}

TEST_F(ShootGameTest, HitCharactersExplodeWhereTheyAreAndAreReplaced) {
  game_->Reload(6);
  game_->AddCharacter(std::make_unique<TCharacter>(300, game_->Sprite(1), dirSW, 1, 2, 200));
  AddStill(100, 100);
  game_->Shoot(300, 200);
  ASSERT_EQ(game_->CharacterCount(), 2);
  const TCharacter* boom = game_->Character(0);
  EXPECT_EQ(boom->Sprite, game_->Sprite(7));
  EXPECT_EQ(boom->X, 300);
  EXPECT_EQ(boom->Y, 200);
  EXPECT_EQ(boom->Direction, dirSW);
  EXPECT_EQ(boom->Dx, 2);
  EXPECT_EQ(boom->Dy, 1);
  EXPECT_TRUE(game_->IsExploding(boom));
  EXPECT_TRUE(game_->GetCharacterRect(0).isEmpty());
  EXPECT_EQ(game_->HitTest(300, 200), -1) << "an explosion cannot be hit";
  game_->Shoot(300, 200);
  EXPECT_EQ(game_->MissCount, 1) << "a shot at an explosion is a miss";

  // The explosion drifts on: 4 frames of 3 ticks, gone at the eleventh, and a new character comes.
  random_.script = {3};
  for (int tick = 1; tick <= 10; ++tick) game_->Tick();
  EXPECT_EQ(game_->Character(0), boom);
  EXPECT_EQ(boom->X, 300 - 2 * 10);
  game_->Tick();
  EXPECT_TRUE(game_->Dying.empty());
  ASSERT_EQ(game_->CharacterCount(), 2) << "as many characters as before";
  EXPECT_EQ(game_->Character(0)->X, 100);
  EXPECT_EQ(game_->Character(1)->Sprite, game_->Sprite(3));
}

TEST_F(ShootGameTest, TheTimeOutExplodesEveryCharacterOnce) {
  AddStill(100, 100);
  AddStill(300, 100);
  game_->Reload(6);
  game_->Shoot(100, 100);
  TCharacter* first = game_->Character(0);
  game_->TimeOut = 10000;
  game_->SetElapsed(0);
  clock_.now += 10000;
  game_->Tick();
  EXPECT_EQ(game_->Dying.size(), 2u);
  EXPECT_EQ(game_->Character(0), first) << "an explosion already running goes on";
  EXPECT_EQ(game_->Character(1)->Sprite, game_->Sprite(7));
  game_->Reset();
  EXPECT_TRUE(game_->Dying.empty());
}

TEST_F(ShootGameTest, ASoundThatCannotPlayIsLoggedAndTheGameGoesOn) {
  game_->SoundOutput = [](const QByteArray& name) { throw Exception("File not found in DB: " + QString(name)); };
  AddStill(300, 200);
  game_->Reload(6);
  game_->Shoot(10, 10);
  EXPECT_EQ(game_->MissCount, 1);

  // The real player over a sound database without the sound.
  test::TMemoryResources sounds;
  sounds.writer.AddData("other.mp3", "x");
  TResPlayer player(&sounds.Manager(), 0x7FFFFFFF, 5);
  game_->SetPlayer(&player);
  game_->Shoot(10, 10);
  EXPECT_EQ(game_->MissCount, 2);
}

}  // namespace
}  // namespace zabko
