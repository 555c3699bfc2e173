// Extended data: packed "~" + five-character code + value items of the
// 5010-5018 (patient) and 6010-6028 (charge) records.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "claim/claim_state.h"
#include "records/record_groups.h"

namespace ub04 {

// The records an item of set n (1 to 5) is looked up in, in order: the
// charge's second family (6020...), its first family (6010...), then the
// patient-level set (5010...). Null for n outside 1 to 5.
std::array<const Record*, 3> ExtDataRecords(const TopRecords& top, const ChargeGroup& group,
                                            int n);

// Extended-data item code of set n, from the first of its records that
// holds it with a value. False (value "") when absent or empty.
bool LookUpExtData(const TopRecords& top, const ChargeGroup& group, int n,
                   std::string_view code, std::string& value);

// The same in the This copies, and in the Last copies.
inline bool LookUpExtDataThis(const ClaimState& cs, int n, std::string_view code,
                              std::string& value) {
  return LookUpExtData(cs.this_top, cs.this_group, n, code, value);
}
inline bool LookUpExtDataLast(const ClaimState& cs, int n, std::string_view code,
                              std::string& value) {
  return LookUpExtData(cs.last_top, cs.last_group, n, code, value);
}

}  // namespace ub04
