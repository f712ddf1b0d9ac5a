// Whole runs of the learning program's connection flow against the stand-in server: a new
// user's first run, a returning user with a group member down, wrong log-ons, version checks,
// log-off and the answers left by a crash.
#include "flow_fixture.h"

#include "core/language_pack.h"
#include "core/word_list.h"

#include <QFileInfo>

#include <cmath>

namespace zabko::test {
namespace {

using dev::TFaultKind;

// A server message as the server sends it.
std::unique_ptr<TDataPacket> Message(qint32 id, TDateTime from, TDateTime until, qint32 count, qint32 period,
                                     const QByteArray& link, const QStringList& texts) {
  auto m = std::make_unique<TDataPacket>();
  m->AddInteger(id);
  m->AddInteger(count);
  m->AddInteger(period);
  m->AddDate(from);
  m->AddDate(until);
  m->AddString(link);
  for (const QString& t : texts) m->AddUTFString(t);
  return m;
}

TEST_F(FlowTest, NewUsersFirstRunReachesTheWorkingServerAndLoadsEverything) {
  // What the server knows of the user from before (marks and answers made on the web).
  WithStore([&](dev::TDevStore& s) {
    s.SetWordState(userKey_, kEnglish, 20002, {1, false});
    s.SetWordState(userKey_, kEnglish, 20003, {0, true});
    s.LogAnswer(kEnglish, 20001, false, QDateTime::currentMSecsSinceEpoch());
  });
  server_->WithState([](dev::TDevProtocol& p) {
    p.StatusMessages().AddPacket(Message(7, 0, 100000, 1, 0, "https://zabkolex.example/news",
                                         {"News", "Hello", "", "", ""}));
  });

  // Splash: the language files from the default server, the only one a new user knows.
  ASSERT_TRUE(flow_->UpdateLanguageFiles());
  ASSERT_EQ(download_.calls.size(), 1u);
  EXPECT_EQ(download_.calls[0].folder, DataPath(""));
  EXPECT_EQ(download_.calls[0].indexName, "LangIndex.dat");
  EXPECT_EQ(download_.calls[0].line1, "The update takes about 2 minutes.");
  EXPECT_TRUE(download_.calls[0].hebrew);
  EXPECT_TRUE(QFileInfo::exists(DataPath("ClientPsyEnglish.dat")));
  EXPECT_TRUE(QFileInfo::exists(DataPath("LangIndex.dat")));
  LoadPacks();
  ASSERT_EQ(central_->LanguagePacks().size(), 2u);

  flow_->ConnectToServer();
  ASSERT_EQ(runner_.runs.size(), 1u);
  EXPECT_EQ(runner_.runs[0].caption, "Connecting to the server...");
  EXPECT_EQ(runner_.runs[0].steps, 3 * 1 + 2);
  EXPECT_EQ(runner_.runs[0].stepped, 0);
  EXPECT_EQ(Client().GetBaseURL(), Url("default"));
  EXPECT_FALSE(flow_->MustClose);

  flow_->RunLoginDialog();
  ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
  EXPECT_TRUE(runner_.exceptions.isEmpty());
  EXPECT_EQ(runner_.runs[1].caption, "Logging on...");
  EXPECT_EQ(runner_.runs[1].steps, 11);
  // The group came from the default server; the record is saved under the user's key.
  EXPECT_EQ(ServersOf("FindUserCube"), std::vector<QByteArray>{"default"});
  EXPECT_EQ(Cube().UserKey, userKey_);
  EXPECT_EQ(Cube().Username, kUser);
  EXPECT_EQ(Cube().CubeServer, Url("cube"));
  ASSERT_EQ(Cube().CubeMembers.size(), 2u);
  EXPECT_EQ(Cube().CubeMembers[1].url, Url("member1"));
  EXPECT_EQ(TRegistryIniFile("Software\\Kestrani\\Zabkolex").ReadString("Users", "LastUser", ""), userKey_);
  // No metadata yet and every member at 0: the main member works, with the local count -1.
  EXPECT_EQ(ServersOf("GetDataCount"), (std::vector<QByteArray>{"member0", "member1"}));
  ASSERT_EQ(Requests("LogOn").size(), 1u);
  const auto logOn = Requests("LogOn")[0];
  EXPECT_EQ(logOn.server, "member0");
  EXPECT_EQ(logOn.arguments->GetInteger(0), -1);
  EXPECT_TRUE(logOn.arguments->GetBoolean(0));
  EXPECT_EQ(Client().GetBaseURL(), Url("member0"));
  EXPECT_TRUE(Client().IsLoggedOn());

  // The word status reached the packs, the hot words the main window, the messages the flow.
  TLanguagePack& english = *central_->LanguagePacks()[1];
  const TWord* book = english.WordList().FindById(20002);
  ASSERT_NE(book, nullptr);
  EXPECT_EQ(english.GetCount(english.GetLetterIndex(*book), 1), 1);
  EXPECT_TRUE(english.WordList().FindById(20003)->Known);
  EXPECT_FALSE(book->Known);
  EXPECT_EQ(window_->hotWordCalls, 1);
  ASSERT_GE(window_->hotWords.PacketCount(), 3);
  EXPECT_EQ(window_->hotWords.GetPacket(2)->GetInteger(0), 20001);
  EXPECT_EQ(flow_->Messages.PacketCount(), 1);

  // The data files from the working server, then the pronunciations and the player.
  flow_->UpdateDataFiles();
  EXPECT_EQ(ServersOf("GetDownloadFiles"), std::vector<QByteArray>{"member0"});
  ASSERT_EQ(download_.calls.size(), 2u);
  EXPECT_EQ(download_.calls[1].folder, DataPath("Data/"));
  EXPECT_EQ(download_.calls[1].indexName, "Index.dat");
  EXPECT_EQ(download_.calls[1].files, 49);
  for (const QString& name : central_->AudioResourceNames()) EXPECT_TRUE(QFileInfo::exists(DataPath(name))) << name.toStdString();
  EXPECT_EQ(playersMade_, 1);
  ASSERT_NE(central_->ResManager(), nullptr);
  EXPECT_GT(central_->ResManager()->Open("1.mp3"), 0);

  // The delayed start shows the pending message once, with its web link.
  flow_->ShowPendingMessages();
  flow_->ShowPendingMessages();
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, "News");
  EXPECT_EQ(messages_.boxes[0].text, "Hello");
  EXPECT_EQ(messages_.boxes[0].links, QStringList{"https://zabkolex.example/news"});
}


// A returning user whose first member is down: the version check passes on to the second
// member, and the log-on takes it as the working server when the group server names it.
TEST_F(FlowTest, ReturningUserWithTheFirstMemberDown) {
  StartAndLogOn();
  flow_->LogOffAtExit();
  WithStore([&](dev::TDevStore& s) {
    s.SetDataCount("member1", userKey_, 4);
    s.SetMetaData(userKey_, {4, Url("member1") + "AccessIn.ashx?page=CUBEMEMBER"});
  });
  server_->TakeDown("member0");
  StartRun();
  LoadPacks();
  flow_->ConnectToServer();
  ASSERT_FALSE(flow_->MustClose);
  // Members, group server and default server can be tried: 3 x 4 + 2 steps, 3 used on member0.
  EXPECT_EQ(runner_.runs[0].steps, 14);
  EXPECT_EQ(runner_.runs[0].stepped, 3);
  EXPECT_EQ(Client().GetBaseURL(), Url("member1"));

  flow_->RunLoginDialog();
  ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
  EXPECT_TRUE(Requests("FindUserCube").empty()) << "the stored group is used";
  EXPECT_EQ(ServersOf("LogOn"), std::vector<QByteArray>{"member1"});
  EXPECT_EQ(Cube().HasWorkingServer, 1);
}

TEST_F(FlowTest, WithoutMetadataAMemberDownStopsTheLogOn) {
  StartAndLogOn();
  flow_->LogOffAtExit();
  // The group server still knows the user (so the record stays) but names no working server.
  Fault("cube", "GetDataMetaData", TFaultKind::MissingFields);
  server_->TakeDown("member1");
  StartRun();
  flow_->RunLoginDialog();
  EXPECT_TRUE(flow_->MustClose);
  EXPECT_EQ(runner_.exceptions, QStringList{"Too many servers down. Servers up: 1"});
  EXPECT_TRUE(Requests("LogOn").empty());
}

TEST_F(FlowTest, VersionCheckTriesEachServerThreeTimes) {
  StartAndLogOn();
  flow_->LogOffAtExit();
  Fault("member0", "CheckVersion", TFaultKind::Http500);
  Fault("member1", "CheckVersion", TFaultKind::Http500, 2);
  StartRun();
  flow_->ConnectToServer();
  EXPECT_FALSE(flow_->MustClose);
  EXPECT_EQ(runner_.runs[0].stepped, 5);
  EXPECT_EQ(ServersOf("CheckVersion"),
            (std::vector<QByteArray>{"member0", "member0", "member0", "member1", "member1", "member1"}));
  EXPECT_EQ(Client().GetBaseURL(), Url("member1"));

  // No server at all: the connection error, and the program must close.
  for (const QByteArray& name : server_->ServerNames()) server_->TakeDown(name);
  StartRun();
  flow_->ConnectToServer();
  EXPECT_TRUE(flow_->MustClose);
  EXPECT_EQ(window_->connectionErrors, 1);
  EXPECT_EQ(runner_.runs[0].stepped, 3 * 4);
}

TEST_F(FlowTest, VersionCheckOutcomes) {
  struct Case {
    const char* name;
    qint32 version, serverType;
    QByteArray link;
    bool mustClose;
    int boxes, invalidServer;
    QStringList links;
  } cases[] = {
      {"same version shows the due message", 30, 7001, "https://zabkolex.example/new", false, 1, 0, {"https://x.example/"}},
      {"newer version", 31, 7001, "https://zabkolex.example/new", true, 1, 0, {"https://zabkolex.example/new"}},
      {"newer version with a link that is not a web link", 31, 7001, "file:///etc/passwd", true, 1, 0, {}},
      {"another kind of server", 30, 7002, "https://zabkolex.example/new", true, 0, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_->WithState([&](dev::TDevProtocol& p) {
      p.Config().versionNumber = c.version;
      p.Config().serverType = c.serverType;
      p.Config().link = c.link;
      p.VersionMessages().Clear();
      p.VersionMessages().AddPacket(Message(1, 0, 100000, 5, 0, "https://x.example/", {"Hi", "Text"}));
    });
    TRegistryIniFile("Software\\Kestrani\\Zabkolex").EraseSection("Messages");
    StartRun();
    flow_->ConnectToServer();
    EXPECT_EQ(flow_->MustClose, c.mustClose);
    EXPECT_EQ(window_->invalidServer, c.invalidServer);
    ASSERT_EQ(messages_.boxes.size(), size_t(c.boxes));
    if (c.boxes == 0) continue;
    EXPECT_EQ(messages_.boxes[0].links, c.links);
    if (c.version > 30) {
      EXPECT_EQ(messages_.boxes[0].caption, "New version");
      EXPECT_EQ(messages_.boxes[0].text, central_->Strings().GetString("NewVersionText"));
    }
  }
}

// The message of the version check follows its counters across runs: shown once, then never.
TEST_F(FlowTest, VersionMessageIsShownByItsDueRuleAndNotAgain) {
  server_->WithState([&](dev::TDevProtocol& p) {
    p.VersionMessages().AddPacket(Message(42, clock_.now - 1, clock_.now + 1, 1, 0, "", {"Cap", "Once"}));
  });
  flow_->ConnectToServer();
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, "Once");
  EXPECT_TRUE(messages_.boxes[0].links.isEmpty());
  const TRegistryIniFile settings("Software\\Kestrani\\Zabkolex");
  EXPECT_EQ(settings.ReadInteger("Messages\\42", "Count", -1), 0);
  EXPECT_EQ(settings.ReadDateTime("Messages\\42", "Last", 0), std::floor(clock_.now));
  StartRun();
  flow_->ConnectToServer();
  EXPECT_TRUE(messages_.boxes.empty());
}

TEST_F(FlowTest, WrongLogOnsShowTheWrongLogOnBox) {
  struct Case {
    const char* name;
    bool returning;  // the record of the group is stored from an earlier run
  } cases[] = {{"new user: no server knows the name and password", false},
               {"returning user: the member refuses the password", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.returning) {
      StartRun();
      StartAndLogOn();
      flow_->LogOffAtExit();
    }
    StartRun();
    login_.attempts = {{kUser, "wrong"}};
    server_->ClearLog();
    flow_->RunLoginDialog();
    EXPECT_TRUE(flow_->MustClose);
    EXPECT_EQ(window_->connectionErrors, 0);
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0].caption, "Error");
    EXPECT_EQ(messages_.boxes[0].text, central_->Strings().GetString("WrongLogingFull"));
    EXPECT_EQ(messages_.boxes[0].links, QStringList{"https://zabkolex.example/register"});
    EXPECT_EQ(Requests("FindUserCube").size(), c.returning ? 0u : 1u);
    EXPECT_EQ(Requests("LogOn").size(), c.returning ? 1u : 0u);
    EXPECT_FALSE(Client().IsLoggedOn());
  }
  // The right password on a second try logs on.
  StartRun();
  login_.attempts = {{kUser, "wrong"}, {kUser, kPassword}};
  flow_->RunLoginDialog();
  EXPECT_FALSE(flow_->MustClose);
  EXPECT_TRUE(Client().IsLoggedOn());
}

