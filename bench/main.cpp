// The benchmarks' main(): one offscreen widget application for the whole run (see
// offscreen_app.h), then Google Benchmark over its own arguments. Started with
// kLoopbackServerArgument it is instead the loopback HTTP server of the HTTP benchmarks.
#include "bench/loopback_http_server.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], zabko::bench::kLoopbackServerArgument) == 0)
    return zabko::bench::ServeLoopbackHttp();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
