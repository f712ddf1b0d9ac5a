// A play-area scene from the demo graphics, saved as build/game_sample.png for a person to look
// at: a stage background, animals of every sheet in flight, an explosion and a stage picture.
#include "core/res_manager.h"
#include "game/play/game_managment.h"

#include "tests/game/game_fixture.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

namespace zabko {
namespace {

struct TSheetRow {
  const char* prefix;
  quint8 kind;
  int frames, delay, key, width, height;
};
const TSheetRow kSheets[] = {
    {"Sprites\\bating", skDirected, 12, 3, 0x29425E, 128, 128}, {"Sprites\\cowking", skDirected, 8, 4, 0x334F6F, 96, 96},
    {"Sprites\\ball fish", skDirected, 8, 3, 0x2B4461, 64, 80}, {"Sprites\\mousing", skDirected, 8, 3, 0x29425E, 96, 96},
    {"Sprites\\croing", skDirected, 16, 2, 0x2E8031, 64, 64},   {"Sprites\\trexing", skDirected, 8, 3, 0x2B4461, 128, 128},
    {"Sprites\\brding", skDirected, 12, 3, 0x808080, 128, 128}, {"Sprites\\blowup ", skOneSet, 4, 3, 0x000000, 61, 63},
};

class TSampleGame : public TGameManagment {
 public:
  using TGameManagment::TGameManagment;
  void LoadSprites(TResManager* res) override {
    for (const TSheetRow& s : kSheets) {
      AddSprite(std::make_unique<TSprite>(s.prefix, s.kind, s.delay, s.key, s.height, s.width, *res, s.frames));
    }
  }
};

TEST(GameSampleTest, AStageWithAnimalsAnExplosionAndAnOverlay) {
  TResManager res({QDir(ZABKO_DATA_OUT).filePath("Game/Graphics.dat")});
  test::TManualClock clock;
  auto game = TGameManagment::MakeGame<TSampleGame>("", nullptr, &res, 459, 670);
  game->TickCount = clock.Function();
  ASSERT_EQ(game->SpriteCount(), 8);

  const struct {
    int sheet, x, y;
    quint8 direction;
  } placed[] = {{0, 110, 120, dirE}, {1, 560, 360, dirW}, {2, 330, 90, dirSE}, {3, 200, 360, dirNE},
                {4, 470, 150, dirSW}, {5, 600, 140, dirNW}, {6, 90, 300, dirS}, {7, 400, 330, dirE}};
  for (const auto& p : placed) {
    game->AddCharacter(std::make_unique<TCharacter>(p.x, game->Sprite(p.sheet), p.direction, 1, 2, p.y));
  }
  for (int tick = 0; tick < 5; ++tick) game->MoveAll();  // frames in motion, the explosion grown
  ASSERT_TRUE(game->AddOverlay(std::make_unique<TShowBitmap>("Texts\\Stage1.bmp", kStageOverlay, 1000, res)));
  clock.now += 300;

  QImage background;
  res.LoadBitmap(background, "levels\\1.bmp");
  QImage buffer(670, 459, QImage::Format_RGB32);
  {
    QPainter p(&buffer);
    p.drawImage(0, 0, background);
    game->Draw(p);
  }
  EXPECT_TRUE(buffer.save(QDir(ZABKO_BUILD_DIR).filePath("game_sample.png")));
  EXPECT_EQ(game->OverlayCount(), 1) << "the stage picture shows for a second";

  // No key colour is left around an animal: the frame's corner shows the stage.
  const TCharacter* bat = game->Character(0);
  const QPoint corner(bat->X - 64, bat->Y - 64);
  EXPECT_EQ(buffer.pixel(corner), background.pixel(corner));
  EXPECT_NE(buffer.pixel(bat->X, bat->Y), background.pixel(bat->X, bat->Y)) << "the bat is drawn";
}

}  // namespace
}  // namespace zabko
