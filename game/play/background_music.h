// The game's endless background music. A track is an MP3 intro followed by an MP3 loop (or one
// file used as both), decoded with libmpg123 into a memory buffer of fixed size and played
// through the wave output, two buffers in flight, each played buffer triggering the decoding of
// the next one on the GUI thread. The intro plays once, then the loop repeats without a gap in
// the PCM stream; a loop of another rate or channel count is converted to the intro's format.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace zabko {

class TACMOut;
class TMPG123Wrapper;
class TMemoryStream;

class TBackgroundMusic {
 public:
  virtual ~TBackgroundMusic() = default;
  virtual void Stop() = 0;
  virtual void Play() = 0;
};

class TMPG123BackgroundMusic : public TBackgroundMusic {
 public:
  // Opens both files and the wave output for the intro's format (16-bit PCM), nothing queued.
  // Fails with the decoder's or the output's exceptions.
  TMPG123BackgroundMusic(const QByteArray& introFile, const QByteArray& loopFile, int bufferSize);
  ~TMPG123BackgroundMusic() override;

  // Queues two buffers; every played buffer is refilled and queued again. A refill that fails
  // while playing is logged and ends the music.
  void Play() override;
  // Nothing more is queued and the output closes.
  void Stop() override;

  // Decodes the next buffer (the intro's rest, then the loop, as often as it fits) and queues
  // it. An empty loop queues what was decoded and ends the music.
  void Refill();
  // Decodes with Decoder into the buffer's remaining bytes, rewinding it first when it has
  // reached its end. Returns the bytes decoded.
  qint64 DecodeInto(TMPG123Wrapper& decoder);

  bool Ended() const { return ended_; }
  TACMOut& Output() { return *out_; }

 private:
  std::unique_ptr<TACMOut> out_;
  std::unique_ptr<TMPG123Wrapper> intro_;
  std::unique_ptr<TMPG123Wrapper> loop_;
  std::unique_ptr<TMemoryStream> buffer_;
  TMPG123Wrapper* current_ = nullptr;
  qint64 loopPassBytes_ = 0;  // decoded since the loop's pass began
  bool ended_ = false;
};

// The sound device owner that the play screen keeps for its lifetime. Nothing plays through it
// and the wave output opens its own device, so there is nothing for it to hold.
class TDirectSoundManager {
 public:
  TDirectSoundManager() = default;
};

}  // namespace zabko
