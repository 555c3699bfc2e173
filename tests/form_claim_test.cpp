// UB-04 pages end to end: batches fed through Format_Class, the formatted-
// record file read back, and the text found at given positions checked.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <tuple>

#include "form/boxes.h"
#include "form/claim_writer.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Key;
using test::RecordText;
using Members = std::initializer_list<std::pair<size_t, const char*>>;

// A record with every optional group present: all tokens blank but the
// last (an empty last token would not be a token), then the given members.
RecordText Full(const RecordLayout& layout, size_t tokens, Members members = {}) {
  RecordText r(layout, tokens);
  r.Blank().Token(tokens - 1, "0");
  for (const auto& [m, v] : members) r.Set(m, v);
  return r;
}

// The invented claim every test starts from: one office visit billed to
// its first payer, the practice as the billing party.
struct Claim {
  RecordText practice = Full(kPracticeLayout, 44, {
      {practice::IhCode, "PRAC1"}, {practice::Name, "RIVERBEND MEDICAL CENTER"},
      {practice::AddressLine1, "100 RIVER RD"}, {practice::City, "SPRINGVALE"},
      {practice::State, "PA"}, {practice::ZipCode, "17001"}, {practice::Phone, "7175550100"},
      {practice::FederalTaxId, "231234567"}, {practice::TypeOfBill, "131"},
      {practice::Npi, "1234567893"}, {practice::PayToName, "RIVERBEND BILLING"},
      {practice::PayToAddressLine1, "PO BOX 55"}, {practice::PayToCity, "SPRINGVALE"},
      {practice::PayToState, "PA"}, {practice::PayToZipCode, "17001"}});
  RecordText bprovider = Full(kBProviderLayout, 54, {
      {bprovider::IhCode, "BPROV1"}, {bprovider::FirstName, "ANNA"},
      {bprovider::LastName, "KESTREL"}, {bprovider::MiddleName, "MARIE"},
      {bprovider::NameSuffix, "MD"}, {bprovider::FederalTaxId, "251111111"},
      {bprovider::AddressLine1, "22 OAK ST"}, {bprovider::City, "HILLTOWN"},
      {bprovider::State, "PA"}, {bprovider::ZipCode, "17002"}, {bprovider::Npi, "1999999992"},
      {bprovider::OtherId, "BPG2"}, {bprovider::PayToName, "KESTREL GROUP"},
      {bprovider::PayToAddressLine1, "12 ELM ST"}, {bprovider::PayToAddressLine2, "SUITE 4"},
      {bprovider::PayToCity, "HILLTOWN"}, {bprovider::PayToState, "PA"},
      {bprovider::PayToZipCode, "17002"}});
  RecordText insurance = Full(kInsuranceLayout, 68, {
      {insurance::IhCode, "INS1"}, {insurance::PayerId, "54321"},
      {insurance::Name, "KEYSTONE HEALTH PLAN"}, {insurance::AddressLine1, "PO BOX 900"},
      {insurance::City, "HARRISBURG"}, {insurance::State, "PA"},
      {insurance::ZipCode, "171050900"}});
  RecordText calc = Full(kCalcPrefLayout, 15, {{calc_pref::Field04, "1"}});
  RecordText breaks = Full(kBreakPrefLayout, 25);
  RecordText patient = Full(kPatientLayout, 53, {
      {patient::AccountNumber, "ACCT1001"}, {patient::FirstName, "JOHN"},
      {patient::LastName, "DOE"}, {patient::BirthDate, "01151970"}, {patient::SexCode, "M"},
      {patient::AddressLine1, "5 PINE LN"}, {patient::City, "SPRINGVALE"},
      {patient::State, "PA"}, {patient::ZipCode, "17001"}});
  RecordText subscriber = Full(kSubscriberLayout, 67, {
      {subscriber::Field04, "XYZ"}, {subscriber::Field05, "123456789"},
      {subscriber::Field06, "GRP100"}, {subscriber::Field10, "1"}, {subscriber::Field15, "SLF"},
      {subscriber::FirstName, "JOHN"}, {subscriber::LastName, "DOE"},
      {subscriber::Field34, "ACME STEEL"}, {subscriber::AddressLine1, "5 PINE LN"},
      {subscriber::City, "SPRINGVALE"}, {subscriber::State, "PA"},
      {subscriber::ZipCode, "170019876"}});
  RecordText charge = Full(kChargeLayout, 150, {
      {charge::ProcedureCode, "99213"}, {charge::Field07, "OFFICE VISIT"},
      {charge::Modifier1, "25"}, {charge::Icd10Code1, "J101"}, {charge::Field42, "1"},
      {charge::Field43, "100.00"}, {charge::ServiceDate, "03152024"},
      {charge::Field55, "03152024"}, {charge::PrimaryApprovalNumber, "AUTH1"},
      {charge::SecondaryApprovalNumber, "AUTH2"}, {charge::RevenueCode, "0450"},
      {charge::Field70, "1"}, {charge::Field99, "DCN77"}});
  std::vector<std::pair<std::string, RecordText>> companions;  // sent with every charge
  std::vector<std::pair<std::string, std::string>> ext;         // type, record text

