// The ODBC path: the driver manager with the SQLite ODBC driver and a DSN in
// a private odbc.ini. The driver knows neither the "KRV_TABLES" owner nor
// sys.tables, so every connection goes through the owner retry and the
// readiness table falls back to its default.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "refdata/database.h"
#include "refdata/refdata.h"
#include "tests/refdata_support.h"

// The leak checker of sanitizer builds, when linked in.
extern "C" {
__attribute__((weak)) void __lsan_disable();
__attribute__((weak)) void __lsan_enable();
}

namespace ub04 {
namespace {

namespace fs = std::filesystem;

// odbcinst.ini and odbc.ini in a folder of this process, named in the
// environment before main (the driver manager keeps the paths it read
// first). DSN "ub04_ref" is the file db().
class OdbcConfig {
 public:
  OdbcConfig() : dir_(fs::temp_directory_path() / ("ub04-odbc-" + std::to_string(getpid()))) {
    std::error_code ec;
    for (const auto& arch : fs::directory_iterator("/usr/lib", ec))
      if (fs::exists(arch.path() / "odbc/libsqlite3odbc.so", ec))
        driver_ = (arch.path() / "odbc/libsqlite3odbc.so").string();
    fs::create_directories(dir_);
    std::ofstream(dir_ / "odbcinst.ini") << "[UB04 SQLite]\nDriver=" << driver_ << "\n";
    std::ofstream(dir_ / "odbc.ini") << "[ub04_ref]\nDriver=UB04 SQLite\nNoCreat=1\nDatabase="
                                     << db().string() << "\n";
    setenv("ODBCSYSINI", dir_.c_str(), 1);
    setenv("ODBCINI", (dir_ / "odbc.ini").c_str(), 1);
  }
  ~OdbcConfig() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path db() const { return dir_ / "ref.db"; }
  std::string driver_;

 private:
  fs::path dir_;
};
const OdbcConfig kOdbc;

class Odbc : public ::testing::Test {
 protected:
  // The driver's set-up library keeps a few allocations of every
  // connection for good (and is unloaded, so they cannot be named); the
  // leak checker looks away while a test holds a connection.
  void SetUp() override {
    if (__lsan_disable) __lsan_disable();
    ASSERT_FALSE(kOdbc.driver_.empty())
        << "the SQLite ODBC driver (Debian package libsqliteodbc) is not installed";
  }
  void TearDown() override {
    CloseDatabaseConnection();
    if (__lsan_enable) __lsan_enable();
  }
  int16_t Connect(const std::string& rows) {
    test::MakeRefDb(kOdbc.db(), rows);
    Rs().ref.component_folder = dir_.str();
    int16_t r = fc_.HereIsAMessage("CONNECTIONSTRING", "ub04_ref");
    messages_ = test::Messages(fc_);
    return r;
  }
  test::ScratchDir dir_;
  Format_Class fc_;
  std::vector<std::string> messages_;
};

const std::string kPrefix = " 3//QVR_UB04PPA_Format.Dll";

TEST_F(Odbc, OwnerRetryConnectsAndTheReadinessTableDefaults) {
  ASSERT_EQ(Connect("INSERT INTO PRACTICE VALUES ('P1', 1);"
                    "INSERT INTO Folio_NpiLegacy VALUES ('03', 'INS1', '2099-01-01 00:00:00');"),
            0);
  // The driver's native number and text.
  EXPECT_EQ(messages_, (std::vector<std::string>{
                           kPrefix + " had a problem in OpenInitialDBConnection()  Error: 1 "
                                     "[SQLite]no such table: KRV_TABLES.PRACTICE (1)//",
                           kPrefix + " DoesTableExistInSchema Error: 1 [SQLite]no such table: "
                                     "sys.tables (1)//"}));
  EXPECT_TRUE(Rs().ref.db_connection_good);
  EXPECT_FALSE(Rs().ref.owner_prefix);
  ASSERT_EQ(Rs().ref.npi_legacy.size(), 1u);
  EXPECT_EQ(Rs().ref.npi_legacy[0].date, DateFromYmd(2099, 1, 1));
  ASSERT_EQ(Rs().ref.readiness.size(), 1u);
  EXPECT_EQ(Rs().ref.readiness[0].ready_date, DateFromYmd(2017, 12, 31));
}

TEST_F(Odbc, BothAttemptsFailingLeaveTheFile) {
  ASSERT_EQ(Connect("DROP TABLE PRACTICE;"), 3);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[1].find("no such table: PRACTICE"), std::string::npos) << messages_[1];
  EXPECT_FALSE(Rs().ref.db_connection_good);
  std::ofstream(dir_.path() / "FOLIO_CFG_NPICMS.DAT") << "03,INS1,1/1/2099\r\n";
  FetchNPILegacyDates("55555", "INS1", kDateNotSet);
  EXPECT_FALSE(NpiOnly());
}

TEST_F(Odbc, LookupsBindTheirValues) {
  ASSERT_EQ(Connect("INSERT INTO PRACTICE VALUES ('P1', 1);"
                    "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', '', 'ANY');"
                    "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', '', 'FORM');"
                    "INSERT INTO Folio_MultiNPI VALUES ('O''K', 'B1', '', '', 'QUOTED');"
                    "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'I''1', 'F1', "
                    "'ID1~X', '2015-01-01');"),
            0);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("P1", "B1", "I1"), "FORM");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("O'K", "B1", "I1"), "QUOTED");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB("O' OR ''='", "B1", "I1"), "");
  ClearOtherInsIDArrays("P1", "F1", "DEF");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I'1"), "ID1");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I2"), "DEF");
  EXPECT_EQ(test::Messages(fc_), messages_);  // nothing added by the lookups
}

TEST_F(Odbc, UnknownDsnCarriesTheDriverManagerTextWithoutThePassword) {
  EXPECT_EQ(fc_.HereIsAMessage("CONNECTIONSTRING", "ub04-no-such-dsn"), 3);
  auto m = test::Messages(fc_);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_NE(m[0].find(" 0 [unixODBC][Driver Manager]Data source name not found"),
            std::string::npos)
      << m[0];
  EXPECT_EQ(m[0].find("kw4tr7nmzq"), std::string::npos);
}

}  // namespace
}  // namespace ub04
