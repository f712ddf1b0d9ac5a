#include "platform/registry_ini_file.h"

#include "tests/common/test_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// Each test gets its own configuration folder.
class RegistryIniFileTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }
  QTemporaryDir dir_;
  QByteArray saved_;
};

TEST_F(RegistryIniFileTest, KeyMapsToAFileUnderTheConfigFolder) {
  const RegistryLocation l = LocateRegistryKey("Software\\Kestrani\\Zabkolex\\Users");
  EXPECT_EQ(l.fileName, dir_.path() + "/Kestrani/Zabkolex.ini");
  EXPECT_EQ(l.prefix, "Users\\");
}

TEST_F(RegistryIniFileTest, EveryValueKindRoundTripsThroughTheFile) {
  const QString hebrew = QString::fromUtf8("שלום = עולם\\ \n next");
  {
    TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
    ini.WriteString("Login", "LastUsername", "\xE3\xE5\xE3");  // Hebrew in code page 1255
    ini.WriteWideString("Prod", "Folder", hebrew);
    ini.WriteInteger("Test\\10", "Count", -42);
    ini.WriteBool("Main", "UseLog", true);
    ini.WriteDateTime("Follow", "Date", 40242.6041666667);
    ini.WriteString("Messages\\42", "odd=key", "  spaced  ");
  }
  const QString file = dir_.path() + "/Kestrani/Zabkolex.ini";
  EXPECT_EQ(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
  // A new process sees the same values: drop every open store first.
  TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
  EXPECT_EQ(ini.ReadString("Login", "LastUsername", ""), QByteArray("\xE3\xE5\xE3"));
  EXPECT_EQ(ini.ReadWideString("prod", "FOLDER", "none"), hebrew);  // names ignore case
  EXPECT_EQ(ini.ReadInteger("Test\\10", "Count", 0), -42);
  EXPECT_TRUE(ini.ReadBool("Main", "UseLog", false));
  EXPECT_DOUBLE_EQ(ini.ReadDateTime("Follow", "Date", 0), 40242.6041666667);
  EXPECT_EQ(ini.ReadString("Messages\\42", "odd=key", ""), QByteArray("  spaced  "));
  EXPECT_EQ(ini.ReadWideString("Prod", "Missing", "NO_WAY_THIS_STRING_IS_HERE"),
            "NO_WAY_THIS_STRING_IS_HERE");
  EXPECT_EQ(ini.ReadInteger("Test\\10", "Missing", 7), 7);
  ini.WriteString("Main", "NotANumber", "abc");
  EXPECT_EQ(ini.ReadInteger("Main", "NotANumber", 3), 3);
}

TEST_F(RegistryIniFileTest, SectionsSubKeysAndErasing) {
  TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
  ini.WriteString("Users", "LastUser", "k1");
  ini.WriteString("Users\\k1", "Username", "dana");
  ini.WriteString("Users\\k1\\CubeMembers", "0", "http://a/");
  ini.WriteString("Users\\k2", "Username", "noa");
  ini.WriteString("Main", "X", "1");
  EXPECT_EQ(ini.ReadSections(), QStringList({"Users", "Main"}));
  EXPECT_EQ(ini.ReadSubSections("Users"), QStringList({"k1", "k2"}));
  EXPECT_EQ(ini.ReadSection("Users\\k1"), QStringList({"Username"}));

  auto users = ini.OpenSubKey("Users");
  EXPECT_EQ(users->ReadSections(), QStringList({"k1", "k2"}));
  EXPECT_EQ(users->ReadString("k2", "Username", ""), QByteArray("noa"));
  users->EraseSection("k1");
  // The erase is seen through the program key's store at once, sub-keys included.
  EXPECT_FALSE(ini.SectionExists("Users\\k1"));
  EXPECT_FALSE(ini.ValueExists("Users\\k1\\CubeMembers", "0"));
  EXPECT_EQ(ini.ReadString("Users", "LastUser", ""), QByteArray("k1"));
  ini.DeleteKey("Users", "LastUser");
  EXPECT_FALSE(ini.ValueExists("Users", "LastUser"));
}

TEST_F(RegistryIniFileTest, ChangesByAnotherProcessAreReadAgain) {
  TRegistryIniFile ini("Software\\Kestrani\\Zabkoplay");
  ini.WriteString("Main", "UId", "one");
  const QString file = ini.FileName();
  // Another writer replaces the file.
  QFile f(file + ".new");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Main]\nUId=two\nSoundOn=0\n");
  f.close();
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QFile::rename(file + ".new", file));
  EXPECT_EQ(ini.ReadString("Main", "UId", ""), QByteArray("two"));
  EXPECT_FALSE(ini.ReadBool("Main", "SoundOn", true));
}

