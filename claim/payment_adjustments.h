// Payment adjustment codes: group|reason|amount|units lists merged by group
// and reason and ordered by group.
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

// The shared routine of the parsers: a non-empty text is merged into an
// empty total and replaced by the result ("PR|1|5|0|CO|45|10|1|CO|45|2.5|1"
// becomes "CO|45|12.5|2|PR|1|5|0").
void NormalizeAdjustmentCodes(std::string& codes);

}  // namespace ub04
