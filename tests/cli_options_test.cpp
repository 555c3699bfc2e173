// ub04fmt's options: every bad value stops the run before the component is
// told anything, with the option and its accepted form named.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli_support.h"

namespace ub04::test {
namespace {

TEST(CliOptions, BadValuesAreUsageErrorsNamingTheOptionAndNothingIsWritten) {
  ScratchDir dir;
  std::string batch = WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n");
  struct Case {
    std::string args, names;
  } cases[] = {
      {"--offsets abc", "--offsets takes X,Y"},
      {"--offsets 0.1", "--offsets takes X,Y"},
      {"--offsets=1.01,0", "within +-1.00"},
      {"--offsets '-0.1 0.1'", "--offsets takes X,Y"},
      {"--offsets 0.125,0", "two decimals"},
      {"--test-claims 9-1", "1 <= FROM <= TO <= 32767"},
      {"--test-claims abc-def", "--test-claims takes FROM-TO"},
      {"--test-claims 0-3", "--test-claims takes FROM-TO"},
      {"--test-claims 1-40000", "not '1-40000'"},
      {"--log-level 7", "--log-level takes 0, 1 or 2"},
      {"--log-level=-1", "--log-level takes 0, 1 or 2"},
      {"--printer no-such-queue", "--printer 'no-such-queue' is not a print queue"},
      {"--file ../claims.fmt", "--file takes a plain file name"},
      {"-f /tmp/claims.fmt", "--file takes a plain file name"},
      {"--file=a/b", "--file takes a plain file name"},
      {"--bogus", "unknown option --bogus"},
      {"-x", "unknown option -x"},
      // Options that do not belong together.
      {"--claims 2", "--claims and --account choose the claims of --reprint"},
      {"--account X", "--claims and --account choose the claims of --reprint"},
      {"--grid", "--grid draws on the previews"},
      {"--form=blue", "--form takes red or grey"},
      {"--reprint a.fmt --claims 3-1", "not '3-1'"},
      {"--reprint a.fmt", "--reprint formats no batch"},
      {"--calibration c.pdf", "--calibration formats no batch"},
  };
  for (const Case& c : cases) {
    CliRun r = RunCli("-o " + dir.str() + " " + c.args + " " + batch);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.names), std::string::npos) << c.args << ": " << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "claims.fmt")) << c.args;
  }
  for (const Case& c : std::vector<Case>{
           {"--out '' " + batch, "--out needs a folder"},
           {"--calibration c.pdf --form", "--calibration takes only --offsets"},
           {"--reprint a.fmt --test-claims 1-2", "--reprint takes none of"},
           {"-o " + dir.str(), ""},  // no batch
           {"-o " + dir.str() + " " + batch + " " + batch, ""}}) {
    CliRun r = RunCli(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.names), std::string::npos) << c.args << ": " << r.err;
  }
}

TEST(CliOptions, GnuFormsAndEveryOffsetsFormAreAccepted) {
  ScratchDir dir;
  std::string batch = WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n");
  for (std::string args : {"--offsets 0.1,0.05", "--offsets=+0.10,-0.05", "--offsets '0.10-0.05 '",
                           "--offsets -1,1", "--log-level=1", "--test-claims 1-32767",
                           "-q --group-readable --strict", "--raw-messages"}) {
    CliRun r = RunCli("--no-print --out=" + dir.str() + " -f x.fmt " + args + " -- " + batch);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
  }
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "x.fmt"));
  // Options after the batch are options too; after "--" they are names.
  EXPECT_EQ(RunCli(batch + " --no-print -o " + dir.str()).status, 0);
  EXPECT_EQ(RunCli("--no-print -o " + dir.str() + " -- --no-such-batch").status, 2);
}

TEST(CliOptions, HelpShowsEveryOptionAndVersionAnswers) {
  ScratchDir dir;
  std::string out = dir.str() + "/help";
  ASSERT_EQ(std::system((std::string(UB04FMT_PATH) + " --help >" + out).c_str()), 0);
  std::string help = ReadFile(out);
  for (const char* opt :
       {"--out", "--file", "--offsets", "--log-level", "--test-claims", "--printer", "--dsn",
        "--preview", "--manifest", "--no-print", "--print-anyway", "--strict",
        "--group-readable", "--raw-messages", "--quiet", "--help", "--version", "example:"})
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
  EXPECT_EQ(RunCli("-V").status, 0);
  EXPECT_EQ(RunCli("-h").status, 0);
}

}  // namespace
}  // namespace ub04::test
