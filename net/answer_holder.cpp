#include "net/answer_holder.h"

#include <vector>

#include "core/exception_log.h"
#include "platform/exception.h"
#include "net/zabkolex_client.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace zabko {

namespace {
constexpr int kColumns = 4;
constexpr quint8 kNoResult = 0xFF;

bool IsMark(int kind) { return kind == kAnswerMarkedKnown || kind == kAnswerMarkRemoved; }
}  // namespace

TAnswerHolder::TAnswerHolder() {
  for (int i = 0; i < kColumns; ++i) data_.AddNewPacket();
}

void TAnswerHolder::AddAnswer(qint32 languageCode, qint32 wordId, const TDataPacket* detail,
                              quint8 kind) {
  data_.GetPacket(0)->AddInteger(languageCode);
  data_.GetPacket(1)->AddInteger(wordId);
  data_.GetPacket(2)->AddInteger(kind);
  TDataPacket* entry = data_.GetPacket(3)->AddNewPacket();
  if (detail) entry->Assign(*detail);
}

int TAnswerHolder::Count() const { return data_.GetPacket(0)->IntegerCount(); }

void TAnswerHolder::Clear() {
  for (int i = 0; i < kColumns - 1; ++i) data_.GetPacket(i)->Clear();
  data_.GetPacket(3)->Clear();
}

bool TAnswerHolder::IsValidQueue(const TDataPacket& packet) {
  if (packet.PacketCount() != kColumns) return false;
  const int n = packet.GetPacket(0)->IntegerCount();
  return packet.GetPacket(1)->IntegerCount() == n && packet.GetPacket(2)->IntegerCount() == n &&
         packet.GetPacket(3)->PacketCount() == n;
}

namespace {

// Moves a damaged answers file out of the way of the next save: "<name>.damaged", numbered when
// that is taken. The answers in it are the learner's, so it is never simply overwritten.
void MoveAside(const QString& fileName, const QString& why) {
  QString target = fileName + QStringLiteral(".damaged");
  for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
    target = fileName + QStringLiteral(".damaged.") + QString::number(n);
  if (QDir().rename(fileName, target)) {
    // The learner's answers stay private, as in the file that replaces it (a link is left as
    // it is: its mode is its target's).
    const QFileInfo kept(target);
    if (kept.isFile() && !kept.isSymLink() && ::chmod(QFile::encodeName(target).constData(), kPrivateFileMode) != 0)
      LogLine(QStringLiteral("The answers file kept as %1 could not be made private").arg(target).toUtf8());
    LogLine(QStringLiteral("The answers file %1 %2; it is kept as %3").arg(fileName, why, target).toUtf8());
  } else {
    LogLine(QStringLiteral("The answers file %1 %2 and could not be moved aside").arg(fileName, why).toUtf8());
  }
}

}  // namespace

void TAnswerHolder::LoadFromFile(const QString& fileName) {
  try {
    QFile file(fileName);
    if (!file.exists()) {
      // An empty file is an empty queue.
      WriteFileAtomically(fileName, QByteArray(), kPrivateFileMode);
      return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
      MoveAside(fileName, QStringLiteral("cannot be read"));
      return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty()) return;
    TDataPacket loaded;
    try {
      loaded.LoadFromBytes(bytes);
    } catch (const Exception& e) {
      MoveAside(fileName, QStringLiteral("is damaged (%1)").arg(e.Message()));
      return;
    }
    if (!IsValidQueue(loaded)) {
      MoveAside(fileName, QStringLiteral("holds no answer queue"));
      return;
    }
    data_.Assign(loaded);
  } catch (...) {
    // Loading raises nothing: the queue in memory stays as it was.
  }
}

void TAnswerHolder::SaveToFile(const QString& fileName) const {
  WriteFileAtomically(fileName, data_.SaveToBytes(), kPrivateFileMode);
}

bool TAnswerHolder::Upload(TZabkolexClient& client) {
  if (IsEmpty()) return true;
  const int n = std::min(kBatchSize, Count());
  const TDataPacket& langs = *data_.GetPacket(0);
  const TDataPacket& ids = *data_.GetPacket(1);
  const TDataPacket& kinds = *data_.GetPacket(2);
  const TDataPacket& details = *data_.GetPacket(3);

  TDataPacket request, reply;
  TDataPacket* args = client.BeginSessionRequest("UpdateWords", request);
  int marks = 0;
  for (int i = 0; i < n; ++i) {
    const int kind = kinds.GetInteger(i);
    TDataPacket* entry = args->AddNewPacket();
    entry->AddInteger(langs.GetInteger(i));
    entry->AddInteger(ids.GetInteger(i));
    entry->AddBoolean(IsMark(kind));
    entry->AddBoolean(kind == kAnswerRight || kind == kAnswerMarkedKnown);
    entry->AddNewPacket()->Assign(*details.GetPacket(i));
    if (IsMark(kind)) ++marks;
  }
  if (!client.Call(request, reply, 3)) return false;
  if (reply.ByteCount() != marks) {
    LogLine("UpdateWords: " + QByteArray::number(reply.ByteCount()) + " results for " +
            QByteArray::number(marks) + " known marks; the answers stay queued");
    return false;
  }
  // The batch leaves the queue before anyone is told of the results, so a listener that fails
  // cannot keep answers the server has already taken.
  struct TMarkResult {
    qint32 languageCode, wordId;
    quint8 status;
    bool removed;
  };
  std::vector<TMarkResult> results;
  int byte = 0;
  for (int i = 0; i < n; ++i) {
    const int kind = kinds.GetInteger(i);
    if (!IsMark(kind)) continue;
    const quint8 status = reply.GetByte(byte++);
    if (status != kNoResult)
      results.push_back({langs.GetInteger(i), ids.GetInteger(i), status, kind == kAnswerMarkRemoved});
  }
  for (int i = 0; i < kColumns - 1; ++i) data_.GetPacket(i)->DeleteIntegers(0, n);
  data_.GetPacket(3)->DeletePackets(0, n);
  if (OnMarkResult)
    for (const TMarkResult& r : results) OnMarkResult(r.languageCode, r.wordId, r.status, r.removed);
  return true;
}

}  // namespace zabko