TEST_F(FlowTest, LogOffSavesTheReplyAsTheUsersDataFile) {
  StartAndLogOn();
  AddAnswers(2);
  ASSERT_TRUE(flow_->UploadAnswersWithProgress());
  qint32 count = 0;
  WithStore([&](dev::TDevStore& s) { count = s.DataCount("member0", userKey_); });
  ASSERT_GT(count, 0);
  flow_->LogOffAtExit();
  ASSERT_EQ(Requests("LogOff").size(), 1u);
  const auto logOff = Requests("LogOff")[0];
  EXPECT_EQ(logOff.arguments->IntegerCount(), 2);
  EXPECT_EQ(logOff.arguments->GetInteger(1), 2);
  EXPECT_TRUE(logOff.arguments->GetBoolean(0));
  EXPECT_FALSE(Client().IsLoggedOn());
  TDBHandler data;
  const QString dataFile = DataPath("Users/" + QString::fromLatin1(userKey_) + ".data");
  data.LoadFromFile(dataFile);
  EXPECT_EQ(data.LocalDataCount(), count);
  EXPECT_EQ(test::FileMode(dataFile), 0600) << "the user's data is the user's only";
  // At log-on the group server held no metadata: no data count update.
  EXPECT_TRUE(Requests("UpdateDataCount").empty());

  // The next run sends that count with the log-on; the group server now holds metadata, so the
  // log-off brings its count up to date and the client returns to the working server.
  StartRun();
  StartAndLogOn();
  flow_->LogOffAtExit();
  EXPECT_EQ(ServersOf("UpdateDataCount"), std::vector<QByteArray>{"cube"});
  EXPECT_EQ(Requests("UpdateDataCount")[0].arguments->GetString(0), userKey_);
  EXPECT_EQ(Client().GetBaseURL(), Url("member0"));
}

