#include "core/res_manager.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"
#include "tools/res_db_writer.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::FromHex;
using test::MessageOf;

QByteArray ReadN(TStream& s, qint64 n) {
  QByteArray out(n, '\0');
  out.resize(s.Read(out.data(), n));
  return out;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// A folder with database files, and an empty program folder for loose files.
class ResManagerTest : public testing::Test {
 protected:
  QString Db(const QString& name, const TResDBWriter& writer) {
    const QString path = dir_.filePath(name);
    writer.SaveToFile(path);
    return path;
  }
  QString AppDir() { return dir_.filePath("app"); }
  void SetUp() override { QDir(dir_.path()).mkdir("app"); }

  QTemporaryDir dir_;
};

TEST_F(ResManagerTest, OpensEntriesByNameWithoutRegardToCase) {
  TResDBWriter w;
  w.AddData("a.mp3", "xyz");
  w.AddData("B.BMP", "12345");
  w.AddData("empty", "");
  TResManager res({Db("one.dat", w)}, AppDir());

  for (const char* name : {"A.MP3", "a.Mp3"}) {
    EXPECT_EQ(res.Open(name), 3) << name;
    EXPECT_EQ(ReadN(res.Current(), 100), QByteArray("xyz")) << "reads exactly the blob";
  }
  EXPECT_EQ(res.Open("b.bmp"), 5);
  EXPECT_EQ(ReadN(res.Current(), 2), QByteArray("12"));
  EXPECT_EQ(res.Current().Seek(-1, SeekOrigin::End), 4);
  EXPECT_EQ(ReadN(res.Current(), 9), QByteArray("5"));
  EXPECT_EQ(res.Open("empty"), 0);

  TMemoryStream copy;
  copy.WriteBuffer("<", 1);
  res.CopyTo(copy, "empty");
  res.CopyTo(copy, "a.mp3");
  EXPECT_EQ(copy.ToByteArray(), QByteArray("<xyz"));

  EXPECT_EQ(MessageOf([&] { res.Open("x.mp3"); }), QStringLiteral("File not found in DB: x.mp3"));
  EXPECT_TRUE(res.Loader().Contains("B.bmp"));
  EXPECT_FALSE(res.Loader().Contains("x.mp3"));
}

TEST_F(ResManagerTest, LooseFileBesideTheProgramWins) {
  TResDBWriter w;
  w.AddData("a.mp3", "xyz");
  w.AddData("secret", "db");
  TResManager res({Db("one.dat", w)}, AppDir());
  WriteFile(AppDir() + "/A.Mp3", "loose!");
  QDir(AppDir()).mkdir("Sub");
  WriteFile(AppDir() + "/Sub/Deep.wav", "deep");
  WriteFile(dir_.filePath("secret"), "outside");

  EXPECT_EQ(res.Open("a.MP3"), 6);
  EXPECT_EQ(ReadN(res.Current(), 10), QByteArray("loose!"));
  EXPECT_EQ(res.Open("sub\\deep.WAV"), 4);
  // A name never reaches outside the program folder.
  EXPECT_EQ(MessageOf([&] { res.Open("..\\secret"); }), QStringLiteral("File not found in DB: ..\\secret"));
  EXPECT_EQ(FindFileIgnoringCase(AppDir(), "../secret"), QString());
  EXPECT_EQ(FindFileIgnoringCase(AppDir(), "sub"), QString()) << "a folder is no file";
}

// The manager keeps what it learnt of the program folder between Opens; every change made
// there afterwards must still be seen by the next Open.
TEST_F(ResManagerTest, LooseFilesChangedBetweenOpensAreSeen) {
  TResDBWriter w;
  w.AddData("a.mp3", "db");
  w.AddData("sub\\b.mp3", "db sub");
  TResManager res({Db("one.dat", w)}, AppDir());
  const QString app = AppDir();
  const auto content = [&](const char* name) {
    const qint64 size = res.Open(name);
    return ReadN(res.Current(), size);
  };
  ASSERT_EQ(content("a.mp3"), QByteArray("db"));
  ASSERT_EQ(content("sub\\b.mp3"), QByteArray("db sub"));

  struct Step {
    const char* change;
    std::function<void()> apply;
    const char* name;
    QByteArray expected;
  };
  const Step steps[] = {
      {"a loose file appears", [&] { WriteFile(app + "/A.MP3", "loose"); }, "a.mp3", "loose"},
      {"it is rewritten in place", [&] { WriteFile(app + "/A.MP3", "again"); }, "a.mp3", "again"},
      {"it is renamed away", [&] { QDir(app).rename("A.MP3", "other"); }, "a.mp3", "db"},
      {"another case of the name comes in", [&] { QDir(app).rename("other", "a.Mp3"); }, "A.mp3", "again"},
      {"it is removed", [&] { QFile::remove(app + "/a.Mp3"); }, "a.mp3", "db"},
      {"a sub-folder appears", [&] { QDir(app).mkdir("SUB"); WriteFile(app + "/SUB/B.mp3", "deep"); }, "sub\\b.mp3",
       "deep"},
      {"a file leaves the sub-folder", [&] { QFile::remove(app + "/SUB/B.mp3"); }, "sub\\b.mp3", "db sub"},
      {"a file comes back into it", [&] { WriteFile(app + "/SUB/b.MP3", "back"); }, "sub\\b.mp3", "back"},
      {"a folder takes the file's name", [&] {
         QFile::remove(app + "/SUB/b.MP3");
         QDir(app).mkpath("SUB/b.mp3");
       }, "sub\\b.mp3", "db sub"},
      {"the program folder is replaced by another", [&] {
         QDir(app).removeRecursively();
         const QString fresh = dir_.filePath("fresh");
         QDir().mkpath(fresh);
         WriteFile(fresh + "/a.mp3", "fresh");
         ASSERT_TRUE(QDir().rename(fresh, app));
       }, "a.mp3", "fresh"},
      {"the program folder is gone", [&] { QDir(app).removeRecursively(); }, "a.mp3", "db"},
      {"the program folder comes back", [&] {
         QDir().mkpath(app);
         WriteFile(app + "/a.mp3", "returned");
       }, "a.mp3", "returned"},
  };
  for (const Step& step : steps) {
    step.apply();
    EXPECT_EQ(content(step.name), step.expected) << step.change;
    // Asked again without a change, the answer stays.
    EXPECT_EQ(content(step.name), step.expected) << step.change << ", asked again";
  }
}

// A folder above the program folder renamed leaves the old folder unchanged; the path now
// names a new folder, and its files are the ones served.
TEST_F(ResManagerTest, ProgramFolderMovedAwayWithItsParent) {
  TResDBWriter w;
  w.AddData("a.mp3", "db");
  const QString app = dir_.filePath("install/app");
  QDir().mkpath(app);
  WriteFile(app + "/a.mp3", "old");
  TResManager res({Db("one.dat", w)}, app);
  ASSERT_EQ(res.Open("a.mp3"), 3);

  ASSERT_TRUE(QDir().rename(dir_.filePath("install"), dir_.filePath("moved")));
  QDir().mkpath(app);
  WriteFile(app + "/A.MP3", "newer");
  EXPECT_EQ(res.Open("a.mp3"), 5);
  EXPECT_EQ(ReadN(res.Current(), 10), QByteArray("newer"));
}

TEST_F(ResManagerTest, SeveralDatabasesBehindOneIndex) {
  TResDBWriter w1, w2;
  w1.AddData("one", "first");
  w1.AddData("both", "from 1");
  w2.AddData("two", "second");
  w2.AddData("BOTH", "from 2");
  w2.AddData("also", "2b");
  TResManager res({Db("1.dat", w1), Db("2.dat", w2)}, AppDir());

  const std::pair<const char*, const char*> cases[] = {
      {"ONE", "first"}, {"two", "second"}, {"Both", "from 1"}, {"also", "2b"}, {"one", "first"}};
  for (const auto& [name, content] : cases) {
    const qint64 size = res.Open(name);
    EXPECT_EQ(ReadN(res.Current(), size), QByteArray(content)) << name;
  }
  QStringList names;
  res.Loader().ListNames(names);
  EXPECT_EQ(names, QStringList({"ONE", "BOTH", "TWO", "BOTH", "ALSO"}));
  EXPECT_EQ(MessageOf([&] { res.Open("three"); }), QStringLiteral("File not found in DB: three"));
}

QImage TestPicture() {
  QImage image(24, 16, QImage::Format_RGB32);
  image.fill(QColor(20, 120, 220));
  QPainter p(&image);
  p.fillRect(0, 0, 12, 8, QColor(250, 250, 10));
  return image;
}

// Every pixel within Tolerance of the original in each channel; with a tolerance, pixels next to
// the picture's colour edges (which JPEG blurs) are left out.
bool Close(const QImage& a, const QImage& b, int tolerance) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (tolerance > 0 && (std::abs(x - 12) < 4 || std::abs(y - 8) < 4)) continue;
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
          std::abs(qBlue(p) - qBlue(q)) > tolerance)
        return false;
    }
  }
  return true;
}

