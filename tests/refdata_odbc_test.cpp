// The ODBC path: the driver manager with the SQLite ODBC driver and a DSN in
// a private odbc.ini. The driver does not know the "KRV_TABLES" owner or
// sys.tables, so every connection goes through the owner retry and the
// readiness table falls back to its default.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "refdata/database.h"
#include "refdata/refdata.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

namespace fs = std::filesystem;

// The driver of Debian's SQLite ODBC package, wherever the architecture
// puts it.
std::string SqliteOdbcDriver() {
  std::error_code ec;
  for (const char* dir : {"/usr/lib", "/usr/lib64", "/usr/local/lib"}) {
    for (const auto& e : fs::directory_iterator(dir, ec)) {
      fs::path p = e.path() / "odbc" / "libsqlite3odbc.so";
      if (fs::exists(p, ec)) return p.string();
    }
    fs::path p = fs::path(dir) / "odbc" / "libsqlite3odbc.so";
    if (fs::exists(p, ec)) return p.string();
  }
  return "";
}

// odbcinst.ini and odbc.ini in a folder of this process, named by the
// environment before the driver manager is first used (it keeps the paths
// it read first). DSN "ub04_ref" is the database file db().
class OdbcConfig {
 public:
  OdbcConfig() : dir_(fs::temp_directory_path() / ("ub04-odbc-" + std::to_string(getpid()))) {
    driver_ = SqliteOdbcDriver();
    fs::create_directories(dir_);
    std::ofstream(dir_ / "odbcinst.ini") << "[UB04 SQLite]\nDriver=" << driver_ << "\n";
    std::ofstream(dir_ / "odbc.ini") << "[ub04_ref]\nDriver=UB04 SQLite\nDatabase=" << db().string()
                                     << "\nNoCreat=1\nTimeout=2000\n";
    setenv("ODBCSYSINI", dir_.c_str(), 1);
    setenv("ODBCINI", (dir_ / "odbc.ini").c_str(), 1);
  }
  ~OdbcConfig() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path db() const { return dir_ / "ref.db"; }
  const std::string& driver() const { return driver_; }

 private:
  fs::path dir_;
  std::string driver_;
};

const OdbcConfig& Config() {
  static const OdbcConfig config;
  return config;
}
// Set up before main, so no other test reaches the driver manager first.
[[maybe_unused]] const OdbcConfig& kConfigAtStart = Config();

}  // namespace
}  // namespace ub04

// The leak checker of sanitizer builds, when linked in.
extern "C" {
__attribute__((weak)) void __lsan_disable();
__attribute__((weak)) void __lsan_enable();
}

namespace ub04 {
namespace {

class Odbc : public ::testing::Test {
 protected:
  // The driver's set-up library keeps a few allocations of every
  // connection for good (and is unloaded, so they cannot be named); the
  // leak checker looks away while a test holds a connection.
  void SetUp() override {
    if (__lsan_disable) __lsan_disable();
    ASSERT_FALSE(Config().driver().empty())
        << "the SQLite ODBC driver (Debian package libsqliteodbc) is not installed";
  }
  void TearDown() override {
    CloseDatabaseConnection();
    if (__lsan_enable) __lsan_enable();
  }
  // A component connected through DSN ub04_ref to a database with rows.
  int16_t Connect(const std::string& rows) {
    test::MakeRefDb(Config().db(), rows);
    Rs().ref.component_folder = dir_.str();
    int16_t r = fc_.HereIsAMessage("CONNECTIONSTRING", "ub04_ref");
    messages_ = test::Messages(fc_);
    return r;
  }
  test::ScratchDir dir_;
  Format_Class fc_;
  std::vector<std::string> messages_;
};

constexpr const char* kPrefix = " 3//QVR_UB04PPA_Format.Dll";

TEST_F(Odbc, OwnerRetryConnectsAndTheReadinessTableDefaults) {
  ASSERT_EQ(Connect("INSERT INTO PRACTICE VALUES ('P1', 1);"
                    "INSERT INTO Folio_NpiLegacy VALUES ('03', 'INS1', '2099-01-01 00:00:00');"),
            0);
  ASSERT_EQ(messages_.size(), 2u);
  // The driver's native number and text.
  EXPECT_EQ(messages_[0], std::string(kPrefix) +
                              " had a problem in OpenInitialDBConnection()  Error: 1 "
                              "[SQLite]no such table: KRV_TABLES.PRACTICE (1)//");
  EXPECT_EQ(messages_[1], std::string(kPrefix) +
                              " DoesTableExistInSchema Error: 1 "
                              "[SQLite]no such table: sys.tables (1)//");
  EXPECT_TRUE(Rs().ref.db_connection_good);
  EXPECT_FALSE(Rs().ref.owner_prefix);
  ASSERT_EQ(Rs().ref.npi_legacy.size(), 1u);
  EXPECT_EQ(Rs().ref.npi_legacy[0].date, DateFromYmd(2099, 1, 1));
  ASSERT_EQ(Rs().ref.readiness.size(), 1u);
  EXPECT_EQ(Rs().ref.readiness[0].ready_date, DateFromYmd(2017, 12, 31));
  for (const auto& m : messages_) EXPECT_EQ(m.find("kw4tr7nmzq"), std::string::npos);
}

TEST_F(Odbc, BothAttemptsFailingAreReportedAndTheFileIsUsed) {
  ASSERT_EQ(Connect("DROP TABLE PRACTICE;"), 3);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[0].find("KRV_TABLES.PRACTICE"), std::string::npos);
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

TEST_F(Odbc, UnknownDsnCarriesTheDriverManagerText) {
  EXPECT_EQ(fc_.HereIsAMessage("CONNECTIONSTRING", "ub04-no-such-dsn"), 3);
  auto m = test::Messages(fc_);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_NE(m[0].find("Data source name not found"), std::string::npos) << m[0];
  EXPECT_EQ(m[0].find("kw4tr7nmzq"), std::string::npos);
  try {
    OpenOdbcDatabase("DSN=ub04-no-such-dsn;UID=VRXUser;PWD=kw4tr7nmzq");
    FAIL();
  } catch (const RtError& e) {
    EXPECT_EQ(e.description().find("kw4tr7nmzq"), std::string::npos);
  }
}

}  // namespace
}  // namespace ub04
