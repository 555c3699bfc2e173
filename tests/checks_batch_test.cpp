// The claim checks over whole batches: a batch with what a clerk gets wrong
// holds those claims and prints the others; the host message's values through
// the C interface; ub04fmt --check writes nothing; --report's rows.
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli_support.h"
#include "tests/test_support.h"
#include "ub04/ub04.h"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

// Every from in text becomes to.
void Replace(std::string& text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  for (; at != std::string::npos; at = text.find(from, at + to.size())) text.replace(at, from.size(), to);
}

// The example batch with three slips: claim 1's attending NPI with a wrong
// check digit (on each of its charges), claim 2's patient born in month 13 and a charge of
// "1,210.00". Claims 3 to 5 stay as they were.
std::string BadBatch(const ScratchDir& dir) {
  std::string text = ReadFile(ExampleBatch());
  Replace(text, "1000000012", "1000000013");
  Replace(text, "//11231979//", "//13231979//");
  Replace(text, "//1//210.00//", "//1//1,210.00//");
  return WriteBatch(dir, text);
}

// A batch run through the C interface with host message "CHECKS" checks.
struct CRun {
  int16_t checks_result = 0;
  std::vector<std::string> messages;             // every call's
  std::vector<std::string> fates;                // per claim: "account fate findings"
};

CRun RunThroughC(const std::string& checks, const fs::path& out, const std::string& batch) {
  CRun run;
  ub04_format* f = ub04_create();
  auto drain = [&] {
    for (int32_t i = 1;; ++i) {
      std::string m = ub04_get_message(f, i);
      if (m == "END") break;
      run.messages.push_back(m);
    }
  };
  ub04_set_claim_callback(
      f,
      [](const ub04_claim* c, void* user) {
        static_cast<CRun*>(user)->fates.push_back(std::string(ub04_claim_item(c, "account")) + " " +
                                                  ub04_claim_item(c, "fate") + " " +
                                                  std::to_string(ub04_claim_count(c, "findings")));
      },
      &run);
  ub04_here_is_a_message(f, "1", out.c_str());
  ub04_here_is_a_message(f, "2", "claims.fmt");
  ub04_here_is_a_message(f, "MULTIPAGE", "1");  // as ub04fmt: claims of several pages
  run.checks_result = ub04_here_is_a_message(f, "CHECKS", checks.c_str());
  drain();
  for (const BatchLine& line : ReadBatch(batch)) {
    ub04_format_record(f, line.key.c_str(), line.rec.c_str());
    drain();
  }
  ub04_process_end_of_file(f);
  drain();
  ub04_destroy(f);
  return run;
}

int Having(const std::vector<std::string>& messages, const std::string& part) {
  int n = 0;
  for (const std::string& m : messages) n += m.find(part) != std::string::npos;
  return n;
}

TEST(CheckedBatches, TheHostMessageChoosesOffReportOrHold) {
  ScratchDir dir;
  const std::string batch = BadBatch(dir);
  struct Case {
    const char* checks;
    const char* fate;  // of claims 1 and 2
    bool findings;     // reported as such
    bool held_file;
  } cases[] = {{"0", "written", false, false}, {"1", "written", true, false}, {"2", "held", true, true}};
  for (const Case& c : cases) {
    ScratchDir out;
    CRun run = RunThroughC(c.checks, out.path(), batch);
    EXPECT_EQ(run.checks_result, 0) << c.checks;
    ASSERT_EQ(run.fates.size(), 5u) << c.checks;
    EXPECT_NE(run.fates[0].find(std::string("RV100231 ") + c.fate), std::string::npos) << run.fates[0];
    EXPECT_NE(run.fates[1].find(std::string("RV100377 ") + c.fate), std::string::npos) << run.fates[1];
    EXPECT_NE(run.fates[2].find("written"), std::string::npos) << run.fates[2];
    EXPECT_EQ(Having(run.messages, "NPI-CHECK-DIGIT") > 0, c.findings) << c.checks;
    EXPECT_EQ(fs::exists(out.path() / "claims.fmt.held"), c.held_file) << c.checks;
    // The amount is one event: the reader's warning with the checks off,
    // the claim's finding (and nothing else) with them on.
    EXPECT_EQ(Having(run.messages, "1,210.00"), 1) << c.checks;
    EXPECT_EQ(Having(run.messages, "AMOUNT-NOT-A-NUMBER"), c.findings ? 1 : 0) << c.checks;
  }
  ScratchDir out;
  EXPECT_EQ(RunThroughC("3", out.path(), batch).checks_result, 3);
}

