// The command-string engine: each sound file opens under an alias of its own, "ZabkolexSound"
// and a process-wide counter. Command results are not checked.
#pragma once

#include "audio/sound_file.h"

namespace zabko {

class TMCISoundFile : public TSoundFile {
 public:
  TMCISoundFile(QByteArray path, bool deleteAfterUse);
  ~TMCISoundFile() override;

  const QByteArray& Alias() const { return alias_; }

 protected:
  void Open() override;
  void Close() override;
  void Play() override;

 private:
  QByteArray alias_;
};

}  // namespace zabko
