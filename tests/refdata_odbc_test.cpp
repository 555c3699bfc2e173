// The ODBC path: the driver manager, the SQLite ODBC driver and a DSN in a
// private odbc.ini; the driver knows neither the "KRV_TABLES" owner nor
// sys.tables, so connections take the owner retry and the readiness default.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "tests/form_support.h"

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
  OdbcConfig()
      : driver_(test::SqliteOdbcDriver()),
        dir_(fs::temp_directory_path() / ("ub04-odbc-" + std::to_string(getpid()))) {
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
    if (__lsan_enable) __lsan_enable();
  }
};

const std::string kPrefix = " 3//QVR_UB04PPA_Format.Dll";
const std::string kWarning = " 2//QVR_UB04PPA_Format.Dll";

TEST_F(Odbc, OwnerRetryConnectsAndTheReadinessTableDefaults) {
  {
    test::Harness h;
    test::MakeRefDb(kOdbc.db(), "INSERT INTO PRACTICE VALUES ('P1', 1);"
                                "INSERT INTO Folio_NpiLegacy VALUES ('03', 'INS1', "
                                "'2099-01-01 00:00:00');");
    // The retry connected and the driver has no sys.tables: warnings only,
    // with the driver's native number and text.
    ASSERT_EQ(h.fc.HereIsAMessage("CONNECTIONSTRING", "ub04_ref"), 0);
    EXPECT_EQ(h.Msgs(), (std::vector<std::string>{
                            kWarning + " had a problem in OpenInitialDBConnection()  Error: 1 "
                                       "[SQLite]no such table: KRV_TABLES.PRACTICE (1)//",
                            kWarning + " DoesTableExistInSchema Error: 1 [SQLite]no such table: "
                                       "sys.tables (1)//"}));
    ASSERT_EQ(h.Send("1000", test::PracticeRecord()), 0);
    EXPECT_TRUE(h.LogHas("  RecordCount =  1"));
    EXPECT_TRUE(h.LogHas("InsuranceReadiness table is not in db schema yet. Defaulting icd10 "
                         "global date to 12-31-2017"));
  }
  // The row read through the driver decides box 76: INS1 still takes ids.
  test::Formatted r;
  r.h.WriteNpiFile("");
  r.Connect("ub04_ref");
  test::Claim c;
  c.insurance.Set(test::insurance::IhCode, "INS1");
  r.Run({c});
  EXPECT_EQ(r.At(7.25f, 9.5f), "G2");
}

TEST_F(Odbc, BothAttemptsFailingLeaveTheFile) {
  test::MakeRefDb(kOdbc.db(), "DROP TABLE PRACTICE;");
  test::Formatted r;
  r.h.WriteNpiFile("03,INS1,1/1/2099\r\n");
  ASSERT_EQ(r.Connect("ub04_ref"), 3);
  ASSERT_EQ(r.messages.size(), 2u);
  EXPECT_NE(r.messages[1].find("no such table: PRACTICE"), std::string::npos) << r.messages[1];
  test::Claim c;
  c.insurance.Set(test::insurance::IhCode, "INS1");
  r.Run({c});
  EXPECT_EQ(r.At(7.25f, 9.5f), "G2");
}

TEST_F(Odbc, LookupsBindTheirValues) {
  test::MakeRefDb(kOdbc.db(), "INSERT INTO PRACTICE VALUES ('P1', 1);"
                              "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', '', '', 'ANY');"
                              "INSERT INTO Folio_MultiNPI VALUES ('P1', 'B1', 'UB04PPA', '', 'FORM');"
                              "INSERT INTO Folio_MultiNPI VALUES ('O''K', 'B1', '', '', 'QUOTED');"
                              "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'I''1', "
                              "'K', 'ID1~X', '2015-01-01');");
  for (auto [ih, npi] : {std::pair{"P1", "FORM"}, {"O'K", "QUOTED"}, {"O' OR ''='", "1234567893"}}) {
    test::Formatted r;
    r.Connect("ub04_ref");
    test::Claim c;
    c.practice.Set(test::practice::IhCode, ih);
    c.bprovider.Set(test::bprovider::IhCode, "B1");
    r.Run({c});
    EXPECT_EQ(r.At(6.9f, 6.95f), npi) << ih;
    EXPECT_EQ(r.messages, std::vector<std::string>{});
    if (std::string(ih) == "P1") {
      EXPECT_EQ(r.h.fc.OtherInsuranceBillingId("I'1"), "ID1");
      EXPECT_EQ(r.h.fc.OtherInsuranceBillingId("I' OR ''='"), "");
    }
  }
}

