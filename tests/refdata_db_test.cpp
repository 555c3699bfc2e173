// The database seam over SQLite files: read-only access under the host's
// owner names, cursors, blank DSNs and masked passwords; and the date texts
// the reference tables hold.
#include <gtest/gtest.h>

#include "refdata/database.h"
#include "refdata/ref_dates.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

using test::ScratchDir;

TEST(DatabaseSeam, SqliteFileIsReadOnlyUnderEveryOwnerName) {
  ScratchDir dir;
  auto file = dir.path() / "ref db #1 ?x=%20.db";  // characters a URI would read
  test::MakeRefDb(file, "INSERT INTO PRACTICE VALUES ('P1', 1); INSERT INTO PRACTICE VALUES "
                        "('P2', NULL);");
  auto db = OpenDatabase("DSN=" + file.string() + ";UID=VRXUser;PWD=p");
  auto rows = db->Query("SELECT * FROM [KRV_TABLES].PRACTICE ORDER BY IH_Code", {});
  EXPECT_EQ(rows->Field("ih_code"), "P1");
  rows->MoveNext();
  EXPECT_EQ(rows->Field("COMPANY_ID_NUMBER"), "");  // NULL
  rows->MoveNext();
  EXPECT_TRUE(rows->Eof());
  EXPECT_THROW(rows->Field("IH_Code"), RtError);
  EXPECT_EQ(db->Query("SELECT IH_Code FROM [dbo].PRACTICE WHERE IH_Code = ?", {"P2"})
                ->Field("IH_Code"),
            "P2");
  for (const char* sql : {"INSERT INTO PRACTICE VALUES ('X', 1)",
                          "INSERT INTO [KRV_TABLES].PRACTICE VALUES ('X', 1)",
                          "DELETE FROM sys.tables", "ATTACH DATABASE '/tmp/ub04-x.db' AS x",
                          "SELECT 1; DELETE FROM PRACTICE"})
    EXPECT_THROW(db->Query(sql, {}), RtError) << sql;
}

TEST(DatabaseSeam, BlankDsnReachesNoDriverAndPasswordsAreMasked) {
  ScratchDir dir;
  auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  try {
    OpenDatabase("DSN= ;UID=VRXUser;PWD=kw4tr7nmzq");
    ADD_FAILURE();
  } catch (const RtError& e) {
    EXPECT_EQ(ErrorText(e), " 5 The connection string names no data source");
  }
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // no driver made a file of it
  EXPECT_EQ(DsnOf("DSN={a;b.db};UID=VRXUser;PWD=p"), "a;b.db");
  EXPECT_EQ(MaskPassword("DSN=x;PWD=kw4tr7nmzq failed: kw4tr7nmzq", "DSN=x;UID=u;PWD=kw4tr7nmzq"),
            "DSN=x;PWD=*** failed: ***");
}

TEST(RefDates, ThreeFormsAndNoSwappedMonths) {
  Date ny = DateFromYmd(2017, 12, 31);
  for (const char* text : {"2017-12-31", "2017-12-31 00:00:00", "2017-12-31 23:59:59.997",
                           "12/31/2017"})
    EXPECT_EQ(RefDateFromText(text), ny) << text;
  for (const char* bad : {"", "2017-13-01", "2017-31-12", "31/12/2017", "2017-12-31x", "SOON"})
    EXPECT_THROW(RefDateFromText(bad), RtError) << bad;
  EXPECT_EQ(DateText(kDateNotSet), "1/1/1900");
  EXPECT_EQ(DateText(ny), "12/31/2017");
}

}  // namespace
}  // namespace ub04
