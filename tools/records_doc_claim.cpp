// The record reference's sections that come from the claim layer's tables:
// the extended-data items (records/ext_data_items.h, looked up as
// claim/ext_data.h says) and the break rules (claim/breaks.h).
#include <string>
#include <vector>

#include "claim/breaks.h"
#include "claim/ext_data.h"
#include "records/ext_data_items.h"
#include "records/record_types.h"

#include "records_doc.h"

using namespace ub04;

namespace records_doc {

namespace {

// The type code of the record a slot of the claim state holds.
std::string_view CodeOfSlot(TopRecords& top, ChargeGroup& group, const Record* slot) {
  for (const RecordType& t : RecordTypes())
    if (t.role != RecordRole::kNone && &t.slot(top, group) == slot) return t.code;
  Fail("an extended-data record without a row in the record-type table");
}

std::string Joined(const std::vector<std::string>& parts, const char* sep) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : sep) + p;
  return out;
}

std::string SwitchName(const MemberNames& names, size_t member) {
  if (member == kNoSwitch) return "always";
  const std::map<size_t, std::string> members = MembersOf(names, kBreakPrefLayout);
  auto it = members.find(member);
  if (it == members.end()) Fail("a break rule's switch has no name");
  return "`" + it->second + "` (token " + std::to_string(member) + ")";
}

}  // namespace

void WriteExtDataItems(std::ostream& out) {
  TopRecords top;
  ChargeGroup group;
  out << "\n## Extended-data items\n\n"
         "An extended-data record carries items: after token 0, each pair of tokens is an item "
         "code (its first five characters) and the item's value. The component looks up the "
         "items below, each in one set: it takes the value from the first record of the list "
         "that holds the item with a value. Other items are kept and ignored.\n\n"
         "| item | set | looked up in | value | prints in |\n|---|---|---|---|---|\n";
  for (const ExtDataItem& item : ExtDataItems()) {
    std::vector<std::string> codes;
    for (const Record* r : ExtDataRecords(top, group, item.set)) {
      if (!r) Fail("extended-data item " + std::string(item.code) + " has no set 1 to 5");
      codes.emplace_back(CodeOfSlot(top, group, r));
    }
    out << "| " << item.code << " | " << item.set << " | " << Joined(codes, ", ") << " | "
        << Cell(item.value) << " | " << Cell(item.prints) << " |\n";
  }
}

void WriteBreakRules(std::ostream& out, const MemberNames& names) {
  std::vector<std::string> starters;
  for (const RecordType& t : RecordTypes())
    if (!t.break_name.empty())
      starters.push_back(std::string(t.code) + " (" + std::string(t.doc_name) + ")");
  out << "\n## Break rules\n\n"
         "At the end of each charge after the first, the claim being built is written and a "
         "new one starts with this charge when a record of type "
      << Joined(starters, ", ")
      << " came since the previous charge ended (whatever it holds), or when the charge's "
         "`TypeOfBill` differs from the previous charge's. Otherwise the rules below are "
         "tested in this order, each comparing this charge with the previous one exactly, "
         "and the first that fires ends the claim. A rule with a switch applies only while "
         "that token of the break preferences (3101) is exactly \"1\". The run log names the "
         "rule that fired with a line that starts as shown.\n\n"
         "| rule | switch | fires when | run-log line |\n|---|---|---|---|\n";
  int n = 0;
  for (const BreakRuleDoc& r : BreakRuleDocs())
    out << "| " << ++n << " | " << SwitchName(names, r.switch_member) << " | " << Cell(r.when)
        << " | \"" << Cell(r.log) << "\" |\n";
}

std::map<size_t, std::string> BreakSwitchTexts() {
  std::map<size_t, std::string> texts;
  int n = 0;
  for (const BreakRuleDoc& r : BreakRuleDocs()) {
    ++n;
    if (r.switch_member == kNoSwitch) continue;
    std::string& t = texts[r.switch_member];
    t += (t.empty() ? "\"1\" switches on break rule " : "; rule ") + std::to_string(n) + ": " +
         r.when;
  }
  return texts;
}

}  // namespace records_doc
