#include "devserver/dev_server.h"

#include "core/data_packet.h"
#include "platform/exception.h"

#include <httplib.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace zabko::dev {
namespace {

// Reply of a request packet posted to a server through its request handler.
std::unique_ptr<TDataPacket> ParseBody(const QByteArray& body) {
  const qsizetype a = body.indexOf("<PACKET>") + 8;
  auto reply = std::make_unique<TDataPacket>();
  reply->LoadFromHexString(body.mid(a, body.indexOf("</PACKET>") - a));
  return reply;
}

std::unique_ptr<TDataPacket> Exchange(TDevServer& server, const QByteArray& name,
                                      const TDataPacket& request) {
  const THttpReply http = server.HandlePost(name, request.SaveToHexString());
  EXPECT_EQ(http.status, 200);
  return ParseBody(http.body);
}

// A plain request, or a session request when sessionId is not -1; returns its argument packet.
TDataPacket* Begin(TDataPacket& request, const QByteArray& method, qint32 sessionId = -1,
                   const QByteArray& user = "") {
  request.AddString(method);
  request.AddBoolean(sessionId != -1);
  TDataPacket* inner = request.AddNewPacket();
  if (sessionId == -1) return inner;
  inner->AddInteger(sessionId);
  inner->AddString(user);
  return inner->AddNewPacket();
}

class DevServerFixture : public ::testing::Test {
 protected:
  void SetUp() override { Make(":memory:"); }

  void Make(const QString& database) {
    TDevServerOptions options;
    options.database = database;
    options.clock = [this] { return now_; };
    options.maxHoldMs = 5000;
    server_ = std::make_unique<TDevServer>(options);
    server_->WithState([](TDevProtocol& p) { p.Words().AddSynthetic(2); });
    key_ = server_->AddUser("eli", "pw");
    server_->Start();
  }

  qint32 LogOn() {
    TDataPacket request;
    TDataPacket* args = Begin(request, "LogOn");
    args->AddString("eli"), args->AddString("pw"), args->AddInteger(-1), args->AddBoolean(true);
    const auto reply = Exchange(*server_, "member0", request);
    EXPECT_EQ(reply->GetString(0), "Success");
    return reply->GetPacket(0)->GetInteger(0);
  }

  // Sends one answer and returns the reply payload's bytes.
  TByteArray Answer(qint32 session, int lang, qint32 id, bool mark, bool positive, qint32 position) {
    TDataPacket request;
    TDataPacket* a = Begin(request, "UpdateWords", session, "eli")->AddNewPacket();
    a->AddInteger(lang), a->AddInteger(id), a->AddBoolean(mark), a->AddBoolean(positive);
    a->AddNewPacket()->AddInteger(position);
    const auto reply = Exchange(*server_, "member0", request);
    EXPECT_EQ(reply->GetString(0), "Success");
    const TDataPacket* payload = reply->GetPacket(0);
    return payload->GetBytes(0, payload->ByteCount());
  }

  std::unique_ptr<TDataPacket> Payload(const QByteArray& method, qint32 session) {
    TDataPacket request;
    Begin(request, method, session, "eli");
    auto reply = Exchange(*server_, "member0", request);
    EXPECT_EQ(reply->GetString(0), "Success") << method.constData();
    auto payload = std::make_unique<TDataPacket>();
    payload->Assign(*reply->GetPacket(0));
    return payload;
  }

