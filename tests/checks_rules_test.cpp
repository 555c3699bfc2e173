// The claim checks over claim records: a claim a payer would take finds
// nothing; each way of breaking a rule finds that rule at its locator and
// level; skipped rules, findings that stand for noticed ones, holding.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "checks/check_rules.h"
#include "checks/claim_checks.h"
#include "checks/claim_facts.h"

namespace ub04 {
namespace {

using Level = ClaimFinding::Level;

// An outpatient MRI of 11 April 2024, billed to its first payer.
ClaimRecord GoodClaim() {
  ClaimRecord c;
  c.page_sequences = {7};
  c.account = "RV100377";
  c.type_of_bill = "0131";
  c.federal_tax_number = "23-1234567";
  c.statement_from = c.statement_through = "20240411";
  c.birth_date = "11231979";
  c.sex = "M";
  c.point_of_origin = "1";
  c.patient_status = "01";
  ClaimServiceLine line;
  line.page = line.row = 1;
  line.revenue_code = "0610";
  line.service_date = "04112024";
  line.units = 1;
  line.charges = Currency::FromText("1850.00");
  line.amounts_received = {{"charge amount", "1850.00"}, {"units", "1"}, {"paid amount", "0.00"}};
  c.lines = {line};
  c.total_charges = line.charges;
  c.creation_date = "050124";
  c.amount_due_rule = "1";
  ClaimPayer& payer = c.payers[0];
  payer.used = payer.billed = true;
  payer.name = "KEYSTONE VALLEY HEALTH";
  payer.insured_name = "OKAFOR, DANIEL";
  payer.insured_id = "KVH 889012345";
  payer.has_amount_due = true;
  payer.amount_due = line.charges;
  c.billing_npi = "1234567893";
  c.attending.npi = "1000000004";
  c.diagnosis_qualifier = "0";
  c.diagnoses = {{"M5416", "Y"}, {"S52501A", "Y"}};
  return c;
}

std::vector<ClaimFinding> Check(ClaimRecord c, const CheckSettings& s = {}) {
  CheckClaim(c, s);
  return c.findings;
}

std::string Show(const std::vector<ClaimFinding>& findings) {
  std::string out;
  for (const ClaimFinding& f : findings) out += f.locator + " " + f.rule + " \"" + f.value + "\"; ";
  return out;
}

TEST(ClaimChecks, AClaimAPayerTakesFindsNothing) {
  EXPECT_EQ(Show(Check(GoodClaim())), "");
  // Inpatient, with what an inpatient bill needs; ambulance without an
  // attending provider; a replacement with its document control number.
  ClaimRecord inpatient = GoodClaim();
  inpatient.type_of_bill = "0111";
  inpatient.admission_date = "04112024";
  inpatient.admission_type = "1";
  inpatient.admission_hour = "23";
  EXPECT_EQ(Show(Check(inpatient)), "");
  ClaimRecord ambulance = GoodClaim();
  ambulance.attending.npi.clear();
  ambulance.lines[0].revenue_code = "0540";
  EXPECT_EQ(Show(Check(ambulance)), "");
  ClaimRecord replacement = GoodClaim();
  replacement.type_of_bill = "0137";
  replacement.payers[0].document_control = "21522800451207";
  EXPECT_EQ(Show(Check(replacement)), "");
  ClaimRecord unknown_birth = GoodClaim();
  unknown_birth.birth_date = "00000000";
  EXPECT_EQ(Show(Check(unknown_birth)), "");
}

struct Broken {
  const char* what;
  std::function<void(ClaimRecord&)> change;
  const char* rule;
  const char* locator;
  Level level = Level::kError;
};

void ExpectFinds(const std::vector<Broken>& cases) {
  for (const Broken& b : cases) {
    ClaimRecord c = GoodClaim();
    b.change(c);
    const std::vector<ClaimFinding> found = Check(c);
    bool seen = false;
    for (const ClaimFinding& f : found)
      seen = seen || (f.rule == b.rule && f.locator == b.locator && f.level == b.level);
    EXPECT_TRUE(seen) << b.what << ": wanted " << b.locator << " " << b.rule << ", found " << Show(found);
  }
}

TEST(ClaimChecks, FindEachBrokenUpperBox) {
  ExpectFinds({
      {"no account", [](ClaimRecord& c) { c.account = " "; }, "PATIENT-CONTROL-NUMBER", "FL3a"},
      {"three digits", [](ClaimRecord& c) { c.type_of_bill = "131"; }, "TYPE-OF-BILL", "FL4"},
      {"facility 9", [](ClaimRecord& c) { c.type_of_bill = "0931"; }, "TYPE-OF-BILL", "FL4"},
      {"classification 7", [](ClaimRecord& c) { c.type_of_bill = "0171"; }, "TYPE-OF-BILL", "FL4"},
      {"frequency 6", [](ClaimRecord& c) { c.type_of_bill = "0136"; }, "TYPE-OF-BILL", "FL4"},
      {"eight-digit tax number", [](ClaimRecord& c) { c.federal_tax_number = "23-123456"; },
       "FEDERAL-TAX-NUMBER", "FL5"},
      {"hyphen misplaced", [](ClaimRecord& c) { c.federal_tax_number = "231-234567"; },
       "FEDERAL-TAX-NUMBER", "FL5"},
      {"from after through", [](ClaimRecord& c) { c.statement_from = "20240412"; }, "STATEMENT-PERIOD", "FL6"},
      {"through after creation", [](ClaimRecord& c) { c.creation_date = "041024"; },
       "STATEMENT-PERIOD", "FL6"},
      {"from 31 April", [](ClaimRecord& c) { c.statement_from = "20240431"; }, "STATEMENT-PERIOD", "FL6"},
      {"birth month 13", [](ClaimRecord& c) { c.birth_date = "13231979"; }, "BIRTH-DATE", "FL10"},
      {"born after the period starts", [](ClaimRecord& c) { c.birth_date = "04122024"; },
       "BIRTH-DATE", "FL10"},
      {"no birth date", [](ClaimRecord& c) { c.birth_date.clear(); }, "BIRTH-DATE", "FL10"},
      {"sex X", [](ClaimRecord& c) { c.sex = "X"; }, "SEX", "FL11"},
      {"inpatient without admission date",
       [](ClaimRecord& c) { c.type_of_bill = "0111"; c.admission_type = "3"; }, "ADMISSION-DATE", "FL12"},
      {"home health without admission date", [](ClaimRecord& c) { c.type_of_bill = "0321"; },
       "ADMISSION-DATE", "FL12"},
      {"admission date 30 February", [](ClaimRecord& c) { c.admission_date = "02302024"; },
       "ADMISSION-DATE", "FL12"},
      {"hour 24", [](ClaimRecord& c) { c.admission_hour = "24"; }, "ADMISSION-HOUR", "FL13"},
      {"swing bed without priority",
       [](ClaimRecord& c) { c.type_of_bill = "0181"; c.admission_date = "04112024"; }, "ADMISSION-TYPE", "FL14"},
      {"priority 7", [](ClaimRecord& c) { c.admission_type = "7"; }, "ADMISSION-TYPE", "FL14"},
      {"no point of origin", [](ClaimRecord& c) { c.point_of_origin.clear(); }, "POINT-OF-ORIGIN", "FL15"},
      {"hospital outpatient without status", [](ClaimRecord& c) { c.patient_status = "  "; },
       "PATIENT-STATUS", "FL17"},
      {"hospice without status",
       [](ClaimRecord& c) { c.type_of_bill = "0811"; c.patient_status.clear(); }, "PATIENT-STATUS", "FL17"},
  });
}

TEST(ClaimChecks, FindEachBrokenLineOrAmount) {
  ExpectFinds({
      {"revenue code 0000", [](ClaimRecord& c) { c.lines[0].revenue_code = "0000"; }, "REVENUE-CODE", "FL42"},
      {"0001 on a service line", [](ClaimRecord& c) { c.lines[0].revenue_code = "0001"; },
       "REVENUE-CODE", "FL42"},
      {"revenue code with a letter", [](ClaimRecord& c) { c.lines[0].revenue_code = "06A0"; },
       "REVENUE-CODE", "FL42"},
      {"ISO service date", [](ClaimRecord& c) { c.lines[0].service_date = "2024-03-01"; },
       "SERVICE-DATE", "FL45"},
      {"service after the period", [](ClaimRecord& c) { c.lines[0].service_date = "04122024"; },
       "SERVICE-DATE", "FL45"},
      {"outpatient line without a date", [](ClaimRecord& c) { c.lines[0].service_date.clear(); },
       "SERVICE-DATE", "FL45"},
      {"units 0", [](ClaimRecord& c) { c.lines[0].units = 0; }, "UNITS", "FL46"},
      {"negative charge",
       [](ClaimRecord& c) { c.lines[0].charges = c.total_charges = Currency::FromText("-5"); },
       "NEGATIVE-CHARGE", "FL47"},
      {"charge with a comma", [](ClaimRecord& c) { c.lines[0].amounts_received[0].second = "1,850.00"; },
       "AMOUNT-NOT-A-NUMBER", "FL47"},
      {"units with a letter", [](ClaimRecord& c) { c.lines[0].amounts_received[1].second = "1X"; },
       "AMOUNT-NOT-A-NUMBER", "FL46"},
      {"paid amount with a dollar sign",
       [](ClaimRecord& c) { c.lines[0].amounts_received[2].second = "$20.00"; }, "AMOUNT-NOT-A-NUMBER", "FL55"},
      {"total not the sum", [](ClaimRecord& c) { c.total_charges = Currency::FromText("1000"); },
       "TOTAL-CHARGES", "FL47"},
      {"calculation preference 4", [](ClaimRecord& c) { c.amount_due_rule = "4"; }, "AMOUNT-DUE", "FL55"},
      {"negative amount due", [](ClaimRecord& c) { c.payers[0].amount_due = Currency::FromText("-1"); },
       "AMOUNT-DUE", "FL55"},
  });
}

TEST(ClaimChecks, FindEachBrokenPartyOrCode) {
  ExpectFinds({
      {"no payer name", [](ClaimRecord& c) { c.payers[0].name.clear(); }, "PAYER-NAME", "FL50A"},
      {"no billed payer", [](ClaimRecord& c) { c.payers[0].billed = false; c.payer_sequence = "4"; },
       "PAYER-NAME", "FL50"},
      {"insured name a comma alone", [](ClaimRecord& c) { c.payers[0].insured_name = ", "; },
       "INSURED-NAME", "FL58A"},
      {"no insured id", [](ClaimRecord& c) { c.payers[0].insured_id = " "; }, "INSURED-ID", "FL60A"},
      {"void without its claim",
       [](ClaimRecord& c) { c.type_of_bill = "0138"; }, "DOCUMENT-CONTROL-NUMBER", "FL64A"},
      {"no billing NPI", [](ClaimRecord& c) { c.billing_npi.clear(); }, "BILLING-NPI", "FL56"},
      {"no attending NPI", [](ClaimRecord& c) { c.attending.npi.clear(); }, "ATTENDING-NPI", "FL76"},
      {"billing NPI's check digit", [](ClaimRecord& c) { c.billing_npi = "1234567890"; },
       "NPI-CHECK-DIGIT", "FL56"},
      {"operating NPI starting 3", [](ClaimRecord& c) { c.operating.npi = "3234567893"; }, "NPI-FORMAT", "FL77"},
      {"other NPI of nine digits", [](ClaimRecord& c) { c.other_providers[1].npi = "123456789"; },
       "NPI-FORMAT", "FL79"},
      {"decimal point", [](ClaimRecord& c) { c.diagnoses[0].code = "M54.16"; }, "DIAGNOSIS-CODE", "FL67"},
      {"ICD-9 code under qualifier 0", [](ClaimRecord& c) { c.diagnoses[1].code = "4019"; },
       "DIAGNOSIS-CODE", "FL67A"},
      {"ICD-10 code under qualifier 9",
       [](ClaimRecord& c) { c.statement_from = c.statement_through = "20150814";
                            c.lines[0].service_date = "08142015"; c.diagnosis_qualifier = "9"; },
       "DIAGNOSIS-CODE", "FL67"},
      {"admitting diagnosis", [](ClaimRecord& c) { c.admitting_diagnosis = "9M"; }, "DIAGNOSIS-CODE", "FL69"},
      {"no principal diagnosis", [](ClaimRecord& c) { c.diagnoses.clear(); }, "PRINCIPAL-DIAGNOSIS", "FL67"},
      {"POA X", [](ClaimRecord& c) { c.diagnoses[1].poa = "X"; }, "PRESENT-ON-ADMISSION", "FL67A"},
      {"ICD-9 in 2024",
       [](ClaimRecord& c) { c.diagnosis_qualifier = "9"; c.diagnoses = {{"78650", ""}}; }, "ICD9-AFTER-2015", "FL66"},
      {"ICD-9 by the payer's date",
       [](ClaimRecord& c) { c.diagnosis_qualifier = "9"; c.diagnoses = {{"V7231", ""}};
                            c.icd10_received = true; },
       "ICD9-PAYER-DATE", "FL66", Level::kWarning},
  });
}

TEST(ClaimChecks, NpiCheckDigitIsLuhnWithThePrefix80840) {
  // CMS's worked example: 123456789 takes 3.
  EXPECT_EQ(NpiCheckDigit("123456789"), '3');
  EXPECT_TRUE(NpiCheckDigitHolds("1234567893"));
  EXPECT_TRUE(NpiCheckDigitHolds("1000000004"));
  EXPECT_FALSE(NpiCheckDigitHolds("1234567839"));  // two digits swapped
  EXPECT_FALSE(NpiCheckDigitHolds("123456789A"));
}

TEST(ClaimChecks, SkippedRulesAndNoticedFindings) {
  ClaimRecord c = GoodClaim();
  c.birth_date = "13231979";
  c.admission_hour = "24";
  // What the record reader noticed about the birth date, and a cut text.
  c.findings = {{Level::kWarning, "", "NOT-A-DATE", "13231979", "token 8 ..."},
                {Level::kWarning, "FL43", "TEXT-CUT", "MRI LUMBAR SPINE WITHOUT CONTRAST", "cut"}};
  CheckSettings s;
  s.skipped = {"ADMISSION-HOUR", "TEXT-CUT"};
  CheckClaim(c, s);
  // The birth date is one event: its error stands for the reader's warning.
  EXPECT_EQ(Show(c.findings), "FL10 BIRTH-DATE \"13231979\"; ");

  ClaimRecord other = GoodClaim();
  other.findings = {{Level::kWarning, "", "NOT-A-DATE", "2024-13-01", "token 53 ..."}};
  CheckClaim(other, {});
  EXPECT_EQ(Show(other.findings), " NOT-A-DATE \"2024-13-01\"; ");
}

TEST(ClaimChecks, HoldingFollowsTheSettings) {
  ClaimRecord warned = GoodClaim();
  warned.findings = {{Level::kWarning, "FL80", "REMARKS-LEFT-OUT", "MORE", "left out"}};
  ClaimRecord wrong = GoodClaim();
  wrong.billing_npi = "1234567890";
  CheckClaim(wrong, {});
  CheckSettings report, hold, hold_all;
  report.mode = CheckSettings::Mode::kReport;
  hold.mode = hold_all.mode = CheckSettings::Mode::kHold;
  hold_all.hold_warnings = true;
  EXPECT_FALSE(HoldsClaim(wrong, report));
  EXPECT_TRUE(HoldsClaim(wrong, hold));
  EXPECT_FALSE(HoldsClaim(warned, hold));
  EXPECT_TRUE(HoldsClaim(warned, hold_all));
  EXPECT_EQ(FindingLine(wrong, wrong.findings.at(0)),
            "claim 7 (account RV100377) FL56 NPI-CHECK-DIGIT \"1234567890\": the NPI's check digit "
            "is wrong (its first nine digits call for 3)");
}

TEST(ClaimChecks, EveryRuleIsDocumented) {
  // Each rule says what it checks and where that comes from, and its id is
  // what SKIPCHECK finds it by.
  for (const CheckRule& r : CheckRules()) {
    EXPECT_FALSE(r.what.empty()) << r.id;
    EXPECT_FALSE(r.source.empty()) << r.id;
    EXPECT_EQ(FindCheckRule(r.id), &r) << r.id;
    if (!r.supersedes.empty()) {
      EXPECT_NE(FindCheckRule(r.supersedes), nullptr) << r.id;
    }
  }
}

}  // namespace
}  // namespace ub04
