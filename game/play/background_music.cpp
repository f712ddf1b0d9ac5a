#include "game/play/background_music.h"

#include "audio/acm_out.h"
#include "audio/mpg123_wrapper.h"
#include "core/exception_log.h"
#include "platform/stream.h"

namespace zabko {

TMPG123BackgroundMusic::TMPG123BackgroundMusic(const QByteArray& introFile, const QByteArray& loopFile,
                                               int bufferSize) {
  intro_ = std::make_unique<TMPG123Wrapper>(introFile);
  intro_->SetupFormat();
  loop_ = std::make_unique<TMPG123Wrapper>(loopFile);
  // The loop plays in the intro's format: a loop of another rate or channel count is
  // converted by the decoder rather than played at the wrong speed.
  loop_->SetupFormat(intro_->SampleRate(), intro_->Channels());

  TWaveFormat format;
  format.FormatTag = kWaveFormatPcm;
  format.Channels = static_cast<uint16_t>(intro_->Channels());
  format.SamplesPerSec = static_cast<uint32_t>(intro_->SampleRate());
  format.BitsPerSample = 16;
  format.BlockAlign = static_cast<uint16_t>(format.Channels * 2);
  format.AvgBytesPerSec = format.BlockAlign * format.SamplesPerSec;
  out_ = std::make_unique<TACMOut>();
  // Every buffer goes to the device at once.
  out_->NumBuffers = 0;
  out_->Open(format);

  buffer_ = std::make_unique<TMemoryStream>();
  buffer_->SetSize(qMax(bufferSize, 0));
}

TMPG123BackgroundMusic::~TMPG123BackgroundMusic() { Stop(); }

void TMPG123BackgroundMusic::Play() {
  out_->OnBufferDone = [this](TACMOut*, TWaveHeader*) {
    // A refill that fails ends the music; the game goes on.
    try {
      Refill();
    } catch (const std::exception& e) {
      LogLine(QByteArray("Background music stopped: ") + e.what());
      ended_ = true;
      Stop();
    }
  };
  current_ = intro_.get();
  Refill();
  Refill();
}

void TMPG123BackgroundMusic::Stop() {
  out_->OnBufferDone = nullptr;
  out_->ACMOutClose();
}

qint64 TMPG123BackgroundMusic::DecodeInto(TMPG123Wrapper& decoder) {
  if (decoder.EndOfStream()) decoder.Rewind();
  return decoder.DecodeToStream(*buffer_, buffer_->Size() - buffer_->Position());
}

void TMPG123BackgroundMusic::Refill() {
  if (ended_ || !out_->IsOpen() || !current_) return;
  const qint64 size = buffer_->Size();
  buffer_->SetPosition(0);
  while (true) {
    const bool loop = current_ == loop_.get();
    // A rewind starts a new pass of the loop.
    if (loop && current_->EndOfStream()) loopPassBytes_ = 0;
    const qint64 decoded = DecodeInto(*current_);
    if (loop) loopPassBytes_ += decoded;
    if (buffer_->Position() >= size) break;
    // A pass of the loop that ends without a sound never gives one: what was decoded is the end.
    // (A pass that adds nothing only because the last buffer filled at the loop's very end has
    // its sound behind it and goes on with a rewind.)
    if (loop && decoded == 0 && (loopPassBytes_ == 0 || !current_->EndOfStream())) {
      ended_ = true;
      LogLine("Background music ends: its loop holds no sound");
      break;
    }
    current_ = loop_.get();
  }
  const qint64 filled = buffer_->Position();
  if (filled > 0) out_->PlayBuffer(buffer_->Memory(), filled);
}

}  // namespace zabko
