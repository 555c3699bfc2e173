// The claim checks as one table: a check is a row of it.
//
// Each row names a rule (its id, "NPI-CHECK-DIGIT"), the form locators it
// looks at, its level (an error keeps the claim from the payer: a payer
// returns or denies such a claim; a warning is worth a look and prints),
// one line saying what it checks and the public text it comes from.
// docs/checks.md is generated from these rows.
//
// Most rows read a claim record (claim/claim_record.h) and say what they
// find. Rows without a check are things noticed while the claim was
// composed or its records read (a text cut at its box, a character the
// form cannot print): the composer and the host make those findings, and
// the table gives them their place among the others.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "claim/claim_record.h"

namespace ub04 {

struct CheckRule;

// What a rule's check finds: each Add is one finding of the claim, with the
// rule's id and level.
class RuleFindings {
 public:
  RuleFindings(const CheckRule& rule, std::vector<ClaimFinding>& out) : rule_(rule), out_(out) {}
  // locator: "FL56"; value: the value as the claim shows it; message: one
  // line for people, without the rule or the value (the report adds both).
  void Add(std::string_view locator, std::string_view value, std::string message) const;

 private:
  const CheckRule& rule_;
  std::vector<ClaimFinding>& out_;
};

using ClaimCheck = void (*)(const ClaimRecord& claim, const RuleFindings& found);

struct CheckRule {
  std::string_view id;
  std::string_view locators;  // "FL56, FL76-FL79"
  ClaimFinding::Level level;
  std::string_view what;      // one line: what it checks
  std::string_view source;    // the public text it follows, as a short citation
  ClaimCheck check;           // null: noticed while composing (see above)
  // A noticed-while-composing rule this rule's finding stands for when both
  // concern the same value (a charge amount that is not a number is one
  // event: its error, not also the reader's warning). "" when none.
  std::string_view supersedes = {};
};

// Every rule, in the order the report and the documentation list them.
std::span<const CheckRule> CheckRules();
// The rule of an id, or nullptr.
const CheckRule* FindCheckRule(std::string_view id);

}  // namespace ub04
