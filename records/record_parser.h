// The generic record parser and the punctuation clean-up, both driven by the
// layout of the record they are given (records/layout_rules.h).
#pragma once

#include <cstdint>
#include <string>

#include "records/layout_rules.h"
#include "records/record.h"
#include "records/record_env.h"

namespace ub04 {

// Parses sRec into rec by rec's layout. Returns 0, or 3 after queueing the
// layout's error text with the error (the members read before the error
// keep their new values, the others their old ones). Extended data packs
// its code/value pairs into one member instead.
int16_t ParseRecord(ParseEnv& env, const std::string& sRec, Record& rec,
                    bool keep_empty_payer_id = false);

// Warns the host (severity 2, and the log; env.notes keeps it instead of
// the queue when set) that token of the record being
// read holds text that is more than a number, which is read as its leading
// number.
void WarnNotANumber(ParseEnv& env, const LayoutRules& rules, int token, std::string_view text);
// The same for a token the form prints as a date that holds no date.
void WarnNotADate(ParseEnv& env, const LayoutRules& rules, int token, std::string_view text);

// DealWithPunctuation_<record>: SquashAllPunctuation over the layout's
// clean-up fields, in order. 0, or 3 after queueing the error; the parsers
// ignore the result.
int16_t DealWithPunctuation(Context& cx, Record& rec);

}  // namespace ub04
