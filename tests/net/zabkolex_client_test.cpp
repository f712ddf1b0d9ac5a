#include "net/zabkolex_client.h"

#include "core/data_packet.h"
#include "core/exception_log.h"
#include "devserver/dev_server.h"
#include "platform/exception.h"
#include "tests/net/dev_fixture.h"
#include "tests/net/scripted_channel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace zabko {
namespace {

using dev::TDevServer;
using dev::TFault;
using dev::TFaultKind;
using test::DevServerTest;

class ClientTest : public DevServerTest {};

// Every request's envelope and arguments as the server received them.
TEST_P(ClientTest, RequestsArriveWithTheirEnvelopeAndArguments) {
  LogOn();
  const qint32 session = client_->SessionId;
  client_->UserKey = "K9";
  struct Case {
    QByteArray method;
    bool session;
    std::function<void(TZabkolexClient&)> call;
    std::function<void(TDataPacket&)> args;
  };
  QStringList list;
  TDataPacket result;
  std::vector<TTestQuestion> questions;
  const Case cases[] = {
      {"CheckVersion", false,
       [](TZabkolexClient& c) {
         qint32 v, t;
         QByteArray a, l, e1, e2;
         c.CheckVersion(true, v, a, l, e1, e2, t, nullptr);
       },
       [](TDataPacket& a) { a.AddBoolean(true); }},
      {"GetFilterList", true,
       [&](TZabkolexClient& c) { c.GetFilterList(list, 1, 3, 2, 20, -2, 7); },
       [](TDataPacket& a) {
         a.AddByte(1), a.AddByte(3), a.AddByte(2);
         a.AddInteger(20), a.AddInteger(-2), a.AddInteger(7);
       }},
      {"GetFilterList2", true, [&](TZabkolexClient& c) { c.GetFilterList2(list, 0, 21, 1, 2, 10); },
       [](TDataPacket& a) {
         a.AddByte(0), a.AddByte(21), a.AddByte(1), a.AddByte(2);
         a.AddInteger(10);
       }},
      {"GetWordsStatus", true, [&](TZabkolexClient& c) { c.GetWordsStatus(result); }, {}},
      {"GetHotWordsData", true, [&](TZabkolexClient& c) { c.GetHotWordsData(result); }, {}},
      {"GetQuestions", true,
       [&](TZabkolexClient& c) { c.GetQuestions(2, 4, 20, 1, -2, 20, true, false, questions); },
       [](TDataPacket& a) {
         a.AddByte(2), a.AddByte(4);
         a.AddInteger(20), a.AddInteger(1), a.AddInteger(-2), a.AddInteger(20);
         a.AddBoolean(true);
       }},
      {"Game.GetQuestions", true,
       [&](TZabkolexClient& c) { c.GetQuestions(0, 25, 20, 1, 1, 200, false, true, questions); },
       [](TDataPacket& a) {
         a.AddByte(0), a.AddByte(25);
         a.AddInteger(20), a.AddInteger(200);
         a.AddBoolean(false);
       }},
      {"GetDownloadFiles", false, [&](TZabkolexClient& c) { c.GetDownloadFiles(30, true, false, result); },
       [](TDataPacket& a) { a.AddInteger(30), a.AddBoolean(true), a.AddBoolean(false); }},
      {"GetPreDownloadFiles", false,
       [&](TZabkolexClient& c) { c.GetPreDownloadFiles(30, "http://x/app/", result); },
       [](TDataPacket& a) { a.AddInteger(30), a.AddString("http://x/app/"); }},
      {"FindUserCube", false, [&](TZabkolexClient& c) { c.FindUserCube(result); },
       [](TDataPacket& a) { a.AddString(kUser), a.AddString(kPassword); }},
      {"UpdateDataCount", false, [](TZabkolexClient& c) { c.UpdateDataCount(); },
       [](TDataPacket& a) { a.AddString("K9"); }},
      {"SetDataMetaData", false, [](TZabkolexClient& c) { c.SetDataMetaData(12, "http://w/"); },
       [](TDataPacket& a) { a.AddString("K9"), a.AddInteger(12), a.AddString("http://w/"); }},
      {"GetDataMetaData", false,
       [](TZabkolexClient& c) {
         qint32 n;
         QByteArray u;
         c.GetDataMetaData(n, u);
       },
       [](TDataPacket& a) { a.AddString("K9"), a.AddBoolean(false); }},
      {"GetDataCount", false,
       [](TZabkolexClient& c) {
         qint32 n;
         c.GetDataCount(n);
       },
       [](TDataPacket& a) { a.AddString("K9"); }},
      {"LogOff", true, [&](TZabkolexClient& c) { c.LogOff({5, -1}, &result); },
       [](TDataPacket& a) { a.AddInteger(5), a.AddInteger(-1), a.AddBoolean(true); }},
      {"LogOn", false, [](TZabkolexClient& c) { c.LogOn(17, true); },
       [](TDataPacket& a) {
         a.AddString(kUser), a.AddString(kPassword), a.AddInteger(17), a.AddBoolean(true);
       }},
  };
  for (const Case& c : cases) {
    server_->ClearLog();
    c.call(*client_);
    const dev::TLoggedRequest entry = Only(c.method);
    EXPECT_EQ(entry.session, c.session) << c.method.constData();
    if (c.session) {
      EXPECT_EQ(entry.sessionId, session) << c.method.constData();
      EXPECT_EQ(entry.userName, kUser) << c.method.constData();
    }
    TDataPacket expected;
    if (c.args) c.args(expected);
    ASSERT_TRUE(entry.arguments) << c.method.constData();
    EXPECT_EQ(entry.arguments->SaveToBytes(), expected.SaveToBytes())
        << c.method.constData() << "\n" << entry.arguments->ToText().toStdString();
    EXPECT_EQ(entry.path, "/app/AccessIn.ashx?page=APP");
  }
}

TEST_P(ClientTest, CheckVersionReadsTheServersAnswer) {
  server_->WithState([](dev::TDevProtocol& p) {
    p.Config().exitPage1 = "http://exit/1";
    p.Config().exitPage2 = "http://exit/2";
    p.VersionMessages().AddNewPacket()->AddInteger(42);
  });
  qint32 version = 0, type = 0;
  QByteArray answer, link, exit1, exit2;
  TDataPacket messages;
  client_->CheckVersion(false, version, answer, link, exit1, exit2, type, &messages);
  EXPECT_EQ(version, 30);
  EXPECT_EQ(type, 7001);
  EXPECT_FALSE(answer.isEmpty());
  EXPECT_EQ(exit1, "http://exit/1");
  EXPECT_EQ(exit2, "http://exit/2");
  ASSERT_EQ(messages.PacketCount(), 1);
  EXPECT_EQ(messages.GetPacket(0)->GetInteger(0), 42);
}

TEST_P(ClientTest, LogOnKeepsTheSessionAndFiresOnLogOn) {
  int fired = 0;
  client_->OnLogOn = [&](TZabkolexClient& c) {
    ++fired;
    EXPECT_GT(c.SessionId, 0);
  };
  TDataPacket info;
  ASSERT_TRUE(client_->LogOn(-1, true, &info));
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(client_->IsLoggedOn());
  EXPECT_FALSE(client_->LogOnRefused);
  EXPECT_EQ(client_->UserKey, userKey_);
  EXPECT_EQ(client_->LogOnValue, 1);
  EXPECT_EQ(client_->LastDataCount, -1);
  EXPECT_EQ(info.GetString(0), kUser);

  client_->Password = "wrong";
  EXPECT_FALSE(client_->LogOn(3, true));
  EXPECT_TRUE(client_->LogOnRefused);
  EXPECT_EQ(client_->SessionId, -1);
  EXPECT_EQ(client_->UserKey, userKey_) << "a refusal keeps the other fields";
  EXPECT_EQ(fired, 1);
}

TEST_P(ClientTest, QuestionsComeFromTheAskedLettersWithDistinctAnswers) {
  LogOn();
  std::vector<TTestQuestion> questions;
  ASSERT_TRUE(client_->GetQuestions(2, 4, 20, -2, -2, 20, false, false, questions));
  ASSERT_EQ(questions.size(), 12u) << "three letters of four words each";
  std::set<qint32> asked;
  server_->WithState([&](dev::TDevProtocol& p) {
    for (const TTestQuestion& q : questions) {
      const dev::TDevWord* word = p.Words().Find(20, q.WordId);
      ASSERT_NE(word, nullptr);
      EXPECT_GE(word->letter, 2);
      EXPECT_LE(word->letter, 4);
      const std::set<qint32> answers{q.Answer1, q.Answer2, q.Answer3, q.Answer4};
      EXPECT_EQ(answers.size(), 4u);
      EXPECT_TRUE(answers.count(q.WordId));
      EXPECT_EQ(q.CurrentStatus, 0);
      EXPECT_EQ(q.StatusIfRight, 1);
      EXPECT_EQ(q.StatusIfWrong, 0);
      asked.insert(q.WordId);
    }
  });
  EXPECT_EQ(asked.size(), 12u);
}

TEST_P(ClientTest, ListsAndDataCountsReadBack) {
  LogOn();
  QStringList all, unknown;
  ASSERT_TRUE(client_->GetFilterList(all, 0, 0, 0, 10, -2, -2));
  EXPECT_EQ(all, (QStringList{"10001", "10002", "10003", "10004"}));
  ASSERT_TRUE(client_->GetFilterList2(unknown, 0, 1, 0, 0, 10));
  EXPECT_EQ(unknown.size(), 8);

  TDataPacket status;
  ASSERT_TRUE(client_->GetWordsStatus(status));
  ASSERT_EQ(status.PacketCount(), 5);
  EXPECT_EQ(status.GetPacket(1)->IntegerCount(), 22 * 3);
  EXPECT_EQ(status.GetPacket(1)->GetInteger(0), 4) << "letter 0 of Hebrew: four words in status 0";
  EXPECT_EQ(status.GetPacket(3)->IntegerCount(), 26 * 3);

  server_->WithState([&](dev::TDevProtocol& p) {
    p.Store().SetDataCount(TDevServer::MemberName(0), userKey_, 9);
  });
  qint32 count = 0;
  ASSERT_TRUE(client_->GetDataCount(count));
  EXPECT_EQ(count, 9);

  // The log-on told the group its working server.
  qint32 metaCount = -5;
  QByteArray url;
  ASSERT_TRUE(client_->GetDataMetaData(metaCount, url));
  EXPECT_EQ(url, Url(TDevServer::MemberName(0)) + "AccessIn.ashx?page=CUBEMEMBER");
  client_->SetDataMetaData(11, "http://elsewhere/");
  ASSERT_TRUE(client_->GetDataMetaData(metaCount, url));
  EXPECT_EQ(metaCount, 11);
  EXPECT_EQ(url, "http://elsewhere/");
  bool has = false;
  ASSERT_TRUE(client_->HasDataMetaData(has));
  EXPECT_TRUE(has);
  client_->UserKey = "nobody";
  ASSERT_TRUE(client_->HasDataMetaData(has));
  EXPECT_FALSE(has);
  EXPECT_FALSE(client_->GetDataMetaData(metaCount, url)) << "no metadata: nothing to read";
  EXPECT_EQ(metaCount, 11);

  TDataPacket data;
  client_->LogOff({1, 2}, &data);
  EXPECT_EQ(client_->SessionId, -1);
  EXPECT_EQ(data.GetInteger(0), 9);
}

TEST_P(ClientTest, FindUserCubeGivesTheGroup) {
  TDataPacket cube;
  ASSERT_TRUE(client_->FindUserCube(cube));
  EXPECT_TRUE(cube.GetBoolean(0));
  EXPECT_EQ(cube.GetString(0), userKey_);
  const TDataPacket* group = cube.GetPacket(0);
  EXPECT_EQ(group->GetString(1), Url(TDevServer::kCubeServer) + "AccessIn.ashx?page=CUBE");
  ASSERT_EQ(group->PacketCount(), 2);
  EXPECT_EQ(group->GetPacket(1)->GetString(0),
            Url(TDevServer::MemberName(1)) + "AccessIn.ashx?page=CUBEMEMBER");
  EXPECT_EQ(group->GetPacket(1)->GetInteger(0), 1);

  client_->Password = "wrong";
  ASSERT_TRUE(client_->FindUserCube(cube));
  EXPECT_FALSE(cube.GetBoolean(0));
}

TEST_P(ClientTest, FileListsNameUrlHashAndVersion) {
  server_->WithState([](dev::TDevProtocol& p) {
    p.Files().Add(dev::TFileList::PreDownload, "ClientPsyEnglish.dat", "words", 3);
    p.Files().Add(dev::TFileList::Download, "Sounds E.dat", "sounds");
  });
  TDataPacket pre, data;
  ASSERT_TRUE(client_->GetPreDownloadFiles(30, client_->GetBaseURL(), pre));
  ASSERT_EQ(pre.PacketCount(), 1);
  const TDataPacket* f = pre.GetPacket(0);
  EXPECT_EQ(f->GetString(0), Url(TDevServer::MemberName(0)) + "files/pre/ClientPsyEnglish.dat");
  EXPECT_EQ(f->GetString(1), "ClientPsyEnglish.dat");
  EXPECT_EQ(f->GetString(2).size(), 32);
  EXPECT_EQ(f->GetInteger(0), 3);
  ASSERT_TRUE(client_->GetDownloadFiles(30, false, false, data));
  ASSERT_EQ(data.PacketCount(), 1);
  EXPECT_EQ(data.GetPacket(0)->GetString(0), Url(TDevServer::MemberName(0)) + "files/data/Sounds%20E.dat");
}

TEST_P(ClientTest, NotLoggedLogsOnAgainAndRetriesWithTheNewSession) {
  LogOn();
  const qint32 oldSession = client_->SessionId;
  server_->SetFault("", "GetWordsStatus", TFault{TFaultKind::NotLogged, 1});
  TDataPacket status;
  ASSERT_TRUE(client_->GetWordsStatus(status));
  EXPECT_EQ(Methods(), (std::vector<QByteArray>{"GetWordsStatus", "LogOn", "GetWordsStatus"}));
  const auto log = server_->Log();
  EXPECT_EQ(log[0].sessionId, oldSession);
  EXPECT_NE(client_->SessionId, oldSession);
  EXPECT_EQ(log[2].sessionId, client_->SessionId);
  EXPECT_FALSE(log[1].arguments->GetBoolean(0)) << "a re-logon sends the flag false";
  EXPECT_EQ(log[1].arguments->GetInteger(0), -1) << "with the data count of the last log-on";
}

TEST_P(ClientTest, ReLogonsAreBounded) {
  LogOn();
  server_->SetFault("", "", TFault{TFaultKind::NotLogged});
  TDataPacket status;
  EXPECT_FALSE(client_->GetWordsStatus(status));
  EXPECT_EQ(Methods(), (std::vector<QByteArray>{"GetWordsStatus", "LogOn"}))
      << "the log-on of a re-logon never starts another one";

  server_->ClearLog();
  TDataPacket data;
  client_->LogOff({}, &data);
  EXPECT_EQ(Methods(), (std::vector<QByteArray>{"LogOff"}));
  EXPECT_EQ(data.GetString(0), "Not Logged") << "the raw reply after a refused log-off";
}

TEST_P(ClientTest, AnExpiredSessionIsRenewed) {
  LogOn();
  server_->WithState([](dev::TDevProtocol& p) { p.Store().DropAllSessions(); });
  std::vector<TTestQuestion> questions;
  ASSERT_TRUE(client_->GetQuestions(0, 0, 10, -2, -2, 2, true, false, questions));
  EXPECT_EQ(questions.size(), 2u);
}

TEST_P(ClientTest, FaultSwitchesGiveFalseOrTheServerError) {
  LogOn();
  struct Case {
    const char* name;
    TFault fault;
    const char* message;  // the exception, or none for false
    bool emptyBatch = false;  // an empty payload is a batch of no questions
  } cases[] = {
      {"404", {TFaultKind::Http404}, nullptr},
      {"500", {TFaultKind::Http500}, nullptr},
      {"no markers", {TFaultKind::NoMarkers}, nullptr},
      {"bad hex", {TFaultKind::BadHex}, nullptr},
      {"fields missing", {TFaultKind::MissingFields}, nullptr, true},
      {"error number", {TFaultKind::ErrorStatus, -1, true, 5}, "Server-side error (ERR-1005)"},
      {"no error number", {TFaultKind::ErrorStatus}, "Server-side error (ERR-UNKNOWN)"},
  };
  for (const Case& c : cases) {
    server_->ClearFaults();
    server_->SetFault(TDevServer::MemberName(0), "", c.fault);
    qint32 count = -7;
    std::vector<TTestQuestion> questions(3);
    if (c.message) {
      try {
        client_->GetDataCount(count);
        ADD_FAILURE() << c.name;
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), c.message) << c.name;
      }
      EXPECT_THROW(client_->GetQuestions(0, 1, 10, -2, -2, 5, true, false, questions), Exception);
    } else {
      EXPECT_FALSE(client_->GetDataCount(count)) << c.name;
      EXPECT_EQ(client_->GetQuestions(0, 1, 10, -2, -2, 5, true, false, questions), c.emptyBatch)
          << c.name;
    }
    EXPECT_EQ(count, -7) << c.name;
    EXPECT_TRUE(questions.empty()) << c.name;
    // Requests that catch: the version check ends quietly, the group search gives false.
    qint32 version, type;
    QByteArray answer, link, e1, e2;
    client_->CheckVersion(true, version, answer, link, e1, e2, type, nullptr);
    EXPECT_TRUE(answer.isEmpty()) << c.name;
    TDataPacket cube;
    EXPECT_FALSE(client_->FindUserCube(cube)) << c.name;
  }
  server_->ClearFaults();
  server_->TakeDown(TDevServer::MemberName(0));
  qint32 count = 0;
  EXPECT_FALSE(client_->GetDataCount(count)) << "refused connection";
}

