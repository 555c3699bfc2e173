// The findings report (--report FILE): one row per finding of the checks,
// for every claim the run decided, CSV or JSON Lines (*.jsonl), written
// whole or not at all, owner-only. Each row: claim (its first page's
// sequence number; empty for a refused claim), account, locator ("FL56"),
// rule, level ("error" or "warning"), value and message.
#pragma once

#include <string>

#include "claim/claim_record.h"
#include "cli/atomic_file.h"

namespace ub04fmt {

class FindingsReport {
 public:
  // Starts the report at path; "" or why it cannot be written.
  std::string Open(const std::string& path);
  void Add(const ub04::ClaimRecord& claim);
  // In place at its path; "" or why not.
  std::string Commit() { return file_.Commit(); }
  bool is_open() const { return file_.is_open(); }

 private:
  AtomicFile file_;
  bool jsonl_ = false;
};

}  // namespace ub04fmt
