// The embedded reference database: an SQLite file opened read-only that
// answers the names the host's SQL Server queries use.
//
// The file is the main database and is attached twice more, as "dbo" and as
// "KRV_TABLES", so "[KRV_TABLES].PRACTICE" and "[dbo].InsuranceReadiness"
// resolve to its tables. A private in-memory schema "sys" holds a table
// "tables" listing the file's table names (compared without regard to case,
// as SQL Server's catalogue does). Once set up, the connection is switched to
// query-only, so nothing a query says can change any of them.
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "base/runtime.h"
#include "refdata/database.h"
#include "refdata/db_cursor.h"

namespace ub04 {

namespace {

using Handle = std::shared_ptr<sqlite3>;

[[noreturn]] void RaiseFrom(sqlite3* db) {
  if (db == nullptr) Raise(kErrOutOfMemory);
  Raise(sqlite3_errcode(db), sqlite3_errmsg(db));
}

// True when path's header says it is kept in write-ahead-log mode (file
// format bytes 18 and 19 are 2).
bool InWalMode(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  char header[20] = {0};
  return f.read(header, sizeof header) && header[18] == 2 && header[19] == 2;
}

// A read-only URI for path: the characters a URI gives a meaning to are
// escaped.
//
// Nothing may appear beside the file. A reader of a rollback-journal file
// creates nothing and still takes its shared locks, so "mode=ro" is enough.
// A reader of a WAL-mode file would create "-wal" and "-shm" files: when no
// "-wal" exists there is no writer and no log to read, so the file is opened
// as immutable (no log, no shared memory, no locks). When one exists a
// writer holds committed pages in it that the file alone does not show, so
// the file is read through it as any reader does.
std::string ReadOnlyUri(const std::string& path) {
  std::string abs = std::filesystem::absolute(path).string();
  std::string uri = "file:";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (unsigned char c : abs) {
    if (c == '%' || c == '?' || c == '#' || c <= ' ' || c >= 0x7F) {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    } else {
      uri += static_cast<char>(c);
    }
  }
  std::error_code ec;
  bool immutable = InWalMode(path) && !std::filesystem::exists(path + "-wal", ec);
  return uri + (immutable ? "?mode=ro&immutable=1" : "?mode=ro");
}

bool OnlyBlanks(std::string_view s) {
  return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

class SqliteCursor : public RowCursor {
 public:
  SqliteCursor(Handle db, std::string_view sql, const std::vector<std::string>& params)
      : db_(std::move(db)) {
    const char* tail = nullptr;
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db_.get(), sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    stmt_.reset(raw);
    if (rc != SQLITE_OK) RaiseFrom(db_.get());
    if (raw == nullptr || !OnlyBlanks(std::string_view(tail, sql.data() + sql.size() - tail)))
      Raise(kErrInvalidCall, "A query must be exactly one statement");
    if (sqlite3_bind_parameter_count(stmt_.get()) != static_cast<int>(params.size()))
      Raise(kErrInvalidCall, "The query's parameters do not match its values");
    for (size_t i = 0; i < params.size(); ++i)
      if (sqlite3_bind_text(stmt_.get(), static_cast<int>(i + 1), params[i].data(),
                            static_cast<int>(params[i].size()), SQLITE_TRANSIENT) != SQLITE_OK)
        RaiseFrom(db_.get());
    std::vector<std::string> columns;
    for (int i = 0, n = sqlite3_column_count(stmt_.get()); i < n; ++i) {
      const char* name = sqlite3_column_name(stmt_.get(), i);
      columns.emplace_back(name ? name : "");
    }
    Start(std::move(columns));
  }

 protected:
  bool Fetch(std::vector<std::string>& row) override {
    int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_DONE) return false;
    if (rc != SQLITE_ROW) RaiseFrom(db_.get());
    int n = sqlite3_column_count(stmt_.get());
    row.assign(static_cast<size_t>(n), std::string());
    for (int i = 0; i < n; ++i) {
      if (sqlite3_column_type(stmt_.get(), i) == SQLITE_NULL) continue;
      const unsigned char* text = sqlite3_column_text(stmt_.get(), i);
      size_t len = static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), i));
      if (text != nullptr)
        row[static_cast<size_t>(i)].assign(reinterpret_cast<const char*>(text), len);
    }
    return true;
  }

 private:
  Handle db_;  // keeps the connection alive while the statement is
  std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt_{nullptr, sqlite3_finalize};
};

class SqliteConnection : public DbConnection {
 public:
  explicit SqliteConnection(const std::string& path) {
    std::string uri = ReadOnlyUri(path);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(uri.c_str(), &raw,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    db_ = Handle(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK) RaiseFrom(raw);
    sqlite3_busy_timeout(raw, kQueryTimeoutSeconds * 1000);
    sqlite3_extended_result_codes(raw, 0);
    Run("ATTACH DATABASE ? AS dbo", {uri});
    Run("ATTACH DATABASE ? AS KRV_TABLES", {uri});
    Run("ATTACH DATABASE ':memory:' AS sys", {});
    Run("CREATE TABLE sys.tables (name TEXT COLLATE NOCASE)", {});
    Run("INSERT INTO sys.tables (name) SELECT name FROM main.sqlite_master "
        "WHERE type = 'table' AND name NOT LIKE 'sqlite!_%' ESCAPE '!'",
        {});
    Run("PRAGMA query_only = ON", {});
  }

  std::unique_ptr<DbCursor> Query(std::string_view sql,
                                  const std::vector<std::string>& params) override {
    return std::make_unique<SqliteCursor>(db_, sql, params);
  }

 private:
  void Run(std::string_view sql, const std::vector<std::string>& params) {
    SqliteCursor c(db_, sql, params);
    while (!c.Eof()) c.MoveNext();
  }

  Handle db_;
};

}  // namespace

std::unique_ptr<DbConnection> OpenSqliteDatabase(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) == 0 && !ec)
    Raise(SQLITE_NOTADB, "The reference database " + path + " is empty, not a database");
  try {
    return std::make_unique<SqliteConnection>(path);
  } catch (const RtError& e) {
    if (e.number() == SQLITE_NOTADB)
      Raise(SQLITE_NOTADB, "The reference database " + path + " is not a database");
    throw;
  }
}

}  // namespace ub04