// Only a real transfer can time out.
class ClientHttpTest : public DevServerTest {
  bool UseHttp() const override { return true; }
};

TEST_F(ClientHttpTest, ARequestWithoutAnswerTimesOut) {
  server_->SetFault("", "GetDataCount", TFault{TFaultKind::NoAnswer, 1});
  qint32 count = -3;
  EXPECT_FALSE(client_->GetDataCount(count));
  EXPECT_EQ(count, -3);
  EXPECT_EQ(server_->HeldCount(), 1);
  server_->ReleaseHeld();
  EXPECT_TRUE(client_->GetDataCount(count));
  EXPECT_EQ(count, 0);
}

TEST_P(ClientTest, TheFaultsOfOneServerLeaveTheOthersAlone) {
  server_->SetFault(TDevServer::MemberName(0), "GetDataCount", TFault{TFaultKind::Http500});
  qint32 count = 0;
  EXPECT_FALSE(client_->GetDataCount(count));
  client_->SetBaseURL(Url(TDevServer::MemberName(1)));
  EXPECT_TRUE(client_->GetDataCount(count));
  const auto log = server_->LogOf("GetDataCount");
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].server, "member0");
  EXPECT_EQ(log[1].server, "member1");
}

TEST(ClientBaseUrl, NeedsAWebChannel) {
  TZabkolexClient client(new test::TScriptedChannel, true);
  EXPECT_THROW(client.SetBaseURL("http://x/"), Exception);
  EXPECT_THROW(client.GetBaseURL(), Exception);
  TZabkolexClient web(new TWebPacketChannel, true);
  EXPECT_EQ(web.SetBaseURL("http://a/"), "");
  EXPECT_EQ(web.SetBaseURL("http://b/"), "http://a/");
  EXPECT_EQ(web.GetBaseURL(), "http://b/");
}

