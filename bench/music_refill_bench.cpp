// One refill of the game's background music: 1 MiB of PCM decoded from a demo loop (Game
// Music\A2.mp3) and queued on the wave output, as the GUI thread does it beside the game's
// 30 ms tick. The device plays each buffer at once; its reports, run between the timed refills,
// free the played buffers as in the game, so that memory is reused as it is there.
#include "audio/acm_out.h"
#include "game/play/background_music.h"
#include "game/play/game_managment.h"
#include "platform/wave_out.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

class TSilentDevice : public zabko::TWaveOutDevice {
 public:
  using TWaveOutDevice::TWaveOutDevice;
  ~TSilentDevice() override { ShutdownOnce(); }
  int Reset() override { return 0; }

 protected:
  int Enqueue(zabko::TWaveHeader* header) override {
    ReportDone(header);
    return 0;
  }
  void Shutdown() override {}
};

void BM_MusicRefill(benchmark::State& state) {
  const QString loop = QDir(ZABKO_DATA_OUT).filePath("Game Music/A2.mp3");
  if (!QFile::exists(loop)) {
    state.SkipWithError("no demo music (the build needs lame)");
    return;
  }
  const zabko::TWaveOutOpener previous = zabko::SetWaveOutOpener(
      [](std::unique_ptr<zabko::TWaveOutDevice>& device, unsigned, const zabko::TWaveFormat&,
         zabko::TWaveDoneCallback done) {
        device = std::make_unique<TSilentDevice>(std::move(done));
        return 0;
      });
  {
    const QByteArray file = QFile::encodeName(loop);
    zabko::TMPG123BackgroundMusic music(file, file, zabko::TGameManagment::kMusicBufferSize);
    music.Play();  // the first two buffers
    // The refill is called here rather than from the reports, which only free the buffers.
    music.Output().OnBufferDone = nullptr;
    for (auto _ : state) {
      state.PauseTiming();
      QCoreApplication::processEvents();
      state.ResumeTiming();
      music.Refill();
    }
    state.SetBytesProcessed(state.iterations() * zabko::TGameManagment::kMusicBufferSize);
  }
  zabko::SetWaveOutOpener(previous);
}
BENCHMARK(BM_MusicRefill)->Unit(benchmark::kMillisecond)->Iterations(40)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
