#include "tests/net/test_server.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace zabko::test {
namespace {

// Sleeps up to Ms milliseconds, less when the server is stopping; false when it is.
bool Nap(const std::atomic<bool>& stopping, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (stopping) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return !stopping;
}

long long PathNumber(const httplib::Request& req, int index) { return std::stoll(req.matches[index].str()); }

}  // namespace

QByteArray ServedBody(int size) {
  QByteArray b(size, Qt::Uninitialized);
  for (int i = 0; i < size; ++i) b[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  return b;
}

TestServer::TestServer() : server_(std::make_unique<httplib::Server>()), stopping_(std::make_shared<std::atomic<bool>>(false)) {
  httplib::Server& s = *server_;
  auto stopping = stopping_;
  s.Get(R"(/size/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    const QByteArray body = ServedBody(static_cast<int>(PathNumber(req, 1)));
    res.set_content(body.toStdString(), "application/octet-stream");
  });
  s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
    res.set_header("X-Method", req.method);
    res.set_header("X-Content-Type", req.get_header_value("Content-Type"));
    res.set_content(req.body, "text/plain");
  });
  s.Get(R"(/slow/(\d+)/(\d+))", [stopping](const httplib::Request& req, httplib::Response& res) {
    const int chunks = static_cast<int>(PathNumber(req, 1)), ms = static_cast<int>(PathNumber(req, 2));
    const QByteArray body = ServedBody(chunks * 1000);
    res.set_content_provider(body.size(), "application/octet-stream",
                             [body, ms, stopping](size_t offset, size_t, httplib::DataSink& sink) {
                               if (offset > 0 && !Nap(*stopping, ms)) return false;
                               sink.write(body.constData() + offset, 1000);
                               return true;
                             });
  });
  s.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    res.status = static_cast<int>(PathNumber(req, 1));
    res.set_content("error " + req.matches[1].str(), "text/plain");
  });
  s.Get(R"(/cut/(\d+)/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    const long long claimed = PathNumber(req, 1), sent = PathNumber(req, 2);
    const QByteArray body = ServedBody(static_cast<int>(sent));
    res.set_content_provider(claimed, "application/octet-stream", [body](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset >= static_cast<size_t>(body.size())) return false;  // closes the connection
      sink.write(body.constData() + offset, body.size() - offset);
      return true;
    });
  });
  s.Get("/stall", [stopping](const httplib::Request&, httplib::Response& res) {
    const QByteArray body = ServedBody(1000);
    res.set_content_provider(body.size(), "application/octet-stream",
                             [body, stopping](size_t offset, size_t, httplib::DataSink& sink) {
                               if (offset == 0) {
                                 sink.write(body.constData(), 10);
                                 return true;
                               }
                               Nap(*stopping, 20000);
                               return false;
                             });
  });
  s.Get("/nostatus", [stopping](const httplib::Request&, httplib::Response& res) {
    Nap(*stopping, 20000);
    res.status = 500;
  });
  s.Get("/headers", [](const httplib::Request& req, httplib::Response& res) {
    std::string text;
    for (const char* name : {"Authorization", "User-Agent", "Accept", "Pragma", "X-Extra"})
      text += std::string(name) + "=" + req.get_header_value(name) + "\n";
    res.set_content(text, "text/plain");
  });
  s.Get("/redirect", [](const httplib::Request& req, httplib::Response& res) {
    res.set_redirect(req.get_param_value("to"));
  });
  port_ = s.bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestServer::~TestServer() {
  *stopping_ = true;
  server_->stop();
  thread_.join();
}

QByteArray TestServer::Url(const char* path) const {
  return "http://127.0.0.1:" + QByteArray::number(port_) + path;
}

QByteArray TestServer::DeadUrl() {
  // Bind a port, then give it up: nothing listens there right after.
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  const int port = ntohs(addr.sin_port);
  ::close(fd);
  return "http://127.0.0.1:" + QByteArray::number(port) + "/size/10";
}

}  // namespace zabko::test
