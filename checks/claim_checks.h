// Checking a claim before it goes out: the rule table run over its record,
// what it finds added to the record's findings, and the one line each
// finding is reported by.
//
// The host asks for the checks (host message "CHECKS"): off (the default:
// hosts see what they always saw), report, or report and hold. A claim
// with an error finding is held when the checks hold; a claim with any
// finding when they also hold warnings. Findings noticed while the claim
// was composed (a text cut at its box) are findings of the same record,
// reported with the others, once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "claim/claim_record.h"

namespace ub04 {

struct CheckSettings {
  enum class Mode : uint8_t { kOff, kReport, kHold };
  Mode mode = Mode::kOff;
  bool hold_warnings = false;        // claims with warning findings are held too
  std::vector<std::string> skipped;  // rule ids that find nothing

  bool on() const { return mode != Mode::kOff; }
  bool Skips(std::string_view rule) const;
};

// Runs every rule the settings do not skip over the claim and adds what
// they find to its findings, after the ones it has. Of those it had, the
// findings of skipped rules go, and so does a finding that a rule's
// finding of the same value stands for (check_rules.h, supersedes).
void CheckClaim(ClaimRecord& claim, const CheckSettings& settings);

// Whether the settings keep the claim from the payer.
bool HoldsClaim(const ClaimRecord& claim, const CheckSettings& settings);

// The line a finding is reported by:
//   claim 3 (account RV100377) FL56 NPI-CHECK-DIGIT "1234567890": the NPI's check digit ...
// "claim N" is its first page's sequence number ("claim -" when it has no
// pages); the value is clipped for a message.
std::string FindingLine(const ClaimRecord& claim, const ClaimFinding& finding);

// A finding's message for people: what the composer or the host wrote,
// without the component's name and procedure in front.
std::string_view FindingMessage(const ClaimFinding& finding);

// The procedure a host names in the messages that report findings, and a
// test for such a message (a reader tells findings from other warnings).
inline constexpr std::string_view kFindingProcedure = "CheckClaim()";
bool IsFindingMessage(std::string_view message);

}  // namespace ub04