  qint64 now_ = 1'800'000'000'000;
  std::unique_ptr<TDevServer> server_;
  QByteArray key_;
};

TEST_F(DevServerFixture, MalformedRequestsGetAFailureReply) {
  struct Case {
    const char* name;
    QByteArray body;
    QByteArray status;
    qint32 number;
  } cases[] = {
      {"not hex", "hello", "Bad request", 1},
      {"no envelope", TDataPacket().SaveToHexString(), "Bad request", 1},
  };
  for (const Case& c : cases) {
    const auto reply = ParseBody(server_->HandlePost("default", c.body).body);
    EXPECT_EQ(reply->GetString(0), c.status) << c.name;
    EXPECT_EQ(reply->GetInteger(0), c.number) << c.name;
  }
  TDataPacket unknown;
  Begin(unknown, "NoSuchMethod");
  EXPECT_EQ(Exchange(*server_, "default", unknown)->GetInteger(0), 2);
  TDataPacket shortArgs;
  Begin(shortArgs, "LogOn")->AddString("eli");
  const auto reply = Exchange(*server_, "default", shortArgs);
  EXPECT_TRUE(reply->GetString(0).startsWith("Bad request")) << reply->GetString(0).constData();
  TDataPacket wrongSession;
  Begin(wrongSession, "GetWordsStatus", 12345, "eli");
  EXPECT_EQ(Exchange(*server_, "member0", wrongSession)->GetString(0), "Not Logged");
}

// A fault with skip lets matching requests through first, then hits its times.
TEST_F(DevServerFixture, FaultStartsAfterTheSkippedRequests) {
  TFault fault;
  fault.kind = TFaultKind::Http500;
  fault.skip = 2;
  fault.times = 1;
  server_->SetFault("member0", "CheckVersion", fault);
  std::vector<int> statuses;
  for (int i = 0; i < 4; ++i) {
    TDataPacket request;
    Begin(request, "CheckVersion")->AddBoolean(true);
    statuses.push_back(server_->HandlePost("member0", request.SaveToHexString()).status);
  }
  EXPECT_EQ(statuses, (std::vector<int>{200, 200, 500, 200}));
}

TEST_F(DevServerFixture, SessionsBelongToTheirServerAndUser) {
  const qint32 session = LogOn();
  TDataPacket elsewhere, otherUser;
  Begin(elsewhere, "GetWordsStatus", session, "eli");
  EXPECT_EQ(Exchange(*server_, "member1", elsewhere)->GetString(0), "Not Logged");
  Begin(otherUser, "GetWordsStatus", session, "mallory");
  EXPECT_EQ(Exchange(*server_, "member0", otherUser)->GetString(0), "Not Logged");
}

TEST_F(DevServerFixture, StatusesAndCountsMoveWithAnswers) {
  const qint32 session = LogOn();
  EXPECT_TRUE(Answer(session, 10, 10001, false, true, 1).empty());
  Answer(session, 10, 10001, false, true, 2);
  Answer(session, 10, 10002, false, true, 3);
  EXPECT_EQ(Answer(session, 10, 10003, true, true, 0), TByteArray{0});  // marked known
  const auto status = Payload("GetWordsStatus", session);
  ASSERT_EQ(status->PacketCount(), 5);
  EXPECT_EQ(status->GetPacket(0)->IntegerCount(), 1);
  EXPECT_EQ(status->GetPacket(0)->GetInteger(0), 10003);
  const TDataPacket& counts = *status->GetPacket(1);
  // Letter 0 holds 10001 (status 2) and 10002 (status 1); letter 1 holds 10003 (known, not
  // counted) and 10004 (status 0).
  EXPECT_EQ((std::vector<qint32>{counts.GetInteger(0), counts.GetInteger(1), counts.GetInteger(2)}),
            (std::vector<qint32>{0, 1, 1}));
  EXPECT_EQ((std::vector<qint32>{counts.GetInteger(3), counts.GetInteger(4), counts.GetInteger(5)}),
            (std::vector<qint32>{1, 0, 0}));
  server_->WithState([&](TDevProtocol& p) {
    EXPECT_EQ(p.Store().DataCount("member0", key_), 4) << "one per request that changed data";
  });
}

// The asked word ids of a question request.
std::vector<qint32> AskedIds(const TDataPacket& reply) {
  std::vector<qint32> ids;
  const TDataPacket* payload = reply.GetPacket(0);
  for (int i = 0; i < payload->PacketCount(); ++i) ids.push_back(payload->GetPacket(i)->GetInteger(4));
  return ids;
}

TEST_F(DevServerFixture, QuestionsNeverAskAWordMarkedKnown) {
  const qint32 session = LogOn();
  Answer(session, 10, 10003, true, true, 0);
  TDataPacket practice;
  TDataPacket* args = Begin(practice, "GetQuestions", session, "eli");
  args->AddByte(0), args->AddByte(1), args->AddInteger(10), args->AddInteger(-2), args->AddInteger(-2);
  args->AddInteger(10), args->AddBoolean(true);
  EXPECT_EQ(AskedIds(*Exchange(*server_, "member0", practice)), (std::vector<qint32>{10001, 10002, 10004}));

  TDataPacket game;
  args = Begin(game, "Game.GetQuestions", session, "eli");
  args->AddByte(0), args->AddByte(1), args->AddInteger(10), args->AddInteger(10), args->AddBoolean(true);
  EXPECT_EQ(AskedIds(*Exchange(*server_, "member0", game)), (std::vector<qint32>{10001, 10002, 10004}));

  // In a session envelope the session must be live; without one the game is served as a guest.
  TDataPacket stale;
  args = Begin(stale, "Game.GetQuestions", 4242, "eli");
  args->AddByte(0), args->AddByte(1), args->AddInteger(10), args->AddInteger(10), args->AddBoolean(true);
  EXPECT_EQ(Exchange(*server_, "member0", stale)->GetString(0), "Not Logged");
  TDataPacket guest;
  args = Begin(guest, "Game.GetQuestions");
  args->AddByte(0), args->AddByte(1), args->AddInteger(10), args->AddInteger(10), args->AddBoolean(true);
  EXPECT_EQ(AskedIds(*Exchange(*server_, "member0", guest)).size(), 4u);
}

TEST_F(DevServerFixture, AResentBatchCountsOnceButRepeatedAnswersCount) {
  const qint32 session = LogOn();
  // Don't-know answers report zeros but for the count and position: equal entries.
  auto addDontKnow = [](TDataPacket* args, qint32 id) {
    TDataPacket* a = args->AddNewPacket();
    a->AddInteger(20), a->AddInteger(id), a->AddBoolean(false), a->AddBoolean(false);
    TDataPacket* report = a->AddNewPacket();
    for (int i = 0; i < 17; ++i) report->AddInteger(i == 15 ? 5 : i == 16 ? 1 : 0);
  };
  auto send = [&](const std::vector<qint32>& ids) {
    TDataPacket request;
    TDataPacket* args = Begin(request, "UpdateWords", session, "eli");
    for (qint32 id : ids) addDontKnow(args, id);
    EXPECT_EQ(Exchange(*server_, "member0", request)->GetString(0), "Success");
  };
  auto answers = [&] {
    qint64 n = 0;
    server_->WithState([&](TDevProtocol& p) { n = p.Store().Counter("answers"); });
    return n;
  };
  send({20001, 20001});
  EXPECT_EQ(answers(), 2) << "one word passed twice at one position in two series";
  send({20001, 20001});
  EXPECT_EQ(answers(), 2) << "the same batch again after a lost reply";
  send({20001, 20001, 20002});
  EXPECT_EQ(answers(), 3) << "a resent batch with an answer added since";
  send({20001, 20003});
  EXPECT_EQ(answers(), 5) << "a new batch repeating an earlier answer";
}

TEST_F(DevServerFixture, HotWordsAreTheRecentWrongAnswers) {
  const qint32 session = LogOn();
  Answer(session, 20, 20005, false, false, 1);
  Answer(session, 20, 20005, false, false, 2);
  Answer(session, 20, 20007, false, false, 3);
  Answer(session, 20, 20009, false, true, 4);
  auto hot = Payload("GetHotWordsData", session);
  ASSERT_EQ(hot->PacketCount(), 3);
  EXPECT_EQ(hot->GetPacket(0)->GetInteger(1), 4) << "answers received";
  EXPECT_EQ(hot->GetPacket(1)->IntegerCount(), 0) << "no Hebrew hot words";
  const TDataPacket& english = *hot->GetPacket(2);
  ASSERT_EQ(english.IntegerCount(), 2);
  EXPECT_EQ(english.GetInteger(0), 20005);
  EXPECT_EQ(english.GetInteger(1), 20007);
  now_ += 25LL * 3600 * 1000;
  hot = Payload("GetHotWordsData", session);
  EXPECT_EQ(hot->GetPacket(2)->IntegerCount(), 0) << "a day later they have cooled down";
}

TEST_F(DevServerFixture, DemoHotWordsShowForANewUser) {
  server_->WithState([](TDevProtocol& p) { p.SeedDemoHotWords(); });
  const qint32 session = LogOn();
  auto hot = Payload("GetHotWordsData", session);
  ASSERT_EQ(hot->PacketCount(), 3);
  EXPECT_GT(hot->GetPacket(0)->GetInteger(0), 0) << "questions";
  EXPECT_GT(hot->GetPacket(0)->GetInteger(1), 0) << "answers";
  for (int lang = 1; lang <= 2; ++lang) {
    const TDataPacket& ids = *hot->GetPacket(lang);
    ASSERT_EQ(ids.IntegerCount(), 8) << lang;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ids.GetInteger(i), lang * 10000 + 1 + i) << "in catalogue order";
  }
}

