// ub04fmt end to end: the batch format, messages on standard error, when it
// prints and when it refuses to, the summary and the exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "tests/cli_support.h"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

TEST(CliBatch, EveryLineEndReadsTheSameAndUnreadableBatchesSayWhy) {
  ScratchDir dir;
  std::string recs[] = {"# comment", "", Key("1000") + "\t" + PracticeRecord(),
                        Key("7777") + "\tX", Key("7777") + "\tY"};
  std::string expected = "\"H\",\"\",0,0,0\r\n\"T\",\"\",0,0,0\r\n";
  for (std::string eol : {"\n", "\r\n", "\r"}) {
    std::string text;
    for (const std::string& r : recs) text += r + eol;
    CliRun r = RunCli("--no-print -q --out " + dir.str() + " " + WriteBatch(dir, text));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.path() / "claims.fmt"), expected);
  }

  fs::create_directory(dir.path() / "adir");
  CliRun folder = RunCli((dir.path() / "adir").string());
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("cannot read " + (dir.path() / "adir").string() + ": Is a directory"),
            std::string::npos) << folder.err;
  CliRun missing = RunCli("/nonexistent/batch.txt");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos);
  CliRun no_tab = RunCli("--no-print --out " + dir.str() + " " + WriteBatch(dir, "no tab\n"));
  EXPECT_EQ(no_tab.status, 2);
  EXPECT_NE(no_tab.err.find("line 1: no TAB"), std::string::npos);
}

TEST(CliMessages, ErrorsNameTheBatchLineAndRecordRawModeKeepsTheQueueText) {
  ScratchDir dir;
  std::string batch = WriteBatch(dir, "# first\n" + Key("1050") + "\tX\n");
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ub04fmt: error: 1st Record was not Practice Info (type:1000) "
                       "(batch line 2, record 1050)\n"),
            std::string::npos) << r.err;

  CliRun raw = RunCli("--raw-messages -q --no-print --out " + dir.str() + " " + batch);
  EXPECT_EQ(raw.status, 1);
  EXPECT_EQ(raw.err.rfind(" 3//1st Record was not Practice Info (type:1000)//\n"
                          " 3//Please call support for help//\n", 0), 0u) << raw.err;

  // Warnings too name their batch line, without the component's name:
  // records of a charge that no charge record opened.
  std::string strays;
  for (int i = 0; i < 6; ++i) strays += Key("6050") + "\tX\n";
  CliRun bad = RunCli("--no-print --out " + dir.str() + " " +
                      WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n" + strays, "s.txt"));
  EXPECT_EQ(bad.status, 0) << bad.err;  // warnings only
  EXPECT_NE(bad.err.find("came with no charge record (6000) since the last claim"), std::string::npos)
      << bad.err;
  EXPECT_EQ(bad.err.find("QVR_UB04PPA_Format.Dll"), std::string::npos);

  CliRun notes = RunCli("--no-print --out " + dir.str() + " " +
                        WriteBatch(dir, "@HOW_MANY_CLAIMS\t\n", "notes.txt"));
  EXPECT_EQ(notes.status, 0) << notes.err;  // notes are not failures
  EXPECT_NE(notes.err.find("ub04fmt: note: TOTALCLAIMS//0 (batch line 1, message HOW_MANY_CLAIMS)"),
            std::string::npos) << notes.err;
}

// A record type of any size is quoted in part: no message ub04fmt shows
// holds more than 200 characters of it, and each says how long it was.
TEST(CliMessages, AHugeRecordTypeIsQuotedInPart) {
  ScratchDir dir;
  const std::string huge(330000, 'T');
  const std::string batches[] = {
      Key(huge) + "\tX\n",  // the first record
      Key("1000") + "\t" + PracticeRecord() + "\n" + Key("6" + huge) + "\tX\n",  // a charge's
  };
  for (const std::string& text : batches) {
    for (const char* raw : {"", "--raw-messages "}) {
      CliRun r = RunCli(std::string(raw) + "--no-print --out " + dir.str() + " " + WriteBatch(dir, text));
      EXPECT_EQ(r.status, 1);
      // The type alone, or the whole key: some 330,000 characters.
      EXPECT_NE(r.err.find("T\u2026 (3300"), std::string::npos) << r.err.substr(0, 600);
      std::istringstream lines(r.err);
      for (std::string line; std::getline(lines, line);)
        EXPECT_EQ(line.find(std::string(201, 'T')), std::string::npos) << line.substr(0, 300);
    }
  }
}

