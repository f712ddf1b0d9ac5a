// The stand-in server's lasting state in SQLite: users, sessions, per-user word statuses and
// known marks, data counts per server, group metadata, answers already counted, the answer log
// behind the hot words, game scores and running counters. Not thread-safe: the server calls it
// under its own lock.
#pragma once

#include "devserver/sqlite_db.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace zabko::dev {

struct TDevUser {
  QByteArray name;
  QByteArray password;
  QByteArray key;
};

struct TDevSession {
  QByteArray userKey;
  QByteArray userName;
};

struct TWordState {
  int status = 0;
  bool known = false;
};

struct TMetaData {
  qint32 count = 0;
  QByteArray url;
};

class TDevStore {
 public:
  // ":memory:" for tests; a file name keeps the state between runs.
  explicit TDevStore(const QString& fileName);

  // Adds a user, or changes the password of an existing one; returns the user's key.
  QByteArray AddUser(const QByteArray& name, const QByteArray& password);
  std::optional<TDevUser> FindUser(const QByteArray& name);
  std::optional<TDevUser> FindUserByKey(const QByteArray& key);

  // Session ids are positive, increasing and valid only on the server that gave them.
  qint32 NewSession(const QByteArray& server, const TDevSession& session);
  std::optional<TDevSession> FindSession(const QByteArray& server, qint32 id);
  void EndSession(const QByteArray& server, qint32 id);
  void DropAllSessions();

  std::map<qint32, TWordState> WordStates(const QByteArray& userKey, int languageCode);
  TWordState WordState(const QByteArray& userKey, int languageCode, qint32 wordId);
  void SetWordState(const QByteArray& userKey, int languageCode, qint32 wordId,
                    const TWordState& state);

  qint32 DataCount(const QByteArray& server, const QByteArray& userKey);
  void SetDataCount(const QByteArray& server, const QByteArray& userKey, qint32 count);

  std::optional<TMetaData> MetaData(const QByteArray& userKey);
  void SetMetaData(const QByteArray& userKey, const TMetaData& meta);
  void ClearMetaData(const QByteArray& userKey);

  // The entry digests of the last "UpdateWords" batch the server took from the user, in order.
  QList<QByteArray> LastBatch(const QByteArray& userKey);
  void SetLastBatch(const QByteArray& userKey, const QList<QByteArray>& digests);
  void LogAnswer(int languageCode, qint32 wordId, bool right, qint64 nowMs);
  // The words most often answered wrong since the given time, most frequent first.
  std::vector<qint32> HotWords(int languageCode, qint64 sinceMs, int limit);

  qint64 Counter(const char* name);
  void AddToCounter(const char* name, qint64 delta);

  void AddScore(const QString& name, qint32 points);
  std::vector<std::pair<QString, qint32>> TopScores(int limit);

  void Begin() { db_.Exec("BEGIN"); }
  void Commit() { db_.Exec("COMMIT"); }
  void Rollback() { db_.Exec("ROLLBACK"); }

 private:
  TSqliteDb db_;
};

}  // namespace zabko::dev
