// The record types of the input stream: what key token 10 names, which
// layout reads the record and which This slot it fills.
//
// A new record type is a layout (records/layouts.cpp), a slot in the record
// groups (records/record_groups.h) and a row of this table.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "records/layouts.h"
#include "records/record.h"
#include "records/record_groups.h"

namespace ub04 {

enum class RecordStep : uint8_t {
  kTop,          // a top record: read into the slot
  kCompanion,    // a record of the charge being received: read into the slot
  kStartCharge,  // 6000: the This group is emptied, then the charge is read
  kFacility,     // 6200: a companion read only when the billing preferences take it
  kEndOfCharge,  // 6990: no record text; the host ends the charge
};

struct RecordType {
  std::string_view code;       // "1000"
  const RecordLayout* layout;  // null for the end of a charge
  Record& (*slot)(TopRecords& top, ChargeGroup& group);  // null with no layout
  RecordStep step;
};

// The row of a type code, or null for a type the component does not know.
const RecordType* FindRecordType(std::string_view code);

// Every row, in table order (for the generated record reference).
std::span<const RecordType> RecordTypes();

// The facility switch of the billing preferences ("1" never, "2" not for an
// office place of service, anything else always): true when the facility
// record of this charge is read.
bool TakesFacility(const Record& calc_pref, const Record& charge);

}  // namespace ub04
