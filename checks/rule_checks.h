// The checks of the rule table (check_rules.cpp), one function per rule,
// grouped by the part of the form they read: the claim's upper boxes
// (rules_claim.cpp), its service lines and amounts (rules_lines.cpp), its
// payers and providers (rules_parties.cpp) and its codes (rules_codes.cpp).
// Internal to the check layer.
#pragma once

#include "checks/check_rules.h"

namespace ub04::checks {

void PatientControlNumber(const ClaimRecord& c, const RuleFindings& f);
void TypeOfBillCodes(const ClaimRecord& c, const RuleFindings& f);
void FederalTaxNumber(const ClaimRecord& c, const RuleFindings& f);
void StatementPeriod(const ClaimRecord& c, const RuleFindings& f);
void BirthDate(const ClaimRecord& c, const RuleFindings& f);
void Sex(const ClaimRecord& c, const RuleFindings& f);
void AdmissionDate(const ClaimRecord& c, const RuleFindings& f);
void AdmissionHour(const ClaimRecord& c, const RuleFindings& f);
void AdmissionType(const ClaimRecord& c, const RuleFindings& f);
void PointOfOrigin(const ClaimRecord& c, const RuleFindings& f);
void PatientStatus(const ClaimRecord& c, const RuleFindings& f);

void RevenueCodes(const ClaimRecord& c, const RuleFindings& f);
void ServiceDates(const ClaimRecord& c, const RuleFindings& f);
void Units(const ClaimRecord& c, const RuleFindings& f);
void NegativeCharges(const ClaimRecord& c, const RuleFindings& f);
void AmountsAsReceived(const ClaimRecord& c, const RuleFindings& f);
void TotalCharges(const ClaimRecord& c, const RuleFindings& f);
void AmountDue(const ClaimRecord& c, const RuleFindings& f);

void PayerName(const ClaimRecord& c, const RuleFindings& f);
void InsuredName(const ClaimRecord& c, const RuleFindings& f);
void InsuredId(const ClaimRecord& c, const RuleFindings& f);
void DocumentControlNumber(const ClaimRecord& c, const RuleFindings& f);
void BillingNpi(const ClaimRecord& c, const RuleFindings& f);
void AttendingNpi(const ClaimRecord& c, const RuleFindings& f);
void NpiShapes(const ClaimRecord& c, const RuleFindings& f);
void NpiCheckDigits(const ClaimRecord& c, const RuleFindings& f);

void DiagnosisShapes(const ClaimRecord& c, const RuleFindings& f);
void PrincipalDiagnosis(const ClaimRecord& c, const RuleFindings& f);
void PresentOnAdmission(const ClaimRecord& c, const RuleFindings& f);
void Icd9AfterIcd10Date(const ClaimRecord& c, const RuleFindings& f);
void Icd9ByPayerDate(const ClaimRecord& c, const RuleFindings& f);

}  // namespace ub04::checks
