// Reference data the way a host drives it: "CONNECTIONSTRING" names an SQLite
// file the test builds, and what the tables decide shows in the run log, the
// queued messages and the printed boxes (56: practice NPI, 67: code set,
// 76: secondary ids of payers that still take them).
#include <gtest/gtest.h>

#include "tests/form_support.h"

namespace ub04::test {
namespace {

const std::string kOpenError =
    " 3//QVR_UB04PPA_Format.Dll had a problem in OpenInitialDBConnection()  Error: 1 ";

TEST(RefConnect, SqliteFileAnswersAndLoadsBothTables) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '2009-01-01 00:00:00');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'ins9', '2016-01-01');"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_TRUE(h.messages.empty()) << ::testing::PrintToString(h.messages);
  ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
  EXPECT_TRUE(h.LogHas("** Opening NPILegacy From DB    RecordCount =  1\""));
  EXPECT_TRUE(h.LogHas(">> Global ICD10 Readiness Date figured is: 10/1/2015"));
}

TEST(RefConnect, MissingReadinessTableDefaultsToTheEndOf2017) {
  RefHarness h("INSERT INTO PRACTICE VALUES ('P1', 1); DROP TABLE InsuranceReadiness;");
  EXPECT_EQ(h.Connect(), 0);
  ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
  EXPECT_TRUE(h.LogHas("InsuranceReadiness table is not in db schema yet. Defaulting icd10 "
                       "global date to 12-31-2017"));
}

TEST(RefConnect, BadRowsStopTheLoadsAsInformation) {
  RefHarness h(
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '13/01/2009');"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'X', 'never');");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_EQ(h.messages,
            (std::vector<std::string>{
                " 1//QVR_UB04PPA_Format.Dll LoadNPILegacyDateArray  Error: 13 Type mismatch//",
                " 1//QVR_UB04PPA_Format.Dll LoadInsReadinessTableArray  Error: 13 Type "
                "mismatch//"}));
  // The failed database load falls back to the (missing) file.
  ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
  EXPECT_TRUE(h.LogHas("  File Not Found"));
}

TEST(RefConnect, BothAttemptsFailingThenAGoodOneStartOver) {
  RefHarness h("DROP TABLE PRACTICE;");
  EXPECT_EQ(h.Connect(), 3);
  EXPECT_EQ(h.messages, (std::vector<std::string>{kOpenError + "no such table: "
                                                               "KRV_TABLES.PRACTICE//",
                                                  kOpenError + "no such table: PRACTICE//"}));
  ExecSql(h.db, "CREATE TABLE PRACTICE (IH_Code TEXT, Company_ID_Number INTEGER);");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_TRUE(h.messages.empty());
  // A name with the characters a URI would read is still a plain file name.
  std::filesystem::path odd = h.dir.path() / "ref db #1 ?x=%20.db";
  MakeRefDb(odd, "INSERT INTO PRACTICE VALUES ('P1', 1);");
  EXPECT_EQ(h.Connect(odd.string()), 0) << ::testing::PrintToString(h.messages);
}

TEST(RefConnect, PasswordNeverReachesMessagesOrTheLog) {
  HostLogin login;
  RefHarness h("DROP TABLE PRACTICE;");
  h.fc.HereIsAMessage("5", "2");
  std::string seen;
  for (const std::string& dsn : {h.db.string(), std::string("ub04-no-such-dsn"), std::string(),
                                 std::string(" ")}) {
    h.Connect(dsn);
    for (const std::string& m : h.messages) seen += m + "\n";
  }
  EXPECT_NE(seen.find("OpenInitialDBConnection"), std::string::npos);
  EXPECT_EQ((seen + h.fc.gsErrorMsg).find(TestPassword()), std::string::npos) << seen;
  EXPECT_EQ(h.Log().find(TestPassword()), std::string::npos);
}

// ---- decisions seen on the page ----

// Box 56 prints the practice NPI chosen for the practice, billing provider
// and insurance of the claim.
std::string Box56(const std::string& rows, const char* practice_ih, const char* bprov_ih,
                  const char* ins_ih) {
  Formatted r;
  ScratchDir dir;
  MakeRefDb(dir.path() / "ref.db", rows);
  EXPECT_EQ(r.Connect((dir.path() / "ref.db").string()), 0);
  Claim c;
  c.practice.Set(practice::IhCode, practice_ih);
  c.bprovider.Set(bprovider::IhCode, bprov_ih);
  c.insurance.Set(insurance::IhCode, ins_ih);
  r.Run({c});
  return r.At(6.9f, 6.95f);
}

