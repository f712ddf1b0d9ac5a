// The local data descriptor: the user's data file, the last "LogOff" reply.
#pragma once

#include "core/data_packet.h"

#include <QString>

namespace zabko {

class TDBHandler {
 public:
  void LoadFromFile(const QString& fileName);
  // Integers[0], or -1 when the descriptor holds no integer.
  qint32 LocalDataCount() const;
  TDataPacket& Data() { return data_; }

 private:
  TDataPacket data_;
};

}  // namespace zabko
