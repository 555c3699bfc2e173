// Choosing the database implementation, and the cursor they share.
#include "refdata/database.h"

#include <filesystem>
#include <system_error>

#include "base/runtime.h"
#include "refdata/connection_string.h"
#include "refdata/db_cursor.h"

namespace ub04 {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

}  // namespace

void RowCursor::Start(std::vector<std::string> columns) {
  columns_ = std::move(columns);
  eof_ = !Fetch(row_);
}

void RowCursor::MoveNext() {
  if (eof_) Raise(kErrNoCurrentRow, "There is no current row");
  eof_ = !Fetch(row_);
}

std::string RowCursor::Field(std::string_view column) const {
  if (eof_) Raise(kErrNoCurrentRow, "There is no current row");
  for (size_t i = 0; i < columns_.size() && i < row_.size(); ++i)
    if (SameIgnoringCase(columns_[i], column)) return row_[i];
  Raise(kErrNoSuchColumn, "No column named " + std::string(column));
}

std::string DsnOf(std::string_view cs) { return OdbcAttribute(cs, "DSN"); }

bool NamesAFile(const std::string& dsn) {
  if (dsn.find('/') != std::string::npos) return true;
  std::string upper = UpperAscii(dsn);
  for (std::string_view ext : {".DB", ".DB3", ".SQLITE", ".SQLITE3"})
    if (upper.size() > ext.size() && upper.compare(upper.size() - ext.size(), ext.size(), ext) == 0)
      return true;
  return false;
}

namespace {

std::unique_ptr<DbConnection> Open(const std::string& connection_string) {
  std::string dsn = DsnOf(connection_string);
  // An empty DSN would leave the choice of database to the driver manager's
  // defaults (one driver even creates a file named after the whole string,
  // password included), so it is refused before any driver sees it.
  if (SameIgnoringCase(Left(Trim(connection_string), 4), "DSN=") && Trim(dsn).empty())
    Raise(kErrInvalidCall, "The connection string names no data source");
  // Nor may a string without any data source or database reach a driver:
  // some would make a database of their own (a file named after the
  // string, in the working folder). A database named as a file must be
  // there: connecting never creates one.
  if (dsn.empty()) {
    bool named = false;
    for (std::string_view key : {"FILEDSN", "DATABASE", "DBQ", "SERVER"}) {
      const std::string value = Trim(OdbcAttribute(connection_string, key));
      if (value.empty()) continue;
      named = true;
      if ((key == "DATABASE" || key == "DBQ") && NamesAFile(value) &&
          !std::filesystem::exists(value))
        Raise(kErrFileNotFound, "The reference database file " + value + " does not exist");
    }
    if (!named)
      Raise(kErrInvalidCall, "The connection string names no data source or database (DSN, "
                             "FILEDSN, DATABASE, DBQ or SERVER)");
  }
  std::error_code ec;
  auto st = dsn.empty() ? std::filesystem::file_status() : std::filesystem::status(dsn, ec);
  if (std::filesystem::is_regular_file(st)) return OpenSqliteDatabase(dsn);
  if (std::filesystem::is_directory(st))
    Raise(kErrPathFileAccess, "The reference database " + dsn + " is a folder, not a database file");
  if (std::filesystem::exists(st))
    Raise(kErrPathFileAccess, "The reference database " + dsn + " is not a database file");
  if (NamesAFile(dsn))
    Raise(kErrFileNotFound, "The reference database file " + dsn + " does not exist");
  return OpenOdbcDatabase(connection_string);
}

}  // namespace

std::unique_ptr<DbConnection> OpenDatabase(const std::string& connection_string) {
  try {
    return Open(connection_string);
  } catch (const RtError& e) {
    // Whatever a driver answered, the password does not travel on.
    Raise(e.number(), MaskPassword(e.description(), connection_string));
  }
}

}  // namespace ub04
