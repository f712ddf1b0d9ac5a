#include "devserver/dev_store.h"

namespace zabko::dev {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS users(id INTEGER PRIMARY KEY, name TEXT UNIQUE NOT NULL,
  password TEXT NOT NULL, key TEXT UNIQUE);
CREATE TABLE IF NOT EXISTS sessions(id INTEGER PRIMARY KEY, server TEXT NOT NULL,
  user_key TEXT NOT NULL, user_name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS word_states(user_key TEXT NOT NULL, lang INTEGER NOT NULL,
  word_id INTEGER NOT NULL, status INTEGER NOT NULL, known INTEGER NOT NULL,
  PRIMARY KEY(user_key, lang, word_id));
CREATE TABLE IF NOT EXISTS data_counts(server TEXT NOT NULL, user_key TEXT NOT NULL,
  count INTEGER NOT NULL, PRIMARY KEY(server, user_key));
CREATE TABLE IF NOT EXISTS metadata(user_key TEXT PRIMARY KEY, count INTEGER NOT NULL,
  url TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS last_batches(user_key TEXT PRIMARY KEY, digests TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS answer_log(lang INTEGER NOT NULL, word_id INTEGER NOT NULL,
  right INTEGER NOT NULL, at INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS answer_log_at ON answer_log(at);
CREATE TABLE IF NOT EXISTS scores(id INTEGER PRIMARY KEY, name TEXT NOT NULL,
  points INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS counters(name TEXT PRIMARY KEY, value INTEGER NOT NULL);
)sql";

}  // namespace

TDevStore::TDevStore(const QString& fileName) : db_(fileName) { db_.Exec(kSchema); }

QByteArray TDevStore::AddUser(const QByteArray& name, const QByteArray& password) {
  if (auto user = FindUser(name)) {
    db_.Prepare("UPDATE users SET password=?1 WHERE name=?2").Bind(1, password).Bind(2, name).Step();
    return user->key;
  }
  db_.Prepare("INSERT INTO users(name, password) VALUES(?1, ?2)").Bind(1, name).Bind(2, password).Step();
  const QByteArray key = "U" + QByteArray::number(db_.LastInsertId());
  db_.Prepare("UPDATE users SET key=?1 WHERE id=?2").Bind(1, key).Bind(2, db_.LastInsertId()).Step();
  return key;
}

std::optional<TDevUser> TDevStore::FindUser(const QByteArray& name) {
  auto q = db_.Prepare("SELECT name, password, key FROM users WHERE name=?1");
  q.Bind(1, name);
  if (!q.Step()) return std::nullopt;
  return TDevUser{q.Text(0), q.Text(1), q.Text(2)};
}

std::optional<TDevUser> TDevStore::FindUserByKey(const QByteArray& key) {
  auto q = db_.Prepare("SELECT name, password, key FROM users WHERE key=?1");
  q.Bind(1, key);
  if (!q.Step()) return std::nullopt;
  return TDevUser{q.Text(0), q.Text(1), q.Text(2)};
}

qint32 TDevStore::NewSession(const QByteArray& server, const TDevSession& session) {
  AddToCounter("session", 1);
  const qint32 id = static_cast<qint32>(1000 + Counter("session"));
  db_.Prepare("INSERT INTO sessions(id, server, user_key, user_name) VALUES(?1, ?2, ?3, ?4)")
      .Bind(1, id).Bind(2, server).Bind(3, session.userKey).Bind(4, session.userName).Step();
  return id;
}

std::optional<TDevSession> TDevStore::FindSession(const QByteArray& server, qint32 id) {
  auto q = db_.Prepare("SELECT user_key, user_name FROM sessions WHERE id=?1 AND server=?2");
  q.Bind(1, id).Bind(2, server);
  if (!q.Step()) return std::nullopt;
  return TDevSession{q.Text(0), q.Text(1)};
}

void TDevStore::EndSession(const QByteArray& server, qint32 id) {
  db_.Prepare("DELETE FROM sessions WHERE id=?1 AND server=?2").Bind(1, id).Bind(2, server).Step();
}

void TDevStore::DropAllSessions() { db_.Exec("DELETE FROM sessions"); }

std::map<qint32, TWordState> TDevStore::WordStates(const QByteArray& userKey, int languageCode) {
  std::map<qint32, TWordState> states;
  auto q = db_.Prepare("SELECT word_id, status, known FROM word_states WHERE user_key=?1 AND lang=?2");
  q.Bind(1, userKey).Bind(2, languageCode);
  while (q.Step())
    states[static_cast<qint32>(q.Int(0))] = TWordState{static_cast<int>(q.Int(1)), q.Int(2) != 0};
  return states;
}

TWordState TDevStore::WordState(const QByteArray& userKey, int languageCode, qint32 wordId) {
  auto q = db_.Prepare(
      "SELECT status, known FROM word_states WHERE user_key=?1 AND lang=?2 AND word_id=?3");
  q.Bind(1, userKey).Bind(2, languageCode).Bind(3, wordId);
  if (!q.Step()) return {};
  return TWordState{static_cast<int>(q.Int(0)), q.Int(1) != 0};
}

void TDevStore::SetWordState(const QByteArray& userKey, int languageCode, qint32 wordId,
                             const TWordState& state) {
  db_.Prepare("INSERT OR REPLACE INTO word_states(user_key, lang, word_id, status, known) "
              "VALUES(?1, ?2, ?3, ?4, ?5)")
      .Bind(1, userKey).Bind(2, languageCode).Bind(3, wordId).Bind(4, state.status)
      .Bind(5, state.known ? 1 : 0).Step();
}

qint32 TDevStore::DataCount(const QByteArray& server, const QByteArray& userKey) {
  auto q = db_.Prepare("SELECT count FROM data_counts WHERE server=?1 AND user_key=?2");
  q.Bind(1, server).Bind(2, userKey);
  return q.Step() ? static_cast<qint32>(q.Int(0)) : 0;
}

void TDevStore::SetDataCount(const QByteArray& server, const QByteArray& userKey, qint32 count) {
  db_.Prepare("INSERT OR REPLACE INTO data_counts(server, user_key, count) VALUES(?1, ?2, ?3)")
      .Bind(1, server).Bind(2, userKey).Bind(3, count).Step();
}

std::optional<TMetaData> TDevStore::MetaData(const QByteArray& userKey) {
  auto q = db_.Prepare("SELECT count, url FROM metadata WHERE user_key=?1");
  q.Bind(1, userKey);
  if (!q.Step()) return std::nullopt;
  return TMetaData{static_cast<qint32>(q.Int(0)), q.Text(1)};
}

void TDevStore::SetMetaData(const QByteArray& userKey, const TMetaData& meta) {
  db_.Prepare("INSERT OR REPLACE INTO metadata(user_key, count, url) VALUES(?1, ?2, ?3)")
      .Bind(1, userKey).Bind(2, meta.count).Bind(3, meta.url).Step();
}

void TDevStore::ClearMetaData(const QByteArray& userKey) {
  db_.Prepare("DELETE FROM metadata WHERE user_key=?1").Bind(1, userKey).Step();
}

QList<QByteArray> TDevStore::LastBatch(const QByteArray& userKey) {
  auto q = db_.Prepare("SELECT digests FROM last_batches WHERE user_key = ?1");
  q.Bind(1, userKey);
  if (!q.Step()) return {};
  const QByteArray joined = q.Text(0);
  return joined.isEmpty() ? QList<QByteArray>() : joined.split(',');
}

void TDevStore::SetLastBatch(const QByteArray& userKey, const QList<QByteArray>& digests) {
  db_.Prepare("INSERT OR REPLACE INTO last_batches(user_key, digests) VALUES(?1, ?2)")
      .Bind(1, userKey).Bind(2, digests.join(',')).Step();
}

void TDevStore::LogAnswer(int languageCode, qint32 wordId, bool right, qint64 nowMs) {
  db_.Prepare("INSERT INTO answer_log(lang, word_id, right, at) VALUES(?1, ?2, ?3, ?4)")
      .Bind(1, languageCode).Bind(2, wordId).Bind(3, right ? 1 : 0).Bind(4, nowMs).Step();
}

std::vector<qint32> TDevStore::HotWords(int languageCode, qint64 sinceMs, int limit) {
  std::vector<qint32> ids;
  auto q = db_.Prepare(
      "SELECT word_id FROM answer_log WHERE lang=?1 AND right=0 AND at>=?2 "
      "GROUP BY word_id ORDER BY COUNT(*) DESC, MAX(at) DESC, word_id LIMIT ?3");
  q.Bind(1, languageCode).Bind(2, sinceMs).Bind(3, limit);
  while (q.Step()) ids.push_back(static_cast<qint32>(q.Int(0)));
  return ids;
}

qint64 TDevStore::Counter(const char* name) {
  auto q = db_.Prepare("SELECT value FROM counters WHERE name=?1");
  q.Bind(1, QByteArray(name));
  return q.Step() ? q.Int(0) : 0;
}

void TDevStore::AddToCounter(const char* name, qint64 delta) {
  db_.Prepare("INSERT INTO counters(name, value) VALUES(?1, ?2) "
              "ON CONFLICT(name) DO UPDATE SET value = value + ?2")
      .Bind(1, QByteArray(name)).Bind(2, delta).Step();
}

void TDevStore::AddScore(const QString& name, qint32 points) {
  db_.Prepare("INSERT INTO scores(name, points) VALUES(?1, ?2)")
      .Bind(1, name.toUtf8()).Bind(2, points).Step();
}

std::vector<std::pair<QString, qint32>> TDevStore::TopScores(int limit) {
  std::vector<std::pair<QString, qint32>> rows;
  auto q = db_.Prepare("SELECT name, points FROM scores ORDER BY points DESC, id LIMIT ?1");
  q.Bind(1, limit);
  while (q.Step()) rows.emplace_back(QString::fromUtf8(q.Text(0)), static_cast<qint32>(q.Int(1)));
  return rows;
}

}  // namespace zabko::dev
