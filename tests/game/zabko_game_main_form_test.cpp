#include "game/zabko_game_main_form.h"

#include "net/flow_ui.h"
#include "core/cube_management.h"
#include "platform/registry_ini_file.h"
#include "tests/game/game_server_fixture.h"

#include <QFile>

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
    bool storedRecord;
    QByteArray url;
  } cases[] = {
      {{"Zabkoplay", "http://127.0.0.1:1/app/", "10"}, true, "http://127.0.0.1:1/app/"},
      {{"Zabkoplay", "http://127.0.0.1:1/app/", "10"}, false, "http://127.0.0.1:1/app/"},
      {{"Zabkoplay"}, true, "http://member-a/app/"},
      {{"Zabkoplay"}, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString() + (c.storedRecord ? " with a record" : " without one"));
    TRegistryIniFile key("Software\\Kestrani\\Zabkolex");
    auto cube = CreateCubeManagement(key);
    if (c.storedRecord) {
      cube->UserKey = "K1";
      cube->Username = "demo";
      cube->CubeMembers = {{"http://member-a/app/", 0}, {"http://member-b/app/", 1}};
      cube->SaveUser();
      key.WriteString("Login", "Id", "K1");
    } else {
      cube->ClearUser();
      key.WriteString("Login", "Id", "");
      key.WriteString("Login", "User", "");
    }
    TZabkoGameMainForm::TOptions options;
    options.arguments = c.arguments;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    TZabkoGameMainForm form(options);
    EXPECT_EQ(form.GetServerURL(), c.url) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(form.Closing(), c.url.isEmpty());
  }
}

// The connect job over the stand-in server with a stored log-on, as the learning program leaves it.
class GameMainFormSessionTest : public GameServerTest {
 protected:
  std::unique_ptr<TZabkoGameMainForm> MakeForm() {
    TZabkoGameMainForm::TOptions options;
    options.arguments = {"Zabkoplay", QString::fromUtf8(server_->BaseUrl(dev::TDevServer::MemberName(0))), "10"};
    options.makeClient = [this] { return std::make_unique<TGameClient>(new TInProcessChannel(*server_), true); };
    options.progress = &runner_;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    options.download = &download_;
    options.terminate = [this] { ++ended_; };
    options.showMessage = [this](const QString& text) { messages_ << text; };
    options.confirm = [this](const QString&) { return yes_; };
    return std::make_unique<TZabkoGameMainForm>(options);
  }
  static QString LearningKeyFile() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Kestrani/Zabkolex.ini");
  }
  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  std::vector<dev::TLoggedRequest> Requests(const QByteArray& method) const {
    std::vector<dev::TLoggedRequest> found;
    for (const auto& e : server_->Log())
      if (e.method == method) found.push_back(e);
    return found;
  }

  TNoDownload download_;
  int ended_ = 0;
  QStringList messages_;
  bool yes_ = true;
};

