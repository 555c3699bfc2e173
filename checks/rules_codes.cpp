// Diagnosis codes: boxes 66, 67 and 67A to 67Q with their present-on-
// admission values, 69 and 70.
#include <string>

#include "checks/claim_facts.h"
#include "checks/rule_checks.h"

namespace ub04::checks {

namespace {

// The date ICD-10-CM took over from ICD-9-CM for services.
constexpr Ymd kIcd10Date = 20151001;

// "FL67" for the principal diagnosis, "FL67A" to "FL67Q" for the others.
std::string DiagnosisLocator(size_t i) {
  return i == 0 ? "FL67" : "FL67" + std::string(1, static_cast<char>('A' + i - 1));
}

// The codes of boxes 67 to 70 with their locators.
template <class Fn>
void ForEachDiagnosis(const ClaimRecord& c, Fn fn) {
  for (size_t i = 0; i < c.diagnoses.size(); ++i) fn(DiagnosisLocator(i), c.diagnoses[i].code);
  if (!c.admitting_diagnosis.empty()) fn(std::string("FL69"), c.admitting_diagnosis);
  if (!c.reason_for_visit.empty()) fn(std::string("FL70"), c.reason_for_visit);
}

// ICD-9 codes for services on or after the ICD-10 date: the through date
// that lies past it, or nullopt.
std::optional<Ymd> Icd9TooLate(const ClaimRecord& c) {
  if (c.diagnosis_qualifier != "9") return std::nullopt;
  const auto through = DateCcyymmdd(c.statement_through);
  if (!through || *through < kIcd10Date) return std::nullopt;
  return through;
}

}  // namespace

void DiagnosisShapes(const ClaimRecord& c, const RuleFindings& f) {
  const bool icd10 = c.diagnosis_qualifier == "0";
  if (!icd10 && c.diagnosis_qualifier != "9") {
    f.Add("FL66", c.diagnosis_qualifier, "the code set qualifier is not 0 (ICD-10-CM) or 9 (ICD-9-CM)");
    return;
  }
  ForEachDiagnosis(c, [&](const std::string& locator, const std::string& code) {
    std::string why = icd10 ? Icd10CmTrouble(code) : Icd9CmTrouble(code);
    if (!why.empty())
      f.Add(locator, code, std::string("not an ") + (icd10 ? "ICD-10-CM" : "ICD-9-CM") +
                               " code as box 66 says: " + why);
  });
}

void PrincipalDiagnosis(const ClaimRecord& c, const RuleFindings& f) {
  if (c.diagnoses.empty() || Trimmed(c.diagnoses.front().code).empty())
    f.Add("FL67", "", "no principal diagnosis");
}

void PresentOnAdmission(const ClaimRecord& c, const RuleFindings& f) {
  static constexpr std::string_view kValues[] = {"", "Y", "N", "U", "W", "1"};
  for (size_t i = 0; i < c.diagnoses.size(); ++i) {
    bool known = false;
    for (std::string_view v : kValues) known = known || c.diagnoses[i].poa == v;
    if (!known) {
      f.Add(DiagnosisLocator(i), c.diagnoses[i].poa,
            "not a present-on-admission value (Y, N, U, W, 1 or blank)");
      return;  // one value serves every code of the claim
    }
  }
}

void Icd9AfterIcd10Date(const ClaimRecord& c, const RuleFindings& f) {
  if (c.icd10_received) return;  // the payer's own date chose ICD-9: see Icd9ByPayerDate
  if (auto through = Icd9TooLate(c))
    f.Add("FL66", c.diagnosis_qualifier,
          "ICD-9-CM codes for services through " + YmdText(*through) +
              "; from 10/01/2015 diagnoses are ICD-10-CM");
}

void Icd9ByPayerDate(const ClaimRecord& c, const RuleFindings& f) {
  if (!c.icd10_received) return;
  if (auto through = Icd9TooLate(c))
    f.Add("FL66", c.diagnosis_qualifier,
          "ICD-9-CM codes for services through " + YmdText(*through) +
              ": the payer's ICD-10 date in the reference data is later than 10/01/2015");
}

}  // namespace ub04::checks
