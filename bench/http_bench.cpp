// A small POST and its reply on loopback: through the whole HTTP component (worker thread, events
// on the GUI thread, message-pumping wait) against a bare libcurl request on the same server. Both
// use a new easy handle, and so a new connection, per request.
#include "net/nice_http.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <string>
#include <thread>

namespace {

// The packet-sized request and reply of a typical server call.
const std::string kRequest(240, 'A');
const std::string kReply = "<PACKET>" + std::string(400, 'B') + "</PACKET>";

struct LoopbackServer {
  httplib::Server server;
  std::thread thread;
  std::string url;

  LoopbackServer() {
    server.Post("/AccessIn.ashx", [](const httplib::Request&, httplib::Response& res) { res.set_content(kReply, "text/html"); });
    const int port = server.bind_to_any_port("127.0.0.1");
    url = "http://127.0.0.1:" + std::to_string(port) + "/AccessIn.ashx?page=APP";
    thread = std::thread([this] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~LoopbackServer() {
    server.stop();
    thread.join();
  }
};

LoopbackServer& Server() {
  static LoopbackServer server;
  return server;
}

// The component needs an application object: its events run on that object's thread.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "zabko_bench";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)app;
}

void BM_HttpPostComponent(benchmark::State& state) {
  EnsureApplication();
  LoopbackServer& server = Server();
  zabko::TNiceHttp http(true);
  const QByteArray url = QByteArray::fromStdString(server.url);
  const QByteArray data = QByteArray::fromStdString(kRequest);
  QByteArray reply;
  for (auto _ : state) {
    if (!http.Post(url, data, reply, false) || reply.size() != static_cast<qsizetype>(kReply.size())) {
      state.SkipWithError("request failed");
      break;
    }
  }
}
BENCHMARK(BM_HttpPostComponent)->UseRealTime()->MinTime(2.0);

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

void BM_HttpPostBareCurl(benchmark::State& state) {
  LoopbackServer& server = Server();
  curl_global_init(CURL_GLOBAL_DEFAULT);
  std::string reply;
  for (auto _ : state) {
    reply.clear();
    CURL* curl = curl_easy_init();
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_URL, server.url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, kRequest.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(kRequest.size()));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);
    if (result != CURLE_OK || reply.size() != kReply.size()) {
      state.SkipWithError("request failed");
      break;
    }
  }
}
BENCHMARK(BM_HttpPostBareCurl)->UseRealTime()->MinTime(2.0);

}  // namespace
