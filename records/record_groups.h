// The records of one claim as the parsers fill them: the top records that
// hold for every charge until replaced, and one charge with its companions.
// The claim state (claim/claim_state.h) keeps two of each, This and Last.
#pragma once

#include <array>
#include <memory>
#include <string>

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

// Whether a charge is followed by a crossover ("MCA" other insurance), and
// the revenue-code part that keys it.
struct FollowMark {
  bool followed = false;
  std::string key;
};

}  // namespace ub04