// The host's login added to a bare DSN, and a whole connection string used
// as given; a failed connection names the data source, never the password.
TEST_F(Odbc, DsnWithTheHostsLoginAndAWholeConnectionString) {
  test::MakeRefDb(kOdbc.db(), "INSERT INTO PRACTICE VALUES ('P1', 1);");
  test::HostLogin login;
  for (const std::string& dsn :
       {std::string("ub04_ref"), "Driver=" + kOdbc.driver_ + ";Database=" + kOdbc.db().string() +
                                     ";NoCreat=1"}) {
    test::Harness h;
    h.fc.HereIsAMessage("5", "2");
    EXPECT_EQ(h.fc.HereIsAMessage("CONNECTIONSTRING", dsn), 0) << dsn;
    std::vector<std::string> m = h.Msgs();
    ASSERT_EQ(h.Send("1000", test::PracticeRecord()), 0);
    EXPECT_TRUE(h.LogHas("gbDBConnectionIsGood = True")) << dsn;
    EXPECT_FALSE(test::AnyHas(m, test::TestPassword()) || h.LogHas(test::TestPassword()));
  }
  const std::string own = test::MadeUpSecret();  // a password the host's text carries
  for (const std::string& dsn :
       {std::string("ub04-no-such-dsn"),
        "Driver=" + kOdbc.driver_ + ";Database=/nonexistent/x;NoCreat=1;PWD=" + own}) {
    Format_Class fc;
    EXPECT_EQ(fc.HereIsAMessage("CONNECTIONSTRING", dsn), 3) << dsn;
    std::vector<std::string> m = test::Messages(fc);
    EXPECT_FALSE(test::AnyHas(m, test::TestPassword()) || test::AnyHas(m, own));
    if (dsn == "ub04-no-such-dsn") {
      EXPECT_TRUE(test::AnyHas(m, " 0 [unixODBC][Driver Manager]Data source name not found"))
          << ::testing::PrintToString(m);
    }
  }
}

// A string naming no database, or a missing one, is refused before any
// driver sees it: connecting never makes a database file.
TEST_F(Odbc, ConnectingNeverCreatesAFile) {
  test::ScratchDir cwd;
  const fs::path was = fs::current_path();
  fs::current_path(cwd.path());
  const std::string own = test::MadeUpSecret();
  struct {
    std::string text, says;
  } cases[] = {
      {"Driver=" + kOdbc.driver_ + ";PWD=" + own, "names no data source or database"},
      {"Driver=SQLite3;UID=x;PWD=" + own, "names no data source or database"},
      {"Driver=" + kOdbc.driver_ + ";Database=" + cwd.str() + "/new.db",
       cwd.str() + "/new.db does not exist"},
      {"Driver=" + kOdbc.driver_ + ";Database=made.sqlite", "made.sqlite does not exist"},
  };
  for (const auto& c : cases) {
    Format_Class fc;
    EXPECT_EQ(fc.HereIsAMessage("CONNECTIONSTRING", c.text), 3) << c.text;
    std::vector<std::string> m = test::Messages(fc);
    EXPECT_TRUE(test::AnyHas(m, c.says)) << ::testing::PrintToString(m);
    EXPECT_FALSE(test::AnyHas(m, own));
  }
  fs::current_path(was);
  EXPECT_TRUE(fs::is_empty(cwd.path()));
}

}  // namespace
}  // namespace ub04
