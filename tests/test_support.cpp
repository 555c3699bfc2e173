#include "tests/test_support.h"

#include "form/form_positions.h"

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "base/msgbox.h"

namespace ub04::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("ub04test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string Join(const std::vector<std::string>& tokens) {
  std::string s;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (i) s += "//";
    s += tokens[i];
  }
  return s;
}

std::string Key(const std::string& type, const std::string& key0) {
  std::vector<std::string> k(11, "k");
  k[0] = key0;
  k[10] = type;
  return Join(k);
}

std::vector<std::string> Tokens(size_t n) {
  std::vector<std::string> t(n);
  for (size_t k = 0; k < n; ++k) t[k] = k == 0 ? "X" : "v" + std::to_string(k);
  return t;
}

std::string PracticeRecord() { return Join(Tokens(21)); }

std::vector<std::string> Messages(Format_Class& fc) {
  std::vector<std::string> out;
  for (int32_t i = 1;; ++i) {
    std::string m = fc.GetAMessage(i);
    if (m == "END") break;
    out.push_back(m);
  }
  return out;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<FormattedLine> ReadFormatted(const fs::path& p) {
  FormattedFileReader r;
  r.Open(p.string());
  std::vector<FormattedLine> lines;
  FormattedLine l;
  while (r.Next(l)) lines.push_back(l);
  return lines;
}

int CountOf(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t p = text.find(needle); p != std::string::npos; p = text.find(needle, p + 1)) ++n;
  return n;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

MessageBoxCapture::MessageBoxCapture() {
  SetMessageBoxSink([this](std::string_view t) { boxes.emplace_back(t); });
}
MessageBoxCapture::~MessageBoxCapture() { SetMessageBoxSink({}); }

std::vector<BatchLine> ReadBatch(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<BatchLine> out;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line[0] == '@') continue;
    size_t tab = line.find('\t');
    out.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
  }
  return out;
}

std::string ExampleBatch() { return std::string(UB04_SOURCE_DIR) + "/examples/batch.txt"; }

const std::vector<BatchLine>& ExampleRecords() {
  static const std::vector<BatchLine> records = ReadBatch(ExampleBatch());
  return records;
}

fs::path GenerateBatch(const ScratchDir& dir, int charges, int seed) {
  fs::path out = dir.path() / ("gen-" + std::to_string(charges) + "-" + std::to_string(seed));
  std::string cmd = std::string(UB04_GEN_PATH) + " --charges " + std::to_string(charges) +
                    " --seed " + std::to_string(seed) + " > " + out.string();
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return out;
}

int16_t RunBatch(Format_Class& fc, const std::vector<BatchLine>& batch, const fs::path& folder,
                 const std::string& file, std::string* why, bool keep_log) {
  auto fail = [&](int16_t r, const char* call) {
    if (why) {
      *why = call;
      for (const std::string& m : Messages(fc)) *why += "\n" + m;
    }
    return r;
  };
  if (int16_t r = fc.HereIsAMessage("1", folder.string())) return fail(r, "message 1");
  if (int16_t r = fc.HereIsAMessage("2", file)) return fail(r, "message 2");
  bool first = true;
  for (const BatchLine& l : batch) {
    if (int16_t r = fc.FormatRecord(l.key, l.rec)) return fail(r, "FormatRecord");
    if (first && !keep_log) fc.HereIsAMessage("5", "0");
    first = false;
  }
  if (int16_t r = fc.ProcessEndOfFile()) return fail(r, "ProcessEndOfFile");
  return 0;
}

bool AnyHas(const std::vector<std::string>& v, const std::string& part) {
  for (const std::string& s : v)
    if (s.find(part) != std::string::npos) return true;
  return false;
}

Rec Full(size_t count, Tokens_ set) {
  Rec r(count);
  r.Blank();
  for (const auto& [k, v] : set) r.Set(k, v);
  return r;
}

Harness::Harness(const std::string& module) : fc(module) {
  fc.HereIsAMessage("1", dir.str());
  fc.HereIsAMessage("2", "claims.fmt");
  fc.SetComponentFolder(dir.str());
}

void Harness::WriteNpiFile(const std::string& text) const {
  std::ofstream(dir.path() / "FOLIO_CFG_NPICMS.DAT", std::ios::binary) << text;
}

void Harness::Finish() {
  if (finished_) return;
  finished_ = true;
  end_result = fc.ProcessEndOfFile();
  end_messages = Messages(fc);
  if (fs::exists(fmt_path())) lines_ = ReadFormatted(fmt_path());
  log_ = ReadFile(log_path());
}

const std::vector<FormattedLine>& Harness::Lines() {
  Finish();
  return lines_;
}

