// "CONNECTIONSTRING" over SQLite reference files: the owner retry, the
// tables loaded at start, starting over, the password; and the practice
// identity and readiness lookups over the loaded data.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "refdata/readiness.h"
#include "refdata/refdata.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

using test::ExecSql;
using test::RefHarness;

const std::string kOpenError =
    " 3//QVR_UB04PPA_Format.Dll had a problem in OpenInitialDBConnection()  Error: 1 ";

TEST(RefConnect, SqliteFileAnswersTheOwnerNameAndLoadsBothTables) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '2009-01-01 00:00:00');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'ins9', '2016-01-01');"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_TRUE(h.messages.empty());
  const RefState& ref = Rs().ref;
  EXPECT_TRUE(ref.db_connection_good && ref.owner_prefix);
  EXPECT_EQ(ref.npi_legacy_note, "\r\n** Opening NPILegacy From DB\r\n  RecordCount =  1");
  ASSERT_EQ(ref.readiness.size(), 2u);
  EXPECT_EQ(ref.readiness[1].level_code, "INS9");
  EXPECT_EQ(ref.icd10_readiness_note, ">> Global ICD10 Readiness Date figured is: 10/1/2015\r\n");

  // Without InsuranceReadiness the standard date is 31 December 2017.
  ExecSql(h.db, "DROP TABLE InsuranceReadiness;");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_EQ(ref.icd10_readiness_note,
            "InsuranceReadiness table is not in db schema yet. Defaulting icd10 global date to "
            "12-31-2017\r\n");
  ASSERT_EQ(ref.readiness.size(), 1u);
  EXPECT_EQ(ref.readiness[0].level_code, "SYSTEM");
  EXPECT_EQ(ref.readiness[0].ready_date, DateFromYmd(2017, 12, 31));
}

TEST(RefConnect, EmptyConnectionStringOpensNothing) {
  RefHarness h;
  Rs().connection_string.clear();
  ConnectToDatabase();
  EXPECT_FALSE(Rs().ref.db_connection_good);
  EXPECT_EQ(Rs().ref.db, nullptr);
  EXPECT_FALSE(Rs().ref.npi_legacy_loaded);
  EXPECT_TRUE(test::Messages(h.fc).empty());
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
  EXPECT_NE(Rs().ref.npi_legacy_note.find("  File Not Found"), std::string::npos);
  EXPECT_EQ(Rs().ref.readiness.size(), 1u);  // only whole rows are kept
}

TEST(RefConnect, BothAttemptsFailingThenAGoodOneStartOver) {
  RefHarness h("DROP TABLE PRACTICE;");
  EXPECT_EQ(h.Connect(), 3);
  EXPECT_EQ(h.messages, (std::vector<std::string>{kOpenError + "no such table: "
                                                               "KRV_TABLES.PRACTICE//",
                                                  kOpenError + "no such table: PRACTICE//"}));
  EXPECT_FALSE(Rs().ref.db_connection_good);
  EXPECT_EQ(Rs().ref.db, nullptr);
  EXPECT_FALSE(Rs().ref.npi_legacy_loaded);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I1"), "");

  ExecSql(h.db, "CREATE TABLE PRACTICE (IH_Code TEXT, Company_ID_Number INTEGER);");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_TRUE(Rs().ref.owner_prefix);  // back to the owner name
  EXPECT_EQ(h.Connect(h.dir.str() + "/missing.db"), 3);
  EXPECT_FALSE(Rs().ref.db_connection_good);
  EXPECT_TRUE(Rs().ref.icd10_readiness_note.empty());  // the old tables went too
}

TEST(RefConnect, PasswordNeverReachesMessagesOrTheLog) {
  RefHarness h("DROP TABLE PRACTICE;");
  h.fc.HereIsAMessage("1", h.dir.str());
  h.fc.HereIsAMessage("5", "2");
  std::string seen;
  for (const std::string& dsn : {h.db.string(), std::string("ub04-no-such-dsn"), std::string()}) {
    h.Connect(dsn);
    for (const std::string& m : h.messages) seen += m + "\n";
  }
  EXPECT_NE(seen.find("OpenInitialDBConnection"), std::string::npos);
  EXPECT_EQ((seen + h.fc.gsErrorMsg).find("kw4tr7nmzq"), std::string::npos) << seen;
  h.fc.ProcessEndOfFile();
  EXPECT_EQ(test::ReadFile(h.dir.path() / "QVR_UB04PPA_Format.Log").find("kw4tr7nmzq"),
            std::string::npos);
}

