// The tables of the claim being built, owned by the Format_Class instance:
// its detail lines (one per charge) and its page totals.
#pragma once

#include <cstdint>

namespace ub04 {

struct ClaimTables {
};

// Adds the Last group's diagnoses to the diagnosis table and makes its
// detail line.
int16_t DealWithLastGroup(ClaimTables& tables);
// Compares This with Last and writes the claim built so far on a break.
// 0, or 3 after a failure.
int16_t CheckBreak(ClaimTables& tables);

}  // namespace ub04