  void Only(const std::string& type, const RecordText& companion) {
    companions.clear();
    companions.emplace_back(type, companion);
  }
};

RecordText OtherInsurance(const char* id, const char* name, const char* paid) {
  return Full(kOInsuranceLayout, 89, {
      {oinsurance::PayerId, id}, {oinsurance::Field03, name}, {oinsurance::Field10, "3"},
      {oinsurance::Field14, "WIF"}, {oinsurance::Field17, "JANE"}, {oinsurance::Field18, "DOE"},
      {oinsurance::Field22, paid}, {oinsurance::Field25, "MILL WORKS"},
      {oinsurance::Field73, "50.00"}});
}

constexpr const char* kNone = "<none>";

// The text of the field at (x, y) on form page `page`, kNone when none.
std::string FieldAt(const std::vector<FormattedLine>& lines, float x, float y, int page = 1) {
  int n = 1;
  for (const FormattedLine& l : lines) {
    if (l.kind == "N") ++n;
    if (n == page && l.kind == "F" && std::fabs(l.x - x) < 1e-4 && std::fabs(l.y - y) < 1e-4)
      return l.text;
  }
  return kNone;
}

// The kinds of the lines, a run of "F" lines as one: "HCFNT".
std::string Kinds(const std::vector<FormattedLine>& lines) {
  std::string k;
  for (const FormattedLine& l : lines)
    if (k.empty() || l.kind != "F" || k.back() != 'F') k += l.kind;
  return k;
}

struct Field {
  float x, y;
  std::string text;  // kNone: no field there
};

// Feeds claims to a fresh component and reads the formatted-record file.
struct Formatted {
  test::Harness h;
  std::vector<FormattedLine> lines;
  std::vector<std::string> messages;

  // Payers here still take secondary provider ids: their NPI-only date is
  // far ahead.
  Formatted() {
    Rs().ref.component_folder = h.dir.str();
    std::ofstream(h.dir.path() / "FOLIO_CFG_NPICMS.DAT", std::ios::binary) << "00,,1/1/2099\r\n";
  }
  // One charge per claim.
  explicit Formatted(const std::vector<Claim>& claims) : Formatted() {
    for (const Claim& c : claims) {
      Top(c);
      Charge(c, c.charge);
    }
    Finish();
  }
  // The top records (a new claim) and the claim-level extended data.
  void Top(const Claim& c) {
    for (const auto& [type, rec] :
         {std::pair<const char*, const RecordText*>{"1000", &c.practice}, {"2000", &c.bprovider},
          {"3000", &c.insurance}, {"3100", &c.calc}, {"3101", &c.breaks},
          {"4000", &c.patient}, {"5000", &c.subscriber}})
      Send(type, rec->str());
    for (const auto& [type, text] : c.ext) Send(type, text);
  }
  void Charge(const Claim& c, const RecordText& charge) {
    Send("6000", charge.str());
    for (const auto& [type, rec] : c.companions) Send(type, rec.str());
    Send("6990", "");
  }
  void Finish() {
    h.fc.ProcessEndOfFile();
    messages = test::Messages(h.fc);
    lines = test::ReadFormatted(h.fmt_path());
  }
  void Send(const std::string& type, const std::string& text) {
    EXPECT_EQ(h.fc.FormatRecord(Key(type), text), 0)
        << type << ::testing::PrintToString(test::Messages(h.fc));
  }

