#include "audio/acm_out.h"
#include "audio/acm_wrapper.h"
#include "tests/audio/fake_wave_out.h"
#include "tests/common/test_util.h"

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::FakeWaveSystem;
using test::RunPostedCalls;

QByteArray Block(int i) { return QByteArray(4, static_cast<char>('a' + i)); }

struct HoldBackCase {
  int numBuffers;
  int blocks;
  int reachDevice;
};

void PrintTo(const HoldBackCase& c, std::ostream* os) {
  *os << c.numBuffers << " buffers, " << c.blocks << " blocks, " << c.reachDevice << " reach the device";
}

class HoldBack : public testing::TestWithParam<HoldBackCase> {};

TEST_P(HoldBack, HeldBuffersGoOutInOrderWithTheNextOne) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = GetParam().numBuffers;
  out.Open(PcmFormat(16000, 1));
  for (int i = 0; i < GetParam().blocks; ++i) EXPECT_TRUE(out.PlayBuffer(Block(i).constData(), 4));
  QList<QByteArray> expected;
  for (int i = 0; i < GetParam().reachDevice; ++i) expected.append(Block(i));
  EXPECT_EQ(wave.written, expected);
  EXPECT_EQ(out.BufferCount(), GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(ACMOut, HoldBack,
                         testing::Values(HoldBackCase{4, 5, 5}, HoldBackCase{4, 3, 0}, HoldBackCase{0, 1, 1},
                                         HoldBackCase{1, 3, 3}));

TEST(ACMOut, NothingIsQueuedForAnEmptyBlockOrWhileClosed) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = 0;
  EXPECT_FALSE(out.PlayBuffer("abcd", 4));
  out.Open(PcmFormat(16000, 1));
  EXPECT_FALSE(out.PlayBuffer("abcd", 0));
  EXPECT_TRUE(wave.written.isEmpty());
  EXPECT_EQ(out.BufferCount(), 0);
}

TEST(ACMOut, SecondOpenKeepsTheFirstFormat) {
  FakeWaveSystem wave;
  TACMOut out;
  out.Open(PcmFormat(16000, 1));
  out.Open(PcmFormat(44100, 2));
  EXPECT_EQ(wave.opens, 1);
  EXPECT_EQ(out.Format().SamplesPerSec, 16000u);
}

TEST(ACMOut, PcmOpensOnTheMapperOtherFormatsOnDeviceZero) {
  FakeWaveSystem wave;
  TACMOut pcm;
  pcm.Open(PcmFormat(16000, 1));
  TWaveFormat other = PcmFormat(16000, 1);
  other.FormatTag = 0x55;
  TACMOut mapped;
  mapped.Open(other);
  EXPECT_EQ(wave.deviceIds, (std::vector<unsigned>{kWaveMapper, 0u}));
}

TEST(ACMOut, BlocksAreCopiedAndReportedInOrderThenFreed) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = 0;
  QList<QByteArray> reported;
  out.OnBufferDone = [&](TACMOut* sender, TWaveHeader* header) {
    EXPECT_EQ(sender, &out);
    reported.append(QByteArray(header->Data, header->BufferLength));
  };
  out.Open(PcmFormat(16000, 1));
  QByteArray data = "first";
  out.PlayBuffer(data.constData(), data.size());
  data = "again";  // the caller may reuse its memory at once
  out.PlayBuffer(data.constData(), data.size());
  EXPECT_EQ(wave.written, (QList<QByteArray>{"first", "again"}));

  wave.devices[0]->CompleteNext();
  EXPECT_TRUE(reported.isEmpty()) << "reports come from the event loop, not from the device";
  RunPostedCalls();
  EXPECT_EQ(reported, QList<QByteArray>{"first"});
  EXPECT_EQ(out.BufferCount(), 1);
  wave.CompleteAll();
  EXPECT_EQ(reported, (QList<QByteArray>{"first", "again"}));
  EXPECT_EQ(out.BufferCount(), 0);
}

