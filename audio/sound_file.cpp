#include "audio/sound_file.h"

#include "platform/exception_handler.h"

#include <QFile>

#include <utility>

namespace zabko {

TSoundFile::TSoundFile(QByteArray path, bool deleteAfterUse)
    : path_(std::move(path)), deleteAfterUse_(deleteAfterUse) {}

TSoundFile::~TSoundFile() {
  if (deleteAfterUse_ && FileExists()) QFile::remove(QFile::decodeName(path_));
}

bool TSoundFile::FileExists() const { return !path_.isEmpty() && QFile::exists(QFile::decodeName(path_)); }

void TSoundFile::OpenFile() {
  if (!FileExists()) return;
  Open();
  opened_ = true;
}

void TSoundFile::CloseFile() noexcept {
  if (!opened_) return;
  opened_ = false;
  try {
    Close();
  } catch (...) {
    // Closing runs while the object goes away; there is nobody left to tell but the crash log.
    RecordCaughtException(std::current_exception());
  }
}

void TSoundFile::PlayFile() {
  if (!FileExists()) return;
  // A file missing when this object was made has appeared since: open it first, so that no
  // engine plays what it never opened.
  if (!opened_) OpenFile();
  if (opened_) Play();
}

}  // namespace zabko