  std::string At(float x, float y) const { return FieldAt(lines, x, y); }
  void Expect(std::initializer_list<Field> fields) const {
    for (const Field& f : fields) EXPECT_EQ(At(f.x, f.y), f.text) << "at " << f.x << ", " << f.y;
  }
};

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
  c.insurance.Set(insurance::Field38, "y").Set(insurance::AddressLine2, "CLAIMS DEPT");
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
  c.charge.Set(charge::RevenueCode, "0450/12.50").Set(charge::Field86, "3");
  c.charge.Set(charge::Field70, "2");
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

  c.charge.Set(charge::Field70, "2");
  c.Only("6310", OtherInsurance("OTH1", "SUMMIT MUTUAL", "30.00"));
  Formatted({c}).Expect({{0.25f, 7.12f, "SUMMIT MUTUAL"}, {4.3f, 7.12f, "Y"},
                         {2.6f, 7.12f, "OTH1"}, {2.6f, 7.27f, "54321"},
                         {0.25f, 7.27f, "KEYSTONE HEALTH PLAN"}, {0.3f, 7.8f, "DOE, JANE"},
                         {2.8f, 7.8f, "01"}, {0.3f, 7.95f, "DOE, JOHN"},
                         {5.95f, 8.6f, "MILL WORKS"}, {0.3f, 8.68f, "AUTH2"},
                         {5.4f, 7.12f, "30.00"}, {6.5f, 7.3f, "70.00"}});

  c.charge.Set(charge::Field70, "3");
  c.companions.emplace_back("6320", OtherInsurance("OTH2", "LAUREL CASUALTY", "20.00"));
  Formatted({c}).Expect({{0.25f, 7.42f, "KEYSTONE HEALTH PLAN"}, {0.3f, 8.82f, "AUTH2"},
                         {3.35f, 8.82f, kNone},  // no box 64 for the third payer
                         {5.4f, 7.3f, "20.00"}, {6.5f, 7.45f, "50.00"}});

  c.charge.Set(charge::Field70, "4");
  c.companions.clear();
  Formatted({c}).Expect({{0.25f, 0, "KEYSTONE HEALTH PLAN"},  // off the payer rows
                         {0.3f, 8.5f, kNone}, {0.3f, 8.68f, kNone}, {0.3f, 8.82f, kNone},
                         {6.5f, 7.12f, kNone}, {6.5f, 7.3f, kNone}, {6.5f, 7.45f, kNone}});
}

