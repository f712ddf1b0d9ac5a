// TFile over the platform's shell calls: folder deletion to the trash, temporary files, folders.
#include "core/file.h"
#include "tests/common/test_util.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

QString W(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(FileTest, DeleteFolderDropsOneTrailingSeparator) {
  QTemporaryDir dir;
  for (const char* suffix : {"", "/", "\\"}) {
    const QString folder = dir.filePath(W("old"));
    ASSERT_TRUE(TFile::ForceDirectories(folder + W("/a/b")));
    EXPECT_TRUE(TFile::DirectoryExists(folder + W("/a/b")));
    EXPECT_TRUE(TFile::DeleteFolder(folder + W(suffix))) << suffix;
    EXPECT_FALSE(QFileInfo::exists(folder)) << suffix;
  }
  EXPECT_FALSE(TFile::DeleteFolder(dir.filePath(W("never-there"))));
  EXPECT_FALSE(TFile::DeleteFolder(QString()));
}

TEST(FileTest, TempFilesAndFolders) {
  EXPECT_TRUE(TFile::GetTempPath().endsWith(u'/'));
  EXPECT_TRUE(TFile::DirectoryExists(TFile::GetTempPath()));
  const QString a = TFile::GetTempFileName(W(".mp3"));
  const QString b = TFile::GetTempFileName(W(".mp3"));
  EXPECT_NE(a, b);
  for (const QString& name : {a, b}) {
    EXPECT_TRUE(QFileInfo(name).isFile());
    EXPECT_TRUE(QFileInfo(name).fileName().startsWith(W("TMP")));
    EXPECT_TRUE(name.endsWith(W(".mp3")));
    QFile::remove(name);
  }
  QTemporaryDir dir;
  EXPECT_TRUE(TFile::ForceDirectories(dir.filePath(W("א/ב/ג"))));
  EXPECT_TRUE(TFile::DirectoryExists(dir.filePath(W("א/ב"))));
  EXPECT_FALSE(TFile::DirectoryExists(dir.filePath(W("א/ב/ג/ד"))));
  EXPECT_FALSE(TFile::ForceDirectories(QString()));
}

}  // namespace
}  // namespace zabko
