// The database seam over SQLite files: bound parameters, cursors, the SQL
// Server names the queries use, read-only access; and the date texts the
// reference tables hold.
#include <gtest/gtest.h>

#include "refdata/database.h"
#include "refdata/ref_dates.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

using test::MakeRefDb;
using test::ScratchDir;

class SqliteSeam : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeRefDb(file_,
              "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', '', '111');"
              "INSERT INTO Folio_MultiNPI VALUES ('O''BRIEN', 'B1', '', '', '222');"
              "INSERT INTO Folio_MultiNPI VALUES ('P2', 'B1', '', '', NULL);");
    db_ = OpenDatabase("DSN=" + file_.string() + ";UID=VRXUser;PWD=secret");
  }
  std::string FirstNpi(const std::string& practice) {
    auto rows = db_->Query("SELECT * FROM Folio_MultiNPI WHERE Practice_IH_Code = ?", {practice});
    return rows->Eof() ? "<none>" : rows->Field("alternate_npi");
  }
  ScratchDir dir_;
  std::filesystem::path file_ = dir_.path() / "ref.db";
  std::unique_ptr<DbConnection> db_;
};

TEST_F(SqliteSeam, BoundValuesMatchExactlyEvenWithQuotes) {
  EXPECT_EQ(FirstNpi("P1"), "111");
  EXPECT_EQ(FirstNpi("O'BRIEN"), "222");
  EXPECT_EQ(FirstNpi("x' OR '1'='1"), "<none>");
  EXPECT_EQ(FirstNpi("P2"), "");  // NULL reads as ""
}

TEST_F(SqliteSeam, CursorWalksForwardAndNamesColumnsWithoutCase) {
  auto rows = db_->Query("SELECT Practice_IH_Code FROM Folio_MultiNPI ORDER BY 1", {});
  std::vector<std::string> seen;
  for (; !rows->Eof(); rows->MoveNext()) seen.push_back(rows->Field("PRACTICE_ih_CODE"));
  EXPECT_EQ(seen, (std::vector<std::string>{"O'BRIEN", "P1", "P2"}));
  try {
    rows->Field("Practice_IH_Code");
    FAIL() << "read past the end";
  } catch (const RtError& e) {
    EXPECT_EQ(e.number(), 3021);
  }
  auto one = db_->Query("SELECT 1 AS A", {});
  EXPECT_THROW(one->Field("B"), RtError);
}

TEST_F(SqliteSeam, AnswersTheHostOwnerAndCatalogueNames) {
  EXPECT_EQ(db_->Query("SELECT * FROM [KRV_TABLES].Folio_MultiNPI WHERE Practice_IH_Code = 'P1'",
                       {})->Field("Alternate_NPI"),
            "111");
  EXPECT_NO_THROW(db_->Query("SELECT * FROM [dbo].InsuranceReadiness", {}));
  auto count = [&](const std::string& name) {
    return db_->Query("SELECT COUNT(*) AS \"ROWCOUNT\" FROM sys.tables WHERE name = ?", {name})
        ->Field("ROWCOUNT");
  };
  EXPECT_EQ(count("InsuranceReadiness"), "1");
  EXPECT_EQ(count("insurancereadiness"), "1");
  EXPECT_EQ(count("NoSuchTable"), "0");
}

TEST_F(SqliteSeam, NothingCanBeWritten) {
  for (const char* sql : {"INSERT INTO PRACTICE VALUES ('X', 1)",
                          "INSERT INTO [KRV_TABLES].PRACTICE VALUES ('X', 1)",
                          "DELETE FROM sys.tables", "CREATE TABLE t (a)",
                          "ATTACH DATABASE '/tmp/ub04-other.db' AS other"})
    EXPECT_THROW(db_->Query(sql, {}), RtError) << sql;
  EXPECT_THROW(db_->Query("SELECT 1; DELETE FROM PRACTICE", {}), RtError);
  EXPECT_EQ(FirstNpi("P1"), "111");
}

TEST(DatabaseSeam, ErrorsCarryTheDriverTextWithoutThePassword) {
  ScratchDir dir;
  auto file = dir.path() / "ref.db";
  MakeRefDb(file);
  auto db = OpenDatabase("DSN=" + file.string() + ";UID=VRXUser;PWD=kw4tr7nmzq");
  try {
    db->Query("SELECT IH_CODE FROM Nowhere", {});
    FAIL();
  } catch (const RtError& e) {
    EXPECT_EQ(ErrorText(e), " 1 no such table: Nowhere");
  }
  EXPECT_EQ(MaskPassword("login DSN=x;UID=u;PWD=kw4tr7nmzq failed: kw4tr7nmzq",
                         "DSN=x;UID=u;PWD=kw4tr7nmzq"),
            "login DSN=x;UID=u;PWD=*** failed: ***");
}

TEST(DatabaseSeam, FileNamesWithUriCharactersOpenUnderEveryOwner) {
  ScratchDir dir;
  auto file = dir.path() / "ref db #1 ?x=%20.db";
  MakeRefDb(file, "INSERT INTO PRACTICE VALUES ('P1', 1);");
  auto db = OpenDatabase("DSN=" + file.string() + ";UID=VRXUser;PWD=p");
  EXPECT_EQ(db->Query("SELECT IH_Code FROM [KRV_TABLES].PRACTICE", {})->Field("IH_Code"), "P1");
  EXPECT_EQ(db->Query("SELECT IH_Code FROM [dbo].PRACTICE", {})->Field("IH_Code"), "P1");
}

TEST(DatabaseSeam, BlankDsnReachesNoDriver) {
  ScratchDir dir;
  auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  for (const char* cs : {"DSN=;UID=VRXUser;PWD=kw4tr7nmzq", "DSN=  ;UID=VRXUser;PWD=kw4tr7nmzq"}) {
    try {
      OpenDatabase(cs);
      ADD_FAILURE() << cs;
    } catch (const RtError& e) {
      EXPECT_EQ(ErrorText(e), " 5 The connection string names no data source");
    }
  }
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(DatabaseSeam, DsnIsTheTextBeforeTheAppendedLogin) {
  EXPECT_EQ(DsnOf("DSN=/data/ref.db;UID=VRXUser;PWD=p"), "/data/ref.db");
  EXPECT_EQ(DsnOf("DSN=a;b.db;UID=VRXUser;PWD=p"), "a;b.db");
  EXPECT_EQ(DsnOf("DSN=host;Database=x"), "host");
  EXPECT_EQ(DsnOf("Driver=x"), "");
}

TEST(RefDates, ThreeFormsAndNoSwappedMonths) {
  Date ny = DateFromYmd(2017, 12, 31);
  EXPECT_EQ(RefDateFromText("2017-12-31"), ny);
  EXPECT_EQ(RefDateFromText("2017-12-31 00:00:00"), ny);
  EXPECT_EQ(RefDateFromText("2017-12-31 23:59:59.997"), ny);
  EXPECT_EQ(RefDateFromText("12/31/2017"), ny);
  EXPECT_EQ(RefDateFromText("1/2/2017"), DateFromYmd(2017, 1, 2));
  for (const char* bad : {"", "2017-13-01", "2017-31-12", "31/12/2017", "2017-12-31x",
                          "2017-12", "SOON"})
    EXPECT_THROW(RefDateFromText(bad), RtError) << bad;
  EXPECT_EQ(DateText(kDateNotSet), "1/1/1900");
  EXPECT_EQ(DateText(ny), "12/31/2017");
}

}  // namespace
}  // namespace ub04
