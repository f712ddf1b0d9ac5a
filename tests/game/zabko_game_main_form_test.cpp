#include "game/zabko_game_main_form.h"

#include "net/flow_ui.h"
#include "platform/registry_ini_file.h"
#include "tests/game/game_server_fixture.h"

#include <gtest/gtest.h>

namespace zabko::test {
namespace {

class TNoDownload : public IFileListDownload {
 public:
  bool DownloadFilesWithProgress(const QString& folder, const QString&, const TDataPacket&, const QString&,
                                 const QString&, const QString&, bool) override {
    folders << folder;
    return true;
  }
  QStringList folders;
};

// The learning program's stored log-on, removed again at the end.
class TStoredLogOn {
 public:
  TStoredLogOn(const QByteArray& user, const QByteArray& password) : key_("Software\\Kestrani\\Zabkolex") {
    key_.WriteString("Login", "LastUsername", user);
    key_.WriteString("Login", "LastPassword", password);
  }
  ~TStoredLogOn() {
    key_.WriteString("Login", "LastUsername", "");
    key_.WriteString("Login", "LastPassword", "");
  }

 private:
  TRegistryIniFile key_;
};

TEST(GameMainFormTest, TheServerIsTheFirstArgumentAndWithoutOneOrALogOnTheProgramEnds) {
  struct TCase {
    QStringList arguments;
    QByteArray url;
  } cases[] = {
      {{"Zabkoplay", "http://127.0.0.1:1/app/", "10"}, "http://127.0.0.1:1/app/"},
      {{"Zabkoplay"}, ""},
  };
  for (const TCase& c : cases) {
    TZabkoGameMainForm::TOptions options;
    options.arguments = c.arguments;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    TZabkoGameMainForm form(options);
    EXPECT_EQ(form.GetServerURL(), c.url) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(form.Closing(), c.url.isEmpty());
  }
}

class GameMainFormConnectTest : public GameServerTest {};

TEST_P(GameMainFormConnectTest, AStoredLogOnAuthenticatesAndTheHandShakeUserIdIsKept) {
  TStoredLogOn logOn(kUser, kPassword);
  TNoDownload download;
  bool ended = false;
  TZabkoGameMainForm::TOptions options;
  options.arguments = {"Zabkoplay", QString::fromUtf8(server_->BaseUrl(dev::TDevServer::MemberName(0))), "10"};
  options.makeClient = [this] { return std::make_unique<TGameClient>(new TInProcessChannel(*server_), true); };
  options.progress = &runner_;
  options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
  options.download = &download;
  options.terminate = [&] { ended = true; };
  options.showMessage = [](const QString& text) { ADD_FAILURE() << text.toStdString(); };
  TZabkoGameMainForm form(options);
  ASSERT_FALSE(form.Closing());
  form.FormActivate();
  form.FormActivate();
  EXPECT_FALSE(ended);
  EXPECT_TRUE(form.Client().Authenticated);
  ASSERT_EQ(runner_.runs.size(), 1u) << "the connect job runs once";
  EXPECT_EQ(download.folders.size(), 1);
  EXPECT_FALSE(form.UId().isEmpty());
  EXPECT_EQ(form.Parameters().ReadString(kMainSection, kUIdValue, ""), form.UId());
  const std::vector<QByteArray> methods = Methods();
  EXPECT_NE(std::find(methods.begin(), methods.end(), QByteArray("Game.HandShake")), methods.end());
}

INSTANTIATE_TEST_SUITE_P(InProcess, GameMainFormConnectTest, ::testing::Values(false));

}  // namespace
}  // namespace zabko::test
