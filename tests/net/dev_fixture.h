// The stand-in server for client tests: started on ephemeral loopback ports, with made-up words
// and one user, and a channel that reaches it without HTTP.
#pragma once

#include "core/data_packet.h"
#include "devserver/dev_server.h"
#include "net/web_packet_channel.h"
#include "net/win_http.h"
#include "net/zabkolex_client.h"

#include <gtest/gtest.h>

#include <memory>

namespace zabko::test {

// A web channel whose POST goes straight to the server's request handler; a server taken down
// or a URL of no server fails as a refused connection does.
class TInProcessChannel : public TWebPacketChannel {
 public:
  explicit TInProcessChannel(dev::TDevServer& server) : server_(server) {}

 protected:
  bool Post(const QByteArray& url, const QByteArray& data) override {
    for (const QByteArray& name : server_.ServerNames()) {
      const QByteArray base = server_.BaseUrl(name);
      if (!url.startsWith(base)) continue;
      if (!server_.IsUp(name)) return false;
      const dev::THttpReply reply = server_.HandlePost(name, data, "/app/" + url.mid(base.size()));
      if (reply.status != 200) return false;
      ReplyText = reply.body;
      return true;
    }
    return false;
  }

 private:
  dev::TDevServer& server_;
};

// Over real HTTP (the web channel with the HTTP component) or through the in-process channel.
class DevServerTest : public ::testing::TestWithParam<bool> {
 protected:
  virtual bool UseHttp() const { return GetParam(); }

  static constexpr const char* kUser = "dana";
  static constexpr const char* kPassword = "secret";

  void SetUp() override {
    dev::TDevServerOptions options;
    options.clock = [this] { return now_; };
    options.hasher = [](const QByteArray& content) {
      return QByteArray::number(qHash(content), 16).rightJustified(32, '0').toUpper();
    };
    server_ = std::make_unique<dev::TDevServer>(options);
    server_->WithState([](dev::TDevProtocol& p) { p.Words().AddSynthetic(4); });
    userKey_ = server_->AddUser(kUser, kPassword);
    server_->Start();
    if (UseHttp()) {
      client_ = CreateServerClient(kUser, kPassword);
      channel_ = dynamic_cast<TWebPacketChannel*>(client_->Channel);
      ASSERT_TRUE(channel_ && client_->OwnsChannel);
      channel_->Http().Timeouts.ReceiveTimeout = 1000;
    } else {
      client_ = std::make_unique<TZabkolexClient>(channel_ = new TInProcessChannel(*server_), true);
      client_->UserName = kUser;
      client_->Password = kPassword;
    }
    client_->SetBaseURL(Url(dev::TDevServer::MemberName(0)));
  }

  QByteArray Url(const QByteArray& server) const { return server_->BaseUrl(server); }

  void LogOn() {
    ASSERT_TRUE(client_->LogOn(-1, true));
    server_->ClearLog();
  }

  // The one request of a method that the log holds.
  dev::TLoggedRequest Only(const QByteArray& method) const {
    const auto entries = server_->LogOf(method);
    EXPECT_EQ(entries.size(), 1u) << method.constData();
    return entries.empty() ? dev::TLoggedRequest{} : entries.front();
  }

  std::vector<QByteArray> Methods() const {
    std::vector<QByteArray> methods;
    for (const auto& e : server_->Log()) methods.push_back(e.method);
    return methods;
  }

  qint64 now_ = 1'800'000'000'000;
  std::unique_ptr<dev::TDevServer> server_;
  TWebPacketChannel* channel_ = nullptr;
  std::unique_ptr<TZabkolexClient> client_;
  QByteArray userKey_;
};

inline std::string ChannelName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Http" : "InProcess";
}

}  // namespace zabko::test
