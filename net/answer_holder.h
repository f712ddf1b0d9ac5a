// The queue of answers and known-word marks waiting for upload with "UpdateWords", kept in one
// packet of four columns (language code, word id, kind, detail packet) and saved to the user's
// answers file in the packet binary form.
#pragma once

#include "core/data_packet.h"

#include <QString>

#include <functional>

namespace zabko {

class TZabkolexClient;

enum AnswerKind : quint8 {
  kAnswerWrong = 0,        // a test answer not right (or not known)
  kAnswerRight = 2,        // a test answer right
  kAnswerMarkedKnown = 3,  // a word marked known
  kAnswerMarkRemoved = 4,  // the known mark removed
};

class TAnswerHolder {
 public:
  // At most this many answers go up in one request.
  static constexpr int kBatchSize = 100;

  TAnswerHolder();

  // detail may be none (the entry's detail packet stays empty); it is copied.
  void AddAnswer(qint32 languageCode, qint32 wordId, const TDataPacket* detail, quint8 kind);
  int Count() const;
  bool IsEmpty() const { return Count() == 0; }
  // Empties the queue.
  void Clear();

  // A missing file is created empty and keeps the queue; an empty file keeps it too. The file's
  // packet replaces the queue only when it has the four columns of equal length. A file that
  // cannot be read or holds no such queue leaves the queue as it was and is moved aside
  // ("<name>.damaged", numbered when taken) with a log line, so that no save overwrites it.
  // Raises nothing.
  void LoadFromFile(const QString& fileName);
  // Writes the queue to a temporary file renamed over the old one, so a failed save keeps the
  // last good file; only the user may read it. Raises when the file cannot be written.
  void SaveToFile(const QString& fileName) const;

  // Sends the first (at most 100) answers. False keeps the queue: a transport failure, or a
  // reply whose byte count is not one per known-mark answer. A server error status raises.
  bool Upload(TZabkolexClient& client);

  // Told the server's status for each uploaded known-mark answer it answered.
  std::function<void(qint32 languageCode, qint32 wordId, quint8 status, bool removed)> OnMarkResult;

  // The four columns: 0 language codes, 1 word ids, 2 kinds (Integers), 3 details (Packets).
  const TDataPacket& Data() const { return data_; }

 private:
  static bool IsValidQueue(const TDataPacket& packet);
  TDataPacket data_;
};

}  // namespace zabko
