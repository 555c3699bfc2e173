// The "CONNECTIONSTRING" message over SQLite reference files: the owner
// retry, the tables loaded at start, starting over, the password; and the
// practice-identity and readiness lookups over the loaded data.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "refdata/readiness.h"
#include "refdata/refdata.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

using test::ExecSql;
using test::RefHarness;

constexpr const char* kOpenError =
    " 3//QVR_UB04PPA_Format.Dll had a problem in OpenInitialDBConnection()  Error:";

TEST(RefConnect, SqliteFileAnswersTheOwnerNameAndLoadsBothTables) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '2009-01-01 00:00:00');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'ins9', '2016-01-01');"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_TRUE(h.messages.empty());
  const RefState& ref = Rs().ref;
  EXPECT_TRUE(ref.db_connection_good);
  EXPECT_TRUE(ref.owner_prefix);
  EXPECT_EQ(ref.npi_legacy_note, "\r\n** Opening NPILegacy From DB\r\n  RecordCount =  1");
  ASSERT_EQ(ref.npi_legacy.size(), 1u);
  EXPECT_EQ(ref.npi_legacy[0].date, DateFromYmd(2009, 1, 1));
  // Rows in table order; the first one's date is the reported global date.
  ASSERT_EQ(ref.readiness.size(), 2u);
  EXPECT_EQ(ref.readiness[1].level_code, "INS9");
  EXPECT_EQ(ref.icd10_readiness_note, ">> Global ICD10 Readiness Date figured is: 10/1/2015\r\n");
  EXPECT_EQ(ref.icd10_ready_ins_code, "?");
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

TEST(RefConnect, MissingReadinessTableGivesTheDefaultRow) {
  RefHarness h("INSERT INTO PRACTICE VALUES ('P1', 1); DROP TABLE InsuranceReadiness;");
  EXPECT_EQ(h.Connect(), 0);
  EXPECT_EQ(Rs().ref.icd10_readiness_note,
            "InsuranceReadiness table is not in db schema yet. Defaulting icd10 global date to "
            "12-31-2017\r\n");
  ASSERT_EQ(Rs().ref.readiness.size(), 1u);
  EXPECT_EQ(Rs().ref.readiness[0].level_type, "1");
  EXPECT_EQ(Rs().ref.readiness[0].level_code, "SYSTEM");
  EXPECT_EQ(Rs().ref.readiness[0].ready_date, DateFromYmd(2017, 12, 31));
}

TEST(RefConnect, BadRowsStopTheLoadsAsInformation) {
  RefHarness h(
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '13/01/2009');"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'X', 'never');");
  EXPECT_EQ(h.Connect(), 0);
  ASSERT_EQ(h.messages.size(), 2u);
  EXPECT_EQ(h.messages[0],
            " 1//QVR_UB04PPA_Format.Dll LoadNPILegacyDateArray  Error: 13 Type mismatch//");
  EXPECT_EQ(h.messages[1],
            " 1//QVR_UB04PPA_Format.Dll LoadInsReadinessTableArray  Error: 13 Type mismatch//");
  // The failed database load falls back to the (missing) file.
  EXPECT_TRUE(Rs().ref.npi_legacy.empty());
  EXPECT_NE(Rs().ref.npi_legacy_note.find("  File Not Found"), std::string::npos);
  ASSERT_EQ(Rs().ref.readiness.size(), 1u);  // only whole rows are kept
}

TEST(RefConnect, BothAttemptsFailingLeaveNoDatabase) {
  RefHarness h("DROP TABLE PRACTICE;");
  EXPECT_EQ(h.Connect(), 3);
  ASSERT_EQ(h.messages.size(), 2u);
  EXPECT_EQ(h.messages[0], std::string(kOpenError) + " 1 no such table: KRV_TABLES.PRACTICE//");
  EXPECT_EQ(h.messages[1], std::string(kOpenError) + " 1 no such table: PRACTICE//");
  EXPECT_FALSE(Rs().ref.db_connection_good);
  EXPECT_FALSE(Rs().ref.owner_prefix);
  EXPECT_FALSE(Rs().ref.npi_legacy_loaded);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I1"), "");
}

TEST(RefConnect, NewConnectionStartsOver) {
  RefHarness h("INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_FALSE(Rs().ref.readiness.empty());
  EXPECT_EQ(h.Connect(h.dir.str() + "/missing.db"), 3);
  EXPECT_FALSE(Rs().ref.db_connection_good);
  EXPECT_EQ(Rs().ref.db, nullptr);
  EXPECT_TRUE(Rs().ref.readiness.empty());
  EXPECT_TRUE(Rs().ref.icd10_readiness_note.empty());
  ASSERT_EQ(h.Connect(), 0);
  CloseDatabaseConnection();
  EXPECT_FALSE(Rs().ref.db_connection_good);
  EXPECT_EQ(Rs().ref.db, nullptr);
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
  seen += h.fc.gsErrorMsg;
  EXPECT_NE(seen.find("OpenInitialDBConnection"), std::string::npos);
  EXPECT_EQ(seen.find("kw4tr7nmzq"), std::string::npos) << seen;
  h.fc.ProcessEndOfFile();
  std::string log = test::ReadFile(h.dir.path() / "QVR_UB04PPA_Format.Log");
  EXPECT_EQ(log.find("kw4tr7nmzq"), std::string::npos);
}

// Folio_MultiNPI rows for practice P1 and provider B1: exact form and
// insurance, exact form only, exact insurance only, neither.
constexpr const char* kMultiNpiRows =
    "INSERT INTO PRACTICE VALUES ('P1', 1);"
    "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', '', 'ANY');"
    "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', 'I1', 'INS-ONLY');"
    "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', '', 'FORM-ONLY');"
    "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', 'I1', 'BOTH');"
    "INSERT INTO Folio_MultiNPI VALUES ('O''NEIL', 'B''1', '', '', 'QUOTED');";

TEST(RefPracticeIdentity, ExactFormBeatsEmptyAndThenExactInsurance) {
  RefHarness h(kMultiNpiRows);
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I1"), "BOTH");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I2"), "FORM-ONLY");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B2", "I1"), "");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("O'NEIL", "B'1", "I1"), "QUOTED");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1' OR ''='", "B1", "I1"), "");
  EXPECT_TRUE(test::Messages(h.fc).empty());
}