// Short replies, where the meaning of the missing fields is given.
class ClientReplyTest : public ::testing::Test {
 protected:
  ClientReplyTest() : client(channel = new test::TScriptedChannel, true) {}
  test::TScriptedChannel* channel;
  TZabkolexClient client;
};

TEST_F(ClientReplyTest, CheckVersionWithFewFields) {
  channel->Queue(test::Reply("Success", [](TDataPacket& p) {
    p.AddInteger(30);
    for (const char* s : {"answer", "link", "exit"}) p.AddString(s);
    p.AddNewPacket();
  }));
  qint32 version = 0, type = 0;
  QByteArray answer, link, exit1 = "old", exit2 = "old";
  client.CheckVersion(true, version, answer, link, exit1, exit2, type, nullptr);
  EXPECT_EQ(answer, "answer");
  EXPECT_EQ(link, "link");
  EXPECT_EQ(exit1, "");
  EXPECT_EQ(exit2, "");
  EXPECT_EQ(type, -1);

  channel->Queue(test::Reply("Success", [](TDataPacket& p) { p.AddString("answer only"); }));
  client.CheckVersion(true, version, answer, link, exit1, exit2, type, nullptr);
  EXPECT_EQ(answer, "") << "a reply without the version reads nothing";
}

TEST_F(ClientReplyTest, LogOnWithSessionZeroOrMissingFieldsFails) {
  int fired = 0;
  client.OnLogOn = [&](TZabkolexClient&) { ++fired; };
  channel->Queue(test::Reply("Success", [](TDataPacket& p) {
    p.AddBoolean(true), p.AddInteger(0), p.AddInteger(1), p.AddBoolean(false);
    p.AddString("KEY"), p.AddBoolean(false);
  }));
  EXPECT_FALSE(client.LogOn(1, true));
  EXPECT_EQ(client.SessionId, 0);
  EXPECT_TRUE(client.IsLoggedOn());
  EXPECT_EQ(fired, 0);

  channel->Queue(test::Reply("Success", [](TDataPacket& p) { p.AddBoolean(true); }));
  EXPECT_FALSE(client.LogOn(1, true));
  EXPECT_EQ(client.SessionId, -1);
  EXPECT_FALSE(client.LogOnRefused);
}

