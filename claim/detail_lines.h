// Detail lines: one service line per completed charge, built from the Last
// group by DealWithLastGroup (claim/claim_tables.h), which also keeps the
// claim totals, the code list, the remarks and the statement period.
#pragma once

#include <string>

namespace ub04 {

// Splits a UB92 code "0450/125.00" into the revenue code "0450" and the rate
// "125.00" at its last "/". Every "/" of code becomes a space in place; a
// code without "/" is all revenue code (trimmed) with an empty rate.
void SplitRevenueCode(std::string& code, std::string& revCd, std::string& rate);

}  // namespace ub04
