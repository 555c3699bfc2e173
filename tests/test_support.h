// Helpers shared by the tests: records built as a billing host builds them,
// and what a host sees (results, queued messages, the files a run writes).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/fmt_file.h"
#include "host/format_class.h"
#include "tests/record_tokens.h"

namespace ub04::test {

// A fresh, empty folder under the system temp folder, removed at destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// "t0//t1//..." from tokens.
std::string Join(const std::vector<std::string>& tokens);
// A record key of 11 tokens whose token 10 is type.
std::string Key(const std::string& type, const std::string& key0 = "K");
// n tokens, token 0 "X" and the others "v<k>".
std::vector<std::string> Tokens(size_t n);
// A practice record with every mandatory token ("X//v1//...//v20").
std::string PracticeRecord();

// All queued answers of fc, read up to "END".
std::vector<std::string> Messages(Format_Class& fc);
std::string ReadFile(const std::filesystem::path& p);
std::vector<FormattedLine> ReadFormatted(const std::filesystem::path& p);
// How often the text holds needle.
int CountOf(const std::string& text, const std::string& needle);
// The lines of text, without their LF.
std::vector<std::string> SplitLines(const std::string& text);

// Captures message boxes of this thread while alive.
class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  std::vector<std::string> boxes;
};

// A record text of count tokens: token 0 "X", token k "v<k>", unless set.
struct Rec {
  explicit Rec(size_t count) : t(Tokens(count)) {}
  Rec& Set(size_t token, std::string v) {
    t.at(token) = std::move(v);
    return *this;
  }
  // Every token after token 0 "", but the last "0" (a last "" is no token):
  // every optional group present and empty.
  Rec& Blank() {
    for (size_t k = 1; k < t.size(); ++k) t[k].clear();
    t.back() = "0";
    return *this;
  }
  std::string str() const { return Join(t); }
  std::vector<std::string> t;
};
using Tokens_ = std::initializer_list<std::pair<size_t, const char*>>;
// Blank record with the given tokens set.
Rec Full(size_t count, Tokens_ set = {});

// A component writing into a scratch folder, its NPI file looked for there.
struct Harness {
  ScratchDir dir;
  Format_Class fc;
  explicit Harness(const std::string& module = "QVR_UB04PPA_Format");
  std::filesystem::path fmt_path() const { return dir.path() / "claims.fmt"; }
  std::filesystem::path log_path() const { return dir.path() / "QVR_UB04PPA_Format.Log"; }
  // FOLIO_CFG_NPICMS.DAT in the scratch folder.
  void WriteNpiFile(const std::string& text) const;

  int16_t Send(const std::string& type, const std::string& rec) {
    return fc.FormatRecord(Key(type), rec);
  }
  int16_t Send(const std::string& type, const Rec& rec) { return Send(type, rec.str()); }
  std::vector<std::string> Msgs() { return Messages(fc); }

  // Ends the batch once (ProcessEndOfFile) and reads the outputs.
  const std::vector<FormattedLine>& Lines();
  const std::string& Log();
  // The run log holds text anywhere (notes of several lines are logged on one).
  bool LogHas(const std::string& text) { return Log().find(text) != std::string::npos; }
  // The run log holds the trace line text.
  bool Logged(const std::string& text) { return Count(text) > 0; }
  // How often the run log holds the line text; with end "", lines starting so.
  int Count(const std::string& text, const char* end = "\"\r\n") {
    return CountOf(Log(), "\"" + text + end);
  }
  int16_t end_result = 0;
  std::vector<std::string> end_messages;

 private:
  void Finish();
  bool finished_ = false;
  std::vector<FormattedLine> lines_;
  std::string log_;
};

// ---- batches ------------------------------------------------------------------------

// One record of a batch file: key and record text.
struct BatchLine {
  std::string key, rec;
};
// The records of a batch file in the ub04fmt format (comments, blank lines
// and "@" messages skipped).
std::vector<BatchLine> ReadBatch(const std::filesystem::path& file);
// The example batch of the source tree: six claims, one per page.
std::string ExampleBatch();
const std::vector<BatchLine>& ExampleRecords();
// The benchmark generator's batch of `charges` charges for seed, in dir.
std::filesystem::path GenerateBatch(const ScratchDir& dir, int charges, int seed);
// Runs a batch through fc into folder/file as the host does, the run log
// down to level 0 after the first record unless keep_log. The first non-zero
// result, with its messages in *why.
int16_t RunBatch(Format_Class& fc, const std::vector<BatchLine>& batch,
                 const std::filesystem::path& folder, const std::string& file,
                 std::string* why = nullptr, bool keep_log = false);
// Whether any text of v holds part.
bool AnyHas(const std::vector<std::string>& v, const std::string& part);

// ---- the formatted-record file ---------------------------------------------------------

inline constexpr const char* kNone = "<none>";
// The text of the "F" line at (x, y) on form page `page`, kNone when none.
std::string FieldAt(const std::vector<FormattedLine>& lines, float x, float y, int page = 1);
// The Y of service-line row n (1 to 22).
float Row(int n);
// The kinds of the lines, a run of "F" lines as one: "HCFNT".
std::string Kinds(const std::vector<FormattedLine>& lines);
// Service lines per form page (description column of rows 1 to 22).
std::vector<int> LinesPerPage(const std::vector<FormattedLine>& lines);

// ---- claims --------------------------------------------------------------------------

// Every token of a top record "v<k>", with its mandatory count.
Rec TopText(const std::string& type);
// A visit of 15 January 2024 with one ICD-9 diagnosis, every other token
// empty; 102 tokens is the shortest charge, 140 reaches the ICD-10 codes.
Rec ChargeText(size_t tokens = 102);

// A batch with its practice sent and only the given break switches on.
struct ClaimBatch : Harness {
  explicit ClaimBatch(const std::vector<size_t>& switches_on = {});
  void Charge(const Rec& charge,
              const std::vector<std::pair<std::string, std::string>>& companions = {});
  // Service lines of each claim page, in order.
  std::vector<int> Claims() { return LinesPerPage(Lines()); }
};

// ---- reference data -----------------------------------------------------------------

// Runs an SQL script on a database file (created when missing).
void ExecSql(const std::filesystem::path& file, const std::string& sql);
// The example's tables (examples/reference.sql), without its rows, plus rows.
void MakeRefDb(const std::filesystem::path& file, const std::string& rows = "");

// The SQLite ODBC driver's library (package libsqliteodbc), "" when missing.
std::string SqliteOdbcDriver();

// A harness whose reference database is a fresh SQLite file with rows.
struct RefHarness : Harness {
  std::filesystem::path db = dir.path() / "ref.db";
  explicit RefHarness(const std::string& rows = "", const std::string& module = "QVR_UB04PPA_Format")
      : Harness(module) {
    MakeRefDb(db, rows);
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

// A made-up secret, new for every process, with each character of between
// placed between runs of letters and digits (";}": "k3x9;q2mz}7wd4").
std::string MadeUpSecret(std::string_view between = "");

// The password of HostLogin, made up once per process.
const std::string& TestPassword();

// The host's login (UB04_DB_USER, UB04_DB_PASSWORD) while the object lives.
struct HostLogin {
  HostLogin() {
    setenv("UB04_DB_USER", "tester", 1);
    setenv("UB04_DB_PASSWORD", TestPassword().c_str(), 1);
  }
  ~HostLogin() {
    unsetenv("UB04_DB_USER");
    unsetenv("UB04_DB_PASSWORD");
  }
};

}  // namespace ub04::test
