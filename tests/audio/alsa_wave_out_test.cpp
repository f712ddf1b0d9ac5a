// The real ALSA device, on ALSA's "null" device and on a file device that writes what it plays
// to a raw file, so no sound card is needed.
#include "audio/acm_out.h"
#include "audio/acm_wrapper.h"
#include "audio/mpg123_wrapper.h"
#include "tests/audio/fake_wave_out.h"
#include "tests/common/test_util.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace zabko {
namespace {

// Selects an ALSA device for the test's lifetime.
class AlsaDevice {
 public:
  explicit AlsaDevice(const QByteArray& name) : previous_(qgetenv("ZABKO_ALSA_DEVICE")) {
    qputenv("ZABKO_ALSA_DEVICE", name);
  }
  ~AlsaDevice() { qputenv("ZABKO_ALSA_DEVICE", previous_); }

 private:
  QByteArray previous_;
};

QByteArray DecodeFixture(const char* name, int& rate, int& channels) {
  TMPG123Wrapper decoder(QFile::encodeName(test::FixturePath(name)));
  TMemoryStream pcm;
  decoder.DecodeToStream(pcm, std::numeric_limits<int32_t>::max());
  rate = static_cast<int>(decoder.SampleRate());
  channels = decoder.Channels();
  return pcm.ToByteArray();
}

TEST(AlsaWaveOut, PlaysAFixtureIntoAFileDeviceByteForByte) {
  int rate = 0;
  int channels = 0;
  const QByteArray pcm = DecodeFixture("tone_44k_stereo.mp3", rate, channels);
  QTemporaryDir dir;
  const QString raw = dir.filePath("played.raw");
  AlsaDevice device("file:FILE=" + QFile::encodeName(raw) + ",FORMAT=raw");

  TACMOut out;
  out.NumBuffers = 1;
  QList<QByteArray> reported;
  out.OnBufferDone = [&](TACMOut*, TWaveHeader* header) { reported.append(QByteArray(header->Data, header->BufferLength)); };
  out.Open(PcmFormat(rate, channels));
  // Three blocks of odd sizes (whole frames), the first held back.
  const qsizetype third = pcm.size() / 3 / 4 * 4;
  const QList<QByteArray> blocks = {pcm.left(third), pcm.mid(third, third), pcm.mid(2 * third)};
  for (const QByteArray& block : blocks) out.PlayBuffer(block.constData(), block.size());
  ASSERT_TRUE(test::WaitFor([&] { return out.BufferCount() == 0; }));
  EXPECT_EQ(reported, blocks);
  out.ACMOutClose();

  QFile file(raw);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), pcm);
}

TEST(AlsaWaveOut, AWrapperOnTheNullDeviceBecomesIdleWhenItsPlayEnds) {
  AlsaDevice device("null");
  int rate = 0;
  int channels = 0;
  TMemoryStream pcm(DecodeFixture("tone_a_16k_mono.mp3", rate, channels));
  TACMWrapper wrapper(rate, channels);
  wrapper.Write(pcm);
  wrapper.Write(pcm);
  EXPECT_EQ(wrapper.WrittenCount, 2);
  EXPECT_TRUE(test::WaitFor([&] { return wrapper.IsIdle(); }));
  EXPECT_EQ(wrapper.FinishedCount, 2);
}

TEST(AlsaWaveOut, ResetDuringPlayReportsEveryBufferAndCloses) {
  AlsaDevice device("null");
  TACMOut out;
  out.NumBuffers = 0;
  out.Open(PcmFormat(8000, 1));
  const QByteArray silence(64000, '\0');
  for (int i = 0; i < 5; ++i) out.PlayBuffer(silence.constData(), silence.size());
  out.ACMOutClose();
  EXPECT_EQ(out.BufferCount(), 0);
  test::RunPostedCalls();
}

TEST(AlsaWaveOut, OpenErrorsMapOntoTheDeviceErrors) {
  const struct {
    QByteArray device;
    TWaveFormat format;
    const char* message;
  } cases[] = {
      {"no_such_device_here", PcmFormat(16000, 1), "WaveOutOpen The specified resource does not exist."},
      {"null", [] { TWaveFormat f = PcmFormat(16000, 1); f.BitsPerSample = 12; return f; }(),
       "WaveOutOpen Unsupported audio format."},
      {"null", [] { TWaveFormat f = PcmFormat(16000, 1); f.FormatTag = 0x55; return f; }(),
       "WaveOutOpen Unsupported audio format."},
  };
  for (const auto& c : cases) {
    AlsaDevice device(c.device);
    TACMOut out;
    try {
      out.Open(c.format);
      ADD_FAILURE() << "no exception for " << c.device.toStdString();
    } catch (const EACMOut& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_FALSE(out.IsOpen());
  }
}

}  // namespace
}  // namespace zabko
