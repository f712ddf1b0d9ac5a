#include "net/zabkolex_central.h"

#include "core/app_data_manager.h"
#include "core/cube_management.h"
#include "core/exception_log.h"
#include "core/res_manager.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"
#include "tools/res_db_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// Each test has its own settings and data folders and no log.
class CentralTest : public testing::Test {
 protected:
  void SetUp() override {
    savedConfig_ = qgetenv("XDG_CONFIG_HOME");
    savedData_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
  }
  void TearDown() override {
    SetCentral(nullptr);
    CloseLog();
    SetTraceLevel(0);
    qputenv("XDG_CONFIG_HOME", savedConfig_);
    qputenv("XDG_DATA_HOME", savedData_);
  }
  QString DataFolder() const { return dir_.path() + "/data/Kestrani Zabkolex/"; }

  QTemporaryDir dir_;
  QByteArray savedConfig_, savedData_;
};

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(CentralTest, CentralFailsWhenNoneIsRegistered) {
  try {
    Central();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Access to unassigned Central");
  }
  TZabkolexCentral central;
  SetCentral(&central);
  EXPECT_EQ(&Central(), &central);
  SetCentral(nullptr);
  EXPECT_THROW(Central(), Exception);
}

TEST_F(CentralTest, CreationTracesItsEightStepsInOrder) {
  // The production log, switched on in the settings, receives the trace lines after it opens.
  TRegistryIniFile("Software\\Kestrani\\Zabkolex").WriteBool("Main", "UseLog", true);
  SetTraceLevel(1);
  SetLogFileName(dir_.path() + "/trace.txt");
  ASSERT_TRUE(InstallLogger());
  {
    TZabkolexCentral central;
    EXPECT_TRUE(central.IsHebrewInterface());
    EXPECT_EQ(central.ResolveAppDataPath("Users\\k.data"), DataFolder() + "Users/k.data");
  }
  CloseLog();
  const QByteArray early = ReadAll(dir_.path() + "/trace.txt");
  const QByteArray production = ReadAll(DataFolder() + "MainLog.txt");
  EXPECT_TRUE(early.contains("  Creating app type specific\r\n  Creating app data manager\r\n"));
  EXPECT_TRUE(production.contains(" [production]"));
  const QByteArray later =
      "  Creating saver\r\n  Creating db handler\r\n  Creating strings\r\n  Creating client\r\n"
      "  Creating cube manager\r\n  Creating font\r\n";
  EXPECT_TRUE(production.contains(later)) << production.constData();
}

TEST_F(CentralTest, AFailingProductionLogEndsTheCreation) {
  TRegistryIniFile("Software\\Kestrani\\Zabkolex").WriteBool("Main", "UseLog", true);
  // A folder where the log file should be.
  ASSERT_TRUE(QDir().mkpath(DataFolder() + "MainLog.txt"));
  try {
    TZabkolexCentral central;
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Failed to install logger");
  }
}

TEST_F(CentralTest, NoLogWithoutTheSetting) {
  TZabkolexCentral central;
  EXPECT_FALSE(QFile::exists(DataFolder() + "MainLog.txt"));
  EXPECT_TRUE(QDir(DataFolder()).exists());
}

TEST_F(CentralTest, TheLastUserIsLoadedAndCanBeReset) {
  {
    TRegistryIniFile ini("Software\\Kestrani\\Zabkolex");
    ini.WriteString("Users", "LastUser", "u1");
    ini.WriteString("Users\\u1", "Username", "dana");
  }
  TZabkolexCentral central;
  EXPECT_EQ(central.CubeManagement().Username, QByteArray("dana"));
  central.ResetCubeManagement();
  EXPECT_TRUE(central.CubeManagement().UserKey.isEmpty());
}

TEST_F(CentralTest, AudioResourcesNameBaseAudioFirstAndMakeThePlayer) {
  int option = -1, maxCount = -1;
  bool playerFreed = false;
  static TZabkolexCentral* owner = nullptr;
  static bool managerAliveAtPlayerFree = false;
  TZabkolexCentral::THooks hooks;
  hooks.makePlayer = [&](TResManager* manager, int audioOption, int count) {
    EXPECT_NE(manager, nullptr);
    option = audioOption;
    maxCount = count;
    // A stand-in player: the central object only owns it.
    return TZabkolexCentral::TPlayerPtr(reinterpret_cast<TResPlayer*>(&playerFreed),
                                        [](TResPlayer* p) {
                                          *reinterpret_cast<bool*>(p) = true;
                                          managerAliveAtPlayerFree = owner && owner->ResManager();
                                        });
  };
  {
    TZabkolexCentral central(hooks);
    owner = &central;
    TResDBWriter base;
    base.AddData("ShortSilence", "mp3");
    QDir().mkpath(DataFolder() + "Data");
    base.SaveToFile(DataFolder() + "Data/BaseAudio");
    central.Settings().WriteInteger("Settings", "Audio", 5);
    central.BuildAudioResources();
    EXPECT_EQ(option, 5);
    EXPECT_EQ(maxCount, 2);
    ASSERT_NE(central.ResManager(), nullptr);
    EXPECT_NE(central.ResPlayer(), nullptr);
  }
  EXPECT_TRUE(playerFreed);
  EXPECT_TRUE(managerAliveAtPlayerFree) << "the player goes before the resources it plays";
  owner = nullptr;
}

}  // namespace
}  // namespace zabko
