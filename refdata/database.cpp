// Choosing the database implementation, and the cursor they share.
#include "refdata/database.h"

#include <filesystem>
#include <system_error>

#include "base/runtime.h"
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

std::string DsnOf(std::string_view cs) {
  if (cs.size() < 4 || !SameIgnoringCase(cs.substr(0, 4), "DSN=")) return "";
  cs.remove_prefix(4);
  // The host message appends ";UID=...;PWD=..." to whatever DSN text it got,
  // so the last ";UID=" is where the DSN ends even when it holds a ";".
  size_t end = cs.rfind(";UID=");
  if (end == std::string_view::npos) end = cs.find(';');
  return std::string(cs.substr(0, end));
}

std::unique_ptr<DbConnection> OpenDatabase(const std::string& connection_string) {
  std::string dsn = DsnOf(connection_string);
  // An empty DSN would leave the choice of database to the driver manager's
  // defaults (one driver even creates a file named after the whole string,
  // password included), so it is refused before any driver sees it.
  if (SameIgnoringCase(Left(connection_string, 4), "DSN=") && Trim(dsn).empty())
    Raise(kErrInvalidCall, "The connection string names no data source");
  std::error_code ec;
  if (!dsn.empty() && std::filesystem::is_regular_file(dsn, ec))
    return OpenSqliteDatabase(dsn);
  return OpenOdbcDatabase(connection_string);
}

std::string MaskPassword(std::string text, std::string_view cs) {
  std::string upper = UpperAscii(cs);
  size_t at = upper.find("PWD=");
  if (at == std::string::npos) return text;
  size_t from = at + 4;
  size_t end = cs.find(';', from);
  std::string pwd(cs.substr(from, end == std::string_view::npos ? end : end - from));
  if (pwd.empty()) return text;
  for (size_t p = text.find(pwd); p != std::string::npos; p = text.find(pwd, p + 3))
    text.replace(p, pwd.size(), "***");
  return text;
}

}  // namespace ub04
