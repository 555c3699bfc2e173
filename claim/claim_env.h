// What the claim layer works with: the run's context, the claim state (This
// and Last copies, the diagnosis table) and the reference lookups. The host
// builds one for each call into the layer.
#pragma once

#include "base/context.h"
#include "claim/claim_state.h"
#include "refdata/refdata.h"

namespace ub04 {

struct ClaimEnv {
  Context& cx;
  ClaimState& cs;
  RefData& ref;
};

}  // namespace ub04