TEST(RefPracticeIdentity, ExactFormBeatsEmptyAndThenExactInsurance) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', '', 'ANY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', 'I1', 'INS-ONLY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', '', 'FORM-ONLY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', 'I1', 'BOTH');"
      "INSERT INTO Folio_MultiNPI VALUES ('P2', 'B1', '', 'I1', 'INS-ONLY');"
      "INSERT INTO Folio_MultiNPI VALUES ('P2', 'B1', '', '', 'ANY');"
      "INSERT INTO Folio_MultiNPI VALUES ('O''NEIL', 'B''1', '', '', 'QUOTED');");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I1"), "BOTH");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I2"), "FORM-ONLY");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P2", "B1", "I1"), "INS-ONLY");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P2", "B1", "I2"), "ANY");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B2", "I1"), "");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("O'NEIL", "B'1", "I1"), "QUOTED");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1' OR ''='", "B1", "I1"), "");
  EXPECT_TRUE(test::Messages(h.fc).empty());
}

TEST(RefPracticeIdentity, OriginalAddressReplacesBoxOneLines) {
  RefHarness h(
      "INSERT INTO COMPANY VALUES (7, 'River Holdings', '1 Main St', NULL, 'Town', 'pa', '1');"
      "INSERT INTO PRACTICE VALUES ('P1', 7); INSERT INTO PRACTICE VALUES ('P2', 8);");
  auto practice = [](const std::string& ih) {
    Record r(&kPracticeLayout);
    r[practice::IhCode] = ih;
    r[practice::Name] = "SENT NAME";
    r[practice::Country] = "CA";
    return r;
  };
  Record p1 = practice("P1");
  EXPECT_TRUE(FetchOriginalPracticeAddress(p1));  // no connection string: untouched
  EXPECT_EQ(p1[practice::Name], "SENT NAME");

  ASSERT_EQ(h.Connect(), 0);
  EXPECT_TRUE(FetchOriginalPracticeAddress(p1));
  EXPECT_EQ(p1[practice::Name], "RIVER HOLDINGS");
  EXPECT_EQ(p1[practice::AddressLine2], "");
  EXPECT_EQ(p1[practice::State], "PA");
  EXPECT_EQ(p1[practice::OriginalName], "SENT NAME");
  EXPECT_EQ(p1[practice::OriginalCountry], "CA");
  Record p2 = practice("P2");  // no company row: nothing changes
  EXPECT_TRUE(FetchOriginalPracticeAddress(p2));
  EXPECT_EQ(p2[practice::Name], "SENT NAME");
  EXPECT_EQ(p2[practice::OriginalName], "");

  ExecSql(h.db, "DROP TABLE COMPANY;");
  EXPECT_FALSE(FetchOriginalPracticeAddress(p2));
  EXPECT_EQ(test::Messages(h.fc),
            std::vector<std::string>{" 3//QVR_UB04PPA_Format.Dll FetchOriginalPracticeAddress"
                                     "   Error: 1 no such table: KRV_TABLES.COMPANY//"});
}

// The code set of a charge carrying both sets, served on date (MMDDYYYY),
// for insurance ih of payer organization org.
std::string CodeSetFor(const std::string& org, const std::string& ih, const std::string& date) {
  Record& ins = Rs().claim.this_top.insurance;
  ins[insurance::AlternatePayerId] = org;
  ins[insurance::IhCode] = ih;
  Record ch(&kChargeLayout);
  ch[charge::Icd9Code1] = "250.00";
  ch[charge::Icd10Code1] = "E11.9";
  ch[charge::ServiceDate] = date;
  ChooseDiagnosisCodeSet(ch);
  return ch[charge::DiagnosisCodeSet];
}

TEST(RefReadiness, LoadedDatesDecideTheCodeSetOfChargesWithBoth) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');"
      "INSERT INTO InsuranceReadiness VALUES (2, '12', '2016-03-01');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'ins3', '2017-01-01');");
  EXPECT_EQ(CodeSetFor("99999", "I1", "09302014"), "9");  // nothing loaded: 1 October 2014
  EXPECT_EQ(CodeSetFor("99999", "I2", "10012014"), "10");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_EQ(CodeSetFor("99999", "I1", "09302015"), "9");
  EXPECT_EQ(CodeSetFor("99999", "I2", "10012015"), "10");
  EXPECT_EQ(CodeSetFor("12345", "I4", "02292016"), "9");
  EXPECT_EQ(CodeSetFor("12345", "I5", "03012016"), "10");
  EXPECT_EQ(CodeSetFor("12345", "INS3", "12312016"), "9");
  EXPECT_EQ(CodeSetFor("12345", "INS3", "01012017"), "10");
}

TEST(RefConnect, ExampleDatabaseServesTheExampleBatch) {
  RefHarness h;
  std::filesystem::remove(h.db);
  ExecSql(h.db, test::ReadFile(std::filesystem::path(UB04_SOURCE_DIR) / "examples/reference.sql"));
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_TRUE(h.messages.empty());
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("PR1", "BP1", "INS1"), "1234567893");
  FetchNPILegacyDates("12345", "INS1", kDateNotSet);
  EXPECT_FALSE(NpiOnly());
  EXPECT_EQ(CodeSetFor("12345", "INS1", "12312015"), "9");
  EXPECT_EQ(CodeSetFor("12345", "INS2", "12312015"), "10");
}

}  // namespace
}  // namespace ub04
