#include "core/res_manager.h"
#include "tools/res_db_writer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

int RunTool(const QStringList& args, QByteArray* errors = nullptr) {
  QProcess tool;
  tool.start(QStringLiteral(ZABKO_RESDB), args);
  EXPECT_TRUE(tool.waitForFinished(30000));
  if (errors) *errors = tool.readAllStandardError();
  return tool.exitCode();
}

TEST(ResDBTool, WritesSoundsAndBitmapsFromFiles) {
  QTemporaryDir dir;
  QImage picture(8, 4, QImage::Format_RGB32);
  picture.fill(QColor(10, 200, 30));
  ASSERT_TRUE(picture.save(dir.filePath("pic.png")));
  WriteFile(dir.filePath("hello.mp3"), "ID3-hello");
  WriteFile(dir.filePath("pic.bmp"), EncodeBmp(picture));

  const QString db = dir.filePath("out.dat");
  ASSERT_EQ(RunTool({db, dir.filePath("hello.mp3"), "-r", "Skin\\Pic=" + dir.filePath("pic.png"), "-b",
                     "plain=" + dir.filePath("pic.bmp"), "-j", "photo=" + dir.filePath("pic.png"), "-f",
                     "raw.bin=" + dir.filePath("pic.bmp")}),
            0);

  TResManager res({db}, dir.filePath("noapp"));
  TMemoryStream sound;
  res.CopyTo(sound, "HELLO.MP3");
  EXPECT_EQ(sound.ToByteArray(), QByteArray("ID3-hello"));
  for (const char* name : {"skin\\pic", "plain", "photo"}) {
    QImage image;
    res.LoadBitmap(image, name);
    EXPECT_EQ(image.size(), picture.size()) << name;
    EXPECT_NEAR(qGreen(image.pixel(3, 2)), 200, 6) << name;
  }
  EXPECT_EQ(res.Open("raw.bin"), EncodeBmp(picture).size()) << "stored as it is, no kind byte";
}

TEST(ResDBTool, FailsOnBadInput) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("a"), "a");
  WriteFile(dir.filePath("notimage"), "text");
  QByteArray errors;
  EXPECT_EQ(RunTool({dir.filePath("x.dat"), dir.filePath("a"), "A=" + dir.filePath("a")}, &errors), 1);
  EXPECT_TRUE(errors.contains("Duplicate resource: A")) << errors.toStdString();
  EXPECT_EQ(RunTool({dir.filePath("x.dat"), "-b", dir.filePath("notimage")}, &errors), 1);
  EXPECT_TRUE(errors.contains("Cannot read image")) << errors.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("x.dat"))) << "nothing written on failure";
  EXPECT_EQ(RunTool({}), 2);
}

}  // namespace
}  // namespace zabko
