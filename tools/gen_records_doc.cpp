// Writes docs/records.md, the record reference for host writers, from the
// tables the component itself runs on: the record-type table, each layout's
// parts, field rules and member notes, the member names of
// records/layouts.h, the extended-data items and the break rules (the last
// two in tools/records_doc_claim.cpp).
//
//   gen_records_doc LAYOUTS_H [OUT]     (OUT "-" or absent: standard output)
//
// C++ cannot list an enum's names, so they are read from the header the
// library is compiled from, and every record's member count is checked
// against the compiled layout: a header and a table that disagree stop the
// program (exit 1) instead of documenting either. So do a part hook without
// a description, a named member without a note and a note on a member that
// has no name, so that nothing new goes unexplained.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "records/layout_rules.h"
#include "records/layouts.h"
#include "records/record_env.h"
#include "records/record_groups.h"
#include "records/record_rules.h"
#include "records/record_types.h"

#include "records_doc.h"

using namespace ub04;

namespace records_doc {

void Fail(const std::string& why) {
  std::cerr << "gen_records_doc: " << why << "\n";
  std::exit(1);
}

// The record's fields must not break the tables.
std::string Cell(std::string_view s) {
  std::string out;
  for (char ch : s) out += ch == '|' ? std::string("\\|") : std::string(1, ch);
  return out;
}

std::map<size_t, std::string> MembersOf(const MemberNames& names, const RecordLayout& l) {
  auto it = names.find(l.names);
  if (it == names.end()) Fail(std::string("no enum for namespace ") + l.names + " in layouts.h");
  auto count = it->second.rbegin();
  if (count->second != "kMemberCount" || count->first != l.member_count)
    Fail(std::string(l.names) + ": the names in layouts.h do not match the compiled layout");
  std::map<size_t, std::string> members = it->second;
  members.erase(count->first);
  return members;
}

}  // namespace records_doc

using namespace records_doc;

