// Reference-data state kept in the run state: the database connection and
// the tables loaded from it.
#pragma once

#include <string>

#include "host/runtime.h"

namespace ub04 {

struct RefState {
  bool db_connection_good = false;  // gbDBConnectionIsGood
  Date npi_legacy_date2 = kDateNotSet;
  std::string npi_legacy_note;       // logged by the practice parser
  std::string icd10_readiness_note;  // logged when the log opens

  // Closes the connection (if any) and forgets every loaded table.
  void Reset() { *this = RefState{}; }
};

}  // namespace ub04