TEST_F(DevServerFixture, GameRequestsWithoutSession) {
  TDataPacket hand;
  Begin(hand, "Game.HandShake")->AddInteger(2);
  auto reply = Exchange(*server_, "member0", hand);
  const TDataPacket* shake = reply->GetPacket(0);
  EXPECT_FALSE(shake->GetString(0).isEmpty());
  EXPECT_TRUE(shake->GetBoolean(0));
  EXPECT_GT(shake->GetInteger(0), 0);

  for (const auto& [name, points] : {std::pair{"אבי", 30}, {"Ben", 50}}) {
    TDataPacket stats;
    TDataPacket* args = Begin(stats, "Game.SendStats");
    args->AddInteger(1), args->AddUTFString(QString::fromUtf8(name)), args->AddInteger(points);
    EXPECT_EQ(Exchange(*server_, "member0", stats)->GetString(0), "Success");
  }
  TDataPacket top;
  Begin(top, "Game.GetTop10");
  reply = Exchange(*server_, "member0", top);
  const TDataPacket* rows = reply->GetPacket(0);
  ASSERT_EQ(rows->PacketCount(), 2);
  EXPECT_EQ(rows->GetPacket(0)->GetUTFString(0), "Ben");
  EXPECT_EQ(rows->GetPacket(0)->GetInteger(1), 50);
  EXPECT_EQ(rows->GetPacket(1)->GetUTFString(0), QString::fromUtf8("אבי"));

  TDataPacket questions;
  TDataPacket* args = Begin(questions, "Game.GetQuestions");
  args->AddByte(0), args->AddByte(25), args->AddInteger(20), args->AddInteger(200);
  reply = Exchange(*server_, "member0", questions);
  EXPECT_EQ(reply->GetPacket(0)->PacketCount(), 52) << "every English word once";
}