TEST(RefPracticeIdentity, ExactFormBeatsEmptyAndThenExactInsurance) {
  const std::string rows =
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', '', 'ANY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', 'I1', 'INS-ONLY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', '', 'FORM-ONLY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', 'I1', 'BOTH');"
      "INSERT INTO Folio_MultiNPI VALUES ('P2', 'B1', '', 'I1', 'INS-ONLY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P2', 'B1', '', '', 'ANY');"
      "INSERT INTO Folio_MultiNPI VALUES ('O''NEIL', 'B''1', '', '', 'QUOTED');";
  const std::tuple<const char*, const char*, const char*, const char*> kCases[] = {
      {"P1", "B1", "I1", "BOTH"},    {"P1", "B1", "I2", "FORM-ONLY"},
      {"P2", "B1", "I1", "INS-ONLY"}, {"P2", "B1", "I2", "ANY"},
      {"P1", "B2", "I1", "1234567893"},  // no row: the NPI the practice record sent
      {"O'NEIL", "B'1", "I1", "QUOTED"},
      {"P1' OR ''='", "B1", "I1", "1234567893"}};
  for (const auto& [p, b, i, npi] : kCases) EXPECT_EQ(Box56(rows, p, b, i), npi) << p << b << i;
}

TEST(RefPracticeIdentity, OriginalAddressReplacesBoxOneOnItsForms) {
  const std::string rows =
      "INSERT INTO COMPANY VALUES (7, 'River Holdings', '1 Main St', NULL, 'Town', 'pa', '1');"
      "INSERT INTO PRACTICE VALUES ('P1', 7); INSERT INTO PRACTICE VALUES ('P2', 8);";
  for (auto [module, ih, name] :
       {std::tuple{"QVR_UB04_P5_Format", "P1", "RIVER HOLDINGS"},
        {"QVR_UB04_P5_Format", "P2", "SENT NAME"},  // no company row: nothing changes
        {"QVR_UB04PPA_Format", "P1", "SENT NAME"}}) {  // this form never asks
    RefHarness h(rows, module);
    ASSERT_EQ(h.Connect(), 0);
    ASSERT_EQ(h.Send("1000", Full(34, {{practice::IhCode, ih}, {practice::Name, "SENT NAME"},
                                       {practice::PayToAddressLine1, "PO BOX 1"}})),
              0);
    ASSERT_EQ(h.Send("6000", ChargeText()), 0);
    ASSERT_EQ(h.Send("6990", ""), 0);
    EXPECT_EQ(FieldAt(h.Lines(), 0.3f, 0.33f), name) << module << " " << ih;
  }
  RefHarness h(rows + "DROP TABLE COMPANY;", "QVR_UB04_P5_Format");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_EQ(h.Send("1000", Full(34, {{practice::IhCode, "P1"},
                                     {practice::PayToAddressLine1, "PO BOX 1"}})),
            1);
  EXPECT_EQ(h.Msgs(), (std::vector<std::string>{
                          " 3//QVR_UB04_P5_Format.Dll FetchOriginalPracticeAddress   Error: 1 no "
                          "such table: KRV_TABLES.COMPANY//",
                          " 3//QVR_UB04_P5_Format.Dll ParsePracticeRec had an error when "
                          "fetching original practice address//"}));
}

// Box 67's qualifier ("9" or "0") of a charge carrying both code sets.
std::string CodeSet(const std::string& rows, const char* org, const char* ih, const char* date) {
  Formatted r;
  ScratchDir dir;
  if (!rows.empty()) {
    MakeRefDb(dir.path() / "ref.db", rows);
    EXPECT_EQ(r.Connect((dir.path() / "ref.db").string()), 0);
  }
  Claim c;
  c.insurance.Set(insurance::PayerId, "").Set(insurance::AlternatePayerId, org);
  c.insurance.Set(insurance::IhCode, ih);
  c.charge.Set(charge::Icd9Code1, "250.00").Set(charge::ServiceDate, date);
  r.Run({c});
  EXPECT_EQ(r.At(0.32f, 8.95f), r.At(0.2f, 9.14f) == "0" ? "J101" : "250.00");
  return r.At(0.2f, 9.14f);
}

