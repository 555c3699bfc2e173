// Reference databases for the reference-data tests: SQLite files with the
// tables of examples/reference.sql, emptied, to which each test adds the
// rows it is about; and a component connected to one.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "host/run_state.h"
#include "tests/test_support.h"

namespace ub04::test {

// Runs an SQL script on a database file (created when missing).
inline void ExecSql(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
  char* err = nullptr;
  // Test files need no durability; without syncs a script runs in no time.
  sqlite3_exec(db, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY", nullptr, nullptr,
               nullptr);
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  std::string why = err ? err : "";
  sqlite3_free(err);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << why;
}

// The example's tables, without its rows.
inline void MakeRefDb(const std::filesystem::path& file, const std::string& rows = "") {
  std::filesystem::remove(file);
  ExecSql(file, ReadFile(std::filesystem::path(UB04_SOURCE_DIR) / "examples/reference.sql"));
  ExecSql(file,
          "DELETE FROM COMPANY; DELETE FROM PRACTICE; DELETE FROM Folio_MultiNPI;"
          "DELETE FROM Insurance_Override; DELETE FROM Folio_NpiLegacy;"
          "DELETE FROM InsuranceReadiness;" + rows);
}

// A component whose reference database is a fresh SQLite file with rows;
// the legacy-date file is looked for in the scratch folder.
struct RefHarness {
  ScratchDir dir;
  Format_Class fc;
  std::filesystem::path db = dir.path() / "ref.db";

  explicit RefHarness(const std::string& rows = "") {
    MakeRefDb(db, rows);
    Rs().ref.component_folder = dir.str();
  }
  // Sends "CONNECTIONSTRING"; the answers are left in messages.
  int16_t Connect(const std::string& dsn) {
    int16_t r = fc.HereIsAMessage("CONNECTIONSTRING", dsn);
    messages = Messages(fc);
    return r;
  }
  int16_t Connect() { return Connect(db.string()); }
  std::vector<std::string> messages;
};

}  // namespace ub04::test