TEST_F(DevServerFixture, StateLastsInADatabaseFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath("state.db");
  server_.reset();
  Make(file);
  Answer(LogOn(), 10, 10001, true, true, 0);
  server_.reset();
  Make(file);
  server_->WithState([&](TDevProtocol& p) { EXPECT_TRUE(p.Store().WordState(key_, 10, 10001).known); });
}

TEST(DevWords, LoadsAWordDatabase) {
  QTemporaryDir dir;
  TDataPacket db;
  db.AddInteger(3010);
  for (int i = 0; i < 3; ++i) db.AddNewPacket();
  TDataPacket* words = db.AddNewPacket();
  auto add = [&](qint32 id, qint32 letterNumber, const char* text, const char* search, qint32 subject) {
    TDataPacket* w = words->AddNewPacket();
    w->AddInteger(id), w->AddInteger(letterNumber);
    w->AddNewPacket()->AddInteger(subject);
    w->AddNewPacket();
    for (const char* s : {text, "meaning", "", search, text}) w->AddUTFString(QString::fromUtf8(s));
  };
  add(1, 3, "גמל", "גמל", 4);
  add(2, 0, "to go", "to go", 5);
  words->AddNewPacket()->AddInteger(77);  // too short: skipped
  db.SaveToFile(dir.filePath("h.dat"));

  TDevWords hebrew;
  hebrew.LoadDatabase(dir.filePath("h.dat"), kHebrewCode);
  ASSERT_EQ(hebrew.Words(kHebrewCode).size(), 2u);
  EXPECT_EQ(hebrew.Find(kHebrewCode, 1)->letter, 2) << "the Hebrew letter number counts from 1";
  EXPECT_EQ(hebrew.Find(kHebrewCode, 1)->subject, 4);
  TDevWords english;
  english.LoadDatabase(dir.filePath("h.dat"), kEnglishCode);
  EXPECT_EQ(english.Find(kEnglishCode, 2)->letter, 'G' - 'A') << "a leading \"to \" is skipped";

  TDataPacket notWords;
  notWords.AddInteger(2000);
  notWords.SaveToFile(dir.filePath("x.dat"));
  EXPECT_THROW(english.LoadDatabase(dir.filePath("x.dat"), kEnglishCode), Exception);
}

// Over real HTTP on loopback.
class DevServerHttp : public DevServerFixture {
 protected:
  httplib::Result Post(const QByteArray& server, const TDataPacket& request) {
    httplib::Client client("127.0.0.1", server_->Port(server));
    client.set_read_timeout(std::chrono::milliseconds(500));
    return client.Post("/app/AccessIn.ashx?page=APP", request.SaveToHexString().toStdString(),
                       "application/x-www-form-urlencoded");
  }
  static const TDataPacket& CheckVersion() {
    static const TDataPacket* request = [] {
      auto* r = new TDataPacket;
      Begin(*r, "CheckVersion")->AddBoolean(true);
      return r;
    }();
    return *request;
  }
};

