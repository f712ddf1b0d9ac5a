#include "game/play/game_client.h"

#include "core/data_packet.h"
#include "devserver/dev_server.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"
#include "tests/net/dev_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace zabko {
namespace {

using dev::TFault;
using dev::TFaultKind;

// The stand-in server with a game client in place of the learning program's.
class GameClientTest : public test::DevServerTest {
 protected:
  void SetUp() override {
    DevServerTest::SetUp();
    std::unique_ptr<TGameClient> game;
    if (UseHttp()) {
      game = NewGameClient();
      channel_ = dynamic_cast<TWebPacketChannel*>(game->Channel);
      ASSERT_TRUE(channel_ && game->OwnsChannel);
      channel_->Http().Timeouts.ReceiveTimeout = 1000;
    } else {
      game = std::make_unique<TGameClient>(channel_ = new test::TInProcessChannel(*server_), true);
    }
    EXPECT_TRUE(game->UserName.isEmpty() && game->Password.isEmpty());
    EXPECT_FALSE(game->Authenticated);
    game->UserName = kUser;
    game->Password = kPassword;
    game->FailureText = "no connection";
    game->SetBaseURL(Url(dev::TDevServer::MemberName(0)));
    game_ = game.get();
    client_ = std::move(game);
  }

  void Fault(const QByteArray& method, TFaultKind kind) {
    TFault fault;
    fault.kind = kind;
    server_->SetFault({}, method, fault);
  }

  // The mail page at the root of the first member.
  QByteArray MailLink() const {
    QByteArray base = Url(dev::TDevServer::MemberName(0));
    return base.left(base.indexOf("/app/")) + "/aplication_mail.php";
  }

