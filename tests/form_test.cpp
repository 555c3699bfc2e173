// UB-04 pages end to end: batches fed through Format_Class, the formatted-
// record file read back, and the text found at given positions checked.
#include <gtest/gtest.h>

#include <tuple>

#include "base/runtime.h"
#include "tests/form_support.h"

namespace ub04::test {
namespace {

TEST(FormBoxes, BillingPartyFollowsTheParityOfBillingProviderSource) {
  for (const char* source : {"", "0", "2"}) {
    SCOPED_TRACE(source);
    Claim c;
    c.calc.Set(calc_pref::BillingProviderSource, source);
    Formatted({c}).Expect({{0.3f, 0.33f, "RIVERBEND MEDICAL CENTER"},
                           {0.3f, 0.63f, "SPRINGVALE PA  17001"}, {0.3f, 0.78f, "7175550100 "},
                           {2.8f, 0.48f, "PO BOX 55"}, {2.8f, 0.63f, "SPRINGVALE PA  17001"},
                           {5.18f, 0.81f, "231234567"}});
  }
  for (const char* source : {"1", "3"}) {
    SCOPED_TRACE(source);
    Claim c;
    c.calc.Set(calc_pref::BillingProviderSource, source);
    Formatted({c}).Expect({{0.3f, 0.33f, "ANNA M KESTREL MD"}, {0.3f, 0.48f, "22 OAK ST"},
                           {2.8f, 0.33f, "KESTREL GROUP"}, {2.8f, 0.63f, "SUITE 4"},
                           {2.8f, 0.78f, "HILLTOWN PA  17002"},
                           {5.18f, 0.81f, "251111111"},     // no override: token 7
                           {6.9f, 6.95f, "1234567893"}});  // box 56 stays the practice NPI
  }
  Claim c;
  c.practice.Set(practice::PayToAddressLine1, "");
  Formatted({c}).Expect({{2.8f, 0.33f, kNone}});  // no pay-to address: box 2 blank
}

TEST(FormBoxes, TypeOfBillTakesTheClaimActionAndFourDigits) {
  for (auto [action, expected] : {std::pair{"", "0131"}, {"V", "0138"}, {"A", "0137"},
                                  {"C", "0136"}, {"X", "0131"}}) {
    Claim c;
    c.charge.Set(charge::ClaimAction, action);
    EXPECT_EQ(Formatted({c}).At(7.85f, 0.48f), expected) << action;
  }
}

TEST(FormBoxes, PatientNameAddressAndResponsibleParty) {
  Claim c;
  Formatted({c}).Expect({{0.3f, 1.13f, "DOE, JOHN"}, {7.0f, 1.13f, "17001"},
                         {0.3f, 2.11f, "JOHN DOE"},  // 38: the subscriber, with ZIP+4
                         {0.3f, 2.45f, "SPRINGVALE, PA  17001-9876"}});
  c.patient.Set(patient::MiddleName, "QUINN").Set(patient::NameSuffix, "JR");
  c.patient.Set(patient::ZipCode, "170019876");
  c.insurance.Set(insurance::PayerIsResponsibleParty, "y")
      .Set(insurance::AddressLine2, "CLAIMS DEPT");
  Formatted({c}).Expect({{0.3f, 1.13f, "DOE JR, JOHN  Q."}, {7.0f, 1.13f, "17001-9876"},
                         {0.3f, 2.11f, "KEYSTONE HEALTH PLAN "},  // 38: the payer
                         {0.3f, 2.45f, "CLAIMS DEPT"},
                         {0.3f, 2.63f, "HARRISBURG, PA  17105-0900"}});
}

TEST(FormBoxes, OccurrenceAndValueCodesNumberOnInSlotOrder) {
  Claim c;
  c.ext = {{"5010", "X//10000//20240101//10001//02022024//10002//20240303"},
           {"5012", "X//20016//80X"}};
  c.charge.Set(charge::OnsetType, "ACC").Set(charge::OnsetDate, "02012024");
  c.charge.Set(charge::RevenueCode, "0450/12.50").Set(charge::ValueCode30Amount, "3");
  c.charge.Set(charge::PayerSequence, "2");
  c.Only("6310", OtherInsurance("OTH1", "SUMMIT MUTUAL", "30.00"));
  // Occurrences 35, 44, 45, then the accident date; value codes 20016 and
  // the line's token 86 from the boxes, then A1 and A2 from the totals.
  Formatted({c}).Expect({{0.25f, 1.82f, "35"}, {0.5f, 1.82f, "010124"},
                         {1.5f, 1.82f, "020224"}, {2.25f, 1.82f, "45"},
                         {3.25f, 1.82f, "01"}, {3.5f, 1.82f, "020124"},
                         {4.5f, 2.31f, "80"}, {5.72f, 2.31f, "12.50"},
                         {5.8f, 2.31f, "30"}, {7.1f, 2.31f, "A1"}, {8.32f, 2.31f, "50.00"},
                         {4.5f, 2.5f, "A2"}, {5.72f, 2.5f, "70.00"}});  // 100.00 less 30.00
}

TEST(FormBoxes, PayerRowsFollowThePayerSequence) {
  Claim c;
  Formatted({c}).Expect({{0.25f, 7.12f, "KEYSTONE HEALTH PLAN"}, {2.6f, 7.12f, "54321"},
                         {2.6f, 7.27f, "54321"}, {2.6f, 7.42f, "54321"},
                         {0.3f, 7.8f, "DOE, JOHN"}, {2.8f, 7.8f, "18"},
                         {0.3f, 8.5f, "AUTH1"}, {3.35f, 8.5f, "DCN77"},
                         {6.0f, 8.5f, "ACME STEEL"}, {6.5f, 7.12f, "100.00"}});

  c.charge.Set(charge::PayerSequence, "2");
  c.Only("6310", OtherInsurance("OTH1", "SUMMIT MUTUAL", "30.00"));
  Formatted({c}).Expect({{0.25f, 7.12f, "SUMMIT MUTUAL"}, {4.3f, 7.12f, "Y"},
                         {2.6f, 7.12f, "OTH1"}, {2.6f, 7.27f, "54321"},
                         {0.25f, 7.27f, "KEYSTONE HEALTH PLAN"}, {0.3f, 7.8f, "DOE, JANE"},
                         {2.8f, 7.8f, "01"}, {0.3f, 7.95f, "DOE, JOHN"},
                         {5.95f, 8.5f, "MILL WORKS"}, {0.3f, 8.68f, "AUTH2"},
                         {5.4f, 7.12f, "30.00"}, {6.5f, 7.3f, "70.00"}});

  c.charge.Set(charge::PayerSequence, "3");
  c.companions.emplace_back("6320", OtherInsurance("OTH2", "LAUREL CASUALTY", "20.00"));
  Formatted({c}).Expect({{0.25f, 7.42f, "KEYSTONE HEALTH PLAN"}, {0.3f, 8.82f, "AUTH2"},
                         {3.35f, 8.82f, kNone},  // no box 64 for the third payer
                         {5.4f, 7.3f, "20.00"}, {6.5f, 7.45f, "50.00"}});

  const std::string kLong(300, '4');
  c.charge.Set(charge::PayerSequence, kLong);
  c.companions.clear();
  // A sequence that names no row: the billed payer's rows stay blank,
  // nothing lands at the top edge, and the host is warned once, the long
  // token quoted in part.
  Formatted r({c});
  r.Expect({{0.25f, 0, kNone}, {0.25f, 7.12f, kNone}, {0.3f, 7.8f, kNone}, {0.3f, 8.5f, kNone},
            {0.3f, 8.68f, kNone}, {0.3f, 8.82f, kNone}, {6.5f, 7.12f, kNone},
            {6.5f, 7.3f, kNone}, {6.5f, 7.45f, kNone}});
  for (const FormattedLine& l : r.lines) EXPECT_FALSE(l.kind == "F" && l.y == 0) << l.text;
  ASSERT_EQ(r.messages.size(), 1u) << ::testing::PrintToString(r.messages);
  EXPECT_EQ(r.messages[0].rfind(" 2//", 0), 0u);
  EXPECT_NE(r.messages[0].find("is not 1, 2 or 3: the billed payer's rows of boxes 50 to 65 were "
                               "left blank"), std::string::npos) << r.messages[0];
  EXPECT_NE(r.messages[0].find("\u2026 (300 characters)"), std::string::npos);
  EXPECT_EQ(r.messages[0].find(kLong), std::string::npos);
}

TEST(FormBoxes, EighteenDiagnosesFillBothRowsWithTheirQualifier) {
  Claim c;
  c.ext = {{"5012", "X//20015//Y"}};
  Formatted r;
  r.Top(c);
  // Charges of 5, 5, 5 and 3 new codes: exactly the 18 positions.
  for (int first = 1; first <= 18; first += 5) {
    Rec charge = c.charge;
    for (int k = 0; k < 5; ++k)
      charge.Set(charge::Icd10Code1 + 2 * static_cast<size_t>(k),
                 first + k <= 18 ? "R" + std::to_string(100 + first + k) : "");
    r.Charge(c, charge);
  }
  r.Finish();
  r.Expect({{0.32f, 8.95f, "R101"}, {0.97f, 8.95f, "Y"},  // present on admission
            {6.72f, 8.95f, "R109"}, {0.32f, 9.14f, "R110"}, {6.72f, 9.14f, "R118"},
            {0.2f, 9.14f, "0"}});  // ICD-10
}

TEST(FormBoxes, RemarksWrapWithoutCuttingWordsAndStopAfterFourLines) {
  Claim c;
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += static_cast<char>('A' + i % 26);
  c.charge.Set(charge::Narrative, hundred);
  Formatted({c}).Expect({{0.6f, 10.15f, hundred.substr(0, 19)},
                         {0.25f, 10.3f, hundred.substr(19, 24)},
                         {0.25f, 10.45f, hundred.substr(43, 24)},
                         {0.25f, 10.6f, hundred.substr(67, 24)},
                         {0.25f, 10.75f, kNone}});  // the last 9 are not printed
  c.charge.Set(charge::Narrative, "PATIENT SEEN FOR FOLLOW UP OF CHRONIC COUGH");
  Formatted({c}).Expect({{0.6f, 10.15f, "PATIENT SEEN FOR "},
                         {0.25f, 10.3f, "FOLLOW UP OF CHRONIC "}, {0.25f, 10.45f, "COUGH"}});
  c.charge.Set(charge::Narrative, "");  // no remarks: the payer's address
  Formatted({c}).Expect({{0.6f, 10.15f, "KEYSTONE HEALTH PLA"},
                         {0.25f, 10.45f, "HARRISBURG, PA  17105-0900"}});
}

TEST(FormBoxes, AttendingAndOperatingProviders) {
  Claim c;
  Rec referral = Full(54, {
      {referral::Gate, "1"}, {referral::OtherId, "REFG2"}, {referral::LastName, "VANCE"},
      {referral::Npi, "1555555551"}});
  Rec op = Full(56, {
      {oprovider::Gate, "1"}, {oprovider::ProviderRole, "OP"}, {oprovider::OtherId, "OPG2"},
      {oprovider::LastName, "REYES"}, {oprovider::Npi, "1666666660"}});  // UseUpin "": False
  c.Only("6120", referral);
  c.companions.emplace_back("6110", op);
  Formatted({c}).Expect({{6.1f, 9.5f, "1555555551"}, {7.25f, 9.5f, "G2"},
                         {7.5f, 9.5f, "REFG2"}, {5.45f, 9.62f, "VANCE"},
                         {6.1f, 9.8f, "1666666660"}, {7.5f, 9.8f, "OPG2"},
                         {5.45f, 9.98f, "REYES"}});

  // A referral without a name falls back to the billing provider; this
  // payer wants state licenses.
  c.Only("6120", referral.Set(referral::LastName, ""));
  c.insurance.Set(insurance::PayerId, "80142");
  c.bprovider.Set(bprovider::StateLicense, "SL7788");
  Formatted({c}).Expect({{6.1f, 9.5f, "1999999992"}, {7.25f, 9.5f, "0B"},
                         {7.5f, 9.5f, "SL7788"}, {5.45f, 9.62f, "KESTREL"},
                         {7.2f, 9.62f, "ANNA MARIE."}});
}

// A box that cannot be written leaves the claim wrong: the error is shown
// and queued where it happened, and the claim is refused (written nowhere).
TEST(FormBoxes, AnUnwritableBoxRefusesTheClaim) {
  Claim c;
  c.Only("6110", Full(56, {{oprovider::Gate, "1"},
                                             {oprovider::ProviderRole, "OP"},
                                             {oprovider::UseUpin, "MAYBE"}}));
  MessageBoxCapture boxes;
  Formatted r({c});
  const std::string error =
      "QVR_UB04PPA_Format.Dll WriteAllPageButDetail()  Error:  13 Type mismatch";
  EXPECT_EQ(boxes.boxes, std::vector<std::string>{error});
  ASSERT_EQ(r.messages.size(), 2u);
  EXPECT_EQ(r.messages[0], " 3//" + error + "//");
  EXPECT_NE(r.messages[1].find("was refused and written nowhere: WriteAllPageButDetail()  Error: "
                               "13 Type mismatch"),
            std::string::npos) << r.messages[1];
  EXPECT_EQ(r.h.fc.gsErrorMsg, error);
  EXPECT_EQ(Kinds(r.lines), "HT");  // no page of it
}

TEST(FormBoxes, PayerOfNpisOnlyGetsTheTaxonomyInBox81) {
  Claim c;
  c.insurance.Set(insurance::PayerId, "22326");
  c.practice.Set(practice::Taxonomy, "282N00000X");
  // Boxes 76 and 77 print the NPI alone on every page of such a payer's claim.
  Formatted({c}).Expect({{2.8f, 10.15f, "B3"}, {3.1f, 10.15f, "282N00000X"},
                         {7.25f, 9.5f, kNone}});
}

TEST(FormLines, ServiceLinesAndLine23) {
  Claim c;
  c.calc.Set(calc_pref::NoDecimalPoint, "1");  // amounts without the decimal point
  Formatted r;
  r.Top(c);
  r.Charge(c, c.charge);
  Rec second = c.charge;
  second.Set(charge::RevenueCode, "120").Set(charge::Units, "1.5")
      .Set(charge::ChargeAmount, "50.50");
  r.Charge(c, second.Set(charge::Modifier2, "59"));
  r.Charge(c, Rec(second).Set(charge::RevenueCodeOverride, "0300").Set(charge::Units, "2"));
  r.Finish();
  r.Expect({{0.25f, 3.12f, "0450"}, {0.65f, 3.12f, "OFFICE VISIT"}, {3.25f, 3.12f, "99213"},
            {3.75f, 3.12f, "25"}, {4.65f, 3.12f, "031524"}, {5.5f, 3.12f, "1"},
            {7.05f, 3.12f, "100 00"}, {0.25f, Row(2), "0120"}, {3.75f, Row(2), "25 59"},
            {5.5f, Row(2), "1.5"},
            {0.25f, Row(3), "0300"},  // the charge's alternate revenue code
            {5.5f, Row(3), "2"}, {0.25f, 6.8f, "0001"}, {4.65f, 6.8f, FormatMmddyy(Today())},
            {1.15f, 6.77f, "1"}, {1.75f, 6.77f, "1"},  // page 1 of 1
            {7.05f, 6.8f, "201 00"}, {6.2f, 0.81f, "031524"}});
}

TEST(FormLines, PatientStatusByMarkerTableOrder) {
  for (auto [first, second, expected] :
       {std::tuple{"PS-03", "PS-01", "01"}, {"PS10", "", "  "}, {"X", "", ""}}) {
    Claim c;
    Formatted r;
    r.Top(c);
    r.Charge(c, Rec(c.charge).Set(charge::CodeList, first));
    r.Charge(c, Rec(c.charge).Set(charge::CodeList, second));
    r.Finish();
    EXPECT_EQ(r.At(3.2f, 1.45f), expected) << first;
  }
  Claim c;
  c.insurance.Set(insurance::PatientStatus, "30");  // the payer's default status
  EXPECT_EQ(Formatted({c}).At(3.2f, 1.45f), "30");
}

TEST(FormLines, EachClaimIsAPageWithItsIndexLine) {
  Claim first, second;
  second.patient.Set(patient::FirstName, "MARY").Set(patient::LastName, "ROE");
  second.patient.Set(patient::NameSuffix, "SR");
  second.charge.Set(charge::PayerSequence, "2");
  Formatted r({first, second});
  std::vector<std::pair<std::string, int32_t>> headers;
  for (const FormattedLine& l : r.lines)
    if (l.kind == "C") headers.emplace_back(l.text, l.number);
  EXPECT_EQ(Kinds(r.lines), "HCFNCFNT");
  auto index = [](std::string name, const char* seq) {
    name.resize(40, ' ');
    return name + "BPROV1    INS1      " + seq;
  };
  EXPECT_EQ(headers, (std::vector<std::pair<std::string, int32_t>>{
                         {index("DOE, JOHN", "1"), 1}, {index("ROE SR, MARY", "2"), 2}}));
  r.h.fc.HereIsAMessage("HOW_MANY_CLAIMS", "");
  EXPECT_EQ(Messages(r.h.fc), std::vector<std::string>{" 1//TOTALCLAIMS//2//"});
}

}  // namespace
}  // namespace ub04::test
