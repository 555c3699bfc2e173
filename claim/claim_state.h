// Claim state: the "This" copy that the parsers fill and the "Last" copy of
// the charge most recently completed, which the break rules compare against
// and the form writer prints from.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "claim/claim_tables.h"
#include "records/record.h"

namespace ub04 {

class CCFormInfoArray;

// The eight top records and the five patient-level extended-data records.
struct TopRecords {
  Record practice, submitter, bprovider, insurance, calc_pref, break_pref,
      patient, subscriber;
  std::array<Record, 5> ext;  // 5010, 5012, 5014, 5016, 5018
};

// One charge with its companions.
struct ChargeGroup {
  Record charge;
  // 6020, 6022, 6024, 6026, 6028, then 6010, 6012, 6014, 6016, 6018.
  std::array<Record, 10> ext;
  Record ambulance, chiropractor, sprovider, oprovider, referral, oreferral,
      facility;
  std::array<Record, 4> oins;  // 6310, 6320, 6330, 6340
  std::shared_ptr<CCFormInfoArray> custom_forms;

  // Extended data of the second family (6020...) for set n = 1..5.
  Record& ext_second(int n) { return ext[static_cast<size_t>(n - 1)]; }
  Record& ext_first(int n) { return ext[static_cast<size_t>(n + 4)]; }
  const Record& ext_second(int n) const { return ext[static_cast<size_t>(n - 1)]; }
  const Record& ext_first(int n) const { return ext[static_cast<size_t>(n + 4)]; }
};

struct ClaimState {
  TopRecords this_top, last_top;
  ChargeGroup this_group, last_group;  // g_ThisGroup, g_LastGroup

  bool need_new_practice = false, need_new_submitter = false,
       need_new_provider = false, need_new_insurance = false,
       need_new_patient = false, need_new_subscriber = false;

  bool this_followed = false, last_followed = false;
  std::string this_follow_key, last_follow_key;

  // gDiagArray: the claim's distinct diagnoses in order of first
  // appearance, 1-based in the rules (diag[0] is position 1); sized to the
  // table size of the run state, an entry with an empty code is free.
  std::vector<DiagnosisEntry> diag;
};

}  // namespace ub04

namespace ub04 {
// Sizes every record of both copies by its layout and empties them, with
// fresh custom-form lists (the reset of a new run).
void InitClaimState(ClaimState& cs);
}  // namespace ub04

namespace ub04 {
// Empty routines: a top record blanks token 0 only (consumers read the Last
// copy); a group is cleared whole with a fresh custom-form list.
void EmptyThisTop();
void EmptyLastTop();
void EmptyThisGroup();
void EmptyLastGroup();
// Fold This into Last at the end of a charge; each ends by emptying This.
void CopyThisTopToLast();
void CopyThisGroupToLast();
}  // namespace ub04
