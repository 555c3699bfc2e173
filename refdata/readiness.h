// ICD-10 readiness: which diagnosis code set a charge is billed with.
//
// A charge that carries only ICD-9 or only ICD-10 codes uses that set. One
// with both (or neither) uses ICD-10 from the date its payer accepts it: the
// readiness row of its insurance, else of its payer organization (a prefix
// of the payer identifier), else the standard row, else 1 October 2014. The
// rows are Rs().ref.readiness, loaded with the database connection; while
// nothing is loaded the walk finds nothing and the default date applies.
#pragma once

#include <string>

#include "host/runtime.h"
#include "records/record.h"

namespace ub04 {

// The date from which the standard rule bills ICD-10 when no row says so.
Date DefaultIcd10ReadyDate();

// Sets Rs().ref.icd10_ready_date for the insurance (kept when the insurance
// is the one it was last computed for).
void FetchInsICD10ReadyDate(const std::string& payer_org, const std::string& ins_ih_code);

// Closes the gaps among the five ICD-9 slots of the charge, decides its
// DiagnosisCodeSet ("9" or "10") and copies the chosen set into Diagnosis1
// to Diagnosis6. Dates are compared against the current (This) insurance.
void ChooseDiagnosisCodeSet(Record& charge);

}  // namespace ub04
