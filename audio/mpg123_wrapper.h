// MP3 decoding with libmpg123, loaded at run time and bound by name. TMPG123Wrapper is one
// decoder handle on one file, decoding to signed 16-bit PCM.
#pragma once

#include "platform/stream.h"

#include <QByteArray>

#include <cstddef>

namespace zabko {

// Loads and initialises the library once; any failure becomes "Failed to load mpg123".
void EnsureMpg123();
// Raises "mpg123 failed with method " + method for a result other than 0.
void CheckMpg123Result(int result, const char* method);
// Ends the library when it was initialised.
void ExitMpg123();

class TMPG123Wrapper {
 public:
  // Opens the file (8-bit path). Fails with "Failed to load mpg123" or "mpg123 failed with
  // method mpg123_new" / "mpg123_open".
  explicit TMPG123Wrapper(const QByteArray& path);
  ~TMPG123Wrapper();
  TMPG123Wrapper(const TMPG123Wrapper&) = delete;
  TMPG123Wrapper& operator=(const TMPG123Wrapper&) = delete;

  // Reads the stream's format and fixes the output to it, 16-bit signed. After the overload
  // below, keeps the format fixed there.
  void SetupFormat();
  // Fixes the output to Rate and Channels, 16-bit signed, whatever the stream's own format: the
  // library converts. Must come before the first read (the first SetupFormat or decode).
  void SetupFormat(long rate, int channels);
  // Appends decoded PCM to the stream, at most Limit bytes; returns the bytes decoded. A decode
  // error raises "mpg123 failed with method mpg123_read".
  qint64 DecodeToStream(TStream& stream, qint64 limit);
  // Back to the first frame; "Failed to mpg123_seek" when that fails.
  void Rewind();

  long SampleRate() const { return sampleRate_; }
  int Channels() const { return channels_; }
  size_t OutBlock() const { return outBlock_; }
  bool EndOfStream() const { return endOfStream_; }

 private:
  struct Handle;
  Handle* handle_ = nullptr;
  size_t outBlock_ = 0;
  long sampleRate_ = 0;
  int channels_ = 0;
  bool endOfStream_ = false;
  bool formatForced_ = false;
};

}  // namespace zabko