TEST_F(ResManagerTest, DecodesBitmapsOfEveryKind) {
  const QImage picture = TestPicture();
  TResDBWriter w;
  w.AddImage("pic.jpg", picture, BitmapKind::Jpeg, 95);
  w.AddImage("pic.bmp", picture, BitmapKind::Bmp);
  w.AddImage("pic.rle", picture, BitmapKind::RleBmp);
  w.AddData("kind7", FromHex("07 42 4D"));
  w.AddData("badbmp", FromHex("01 42 4D 00 01"));
  w.AddData("badjpg", FromHex("00 FF D8 FF 00"));
  w.AddData("nokind", "");
  TResManager res({Db("pics.dat", w)}, AppDir());

  const std::pair<const char*, int> good[] = {{"pic.jpg", 12}, {"pic.bmp", 0}, {"pic.rle", 0}};
  for (const auto& [name, tolerance] : good) {
    QImage image;
    res.LoadBitmap(image, name);
    EXPECT_TRUE(Close(image, picture, tolerance)) << name;
  }

  // The run-length kind really is coded: a flat picture shrinks to a few run blocks.
  QImage flat(64, 64, QImage::Format_RGB32);
  flat.fill(Qt::white);
  EXPECT_LT(BitmapBlob(EncodeBmp(flat), BitmapKind::RleBmp).size(), 200);

  const std::pair<const char*, const char*> bad[] = {
      {"kind7", "Unknown bitmap kind 7 in: kind7"},
      {"badbmp", "Invalid bitmap: badbmp"},
      {"badjpg", "Invalid bitmap: badjpg"},
      {"nokind", "Invalid bitmap: nokind"},
  };
  for (const auto& entry : bad) {
    const auto& name = entry.first;
    const auto& message = entry.second;
    QImage image = picture;
    EXPECT_EQ(MessageOf([&] { res.LoadBitmap(image, name); }), QString(message));
    EXPECT_EQ(image, picture) << "a failed load leaves the bitmap as it was";
  }
}