TEST(CheckedBatches, HeldClaimsStayOutOfThePdf) {
  ScratchDir dir;
  const std::string batch = BadBatch(dir);
  CliRun r = RunCli("-o " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("held: claim 1 (account RV100231): FL76 NPI-CHECK-DIGIT"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("held: claim 2 (account RV100377): FL10 BIRTH-DATE, FL47 AMOUNT-NOT-A-NUMBER"),
            std::string::npos) << r.err;
  // The three good claims (four pages) print; the held ones wait in their file.
  EXPECT_NE(r.err.find("printed: " + dir.str() + "/claims.pdf (4 pages)"), std::string::npos) << r.err;
  const std::string printed = ReadFile(dir.path() / "claims.fmt");
  const std::string held = ReadFile(dir.path() / "claims.fmt.held");
  for (const char* patient : {"ELLSWORTH", "OKAFOR, DANIEL"}) {
    EXPECT_EQ(printed.find(patient), std::string::npos) << patient;
    EXPECT_NE(held.find(patient), std::string::npos) << patient;
  }
  EXPECT_NE(printed.find("WIERZBICKI"), std::string::npos);
  // --print-anyway prints them too.
  ScratchDir anyway;
  CliRun all = RunCli("-o " + anyway.str() + " --print-anyway " + batch);
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_NE(all.err.find("(6 pages)"), std::string::npos) << all.err;
}

TEST(CheckedBatches, FindingsAreNotTheWarningsStrictCounts) {
  ScratchDir dir;
  // The split of the long stay is the only warning, and a finding: --strict
  // prints.
  const std::string split = " --no-print --strict --split-long-claims " + ExampleBatch();
  CliRun checked = RunCli("-o " + dir.str() + split);
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_NE(checked.err.find("1 finding (0 errors, 1 warning), 0 warnings"), std::string::npos) << checked.err;
  // Without the checks it is the warning it always was.
  CliRun plain = RunCli("-o " + dir.str() + " --no-checks" + split);
  EXPECT_EQ(plain.status, 1) << plain.err;
}

TEST(CheckedBatches, CheckWritesNothing) {
  ScratchDir dir, here, tmp;
  const std::string batch = BadBatch(dir);
  // In an empty folder, its private folder made in another.
  const std::string cmd = "cd " + here.str() + " && TMPDIR=" + tmp.str() + " " + UB04FMT_PATH +
                          " --check " + batch + " 2>" + dir.str() + "/err";
  const int rc = std::system(cmd.c_str());
  EXPECT_EQ(WEXITSTATUS(rc), 3);
  const std::string err = ReadFile(dir.path() / "err");
  EXPECT_NE(err.find("would hold: claim 1 (account RV100231)"), std::string::npos) << err;
  EXPECT_NE(err.find("nothing written (--check)"), std::string::npos) << err;
  EXPECT_TRUE(fs::is_empty(here.path()));
  EXPECT_TRUE(fs::is_empty(tmp.path()));  // its private folder is gone
  CliRun good = RunCli("--check " + ExampleBatch());
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_NE(good.err.find("0 would be held or refused"), std::string::npos) << good.err;
}

TEST(CheckedBatches, TheReportHasARowPerFinding) {
  ScratchDir dir;
  const std::string batch = BadBatch(dir);
  const std::string jsonl = dir.str() + "/findings.jsonl", csv = dir.str() + "/findings.csv";
  ASSERT_EQ(RunCli("--check --report " + jsonl + " " + batch).status, 3);
  ASSERT_EQ(RunCli("--check --report " + csv + " " + batch).status, 3);
  struct stat st {};
  ASSERT_EQ(::stat(jsonl.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  std::istringstream rows(ReadFile(jsonl));
  std::string row;
  int n = 0;
  while (std::getline(rows, row)) {
    ++n;
    size_t at = 0;
    for (const char* key : {"claim", "account", "locator", "rule", "level", "value", "message"}) {
      const size_t found = row.find(std::string("\"") + key + "\":", at);
      EXPECT_NE(found, std::string::npos) << key << " in " << row;
      at = found;
    }
  }
  EXPECT_EQ(n, 3);  // the three errors
  EXPECT_NE(ReadFile(jsonl).find("{\"claim\":2,\"account\":\"RV100377\",\"locator\":\"FL47\","
                                 "\"rule\":\"AMOUNT-NOT-A-NUMBER\",\"level\":\"error\","
                                 "\"value\":\"1,210.00\""),
            std::string::npos);
  const std::string table = ReadFile(csv);
  EXPECT_EQ(table.substr(0, table.find('\n')), "claim,account,locator,rule,level,value,message");
  EXPECT_NE(table.find("\n1,RV100231,FL76,NPI-CHECK-DIGIT,error,1000000013,"), std::string::npos) << table;
}

}  // namespace
}  // namespace ub04::test
