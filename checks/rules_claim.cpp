// The claim's upper boxes: 3a, 4, 5, 6, 10 to 15 and 17.
#include <string>

#include "checks/claim_facts.h"
#include "checks/rule_checks.h"

namespace ub04::checks {

namespace {

// A box the type of bill asks for: a finding when it is blank.
void Required(const RuleFindings& f, std::string_view locator, std::string_view value,
              std::string_view box, std::string_view tob) {
  if (Trimmed(value).empty())
    f.Add(locator, value, std::string(box) + " is blank; type of bill " + std::string(tob) +
                              " needs it");
}

}  // namespace

void PatientControlNumber(const ClaimRecord& c, const RuleFindings& f) {
  if (Trimmed(c.account).empty()) f.Add("FL3a", c.account, "the patient control number is blank");
}

void TypeOfBillCodes(const ClaimRecord& c, const RuleFindings& f) {
  if (std::string why = TypeOfBillTrouble(c.type_of_bill); !why.empty())
    f.Add("FL4", c.type_of_bill, "not an NUBC type of bill: " + why);
}

void FederalTaxNumber(const ClaimRecord& c, const RuleFindings& f) {
  const std::string_view t = c.federal_tax_number;
  const bool plain = t.size() == 9 && AllDigits(t);
  const bool hyphen = t.size() == 10 && t[2] == '-' && AllDigits(t.substr(0, 2)) && AllDigits(t.substr(3));
  if (!plain && !hyphen)
    f.Add("FL5", t, t.empty() ? "the federal tax number is blank"
                              : "not a federal tax number (9 digits, NN-NNNNNNN allowed)");
}

void StatementPeriod(const ClaimRecord& c, const RuleFindings& f) {
  const auto from = DateCcyymmdd(c.statement_from);
  const auto through = DateCcyymmdd(c.statement_through);
  if (!from) f.Add("FL6", c.statement_from, "the statement's from date is not a date");
  if (!through) f.Add("FL6", c.statement_through, "the statement's through date is not a date");
  if (!from || !through) return;
  if (*from > *through)
    f.Add("FL6", c.statement_from + "-" + c.statement_through,
          "the period ends (" + YmdText(*through) + ") before it starts (" + YmdText(*from) + ")");
  const auto created = DateMmddyy(c.creation_date);
  if (created && *through > *created)
    f.Add("FL6", c.statement_through,
          "the period ends after the claim's creation date " + YmdText(*created));
}

void BirthDate(const ClaimRecord& c, const RuleFindings& f) {
  if (c.birth_date == "00000000") return;  // unknown, as the form allows
  const auto birth = DateMmddyyyy(c.birth_date);
  if (!birth) {
    f.Add("FL10", c.birth_date, c.birth_date.empty() ? "the birth date is blank"
                                                     : "the birth date is not a date (MMDDCCYY)");
    return;
  }
  const auto from = DateCcyymmdd(c.statement_from);
  if (from && *birth > *from)
    f.Add("FL10", c.birth_date, "born after the statement period starts (" + YmdText(*from) + ")");
}

void Sex(const ClaimRecord& c, const RuleFindings& f) {
  if (c.sex != "M" && c.sex != "F" && c.sex != "U") f.Add("FL11", c.sex, "the sex is not M, F or U");
}

void AdmissionDate(const ClaimRecord& c, const RuleFindings& f) {
  const auto tob = ParseTypeOfBill(c.type_of_bill);
  if (c.admission_date.empty()) {
    if (tob && (IsInpatient(*tob) || IsHomeHealth(*tob)))
      Required(f, "FL12", c.admission_date, "the admission date", c.type_of_bill);
    return;
  }
  if (!DateMmddyyyy(c.admission_date))
    f.Add("FL12", c.admission_date, "the admission date is not a date (MMDDCCYY)");
}

void AdmissionHour(const ClaimRecord& c, const RuleFindings& f) {
  const std::string& h = c.admission_hour;
  if (h.empty()) return;
  if (h.size() != 2 || !AllDigits(h) || (h[0] - '0') * 10 + (h[1] - '0') > 23)
    f.Add("FL13", h, "the admission hour is not 00 to 23");
}

void AdmissionType(const ClaimRecord& c, const RuleFindings& f) {
  const auto tob = ParseTypeOfBill(c.type_of_bill);
  if (c.admission_type.empty()) {
    if (tob && IsInpatient(*tob)) Required(f, "FL14", c.admission_type, "the priority of admission", c.type_of_bill);
    return;
  }
  static constexpr std::string_view kCodes[] = {"1", "2", "3", "4", "5", "9"};
  for (std::string_view code : kCodes)
    if (c.admission_type == code) return;
  f.Add("FL14", c.admission_type, "not a priority (type) of admission code (1-5, 9)");
}

void PointOfOrigin(const ClaimRecord& c, const RuleFindings& f) {
  if (!ParseTypeOfBill(c.type_of_bill)) return;  // the type of bill's own finding says enough
  Required(f, "FL15", c.point_of_origin, "the point of origin", c.type_of_bill);
}

void PatientStatus(const ClaimRecord& c, const RuleFindings& f) {
  const auto tob = ParseTypeOfBill(c.type_of_bill);
  if (!tob) return;
  if (IsInpatient(*tob) || tob->facility == '2' || IsHomeHealth(*tob) || IsHospice(*tob) ||
      IsHospitalOutpatient(*tob))
    Required(f, "FL17", Trimmed(c.patient_status), "the patient discharge status", c.type_of_bill);
}

}  // namespace ub04::checks
