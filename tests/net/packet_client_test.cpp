#include "net/packet_client.h"

#include "core/data_packet.h"
#include "net/packet_channel.h"
#include "platform/exception.h"
#include "tests/net/scripted_channel.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::Reply;
using test::TScriptedChannel;

QByteArray HexOfPacketWithString(const QByteArray& text) {
  TDataPacket p;
  p.AddString(text);
  return p.SaveToHexString();
}

TEST(ParseReplyBody, TakesTheTextBetweenTheFirstMarkers) {
  const QByteArray hex = HexOfPacketWithString("ok");
  struct Case {
    const char* name;
    QByteArray body;
    bool parsed;
  } cases[] = {
      {"text around the markers", "xx<PACKET>" + hex + "</PACKET>yy", true},
      {"second packet ignored", "<PACKET>" + hex + "</PACKET><PACKET>00</PACKET>", true},
      {"closing marker first", "</PACKET><PACKET>" + hex, false},
      {"no opening marker", hex + "</PACKET>", false},
      {"no closing marker", "<PACKET>" + hex, false},
      {"not hex", "<PACKET>ZZZZ</PACKET>", false},
      {"not a packet", "<PACKET>ABCD</PACKET>", false},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    TDataPacket reply;
    reply.AddInteger(7);
    EXPECT_EQ(ParseReplyBody(c.body, reply), c.parsed) << c.name;
    if (c.parsed) {
      ASSERT_EQ(reply.StringCount(), 1) << c.name;
      EXPECT_EQ(reply.GetString(0), "ok") << c.name;
      EXPECT_EQ(reply.IntegerCount(), 0) << c.name;
    } else {
      EXPECT_EQ(reply.IntegerCount(), 1) << c.name << ": a failed parse leaves the reply";
    }
  }
}

// A client whose re-logon is counted and scripted.
class TCountingClient : public TBasePacketClient {
 public:
  using TBasePacketClient::TBasePacketClient;
  bool Relogon() override {
    ++relogons;
    return relogonResult;
  }
  int relogons = 0;
  bool relogonResult = true;
};

class CallTest : public ::testing::Test {
 protected:
  CallTest() : client(channel = new TScriptedChannel, true) {
    client.BeginRequest("Method", request)->AddInteger(1);
  }
  TScriptedChannel* channel;
  TCountingClient client;
  TDataPacket request, reply;
};

TEST_F(CallTest, PlainEnvelopeHoldsNameFalseAndArguments) {
  EXPECT_EQ(request.GetString(0), "Method");
  EXPECT_FALSE(request.GetBoolean(0));
  ASSERT_EQ(request.PacketCount(), 1);
  EXPECT_EQ(request.GetPacket(0)->GetInteger(0), 1);
  EXPECT_EQ(request.StringCount() + request.BooleanCount() + request.PacketCount(), 3);
}

TEST_F(CallTest, SuccessReplacesTheReplyByItsPayload) {
  channel->Queue(Reply("Success", [](TDataPacket& p) { p.AddString("payload"); }));
  ASSERT_TRUE(client.Call(request, reply, 3));
  EXPECT_EQ(reply.StringCount(), 1);
  EXPECT_EQ(reply.GetString(0), "payload");
  EXPECT_EQ(reply.PacketCount(), 0);
}

TEST_F(CallTest, NoTriesSendsNothing) {
  EXPECT_FALSE(client.Call(request, reply, 0));
  EXPECT_TRUE(channel->Requests.empty());
}

TEST_F(CallTest, TransportFailureIsNotRetried) {
  channel->QueueFailure();
  channel->Queue(Reply("Success"));
  EXPECT_FALSE(client.Call(request, reply, 3));
  EXPECT_EQ(channel->Requests.size(), 1u);
}

TEST_F(CallTest, RepliesThatCannotBeReadFailLikeATransportFailure) {
  auto noPayload = std::make_unique<TDataPacket>();
  noPayload->AddString("Success");
  channel->Queue(std::move(noPayload));
  EXPECT_FALSE(client.Call(request, reply, 3));
  channel->Queue(std::make_unique<TDataPacket>());  // no status at all
  EXPECT_FALSE(client.Call(request, reply, 3));
}

TEST_F(CallTest, NotLoggedRelogsOnWhileTriesRemain) {
  channel->Queue(Reply("Not Logged"));
  channel->Queue(Reply("Success", [](TDataPacket& p) { p.AddInteger(42); }));
  ASSERT_TRUE(client.Call(request, reply, 3));
  EXPECT_EQ(client.relogons, 1);
  EXPECT_EQ(channel->Requests.size(), 2u);
  EXPECT_EQ(reply.GetInteger(0), 42);
}

TEST_F(CallTest, NotLoggedWithTheLastTryRelogsOnceAndSendsNoMore) {
  channel->Queue(Reply("Not Logged"));
  channel->Queue(Reply("Success"));
  EXPECT_FALSE(client.Call(request, reply, 1));
  EXPECT_EQ(client.relogons, 1);
  EXPECT_EQ(channel->Requests.size(), 1u);
}

TEST_F(CallTest, FailedRelogonGivesFalseWithoutException) {
  client.relogonResult = false;
  channel->Queue(Reply("Not Logged"));
  EXPECT_FALSE(client.Call(request, reply, 3));
  EXPECT_EQ(channel->Requests.size(), 1u);
  EXPECT_EQ(reply.GetString(0), "Not Logged") << "the raw reply stays for the caller";
}

TEST_F(CallTest, OtherStatusesRaiseWithTheServerErrorNumber) {
  struct Case {
    std::vector<qint32> integers;
    const char* message;
  } cases[] = {
      {{5}, "Server-side error (ERR-1005)"},
      {{}, "Server-side error (ERR-UNKNOWN)"},
      {{-1000}, "Server-side error (ERR-0)"},
      {{2147483647}, "Server-side error (ERR-2147484647)"},
      {{-2147483647 - 1}, "Server-side error (ERR--2147482648)"},
  };
  for (const Case& c : cases) {
    auto failure = std::make_unique<TDataPacket>();
    failure->AddString("success");  // the status compares with case
    for (qint32 v : c.integers) failure->AddInteger(v);
    channel->Queue(std::move(failure));
    try {
      client.Call(request, reply, 3);
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

}  // namespace
}  // namespace zabko
