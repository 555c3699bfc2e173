// NPI legacy dates: which cut-over date decides NpiOnly, and loading the
// table from the database or from FOLIO_CFG_NPICMS.DAT.
#include <gtest/gtest.h>

#include <fstream>

#include "refdata/refdata.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

using test::RefHarness;

bool NpiOnlyFor(const std::string& org, const std::string& ins, Date form_date = kDateNotSet) {
  FetchNPILegacyDates(org, ins, form_date);
  return NpiOnly();
}

TEST(NpiLegacy, InsuranceThenPayerOrganizationThenFormThenStandard) {
  // Standard passed; this form in the future; payer organizations "12"
  // passed and "123" future; insurance INS1 passed and INS2 future.
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Folio_NpiLegacy VALUES ('00', '', '2008-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('01', 'UB04PPA', '2099-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('02', '123', '2099-06-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('02', '12', '2001-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('03', 'ins1', '2000-01-01');"
      "INSERT INTO Folio_NpiLegacy VALUES ('03', 'INS2', '2099-01-01');");
  h.fc.HereIsAMessage("1", h.dir.str());
  h.fc.HereIsAMessage("5", "2");
  ASSERT_EQ(h.Connect(), 0);
  EXPECT_TRUE(NpiOnlyFor("12345", "INS1"));
  EXPECT_FALSE(NpiOnlyFor("12345", "INS2"));  // a future insurance date wins
  EXPECT_FALSE(NpiOnlyFor("12345", "INS9"));  // both prefixes match; the longer decides
  EXPECT_TRUE(NpiOnlyFor("12999", "INS9"));
  EXPECT_FALSE(NpiOnlyFor("99999", "INS9"));  // the form's row
  h.fc.ProcessEndOfFile();
  std::string log = test::ReadFile(h.dir.path() / "QVR_UB04PPA_Format.Log");
  EXPECT_NE(log.find("\"PayorOrg,InsIHCode,StopDt: 12999,INS9,1/1/1900\"\r\n"
                     "\" >> NPI DATES   g_NPILegacy_InsuranceIHCodeDate: 1/1/1900\"\r\n"
                     "\" >> NPI DATES   g_NPILegacy_PayorOrgDate: 1/1/2001\"\r\n"
                     "\" >> NPI DATES   g_NPILegacy_BillFormDate: 1/1/2099\"\r\n"
                     "\" >> NPI DATES   g_NPILegacy_StandardDate: 1/1/2008\"\r\n"
                     "\">> NPILegacyDate Bailing on PayorOrgDate  datepassed = True\"\r\n"),
            std::string::npos)
      << log;

  // Another form has no row of its own: the default form date, else the
  // standard date.
  Format_Class other("QVR_UB04PPB_Format");
  ASSERT_EQ(other.HereIsAMessage("CONNECTIONSTRING", h.db.string()), 0);
  EXPECT_TRUE(NpiOnlyFor("99999", "INS9"));
  EXPECT_FALSE(NpiOnlyFor("99999", "INS9", DateFromYmd(2098, 1, 1)));
}

class NpiLegacyFile : public ::testing::Test {
 protected:
  void Write(const std::string& text) {
    std::ofstream(h_.dir.path() / "FOLIO_CFG_NPICMS.DAT", std::ios::binary) << text;
  }
  std::string Opening() const {
    return "\r\n** Opening NPIlegacy_File: " + h_.dir.str() + "/FOLIO_CFG_NPICMS.DAT\r\n";
  }
  RefHarness h_;
};

TEST_F(NpiLegacyFile, WithoutDatabaseTheFileIsReadWhenFirstNeeded) {
  Write("00,,5/23/2009\r\n\"03\", \"ins1 x\" ,1/1/2099\r\n02, 12 ,2001-01-01\r\n");
  EXPECT_FALSE(Rs().ref.npi_legacy_loaded);
  EXPECT_FALSE(NpiOnlyFor("55555", "INS1 X"));
  ASSERT_EQ(Rs().ref.npi_legacy.size(), 3u);
  EXPECT_EQ(Rs().ref.npi_legacy[2].value, "12");
  EXPECT_EQ(Rs().ref.npi_legacy_note, Opening() + "\r\n  RecordCount =  3\r\n");
}

TEST_F(NpiLegacyFile, BlankLastLineMissingFileAndBadDateAreReported) {
  Write("00,,5/23/2009\r\n03,INS1,1/1/2099\r\n\r\n");
  EXPECT_FALSE(NpiOnlyFor("55555", "INS1"));
  EXPECT_EQ(Rs().ref.npi_legacy_note,
            Opening() + " (extra blank line found at end)\r\n  RecordCount =  2");

  std::filesystem::remove(h_.dir.path() / "FOLIO_CFG_NPICMS.DAT");
  LoadNPILegacyDateArray();
  EXPECT_TRUE(NpiOnlyFor("55555", "INS1"));  // 23 May 2008
  EXPECT_EQ(Rs().ref.npi_legacy_note, Opening() + "  File Not Found\r\n  RecordCount =  0");

  test::MessageBoxCapture boxes;
  Write("03,INS1,1/1/2099\r\n03,INS2,31/12/2099\r\n03,INS3,1/1/2000\r\n");
  LoadNPILegacyDateArray();
  EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Error 13: Type Mismatch\n03INS231/12/2099"});
  EXPECT_EQ(Rs().ref.npi_legacy_note, Opening() + "\r\n  RecordCount =  1");
}

TEST_F(NpiLegacyFile, EmptyDatabaseTableFallsBackToTheFile) {
  test::ExecSql(h_.db, "INSERT INTO PRACTICE VALUES ('P1', 1);");
  Write("03,INS1,1/1/2099\r\n");
  ASSERT_EQ(h_.Connect(), 0);
  EXPECT_EQ(Rs().ref.npi_legacy_note, "\r\n** Opening NPILegacy From DB\r\n  RecordCount =  0" +
                                          Opening() + "\r\n  RecordCount =  1\r\n");
  EXPECT_FALSE(NpiOnlyFor("55555", "INS1"));
}

TEST(NpiLegacy, FileIsLookedForBesideTheComponent) {
  Format_Class fc;
  EXPECT_EQ(std::filesystem::path(ComponentFolder()),
            std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

}  // namespace
}  // namespace ub04