TEST(CliPrinting, NothingIsPrintedAfterAFailureOrForAnEmptyBatch) {
  ScratchDir dir;
  // A failed set-up message (the log folder cannot hold the log) stops printing.
  fs::create_directory(dir.path() / "QVR_UB04PPA_Format.Log");
  CliRun setup = RunCli("--out " + dir.str() + " --log-level 1 " + ExampleBatch());
  EXPECT_EQ(setup.status, 1) << setup.err;
  EXPECT_NE(setup.err.find("nothing printed: the set-up message 5 (--log-level) failed"),
            std::string::npos) << setup.err;
  EXPECT_FALSE(fs::exists(dir.path() / "claims.pdf"));
  CliRun anyway = RunCli("-q --out " + dir.str() + " --log-level 1 --print-anyway " + ExampleBatch());
  EXPECT_EQ(anyway.status, 3);  // printed, but after a failure: never 1 once pages went out
  EXPECT_TRUE(fs::exists(dir.path() / "claims.pdf"));
  fs::remove(dir.path() / "QVR_UB04PPA_Format.Log");
  fs::remove(dir.path() / "claims.pdf");

  CliRun empty = RunCli("--out " + dir.str() + " " + WriteBatch(dir, "# none\n"));
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_NE(empty.err.find("nothing to print: the batch made no claim"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "claims.pdf"));
}

TEST(CliPrinting, TestClaimRangeBeyondThePagesKeepsTheEarlierPdf) {
  ScratchDir dir;
  CliRun all = RunCli("--out " + dir.str() + " " + ExampleBatch());
  ASSERT_EQ(all.status, 0) << all.err;
  std::string pdf = ReadFile(dir.path() / "claims.pdf");
  ASSERT_FALSE(pdf.empty());

  CliRun none = RunCli("--out " + dir.str() + " --test-claims 7-9 " + ExampleBatch());
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("--test-claims 7-9 selects no page: the batch made 6 pages"),
            std::string::npos) << none.err;
  EXPECT_EQ(ReadFile(dir.path() / "claims.pdf"), pdf);

  CliRun some = RunCli("--out " + dir.str() + " --test-claims 5-9 " + ExampleBatch());
  EXPECT_EQ(some.status, 0) << some.err;
  EXPECT_NE(some.err.find("claims.pdf (pages 5-6, 2 of 6)"), std::string::npos) << some.err;
}

TEST(CliSummary, CountsFilesAndTheLogAndQuietLeavesItOut) {
  ScratchDir dir;
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + ExampleBatch());
  ASSERT_EQ(r.status, 0) << r.err;
  // The 23-line claim is one claim over two pages.
  EXPECT_NE(r.err.find("ub04fmt: 5 claims, 6 pages, 32 charges; 0 findings (0 errors, 0 warnings), "
                       "0 warnings, 0 errors\n"),
            std::string::npos) << r.err;
  EXPECT_NE(r.err.find("formatted records: " + dir.str() + "/claims.fmt\n"), std::string::npos);
  EXPECT_NE(r.err.find("run log: " + dir.str() + "/QVR_UB04PPA_Format.Log\n"), std::string::npos);

  CliRun printed = RunCli("--out " + dir.str() + " " + ExampleBatch());
  EXPECT_NE(printed.err.find("printed: " + dir.str() + "/claims.pdf (6 pages)"), std::string::npos);
  EXPECT_NE(printed.err.find("(deleted by printing"), std::string::npos) << printed.err;

  // Quiet: the findings (the remarks), and nothing else.
  const std::string quiet = RunCli("-q --no-print --out " + dir.str() + " " + ExampleBatch()).err;
  for (size_t at = 0; at < quiet.size(); at = quiet.find('\n', at) + 1)
    EXPECT_EQ(quiet.compare(at, 18, "ub04fmt: finding: "), 0) << quiet;
}

}  // namespace
}  // namespace ub04::test
