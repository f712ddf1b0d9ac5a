// Whole runs of the learning program's connection flow against the stand-in server: a new
// user's first run, a returning user with a group member down, wrong log-ons, version checks,
// log-off and the answers left by a crash.
#include "flow_fixture.h"

#include "core/language_pack.h"
#include "core/word_list.h"

#include <QFileInfo>

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

}  // namespace
}  // namespace zabko::test
