#include "devserver/sqlite_db.h"

#include "platform/exception.h"

namespace zabko::dev {

TSqlStatement::~TSqlStatement() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

TSqlStatement& TSqlStatement::Bind(int index, qint64 value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.Fail("bind");
  return *this;
}

TSqlStatement& TSqlStatement::Bind(int index, const QByteArray& value) {
  if (sqlite3_bind_text(stmt_, index, value.constData(), static_cast<int>(value.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    db_.Fail("bind");
  return *this;
}

bool TSqlStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.Fail("step");
}

qint64 TSqlStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

QByteArray TSqlStatement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return text ? QByteArray(text, sqlite3_column_bytes(stmt_, column)) : QByteArray();
}

bool TSqlStatement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

TSqliteDb::TSqliteDb(const QString& fileName) {
  const QByteArray name = fileName.toUtf8();
  if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    const QString message = QString("Cannot open database %1: %2")
                                .arg(fileName, QString::fromUtf8(sqlite3_errmsg(db_)));
    sqlite3_close(db_);
    throw Exception(message);
  }
  if (fileName != ":memory:") {
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
  }
}

TSqliteDb::~TSqliteDb() {
  for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

void TSqliteDb::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const QString message = QString("SQL error: %1").arg(QString::fromUtf8(error));
    sqlite3_free(error);
    throw Exception(message);
  }
}

TSqlStatement TSqliteDb::Prepare(const char* sql) {
  auto it = cache_.find(sql);
  if (it == cache_.end()) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) Fail("prepare");
    it = cache_.emplace(sql, stmt).first;
  }
  return TSqlStatement(*this, it->second);
}

void TSqliteDb::Fail(const char* what) const {
  throw Exception(QString("SQL %1 failed: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db_))));
}

}  // namespace zabko::dev
