// A small HTTP server on 127.0.0.1 (an ephemeral port) for the HTTP client tests:
//   GET  /size/N            N bytes of ServedBody(N), with a Content-Length (byte ranges served)
//   POST /echo              the request body, headers "X-Method" and "X-Content-Type" set from the request
//   GET  /slow/N/MS         N chunks of 1000 bytes, MS milliseconds apart (Content-Length known)
//   GET  /status/C          status C with the body "error C"
//   GET  /cut/N/M           claims N bytes, sends M, then closes the connection
//   GET  /stall             a 200 with 10 of 1000 bytes, then silence until the server stops
//   GET  /nostatus          no reply at all until the server stops
//   GET  /headers           the request's Authorization, User-Agent, Accept, Pragma and X-Extra
//                           headers, one "name=value" a line
//   GET  /redirect?to=URL   a 302 to URL
// Handlers that wait stop waiting when the server is destroyed.
#pragma once

#include <QByteArray>

#include <atomic>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

namespace zabko::test {

// The bytes the server sends for a body of Size bytes.
QByteArray ServedBody(int size);

class TestServer {
 public:
  TestServer();
  ~TestServer();

  int Port() const { return port_; }
  // "http://127.0.0.1:PORT" + Path.
  QByteArray Url(const char* path) const;
  // A URL on which nothing listens.
  static QByteArray DeadUrl();

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::shared_ptr<std::atomic<bool>> stopping_;
};

}  // namespace zabko::test
