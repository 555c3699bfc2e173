// Nothing lost, nothing stale, never success over failure: printing reads
// only what this run finished, and a batch's edges bill nothing they cannot
// bill whole.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "form/fmt_file.h"
#include "host/format_class.h"
#include "test_support.h"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

std::string TypeOf(const std::string& key) { return key.substr(key.size() - 4); }

int CountKind(const std::vector<FormattedLine>& lines, const std::string& kind) {
  int n = 0;
  for (const FormattedLine& l : lines) n += l.kind == kind;
  return n;
}

std::string AllMessages(Format_Class& fc) {
  std::string all;
  for (const std::string& m : Messages(fc)) all += m + "\n";
  return all;
}

struct BatchRun : Harness {
  // Feeds records [from, to).
  void Feed(const std::vector<BatchLine>& recs, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) fc.FormatRecord(recs[i].key, recs[i].rec);
  }
};

// The formatted-record file of the whole example batch.
std::string PlainRun() {
  BatchRun run;
  const auto& recs = ExampleRecords();
  run.Feed(recs, 0, recs.size());
  EXPECT_EQ(run.fc.ProcessEndOfFile(), 0);
  return ReadFile(run.fmt_path());
}

int CountKindIn(const std::string& text, const std::string& kind) {
  return CountOf(text, "\"" + kind + "\",");
}

// ---- batch edges ------------------------------------------------------------------

TEST(BatchEdges, ABatchEndingInsideAChargeBillsTheClaimsBeforeItAndFails) {
  const auto& recs = ExampleRecords();
  // Up to and including the last charge record, without its 6990.
  size_t last_charge = recs.size();
  while (TypeOf(recs[--last_charge].key) != "6000") {
  }
  const std::string full = PlainRun();
  BatchRun cut;
  cut.Feed(recs, 0, last_charge + 1);
  EXPECT_EQ(cut.fc.ProcessEndOfFile(), 1);
  std::string msgs = AllMessages(cut.fc);
  EXPECT_NE(msgs.find("batch ended inside the charge of record key"), std::string::npos) << msgs;
  EXPECT_NE(msgs.find("1 record(s)"), std::string::npos) << msgs;
  // The claims before the open charge are all there and the file is whole.
  EXPECT_EQ(WhyIncomplete(cut.fmt_path().string()), "");
  // The open charge may have been a claim of its own.
  const int claims = CountKind(ReadFormatted(cut.fmt_path()), "C");
  EXPECT_LE(claims, CountKindIn(full, "C"));
  EXPECT_GE(claims, CountKindIn(full, "C") - 1);
}

TEST(BatchEdges, EndOfChargeOrCompanionWithoutAChargeWarnsAndBillsNothing) {
  const auto& recs = ExampleRecords();
  const std::string plain = PlainRun();
  BatchRun extra;
  // After the first complete charge, a stray companion and a stray 6990.
  size_t first_end = 0;
  while (TypeOf(recs[first_end].key) != "6990") ++first_end;
  extra.Feed(recs, 0, first_end + 1);
  std::string stray_key = recs[first_end].key;
  stray_key.replace(stray_key.size() - 4, 4, "6120");
  EXPECT_EQ(extra.fc.FormatRecord(stray_key, "1//REF9//X"), 0);
  EXPECT_NE(AllMessages(extra.fc).find(" 2//"), std::string::npos);
  EXPECT_EQ(extra.fc.FormatRecord(recs[first_end].key, recs[first_end].rec), 0);
  std::string msgs = AllMessages(extra.fc);
  EXPECT_NE(msgs.find("no charge record (6000) since the last claim: no claim was written"),
            std::string::npos)
      << msgs;
  extra.Feed(recs, first_end + 1, recs.size());
  EXPECT_EQ(extra.fc.ProcessEndOfFile(), 0);
  EXPECT_EQ(ReadFile(extra.fmt_path()), plain);
}

