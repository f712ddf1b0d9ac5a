#include "core/res_manager.h"
#include "tests/common/test_util.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

QString GraphicsDat() { return QDir(ZABKO_DATA_OUT).filePath("Game/Graphics.dat"); }

// The RGB of a Windows colour value (0x00BBGGRR).
QRgb Rgb(int winColor) { return qRgb(winColor & 0xFF, (winColor >> 8) & 0xFF, (winColor >> 16) & 0xFF); }

struct TSheetCase {
  const char* prefix;
  int frames;  // per set; 0 sets of directions for the explosion below
  int key;
  int width, height;
  bool directed;
};

// The shooting game's sheets, in index order.
const TSheetCase kSheets[] = {
    {"Sprites\\bating", 12, 0x29425E, 128, 128, true}, {"Sprites\\cowking", 8, 0x334F6F, 96, 96, true},
    {"Sprites\\ball fish", 8, 0x2B4461, 64, 80, true}, {"Sprites\\mousing", 8, 0x29425E, 96, 96, true},
    {"Sprites\\croing", 16, 0x2E8031, 64, 64, true},   {"Sprites\\trexing", 8, 0x2B4461, 128, 128, true},
    {"Sprites\\brding", 12, 0x808080, 128, 128, true}, {"Sprites\\blowup ", 4, 0x000000, 61, 63, false},
};
const char* const kSuffixes[] = {" e", " se", " s", " sw", " w", " nw", " n", " ne"};

TEST(GameGraphicsTest, EverySpriteFrameHasItsSheetsSizeOnItsKeyColour) {
  TResManager res({GraphicsDat()});
  int frames = 0;
  for (const TSheetCase& sheet : kSheets) {
    SCOPED_TRACE(sheet.prefix);
    QImage firstOfSet[8];
    for (int d = 0; d < (sheet.directed ? 8 : 1); ++d) {
      for (int f = 0; f < sheet.frames; ++f) {
        const QString name = QString::fromLatin1(sheet.prefix) + (sheet.directed ? kSuffixes[d] : "") +
                             QStringLiteral("%1.bmp").arg(f, 4, 10, QLatin1Char('0'));
        QImage frame;
        ASSERT_NO_THROW(res.LoadBitmap(frame, name)) << name.toStdString();
        ++frames;
        ASSERT_EQ(frame.size(), QSize(sheet.width, sheet.height)) << name.toStdString();
        const QRgb key = Rgb(sheet.key);
        for (const QPoint corner : {QPoint(0, 0), QPoint(sheet.width - 1, 0), QPoint(0, sheet.height - 1),
                                    QPoint(sheet.width - 1, sheet.height - 1)}) {
          EXPECT_EQ(frame.pixel(corner) & 0xFFFFFF, key & 0xFFFFFF) << name.toStdString();
        }
        // Something is drawn, and the key colour marks only the background.
        int drawn = 0;
        for (int y = 0; y < frame.height(); ++y) {
          for (int x = 0; x < frame.width(); ++x) drawn += (frame.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF);
        }
        EXPECT_GT(drawn, sheet.width * sheet.height / 20) << name.toStdString();
        if (f == 0) firstOfSet[d] = frame;
      }
    }
    // Each direction looks its own way.
    for (int d = 1; sheet.directed && d < 8; ++d) EXPECT_NE(firstOfSet[d], firstOfSet[0]) << kSuffixes[d];
  }
  EXPECT_EQ(frames, 580);
}

TEST(GameGraphicsTest, TheScreensStripsAndPicturesHaveTheirSizes) {
  TResManager res({GraphicsDat()});
  struct Case {
    QString name;
    int width, height;
  };
  std::vector<Case> cases = {
      {"enter_screen.bmp", 800, 600},          {"EnterBtns.bmp", 840, 87},
      {"tryBtn.bmp", 270, 165},                {"SwitchBtn.bmp", 48, 96},
      {"controls.bmp", 670, 61},               {"controls\\lives.bmp", 14, 61},
      {"controls\\weapons.bmp", 13, 61},       {"controls\\timer_no.bmp", 100, 61},
      {"controls\\stage_no.bmp", 250, 61},     {"controls\\kavenet_anti.bmp", 55, 55},
      {"Dialogs\\DialogBtns.bmp", 400, 90},    {"Dialogs\\MenuBtns.bmp", 800, 108},
      {"Dialogs\\QuestionBtn.bmp", 24, 72},    {"Dialogs\\EndGameBtns.bmp", 600, 102},
      {"Dialogs\\Caption.bmp", 400, 34},       {"Dialogs\\Best.bmp", 372, 30},
      {"Dialogs\\EndGameBkg.bmp", 670, 520},
  };
  for (int stage = 1; stage <= 9; ++stage) cases.push_back({QStringLiteral("levels\\%1.bmp").arg(stage), 670, 459});
  for (const Case& c : cases) {
    QImage image;
    ASSERT_NO_THROW(res.LoadBitmap(image, c.name)) << c.name.toStdString();
    EXPECT_EQ(image.size(), QSize(c.width, c.height)) << c.name.toStdString();
  }
  // The aim's white leaves the scene as it is where it is drawn with AND.
  QImage aim;
  res.LoadBitmap(aim, "controls\\kavenet_anti.bmp");
  EXPECT_EQ(aim.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);

  // Stage, comment and game-over pictures: on a plain background (their bottom-left colour at
  // every corner), small enough for their backdrop, 40 pixels each side, in the play area.
  QStringList pictures;
  for (int stage = 1; stage <= 9; ++stage) pictures << QStringLiteral("Texts\\Stage%1.bmp").arg(stage);
  for (int n = 1; n <= 23; ++n) pictures << QStringLiteral("Texts\\comment%1.bmp").arg(n);
  pictures << "texts\\game-over.bmp";
  for (const QString& name : pictures) {
    QImage image;
    ASSERT_NO_THROW(res.LoadBitmap(image, name)) << name.toStdString();
    EXPECT_LE(image.width() + 80, 670) << name.toStdString();
    EXPECT_LE(image.height() + 80, 459) << name.toStdString();
    const QRgb key = image.pixel(0, image.height() - 1);
    EXPECT_EQ(image.pixel(0, 0), key) << name.toStdString();
    EXPECT_EQ(image.pixel(image.width() - 1, 0), key) << name.toStdString();
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), key) << name.toStdString();
  }
}

TEST(GameGraphicsTest, ThePngFolderHoldsEveryBitmapAsAPicture) {
  QTemporaryDir dir;
  QProcess tool;
  tool.start(ZABKO_GAME_GRAPHICS, {dir.filePath("Graphics.dat"), dir.filePath("png")});
  ASSERT_TRUE(tool.waitForFinished(120000));
  ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  TResManager res({dir.filePath("Graphics.dat")});
  QStringList names;
  res.Loader().ListNames(names);
  const QStringList pngs = QDir(dir.filePath("png")).entryList({"*.png"}, QDir::Files);
  EXPECT_EQ(pngs.size(), names.size());
  EXPECT_EQ(QImage(dir.filePath("png/Sprites_ball fish nw0007.png")).size(), QSize(64, 80));
  EXPECT_EQ(QImage(dir.filePath("png/levels_9.png")).size(), QSize(670, 459));
  // The same database as the build's.
  QFile built(GraphicsDat()), again(dir.filePath("Graphics.dat"));
  ASSERT_TRUE(built.open(QIODevice::ReadOnly) && again.open(QIODevice::ReadOnly));
  EXPECT_EQ(built.size(), again.size());
}

}  // namespace
}  // namespace zabko