TEST(ACMOut, CloseFreesEverythingAndDropsReportsOnTheirWay) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = 1;
  int reports = 0;
  out.OnBufferDone = [&](TACMOut*, TWaveHeader*) { ++reports; };
  out.Open(PcmFormat(16000, 1));
  out.PlayBuffer("held", 4);
  out.PlayBuffer("next", 4);
  wave.devices[0]->CompleteNext();  // a report posted before the close
  out.ACMOutClose();
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(out.BufferCount(), 0);
  EXPECT_TRUE(wave.devices.empty());
  RunPostedCalls();
  EXPECT_EQ(reports, 0);

  out.Open(PcmFormat(16000, 1));  // a closed object opens again
  EXPECT_TRUE(out.IsOpen());
}

TEST(ACMOut, AReportOfAnEarlierOpeningIsIgnoredAfterReopening) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = 0;
  int reports = 0;
  out.OnBufferDone = [&](TACMOut*, TWaveHeader*) { ++reports; };
  out.Open(PcmFormat(16000, 1));
  TWaveDoneCallback firstOpening = wave.lastCallback;
  out.PlayBuffer("old!", 4);
  TWaveHeader* oldHeader = wave.devices[0]->queued.front();
  out.ACMOutClose();
  out.Open(PcmFormat(16000, 1));
  out.PlayBuffer("new!", 4);
  TWaveHeader* newHeader = wave.devices[0]->queued.front();

  firstOpening(oldHeader);  // the old header is freed: it must not be touched
  firstOpening(newHeader);  // the right header, but from the wrong opening
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(out.BufferCount(), 1);
}

TEST(ACMOut, AHandlerThatRaisesStillFreesItsBuffer) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = 0;
  out.OnBufferDone = [](TACMOut*, TWaveHeader*) { throw Exception("handler failed"); };
  out.Open(PcmFormat(16000, 1));
  out.PlayBuffer("data", 4);
  TWaveHeader* header = wave.devices[0]->queued.front();
  wave.devices[0]->queued.clear();
  header->Flags &= ~kWaveHeaderInQueue;
  EXPECT_THROW(wave.lastCallback(header), Exception);
  EXPECT_EQ(out.BufferCount(), 0);
}

TEST(ACMOut, FailedOpenLeavesItClosedWithTheFormatCopied) {
  FakeWaveSystem wave;
  wave.openResult = 4;
  TACMOut out;
  try {
    out.Open(PcmFormat(22050, 2));
    FAIL() << "no exception";
  } catch (const EACMOut& e) {
    EXPECT_EQ(e.Message(), "WaveOutOpen The specified resource is already in use.");
  }
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(out.Format().SamplesPerSec, 22050u);
}

TEST(ACMOut, FailedWriteKeepsNothingOfTheBlock) {
  FakeWaveSystem wave;
  TACMOut out;
  out.NumBuffers = 1;
  out.Open(PcmFormat(16000, 1));
  out.PlayBuffer("held", 4);
  wave.writeResult = 7;
  try {
    out.PlayBuffer("next", 4);
    FAIL() << "no exception";
  } catch (const EACMOut& e) {
    EXPECT_EQ(e.Message(), "WaveOut-Write The system is unable to allocate resources.");
  }
  EXPECT_EQ(out.BufferCount(), 0);
  wave.writeResult = 0;
  EXPECT_TRUE(out.PlayBuffer("more", 4));
  EXPECT_EQ(wave.written, QList<QByteArray>{"more"});
}

TEST(ACMOut, ErrorTexts) {
  const struct {
    int code;
    const char* message;
  } cases[] = {
      {2, "Op The specified resource does not exist."},
      {5, "Op The specified handle is invalid."},
      {6, "Op A suitable driver is not available to provide valid format selections."},
      {10, "Op At least one flag is invalid."},
      {11, "Op At least one parameter is invalid."},
      {32, "Op Unsupported audio format."},
      {35, "Op The specified device does not support asynchronous operation."},
      {512, "Op The requested operation cannot be performed."},
      {513, "Op The conversion stream is already in use."},
      {514, "Op Cannot perform this action on a header that has not been prepared."},
      {33, "Op raised an unknown error (code #33)"},
      {-1, "Op raised an unknown error (code #-1)"},
  };
  for (const auto& c : cases) {
    try {
      TACMOut::RaiseError("Op", c.code);
      ADD_FAILURE() << "no exception for " << c.code;
    } catch (const EACMOut& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  EXPECT_NO_THROW(TACMOut::RaiseError("Op", 0));
}

}  // namespace
}  // namespace zabko