// A charge record that cannot be read bills nothing, and the claim it
// belongs to does not go out without it: that claim is refused, named, and
// written nowhere; the batch's other claims are written as usual.
TEST(BatchEdges, AFailedChargeRecordRefusesItsClaimAndNamesIt) {
  const auto& recs = ExampleRecords();
  const std::string plain = PlainRun();
  BatchRun broken;
  std::vector<ClaimRecord> claims;
  broken.fc.AddClaimObserver([&](const ClaimRecord& c) { claims.push_back(c); });
  // A charge record cut short inside its mandatory tokens fails to parse.
  size_t charge = 0;
  while (TypeOf(recs[charge].key) != "6000") ++charge;
  broken.Feed(recs, 0, charge);
  EXPECT_EQ(broken.fc.FormatRecord(recs[charge].key, "CHG,1,OP//.//."), 1);
  std::string msgs = AllMessages(broken.fc);
  EXPECT_NE(msgs.find("Record#  " + std::to_string(charge + 1) + " Record Key: "), std::string::npos) << msgs;
  // Its companions and its 6990 add nothing and say nothing more.
  size_t i = charge + 1;
  for (; TypeOf(recs[i].key) != "6990"; ++i)
    EXPECT_EQ(broken.fc.FormatRecord(recs[i].key, recs[i].rec), 0);
  EXPECT_EQ(broken.fc.FormatRecord(recs[i].key, recs[i].rec), 0);
  EXPECT_EQ(AllMessages(broken.fc), "");
  // The call that ends its claim refuses it, naming the account and the
  // charge record.
  std::string refusal;
  for (++i; i < recs.size() && claims.empty(); ++i) {
    broken.fc.FormatRecord(recs[i].key, recs[i].rec);
    refusal += AllMessages(broken.fc);
  }
  ASSERT_FALSE(claims.empty());
  EXPECT_EQ(claims[0].fate, ClaimRecord::Fate::kRefused);
  EXPECT_NE(refusal.find("WriteClaim()  Error: the claim of account " + claims[0].account +
                         " was refused and written nowhere: the charge of record " +
                         std::to_string(charge + 1) + " (key "),
            std::string::npos) << refusal;
  broken.Feed(recs, i, recs.size());
  EXPECT_EQ(broken.fc.ProcessEndOfFile(), 0);
  EXPECT_TRUE(broken.LogHas("was refused and written nowhere"));
  // Five claims instead of six, numbered on from 1.
  const std::string text = ReadFile(broken.fmt_path());
  EXPECT_EQ(CountKindIn(text, "C"), CountKindIn(plain, "C") - 1);
  ASSERT_EQ(claims.size(), 6u);
  for (size_t k = 1; k < claims.size(); ++k) {
    EXPECT_EQ(claims[k].fate, ClaimRecord::Fate::kWritten);
    EXPECT_EQ(claims[k].first_sequence(), static_cast<int32_t>(k));
  }
  EXPECT_NE(text.find(",\"" + claims[1].index_patient), std::string::npos);
}

TEST(BatchEdges, AHugeKeyIsQuotedInPartAndSplitInLinearTime) {
  BatchRun run;
  const auto& recs = ExampleRecords();
  run.Feed(recs, 0, 1);
  std::string key;
  for (int i = 0; i < 100000; ++i) key += "x//";
  key += "6000";
  run.fc.FormatRecord(key, "");  // a charge record without tokens fails
  for (const std::string& m : Messages(run.fc))
    EXPECT_LT(m.size(), 400u) << m.substr(0, 100);
}

// ---- the formatted-record file: whole or not at all ------------------------------------

