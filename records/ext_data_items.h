// The extended-data items the component looks up, for the record reference
// (docs/records.md): which item code of which set, what its value is and
// where it prints.
//
// The lookups themselves (LookUpExtData, claim/ext_data.h) name their code
// and set where they are made; a test holds this table and the lookups in
// the sources to the same codes, and checks that each item's set is the one
// that prints.
#pragma once

#include <span>
#include <string_view>

namespace ub04 {

struct ExtDataItem {
  std::string_view code;  // five characters: "20007"
  int set;                // 1 to 5: records 5010/6010/6020 are set 1, 5012/6012/6022 set 2, ...
  const char* value;      // what the value is
  const char* prints;     // where it goes on the form
};

// Ordered by code.
std::span<const ExtDataItem> ExtDataItems();

}  // namespace ub04
