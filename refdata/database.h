// The database seam: one connection to the host's reference tables, queries
// with bound parameters, and forward-only cursors over their rows.
//
//   auto db = OpenDatabase("DSN=reference;UID=...;PWD=...");
//   auto rows = db->Query("SELECT Alternate_NPI FROM Folio_MultiNPI "
//                         "WHERE Practice_IH_Code = ?", {practice});
//   for (; !rows->Eof(); rows->MoveNext()) use(rows->Field("ALTERNATE_NPI"));
//
// Every value a query compares against travels as a bound parameter ("?"),
// never as SQL text. Columns are found by name without regard to case, and a
// NULL reads as "". Every failure raises RtError carrying the driver's native
// error number and message; no error text ever holds the connection
// string's password.
//
// Two implementations sit behind OpenDatabase:
//   * SQLite, when the DSN names an existing file: the file is opened
//     read-only, so nothing is ever created beside it, and answers the names the host's SQL Server queries use (the
//     owners "dbo" and "KRV_TABLES", and the catalogue view "sys.tables").
//   * ODBC through the platform's driver manager, otherwise: the connection
//     string is passed on unchanged; every statement has a 120-second query
//     timeout.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "refdata/connection_string.h"  // MaskPassword

namespace ub04 {

// Seconds a statement may run before the driver cancels it.
inline constexpr int kQueryTimeoutSeconds = 120;

class DbCursor {
 public:
  virtual ~DbCursor() = default;
  // True when there is no current row (an empty result, or past the last).
  virtual bool Eof() const = 0;
  virtual void MoveNext() = 0;
  // The current row's column, as text; NULL reads "". Raises when there is
  // no current row or no such column.
  virtual std::string Field(std::string_view column) const = 0;
};

class DbConnection {
 public:
  virtual ~DbConnection() = default;
  // Runs sql with each "?" bound, in order, to a text parameter; the cursor
  // stands on the first row.
  virtual std::unique_ptr<DbCursor> Query(std::string_view sql,
                                          const std::vector<std::string>& params) = 0;
};

// The DSN of a connection string: its "DSN" attribute, braces removed; ""
// when it has none.
std::string DsnOf(std::string_view connection_string);

// A data source name that can only mean a file: it holds a "/" or ends like
// a database file's name (.db, .db3, .sqlite, .sqlite3). Such a name never
// goes to the driver manager, whose "Data source name not found" would not
// say what is wrong.
bool NamesAFile(const std::string& dsn);

// Opens the database a connection string names (see above). A "DSN=" that
// is blank is refused (error 5) rather than left to a driver's default. A
// DSN that names a file (it holds "/" or ends ".db", ".db3", ".sqlite",
// ".sqlite3") or any existing path is never passed to the driver manager:
// a missing file raises 53, a folder or a path that is not a plain file 75,
// a file that is not a database 26 or 75, each naming the path. Errors
// carry no password (MaskPassword).
std::unique_ptr<DbConnection> OpenDatabase(const std::string& connection_string);

// The two implementations, for callers that know which one they want.
std::unique_ptr<DbConnection> OpenSqliteDatabase(const std::string& path);
std::unique_ptr<DbConnection> OpenOdbcDatabase(const std::string& connection_string);

}  // namespace ub04
