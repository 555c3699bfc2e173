// The rule table. Sources: "Manual ch. 25" is the Medicare Claims
// Processing Manual (CMS Pub. 100-04), chapter 25, section 75 (the form
// locator instructions); "NUBC" the National Uniform Billing Committee's
// code lists.
#include "checks/check_rules.h"

#include "checks/rule_checks.h"

namespace ub04 {

namespace {

using enum ClaimFinding::Level;
using namespace checks;

constexpr CheckRule kRules[] = {
    // ---- the claim's upper boxes ---------------------------------------------------
    {"PATIENT-CONTROL-NUMBER", "FL3a", kError, "the patient control number is present",
     "Manual ch. 25 §75.1, FL 3a (required)", PatientControlNumber},
    {"TYPE-OF-BILL", "FL4", kError,
     "four characters: a leading 0, then facility, classification and frequency codes NUBC defines",
     "Manual ch. 25 §75.1, FL 4; NUBC type of bill codes", TypeOfBillCodes},
    {"FEDERAL-TAX-NUMBER", "FL5", kError, "9 digits, a hyphen after the second allowed",
     "Manual ch. 25 §75.1, FL 5 (required, NN-NNNNNNN)", FederalTaxNumber},
    {"STATEMENT-PERIOD", "FL6", kError,
     "from and through are dates, from not after through, through not after the claim's creation date",
     "Manual ch. 25 §75.1, FL 6 (required)", StatementPeriod},
    {"BIRTH-DATE", "FL10", kError,
     "a real date (MMDDCCYY, or eight zeros when unknown), not after the statement period starts",
     "Manual ch. 25 §75.1, FL 10 (required)", BirthDate, "NOT-A-DATE"},
    {"SEX", "FL11", kError, "M, F or U", "Manual ch. 25 §75.1, FL 11 (required)", Sex},
    {"ADMISSION-DATE", "FL12", kError,
     "present on inpatient and home health bills; a real date when present",
     "Manual ch. 25 §75.1, FL 12 (required for inpatient and home health)", AdmissionDate, "NOT-A-DATE"},
    {"ADMISSION-HOUR", "FL13", kError, "when present, an hour 00 to 23",
     "Manual ch. 25 §75.1, FL 13 (not required); NUBC admission hour codes", AdmissionHour},
    {"ADMISSION-TYPE", "FL14", kError,
     "present on inpatient bills; when present a priority code 1 to 5 or 9",
     "Manual ch. 25 §75.1, FL 14 (required on inpatient bills); NUBC priority codes", AdmissionType},
    {"POINT-OF-ORIGIN", "FL15", kError, "present on every bill",
     "Manual ch. 25 §75.1, FL 15 (required)", PointOfOrigin},
    {"PATIENT-STATUS", "FL17", kError,
     "present on inpatient, SNF, hospice, home health and hospital outpatient bills",
     "Manual ch. 25 §75.2, FL 17 (required for Part A inpatient, SNF, hospice, HHA and outpatient "
     "hospital services)",
     PatientStatus},
    // ---- service lines and amounts -------------------------------------------------
    {"REVENUE-CODE", "FL42", kError,
     "four digits on every service line, never 0000; 0001 only on line 23",
     "Manual ch. 25 §75.4, FL 42 (required; 0001 is the total charges line)", RevenueCodes},
    {"SERVICE-DATE", "FL45", kError,
     "present on outpatient bills; a real date within the statement period when present",
     "Manual ch. 25 §75.5, FL 45 (required on outpatient claims)", ServiceDates, "NOT-A-DATE"},
    {"UNITS", "FL46", kError, "the units of service of every line are more than 0",
     "Manual ch. 25 §75.5, FL 46 (required)", Units},
    {"NEGATIVE-CHARGE", "FL47", kError, "no line's charge is negative",
     "Manual ch. 25 §75.5, FL 47 (total charges by revenue code)", NegativeCharges},
    {"AMOUNT-NOT-A-NUMBER", "FL46, FL47, FL54, FL55", kError,
     "every charge, units, paid and adjustment amount of the batch was a plain number "
     "(\"1,250.00\" would bill 1.00)",
     "Manual ch. 25 §75.5, FL 46, 47, 54 and 55 (numeric amounts)", AmountsAsReceived, "NOT-A-NUMBER"},
    {"TOTAL-CHARGES", "FL47", kError, "line 23's total equals the sum of the lines' charges",
     "Manual ch. 25 §75.4, FL 42 line 23 and §75.5, FL 47 (the total of all charges)", TotalCharges},
    {"AMOUNT-DUE", "FL55", kError,
     "box 55 comes from a calculation preference's rule (1, 2 or 3) and lies between 0 and the "
     "claim's total",
     "Manual ch. 25 §75.5, FL 54 and 55 (prior payments, estimated amount due)", AmountDue},
    // ---- payers and providers ------------------------------------------------------
    {"PAYER-NAME", "FL50", kError, "the billed payer's row names the payer",
     "Manual ch. 25 §75.5, FL 50 (required)", PayerName, "PAYER-SEQUENCE"},
    {"INSURED-NAME", "FL58", kError, "the billed payer's row names the insured",
     "Manual ch. 25 §75.5, FL 58 (required)", InsuredName},
    {"INSURED-ID", "FL60", kError, "the billed payer's row has the insured's unique ID",
     "Manual ch. 25 §75.5, FL 60 (required)", InsuredId},
    {"DOCUMENT-CONTROL-NUMBER", "FL64", kError,
     "a replacement or void (frequency 7 or 8) carries the original claim's document control number",
     "Manual ch. 25 §75.5, FL 64 (required for frequency 7 and 8)", DocumentControlNumber},
    {"BILLING-NPI", "FL56", kError, "the billing provider's NPI is present",
     "Manual ch. 25 §75.5, FL 56 (required)", BillingNpi},
    {"ATTENDING-NPI", "FL76", kError,
     "the attending provider's NPI is present unless every line is nonscheduled transportation (054x)",
     "Manual ch. 25 §75.6, FL 76 (required for any services other than nonscheduled "
     "transportation)",
     AttendingNpi},
    {"NPI-FORMAT", "FL56, FL76-FL79", kError, "every NPI is 10 digits, the first 1 or 2",
     "45 CFR 162.406 (the NPI); CMS NPI standard (10 digits, first digit 1 or 2)", NpiShapes},
    {"NPI-CHECK-DIGIT", "FL56, FL76-FL79", kError,
     "every NPI's last digit is the Luhn check digit of 80840 and its first nine",
     "CMS, NPI check digit (ISO/IEC 7812 Luhn formula with the 80840 prefix)", NpiCheckDigits},
    // ---- codes ---------------------------------------------------------------------
    {"DIAGNOSIS-CODE", "FL66, FL67, FL67A-FL67Q, FL69, FL70", kError,
     "each diagnosis has the shape of box 66's code set: 0 ICD-10-CM (a letter, a digit, up to "
     "five letters or digits), 9 ICD-9-CM (3-5 digits, V and 2-4 digits, E and 3-4 digits); no "
     "decimal point",
     "Manual ch. 25 §75.6, FL 66, 67, 69 and 70", DiagnosisShapes},
    {"PRINCIPAL-DIAGNOSIS", "FL67", kError, "a principal diagnosis is present",
     "Manual ch. 25 §75.6, FL 67 (required)", PrincipalDiagnosis},
    {"PRESENT-ON-ADMISSION", "FL67, FL67A-FL67Q", kError,
     "present-on-admission values are Y, N, U, W, 1 or blank",
     "Manual ch. 25 §75.6, FL 67 (POA indicator); NUBC POA codes", PresentOnAdmission},
    {"ICD9-AFTER-2015", "FL66", kError,
     "no ICD-9-CM codes (qualifier 9) for services through 1 October 2015 or later",
     "45 CFR 162.1002 (ICD-10-CM from 1 October 2015); Manual ch. 25 §75.6, FL 66",
     Icd9AfterIcd10Date},
    {"ICD9-PAYER-DATE", "FL66", kWarning,
     "ICD-9-CM codes after 1 October 2015 because the payer's ICD-10 date in the reference data "
     "is later",
     "45 CFR 162.1002 (ICD-10-CM from 1 October 2015)", Icd9ByPayerDate},
    // ---- noticed while composing or reading the batch ------------------------------
    {"TEXT-CUT", "any box", kWarning, "a text longer than its box was cut to fit",
     "Manual ch. 25 §75 (each form locator's size)", nullptr},
    {"CODE-LEFT-OUT", "FL18-FL28, FL31-FL34, FL39-FL41", kWarning,
     "a condition, occurrence or value code found no slot left and was not printed",
     "Manual ch. 25 §75.2 and §75.3 (the slots of FL 18-28, 31-34, 39-41)", nullptr},
    {"REMARKS-LEFT-OUT", "FL80", kWarning, "remarks beyond box 80's four lines were not printed",
     "Manual ch. 25 §75.6, FL 80", nullptr},
    {"PAYER-SEQUENCE", "FL50", kWarning,
     "the payer sequence is not 1, 2 or 3: the billed payer's row was left blank",
     "Manual ch. 25 §75.5, FL 50 (rows A, B, C: primary, secondary, tertiary)", nullptr},
    {"CLAIM-SPLIT", "FL42", kWarning, "a claim of more than 22 lines was split into claims of one page",
     "Manual ch. 25 §75.4, FL 42 (22 lines a page; page n of m on line 23)", nullptr},
    {"DIAGNOSES-SPLIT", "FL67", kWarning,
     "a claim of more diagnoses than the form holds (18) was split",
     "Manual ch. 25 §75.6, FL 67 and 67A-67Q", nullptr},
    {"CHARACTER-DROPPED", "", kWarning,
     "a character the form cannot print was left out of a record",
     "CMS-1450 is printed in plain characters (Manual ch. 25 §70)", nullptr},
    {"NOT-A-NUMBER", "", kWarning,
     "a record's amount, units or rate held more than a number and was read as its leading number",
     "Manual ch. 25 §75.5 (numeric amounts)", nullptr},
    {"NOT-A-DATE", "", kWarning, "a record's date was not a date (MMDDCCYY) and prints as given",
     "Manual ch. 25 §75 (dates MMDDYY or MMDDCCYY)", nullptr},
};

}  // namespace

std::span<const CheckRule> CheckRules() { return kRules; }

const CheckRule* FindCheckRule(std::string_view id) {
  for (const CheckRule& r : kRules)
    if (r.id == id) return &r;
  return nullptr;
}

void RuleFindings::Add(std::string_view locator, std::string_view value, std::string message) const {
  out_.push_back({rule_.level, std::string(locator), std::string(rule_.id), std::string(value),
                  std::move(message)});
}

}  // namespace ub04
