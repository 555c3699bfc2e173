// ub04fmt end to end: the batch format, messages on standard error, when it
// prints and when it refuses to, the summary, the exit status and the
// --manifest rows, checked against the formatted-record file they describe.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

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
      for (const std::string& line : SplitLines(r.err))
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

TEST(CliManifest, CsvRowsMatchTheFormattedRecordFile) {
  ScratchDir dir;
  std::string manifest = dir.str() + "/claims.csv";
  CliRun r = RunCli("--no-print --out " + dir.str() + " --manifest " + manifest + " " +
                    ExampleBatch());
  ASSERT_EQ(r.status, 0) << r.err;
  struct stat st {};
  ASSERT_EQ(stat(manifest.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Expected rows from the file: each "C" line opens page n of a claim's m
  // (its items 3 and 4); line 23 of the last page is the "0001" row whose
  // right-aligned text is the claim's total.
  std::vector<std::string> expected, ends;
  std::string index, total, sequences;
  int page = 0, first = 0, of = 0, count = 0, service_lines = 0;
  for (const FormattedLine& f : ReadFormatted(dir.path() / "claims.fmt")) {
    if (f.kind == "C") {
      of = static_cast<int>(f.x);
      count = static_cast<int>(f.y);
      if (of == 1) {
        first = page + 1;
        service_lines = 0;
        sequences.clear();
      }
      index = f.text;
      sequences += (sequences.empty() ? "" : " ") + std::to_string(f.number);
    } else if (f.kind == "F" && f.number == 1 && f.x > 7 && f.y == 6.8f) {
      total = f.text;
    } else if (f.kind == "F" && f.x == 0.25f && f.y > 3 && f.y < 6.8f) {
      ++service_lines;
    } else if (f.kind == "N" && ++page && of == count) {
      auto part = [&](size_t at, size_t n) {
        std::string s = index.substr(at, n);
        return s.substr(0, s.find_last_not_of(' ') + 1);
      };
      // Up to the warnings, which the file does not show; the pages last.
      expected.push_back(std::to_string(first) + "," + std::to_string(first) + "," +
                         std::to_string(page) + "," + std::to_string(count) + ",\"" +
                         part(0, 40) + "\"," + part(40, 10) + "," + part(50, 10) + "," +
                         part(60, 1) + "," + total + "," + std::to_string(service_lines) + ",");
      ends.push_back("," + sequences + ",written,");
    }
  }
  std::vector<std::string> rows = SplitLines(ReadFile(manifest));
  ASSERT_EQ(rows.size(), expected.size() + 1);
  EXPECT_EQ(rows[0],
            "claim,first_pdf_page,last_pdf_page,pages,patient,billing_provider,insurance,"
            "payer_sequence,total_charges,service_lines,warnings,errors,messages,page_sequences,"
            "fate,findings,held");
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(rows[i + 1].substr(0, expected[i].size()), expected[i]);
    EXPECT_NE(rows[i + 1].find(ends[i], expected[i].size()), std::string::npos) << rows[i + 1];
  }
  EXPECT_NE(rows[2].find(",0,0,,2,written,0"), std::string::npos) << rows[2];
  // The stay of 23 lines: one claim over pages 3 and 4.
  EXPECT_EQ(rows[3], "3,3,4,2,\"WIERZBICKI, TOMASZ\",BP1,BRC,1,2208.00,23,0,0,,3 4,written,0,");
  // Split, its second claim carries the warning of the split: a finding with
  // checks on, a message with them off.
  const std::string split_run = "--no-print --split-long-claims --out " + dir.str() +
                                " --manifest " + manifest + " " + ExampleBatch();
  CliRun split = RunCli(split_run);
  ASSERT_EQ(split.status, 0) << split.err;
  rows = SplitLines(ReadFile(manifest));
  EXPECT_EQ(rows[4], "4,4,4,1,\"WIERZBICKI, TOMASZ\",BP1,BRC,1,96.00,1,0,0,,4,written,1,");
  split = RunCli("--no-checks " + split_run);
  ASSERT_EQ(split.status, 0) << split.err;
  rows = SplitLines(ReadFile(manifest));
  EXPECT_EQ(rows[4], "4,4,4,1,\"WIERZBICKI, TOMASZ\",BP1,BRC,1,96.00,1,1,0,\"warning: "
                     "WriteClaim()  Warning: the claim of account RV100512 has 23 service lines "
                     "and was split into 2 claims of at most 22 lines; host message MULTIPAGE "
                     "\"\"1\"\" prints it as one claim of several pages\",4,written,1,");
}

TEST(CliManifest, JsonLinesFollowTheTestClaimRange) {
  ScratchDir dir;
  std::string manifest = dir.str() + "/claims.jsonl";
  CliRun r = RunCli("--out " + dir.str() + " --test-claims 5-9 --manifest " + manifest + " " +
                    ExampleBatch());
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> rows = SplitLines(ReadFile(manifest));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].rfind("{\"claim\":1,\"first_pdf_page\":null,", 0), 0u) << rows[0];
  EXPECT_EQ(rows[4].rfind("{\"claim\":6,\"first_pdf_page\":2,\"last_pdf_page\":2,\"pages\":1,"
                          "\"patient\":\"BIXBY, HAROLD\"", 0), 0u) << rows[4];

  // A charge that cannot be read (the first of the second patient's): its
  // claim is refused, and its errors belong to that claim and no other.
  std::string batch = ReadFile(ExampleBatch());
  size_t at = 0;
  for (int k = 0; k < 5; ++k) at = batch.find("6000\t", at + 1);
  batch.replace(at + 5, batch.find('\n', at) - at - 5, "X");
  CliRun broken = RunCli("--no-print --out " + dir.str() + " --manifest " + dir.str() +
                         "/m.csv " + WriteBatch(dir, batch));
  EXPECT_EQ(broken.status, 3) << broken.err;  // formatted, but not everything
  EXPECT_NE(broken.err.find("ub04fmt: refused: account RV100377: the charge of record 32"),
            std::string::npos) << broken.err;
  rows = SplitLines(ReadFile(dir.path() / "m.csv"));
  ASSERT_EQ(rows.size(), 6u);  // five claims: four written, one refused
  for (size_t i = 1; i < rows.size(); ++i) {
    bool has = rows[i].find(",0,3,error: ParseChargeRec() Error:  9 Subscript out of range | "
                            "error: Record#  32 Record Key: ") != std::string::npos;
    EXPECT_EQ(has, i == 2) << rows[i];
    // A refused claim has no pages; the written ones may have a finding (the
    // remarks of two claims do not fit box 80); none is held.
    const std::string fate = i == 2 ? ",,refused,0," : ",written,";
    EXPECT_NE(rows[i].find(fate, rows[i].size() - fate.size() - (i == 2 ? 0 : 2)), std::string::npos)
        << rows[i];
  }

  // A run whose output folder is not there is stopped before it starts:
  // nothing is written, the earlier manifest included.
  const std::string before = ReadFile(manifest);
  CliRun bad = RunCli("--no-print --out " + dir.str() + "/missing --manifest " + manifest +
                      " " + ExampleBatch());
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("--out " + dir.str() + "/missing does not exist"), std::string::npos)
      << bad.err;
  EXPECT_EQ(ReadFile(manifest), before);
}

}  // namespace
}  // namespace ub04::test
