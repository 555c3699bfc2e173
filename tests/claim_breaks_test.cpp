// Which charges end up in one claim, and the reason the run log gives.
#include <gtest/gtest.h>

#include "tests/claim_support.h"

namespace ub04::test {
namespace {

using Claims = std::vector<int>;
namespace bp = break_pref;

RecordText WithDiagnoses(const std::vector<std::string>& codes) {
  RecordText t = ChargeText();
  for (size_t k = 0; k < codes.size(); ++k) t.Set(charge::Icd9Code1 + 3 * k, codes[k]);
  return t;
}

TEST(ClaimBreaks, BreakingOnEachChargeDecidesAlone) {
  ClaimBatch b({bp::BreakOnEachCharge, bp::BreakOnProcedureCode});
  for (int i = 0; i < 3; ++i) b.Charge(ChargeText());
  EXPECT_EQ(b.claims, (Claims{1, 1, 1}));
  EXPECT_EQ(b.Count("CheckChargeBreak = True because breaking on each charge"), 2);
  EXPECT_EQ(b.Count("DoesDiagnosisCauseOverflow()"), 0);  // no later rule ran
}

TEST(ClaimBreaks, TwentyFiveChargesMakeClaimsOf22And3) {
  ClaimBatch b;
  for (int i = 0; i < 25; ++i) b.Charge(ChargeText());
  EXPECT_EQ(b.claims, (Claims{22, 3}));
  EXPECT_EQ(b.Count("CheckChargeBreak = true because Detail Lines >  22"), 1);
  EXPECT_EQ(b.fc.tables().detail.size(), 25u);  // grew at line 21, never shrinks
  ASSERT_EQ(b.fc.ProcessEndOfFile(), 0) << ::testing::PrintToString(b.Msgs());
  int pages = 0;
  for (const FormattedLine& l : ReadFormatted(b.fmt_path())) pages += l.kind == "C";
  EXPECT_EQ(pages, 2);
}

TEST(ClaimBreaks, EighteenDiagnosesFillAClaimAndTheNineteenthBreaksIt) {
  ClaimBatch b;
  for (const char* c : {"1", "2", "3"})
    b.Charge(WithDiagnoses({c + std::string("1"), c + std::string("2"), c + std::string("3"),
                            c + std::string("4"), c + std::string("5")}));
  b.Charge(WithDiagnoses({"41", "42", "43"}));              // exactly 18
  b.Charge(WithDiagnoses({"11", "22", "33", "43", "15"}));  // nothing new
  b.Charge(WithDiagnoses({"51"}));
  EXPECT_EQ(b.claims, (Claims{5, 1}));
  EXPECT_EQ(b.Count("  iNeed =  0  iOpen =  0"), 1);
  EXPECT_EQ(b.Count("CheckChargeBreak = true because Diagnosis Causes Overflow"), 1);
  EXPECT_EQ(Rs().claim.diag[0].code, "51");
}

TEST(ClaimBreaks, CodeSetChangeBreaksAndIsLoggedAtEveryLevel) {
  ClaimBatch b;
  b.fc.HereIsAMessage("5", "0");  // the log stays open
  b.Charge(ChargeText());
  b.Charge(ChargeText(140).Set(charge::Icd9Code1, "").Set(charge::Icd10Code1, "Z00"));
  b.Charge(ChargeText());
  EXPECT_EQ(b.claims, (Claims{1, 1, 1}));
  const std::string line = "CheckChargeBreak = True because a Diagnosis Code set changed from ";
  EXPECT_EQ(b.Count(line + "ICD9 to ICD10") + b.Count(line + "ICD10 to ICD9"), 2);
  EXPECT_EQ(b.Count("CheckBreak()"), 0);
}

TEST(ClaimBreaks, TopRecordsAndTypeOfBillBreakWhenTheyArrive) {
  const std::pair<const char*, std::string> kTop[] = {
      {"1000", "Practice"}, {"1050", "Submitter"}, {"2000", "BProvider"}, {"3000", "Insurance"},
      {"4000", "Patient"},  {"5000", "Subscriber"}, {"3100", ""},         {"3101", ""}};
  for (const auto& [type, name] : kTop) {
    ClaimBatch b;
    b.Send(type, TopText(type));
    b.Charge(ChargeText());
    b.Send(type, TopText(type));  // the same record again
    b.Charge(ChargeText());
    EXPECT_EQ(b.claims, (name.empty() ? Claims{2} : Claims{1, 1})) << type;
    EXPECT_EQ(b.Count("** CheckBreak saw that " + name, name.empty() ? "" : " changed\"\r\n"),
              name.empty() ? 0 : 1);
  }
  ClaimBatch b;
  for (const char* tob : {"111", "111", "112"})
    b.Charge(ChargeText(), {{"6012", std::string("X//20007//") + tob}});
  EXPECT_EQ(b.claims, (Claims{2, 1}));
  EXPECT_EQ(b.Count("CheckChargeBreak = True because UB92 Type Of Bill extdata changed **"), 1);
}

TEST(ClaimBreaks, EachSwitchableRuleBreaksOnlyWhenSwitchedOn) {
  struct Case {
    size_t sw;
    std::string type;  // "6000": a charge member; else a companion's
    size_t member;
    std::string reason;
  };
  const Case kCases[] = {
      {bp::BreakOnInsurances, "6340", oinsurance::IhCode, "One of the 4 insurances changed"},
      {bp::BreakOnCaseId, "6000", charge::CaseId, "Case ID changed"},
      {bp::BreakOnReferral, "6120", referral::IhCode, "Referral Changed"},
      {bp::BreakOnFacility, "6200", facility::IhCode, "Facility Changed"},
      {bp::BreakOnInsuranceAction, "6000", charge::InsuranceAction, "Insurance Action Changed"},
      {bp::BreakOnPrimaryApproval, "6000", charge::PrimaryApprovalNumber,
       "Primary Approval # changed"},
      {bp::BreakOnTosCode, "6000", charge::TosCode, "TOS BillingCode changed"},
      {bp::BreakOnPosCode, "6000", charge::PosCode, "POS Code changed"},
      {bp::BreakOnEncounter, "6000", charge::EncounterId, "Encounter Changed"},
      {bp::BreakOnProcedureCode, "6000", charge::ProcedureCode, "Procedure CPT4 Code changed"},
      {bp::BreakOnModifier, "6000", charge::Modifier3, "a Modifier Billing Code changed"},
      {bp::BreakOnPrimaryDiagnosis, "6000", charge::Icd9Code1, "the Primary Diagnosis changed"},
      {bp::BreakOnDiagnoses, "6000", charge::Icd9Code3, "One of the Diagnosis changed"},
      {bp::BreakOnDiagnoses, "6000", charge::Icd9Code5, "the 5th Diagnosis changed"},
      {bp::BreakOnOnset, "6000", charge::OnsetType, "the Onset Type or Date changed"},
      {bp::BreakOnAdmissionDate, "6000", charge::AdmissionDate, "Admission Date changed"},
      {bp::BreakOnDischargeDate, "6000", charge::DischargeDate, "Discharge Date changed"},
      {bp::BreakOnSendOpReport, "6000", charge::SendOpReport, "SendOPReport changed"},
      {bp::BreakOnAnesthesiaTimeUnit, "6000", charge::AnesthesiaTimeUnit,
       "AnesthesiaTimeUnit changed"},
      {bp::BreakOnAnesthesiaType, "6000", charge::AnesthesiaType, "Anethesia Type changed"},
      {bp::BreakOnCapitatedService, "6000", charge::CapitatedService,
       "CapitatedService changed"},
  };
  for (const Case& c : kCases) {
    for (bool on : {false, true}) {
      ClaimBatch b(on ? std::vector<size_t>{c.sw} : std::vector<size_t>{});
      for (const char* value : {"A1", "B2"}) {
        // Four diagnoses on every charge, so a varied fifth one stays fifth.
        RecordText charge = WithDiagnoses({"A01", "A02", "A03", "A04"});
        std::vector<std::pair<std::string, std::string>> companions;
        if (c.type == "6000")
          charge.Set(c.member, value);
        else
          companions.emplace_back(c.type, TopText(c.type).Set(c.member, value).str());
        b.Charge(charge, companions);
      }
      EXPECT_EQ(b.claims, (on ? Claims{1, 1} : Claims{2})) << c.reason;
      EXPECT_EQ(b.Count("CheckChargeBreak = True because " + c.reason), on ? 1 : 0);
    }
  }
}

TEST(ClaimBreaks, MonthRuleComparesOnlyTheMonthOfTheServiceDate) {
  struct Case {
    std::string first, second, mark;  // mark "": no break
  };
  for (const Case& c : {Case{"01152024", "01202025", ""}, Case{"01152024", "02152024", "**"},
                        Case{"01152024", "", "*"}, Case{"", "01152024", "*"}, Case{"", "", ""}}) {
    ClaimBatch b({bp::BreakOnMonth});
    b.Charge(ChargeText().Set(charge::ServiceDate, c.first));
    b.Charge(ChargeText().Set(charge::ServiceDate, c.second));
    EXPECT_EQ(b.claims, (c.mark.empty() ? Claims{2} : Claims{1, 1})) << c.first << c.second;
    EXPECT_EQ(b.Count("CheckChargeBreak = True because Month changed " + c.mark),
              c.mark.empty() ? 0 : 1);
  }
}

}  // namespace
}  // namespace ub04::test
