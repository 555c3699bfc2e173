// Payers, insureds and providers: boxes 50 to 64 of the billed payer's row,
// the NPIs of boxes 56 and 76 to 79.
#include <string>

#include "checks/claim_facts.h"
#include "checks/rule_checks.h"

namespace ub04::checks {

namespace {

// The billed payer's row ("A" to "C") or nullptr when the claim names none.
const ClaimPayer* BilledPayer(const ClaimRecord& c, char& row) {
  for (size_t i = 0; i < c.payers.size(); ++i)
    if (c.payers[i].billed) {
      row = static_cast<char>('A' + i);
      return &c.payers[i];
    }
  return nullptr;
}

// A box of the billed payer's row that must not be blank. A claim without
// a billed payer (its payer sequence names no row) has every such box blank.
void BilledRowHas(const ClaimRecord& c, const RuleFindings& f, const char* box,
                  std::string ClaimPayer::*member, const char* what) {
  char row = 0;
  const ClaimPayer* p = BilledPayer(c, row);
  if (!p) {
    f.Add(std::string("FL") + box, c.payer_sequence,
          std::string(what) + " is blank: payer sequence \"" + c.payer_sequence + "\" names no payer row");
    return;
  }
  const std::string& value = p->*member;
  // Names print as "LAST, FIRST": a comma alone is no name.
  if (Trimmed(value).find_first_not_of(", ") == std::string_view::npos)
    f.Add(std::string("FL") + box + row, value, std::string(what) + " of the billed payer's row is blank");
}

struct NpiBox {
  const char* locator;
  const std::string& npi;
};

template <class Fn>
void ForEachNpi(const ClaimRecord& c, Fn fn) {
  const NpiBox boxes[] = {{"FL56", c.billing_npi},
                          {"FL76", c.attending.npi},
                          {"FL77", c.operating.npi},
                          {"FL78", c.other_providers[0].npi},
                          {"FL79", c.other_providers[1].npi}};
  for (const NpiBox& b : boxes)
    if (!b.npi.empty()) fn(b);
}

}  // namespace

void PayerName(const ClaimRecord& c, const RuleFindings& f) {
  BilledRowHas(c, f, "50", &ClaimPayer::name, "the payer name");
}

void InsuredName(const ClaimRecord& c, const RuleFindings& f) {
  BilledRowHas(c, f, "58", &ClaimPayer::insured_name, "the insured's name");
}

void InsuredId(const ClaimRecord& c, const RuleFindings& f) {
  BilledRowHas(c, f, "60", &ClaimPayer::insured_id, "the insured's unique ID");
}

void DocumentControlNumber(const ClaimRecord& c, const RuleFindings& f) {
  const auto tob = ParseTypeOfBill(c.type_of_bill);
  if (!tob || (tob->frequency != '7' && tob->frequency != '8')) return;
  char row = 0;
  const ClaimPayer* p = BilledPayer(c, row);
  if (!p || Trimmed(p->document_control).empty())
    f.Add(p ? std::string("FL64") + row : "FL64", c.type_of_bill,
          "a replacement or void (type of bill " + c.type_of_bill +
              ") needs the original claim's document control number");
}

void BillingNpi(const ClaimRecord& c, const RuleFindings& f) {
  if (Trimmed(c.billing_npi).empty()) f.Add("FL56", c.billing_npi, "the billing provider's NPI is blank");
}

void AttendingNpi(const ClaimRecord& c, const RuleFindings& f) {
  if (!Trimmed(c.attending.npi).empty() || c.lines.empty()) return;
  // Nonscheduled transportation (ambulance, revenue codes 054x) alone
  // needs no attending provider.
  for (const ClaimServiceLine& l : c.lines)
    if (!l.revenue_code.starts_with("054")) {
      f.Add("FL76", c.attending.npi, "the attending provider's NPI is blank");
      return;
    }
}

void NpiShapes(const ClaimRecord& c, const RuleFindings& f) {
  ForEachNpi(c, [&](const NpiBox& b) {
    if (std::string why = NpiShapeTrouble(b.npi); !why.empty()) f.Add(b.locator, b.npi, "not an NPI: " + why);
  });
}

void NpiCheckDigits(const ClaimRecord& c, const RuleFindings& f) {
  ForEachNpi(c, [&](const NpiBox& b) {
    if (NpiShapeTrouble(b.npi).empty() && !NpiCheckDigitHolds(b.npi))
      f.Add(b.locator, b.npi,
            std::string("the NPI's check digit is wrong (its first nine digits call for ") +
                NpiCheckDigit(std::string_view(b.npi).substr(0, 9)) + ")");
  });
}

}  // namespace ub04::checks
