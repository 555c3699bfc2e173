// The reference database and its login: no login built in, the host's own
// login or whole connection string used, the password never shown, and the
// reference file never written nor written beside.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>

#include "refdata/connection_string.h"
#include "refdata/database.h"
#include "refdata/refdata.h"
#include "test_support.h"

namespace ub04 {
namespace {

namespace fs = std::filesystem;

using test::AnyHas;
// Environment variables set for one test and cleared after it.
class Env {
 public:
  ~Env() {
    for (const std::string& n : names_) unsetenv(n.c_str());
  }
  void Set(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
    names_.push_back(name);
  }

 private:
  std::vector<std::string> names_;
};

TEST(SecurityDb, ConnectionStringFormsQuotingAndMasking) {
  // A whole connection string is used as given, whatever login there is.
  const std::string a = test::MadeUpSecret(), b = test::MadeUpSecret(), c = test::MadeUpSecret();
  const std::string password = a + ";" + b + "}" + c;  // would need quoting
  DbLogin login{"clerk", password};
  EXPECT_EQ(ComposeConnectionString("Driver=X;Server=Y;Trusted_Connection=yes", login),
            "Driver=X;Server=Y;Trusted_Connection=yes");
  EXPECT_EQ(ComposeConnectionString("reference", std::nullopt), "DSN=reference");
  // Not every driver reads a braced value: a login that needs braces is
  // refused, naming where it came from and never what it is.
  for (DbLogin bad : {login, DbLogin{"cl{erk", a}, DbLogin{"clerk", a + "{"}}) {
    try {
      ComposeConnectionString("reference", bad);
      ADD_FAILURE() << "accepted";
    } catch (const RtError& e) {
      const std::string what = e.description();
      EXPECT_NE(what.find(bad.user == "clerk" ? "UB04_DB_PASSWORD" : "UB04_DB_USER"),
                std::string::npos) << what;
      EXPECT_EQ(what.find(a), std::string::npos) << what;
    }
  }
  const DbLogin good{"clerk", a + "-" + b};
  std::string cs = ComposeConnectionString("ref;erence", good);
  EXPECT_EQ(cs, "DSN={ref;erence};UID=clerk;PWD=" + a + "-" + b);
  EXPECT_EQ(DsnOf(cs), "ref;erence");
  EXPECT_EQ(OdbcAttribute(cs, "pwd"), a + "-" + b);
  cs = "DSN={ref;erence};UID=clerk;PWD={" + a + ";" + b + "}}" + c + "}";
  EXPECT_EQ(OdbcAttribute(cs, "pwd"), password);

  // Every form a password can take in a text is masked.
  EXPECT_EQ(MaskPassword("failed: " + cs, cs), "failed: DSN={ref;erence};UID=clerk;PWD=***");
  EXPECT_EQ(MaskPassword("login " + password + " refused", cs), "login *** refused");
  EXPECT_EQ(MaskPassword("[drv] pwd=" + a + " 'Password=" + b + " y' PWD={" + a + ";" + b + "}c"),
            "[drv] pwd=*** 'Password=*** y' PWD=***c");
}

TEST(SecurityDb, LoginComesFromTheEnvironmentOrAPrivateFileOnly) {
  test::ScratchDir dir;
  Env env;
  EXPECT_FALSE(HostLogin().has_value());

  const fs::path file = dir.path() / "login";
  const std::string file_secret = test::MadeUpSecret(), env_secret = test::MadeUpSecret();
  std::ofstream(file) << "clerk\r\n" << file_secret << "\n";
  chmod(file.c_str(), 0600);
  env.Set("UB04_DB_CREDENTIALS", file.string());
  ASSERT_TRUE(HostLogin().has_value());
  EXPECT_EQ(HostLogin()->user, "clerk");
  EXPECT_EQ(HostLogin()->password, file_secret);

  // The environment's login comes first.
  env.Set("UB04_DB_USER", "envuser");
  env.Set("UB04_DB_PASSWORD", env_secret);
  EXPECT_EQ(ComposeConnectionString("ref", HostLogin()), "DSN=ref;UID=envuser;PWD=" + env_secret);
  unsetenv("UB04_DB_USER");
  unsetenv("UB04_DB_PASSWORD");

  // Refused: readable by the group, another owner, a link, a missing file.
  const fs::path link = dir.path() / "link";
  fs::create_symlink(file, link);
  struct Case {
    std::string path;
    std::function<void()> make;
    std::string why;
  };
  std::vector<Case> cases = {
      {file.string(), [&] { chmod(file.c_str(), 0640); }, "can be read by others (mode 0640)"},
      {file.string(), [&] { chmod(file.c_str(), 0600); ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0); },
       "does not belong to the user running the formatter"},
      {link.string(), [] {}, "is a symbolic link"},
      {(dir.path() / "missing").string(), [] {}, "does not exist"},
  };
  for (const Case& c : cases) {
    c.make();
    env.Set("UB04_DB_CREDENTIALS", c.path);
    test::RefHarness h;
    EXPECT_EQ(h.Connect("ref"), 3) << c.why;
    ASSERT_EQ(h.messages.size(), 1u) << ::testing::PrintToString(h.messages);
    EXPECT_EQ(h.messages[0].rfind(" 3//", 0), 0u);
    EXPECT_NE(h.messages[0].find(c.path + " (UB04_DB_CREDENTIALS) " + c.why), std::string::npos)
        << h.messages[0];
    EXPECT_EQ(h.messages[0].find(file_secret), std::string::npos);
  }
}

TEST(SecurityDb, PathsThatAreNoDatabaseSaySo) {
  test::RefHarness h;
  std::ofstream(h.dir.path() / "notes.txt") << std::string(4096, 'x');
  std::ofstream(h.dir.path() / "empty.db");
  struct {
    std::string dsn, says;
  } cases[] = {
      {h.dir.str() + "/missing.db", h.dir.str() + "/missing.db does not exist"},
      {"missing.sqlite", "missing.sqlite does not exist"},
      {h.dir.str(), h.dir.str() + " is a folder, not a database file"},
      {h.dir.str() + "/notes.txt", h.dir.str() + "/notes.txt is not a database"},
      {h.dir.str() + "/empty.db", h.dir.str() + "/empty.db is empty, not a database"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(h.Connect(c.dsn), 3) << c.dsn;
    EXPECT_TRUE(AnyHas(h.messages, c.says)) << ::testing::PrintToString(h.messages);
    EXPECT_FALSE(AnyHas(h.messages, "Data source name not found"));
  }
}

// A checksum of a file's bytes.
size_t Sum(const fs::path& p) { return std::hash<std::string>{}(test::ReadFile(p)); }

std::set<std::string> Listing(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

TEST(SecurityDb, WalModeFileIsReadWithoutAnythingWrittenBeside) {
  test::ScratchDir dir;
  const fs::path db = dir.path() / "ref.db";
  test::MakeRefDb(db, "INSERT INTO PRACTICE (IH_CODE) VALUES ('P1');");
  test::ExecSql(db, "PRAGMA journal_mode = WAL;");
  chmod(db.c_str(), 0444);  // as a site may ship it
  const std::set<std::string> before = Listing(dir.path());
  const size_t sum = Sum(db);
  ASSERT_EQ(before, std::set<std::string>{"ref.db"});
  {
    test::RefHarness h;
    ASSERT_EQ(h.Connect(db.string()), 0) << ::testing::PrintToString(h.messages);
    auto rows = OpenDatabase("DSN=" + db.string())->Query("SELECT IH_CODE FROM PRACTICE", {});
    ASSERT_FALSE(rows->Eof());
    EXPECT_EQ(rows->Field("IH_CODE"), "P1");
    EXPECT_EQ(Listing(dir.path()), before);  // also while connected
  }
  EXPECT_EQ(Listing(dir.path()), before);
  EXPECT_EQ(Sum(db), sum);

  // A writer at work keeps committed rows in its -wal file; they are read
  // too, and nothing more appears beside the file.
  chmod(db.c_str(), 0644);
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer,
                         "PRAGMA wal_autocheckpoint = 0;"
                         "INSERT INTO PRACTICE (IH_CODE) VALUES ('P2');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const std::set<std::string> live = Listing(dir.path());
  const size_t live_sum = Sum(db);
  {
    auto rows = OpenDatabase("DSN=" + db.string())
                    ->Query("SELECT COUNT(*) AS N FROM [KRV_TABLES].PRACTICE", {});
    EXPECT_EQ(rows->Field("N"), "2");
  }
  EXPECT_EQ(Listing(dir.path()), live);
  EXPECT_EQ(live, (std::set<std::string>{"ref.db", "ref.db-shm", "ref.db-wal"}));
  EXPECT_EQ(Sum(db), live_sum);
  sqlite3_close(writer);
}

}  // namespace
}  // namespace ub04