TEST(FormBoxes, EighteenDiagnosesFillBothRowsWithTheirQualifier) {
  Claim c;
  c.ext = {{"5012", "X//20015//Y"}};
  Formatted r;
  r.Top(c);
  // Charges of 5, 5, 5 and 3 new codes: exactly the 18 positions.
  for (int first = 1; first <= 18; first += 5) {
    RecordText charge = c.charge;
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
  RecordText referral = Full(kReferralLayout, 54, {
      {referral::Gate, "1"}, {referral::OtherId, "REFG2"}, {referral::LastName, "VANCE"},
      {referral::Npi, "1555555551"}});
  RecordText op = Full(kOProviderLayout, 56, {
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

TEST(FormBoxes, UnreadableBooleanAbandonsTheRestOfThePage) {
  Claim c;
  c.Only("6110", Full(kOProviderLayout, 56, {{oprovider::Gate, "1"},
                                             {oprovider::ProviderRole, "OP"},
                                             {oprovider::UseUpin, "MAYBE"}}));
  test::MessageBoxCapture boxes;
  Formatted r({c});
  const std::string error =
      "QVR_UB04PPA_Format.Dll WriteAllPageButDetail()  Error:  13 Type mismatch";
  EXPECT_EQ(boxes.boxes, std::vector<std::string>{error});
  EXPECT_EQ(r.messages, std::vector<std::string>{" 3//" + error + "//"});
  EXPECT_EQ(r.h.fc.gsErrorMsg, error);
  r.Expect({{6.1f, 9.5f, "1999999992"},  // box 76 came before the error
            {0.6f, 10.15f, kNone},       // the boxes after it did not
            {7.05f, 6.8f, "100.00"}});   // the lines and totals did
  EXPECT_EQ(r.lines.back().kind, "T");
}

TEST(FormBoxes, PayerOfNpisOnlyGetsTheTaxonomyInBox81) {
  Claim c;
  c.insurance.Set(insurance::PayerId, "22326");
  c.practice.Set(practice::Field22, "282N00000X");
  Formatted({c}).Expect({{2.8f, 10.15f, "B3"}, {3.1f, 10.15f, "282N00000X"},
                         {7.25f, 9.5f, "G2"}});  // this page was laid out before box 81
}

TEST(FormLines, ServiceLinesAndLine23) {
  Claim c;
  c.calc.Set(calc_pref::Field11, "1");  // amounts without the decimal point
  Formatted r;
  r.Top(c);
  r.Charge(c, c.charge);
  RecordText second = c.charge;
  second.Set(charge::RevenueCode, "120").Set(charge::Field42, "1.5").Set(charge::Field43, "50.50");
  r.Charge(c, second.Set(charge::Modifier2, "59"));
  r.Charge(c, RecordText(second).Set(charge::Field87, "0300").Set(charge::Field42, "2"));
  r.Finish();
  r.Expect({{0.25f, 3.12f, "0450"}, {0.65f, 3.12f, "OFFICE VISIT"}, {3.25f, 3.12f, "99213"},
            {3.75f, 3.12f, "25"}, {4.65f, 3.12f, "031524"}, {5.5f, 3.12f, "1"},
            {7.05f, 3.12f, "100 00"}, {0.25f, 3.27f, "0120"}, {3.75f, 3.27f, "25 59"},
            {5.5f, 3.27f, "1.5"},
            {0.25f, 3.43f, "0300"},  // the charge's alternate revenue code
            {5.5f, 3.43f, "2"}, {0.25f, 6.8f, "001"}, {4.65f, 6.8f, FormatMmddyy(Today())},
            {7.05f, 6.8f, "201 00"}, {6.2f, 0.81f, "031524"}});
}

TEST(FormLines, PatientStatusByMarkerTableOrder) {
  for (auto [first, second, expected] :
       {std::tuple{"PS-03", "PS-01", "01"}, {"PS10", "", "  "}, {"X", "", ""}}) {
    Claim c;
    Formatted r;
    r.Top(c);
    r.Charge(c, RecordText(c.charge).Set(charge::CodeList, first));
    r.Charge(c, RecordText(c.charge).Set(charge::CodeList, second));
    r.Finish();
    EXPECT_EQ(r.At(3.2f, 1.45f), expected) << first;
  }
  Claim c;
  c.insurance.Set(insurance::Field23, "30");  // the payer's default status
  EXPECT_EQ(Formatted({c}).At(3.2f, 1.45f), "30");
}

TEST(FormLines, EachClaimIsAPageWithItsIndexLine) {
  Claim first, second;
  second.patient.Set(patient::FirstName, "MARY").Set(patient::LastName, "ROE");
  second.patient.Set(patient::NameSuffix, "SR");
  second.charge.Set(charge::Field70, "2");
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
  EXPECT_EQ(test::Messages(r.h.fc), std::vector<std::string>{" 1//TOTALCLAIMS//2//"});
}

// ---- the claim writer on claim tables filled directly: page breaks the
// break rules never let through, failed writes, the small box routines ----

// A component whose formatted-record file is open, with a Last claim of
// `lines` service lines and one diagnosis.
struct Direct : test::Harness {
  explicit Direct(int lines) {
    EXPECT_EQ(fc.FormatRecord(test::Key("1000"), test::RecordText(kPracticeLayout, 21).str()), 0);
    ClaimState& c = Rs().claim;
    c.last_top.patient[patient::FirstName] = "JOHN";
    c.last_top.patient[patient::LastName] = "DOE";
    c.last_top.bprovider[bprovider::Npi] = "1999999992";
    c.last_top.bprovider[bprovider::OtherId] = "BPG2";
    c.last_top.bprovider[bprovider::LastName] = "KESTREL";
    c.last_group.charge[charge::Field70] = "1";
    c.diag[0].code = "J101";
    ClaimTables& t = fc.tables();
    t.detail.resize(25);
    for (int i = 0; i < lines; ++i) {
      DetailEntry& e = t.detail[static_cast<size_t>(i)];
      e.used = "Y";
      e.charge = c.last_group.charge;
      e.revenue_code = "450";
      e.charge_amount = Currency::FromText("10.00");
      e.units = 1;
    }
    t.totals.ClaimCodeList = "~PS-01~";
  }
  std::vector<FormattedLine> Finish() {
    fc.ProcessEndOfFile();
    return test::ReadFormatted(fmt_path());
  }
};

TEST(FormPages, TwentyThirdLineStartsAPageThatSeesTheNpiOnlyPayer) {
  Direct d(23);
  Rs().claim.last_top.insurance[insurance::PayerId] = "22326";
  EXPECT_EQ(WriteClaim(d.fc.tables()), 0);
  EXPECT_TRUE(Rs().ref.npi_only);  // set by box 81 of the first page
  auto lines = d.Finish();
  EXPECT_EQ(Kinds(lines), "HCFNCFNT");
  EXPECT_NE(FieldAt(lines, 7.25f, 9.5f, 1), kNone);   // qualifier on page 1
  EXPECT_EQ(FieldAt(lines, 7.25f, 9.5f, 2), kNone);  // none on page 2
  EXPECT_NE(FieldAt(lines, 6.1f, 9.5f, 2), kNone);    // the NPI stays
  EXPECT_NE(FieldAt(lines, 0.25f, 3.12f, 2), kNone);  // line 23 is row 1 of page 2
  EXPECT_EQ(Rs().total_claims, 2);
  // The tables are empty for the next claim.
  EXPECT_EQ(GetNextDetailIndex(d.fc.tables()), 1);
  EXPECT_EQ(Rs().claim.diag[0].code, "");
}

TEST(FormPages, ClaimWithoutLinesWritesOnlyTotalsAndPageEnd) {
  Direct d(0);
  EXPECT_EQ(WriteClaim(d.fc.tables()), 0);
  auto lines = d.Finish();
  EXPECT_EQ(Kinds(lines), "HFNT");
  EXPECT_EQ(Rs().total_claims, 0);
}

TEST(FormPages, RefusedWriteStopsTheClaimAndStillEmptiesTheTables) {
  Direct d(3);
  CloseASCIIout();
  EXPECT_EQ(WriteClaim(d.fc.tables()), 3);
  auto m = test::Messages(d.fc);
  ASSERT_EQ(m.size(), 1u) << ::testing::PrintToString(m);  // one failure, not one per field
  EXPECT_EQ(m[0].rfind(" 3//QVR_UB04PPA_Format.Dll WriteClaimHeader()  Error: ", 0), 0u) << m[0];
  EXPECT_EQ(GetNextDetailIndex(d.fc.tables()), 1);
  EXPECT_EQ(d.fc.tables().totals.ClaimCodeList, "");
  EXPECT_EQ(Rs().claim.diag[0].code, "");
}

TEST(FormPages, DetailRowsOutsideThePageHaveNoPosition) {
  EXPECT_FLOAT_EQ(GetYForDetail(1), 3.12f);
  EXPECT_FLOAT_EQ(GetYForDetail(22), 6.62f);
  EXPECT_EQ(GetYForDetail(0), 0.0f);
  EXPECT_EQ(GetYForDetail(23), 0.0f);
}

TEST(FormRoutines, DatesWrapsAndRelationships) {
  EXPECT_EQ(FormatDateMMDDYY("20170315"), "031517");
  EXPECT_EQ(FormatDateMMDDYY("03152017"), "031517");
  EXPECT_EQ(FormatDateMMDDYY("0315"), "0315");
  EXPECT_EQ(GetWrapLength("SHORT", 19), 5);
  EXPECT_EQ(GetWrapLength(std::string(100, 'A'), 19), 19);         // no space: cut the word
  EXPECT_EQ(GetWrapLength("ABCDEFGHIJ KLMNOPQRSTUV", 19), 11);     // back to the space
  EXPECT_EQ(GetWrapLength("ABCDEFGHIJKLMNOPQRS TUV", 19), 19);     // cut falls on a space
  EXPECT_EQ(GetWrapLength("ABCDEFGHIJKLMNOPQRS", 19), 19);         // exactly one line
  EXPECT_EQ(MapRelationshipCode("SLF"), "18");
  EXPECT_EQ(MapRelationshipCode("WIF"), "01");
  EXPECT_EQ(MapRelationshipCode("SON"), "19");
  EXPECT_EQ(MapRelationshipCode("MTH"), "32");
  EXPECT_EQ(MapRelationshipCode("slf"), "21");
}

TEST(FormRoutines, OccurrenceAndValueCodeSlotsStopAtTheBoxes) {
  Direct d(0);
  WriteOccurrenceCode(4, "11", "010124");
  WriteOccurrenceCode(5, "11", "010124");
  WriteValueCode(5, "80", "3");
  WriteValueCode(12, "A2", "5.00");
  WriteValueCode(13, "A3", "6.00");
  auto lines = d.Finish();
  ASSERT_EQ(lines.size(), 8u);  // H, occurrence 4, value codes 5 and 12 (two fields each), T
  EXPECT_NE(FieldAt(lines, 3.5f, 1.82f, 1), kNone);
  EXPECT_NE(FieldAt(lines, 5.8f, 2.5f, 1), kNone);
  EXPECT_NE(FieldAt(lines, 7.1f, 2.81f, 1), kNone);
  EXPECT_NE(FieldAt(lines, 8.32f, 2.81f, 1), kNone);
}

}  // namespace
}  // namespace ub04
