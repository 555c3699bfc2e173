// Reference-data state kept in the run state: the database connection and
// the tables loaded from it.
#pragma once

#include <string>
#include <vector>

#include "host/runtime.h"

namespace ub04 {

// One row of the ICD-10 readiness table: level type "1" standard, "2" payer
// organization (level code is a prefix), "3" insurance (level code is an IH
// code).
struct ReadinessEntry {
  std::string level_type;
  std::string level_code;
  Date ready_date = kDateNotSet;
};

struct RefState {
  bool db_connection_good = false;  // gbDBConnectionIsGood
  std::string npi_legacy_note;       // logged by the practice parser
  std::string icd10_readiness_note;  // load report, logged when the log opens

  // ICD-10 readiness: the loaded rows (in table order) and the date that
  // applies to the insurance it was last computed for.
  std::vector<ReadinessEntry> readiness;
  Date icd10_ready_date = kDateNotSet;      // g_ICD10Ready_InsIHCodeDate
  std::string icd10_ready_ins_code = "?";   // the insurance it belongs to

  // NPI legacy dates: the second legacy date and the NpiOnly flag of the
  // form.
  Date npi_legacy_date2 = kDateNotSet;
  bool npi_only = false;  // NpiOnly
};

}  // namespace ub04
