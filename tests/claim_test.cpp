// Claim assembly through Format_Class: which charges end up in one claim
// (read back as the service lines of each claim page), the reason the run
// log gives, the diagnosis table and the claim totals.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ub04::test {
namespace {

using Claims = std::vector<int>;
namespace bp = break_pref;

Rec WithDiagnoses(const std::vector<std::string>& codes) {
  Rec t = ChargeText();
  for (size_t k = 0; k < codes.size(); ++k) t.Set(charge::Icd9Code1 + 3 * k, codes[k]);
  return t;
}

TEST(ClaimBreaks, BreakingOnEachChargeDecidesAlone) {
  ClaimBatch b({bp::BreakOnEachCharge, bp::BreakOnProcedureCode});
  for (int i = 0; i < 3; ++i) b.Charge(ChargeText());
  EXPECT_EQ(b.Claims(), (Claims{1, 1, 1}));
  EXPECT_EQ(b.Count("CheckChargeBreak = True because breaking on each charge"), 2);
  EXPECT_EQ(b.Count("DoesDiagnosisCauseOverflow()"), 0);  // no later rule ran
}

TEST(ClaimBreaks, TwentyFiveChargesMakeClaimsOf22And3) {
  ClaimBatch b;
  for (int i = 0; i < 25; ++i) b.Charge(ChargeText());
  EXPECT_EQ(b.Claims(), (Claims{22, 3}));
  EXPECT_EQ(b.Count("CheckChargeBreak = true because Detail Lines >  22"), 1);
  EXPECT_EQ(b.end_result, 0) << ::testing::PrintToString(b.end_messages);
}

TEST(ClaimBreaks, EighteenDiagnosesFillAClaimAndTheNineteenthBreaksIt) {
  ClaimBatch b;
  for (const char* c : {"1", "2", "3"})
    b.Charge(WithDiagnoses({c + std::string("1"), c + std::string("2"), c + std::string("3"),
                            c + std::string("4"), c + std::string("5")}));
  b.Charge(WithDiagnoses({"41", "42", "43"}));              // exactly 18
  b.Charge(WithDiagnoses({"11", "22", "33", "43", "15"}));  // nothing new
  b.Charge(WithDiagnoses({"51"}));
  EXPECT_EQ(b.Claims(), (Claims{5, 1}));
  EXPECT_EQ(b.Count("  iNeed =  0  iOpen =  0"), 1);
  EXPECT_EQ(b.Count("CheckChargeBreak = true because Diagnosis Causes Overflow"), 1);
  // The second claim's box 67 starts with the code that broke the first.
  EXPECT_EQ(FieldAt(b.Lines(), 0.32f, 8.95f, 2), "51");
  EXPECT_EQ(FieldAt(b.Lines(), 6.72f, 9.14f, 1), "43");  // the 18th position
}

TEST(ClaimBreaks, CodeSetChangeBreaksAndIsLoggedAtEveryLevel) {
  ClaimBatch b;
  b.fc.HereIsAMessage("5", "0");  // the log stays open
  b.Charge(ChargeText());
  b.Charge(ChargeText(140).Set(charge::Icd9Code1, "").Set(charge::Icd10Code1, "Z00"));
  b.Charge(ChargeText());
  EXPECT_EQ(b.Claims(), (Claims{1, 1, 1}));
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
    EXPECT_EQ(b.Claims(), (name.empty() ? Claims{2} : Claims{1, 1})) << type;
    EXPECT_EQ(b.Count("** CheckBreak saw that " + name, name.empty() ? "" : " changed\"\r\n"),
              name.empty() ? 0 : 1);
  }
  ClaimBatch b;
  for (const char* tob : {"111", "111", "112"})
    b.Charge(ChargeText(), {{"6012", std::string("X//20007//") + tob}});
  EXPECT_EQ(b.Claims(), (Claims{2, 1}));
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
        Rec charge = WithDiagnoses({"A01", "A02", "A03", "A04"});
        std::vector<std::pair<std::string, std::string>> companions;
        if (c.type == "6000")
          charge.Set(c.member, value);
        else
          companions.emplace_back(c.type, TopText(c.type).Set(c.member, value).str());
        b.Charge(charge, companions);
      }
      EXPECT_EQ(b.Claims(), (on ? Claims{1, 1} : Claims{2})) << c.reason;
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
    EXPECT_EQ(b.Claims(), (c.mark.empty() ? Claims{2} : Claims{1, 1})) << c.first << c.second;
    EXPECT_EQ(b.Count("CheckChargeBreak = True because Month changed " + c.mark),
              c.mark.empty() ? 0 : 1);
  }
}

// Box 67 positions 1 and 2, and the code-set qualifier.
std::string Box67(ClaimBatch& b) {
  const auto& l = b.Lines();
  return FieldAt(l, 0.32f, 8.95f) + "," + FieldAt(l, 1.12f, 8.95f) + "," + FieldAt(l, 0.2f, 9.14f);
}

