// A small POST and its reply on loopback: through the whole HTTP component (worker thread, events
// on the GUI thread, message-pumping wait) against a bare libcurl request on the same server. Both
// use a new easy handle, and so a new connection, per request. The server runs in a child
// process, so the CPU time reported (of every thread of this process) is the client's alone.
#include "bench/loopback_http_server.h"
#include "net/custom_win_thread.h"
#include "net/nice_http.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>

namespace {

using zabko::bench::LoopbackReply;
using zabko::bench::LoopbackRequest;
using zabko::bench::LoopbackUrl;

void BM_HttpPostComponent(benchmark::State& state) {
  zabko::TNiceHttp http(true);
  const QByteArray url = QByteArray::fromStdString(LoopbackUrl());
  const QByteArray data = QByteArray::fromStdString(LoopbackRequest());
  QByteArray reply;
  for (auto _ : state) {
    if (!http.Post(url, data, reply, false) || reply.size() != static_cast<qsizetype>(LoopbackReply().size())) {
      state.SkipWithError("request failed");
      break;
    }
  }
}
BENCHMARK(BM_HttpPostComponent)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

// One request with a new easy handle; true when the whole reply came.
bool BarePost(std::string& reply) {
  const std::string& url = LoopbackUrl();
  const std::string& request = LoopbackRequest();
  reply.clear();
  CURL* curl = curl_easy_init();
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
  headers = curl_slist_append(headers, "Expect:");
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.size()));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  curl_slist_free_all(headers);
  return result == CURLE_OK && reply.size() == LoopbackReply().size();
}

void BM_HttpPostBareCurl(benchmark::State& state) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  std::string reply;
  for (auto _ : state) {
    if (!BarePost(reply)) {
      state.SkipWithError("request failed");
      break;
    }
  }
}
BENCHMARK(BM_HttpPostBareCurl)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);


// What the component's threading alone costs, to set the figures above against: a round trip
// from the GUI thread to a pool thread and back with an empty body, and the bare request run as
// the worker's body (the thread waking for each request and going back to sleep after it).
void BM_WorkerRoundTrip(benchmark::State& state) {
  zabko::TCustomWinThread thread;
  thread.SetOnExecute([](zabko::TEventWinThread&) {});
  thread.SetOnFinish([](zabko::TEventWinThread&) {});
  thread.WaitThread = true;
  for (auto _ : state) thread.Execute();
}
BENCHMARK(BM_WorkerRoundTrip)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_HttpPostBareCurlOnWorker(benchmark::State& state) {
  zabko::TCustomWinThread thread;
  std::string reply;
  bool ok = true;
  thread.SetOnExecute([&](zabko::TEventWinThread&) { ok = BarePost(reply); });
  thread.SetOnFinish([](zabko::TEventWinThread&) {});
  thread.WaitThread = true;
  for (auto _ : state) {
    if (!thread.Execute() || !ok) {
      state.SkipWithError("request failed");
      break;
    }
  }
}
BENCHMARK(BM_HttpPostBareCurlOnWorker)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
