// The record types of the input stream: what key token 10 names, which
// layout reads the record, where the claim state keeps it and what the
// record reference calls it.
//
// This table is the one list of record types: the claim state sizes, empties
// and folds its records by walking it, the break rules find the top records
// that start a claim in it, and the record reference (docs/records.md) is
// written from it. A new record type is a layout (records/layouts.cpp, its
// member notes in records/layout_notes.h), a slot in the record groups
// (records/record_groups.h) and a row of this table.
#pragma once

#include <cstddef>
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

// Where the claim state keeps a record type.
enum class RecordRole : uint8_t {
  kNone,   // the end of a charge: nothing is kept
  kTop,    // a top record (TopRecords): holds for every charge until replaced
  kGroup,  // a member of the charge group (ChargeGroup): one charge only
};

// The record of a row in one copy (This or Last) of the claim state: `top`
// for a top record, `group` for a member of the charge group.
struct RecordSlot {
  Record& (*top)(TopRecords&) = nullptr;
  Record& (*group)(ChargeGroup&) = nullptr;

  Record& operator()(TopRecords& t, ChargeGroup& g) const { return top ? top(t) : group(g); }
  // The selectors only pick a member, so they serve a const copy as well.
  const Record& Top(const TopRecords& t) const { return top(const_cast<TopRecords&>(t)); }
};

struct RecordType {
  std::string_view code;       // "1000"
  const RecordLayout* layout;  // null for the end of a charge
  RecordRole role;
  RecordSlot slot;             // empty with RecordRole::kNone
  RecordStep step;
  std::string_view doc_name;   // "Practice", "Other insurance 2"
  // Top records whose arrival ends the claim being built: the name the run
  // log gives the change ("BProvider") and the record's need-new flag
  // ("Provider"). Empty for every other row.
  std::string_view break_name = {};
  std::string_view need_new_name = {};
};

// Rows a claim state can keep flags for (ClaimState::need_new).
inline constexpr size_t kMaxRecordTypes = 64;

// The row of a type code, or null for a type the component does not know.
const RecordType* FindRecordType(std::string_view code);

// Every row, in table order: the order the claim state walks them in and
// the record reference lists them in.
std::span<const RecordType> RecordTypes();

// The position of a row in RecordTypes().
inline size_t RecordTypeIndex(const RecordType& t) {
  return static_cast<size_t>(&t - RecordTypes().data());
}

// The facility switch of the billing preferences ("1" never, "2" not for an
// office place of service, anything else always): true when the facility
// record of this charge is read.
bool TakesFacility(const Record& calc_pref, const Record& charge);

}  // namespace ub04
