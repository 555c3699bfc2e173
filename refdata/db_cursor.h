// The cursor both database implementations share: the current row held as
// text, columns found by name without regard to case. An implementation
// supplies the column names and a way to read the next row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "refdata/database.h"

namespace ub04 {

class RowCursor : public DbCursor {
 public:
  bool Eof() const override { return eof_; }
  void MoveNext() override;
  std::string Field(std::string_view column) const override;

 protected:
  // Called by the implementation once the statement ran: remembers the
  // column names and reads the first row.
  void Start(std::vector<std::string> columns);
  // Reads the next row (one text per column, NULL as ""); false at the end.
  virtual bool Fetch(std::vector<std::string>& row) = 0;

 private:
  std::vector<std::string> columns_;
  std::vector<std::string> row_;
  bool eof_ = true;
};

// Error numbers of the cursor itself (the driver's own numbers are its
// native ones).
inline constexpr int kErrNoCurrentRow = 3021;
inline constexpr int kErrNoSuchColumn = 3265;
inline constexpr int kErrNotConnected = 3704;

}  // namespace ub04
