#include "records/payer_rules.h"

#include "base/runtime.h"

namespace ub04 {

const std::array<PayerRule, insurance_flag::kFlagCount> kPayerRules = {{
    {"IsPayerSKCT0", "SKCT0"},
    {"IsPayerSKMA0", "SKMA0"},
    {"IsPayerSKDC0", "SKDC0"},
    {"IsPayer12B76", "12B76 SB570"},
    {"IsPayerSKDE0", "SKDE0"},
    {"IsPayerSKIL0", "SKIL0"},
    {"IsPayerSKSC0", "SKSC0"},
    {"IsPayerSMMA0", "SMMA0"},
    {"IsPayerSKNC0", "SKNC0"},
    {"IsPayerSKNJ0", "SKNJ0 12006"},
    {"IsPayer12B35", "12B35"},
    {"IsPayer12B38", "12B38 12X17 12X18 12X19 12X20"},
    {"IsPayer12M35", "12M35 SMNY0"},
    {"IsPayerSMNY1", "SMNY1"},
    {"IsPayerSMNY2", "SMNY2"},
    {"IsPayerSKNY0", "SKNY0 12K35"},
    {"IsPayerSKOH0", "SKOH0"},
    {"IsPayerSMOH0", "SMOH0"},
    {"IsPayerCB865", "CB865 12881"},
    {"IsPayerSKPA0", "SKPA0"},
    {"IsPayerSKVT0", "SKVT0"},
}};

bool PayerRuleHolds(const PayerRule& rule, std::string_view payer_id) {
  std::string_view ids = rule.ids;
  while (!ids.empty()) {
    size_t blank = ids.find(' ');
    if (ids.substr(0, blank) == payer_id) return true;
    if (blank == std::string_view::npos) break;
    ids.remove_prefix(blank + 1);
  }
  return false;
}

void SetPayerFlags(Record& insurance) {
  const std::string& payer_id = insurance[insurance::PayerId];
  for (size_t i = 0; i < kPayerRules.size(); ++i)
    insurance.flags.at(i) = PayerRuleHolds(kPayerRules[i], payer_id);
}

void TakeBPPrefix(Record& charge) {
  std::string& text = charge[charge::Description];
  if (Left(text, 3) != "BP:") return;
  charge[charge::BpValue] = Trim(Mid(text, 4));
  text = charge[charge::BpDescription];
  charge[charge::BpDescription].clear();
}

}  // namespace ub04
