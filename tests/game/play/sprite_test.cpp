#include "game/play/sprite.h"

#include "tests/game/game_fixture.h"
#include "tests/common/test_util.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace zabko {
namespace {

constexpr int kKey = 0x29425E;  // red 0x5E, green 0x42, blue 0x29

TEST(SpriteTest, FrameNamesFollowTheDirectionSuffixesAndFourDigits) {
  EXPECT_EQ(TSprite::FrameName("Sprites\\bating", skDirected, dirSE, 3), "Sprites\\bating se0003.bmp");
  EXPECT_EQ(TSprite::FrameName("Sprites\\ball fish", skDirected, dirNW, 7), "Sprites\\ball fish nw0007.bmp");
  EXPECT_EQ(TSprite::FrameName("Sprites\\blowup ", skOneSet, dirNE, 0), "Sprites\\blowup 0000.bmp");
  EXPECT_EQ(TSprite::FrameName("Sprites\\croing", skDirected, dirE, 15), "Sprites\\croing e0015.bmp");
  const char* expected[] = {" e", " se", " s", " sw", " w", " nw", " n", " ne"};
  for (int d = 0; d < kDirectionCount; ++d) EXPECT_STREQ(DirectionSuffix(d), expected[d]);
}

TEST(SpriteTest, FramesLoadDirectionByDirectionWithTheKeyColourTransparent) {
  test::TMemoryResources res;
  // Two frames per direction; frame tag = 10 * direction + frame.
  for (int d = 0; d < kDirectionCount; ++d) {
    for (int f = 0; f < 2; ++f) {
      res.writer.AddImage(TSprite::FrameName("Sprites\\t", skDirected, d, f),
                          test::TaggedFrame(6, 4, 10 * d + f, test::RgbOf(kKey)), BitmapKind::RleBmp);
    }
  }
  // A colour one step from the key stays opaque: only exact matches are transparent.
  QImage nearKey = test::TaggedFrame(6, 4, 99, test::RgbOf(kKey));
  nearKey.setPixel(2, 2, test::RgbOf(kKey + 1));
  res.writer.AddImage("Sprites\\one 0000.bmp", nearKey, BitmapKind::RleBmp);

  TSprite sheet("Sprites\\t", skDirected, 3, kKey, 4, 6, res.Manager(), 2);
  ASSERT_EQ(sheet.ImageCount(), 16);
  for (int d = 0; d < kDirectionCount; ++d) {
    for (int f = 0; f < 2; ++f) {
      const QImage& image = sheet.Image(sheet.ImageIndex(d, f));
      EXPECT_EQ(image.size(), QSize(6, 4));
      EXPECT_EQ(qRed(image.pixel(1, 1)), 10 * d + f) << "direction " << d << " frame " << f;
      EXPECT_EQ(qAlpha(image.pixel(1, 1)), 255);
      EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the key colour's border is transparent";
      EXPECT_EQ(qAlpha(image.pixel(5, 3)), 0);
    }
  }
  TSprite single("Sprites\\one ", skOneSet, 1, kKey, 4, 6, res.Manager(), 1);
  ASSERT_EQ(single.ImageCount(), 1);
  EXPECT_EQ(single.ImageIndex(dirW, 0), 0) << "one set has no direction";
  EXPECT_EQ(qAlpha(single.Image(0).pixel(2, 2)), 255);
  EXPECT_EQ(qAlpha(single.Image(0).pixel(0, 2)), 0);

  EXPECT_EQ(test::MessageOf([&] { TSprite("Sprites\\t", skDirected, 3, kKey, 4, 6, res.Manager(), 3); }),
            "File not found in DB: Sprites\\t e0002.bmp");
}

// A sheet of 20 x 10 pixels (hw 10, hh 5) with Frames frames of delay Delay, no pictures.
struct TBlankSheet {
  explicit TBlankSheet(int frames = 4, int delay = 3, quint8 kind = skDirected) {
    for (int d = 0; d < (kind == skDirected ? kDirectionCount : 1); ++d) {
      for (int f = 0; f < frames; ++f) {
        res.writer.AddImage(TSprite::FrameName("S", kind, d, f), test::TaggedFrame(20, 10, f, test::RgbOf(kKey)),
                            BitmapKind::Bmp);
      }
    }
    sheet = std::make_unique<TSprite>("S", kind, delay, kKey, 10, 20, res.Manager(), frames);
  }
  test::TMemoryResources res;
  std::unique_ptr<TSprite> sheet;
};

TEST(CharacterTest, OneTickMovesAndBouncesOffTheMargins) {
  TBlankSheet blank;
  // Area 100 x 50; hw 10, hh 5.
  struct Case {
    const char* name;
    quint8 direction;
    int x, y, dx, dy;
    int wantX, wantY;
    quint8 wantDirection;
  };
  const Case cases[] = {
      {"east", dirE, 50, 25, 3, 2, 53, 25, dirE},
      {"south-east", dirSE, 50, 25, 3, 2, 53, 27, dirSE},
      {"south moves down", dirS, 50, 25, 3, 2, 50, 27, dirS},
      {"south-west", dirSW, 50, 25, 3, 2, 47, 27, dirSW},
      {"west", dirW, 50, 25, 3, 2, 47, 25, dirW},
      {"north-west", dirNW, 50, 25, 3, 2, 47, 23, dirNW},
      {"north", dirN, 50, 25, 3, 2, 50, 23, dirN},
      {"north-east", dirNE, 50, 25, 3, 2, 53, 23, dirNE},
      {"north-east at the right margin turns north-west", dirNE, 86, 25, 3, 2, 89, 23, dirNW},
      {"north-east at the top margin turns south-east", dirNE, 50, 8, 3, 2, 53, 6, dirSE},
      {"north-east into the corner turns south-west", dirNE, 86, 8, 3, 2, 89, 6, dirSW},
      {"just inside the right margin goes on", dirE, 84, 25, 3, 2, 87, 25, dirE},
      {"east at the right margin turns west", dirE, 85, 25, 3, 2, 88, 25, dirW},
      {"west at the left margin turns east", dirW, 14, 25, 3, 2, 11, 25, dirE},
      {"south-west at the bottom turns north-west", dirSW, 50, 42, 3, 2, 47, 44, dirNW},
      {"south never bounces sideways", dirS, 1, 25, 3, 2, 1, 27, dirS},
      {"north with dy 0 never moves nor bounces", dirN, 50, 25, 3, 0, 50, 25, dirN},
      {"outside the margins it keeps reversing", dirW, -30, 25, 3, 2, -33, 25, dirE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCharacter ch(c.x, blank.sheet.get(), c.direction, c.dy, c.dx, c.y);
    ch.Move(100, 50);
    EXPECT_EQ(ch.X, c.wantX);
    EXPECT_EQ(ch.Y, c.wantY);
    EXPECT_EQ(ch.Direction, c.wantDirection);
  }
  // Outside the margin and moving back in: it keeps reversing each tick until it is back.
  TCharacter out(-30, blank.sheet.get(), dirW, 0, 3, 25);
  out.Move(100, 50);
  EXPECT_EQ(out.Direction, dirE);
  out.Move(100, 50);
  EXPECT_EQ(out.X, -30);
  EXPECT_EQ(out.Direction, dirE) << "moving east inside the left margin does not bounce";
}

TEST(CharacterTest, EachFrameShowsForFrameDelayTicksAndTheLastFrameIsSeen) {
  TBlankSheet blank(4, 3);
  TCharacter ch(50, blank.sheet.get(), dirE, 0, 0, 25);
  EXPECT_EQ(ch.Frame, 0);
  EXPECT_EQ(ch.TicksLeft, 3);
  std::vector<int> frames;
  int firstLast = 0;
  for (int tick = 1; tick <= 13; ++tick) {
    ch.Move(100, 50);
    frames.push_back(ch.Frame);
    if (firstLast == 0 && ch.IsLastFrame()) firstLast = tick;
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 0}));
  EXPECT_EQ(firstLast, 11) << "frame 3 with one tick left";
  EXPECT_EQ(ch.ImageIndex(), 0);
  ch.Direction = dirW;
  ch.Frame = 2;
  EXPECT_EQ(ch.ImageIndex(), 4 * 4 + 2);
}

TEST(CharacterTest, DrawsTheCurrentFrameCentredAndTransparent) {
  TBlankSheet blank(2, 1);
  TCharacter ch(30, blank.sheet.get(), dirS, 0, 0, 20);
  ch.Move(100, 50);  // frame 1
  QImage canvas(60, 40, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  {
    QPainter p(&canvas);
    ch.Draw(p);
  }
  // The frame covers (20, 15) to (39, 24); its border is the key colour.
  EXPECT_EQ(canvas.pixel(20, 15), qRgb(0, 0, 0)) << "the key colour lets the scene through";
  EXPECT_EQ(canvas.pixel(21, 16), qRgb(1, 200, 100)) << "frame 1, top-left inside the border";
  EXPECT_EQ(canvas.pixel(38, 23), qRgb(1, 200, 100));
  EXPECT_EQ(canvas.pixel(39, 24), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.pixel(19, 20), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace zabko