TEST_F(DevServerHttp, AnswersEveryVirtualServerUnderApp) {
  for (const QByteArray& name : server_->ServerNames()) {
    const auto result = Post(name, CheckVersion());
    ASSERT_TRUE(result) << name.constData();
    EXPECT_EQ(result->status, 200);
    EXPECT_NE(result->body.find("<PACKET>AA9911EE"), std::string::npos);
    EXPECT_EQ(server_->BaseUrl(name), "http://127.0.0.1:" + QByteArray::number(server_->Port(name)) + "/app/");
  }
  EXPECT_EQ(server_->Log().size(), server_->ServerNames().size());
  EXPECT_EQ(server_->Log().back().path, "/app/AccessIn.ashx?page=APP");
}

TEST_F(DevServerHttp, APortHeldByARunningServerIsRefused) {
  TDevServerOptions options;
  options.database = ":memory:";
  options.firstPort = server_->Port("default");
  TDevServer second(options);
  EXPECT_THROW(second.Start(), Exception);
  const auto result = Post("default", CheckVersion());
  ASSERT_TRUE(result) << "the first server still answers on its port";
  EXPECT_EQ(result->status, 200);
}

TEST_F(DevServerHttp, AServerTakenDownRefusesUntilBroughtUp) {
  const quint16 port = server_->Port("member1");
  server_->TakeDown("member1");
  EXPECT_FALSE(Post("member1", CheckVersion()));
  EXPECT_TRUE(Post("member0", CheckVersion()));
  server_->BringUp("member1");
  EXPECT_EQ(server_->Port("member1"), port);
  EXPECT_TRUE(Post("member1", CheckVersion()));
}

TEST_F(DevServerHttp, AHeldRequestOutlastsTheClientAndIsReleased) {
  server_->SetFault("default", "CheckVersion", TFault{TFaultKind::NoAnswer, 1});
  EXPECT_FALSE(Post("default", CheckVersion()));
  EXPECT_EQ(server_->HeldCount(), 1);
  server_->ReleaseHeld();
  for (int i = 0; i < 200 && server_->HeldCount() > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(server_->HeldCount(), 0);
  EXPECT_TRUE(Post("default", CheckVersion())) << "the fault was used up";
}

TEST_F(DevServerHttp, ServesListedFilesOnly) {
  QTemporaryDir dir;
  server_->WithState([](TDevProtocol& p) {
    p.Files().Add(TFileList::Download, "Sounds E.dat", "abc");
    p.Files().Add(TFileList::Download, "100%41.dat", "percent");
  });
  httplib::Client client("127.0.0.1", server_->Port("member0"));
  auto ok = client.Get("/app/files/data/Sounds%20E.dat");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->status, 200);
  EXPECT_EQ(ok->body, "abc");
  auto percent = client.Get("/app/files/data/100%2541.dat");
  ASSERT_TRUE(percent);
  EXPECT_EQ(percent->body, "percent") << "the name is decoded once";
  for (const char* path : {"/app/files/pre/Sounds%20E.dat", "/app/files/data/..%2F..%2Fetc%2Fpasswd",
                           "/app/files/data/missing.dat"}) {
    auto missing = client.Get(path);
    ASSERT_TRUE(missing) << path;
    EXPECT_EQ(missing->status, 404) << path;
  }
  server_->SetFault("", "GET", TFault{TFaultKind::Http500, 1});
  EXPECT_EQ(client.Get("/app/files/data/Sounds%20E.dat")->status, 500);
  const auto gets = server_->LogOf("GET");
  ASSERT_EQ(gets.size(), 6u);
  EXPECT_EQ(gets[0].arguments->GetString(0), "Sounds E.dat");
}

TEST_F(DevServerHttp, WrongHashSpoilsEveryListedHash) {
  server_->WithState([](TDevProtocol& p) { p.Files().Add(TFileList::PreDownload, "a.dat", "x"); });
  TDataPacket request;
  Begin(request, "GetPreDownloadFiles")->AddInteger(30), request.GetPacket(0)->AddString("u");
  const QByteArray good = Exchange(*server_, "default", request)->GetPacket(0)->GetPacket(0)->GetString(2);
  server_->SetFault("default", "GetPreDownloadFiles", TFault{TFaultKind::WrongHash, 1});
  const QByteArray bad = Exchange(*server_, "default", request)->GetPacket(0)->GetPacket(0)->GetString(2);
  EXPECT_EQ(good.size(), 32);
  EXPECT_EQ(bad.size(), 32);
  for (int i = 0; i < 32; ++i) EXPECT_NE(good[i], bad[i]);
}

}  // namespace
}  // namespace zabko::dev
