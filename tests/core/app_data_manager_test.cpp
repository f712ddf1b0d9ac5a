#include "core/app_data_manager.h"
#include "platform/exception.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace zabko {
namespace {

// Sets or clears an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<QString> value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) old_ = qEnvironmentVariable(name);
    if (value) {
      qputenv(name, value->toUtf8());
    } else {
      qunsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      qputenv(name_, old_->toUtf8());
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<QString> old_;
};

TEST(AppDataManagerTest, FolderIsFoundAndCreatedUnderTheDataHome) {
  QTemporaryDir tmp;
  const QString home = tmp.path() + "/home";
  const QString dataHome = tmp.path() + "/xdg/deep/share";
  struct Case {
    const char* what;
    std::optional<QString> xdg;
    QString expected;
  };
  const Case cases[] = {
      {"XDG_DATA_HOME set", dataHome, dataHome + "/Kestrani Zabkolex/"},
      {"XDG_DATA_HOME with a trailing slash", dataHome + "/", dataHome + "/Kestrani Zabkolex/"},
      {"XDG_DATA_HOME unset", std::nullopt, home + "/.local/share/Kestrani Zabkolex/"},
      {"XDG_DATA_HOME empty", QString(), home + "/.local/share/Kestrani Zabkolex/"},
      {"XDG_DATA_HOME relative", QString("relative/share"), home + "/.local/share/Kestrani Zabkolex/"},
  };
  ScopedEnv homeEnv("HOME", home);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(tmp.path()).removeRecursively();
    QDir().mkpath(tmp.path());
    ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
    TAppDataManager data("Kestrani Zabkolex");
    EXPECT_EQ(data.Path(), c.expected);
    EXPECT_TRUE(QFileInfo(c.expected).isDir());
    EXPECT_EQ(data.FolderName(), "Kestrani Zabkolex");
  }
}

TEST(AppDataManagerTest, EmptyNameIsTheDataHomeItself) {
  QTemporaryDir tmp;
  ScopedEnv xdg("XDG_DATA_HOME", tmp.path() + "/new");
  TAppDataManager data{QString()};
  EXPECT_EQ(data.Path(), tmp.path() + "/new/");
  EXPECT_TRUE(QFileInfo(tmp.path() + "/new").isDir());
}

TEST(AppDataManagerTest, GetPathJoinsWithoutTestsAndTurnsBackslashesIntoSlashes) {
  QTemporaryDir tmp;
  ScopedEnv xdg("XDG_DATA_HOME", tmp.path());
  TAppDataManager data("Kestrani Zabkolex");
  const QString root = tmp.path() + "/Kestrani Zabkolex/";
  EXPECT_EQ(data.GetPath("Users\\abc.data"), root + "Users/abc.data");
  EXPECT_EQ(data.GetPath("MainLog.txt"), root + "MainLog.txt");
  EXPECT_FALSE(QFileInfo::exists(root + "Users"));
}

TEST(AppDataManagerTest, NoDataHomeAndNoHomeFails) {
  ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
  ScopedEnv home("HOME", std::nullopt);
  try {
    TAppDataManager data("Kestrani Zabkolex");
    FAIL() << "no failure, path " << data.Path().toStdString();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Could not find value for parameter XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace zabko
