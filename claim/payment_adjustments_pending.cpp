// Placeholder: leaves the codes as received. Replaced as the adjustment
// merge lands.
#include "claim/payment_adjustments.h"

namespace ub04 {

void NormalizeAdjustmentCodes(std::string&) {}

}  // namespace ub04
