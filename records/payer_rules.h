// Fixed payer rules the parsers apply while they fill the claim state: the
// 21 payer flags of the insurance record and the "BP:" split of a charge.
#pragma once

#include <array>
#include <string_view>

#include "records/layouts.h"
#include "records/record.h"

namespace ub04 {

// A payer test: True when the payer identifier equals one of the
// blank-separated ids exactly.
struct PayerRule {
  const char* flag;  // "IsPayer12B38"
  const char* ids;   // "12B38 12X17 12X18 12X19 12X20"
};

// In the storage order of the insurance record's flags (insurance_flag).
extern const std::array<PayerRule, insurance_flag::kFlagCount> kPayerRules;

bool PayerRuleHolds(const PayerRule& rule, std::string_view payer_id);

// Every flag of the insurance record from its PayerId.
void SetPayerFlags(Record& insurance);

// A charge Description that begins "BP:" gives its trimmed rest to BpValue
// and takes BpDescription in its place (BpDescription is then emptied).
void TakeBPPrefix(Record& charge);

}  // namespace ub04
