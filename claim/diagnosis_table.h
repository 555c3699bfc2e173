// The diagnosis table of the claim being built (gDiagArray in the run
// state's claim state): its distinct diagnosis codes, each with its
// companion value, in order of first appearance. Position k (1-based) is
// what the detail lines point at and what the form prints as diagnosis k.
//
// The table is filled from position 1 upward and only emptied all together
// (EmptyClaimTables), so its used entries are always 1 to n.
// GetIndexForDiagnosis is declared in claim/claim_tables.h.
#pragma once

#include <cstdint>

namespace ub04 {

struct ClaimEnv;

// True when the This charge's new diagnoses (pairs 1 to iCount, duplicates
// within the charge each counted) do not fit the free entries. An iCount
// below 1 becomes the diagnoses-per-charge setting, in the caller's variable
// too.
bool DoesDiagnosisCauseOverflow(ClaimEnv& env, int16_t& iCount);

// Adds the Last charge's codes that are not yet in the table (pairs 1 to 4,
// and 5 when iCount > 4) while there is room. 0, or 3 after a failure.
int16_t AddToDiagnosisArray(ClaimEnv& env, int16_t& iCount);

}  // namespace ub04
