#include "audio/mpg123_sound_file.h"

#include "audio/mpg123_wrapper.h"
#include "platform/exception.h"
#include "platform/media_clip.h"

#include <limits>

namespace zabko {

TMPG123SoundFile::~TMPG123SoundFile() { CloseFile(); }

void TMPG123SoundFile::Open() {
  auto pcm = std::make_unique<TMemoryStream>();
  int rate = 0;
  int channels = 0;
  {
    TMPG123Wrapper decoder(Path());
    decoder.DecodeToStream(*pcm, std::numeric_limits<int32_t>::max());
    rate = static_cast<int>(decoder.SampleRate());
    channels = decoder.Channels();
  }
  wrapper_ = GetACMManager().Get(rate, channels);
  pcm_ = std::move(pcm);
}

void TMPG123SoundFile::Play() {
  pcm_->SetPosition(0);
  if (!wrapper_->IsIdle()) wrapper_ = wrapper_->Replace();
  wrapper_->Write(*pcm_);
}

void TMPG123SoundFile::Close() {
  if (wrapper_ != nullptr) wrapper_->Release();
  wrapper_ = nullptr;
  pcm_.reset();
}

void TMPG123SoundFile::StopPlaying() {
  if (wrapper_ != nullptr) wrapper_->Stop();
}

namespace {

class TMpg123Clip final : public TMediaClip {
 public:
  explicit TMpg123Clip(const QByteArray& path) : file_(path, false) {
    if (!file_.FileExists()) throw Exception("Cannot open file " + QString::fromLocal8Bit(path));
    file_.OpenFile();
  }
  void Play() override { file_.PlayFile(); }
  void Stop() override { file_.StopPlaying(); }
  bool IsPlaying() override { return file_.Wrapper() != nullptr && !file_.Wrapper()->IsIdle(); }

 private:
  TMPG123SoundFile file_;
};

}  // namespace

void InstallMediaClips() {
  if (HasMediaClipOpener()) return;
  SetMediaClipOpener([](const QByteArray& path) -> std::unique_ptr<TMediaClip> {
    return std::make_unique<TMpg123Clip>(path);
  });
}

}  // namespace zabko
