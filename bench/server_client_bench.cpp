// "GetQuestions" round trips through the server client, the web channel and the HTTP component
// against the stand-in server on loopback.
#include "devserver/dev_server.h"
#include "net/web_packet_channel.h"
#include "net/zabkolex_client.h"

#include <benchmark/benchmark.h>


#include <memory>

namespace {

using namespace zabko;

// 1,000 sequential requests of 20 questions each, after one log-on.
void BM_ThousandGetQuestions(benchmark::State& state) {

  dev::TDevServer server;
  server.WithState([](dev::TDevProtocol& p) { p.Words().AddSynthetic(12); });
  server.AddUser("bench", "pw");
  server.Start();
  auto client = CreateServerClient("bench", "pw");
  client->SetBaseURL(server.BaseUrl(dev::TDevServer::MemberName(0)));
  if (!client->LogOn(-1, true)) {
    state.SkipWithError("log-on failed");
    return;
  }
  std::vector<TTestQuestion> questions;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      if (!client->GetQuestions(0, 25, 20, -2, -2, 20, false, false, questions) || questions.size() != 20) {
        state.SkipWithError("GetQuestions failed");
        return;
      }
    }
  }
  state.counters["requests/s"] = benchmark::Counter(1000.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ThousandGetQuestions)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
