#include "audio/acm_wrapper.h"
#include "audio/mpg123_sound_file.h"
#include "tests/audio/fake_wave_out.h"
#include "tests/common/test_util.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::FakeWaveSystem;

// The manager is one for the process: every case releases the wrappers it gets, so that none
// carries a locked wrapper into the next.
class ACMWrapperTest : public testing::Test {
 protected:
  void TearDown() override {
    GetACMManager().StopAll();
    GetACMManager().Reap();
    EXPECT_EQ(GetACMManager().Count(), 0) << "the case left a wrapper locked";
  }
  FakeWaveSystem wave;
};

TEST_F(ACMWrapperTest, ADeviceOpensOnlyWhenSomethingIsWritten) {
  TACMWrapper* wrapper = GetACMManager().Get(16000, 1);
  EXPECT_EQ(wave.opens, 0);
  EXPECT_TRUE(wrapper->IsIdle());
  TMemoryStream empty;
  wrapper->Write(empty);
  EXPECT_EQ(wave.opens, 0);
  EXPECT_EQ(wrapper->WrittenCount, 0);

  TMemoryStream pcm(QByteArray(400, 'x'));
  wrapper->Write(pcm);
  ASSERT_EQ(wave.opens, 1);
  const TWaveFormat& format = wave.formats[0];
  EXPECT_EQ(format.FormatTag, kWaveFormatPcm);
  EXPECT_EQ(format.SamplesPerSec, 16000u);
  EXPECT_EQ(format.AvgBytesPerSec, 32000u);
  EXPECT_EQ(format.BlockAlign, 2);
  EXPECT_EQ(format.BitsPerSample, 16);
  EXPECT_EQ(wave.written, QList<QByteArray>{QByteArray(400, 'x')});
  EXPECT_FALSE(wrapper->IsIdle());
  wave.CompleteAll();
  EXPECT_TRUE(wrapper->IsIdle());
  wrapper->Release();
}

TEST_F(ACMWrapperTest, AFailedWriteDoesNotLeaveTheWrapperBusy) {
  TACMWrapper* wrapper = GetACMManager().Get(16000, 1);
  wave.writeResult = 7;
  TMemoryStream pcm(QByteArray(400, 'x'));
  EXPECT_THROW(wrapper->Write(pcm), EACMOut);
  EXPECT_TRUE(wrapper->IsIdle());
  wrapper->Release();
  GetACMManager().Reap();
  EXPECT_EQ(GetACMManager().Count(), 0);
  EXPECT_TRUE(wave.devices.empty());
}

TEST_F(ACMWrapperTest, ReapFreesOnlyWrappersThatAreReleasedAndIdle) {
  TACMManager& manager = GetACMManager();
  TACMWrapper* held = manager.Get(16000, 1);
  TACMWrapper* playing = manager.Get(16000, 1);
  TACMWrapper* done = manager.Get(16000, 1);
  TMemoryStream pcm(QByteArray(40, 'x'));
  playing->Write(pcm);
  playing->Release();
  done->Release();
  manager.Reap();
  EXPECT_EQ(manager.Count(), 2);
  EXPECT_TRUE(held->Locked);
  wave.CompleteAll();
  TACMWrapper* fresh = manager.Get(16000, 1);  // a Get reaps first
  EXPECT_EQ(manager.Count(), 2);
  EXPECT_TRUE(wave.devices.empty()) << "the finished wrapper's device is closed";
  held->Release();
  fresh->Release();
}

TEST_F(ACMWrapperTest, PlayingASoundTwiceQuicklyOverlapsOnTwoDevices) {
  TMPG123SoundFile file(QFile::encodeName(test::FixturePath("tone_b_16k_mono.mp3")), false);
  file.OpenFile();
  ASSERT_NE(file.Wrapper(), nullptr);
  EXPECT_EQ(file.Pcm()->Size(), 8 * 576 * 2);
  EXPECT_EQ(wave.opens, 0) << "opening a sound file holds no device";

  file.PlayFile();
  TACMWrapper* first = file.Wrapper();
  file.PlayFile();  // the first play still sounds
  EXPECT_NE(file.Wrapper(), first);
  EXPECT_EQ(wave.devices.size(), 2u);
  EXPECT_EQ(wave.written.size(), 2);
  EXPECT_EQ(wave.written[0], wave.written[1]);
  EXPECT_EQ(wave.written[0], file.Pcm()->ToByteArray());
  EXPECT_FALSE(first->Locked);

  wave.CompleteAll();
  EXPECT_TRUE(wave.devices.empty()) << "a device is held only while it sounds";
  TACMWrapper* second = file.Wrapper();
  file.PlayFile();  // idle again: the same wrapper plays, on a device opened anew
  EXPECT_EQ(file.Wrapper(), second);
  EXPECT_EQ(wave.devices.size(), 1u);
  EXPECT_EQ(wave.opens, 3);
  TACMWrapper* other = GetACMManager().Get(16000, 1);
  EXPECT_EQ(GetACMManager().Count(), 2) << "the first wrapper, released and finished, is freed";
  other->Release();

  file.CloseFile();
  EXPECT_EQ(file.Wrapper(), nullptr);
}

TEST_F(ACMWrapperTest, FreeingTheManagerClosesEveryDevice) {
  TMemoryStream pcm(QByteArray(40, 'x'));
  TACMWrapper* mono = GetACMManager().Get(16000, 1);
  TACMWrapper* stereo = GetACMManager().Get(44100, 2);
  mono->Write(pcm);
  stereo->Write(pcm);
  EXPECT_EQ(wave.devices.size(), 2u);
  FreeACMManager();
  EXPECT_TRUE(wave.devices.empty());
  // Held wrappers stay (stopped) until their holder lets them go.
  mono->Release();
  stereo->Release();
}

}  // namespace
}  // namespace zabko