  TGameClient* game_ = nullptr;
};

TEST_P(GameClientTest, RequestsArriveWithTheirEnvelopeAndArguments) {
  struct Case {
    const char* what;
    QByteArray method;
    bool authenticated;
    std::function<void(TGameClient&)> call;
    std::function<void(TDataPacket&)> args;
    bool session = false;
  };
  TDataPacket result;
  std::vector<TTestQuestion> questions;
  const Case cases[] = {
      {"first handshake: only the kind", "Game.HandShake", false,
       [](TGameClient& c) {
         QByteArray uid;
         qint32 session = -1;
         QString message;
         c.HandShake(2, uid, session, message);
       },
       [](TDataPacket& a) { a.AddInteger(2); }},
      {"closing handshake: UId and session", "Game.HandShake", false,
       [](TGameClient& c) {
         QByteArray uid = "G7";
         qint32 session = 12;
         QString message;
         c.HandShake(2, uid, session, message);
       },
       [](TDataPacket& a) { a.AddInteger(2), a.AddString("G7"), a.AddInteger(12); }},
      {"file list", "Game.GetDownloadFiles", false, [&](TGameClient& c) { c.GetDownloadFiles(result); }, {}},
      {"questions before log-on", "Game.GetQuestions", false,
       [&](TGameClient& c) { c.GetQuestions(20, 0, 25, 200, questions); },
       [](TDataPacket& a) { a.AddByte(0), a.AddByte(25), a.AddInteger(20), a.AddInteger(200); }},
      {"questions after log-on", "Game.GetQuestions", true,
       [&](TGameClient& c) { c.GetQuestions(10, 3, 5, 200, questions); },
       [](TDataPacket& a) { a.AddByte(3), a.AddByte(5), a.AddInteger(10), a.AddInteger(200); }, true},
      {"top ten", "Game.GetTop10", false, [&](TGameClient& c) { c.GetTop10(result); }, {}},
      {"stats", "Game.SendStats", true, [](TGameClient& c) { c.SendStats(1, QString::fromUtf8("דנה"), 77); },
       [](TDataPacket& a) { a.AddInteger(1), a.AddUTFString(QString::fromUtf8("דנה")), a.AddInteger(77); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.authenticated && !game_->IsLoggedOn()) LogOn();
    game_->Authenticated = c.authenticated;
    server_->ClearLog();
    c.call(*game_);
    const dev::TLoggedRequest entry = Only(c.method);
    EXPECT_EQ(entry.session, c.session);
    if (c.session) {
      EXPECT_EQ(entry.sessionId, game_->SessionId);
      EXPECT_EQ(entry.userName, kUser);
    }
    TDataPacket expected;
    if (c.args) c.args(expected);
    ASSERT_TRUE(entry.arguments);
    EXPECT_EQ(entry.arguments->SaveToBytes(), expected.SaveToBytes()) << entry.arguments->ToText().toStdString();
    EXPECT_EQ(entry.path, "/app/AccessIn.ashx?page=APP");
  }
}

TEST_P(GameClientTest, RepliesReachTheCaller) {
  QByteArray uid;
  qint32 session = -1;
  QString message = "old";
  ASSERT_TRUE(game_->HandShake(2, uid, session, message));
  EXPECT_FALSE(uid.isEmpty());
  EXPECT_GT(session, 0);
  EXPECT_EQ(message, "Welcome to Zabkoplay");
  const QByteArray firstUid = uid;
  EXPECT_TRUE(game_->HandShake(2, uid, session, message)) << "closing";
  EXPECT_EQ(uid, firstUid);
  EXPECT_EQ(session, -1);

  std::vector<TTestQuestion> questions;
  ASSERT_TRUE(game_->GetQuestions(20, 0, 25, 200, questions));
  ASSERT_EQ(questions.size(), 26u * 4) << "every English word of the stand-in once";
  for (const TTestQuestion& q : questions) {
    const std::set<qint32> answers{q.Answer1, q.Answer2, q.Answer3, q.Answer4};
    EXPECT_EQ(answers.size(), 4u);
    EXPECT_TRUE(answers.count(q.WordId));
  }

  ASSERT_TRUE(game_->SendStats(1, "Ben", 50));
  ASSERT_TRUE(game_->SendStats(1, QString::fromUtf8("אבי"), 30));
  TDataPacket top;
  ASSERT_TRUE(game_->GetTop10(top));
  ASSERT_EQ(top.PacketCount(), 2);
  EXPECT_EQ(top.GetPacket(0)->GetUTFString(0), "Ben");
  EXPECT_EQ(top.GetPacket(1)->GetUTFString(0), QString::fromUtf8("אבי"));
  EXPECT_EQ(top.GetPacket(1)->GetInteger(1), 30);
}

TEST_P(GameClientTest, FailedRequestsGiveFalse) {
  Fault({}, TFaultKind::Http500);
  std::vector<TTestQuestion> questions(3);
  EXPECT_FALSE(game_->GetQuestions(20, 0, 25, 200, questions));
  EXPECT_TRUE(questions.empty()) << "a failed question request leaves no questions";
  TDataPacket result;
  result.AddInteger(9);
  EXPECT_FALSE(game_->GetTop10(result));
  EXPECT_FALSE(game_->GetDownloadFiles(result));
  EXPECT_EQ(result.IntegerCount(), 1) << "a failed call leaves the caller's packet";
  EXPECT_FALSE(game_->SendStats(1, "Ben", 5));
}

TEST_P(GameClientTest, ServerErrorsReachTheCaller) {
  TFault fault;
  fault.kind = TFaultKind::ErrorStatus;
  fault.withErrorNumber = true;
  fault.errorNumber = 5;
  server_->SetFault({}, "Game.GetTop10", fault);
  TDataPacket result;
  EXPECT_EQ(test::MessageOf([&] { game_->GetTop10(result); }), "Server-side error (ERR-1005)");
}

TEST_P(GameClientTest, HandShakeThatFailsKeepsUIdAndSession) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    bool result;
    QString message;
    QByteArray uid;
    qint32 session;
  };
  const Case cases[] = {
      {"refused by the server",
       [this] { server_->WithState([](dev::TDevProtocol& p) { p.Config().handShakeRefusal = "Come back later"; }); },
       false, "Come back later", "G5", -1},
      {"call fails", [this] { Fault("Game.HandShake", TFaultKind::Http500); }, false, "no connection", "G5", -1},
      {"reply without fields", [this] { Fault("Game.HandShake", TFaultKind::MissingFields); }, false,
       "no connection", "G5", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_->ClearFaults();
    server_->WithState([](dev::TDevProtocol& p) { p.Config().handShakeRefusal.clear(); });
    c.arrange();
    QByteArray uid = "G5";
    qint32 session = -1;
    QString message = "stale";
    EXPECT_EQ(game_->HandShake(2, uid, session, message), c.result);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(uid, c.uid);
    EXPECT_EQ(session, c.session);
  }
  // A failed call keeps a session that the game already holds.
  server_->ClearFaults();
  Fault("Game.HandShake", TFaultKind::Http404);
  QByteArray uid;
  qint32 session = 33;
  QString message;
  EXPECT_FALSE(game_->HandShake(2, uid, session, message));
  EXPECT_TRUE(uid.isEmpty());
  EXPECT_EQ(session, 33);
}

TEST(UrlEncodeWide, EncodesEveryUtf8Byte) {
  const struct {
    const char* text;  // UTF-8
    const char* encoded;
  } cases[] = {
      {"", ""},
      {"abc", "%61%62%63"},
      {" ", "%20"},
      {"a&b=c", "%61%26%62%3D%63"},
      {"שלום", "%D7%A9%D7%9C%D7%95%D7%9D"},
      {"\xC3\xA9", "%C3%A9"},          // U+00E9
      {"\xD6\xB8", "%D6%B8"},          // a Hebrew vowel point, U+05B8
      {"\xE2\x82\xAC", "%E2%82%AC"},  // the euro sign
      {"\xF0\x9F\x98\x80", "%F0%9F%98%80"},  // a character outside the basic plane
  };
  for (const auto& c : cases)
    EXPECT_EQ(UrlEncodeWide(QString::fromUtf8(c.text)), QByteArray(c.encoded)) << c.text;
}

// The mail goes over HTTP to the web page whichever channel the packets take.
TEST_P(GameClientTest, MailPostsTheFormOnlyForAnAddress) {
  const QString content = QString::fromUtf8("שלום & ברכה = 100%\nbye");
  game_->SendMail("friend@example.org", "Hi there", content, MailLink());
  const dev::TLoggedRequest mail = Only("mail");
  ASSERT_TRUE(mail.arguments);
  EXPECT_EQ(mail.arguments->GetUTFString(0), "friend@example.org");
  EXPECT_EQ(mail.arguments->GetUTFString(1), "Hi there");
  EXPECT_EQ(mail.arguments->GetUTFString(2), content);
  EXPECT_EQ(mail.path, "/aplication_mail.php");

  server_->ClearLog();
  game_->SendMail("friend.example.org", "Hi", "x", MailLink());
  EXPECT_TRUE(server_->LogOf("mail").empty()) << "no \"@\", no mail";
  server_->TakeDown(dev::TDevServer::MemberName(0));
  game_->SendMail("friend@example.org", "Hi", "x", MailLink());  // a failed post says nothing
}

INSTANTIATE_TEST_SUITE_P(Channels, GameClientTest, ::testing::Bool(), test::ChannelName);

}  // namespace
}  // namespace zabko