TEST_F(FlowTest, NextLogOnSendsTheLocalDataCount) {
  StartAndLogOn();
  WithStore([&](dev::TDevStore& s) { s.SetDataCount("member0", userKey_, 6); });
  flow_->LogOffAtExit();
  StartRun();
  LoadPacks();
  flow_->RunLoginDialog();
  ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
  ASSERT_EQ(Requests("LogOn").size(), 1u);
  EXPECT_EQ(Requests("LogOn")[0].arguments->GetInteger(0), 6);
}

TEST_F(FlowTest, FailedLogOffWritesTheEmptyPacket) {
  struct Case {
    const char* name;
    TFaultKind kind;
  } cases[] = {{"error status", TFaultKind::ErrorStatus},
               {"not logged", TFaultKind::NotLogged},
               {"no answer body", TFaultKind::Http500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartRun();
    StartAndLogOn();
    dev::TFault fault;
    fault.kind = c.kind;
    fault.withErrorNumber = true;
    fault.errorNumber = 55;
    server_->SetFault("", "LogOff", fault);
    const QString file = DataPath("Users/" + QString::fromLatin1(userKey_) + ".data");
    QFile::remove(file);
    flow_->LogOffAtExit();
    server_->ClearFaults();
    ASSERT_TRUE(QFileInfo::exists(file));
    TDBHandler data;
    data.LoadFromFile(file);
    EXPECT_EQ(data.LocalDataCount(), -1);
    EXPECT_EQ(data.Data().StringCount(), 0);
  }
}

TEST_F(FlowTest, NotLoggedOnAtExitSendsNothingAndWritesNothing) {
  flow_->ConnectToServer();
  server_->ClearLog();
  flow_->LogOffAtExit();
  EXPECT_TRUE(server_->Log().empty());
  EXPECT_FALSE(QDir(DataPath("Users")).exists() && !QDir(DataPath("Users")).isEmpty());
}

TEST_F(FlowTest, AnswersLeftByACrashGoUpAtTheNextLogOn) {
  StartAndLogOn();
  AddAnswers(3);
  // The answer saver's last save; then the program dies without log-off.
  central_->AnswerHolder().SaveToFile(window_->GetAnswersFileName());
  StartRun();
  EXPECT_TRUE(central_->AnswerHolder().IsEmpty());
  LoadPacks();
  flow_->RunLoginDialog();
  ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
  ASSERT_EQ(Requests("UpdateWords").size(), 1u);
  EXPECT_EQ(Requests("UpdateWords")[0].arguments->PacketCount(), 3);
  EXPECT_EQ(Requests("UpdateWords")[0].server, "member0");
  EXPECT_TRUE(central_->AnswerHolder().IsEmpty());
  TAnswerHolder saved;
  saved.LoadFromFile(window_->GetAnswersFileName());
  EXPECT_TRUE(saved.IsEmpty());
}

TEST_F(FlowTest, AnswersOfOneUserAreNeverSentUnderTheNext) {
  // Dana's answers wait in her file; their upload fails, so the learner logs on as Bob instead.
  server_->AddUser("bob", "pw");
  {
    TAnswerHolder pending;
    for (int i = 0; i < 3; ++i) pending.AddAnswer(kEnglish, 20001, nullptr, kAnswerRight);
    pending.SaveToFile(DataPath("Users\\" + QString::fromLatin1(userKey_) + ".answers"));
  }
  ASSERT_TRUE(flow_->UpdateLanguageFiles());
  LoadPacks();
  flow_->ConnectToServer();
  Fault("", "UpdateWords", TFaultKind::Http500);
  login_.attempts = {{kUser, kPassword}, {"bob", "pw"}};
  server_->ClearLog();
  flow_->RunLoginDialog();
  EXPECT_FALSE(flow_->MustClose);
  EXPECT_EQ(Client().UserName, "bob");
  const auto uploads = Requests("UpdateWords");
  EXPECT_EQ(uploads.size(), 3u);
  for (const auto& upload : uploads) EXPECT_EQ(upload.userName, QByteArray(kUser));
  EXPECT_TRUE(central_->AnswerHolder().IsEmpty());
  TAnswerHolder danas;
  danas.LoadFromFile(DataPath("Users\\" + QString::fromLatin1(userKey_) + ".answers"));
  EXPECT_EQ(danas.Count(), 3) << "Dana's answers wait for her next log-on";
}

}  // namespace
}  // namespace zabko::test