TEST(Outputs, APrintedFileIsOnlyOneThisRunFinished) {
  const auto& recs = ExampleRecords();
  ScratchDir dir;
  const fs::path fmt = dir.path() / "claims.fmt", pdf = dir.path() / "claims.pdf";
  auto run = [&](Format_Class& fc, bool batch) {
    fc.HereIsAMessage("1", dir.str());
    fc.HereIsAMessage("2", "claims.fmt");
    if (batch)
      for (const auto& [key, rec] : recs) fc.FormatRecord(key, rec);
    return batch ? fc.ProcessEndOfFile() : 0;
  };
  {
    Format_Class fc;
    ASSERT_EQ(run(fc, true), 0);
    const std::string whole = ReadFile(fmt);
    // Cut inside a line in place, as a copy that ran out of room would
    // leave it; removed; or a copy of it put in its place: not this run's.
    const size_t cut = whole.find("\"F\",\"", whole.size() / 2) + 6;
    fs::resize_file(fmt, cut);
    EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    EXPECT_NE(AllMessages(fc).find("is not the formatted-record file this run wrote"),
              std::string::npos);
    fs::remove(fmt);
    EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    std::ofstream(fmt, std::ios::binary) << whole;
    EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    EXPECT_NE(AllMessages(fc).find("is not the formatted-record file this run wrote"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(pdf));
  }
  const std::string claims = ReadFile(fmt);
  // An empty batch after a good run: the earlier file is not this batch's.
  {
    Format_Class fc;
    run(fc, false);
    EXPECT_EQ(fc.ProcessEndOfFile(), 0);
    EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    EXPECT_NE(AllMessages(fc).find("wrote no formatted-record file"), std::string::npos);
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_EQ(ReadFile(fmt), claims);
  }
  // A reprint (no batch in this run) reads a cut file up to the cut.
  Format_Class reprint;
  run(reprint, false);
  fs::resize_file(fmt, claims.find("\"F\",\"", claims.size() / 2) + 6);
  EXPECT_EQ(reprint.ProcessFormattedRecords(), 1);
  EXPECT_EQ(Messages(reprint).at(0),
            " 3//ProcessFormattedRecords()  Error:  62 Input past end of file//");
}

// Printing before the batch ended, or after the host gave the batch up,
// prints nothing: the file under the name is an earlier batch's, and it and
// its PDF stay as they were. A batch that then ends prints as ever.
TEST(Outputs, NothingPrintsBeforeTheBatchEndedOrAfterTheHostGaveItUp) {
  const auto& recs = ExampleRecords();
  ScratchDir dir;
  const fs::path fmt = dir.path() / "claims.fmt", pdf = dir.path() / "claims.pdf";
  {
    Format_Class fc;
    std::string why;
    ASSERT_EQ(RunBatch(fc, recs, dir.path(), "claims.fmt", &why), 0) << why;
    ASSERT_EQ(fc.ProcessFormattedRecords(), 0) << AllMessages(fc);
  }
  const std::string earlier_fmt = ReadFile(fmt), earlier_pdf = ReadFile(pdf);
  for (const bool gave_up : {true, false}) {
    SCOPED_TRACE(gave_up ? "3 Y" : "no end of batch");
    Format_Class fc;
    fc.HereIsAMessage("1", dir.str());
    fc.HereIsAMessage("2", "claims.fmt");
    auto feed = [&](size_t from, size_t to) {
      for (size_t i = from; i < to; ++i) fc.FormatRecord(recs[i].key, recs[i].rec);
    };
    feed(0, recs.size() / 2);
    if (gave_up) fc.HereIsAMessage("3", "Y");
    EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    const std::string msgs = AllMessages(fc);
    EXPECT_NE(msgs.find(std::string(gave_up ? "the host declared this batch failed (message 3)"
                                            : "this run's batch has not ended (ProcessEndOfFile)") +
                        "; " + fmt.string() + " is not this batch's and was not printed"),
              std::string::npos) << msgs;
    EXPECT_EQ(ReadFile(pdf), earlier_pdf);
    EXPECT_EQ(ReadFile(fmt), earlier_fmt);
    if (gave_up) continue;
    feed(recs.size() / 2, recs.size());
    EXPECT_EQ(fc.ProcessEndOfFile(), 0) << AllMessages(fc);
    EXPECT_EQ(fc.ProcessFormattedRecords(), 0) << AllMessages(fc);
  }
}

TEST(Outputs, PrintingRefusesAFileNoRunFinished) {
  const std::string h = "\"H\",\"\",0,0,0\r\n", t = "\"T\",\"\",0,0,0\r\n";
  const std::string c = "\"C\",\"X\",0,0,1\r\n", f = "\"F\",\"A\",1,1,0\r\n",
                    n = "\"N\",\"\",0,0,0\r\n";
  const std::pair<std::string, const char*> cases[] = {
      {h + c + f + n, "does not end with a \"T\" line"},
      {c + f + n + t, "does not start with an \"H\" line"},
      {h + c + f + t, "its last page has no \"N\" line"},
      {h + c + f + c + f + n + t, "starts a page before the last one ended"},
      {"", "it is empty"},
      {h + t, nullptr},  // the header and trailer alone: a whole, empty batch
  };
  for (const auto& [text, why] : cases) {
    SCOPED_TRACE(text);
    ScratchDir dir;
    std::ofstream(dir.path() / "claims.fmt", std::ios::binary) << text;
    Format_Class fc;
    fc.HereIsAMessage("1", dir.str());
    fc.HereIsAMessage("2", "claims.fmt");
    EXPECT_EQ(fc.ProcessFormattedRecords(), why ? 1 : 0);
    std::string msgs = AllMessages(fc);
    if (!why) continue;
    EXPECT_NE(msgs.find("incomplete formatted-record file"), std::string::npos) << msgs;
    EXPECT_NE(msgs.find(why), std::string::npos) << msgs;
    EXPECT_FALSE(fs::exists(dir.path() / "claims.pdf"));
  }
}

}  // namespace
}  // namespace ub04::test
