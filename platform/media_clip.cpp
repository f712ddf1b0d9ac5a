#include "platform/media_clip.h"

#include "platform/exception.h"

#include <utility>

namespace zabko {

namespace {
TMediaClipOpener& Opener() {
  static TMediaClipOpener opener;
  return opener;
}
}  // namespace

void SetMediaClipOpener(TMediaClipOpener opener) { Opener() = std::move(opener); }

bool HasMediaClipOpener() { return static_cast<bool>(Opener()); }

std::unique_ptr<TMediaClip> OpenMediaClip(const QByteArray& path) {
  if (!Opener()) throw Exception("No media playback installed");
  return Opener()(path);
}

}  // namespace zabko