TEST_F(RegistryIniFileTest, UnwritableFolderFailsWithAClearMessage) {
  QFile blocker(dir_.path() + "/Kestrani");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
  blocker.close();
  TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
  EXPECT_THROW(ini.WriteString("Main", "X", "1"), std::exception);
}

TEST_F(RegistryIniFileTest, AFileThatCannotBeReadIsNeverOverwritten) {
  // A folder where the file should be: it exists but does not read.
  ASSERT_TRUE(QDir().mkpath(dir_.path() + "/Kestrani/Unreadable.ini/keep"));
  TRegistryIniFile ini("Software\\Kestrani\\Unreadable");
  EXPECT_EQ(ini.ReadString("Main", "X", "def"), QByteArray("def"));
  EXPECT_THROW(ini.WriteString("Main", "X", "1"), std::exception);
  EXPECT_TRUE(QDir(dir_.path() + "/Kestrani/Unreadable.ini/keep").exists());
}

QByteArray FileBytes(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(RegistryIniFileTest, ABatchIsWrittenOnceAtItsCommit) {
  TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
  ini.WriteString("Main", "X", "1");
  const QByteArray before = FileBytes(ini.FileName());
  test::RewriteCounter rewrites(ini.FileName());
  {
    TRegistryBatch batch(ini);
    ini.WriteString("Users\\k1", "Username", "dana");
    // An inner batch joins the outer one; a sub-key's store shares the batch.
    TRegistryBatch inner(ini);
    ini.OpenSubKey("Users")->WriteInteger("k1", "State", 2);
    ini.EraseSection("Main");
    inner.Commit();
    // Reads see the held changes; the file does not yet.
    EXPECT_EQ(ini.ReadInteger("Users\\k1", "State", 0), 2);
    EXPECT_FALSE(ini.ValueExists("Main", "X"));
    EXPECT_EQ(FileBytes(ini.FileName()), before);
    EXPECT_EQ(rewrites.Count(), 0);
    batch.Commit();
  }
  EXPECT_EQ(rewrites.Count(), 1);
  TRegistryIniFile again("Software\\Kestrani\\Zabkolex");
  EXPECT_EQ(again.ReadString("Users\\k1", "Username", ""), QByteArray("dana"));
  EXPECT_FALSE(again.ValueExists("Main", "X"));
}

TEST_F(RegistryIniFileTest, ABatchThatFailsOrIsLeftChangesNothing) {
  TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
  ini.WriteString("Users\\k1", "Username", "dana");
  const QByteArray before = FileBytes(ini.FileName());
  const auto unchanged = [&] {
    EXPECT_EQ(FileBytes(ini.FileName()), before);
    EXPECT_EQ(ini.ReadString("Users\\k1", "Username", ""), QByteArray("dana"));
    EXPECT_FALSE(ini.ValueExists("Users\\k1", "CubeId"));
  };
  // Left by an exception before its commit.
  EXPECT_THROW(
      {
        TRegistryBatch batch(ini);
        ini.WriteString("Users\\k1", "CubeId", "c1");
        ini.EraseSection("Users\\k1");
        throw Exception("stop");
      },
      Exception);
  unchanged();
  // A commit whose write fails (a full disk): memory goes back to what the file holds, so a
  // later single write does not carry the failed batch with it.
  {
    TRegistryBatch batch(ini);
    ini.EraseSection("Users\\k1");
    ini.WriteString("Users\\k1", "CubeId", QByteArray(4096, 'c'));
    test::FileSizeCap cap(before.size() + 100);
    EXPECT_THROW(batch.Commit(), Exception);
  }
  unchanged();
  ini.WriteString("Main", "Y", "2");
  const QByteArray after = FileBytes(ini.FileName());
  EXPECT_TRUE(after.contains("Username=dana"));
  EXPECT_FALSE(after.contains("CubeId"));
}

}  // namespace
}  // namespace zabko
