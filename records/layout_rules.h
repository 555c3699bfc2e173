// How a record type is read: the description one generic parser
// (records/record_parser.h) follows for every record type but extended data.
//
// A record text is split on "//" into tokens 0..n (n is the index of the
// last token). The description lists, in reading order, the parts of the
// record: mandatory token ranges, and optional groups that are read only
// when n is above their threshold (otherwise their members get the absent
// value). Reading a part copies token k into the member the layout maps it
// to; a token that is not there raises error 9, so a record that is too
// short or ends inside a group fails and keeps what was filled before.
//
// Common field rules (sex, UPIN, NPI cut-over, country) are data; rules that
// only one record type has are small named functions hooked in at the step
// where that record applies them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/runtime.h"
#include "records/record.h"
#include "records/record_env.h"

namespace ub04 {

struct LayoutRules;

// What the hooks of one parse see.
struct ParseContext {
  ParseEnv& env;
  Record& rec;
  const TokenViews& t;               // views into the record text
  long long n;                       // index of the last token
  const LayoutRules& rules;
  bool keep_empty_payer_id = false;  // insurance: leave an empty PayerId alone
};

using PartHook = void (*)(ParseContext& c);
using FinishHook = int16_t (*)(ParseContext& c);  // 3 stops the parse, no clean-up
using PartTest = bool (*)(ParseContext& c);  // reads c.n

inline constexpr int kMandatory = -1;

struct Part {
  int first, last;               // token range
  int threshold = kMandatory;    // optional: read when n > threshold
  PartHook after = nullptr;      // runs once the part is read or blanked
  const char* absent = "";       // member value when the part is not read
  PartTest when = nullptr;       // replaces the threshold test
};

enum class RuleKind : uint8_t {
  kSex,         // token: code, token2: description (or -1): not F/M -> "U"/"UNKNOWN"
  kUpin,        // "." -> "", then "" while UPIN suppression is on
  kNpiCutover,  // "" while the NPI cut-over date is later than today
  kCountry,     // NormalizeCountry
};

// Applied right after the part that holds `token` has been read or blanked.
struct FieldRule {
  RuleKind kind;
  int token;
  int token2 = -1;
};

// One block of the grid dump: "<prefix>Field 01" shows field01, "Field 02"
// to "Field 05" four members from field02, "Field 06" to "Field 15" ten
// members from field06.
struct GridSection {
  const char* prefix;
  size_t field01, field02, field06;
};

struct LayoutRules {
  const char* entry_log;     // first trace line of the parse
  const char* error_text;    // " ParsePracticeRec() Error: ", blanks and all
  const char* cleanup_name;  // "Practice" in "DealWithPunctuation_Practice"

  // Tokens from shift_from on fill member token + shift_by.
  int shift_from = 1 << 30;
  int shift_by = 0;

  int gate_token = -1;  // record taken only when this token is exactly "1"

  std::span<const Part> parts = {};
  std::span<const FieldRule> field_rules = {};

  const char* grid_heading = nullptr;  // no grid dump when null
  std::span<const GridSection> grid = {};

  std::span<const int> cleanup_tokens = {};  // punctuation clean-up, in order
  // Amounts, units and rates: a token that holds more than a number is read
  // as its leading number, and the host is warned (severity 2).
  std::span<const int> number_tokens = {};
  // Dates the form prints (MMDDYYYY): a token that holds something else is
  // printed as given, and the host is warned (severity 2).
  std::span<const int> date_tokens = {};

  void (*on_entry)(ParseEnv& env) = nullptr;  // after the entry line
  FinishHook finish = nullptr;               // after the grid dump
  void (*after_cleanup)(ParseContext& c) = nullptr;
};

// The member a token fills.
inline size_t MemberForToken(const LayoutRules& r, int token) {
  return static_cast<size_t>(token >= r.shift_from ? token + r.shift_by : token);
}

// The token a member is filled from, or -1 for a member of the shift gap
// (one the parser derives).
inline int TokenForMember(const LayoutRules& r, size_t member) {
  int m = static_cast<int>(member);
  if (m < r.shift_from) return m;
  if (m < r.shift_from + r.shift_by) return -1;
  return m - r.shift_by;
}

}  // namespace ub04