TEST_F(ResManagerTest, ExtractsToTemporaryFilesWithTheRightExtension) {
  TResDBWriter w;
  w.AddData("word.mp3", "ID3 sound");
  w.AddData("word", "plain");
  w.AddData("dir.x\\word", "dotted folder");
  TResManager res({Db("snd.dat", w)}, AppDir());

  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"word.mp3", ".mp3", "ID3 sound"}, {"word", ".wav", "plain"}, {"dir.x\\word", ".wav", "dotted folder"}};
  for (const auto& [name, ext, content] : cases) {
    const QString file = res.ExtractToTempFile(name, ".wav");
    EXPECT_TRUE(file.endsWith(ext)) << file.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(content));
    QFile::remove(file);
  }
  EXPECT_EQ(MessageOf([&] { res.ExtractToTempFile("none.mp3", ".wav"); }),
            QStringLiteral("File not found in DB: none.mp3"));
}

TEST(ResLoader, RefusesDirectoriesThatDoNotFitTheFile) {
  // One entry "a" of 2 bytes, well formed, as the starting point.
  const QByteArray good = FromHex("01000000 01000000 61 02000000 7879");
  {
    TResLoader loader(std::make_unique<TMemoryStream>(good), "good");
    EXPECT_EQ(loader.OpenEntry("A"), 2);
  }
  const std::pair<const char*, QByteArray> cases[] = {
      {"short count", FromHex("0100")},
      {"negative count", FromHex("FFFFFFFF")},
      {"count beyond the file", FromHex("10000000 01000000 61 00000000")},
      {"name beyond the file", FromHex("01000000 40000000 61 02000000 7879")},
      {"negative name length", FromHex("01000000 FFFFFFFF 61 02000000 7879")},
      {"negative size", FromHex("01000000 01000000 61 FEFFFFFF 7879")},
      {"blob beyond the file", FromHex("01000000 01000000 61 03000000 7879")},
      {"directory cut short", FromHex("02000000 01000000 61 00000000 01000000")},
  };
  for (const auto& entry : cases) {
    const auto& label = entry.first;
    const QByteArray& bytes = entry.second;
    EXPECT_EQ(MessageOf([&] { TResLoader(std::make_unique<TMemoryStream>(bytes), "bad.dat"); }),
              QStringLiteral("Invalid resource database: bad.dat"))
        << label;
  }
}

TEST(ResLoader, MissingDatabaseFileFailsCreation) {
  EXPECT_TRUE(MessageOf([] { TResManager({"/nonexistent/x.dat"}); }).startsWith("Cannot open file"));
}

}  // namespace
}  // namespace zabko
