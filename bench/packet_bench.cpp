// Saving and loading a word-database-shaped packet: 10,000 sub-packets, each with a few
// integers, 8-bit strings and wide strings.
#include "core/data_packet.h"
#include "platform/stream.h"

#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<zabko::TDataPacket> WordDatabaseShaped() {
  auto db = std::make_unique<zabko::TDataPacket>();
  db->AddInteger(3010);
  zabko::TDataPacket* words = db->AddNewPacket();
  for (int i = 0; i < 10000; ++i) {
    zabko::TDataPacket* w = words->AddNewPacket();
    w->AddInteger(i);
    w->AddInteger(i % 26);
    w->AddInteger(2);
    w->AddString("word" + QByteArray::number(i));
    w->AddString("\xF9\xEC\xE5\xED");
    w->AddUTFString(QStringLiteral("abandon %1").arg(i));
    w->AddUTFString(QString::fromUtf8("לנטוש, לעזוב"));
    w->AddNewPacket()->AddString("sound" + QByteArray::number(i));
  }
  return db;
}

void BM_SaveBinary(benchmark::State& state) {
  auto db = WordDatabaseShaped();
  qint64 bytes = 0;
  for (auto _ : state) {
    const QByteArray form = db->SaveToBytes();
    bytes += form.size();
    benchmark::DoNotOptimize(form.constData());
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_SaveBinary);

// Freeing the loaded packet is not part of loading it: it happens outside the timed region.
void BM_LoadBinary(benchmark::State& state) {
  const QByteArray form = WordDatabaseShaped()->SaveToBytes();
  for (auto _ : state) {
    auto p = std::make_unique<zabko::TDataPacket>();
    zabko::TMemoryStream stream(form);
    p->LoadFromStream(stream);
    benchmark::DoNotOptimize(p->PacketCount());
    state.PauseTiming();
    p.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * form.size());
}
BENCHMARK(BM_LoadBinary);

void BM_SaveHex(benchmark::State& state) {
  auto db = WordDatabaseShaped();
  qint64 bytes = 0;
  for (auto _ : state) {
    const QByteArray hex = db->SaveToHexString();
    bytes += hex.size();
    benchmark::DoNotOptimize(hex.constData());
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_SaveHex);

void BM_LoadHex(benchmark::State& state) {
  const QByteArray hex = WordDatabaseShaped()->SaveToHexString();
  for (auto _ : state) {
    auto p = std::make_unique<zabko::TDataPacket>();
    p->LoadFromHexString(hex);
    benchmark::DoNotOptimize(p->PacketCount());
    state.PauseTiming();
    p.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * hex.size());
}
BENCHMARK(BM_LoadHex);

void BM_HexEncode(benchmark::State& state) {
  const QByteArray form = WordDatabaseShaped()->SaveToBytes();
  for (auto _ : state) {
    const QByteArray hex = zabko::BytesToHex(form.constData(), form.size());
    benchmark::DoNotOptimize(hex.constData());
  }
  state.SetBytesProcessed(state.iterations() * form.size());
}
BENCHMARK(BM_HexEncode);

void BM_HexDecode(benchmark::State& state) {
  const QByteArray form = WordDatabaseShaped()->SaveToBytes();
  const QByteArray hex = zabko::BytesToHex(form.constData(), form.size());
  for (auto _ : state) {
    const QByteArray bytes = zabko::HexToBytes(hex.constData(), hex.size());
    benchmark::DoNotOptimize(bytes.constData());
  }
  state.SetBytesProcessed(state.iterations() * hex.size());
}
BENCHMARK(BM_HexDecode);

}  // namespace
