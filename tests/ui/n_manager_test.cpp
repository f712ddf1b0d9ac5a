#include "ui/n_manager.h"

#include "skin_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zabko {
namespace {

using test::Canvas;
using test::CodedImage;
using test::FirstMismatch;
using test::TSample;

class NManagerTest : public ::testing::Test, public test::TSkinFixture {
 protected:
  // Runs Draw on a fresh canvas and returns it.
  QImage Paint(int width, int height, const std::function<void(QPainter&)>& draw) {
    QImage canvas = Canvas(width, height);
    QPainter painter(&canvas);
    draw(painter);
    painter.end();
    return canvas;
  }
};

TEST_F(NManagerTest, LoadsEachBitmapOnceWhateverTheLetterCase) {
  source->Add("Main\\SingleLetter2.bmp", CodedImage(4, 4));
  const int first = manager.GetDrawer("Main\\SingleLetter2.bmp");
  EXPECT_EQ(manager.GetDrawer("Main\\SingleLetter2.bmp"), first);
  EXPECT_EQ(manager.GetDrawer("MAIN\\singleletter2.BMP"), first);
  EXPECT_EQ(source->loads.value("MAIN\\SINGLELETTER2.BMP"), 1);
  EXPECT_EQ(manager.DrawerCount(), 1);
}

TEST_F(NManagerTest, MirrorAskedFirstCreatesThePlainDrawerBeforeIt) {
  source->Add("main\\logo.bmp", CodedImage(7, 3));
  const int mirror = manager.GetDrawer("[U]main\\logo.bmp");
  ASSERT_EQ(manager.DrawerCount(), 2);
  EXPECT_EQ(mirror, 1);
  EXPECT_EQ(manager.GetDrawer("main\\logo.bmp"), 0);
  const TNImageDrawer* drawer = manager.Drawer(mirror);
  EXPECT_TRUE(drawer->Mirrored);
  EXPECT_EQ(drawer->Width(), 7);
  EXPECT_EQ(drawer->Height(), 3);
  EXPECT_FALSE(manager.Drawer(0)->Mirrored);
  // "[U]" counts only at the very start of the name.
  EXPECT_THROW(manager.GetDrawer("x[U]main\\logo.bmp"), Exception);
}

TEST_F(NManagerTest, MissingBitmapFailsAndAddsNoDrawer) {
  try {
    manager.GetDrawer("Main\\Nothing.bmp");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "File not found in DB: Main\\Nothing.bmp");
  }
  EXPECT_THROW(manager.GetDrawer("[U]Main\\Nothing.bmp"), Exception);
  EXPECT_EQ(manager.DrawerCount(), 0);
}

TEST_F(NManagerTest, PartDrawersAreFoundByTheirNameAndNeedALoadedBase) {
  source->Add("Main\\Btn.bmp", CodedImage(100, 100));
  try {
    manager.GetPartDrawer(10, 20, "Main\\Btn.bmp", 40, 30);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Main\\Btn.bmp not loaded");
  }
  EXPECT_EQ(source->loads.value("MAIN\\BTN.BMP"), 0) << "a part request must not load its base";

  manager.GetDrawer("Main\\Btn.bmp");
  const int part = manager.GetPartDrawer(10, 20, "Main\\Btn.bmp", 40, 30);
  EXPECT_EQ(manager.Drawer(part)->Name, "Main\\Btn.bmp10,20,30,40");
  EXPECT_EQ(manager.Drawer(part)->Width(), 30);
  EXPECT_EQ(manager.Drawer(part)->Height(), 40);
  EXPECT_EQ(manager.GetPartDrawer(10, 20, "main\\btn.bmp", 40, 30), part);
  EXPECT_EQ(manager.GetDrawer("Main\\Btn.bmp10,20,30,40"), part);
  EXPECT_NE(manager.GetPartDrawer(10, 20, "Main\\Btn.bmp", 30, 40), part) << "height and width are distinct";
}

TEST_F(NManagerTest, TilingClipsTheLastRowAndColumnFromTheSourceTopLeft) {
  source->Add("tile", CodedImage(10, 10, 7));
  const int tile = manager.GetDrawer("tile");
  // 25 x 12 at (1, 2): columns of 10, 10 and 5 in a row of 10 and a row of 2.
  const QImage canvas = Paint(30, 16, [&](QPainter& p) { manager.DrawTiled(p, 1, tile, 12, 25, 2); });
  EXPECT_EQ(FirstMismatch(canvas, [](int x, int y) -> std::optional<TSample> {
              if (x < 1 || x >= 26 || y < 2 || y >= 14) return std::nullopt;
              return TSample{(x - 1) % 10, (y - 2) % 10, 7};
            }),
            "");
}

