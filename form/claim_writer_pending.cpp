// Placeholder claim writer. Replaced as form output lands.
#include "form/claim_writer.h"

namespace ub04 {

int16_t WriteClaim(ClaimTables& tables) {
  EmptyClaimTables(tables);
  return 0;
}

}  // namespace ub04
