// A sound file of a word's pronunciation, played by one of the playback engines. The object
// opens the file when it is made (OpenSoundFile) and closes it when it is destroyed; a file marked
// delete-after-use (a temporary copy) is deleted then.
#pragma once

#include <QByteArray>

#include <memory>
#include <utility>

namespace zabko {

class TSoundFile {
 public:
  TSoundFile(QByteArray path, bool deleteAfterUse);
  // Derived classes close in their own destructor (CloseFile); this one deletes the file when
  // it is marked delete-after-use.
  virtual ~TSoundFile();
  TSoundFile(const TSoundFile&) = delete;
  TSoundFile& operator=(const TSoundFile&) = delete;

  // The entry points: each calls its operation only when the path is non-empty and the file
  // exists; CloseFile closes whatever was opened, even when the file has gone meanwhile.
  // PlayFile opens first a file that was missing when it was last tried.
  void OpenFile();
  void CloseFile() noexcept;
  void PlayFile();

  const QByteArray& Path() const { return path_; }
  bool DeleteAfterUse() const { return deleteAfterUse_; }
  bool FileExists() const;

 protected:
  virtual void Open() {}
  virtual void Close() {}
  virtual void Play() = 0;

 private:
  QByteArray path_;
  bool deleteAfterUse_;
  bool opened_ = false;
};

// A sound file with looping playback and a stop.
class TAdvancedSoundFile : public TSoundFile {
 public:
  using TSoundFile::TSoundFile;
  virtual bool IsPlaying() = 0;
  virtual void Stop() = 0;
  virtual void PlayLooped() = 0;
};

// Makes a sound file of class T and opens it. When opening fails the object is destroyed, so a
// temporary file is deleted with it.
template <typename T, typename... Args>
std::unique_ptr<T> OpenSoundFile(Args&&... args) {
  auto file = std::make_unique<T>(std::forward<Args>(args)...);
  file->OpenFile();
  return file;
}

}  // namespace zabko
