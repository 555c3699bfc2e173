// The claim record by name: one table of its items, from which its JSON
// form and the hosts' item accessors (C and C++) are both made, so a host
// reads the same names whichever way it asks.
//
// Items are texts: amounts as "2060.00", units as "1" or "1.5", flags as
// "1" or "0", dates as the record holds them. A record has plain items
// ("account", "type_of_bill", "total_charges", ...) and lists ("pages",
// "lines", "payers", "diagnoses", "providers", "findings", ...), whose
// entries have items of their own ("lines" entry 0, "revenue_code").
// docs/host-protocol.md lists every name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "claim/claim_record.h"

namespace ub04 {

// A plain item of the record; false for a name that is not one.
bool ClaimItem(const ClaimRecord& claim, std::string_view name, std::string& value);
// The number of entries of a list; -1 for a name that is not a list.
int32_t ClaimListSize(const ClaimRecord& claim, std::string_view list);
// An item of entry index (from 0) of a list; false for a list, index or
// name that is not there.
bool ClaimListItem(const ClaimRecord& claim, std::string_view list, int32_t index,
                   std::string_view name, std::string& value);

// The whole record as one JSON object on one line (no line end): plain items
// as strings, lists as arrays of objects. Bytes outside ASCII are escaped.
std::string ClaimJson(const ClaimRecord& claim);

// The names, for the documentation and its test: the plain items, the
// lists, and the items of one list's entries.
std::vector<std::string_view> ClaimItemNames();
std::vector<std::string_view> ClaimListNames();
std::vector<std::string_view> ClaimListItemNames(std::string_view list);

// Appends text to out as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);
// An amount as the record's texts write it: "-12.50", "2060.00".
std::string AmountItem(Currency amount);

}  // namespace ub04