TEST_P(GameMainFormSessionTest, ConnectOutcomes) {
  struct TCase {
    const char* name;
    QByteArray password;
    std::function<void()> arrange;
    bool authenticated, ends;
    QString message;  // the box's text, empty for none
  };
  std::vector<TCase> cases = {
      {"stored log-on", kPassword, [] {}, true, false, {}},
      {"wrong password", "wrong", [] {}, false, false, {}},
      {"handshake refused",
       kPassword,
       [this] { server_->WithState([](dev::TDevProtocol& p) { p.Config().handShakeRefusal = "Come back later"; }); },
       true,
       true,
       "Come back later"},
      {"handshake fault", kPassword, [this] { Fault("Game.HandShake", dev::TFaultKind::Http500); }, true, true,
       "FailedConnection"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    server_->ClearFaults();
    server_->WithState([](dev::TDevProtocol& p) { p.Config().handShakeRefusal.clear(); });
    c.arrange();
    TStoredLogOn logOn(kUser, c.password);
    ended_ = 0;
    messages_.clear();
    download_.folders.clear();
    auto form = MakeForm();
    // A user id from an earlier game goes with the handshake.
    form->Parameters().WriteString(kMainSection, kUIdValue, "G77");
    server_->ClearLog();
    form->FormActivate();
    EXPECT_EQ(form->Client().Authenticated, c.authenticated);
    EXPECT_EQ(ended_ > 0, c.ends);
    EXPECT_TRUE(Requests("UpdateWords").empty()) << "nothing is uploaded at the start";
    const auto shakes = Requests("Game.HandShake");
    ASSERT_FALSE(shakes.empty());
    EXPECT_EQ(shakes[0].arguments->GetInteger(0), 2);
    EXPECT_EQ(shakes[0].arguments->GetString(0), "G77");
    EXPECT_EQ(shakes[0].arguments->IntegerCount(), 1) << "no session yet";
    // The user id is written back whatever the handshake answered.
    EXPECT_EQ(form->Parameters().ReadString(kMainSection, kUIdValue, "-"), "G77");
    if (c.message.isEmpty()) {
      EXPECT_TRUE(messages_.isEmpty()) << messages_.join('|').toStdString();
      EXPECT_EQ(download_.folders.size(), 1) << "the music is fetched";
    } else {
      const QString expected = c.message == "FailedConnection"
                                   ? form->Strings().GetString("GameWebControl.FailedConnection")
                                   : c.message;
      EXPECT_EQ(messages_, QStringList{expected});
      EXPECT_TRUE(download_.folders.isEmpty());
    }
  }
}

TEST_P(GameMainFormSessionTest, TheConnectJobRunsOnceAndAuthenticatesAStoredLogOn) {
  TStoredLogOn logOn(kUser, kPassword);
  auto form = MakeForm();
  ASSERT_FALSE(form->Closing());
  form->FormActivate();
  form->FormActivate();
  EXPECT_EQ(ended_, 0);
  EXPECT_TRUE(form->Client().Authenticated);
  ASSERT_EQ(runner_.runs.size(), 1u) << "the connect job runs once";
  EXPECT_EQ(download_.folders.size(), 1);
  EXPECT_FALSE(form->UId().isEmpty()) << "a first game gets its user id";
  EXPECT_EQ(form->Parameters().ReadString(kMainSection, kUIdValue, ""), form->UId());
}

TEST_P(GameMainFormSessionTest, YesAtCloseSendsTheLastHandshakeAndLogsOffLeavingTheLearningKeyAlone) {
  TStoredLogOn logOn(kUser, kPassword);
  const QByteArray before = ReadAll(LearningKeyFile());
  ASSERT_FALSE(before.isEmpty());
  {
    auto form = MakeForm();
    form->FormActivate();
    ASSERT_EQ(ended_, 0);
    server_->ClearLog();
    yes_ = false;
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_TRUE(Requests("Game.HandShake").empty()) << "No keeps the session";
    yes_ = true;
    EXPECT_TRUE(form->FormCloseQuery());
    const auto shakes = Requests("Game.HandShake");
    ASSERT_EQ(shakes.size(), 1u);
    EXPECT_EQ(shakes[0].arguments->IntegerCount(), 2) << "the kind and the session";
    EXPECT_NE(shakes[0].arguments->GetInteger(1), -1);
    EXPECT_TRUE(form->FormCloseQuery());
    EXPECT_EQ(Requests("Game.HandShake").size(), 1u) << "sent once";
  }
  const auto offs = Requests("LogOff");
  ASSERT_EQ(offs.size(), 1u);
  EXPECT_EQ(offs[0].arguments->IntegerCount(), 2);
  EXPECT_EQ(offs[0].arguments->GetInteger(0), -1);
  EXPECT_EQ(ReadAll(LearningKeyFile()), before) << "the learning program's key is only read";
}

INSTANTIATE_TEST_SUITE_P(InProcess, GameMainFormSessionTest, ::testing::Values(false));


}  // namespace
}  // namespace zabko::test