TEST(RefPracticeIdentity, OtherFormsUseTheRowsWithoutAForm) {
  test::ScratchDir dir;
  auto file = dir.path() / "ref.db";
  test::MakeRefDb(file, kMultiNpiRows);
  Format_Class fc("QVR_UB04PPB_Format");
  fc.HereIsAMessage("CONNECTIONSTRING", file.string());
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I1"), "INS-ONLY");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I2"), "ANY");
}

TEST(RefPracticeIdentity, OriginalAddressReplacesBoxOneLines) {
  RefHarness h(
      "INSERT INTO COMPANY VALUES (7, 'River Holdings', '1 Main St', NULL, 'Town', 'pa', "
      "'17000');"
      "INSERT INTO PRACTICE VALUES ('P1', 7); INSERT INTO PRACTICE VALUES ('P2', 8);");
  auto practice = [](const std::string& ih) {
    Record r(&kPracticeLayout);
    r[practice::IhCode] = ih;
    r[practice::Name] = "SENT NAME";
    r[practice::AddressLine2] = "SENT LINE 2";
    r[practice::Country] = "CA";
    return r;
  };
  Record none = practice("P1");
  EXPECT_TRUE(FetchOriginalPracticeAddress(none));  // no connection string: untouched
  EXPECT_EQ(none[practice::Name], "SENT NAME");

  ASSERT_EQ(h.Connect(), 0);
  Record p1 = practice("P1");
  EXPECT_TRUE(FetchOriginalPracticeAddress(p1));
  EXPECT_EQ(p1[practice::Name], "RIVER HOLDINGS");
  EXPECT_EQ(p1[practice::AddressLine2], "");
  EXPECT_EQ(p1[practice::State], "PA");
  EXPECT_EQ(p1[practice::OriginalName], "SENT NAME");
  EXPECT_EQ(p1[practice::OriginalAddressLine2], "SENT LINE 2");
  EXPECT_EQ(p1[practice::OriginalCountry], "CA");

  Record p2 = practice("P2");  // no company row
  EXPECT_TRUE(FetchOriginalPracticeAddress(p2));
  EXPECT_EQ(p2[practice::Name], "SENT NAME");
  EXPECT_EQ(p2[practice::OriginalName], "");

  ExecSql(h.db, "DROP TABLE COMPANY;");
  EXPECT_FALSE(FetchOriginalPracticeAddress(p2));
  EXPECT_EQ(test::Messages(h.fc),
            std::vector<std::string>{" 3//QVR_UB04PPA_Format.Dll FetchOriginalPracticeAddress"
                                     "   Error: 1 no such table: KRV_TABLES.COMPANY//"});
}

// A charge carrying both code sets, served on date (MMDDYYYY), for the
// current insurance ih with payer organization org.
std::string CodeSetFor(const std::string& org, const std::string& ih, const std::string& date) {
  Record& ins = Rs().claim.this_top.insurance;
  ins[insurance::AlternatePayerId] = org;
  ins[insurance::IhCode] = ih;
  Record ch(&kChargeLayout);
  ch[charge::Icd9Code1] = "250.00";
  ch[charge::Icd10Code1] = "E11.9";
  ch[charge::ServiceDate] = date;
  ChooseDiagnosisCodeSet(ch);
  return ch[charge::DiagnosisCodeSet] + " " + ch[charge::Diagnosis1];
}

TEST(RefReadiness, LoadedDatesDecideTheCodeSetOfChargesWithBoth) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');"
      "INSERT INTO InsuranceReadiness VALUES (2, '12', '2016-03-01');"
      "INSERT INTO InsuranceReadiness VALUES (3, 'ins3', '2017-01-01');");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_EQ(CodeSetFor("99999", "I1", "09302015"), "9 250.00");
  EXPECT_EQ(CodeSetFor("99999", "I2", "10012015"), "10 E11.9");
  EXPECT_EQ(CodeSetFor("12345", "I4", "02292016"), "9 250.00");
  EXPECT_EQ(CodeSetFor("12345", "I5", "03012016"), "10 E11.9");
  EXPECT_EQ(CodeSetFor("12345", "INS3", "12312016"), "9 250.00");
  EXPECT_EQ(CodeSetFor("12345", "INS3", "01012017"), "10 E11.9");
}

TEST(RefReadiness, WithoutDatabaseTheStandardDateDecides) {
  RefHarness h;
  EXPECT_EQ(CodeSetFor("12345", "I1", "09302014"), "9 250.00");
  EXPECT_EQ(CodeSetFor("12345", "I2", "10012014"), "10 E11.9");
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
  EXPECT_EQ(CodeSetFor("12345", "INS1", "12312015"), "9 250.00");
  EXPECT_EQ(CodeSetFor("12345", "INS2", "12312015"), "10 E11.9");
}

}  // namespace
}  // namespace ub04
