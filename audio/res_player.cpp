#include "audio/res_player.h"

#include "core/res_manager.h"
#include "platform/code_page.h"

#include <QFile>

namespace zabko {

TResPlayer::TResPlayer(TResManager* resManager, int maxCount, SoundPlayType type)
    : TFilePlayer(type, maxCount), resManager_(resManager) {}

std::unique_ptr<TSoundFile> TResPlayer::CreateSoundFile(const QByteArray& key) {
  const QString path = resManager_->ExtractToTempFile(SystemCodePageToWide(key), QStringLiteral(".mp3"));
  try {
    return NewSoundFile(QFile::encodeName(path), true);
  } catch (...) {
    // No sound file took the copy over (no engine), or the one made has deleted it already.
    QFile::remove(path);
    throw;
  }
}

}  // namespace zabko