TEST(RefReadiness, LoadedDatesDecideTheCodeSetOfChargesWithBoth) {
  EXPECT_EQ(CodeSet("", "99999", "I1", "09302014"), "9");  // nothing loaded: 1 October 2014
  EXPECT_EQ(CodeSet("", "99999", "I2", "10012014"), "0");
  const std::string rows =
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');"
      "INSERT INTO InsuranceReadiness VALUES (2, '12', '2016-03-01');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'ins3', '2017-01-01');";
  for (auto [org, ih, date, set] :
       {std::tuple{"99999", "I1", "09302015", "9"}, {"99999", "I2", "10012015", "0"},
        {"12345", "I4", "02292016", "9"}, {"12345", "I5", "03012016", "0"},
        {"12345", "INS3", "12312016", "9"}, {"12345", "INS3", "01012017", "0"}})
    EXPECT_EQ(CodeSet(rows, org, ih, date), set) << org << " " << ih << " " << date;
}

// Box 76 shows the billing provider's secondary id only while the payer
// still takes them: its NPI legacy date is ahead.
bool TakesSecondaryIds(const std::string& rows, const std::string& npi_file, const char* payer,
                       const char* ins_ih) {
  Formatted r;
  r.h.WriteNpiFile(npi_file);
  ScratchDir dir;
  if (!rows.empty()) {
    MakeRefDb(dir.path() / "ref.db", rows);
    EXPECT_EQ(r.Connect((dir.path() / "ref.db").string()), 0);
  }
  Claim c;
  c.insurance.Set(insurance::PayerId, payer).Set(insurance::IhCode, ins_ih);
  r.Run({c});
  EXPECT_EQ(r.At(6.1f, 9.5f), "1999999992");  // the NPI always
  return r.At(7.25f, 9.5f) == "G2";
}

TEST(NpiLegacy, InsuranceThenPayerOrganizationThenFormThenStandard) {
  // Standard passed; this form in the future; payer organizations "12"
  // passed and "123" future; insurance INS1 passed and INS2 future.
  const std::string rows =
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '2008-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('01', 'UB04PPA', '2099-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('02', '123', '2099-06-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('02', '12', '2001-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('03', 'ins1', '2000-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('03', 'INS2', '2099-01-01');";
  EXPECT_FALSE(TakesSecondaryIds(rows, "", "12345", "INS1"));
  EXPECT_TRUE(TakesSecondaryIds(rows, "", "12345", "INS2"));  // a future insurance date wins
  EXPECT_TRUE(TakesSecondaryIds(rows, "", "12345", "INS9"));  // the longer prefix decides
  EXPECT_FALSE(TakesSecondaryIds(rows, "", "12999", "INS9"));
  EXPECT_TRUE(TakesSecondaryIds(rows, "", "99999", "INS9"));  // the form's row
  // An empty table falls back to the file.
  EXPECT_TRUE(TakesSecondaryIds("INSERT INTO PRACTICE VALUES ('P1', 1);",
                                "03,INS1,1/1/2099\r\n", "55555", "INS1"));
}

TEST(NpiLegacy, FileWithoutDatabase) {
  EXPECT_TRUE(TakesSecondaryIds("", "00,,5/23/2009\r\n\"03\", \"ins1 x\" ,1/1/2099\r\n", "55555",
                                "INS1 X"));
  EXPECT_TRUE(TakesSecondaryIds("", "00,,5/23/2009\r\n03,INS1,1/1/2099\r\n\r\n", "55555", "INS1"));
  EXPECT_FALSE(TakesSecondaryIds("", "", "55555", "INS1"));  // no file: 23 May 2008 passed
  MessageBoxCapture boxes;
  EXPECT_FALSE(TakesSecondaryIds("", "03,INS1,1/1/2000\r\n03,INS2,31/12/2099\r\n", "55555",
                                 "INS2"));  // the load stopped at the bad date
  EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Error 13: Type Mismatch\n03INS231/12/2099"});
}

// ---- other-insurance billing IDs ----

// A claim of practice P1 (default ID "DEF") on billing form F1 sent to h:
// its end of charge primes the practice's cache.
void StartClaim(RefHarness& h, const char* practice_ih = "P1") {
  const Rec practice =
      Full(21, {{practice::IhCode, practice_ih}, {practice::DefaultBillingId, "DEF"}});
  ASSERT_EQ(h.fc.FormatRecord(Key("1000", "F1"), practice.str()), 0);
  ASSERT_EQ(h.fc.FormatRecord(Key("6000", "F1"), ChargeText().str()), 0);
  h.fc.FormatRecord(Key("6990", "F1"), "");
}

TEST(OtherInsIds, ExactKeysAndLatestActivationWinOverTheDefault) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'I1', 'F1', 'OLD~1', '2015-01-01');"
      "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'I1', 'F1', 'NEW~2', '2016-01-01');"
      "INSERT INTO Insurance_Override VALUES (1609, 'P1', '*', 'I2', '*', 'ANYFORM', '2015-01-01');"
      "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'O''B', 'F1', 'QUOTED', '');"
      "INSERT INTO Insurance_Override VALUES (1609, 'P2', 'P2', 'I3', 'F1', 'OTHER', '');"
      "INSERT INTO Insurance_Override VALUES (1608, 'P1', 'P1', 'I3', 'F1', 'KIND', '');");
  ASSERT_EQ(h.Connect(), 0);
  StartClaim(h);
  for (auto [ih, id] : {std::pair{"I1", "NEW"}, {"I2", "ANYFORM"}, {"O'B", "QUOTED"},
                        {"I3", "DEF"}, {"*", "DEF"}, {"I1' OR '1'='1", "DEF"}})
    EXPECT_EQ(h.fc.OtherInsuranceBillingId(ih), id) << ih;
  ExecSql(h.db, "DELETE FROM Insurance_Override;");
  EXPECT_EQ(h.fc.OtherInsuranceBillingId("I1"), "NEW");  // from the cache
  EXPECT_TRUE(h.Msgs().empty());
}