TEST_F(NManagerTest, PlainDrawingMirrorsAndStretchedDrawingDoesNot) {
  source->Add("bar", CodedImage(6, 2, 1));
  const int mirror = manager.GetDrawer("[U]bar");
  const QImage plain = Paint(8, 2, [&](QPainter& p) { manager.DrawPlain(p, 1, mirror, 0); });
  EXPECT_EQ(FirstMismatch(plain, [](int x, int y) -> std::optional<TSample> {
              if (x < 1 || x >= 7) return std::nullopt;
              return TSample{5 - (x - 1), y, 1};
            }),
            "");
  const QImage stretched = Paint(12, 2, [&](QPainter& p) { manager.DrawStretched(p, 0, mirror, 2, 12, 0); });
  EXPECT_EQ(FirstMismatch(stretched, [](int x, int y) -> std::optional<TSample> { return TSample{x / 2, y, 1}; }),
            "");
}

TEST_F(NManagerTest, MirroredTilesReflectEachClippedTileWithinTheDrawer) {
  source->Add("bar", CodedImage(10, 1));
  const int mirror = manager.GetDrawer("[U]bar");
  // Tiles of 10 and 5 columns; the 5-column tile shows the mirror's first five columns.
  const QImage canvas = Paint(15, 1, [&](QPainter& p) { manager.DrawTiled(p, 0, mirror, 1, 15, 0); });
  EXPECT_EQ(FirstMismatch(canvas, [](int x, int) -> std::optional<TSample> { return TSample{9 - x % 10, 0, 0}; }),
            "");
}

TEST_F(NManagerTest, PartDrawingOffsetsIntoTheBaseWithoutClippingAndUnmirrored) {
  source->Add("sheet", CodedImage(40, 40, 3));
  manager.GetDrawer("sheet");
  const int part = manager.GetPartDrawer(10, 5, "sheet", 4, 4);
  // A source beyond the part's own 4 x 4 still reads the base picture.
  const QImage canvas = Paint(12, 6, [&](QPainter& p) { manager.DrawPart(2, 8, part, 6, 12, 0, 0, p); });
  EXPECT_EQ(FirstMismatch(canvas, [](int x, int y) -> std::optional<TSample> { return TSample{12 + x, 13 + y, 3}; }),
            "");

  // A part cut from a mirrored drawer is not itself mirrored: it draws the plain picture.
  manager.GetDrawer("[U]sheet");
  const int mirroredPart = manager.GetPartDrawer(0, 0, "[U]sheet", 1, 3);
  const QImage fromMirror = Paint(3, 1, [&](QPainter& p) { manager.DrawPlain(p, 0, mirroredPart, 0); });
  EXPECT_EQ(FirstMismatch(fromMirror, [](int x, int) -> std::optional<TSample> { return TSample{x, 0, 3}; }), "");
}

TEST_F(NManagerTest, PartTiledRepeatsTheSourceRectangle) {
  source->Add("sheet", CodedImage(20, 20));
  const int sheet = manager.GetDrawer("sheet");
  const QImage canvas =
      Paint(10, 5, [&](QPainter& p) { manager.DrawPartTiled({4, 6, 7, 8}, p, sheet, 5, 10, 0, 0); });
  EXPECT_EQ(FirstMismatch(canvas,
                          [](int x, int y) -> std::optional<TSample> { return TSample{4 + x % 3, 6 + y % 2, 0}; }),
            "");
}

TEST_F(NManagerTest, NoDrawerDrawsNothing) {
  source->Add("sheet", CodedImage(5, 5));
  manager.GetDrawer("sheet");
  const QImage canvas = Paint(6, 6, [&](QPainter& p) {
    for (int index : {-1, 1, 99}) {
      manager.DrawPlain(p, 0, index, 0);
      manager.DrawTiled(p, 0, index, 6, 6, 0);
      manager.DrawStretched(p, 0, index, 6, 6, 0);
      manager.DrawPart(0, 0, index, 6, 6, 0, 0, p);
    }
  });
  EXPECT_EQ(FirstMismatch(canvas, [](int, int) { return std::nullopt; }), "");
}

TEST(NBitmapComponentTest, RequestsItsDrawerWhenNamedAndAfterLoading) {
  test::TSkinFixture skin;
  skin.source->Add("Main\\LetterBtn.bmp", CodedImage(3, 3));
  TNBitmapComponent component;
  component.SetManager(&skin.manager);
  component.SetFilename("Main\\LetterBtn.bmp");
  EXPECT_EQ(skin.source->loads.value("MAIN\\LETTERBTN.BMP"), 1);

  TFormLoading loading;
  TNBitmapComponent later;
  later.SetFilename("Main\\Other.bmp");
  later.SetManager(&skin.manager);
  skin.source->Add("Main\\Other.bmp", CodedImage(3, 3));
  EXPECT_EQ(skin.source->loads.value("MAIN\\OTHER.BMP"), 0) << "nothing is loaded while the form loads";
  loading.Finish();
  EXPECT_EQ(skin.source->loads.value("MAIN\\OTHER.BMP"), 1);
}

}  // namespace
}  // namespace zabko