TEST(DiagnosisCodeSet, GapsCloseAndOneSetNeedsNoDate) {
  {
    ClaimBatch b;  // ICD-9 slots 2 and 5 only: they move up
    b.Charge(ChargeText().Set(charge::Icd9Code1, "").Set(charge::Icd9Code2, "B11")
                 .Set(charge::Icd9Code5, "E55"));
    EXPECT_EQ(Box67(b), "B11,E55,9");
  }
  {
    ClaimBatch b;  // ICD-10 only, no usable date
    b.Charge(ChargeText(140).Set(charge::Icd9Code1, "").Set(charge::Icd10Code1, "J45")
                 .Set(charge::ServiceDate, "not a date"));
    EXPECT_EQ(Box67(b), "J45,,0");
    EXPECT_TRUE(b.Logged(">> Diags:  Diags:  Didn't Have ICD9s"));
  }
}

// ---- detail lines and claim totals, read from the page ----

std::string OtherIns(const char* name, const char* allowed, const char* paid,
                     const char* write_off) {
  return TopText("6310")
      .Set(oinsurance::PayerName, name)
      .Set(oinsurance::AllowedAmount, allowed)
      .Set(oinsurance::PaidAmount, paid)
      .Set(oinsurance::WriteOffAmount, write_off)
      .str();
}

// What a line shows is the form tests'; here its other insurances add up.
TEST(DetailLines, ALinesOtherInsurancesAddUp) {
  ClaimBatch b;
  b.Charge(ChargeText(150).Set(charge::ChargeAmount, "150.00"),
           {{"6310", OtherIns("SUMMIT", "10", "5.25", "")}, {"6320", OtherIns("LAUREL", "1", "", "2")}});
  EXPECT_TRUE(b.Logged("Dealwithlastgroup  Insloop  index =  4"));
  EXPECT_TRUE(b.Logged("    Total Ins Paid =  5.25"));
}

TEST(DetailLines, DrugDescriptionRemarksAndStatementPeriod) {
  ClaimBatch b;
  const char* kDates[] = {"12312023", "01022024", "12302023", ""};
  const char* kQuantities[] = {"12)", "", "", ""};
  const char* kNotes[] = {"", "FIRST", "SECOND", ""};
  for (int i = 0; i < 4; ++i)
    b.Charge(ChargeText(126)
                 .Set(charge::NdcCode, i < 2 ? "12345678901" : "")
                 .Set(charge::NdcUnit, "UN")
                 .Set(charge::NdcQuantity, kQuantities[i])
                 .Set(charge::ServiceDate, kDates[i])
                 .Set(charge::ServiceToDate, kDates[i])
                 .Set(charge::Narrative, kNotes[i]));
  const auto& l = b.Lines();
  EXPECT_EQ(FieldAt(l, 0.65f, 3.12f), "N412345678901UN12");
  EXPECT_EQ(FieldAt(l, 0.65f, Row(2)), "N412345678901UN");
  EXPECT_EQ(FieldAt(l, 0.65f, Row(3)), "VISIT");
  EXPECT_EQ(FieldAt(l, 0.6f, 10.15f), "FIRST");  // the first line's remarks only
  // Across the year end, in any order; an undated line has no say.
  EXPECT_EQ(FieldAt(l, 6.2f, 0.81f), "123023");
  EXPECT_EQ(FieldAt(l, 6.9f, 0.81f), "010224");
}

TEST(ClaimState, TopRecordsFoldIntoLastAndTheirFlagsLatch) {
  ClaimBatch b;
  b.Charge(ChargeText());
  b.Send("3000", TopText("3000"));
  b.Charge(ChargeText());
  b.Charge(ChargeText());
  EXPECT_EQ(b.Count(" ** NeedNewInsurance"), 2);
  EXPECT_EQ(b.Count(" ** NeedNewPractice"), 3);
  EXPECT_EQ(b.Count("PayorOrg,InsIHCode,StopDt: v2,v1,", ""), 2);  // latched NPI lookups
}

// The groups trade places rather than copy: what one charge brought must not
// come back with the next one.
TEST(ClaimState, CompanionsOfAChargeStayWithIt) {
  ClaimBatch b({break_pref::BreakOnEachCharge});
  b.Charge(ChargeText().Set(charge::RevenueCode, "450/7"),
           {{"6310", TopText("6310").Set(oinsurance::PayerName, "SUMMIT MUTUAL")
                         .Set(oinsurance::FollowMarker, "MCA").str()}});
  b.Charge(ChargeText().Set(charge::RevenueCode, "300"));
  EXPECT_TRUE(b.Logged("**CopyThisGroupToLast - LastFollowed and This-Followed are both: True"));
  ASSERT_EQ(b.Claims(), (Claims{1, 1}));
  int summit_pages[3] = {0, 0, 0}, page = 1;
  for (const FormattedLine& l : b.Lines()) {
    if (l.kind == "N") ++page;
    if (l.kind == "F" && l.text.find("SUMMIT") != std::string::npos && page <= 2)
      ++summit_pages[page];
  }
  EXPECT_GT(summit_pages[1], 0);
  EXPECT_EQ(summit_pages[2], 0);
  EXPECT_EQ(FieldAt(b.Lines(), 0.25f, 3.12f, 2), "0300");
}

}  // namespace
}  // namespace ub04::test
