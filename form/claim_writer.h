// Writes the claim built so far: per form page a "C" line, the boxes, up to
// 22 service lines and the totals, then an "N" line.
#pragma once

#include <cstdint>

#include "claim/claim_tables.h"

namespace ub04 {

int16_t WriteClaim(ClaimTables& tables);

}  // namespace ub04