TEST_F(ClientReplyTest, LogOnWithAKeyThatCannotNameFilesFails) {
  client.UserKey = "kept";
  channel->Queue(test::Reply("Success", [](TDataPacket& p) {
    p.AddBoolean(true), p.AddInteger(5), p.AddInteger(1), p.AddBoolean(false);
    p.AddString("../../tmp/evil"), p.AddBoolean(false);
  }));
  EXPECT_FALSE(client.LogOn(1, true));
  EXPECT_EQ(client.UserKey, "kept");
  EXPECT_EQ(client.SessionId, -1);
  EXPECT_FALSE(client.LogOnRefused);
}

TEST_F(ClientReplyTest, EmptyFilterListAndShortQuestions) {
  channel->Queue(test::Reply("Success"));
  QStringList list{"kept"};
  EXPECT_TRUE(client.GetFilterList(list, 0, 1, 0, 10, -2, -2));
  EXPECT_EQ(list, QStringList{"kept"});

  channel->Queue(test::Reply("Success", [](TDataPacket& p) {
    TDataPacket* q = p.AddNewPacket();
    for (int i = 0; i < 5; ++i) q->AddInteger(i);
    q->AddByte(0), q->AddByte(1);  // one status byte short
  }));
  std::vector<TTestQuestion> questions(2);
  EXPECT_FALSE(client.GetQuestions(0, 1, 10, -2, -2, 1, true, false, questions));
  EXPECT_TRUE(questions.empty());
}

INSTANTIATE_TEST_SUITE_P(Channels, ClientTest, ::testing::Bool(), test::ChannelName);

// The requests that catch every exception and answer on their own still leave a record of what
// they caught in the crash log, one each.
TEST(ClientCatchAll, CaughtExceptionsAreRecordedInTheCrashLog) {
  class ThrowingChannel : public TBasePacketChannel {
   public:
    bool Send(const TDataPacket&, TDataPacket&) override { throw Exception("channel broke"); }
  };
  QTemporaryDir dir;
  SetLogFileName(dir.filePath("MainLog.txt"));
  ASSERT_TRUE(InstallLogger());
  TZabkolexClient client(new ThrowingChannel, true);
  qint32 version = -5, serverType = -5;
  QByteArray text, link, exit1, exit2;
  client.CheckVersion(true, version, text, link, exit1, exit2, serverType, nullptr);
  EXPECT_EQ(version, 0);
  client.LogOff({1, 2});
  TDataPacket found;
  EXPECT_FALSE(client.FindUserCube(found));
  CloseLog();
  QFile log(dir.filePath("MainLog.txt"));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_EQ(log.readAll().count("Exception:\r\n"), 3);
}

}  // namespace
}  // namespace zabko
