#include "game/play/game_utils.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zabko {
namespace {

TEST(GameDrawingTest, AlphaBlendCopiesTheSourceRectangleAtConstantOpacity) {
  QImage canvas(20, 10, QImage::Format_RGB32);
  canvas.fill(qRgb(0, 0, 0));
  QImage source(8, 8, QImage::Format_RGB32);
  source.fill(qRgb(255, 255, 255));
  {
    QPainter p(&canvas);
    AlphaBlendCanvas(p, 2, 1, 128, source, 4, 6);  // height 4, width 6
    AlphaBlendBitmap(p, 12, 0, 255, source);
    EXPECT_DOUBLE_EQ(p.opacity(), 1.0) << "the painter's opacity is left as it was";
  }
  EXPECT_NEAR(qRed(canvas.pixel(2, 1)), 128, 2);
  EXPECT_NEAR(qRed(canvas.pixel(7, 4)), 128, 2);
  EXPECT_EQ(qRed(canvas.pixel(8, 1)), 0) << "only Width columns";
  EXPECT_EQ(qRed(canvas.pixel(2, 5)), 0) << "only Height rows";
  EXPECT_EQ(qRed(canvas.pixel(1, 1)), 0);
  EXPECT_EQ(canvas.pixel(12, 0), qRgb(255, 255, 255)) << "alpha 255 is a plain copy";
  EXPECT_EQ(canvas.pixel(19, 7), qRgb(255, 255, 255));
}

TEST(GameDrawingTest, RectanglesAndRightAlignedText) {
  const QRect r(10, 20, 30, 40);
  EXPECT_EQ(OffsetRectBy(r, 5, -5), QRect(15, 15, 30, 40));
  const QRect inflated = InflateRectBy(r, 3, 4);
  EXPECT_EQ(inflated.left(), 7);
  EXPECT_EQ(inflated.top(), 16);
  EXPECT_EQ(inflated.width(), 36);
  EXPECT_EQ(inflated.height(), 48);

  QImage canvas(200, 40, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter p(&canvas);
  QFont font;
  SetFontNSS(font, "Arial", 12, TFontStyle::Bold);
  EXPECT_EQ(font.family(), SubstituteFontFamily("Arial"));
  EXPECT_TRUE(font.bold());
  EXPECT_EQ(font.pixelSize(), 16) << "12 points at 96 pixels per inch";
  p.setFont(font);
  p.setPen(Qt::black);
  const QRect text = TextRect(p, "0123");
  EXPECT_EQ(text.topLeft(), QPoint(0, 0));
  EXPECT_GT(text.width(), 0);
  TextOutRight(p, 150, 5, "0123");
  p.end();
  int leftmost = 200, rightmost = -1;
  for (int x = 0; x < 200; ++x) {
    for (int y = 0; y < 40; ++y) {
      if (qRed(canvas.pixel(x, y)) < 128) {
        leftmost = std::min(leftmost, x);
        rightmost = std::max(rightmost, x);
      }
    }
  }
  EXPECT_LT(rightmost, 150) << "the text ends at X";
  EXPECT_GT(rightmost, 150 - 4);
  EXPECT_GE(leftmost, 150 - text.width());
}

TEST(GameRandomTest, RandomBetweenCoversBothEnds) {
  int count = 0;
  const TRandomIndex lowest = [&](int n) { count = n; return 0; };
  const TRandomIndex highest = [&](int n) { count = n; return n - 1; };
  EXPECT_EQ(RandomBetween(3, 7, lowest), 3);
  EXPECT_EQ(count, 5) << "five values from 3 to 7";
  EXPECT_EQ(RandomBetween(3, 7, highest), 7);
  EXPECT_EQ(RandomBetween(-2, 2, highest), 2);
  EXPECT_EQ(RandomBetween(4, 4, highest), 4) << "equal ends give that value";
  EXPECT_EQ(RandomBetween(5, 1, highest), 5) << "reversed ends give the first";
  for (int i = 0; i < 200; ++i) {
    const int v = RandomBetween(1, 3);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 3);
  }
}

TEST(GameTextTest, ReplaceCharsInSetReplacesOnlyMembers) {
  TCharSet digits;
  for (char c = '0'; c <= '9'; ++c) digits.set(static_cast<unsigned char>(c));
  EXPECT_EQ(ReplaceCharsInSet("a1b22c", digits, '#'), "a#b##c");
  EXPECT_EQ(ReplaceCharsInSet("", digits, '#'), "");
  // The whole set hides every byte, 8-bit Hebrew and zeros included, keeping the length.
  const QByteArray hebrew("\xE0\xE1 x\0", 5);
  EXPECT_EQ(ReplaceCharsInSet(hebrew, FullCharSet(), '*'), "*****");
}

}  // namespace
}  // namespace zabko