TEST(OtherInsIds, WildcardRowAnswersEveryMissAndTheCacheGrows) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Insurance_Override VALUES (1609, '*', '*', '*', '*', 'W1~W2', '');"
      "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'X7', 'F1', 'SEVEN', '');");
  ASSERT_EQ(h.Connect(), 0);
  StartClaim(h);
  for (int k = 1; k <= 45; ++k) h.fc.OtherInsuranceBillingId("X" + std::to_string(k));
  ExecSql(h.db, "DELETE FROM Insurance_Override;");  // the answers now come from the cache
  EXPECT_EQ(h.fc.OtherInsuranceBillingId("X7"), "SEVEN");
  EXPECT_EQ(h.fc.OtherInsuranceBillingId("X8"), "W1");
  EXPECT_EQ(h.fc.OtherInsuranceBillingId("X45"), "W1");
  EXPECT_EQ(h.fc.OtherInsuranceBillingId("X46"), "W1");  // a miss: the wildcard of slot 1
  EXPECT_TRUE(h.Msgs().empty());
}

// A quote in the practice code is data, not SQL.
TEST(OtherInsIds, PracticeCodeWithAQuotePrimesWithoutError) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('O''B', 1);"
      "INSERT INTO Insurance_Override VALUES (1609, 'O''B', 'O''B', 'I1', 'F1', 'ID1', '');");
  ASSERT_EQ(h.Connect(), 0);
  StartClaim(h, "O'B");
  EXPECT_TRUE(h.Msgs().empty());
  EXPECT_EQ(h.fc.OtherInsuranceBillingId("I1"), "ID1");
}

TEST(OtherInsIds, MissingTableIsReportedWhenAClaimStarts) {
  RefHarness h("INSERT INTO PRACTICE VALUES ('P1', 1); DROP TABLE Insurance_Override;");
  ASSERT_EQ(h.Connect(), 0);
  ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
  ASSERT_EQ(h.Send("6000", ChargeText()), 0);
  h.Send("6990", "");
  EXPECT_EQ(h.Msgs(), std::vector<std::string>{
                          " 3//QVR_UB04PPA_Format.Dll FetchOInsPracticeBillingIDFromDB    Error: "
                          "1 no such table: KRV_TABLES.Insurance_Override//"});
}

}  // namespace
}  // namespace ub04::test