const std::string& Harness::Log() {
  Finish();
  return log_;
}

float Row(int n) { return pos::kBoxes42To47RowY.at(static_cast<size_t>(n - 1)); }

std::string FieldAt(const std::vector<FormattedLine>& lines, float x, float y, int page) {
  int n = 1;
  for (const FormattedLine& l : lines) {
    if (l.kind == "N") ++n;
    if (n == page && l.kind == "F" && std::fabs(l.x - x) < 1e-4 && std::fabs(l.y - y) < 1e-4)
      return l.text;
  }
  return kNone;
}

std::string Kinds(const std::vector<FormattedLine>& lines) {
  std::string k;
  for (const FormattedLine& l : lines)
    if (k.empty() || l.kind != "F" || k.back() != 'F') k += l.kind;
  return k;
}

std::vector<int> LinesPerPage(const std::vector<FormattedLine>& lines) {
  std::vector<int> pages;
  for (const FormattedLine& l : lines) {
    if (l.kind == "C") pages.push_back(0);
    // Rows 1 to 22 lie between 3.12 and 6.62 inches; line 23 (totals) below.
    if (l.kind == "F" && !pages.empty() && std::fabs(l.x - 0.65f) < 1e-4 && l.y > 3.1f &&
        l.y < 6.7f)
      ++pages.back();
  }
  return pages;
}

Rec TopText(const std::string& type) {
  static const std::map<std::string, size_t> kCounts = {
      {"1000", 21}, {"1050", 30}, {"2000", 33}, {"3000", 33}, {"3100", 12},
      {"3101", 25}, {"4000", 50}, {"5000", 65}, {"6100", 32}, {"6120", 38},
      {"6200", 18}, {"6310", 78}, {"6320", 78}, {"6340", 78}};
  Rec t(kCounts.at(type));
  if (type == "6120") t.Set(referral::Gate, "1");
  return t;
}

Rec ChargeText(size_t tokens) {
  Rec t(tokens);
  t.Blank();
  t.Set(charge::ProcedureCode, "99213").Set(charge::Description, "VISIT");
  t.Set(charge::Icd9Code1, "A01").Set(charge::ServiceDate, "01152024");
  t.Set(charge::ServiceToDate, "01152024");
  return t;
}

ClaimBatch::ClaimBatch(const std::vector<size_t>& switches_on) {
  EXPECT_EQ(Send("1000", TopText("1000")), 0);
  Rec prefs = TopText("3101");
  for (size_t m = break_pref::BreakOnInsurances; m <= break_pref::BreakOnEachCharge; ++m)
    prefs.Set(m, "0");
  for (size_t m : switches_on) prefs.Set(m, "1");
  EXPECT_EQ(Send("3101", prefs), 0);
}

void ClaimBatch::Charge(const Rec& charge,
                        const std::vector<std::pair<std::string, std::string>>& companions) {
  EXPECT_EQ(Send("6000", charge), 0) << ::testing::PrintToString(Msgs());
  for (const auto& [type, text] : companions) EXPECT_EQ(Send(type, text), 0) << type;
  EXPECT_EQ(Send("6990", ""), 0) << ::testing::PrintToString(Msgs());
}

void ExecSql(const fs::path& file, const std::string& sql) {
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

void MakeRefDb(const fs::path& file, const std::string& rows) {
  fs::remove(file);
  ExecSql(file, ReadFile(fs::path(UB04_SOURCE_DIR) / "examples/reference.sql"));
  ExecSql(file,
          "DELETE FROM COMPANY; DELETE FROM PRACTICE; DELETE FROM Folio_MultiNPI;"
          "DELETE FROM Insurance_Override; DELETE FROM Folio_NpiLegacy;"
          "DELETE FROM InsuranceReadiness;" + rows);
}

std::string SqliteOdbcDriver() {
  std::error_code ec;
  for (const auto& arch : fs::directory_iterator("/usr/lib", ec))
    if (fs::exists(arch.path() / "odbc/libsqlite3odbc.so", ec))
      return (arch.path() / "odbc/libsqlite3odbc.so").string();
  return "";
}

std::string MadeUpSecret(std::string_view between) {
  static std::mt19937 random{std::random_device{}()};
  static constexpr char kChars[] = "abcdefghijkmnpqrstuvwxyz23456789";
  auto run = [] {
    std::string r;
    for (int i = 0; i < 4; ++i) r += kChars[random() % (sizeof kChars - 1)];
    return r;
  };
  std::string secret = run();
  for (char c : between) secret += c + run();
  return secret;
}

const std::string& TestPassword() {
  static const std::string password = MadeUpSecret("-_");
  return password;
}

}  // namespace ub04::test
