#include "checks/claim_checks.h"

#include <algorithm>

#include "base/text_util.h"
#include "checks/check_rules.h"

namespace ub04 {

bool CheckSettings::Skips(std::string_view rule) const {
  return std::find(skipped.begin(), skipped.end(), rule) != skipped.end();
}

void CheckClaim(ClaimRecord& claim, const CheckSettings& settings) {
  std::vector<ClaimFinding> found;
  for (const CheckRule& rule : CheckRules())
    if (rule.check && !settings.Skips(rule.id)) rule.check(claim, RuleFindings(rule, found));
  // What the composer noticed goes when its rule is skipped or a finding
  // of the checks stands for it.
  auto stood_for = [&](const ClaimFinding& noticed) {
    for (const ClaimFinding& f : found) {
      const CheckRule* rule = FindCheckRule(f.rule);
      if (rule && rule->supersedes == noticed.rule && f.value == noticed.value) return true;
    }
    return false;
  };
  std::erase_if(claim.findings, [&](const ClaimFinding& f) {
    return settings.Skips(f.rule) || stood_for(f);
  });
  claim.findings.insert(claim.findings.end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
}

bool HoldsClaim(const ClaimRecord& claim, const CheckSettings& settings) {
  if (settings.mode != CheckSettings::Mode::kHold) return false;
  return claim.HasError() || (settings.hold_warnings && !claim.findings.empty());
}

std::string FindingLine(const ClaimRecord& claim, const ClaimFinding& f) {
  const int32_t sequence = claim.first_sequence();
  std::string line = "claim " + (sequence > 0 ? PlainNum(sequence) : std::string("-")) +
                     " (account " + ClipForMessage(claim.account) + ") ";
  if (!f.locator.empty()) line += f.locator + " ";
  line += f.rule + " \"" + ClipForMessage(f.value) + "\": " + std::string(FindingMessage(f));
  return line;
}

std::string_view FindingMessage(const ClaimFinding& f) {
  // The composer's and the host's messages start "<component> Proc()  Warning: ".
  std::string_view m = f.message;
  for (std::string_view label : {"  Warning: ", "  Error: "}) {
    const size_t at = m.find(label);
    if (at != std::string_view::npos && m.substr(0, at).find(' ') != std::string_view::npos &&
        m.substr(0, at).ends_with(")")) {
      m.remove_prefix(at + label.size());
      break;
    }
  }
  return m;
}

bool IsFindingMessage(std::string_view message) {
  return message.find(std::string(" ") + std::string(kFindingProcedure) + "  ") != std::string_view::npos;
}

}  // namespace ub04