namespace {

MemberNames ReadMemberNames(const std::string& path) {
  std::ifstream in(path);
  if (!in) Fail("cannot read " + path);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  MemberNames names;
  // namespace X { enum : size_t { A = 0, B, C = 5, ... }; }
  static const std::regex block(R"(namespace\s+(\w+)\s*\{\s*enum\s*:\s*size_t\s*\{([^}]*)\})");
  static const std::regex item(R"(^\s*(\w+)\s*(?:=\s*(\d+))?\s*$)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), block);
       it != std::sregex_iterator(); ++it) {
    const std::string ns = (*it)[1];
    static const std::regex comment(R"(//[^\n]*)");
    std::stringstream body(std::regex_replace((*it)[2].str(), comment, ""));
    std::string entry;
    size_t next = 0;
    while (std::getline(body, entry, ',')) {
      std::smatch m;
      if (entry.find_first_not_of(" \n\t") == std::string::npos) continue;
      if (!std::regex_match(entry, m, item)) Fail("unreadable enumerator in " + ns + ": " + entry);
      size_t value = m[2].matched ? std::stoul(m[2]) : next;
      names[ns][value] = m[1];
      next = value + 1;
    }
  }
  return names;
}

// What the rule a part runs once read does, for the tokens of that part.
struct HookText {
  PartHook hook;
  const char* text;
};
const HookText kHookTexts[] = {
    {KeepNpiAsReceived, "`NpiAsReceived` keeps `Npi` as it came"},
    {MapSubscriberField11,
     "`Field11`: \"3\" becomes \"1\", \"2\" becomes \"0\"; `Field11Mapped` is set from it"},
    {SplitSubscriberField38,
     "`Field38` is cut at its first \"~\"; what follows goes to `Field38SecondPart`"},
    {BlankNoneApprovals,
     "`PrimaryApprovalNumber` and `SecondaryApprovalNumber` starting with \"NONE\" are blanked"},
    {FrameCodeList, "`CodeList` is framed with \"~\" on both sides"},
    {BlankZeroQuantities, "`NdcQuantity` and `Field124` are blanked when their number is 0"},
    {MapOInsuranceAssignsBenefits,
     "`AssignsBenefits`: \"3\" becomes \"1\", \"2\" becomes \"0\""},
    {MapOInsuranceField11,
     "`Field11`: \"5\" becomes \"1\", \"4\" becomes \"0\"; `Field11Mapped` is set from it"},
    {NormalizeOInsuranceAdjustments,
     "`AdjustmentCodes` (group|reason|amount|units, repeated) are merged by group and reason "
     "and ordered by group; an amount or units that is not a number is warned about"},
};

const char* HookDescription(PartHook h) {
  for (const HookText& t : kHookTexts)
    if (t.hook == h) return t.text;
  Fail("a part hook has no description: add it to kHookTexts");
}

const char* RuleText(RuleKind k) {
  switch (k) {
    case RuleKind::kSex: return "sex code: anything but F or M becomes U (description UNKNOWN)";
    case RuleKind::kUpin: return "UPIN: \".\" becomes empty; empty while UPINs are suppressed";
    case RuleKind::kNpiCutover: return "NPI: empty while the NPI cut-over date is later than today";
    case RuleKind::kCountry: return "country: US forms become empty, others a two-letter code";
  }
  Fail("unknown field rule");
}

const char* StepText(RecordStep s) {
  switch (s) {
    case RecordStep::kTop: return "claim-level record";
    case RecordStep::kCompanion: return "companion of the charge being received";
    case RecordStep::kStartCharge: return "starts a charge (its companions follow)";
    case RecordStep::kFacility:
      return "companion of the charge, read only when the billing preferences take it";
    case RecordStep::kEndOfCharge: return "ends the charge; no record text is read";
  }
  Fail("unknown record step");
}

struct NullServices : RecordServices {
  std::string AlternatePracticeNpi(const std::string&, const std::string&,
                                   const std::string&) override { return ""; }
  bool OriginalPracticeAddress(Record&) override { return true; }
  void ChooseDiagnosisCodeSet(Record&, const Record&) override {}
  void NormalizeAdjustmentCodes(std::string&) override {}
};

// Whether a part is read for a record whose last token is n: the parser's
// own test, run on a record of that length.
bool PartRead(const Part& p, long long n, const RecordLayout& layout) {
  if (p.when) {
    Context cx;
    NullServices services;
    TopRecords top;
    ChargeGroup group;
    FollowMark follow;
    ParseEnv env{cx, services, top, group, follow, {}, {}};
    Record rec(&layout);
    TokenViews t;
    ParseContext c{env, rec, t, n, *layout.rules};
    return p.when(c);
  }
  return p.threshold == kMandatory || n > p.threshold;
}

// Token counts (n + 1) the parser reads without running out of tokens.
std::string AcceptedCounts(const RecordLayout& layout) {
  const LayoutRules& r = *layout.rules;
  int max_last = 0;
  for (const Part& p : r.parts) max_last = std::max(max_last, p.last);
  std::vector<long long> ok;
  for (long long n = 0; n <= max_last; ++n) {
    bool good = true;
    for (const Part& p : r.parts)
      if (PartRead(p, n, layout) && p.last > n) good = false;
    if (good) ok.push_back(n + 1);
  }
  // More tokens than the last part needs are ignored; a group tested on the
  // record's length is then left unread, which is no failure.
  std::string out;
  // Runs of consecutive counts read as ranges.
  for (size_t i = 0; i < ok.size();) {
    size_t j = i;
    while (j + 1 < ok.size() && ok[j + 1] == ok[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    if (j == ok.size() - 1 && ok[j] == max_last + 1) {
      out += std::to_string(ok[i]) + " or more";
    } else {
      out += std::to_string(ok[i]);
      if (j > i) out += " to " + std::to_string(ok[j]);
    }
    i = j + 1;
  }
  return out;
}

std::string PartWhen(const Part& p, const RecordLayout& layout) {
  if (p.when) {
    // Describe the parser's test by the last tokens it accepts.
    long long lo = -1, hi = -1;
    for (long long n = 0; n <= 1000; ++n)
      if (PartRead(p, n, layout)) {
        if (lo < 0) lo = n;
        hi = n;
      }
    if (lo < 0) return "never";
    return "the last token is " + std::to_string(lo) + " to " + std::to_string(hi);
  }
  return "the record has more than " + std::to_string(p.threshold + 1) + " tokens";
}

// Whether a member carries only its token's number for a name (FieldNN).
bool IsTokenName(const std::string& name) {
  static const std::regex token_name(R"(Field\d+)");
  return std::regex_match(name, token_name);
}

// What each named member holds: its note, or (break preferences) the rules
// its switch turns on. Every named member has exactly one; a member named
// only FieldNN has none.
std::map<size_t, std::string> Meanings(const RecordLayout& layout,
                                       const std::map<size_t, std::string>& names,
                                       const std::map<size_t, std::string>& switch_texts) {
  const std::string where = std::string(layout.name) + ": ";
  std::map<size_t, std::string> meaning = switch_texts;
  for (const MemberNote& n : layout.notes) {
    auto it = names.find(n.member);
    if (it == names.end()) Fail(where + "a note for a member past the layout");
    if (IsTokenName(it->second))
      Fail(where + "`" + it->second + "` has a note: give it a name in records/layouts.h");
    if (!meaning.emplace(n.member, n.text).second)
      Fail(where + "`" + it->second + "` is explained twice");
  }
  for (const auto& [member, name] : names)
    if (!IsTokenName(name) && !meaning.count(member))
      Fail(where + "`" + name + "` has no note in records/layout_notes.h");
  return meaning;
}

// The table of tokens and what each member holds, then the members the
// parser derives.
void WriteMembers(std::ostream& out, const RecordLayout& layout,
                  const std::map<size_t, std::string>& names,
                  const std::map<size_t, std::string>& switch_texts) {
  const LayoutRules& r = *layout.rules;
  const std::map<size_t, std::string> meaning = Meanings(layout, names, switch_texts);
  // What the parser does to each token, after the member's meaning.
  std::map<int, std::vector<std::string>> notes;
  for (const Part& p : r.parts) {
    const bool optional = p.threshold != kMandatory || p.when;
    for (int k = p.first; k <= p.last; ++k) {
      if (optional) notes[k].push_back("optional");
    }
  }
  for (const FieldRule& f : r.field_rules) {
    notes[f.token].push_back(RuleText(f.kind));
    if (f.token2 >= 0) notes[f.token2].push_back("sex description, set with the code");
  }
  for (int k : r.cleanup_tokens) notes[k].push_back("punctuation cleaned up");
  for (int k : r.number_tokens)
    notes[k].push_back("number: a text holding more is read as its leading number, with a warning");
  if (r.gate_token >= 0) notes[r.gate_token].push_back("\"1\" or the record is not taken");

  auto name_of = [&](size_t m) -> const std::string& {
    auto n = names.find(m);
    if (n == names.end()) Fail(std::string(layout.name) + ": member without a name");
    return n->second;
  };
  auto meaning_of = [&](size_t m) {
    auto it = meaning.find(m);
    return it == meaning.end() ? std::string() : it->second;
  };

  std::set<size_t> from_tokens;
  out << "\n| token | member | name | meaning |\n|---|---|---|---|\n";
  int max_token = -1;
  for (const Part& p : r.parts) max_token = std::max(max_token, p.last);
  if (r.parts.empty()) max_token = static_cast<int>(layout.member_count) - 1;
  for (int k = 0; k <= max_token; ++k) {
    size_t m = MemberForToken(r, k);
    if (m >= layout.member_count) Fail(std::string(layout.name) + ": token past the members");
    from_tokens.insert(m);
    std::string text = meaning_of(m);
    for (const std::string& s : notes[k]) text += (text.empty() ? "" : "; ") + s;
    out << "| " << k << " | " << m << " | `" << name_of(m) << "` | " << Cell(text) << " |\n";
  }
  bool any_derived = false;
  for (size_t m = 0; m < layout.member_count; ++m) {
    if (from_tokens.count(m)) continue;
    if (!any_derived)
      out << "\nMembers the parser sets itself (no token):\n\n"
             "| member | name | meaning |\n|---|---|---|\n";
    any_derived = true;
    out << "| " << m << " | `" << name_of(m) << "` | " << Cell(meaning_of(m)) << " |\n";
  }
}

void WriteLayout(std::ostream& out, const RecordLayout& layout, const std::string& codes,
                 const std::map<size_t, std::string>& names,
                 const std::map<size_t, std::string>& switch_texts) {
  const LayoutRules& r = *layout.rules;
  out << "\n## " << layout.name << " (" << codes << ")\n\n";
  if (r.parts.empty()) {
    out << "Read by its own parser: token 0, then pairs of an item code and its value, "
           "kept together in `Pairs`.\n";
  } else {
    out << "Accepted token counts: " << AcceptedCounts(layout) << ". A record that ends "
           "inside a part is refused (error 9) and keeps what was read before.\n";
  }
  if (r.gate_token >= 0)
    out << "\nThe record is taken only when token " << r.gate_token << " is exactly \"1\".\n";

  bool any_optional = false;
  for (const Part& p : r.parts) any_optional |= p.threshold != kMandatory || p.when;
  if (any_optional) {
    out << "\nOptional groups:\n\n| tokens | read when | when not read |\n|---|---|---|\n";
    for (const Part& p : r.parts) {
      if (p.threshold == kMandatory && !p.when) continue;
      out << "| " << p.first << (p.last > p.first ? "-" + std::to_string(p.last) : "") << " | "
          << PartWhen(p, layout) << " | "
          << (*p.absent ? "\"" + Cell(p.absent) + "\"" : std::string("empty")) << " |\n";
    }
  }

  // Rules that run once a part is read, over the tokens of that part.
  bool any_hook = false;
  for (const Part& p : r.parts) {
    if (!p.after) continue;
    if (!any_hook) out << "\nOnce read:\n\n";
    any_hook = true;
    out << (p.last > p.first ? "- tokens " : "- token ") << p.first
        << (p.last > p.first ? "-" + std::to_string(p.last) : "")
        << ": " << HookDescription(p.after) << "\n";
  }

  WriteMembers(out, layout, names, switch_texts);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: gen_records_doc LAYOUTS_H [OUT]\n";
    return 2;
  }
  const MemberNames names = ReadMemberNames(argv[1]);

  // Every layout the record types use, in the order of the type table.
  std::vector<const RecordLayout*> layouts;
  std::map<const RecordLayout*, std::string> codes;
  std::ostringstream out;
  out << "# Record reference\n\n"
         "<!-- Generated by tools/gen_records_doc from the record tables; do not edit.\n"
         "     Regenerate with: cmake --build build --target records_doc -->\n\n"
         "A record reaches `FormatRecord` (`ub04_format_record`) as a key and a text. The key "
         "holds 11 tokens separated by \"//\"; token 10 is the record type. The text is split "
         "on \"//\" into tokens 0, 1, 2, ...; each token fills one member of the record. A "
         "type the component does not know is passed over (logged). \".\" is how a host sends "
         "an empty field. Token 0 of every record must not be empty: it is how the component "
         "tells that a record came (a claim-level record whose token 0 is empty is left out of "
         "the claim).\n\n"
         "## Record types\n\n| type | record | role |\n|---|---|---|\n";
  for (const RecordType& t : RecordTypes()) {
    out << "| " << t.code << " | " << t.doc_name << " | " << StepText(t.step) << " |\n";
    if (!t.layout) continue;
    if (!codes.count(t.layout)) layouts.push_back(t.layout);
    std::string& c = codes[t.layout];
    c += (c.empty() ? "" : ", ") + std::string(t.code);
  }
  // The break preferences are explained by the rules their switches turn on.
  const std::map<size_t, std::string> switch_texts = BreakSwitchTexts();
  for (const RecordLayout* l : layouts)
    WriteLayout(out, *l, codes[l], MembersOf(names, *l),
                l == &kBreakPrefLayout ? switch_texts : std::map<size_t, std::string>{});
  WriteExtDataItems(out);
  WriteBreakRules(out, names);

  if (argc == 3 && std::string(argv[2]) != "-") {
    const std::string path = argv[2];
    const std::string tmp = path + ".tmp";
    {
      std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
      f << out.str();
      f.close();
      if (!f) Fail("cannot write " + tmp);
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) Fail("cannot replace " + path);
  } else {
    std::cout << out.str();
    std::cout.flush();
    if (!std::cout) Fail("cannot write the output");
  }
  return 0;
}
