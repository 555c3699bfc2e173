// Shared by the two halves of the record-reference generator
// (tools/gen_records_doc.cpp: the record types and layouts;
// tools/records_doc_claim.cpp: the extended-data items and the break rules).
#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "records/layouts.h"

namespace records_doc {

// Stops the generator (exit 1): a table it cannot document is an error, not
// a gap in the reference.
[[noreturn]] void Fail(const std::string& why);

// Text made safe for a table cell.
std::string Cell(std::string_view s);

// The member names of every layout, by namespace and member number, as
// records/layouts.h declares them.
using MemberNames = std::map<std::string, std::map<size_t, std::string>>;

// The names of a layout's members (kMemberCount left out), checked against
// the compiled layout.
std::map<size_t, std::string> MembersOf(const MemberNames& names, const ub04::RecordLayout& l);

// "## Extended-data items": every item the component looks up.
void WriteExtDataItems(std::ostream& out);

// "## Break rules": the claim-level breaks and the per-charge rules.
void WriteBreakRules(std::ostream& out, const MemberNames& names);

// For each break-preference member that switches rules on, what it does.
std::map<size_t, std::string> BreakSwitchTexts();

}  // namespace records_doc
