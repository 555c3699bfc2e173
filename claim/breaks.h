// Claim breaks: whether the charge just received (the This copy) must start
// a new claim instead of joining the one the Last copy and the claim tables
// hold. CheckBreak (claim/claim_tables.h) looks at the top records and the
// type of bill and says whether the claim ends; CheckChargeBreak applies the
// per-charge rules. Neither writes anything: the host writes the claim.
#pragma once

#include <cstddef>
#include <vector>

#include "claim/claim_tables.h"

namespace ub04 {

// A claim page holds this many service lines.
inline constexpr int16_t kDetailLinesPerClaim = 22;

// The per-charge rules, in their fixed order; true at the first that fires.
// Most are switched on by a break-preference token of exactly "1" (Last
// copy); the detail-line limit, the diagnosis overflow and a change of the
// diagnosis code set always apply.
bool CheckChargeBreak(ClaimEnv& env, ClaimTables& tables);

// A per-charge rule as the record reference (docs/records.md) describes it.
inline constexpr size_t kNoSwitch = ~size_t{0};
struct BreakRuleDoc {
  size_t switch_member;  // the break-preference member that switches it on, or kNoSwitch
  const char* when;      // what makes it fire
  const char* log;       // its run-log line (some add the reason after it)
};

// The per-charge rules, in the order CheckChargeBreak tests them.
std::vector<BreakRuleDoc> BreakRuleDocs();

}  // namespace ub04
