// A thin owner of one SQLite connection with cached prepared statements. Not thread-safe: the
// server store serialises every use behind its own lock.
#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

#include <map>
#include <string>

namespace zabko::dev {

class TSqliteDb;

// One prepared statement in use: binds from 1, reads columns from 0, and is reset when it goes
// out of scope so the cached statement can be reused.
class TSqlStatement {
 public:
  TSqlStatement(TSqliteDb& db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  ~TSqlStatement();
  TSqlStatement(const TSqlStatement&) = delete;
  TSqlStatement& operator=(const TSqlStatement&) = delete;

  TSqlStatement& Bind(int index, qint64 value);
  TSqlStatement& Bind(int index, const QByteArray& value);
  // True while a row is available; throws on an error.
  bool Step();
  qint64 Int(int column) const;
  QByteArray Text(int column) const;
  bool IsNull(int column) const;

 private:
  TSqliteDb& db_;
  sqlite3_stmt* stmt_;
};

class TSqliteDb {
 public:
  // ":memory:" keeps everything in memory; any other name is a file, created when missing.
  explicit TSqliteDb(const QString& fileName);
  ~TSqliteDb();
  TSqliteDb(const TSqliteDb&) = delete;
  TSqliteDb& operator=(const TSqliteDb&) = delete;

  void Exec(const char* sql);
  TSqlStatement Prepare(const char* sql);
  qint64 LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
  int Changes() const { return sqlite3_changes(db_); }
  [[noreturn]] void Fail(const char* what) const;

 private:
  sqlite3* db_ = nullptr;
  std::map<std::string, sqlite3_stmt*> cache_;
};

}  // namespace zabko::dev
