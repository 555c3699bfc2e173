// Claim state: the "This" copy that the parsers fill and the "Last" copy of
// the charge most recently completed, which the break rules compare against
// and the form writer prints from, with the claim's diagnosis table.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "claim/claim_tables.h"
#include "records/record_groups.h"
#include "records/record_types.h"

namespace ub04 {

struct ClaimEnv;

// What ended the claim the Last copy held: the service lines filled a page,
// the diagnoses filled the table, or any other break rule.
enum class BreakCause : uint8_t { kOther, kLinesFull, kDiagnosisOverflow };

struct ClaimState {
  TopRecords this_top, last_top;
  ChargeGroup this_group, last_group;  // g_ThisGroup, g_LastGroup

  // The need-new flags, by record-type index (records/record_types.h): set
  // when a top record that starts a claim is folded into Last, and kept for
  // the rest of the run.
  std::bitset<kMaxRecordTypes> need_new;

  FollowMark this_follow, last_follow;

  // gDiagArray: the claim's distinct diagnoses in order of first
  // appearance, 1-based in the rules (diag[0] is position 1), an entry with
  // an empty code is free. Sized by the instance that reset the run.
  std::vector<DiagnosisEntry> diag;
  // How many diagnoses of a charge count (4 or 5).
  int16_t diags_per_charge = 4;
  // A claim goes on over as many pages as its lines need (host message
  // "MULTIPAGE"): a full page of service lines no longer ends it.
  bool multipage = false;
  // Why the last break the rules decided ended the claim.
  BreakCause last_break = BreakCause::kOther;
};

// Sizes every record of both copies by its layout and empties them, with
// fresh custom-form lists, and sizes the diagnosis table (the reset of a
// new run).
void InitClaimState(ClaimState& cs, int16_t diag_capacity, int16_t diags_per_charge);

// Empty routines: a top record blanks token 0 only (consumers read the Last
// copy); a group is cleared whole with a fresh custom-form list.
void EmptyThisTop(ClaimEnv& env);
void EmptyLastTop(ClaimEnv& env);
void EmptyThisGroup(ClaimEnv& env);
void EmptyLastGroup(ClaimEnv& env);
// Fold This into Last at the end of a charge; each ends by emptying This.
void CopyThisTopToLast(ClaimEnv& env);
void CopyThisGroupToLast(ClaimEnv& env);

}  // namespace ub04
