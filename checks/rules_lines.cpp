// The service lines (boxes 42 to 47), line 23's total and the amounts of
// boxes 54 and 55.
#include <string>

#include "checks/claim_facts.h"
#include "checks/rule_checks.h"
#include "claim/claim_fields.h"

namespace ub04::checks {

namespace {

// "line 3" for the claim's third service line; on a claim of several pages
// also where it prints.
std::string LineName(const ClaimRecord& c, size_t i) {
  const ClaimServiceLine& l = c.lines[i];
  std::string name = "line " + std::to_string(i + 1);
  if (c.page_count() > 1) name += " (page " + std::to_string(l.page) + ", row " + std::to_string(l.row) + ")";
  return name;
}

// The box an amount of the batch goes to.
std::string_view LocatorOfAmount(std::string_view what) {
  if (what == "units") return "FL46";
  if (what == "charge amount") return "FL47";
  if (what.starts_with("other insurance")) return "FL54";
  return "FL55";  // the charge's paid and adjustment amounts make the amount due
}

}  // namespace

void RevenueCodes(const ClaimRecord& c, const RuleFindings& f) {
  for (size_t i = 0; i < c.lines.size(); ++i) {
    const std::string& code = c.lines[i].revenue_code;
    if (code.size() != 4 || !AllDigits(code))
      f.Add("FL42", code, LineName(c, i) + ": a revenue code is four digits");
    else if (code == "0000")
      f.Add("FL42", code, LineName(c, i) + ": no revenue code (0000)");
    else if (code == "0001")
      f.Add("FL42", code, LineName(c, i) + ": 0001 (total charges) belongs on line 23 only");
  }
}

void ServiceDates(const ClaimRecord& c, const RuleFindings& f) {
  const auto tob = ParseTypeOfBill(c.type_of_bill);
  const bool required = tob && IsOutpatient(*tob);
  const auto from = DateCcyymmdd(c.statement_from);
  const auto through = DateCcyymmdd(c.statement_through);
  for (size_t i = 0; i < c.lines.size(); ++i) {
    const std::string& text = c.lines[i].service_date;
    if (text.empty()) {
      if (required)
        f.Add("FL45", text, LineName(c, i) + ": no service date; type of bill " + c.type_of_bill + " needs one");
      continue;
    }
    const auto date = DateMmddyyyy(text);
    if (!date)
      f.Add("FL45", text, LineName(c, i) + ": the service date is not a date (MMDDCCYY)");
    else if (from && through && (*date < *from || *date > *through))
      f.Add("FL45", text, LineName(c, i) + ": the service date lies outside the statement period " +
                              YmdText(*from) + "-" + YmdText(*through));
  }
}

void Units(const ClaimRecord& c, const RuleFindings& f) {
  for (size_t i = 0; i < c.lines.size(); ++i)
    if (!(c.lines[i].units > 0))
      f.Add("FL46", GeneralNum(static_cast<double>(c.lines[i].units)),
            LineName(c, i) + ": the units of service are not more than 0");
}

void NegativeCharges(const ClaimRecord& c, const RuleFindings& f) {
  for (size_t i = 0; i < c.lines.size(); ++i)
    if (c.lines[i].charges < Currency{})
      f.Add("FL47", AmountItem(c.lines[i].charges), LineName(c, i) + ": a negative charge");
}

void AmountsAsReceived(const ClaimRecord& c, const RuleFindings& f) {
  for (size_t i = 0; i < c.lines.size(); ++i)
    for (const auto& [what, text] : c.lines[i].amounts_received)
      if (!IsPlainNumber(text))
        f.Add(LocatorOfAmount(what), text,
              LineName(c, i) + ": the " + what + " is not a plain number; it was read as " +
                  GeneralNum(LeadingNumber(text)));
}

void TotalCharges(const ClaimRecord& c, const RuleFindings& f) {
  Currency sum;
  try {
    for (const ClaimServiceLine& l : c.lines) sum += l.charges;
  } catch (const RtError&) {
    f.Add("FL47", AmountItem(c.total_charges), "line 23: the lines' charges add up past any amount");
    return;
  }
  if (sum != c.total_charges)
    f.Add("FL47", AmountItem(c.total_charges),
          "line 23's total is not the sum of the lines' charges (" + AmountItem(sum) + ")");
}

void AmountDue(const ClaimRecord& c, const RuleFindings& f) {
  for (const ClaimPayer& p : c.payers) {
    if (!p.billed || !p.has_amount_due) continue;
    const std::string due = AmountItem(p.amount_due);
    const std::string& rule = c.amount_due_rule;
    if (rule != "1" && rule != "2" && rule != "3")
      f.Add("FL55", due, "the calculation preference (\"" + rule +
                             "\") names no amount-due rule (1, 2 or 3): box 55 is not an amount due");
    else if (p.amount_due < Currency{})
      f.Add("FL55", due, "the amount due is negative: payments and adjustments exceed the charges");
    else if (p.amount_due > c.total_charges)
      f.Add("FL55", due, "the amount due is more than the claim's total " + AmountItem(c.total_charges));
  }
}

}  // namespace ub04::checks
