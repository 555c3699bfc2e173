// ub04fmt --manifest: one row per claim, checked against the formatted-record
// file it describes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <vector>

#include "tests/cli_support.h"

namespace ub04::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
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
  std::vector<std::string> rows = Lines(ReadFile(manifest));
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
  rows = Lines(ReadFile(manifest));
  EXPECT_EQ(rows[4], "4,4,4,1,\"WIERZBICKI, TOMASZ\",BP1,BRC,1,96.00,1,0,0,,4,written,1,");
  split = RunCli("--no-checks " + split_run);
  ASSERT_EQ(split.status, 0) << split.err;
  rows = Lines(ReadFile(manifest));
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
  std::vector<std::string> rows = Lines(ReadFile(manifest));
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
  rows = Lines(ReadFile(dir.path() / "m.csv"));
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
