// The host interface: commands, the queue, first-record rules, dispatch, the
// end of a batch, the run log, and the run each instance owns.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "host/version.h"
#include "tests/test_support.h"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

// "1.0.0": the version the host is told.
std::string VersionText() {
  return std::to_string(UB04_VERSION_MAJOR) + "." + std::to_string(UB04_VERSION_MINOR) + "." +
         std::to_string(UB04_VERSION_PATCH);
}

const std::string kNoOutputPath =
    " 3//Output Path was not set. QVR_UB04PPA_Format.Dll doesn't know where to read/write files//";

TEST(HostCommands, RegistrationAnswers) {
  Format_Class fc;
  // Fourteen answers: the queue grows past its first ten slots.
  EXPECT_EQ(fc.HereIsAMessage("BCM-1", ""), 1);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 14u);
  EXPECT_EQ(m[0], " 1//BCM//0005//" + VersionText() + "//");
  EXPECT_EQ(m[13], " 1//BCM//0020//1613~Billing Code~Field 2~Field 3~Field 4~Field 5//");
  // Answers stay readable until the next call; index 0 and past the end: "END".
  int32_t i = 14, zero = 0, past = 15;
  EXPECT_EQ(fc.GetAMessage(i), m[13]);
  EXPECT_EQ(fc.GetAMessage(zero), "END");
  EXPECT_EQ(fc.GetAMessage(past), "END");
  EXPECT_EQ(fc.HereIsAMessage("VER", ""), 1);  // the next call empties the queue
  EXPECT_EQ(Messages(fc).size(), 1u);
}

TEST(HostCommands, TestClaimRangeErrors) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("6", "//5"), 0);
  EXPECT_EQ(fc.HereIsAMessage("6", "3//0"), 0);
  EXPECT_EQ(fc.HereIsAMessage("6", "3//"), 3);
  EXPECT_EQ(Messages(fc), std::vector<std::string>{" 3//QVR_UB04PPA_Format.Dll  HereIsAMessage()  "
                                                   "Error:  9 Subscript out of range//"});
  EXPECT_EQ(fc.HereIsAMessage("6", "40000//1"), 3);
  EXPECT_NE(Messages(fc).at(0).find("Error:  6 Overflow"), std::string::npos);
}

TEST(FirstRecord, WithoutFileNameReturnsOneThenDispatchesNormally) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("2", "a.fmt"), 3);  // before the output path: not kept
  EXPECT_EQ(fc.FormatRecord(Key("1000"), "X"), 1);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_NE(m[0].find("ASCII file name and path were not set."), std::string::npos);
  EXPECT_EQ(fc.FormatRecord(Key("7777"), "X"), 0);
}

TEST(FirstRecord, ShortKeyReportsBothMessages) {
  Harness h;
  EXPECT_EQ(h.fc.FormatRecord("A//B//C", "X"), 1);
  EXPECT_EQ(h.Msgs(), (std::vector<std::string>{
                          " 3//QVR_UB04PPA_Format.Dll Had a problem in FormatRecord() Error:  9 "
                          "Subscript out of range//",
                          " 3//Record#  1 Record Key: A /B /C//"}));
}

TEST(Dispatch, UnknownTypesAreLoggedAndAccepted) {
  Harness h;
  ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
  EXPECT_EQ(h.Send("7777", "whatever"), 0);
  EXPECT_TRUE(h.Logged("FormatRecord() - Didn't know the case type"));
}

TEST(Dispatch, FacilityRecordFollowsTheBillingPreferenceSwitch) {
  struct Case {
    std::string sw, pos;
    bool parsed;
  };
  for (const Case& c : {Case{"2", "11", false}, Case{"2", "21", true}, Case{"1", "21", false},
                        Case{"0", "11", true}, Case{"", "11", true}}) {
    Harness h;
    ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
    ASSERT_EQ(h.Send("3100", Rec(15).Set(13, c.sw)), 0);
    ASSERT_EQ(h.Send("6000", ChargeText().Set(charge::PosCode, c.pos)), 0);
    ASSERT_EQ(h.Send("6200", Rec(18)), 0);
    EXPECT_EQ(h.Logged("=== Facility Grid Values ==="), c.parsed)
        << "switch " << c.sw << " place " << c.pos;
  }
}

TEST(EndOfBatch, FatalErrorWritesNoTrailer) {
  Harness h;
  h.Send("1000", PracticeRecord());
  h.fc.HereIsAMessage("3", "Y");
  h.Lines();
  EXPECT_EQ(h.end_result, 0);
  // The batch the host gave up on leaves no formatted-record file, and
  // nothing older passes for it at printing.
  EXPECT_FALSE(std::filesystem::exists(h.fmt_path()));
  EXPECT_EQ(h.fc.ProcessFormattedRecords(), 1);
}

TEST(RunLog, LevelOneThenFirstRecord) {
  Harness h;
  h.fc.HereIsAMessage("5", "1");
  h.Send("1000", PracticeRecord());
  const std::string& log = h.Log();
  EXPECT_EQ(log.substr(0, log.find("\r\n")), "\"***\"");
  EXPECT_TRUE(h.Logged("UB04PPA " + VersionText()));
  EXPECT_TRUE(h.Logged("giTestClaims_Starting =  0"));
  // The first record's own "FormatRecord()" line comes before the level rises.
  EXPECT_FALSE(h.Logged("FormatRecord()"));
  auto db = log.find("\" >>>>> gbDBConnectionIsGood = False\"");
  auto rec = log.find("\" 1\",\"" + Key("1000") + "\",\"" + PracticeRecord() + "\"");
  ASSERT_NE(db, std::string::npos);
  ASSERT_NE(rec, std::string::npos);
  EXPECT_LT(db, rec);
  EXPECT_EQ(h.Count("*** Closed on: ", ""), 1);
}

TEST(RunLog, LevelThreeOpensNothing) {
  Harness h;
  h.fc.HereIsAMessage("5", "3");
  EXPECT_FALSE(std::filesystem::exists(h.log_path()));
}

// Each instance owns its run: interleaved on one thread, two instances
// write exactly the files each writes alone, the log included.
TEST(Instances, EachOwnsItsRunOnOneThread) {
  const std::vector<BatchLine>& batch = ExampleRecords();
  ScratchDir alone_dir, a_dir, b_dir;
  {
    Format_Class alone;
    ASSERT_EQ(RunBatch(alone, batch, alone_dir.path(), "claims.fmt", nullptr, true), 0);
  }
  Format_Class a;
  ASSERT_EQ(a.HereIsAMessage("1", a_dir.str()), 0);
  ASSERT_EQ(a.HereIsAMessage("2", "claims.fmt"), 0);
  const size_t half = batch.size() / 2;
  for (size_t i = 0; i < half; ++i) ASSERT_EQ(a.FormatRecord(batch[i].key, batch[i].rec), 0);
  {
    Format_Class b;  // a second batch while the first is half-way
    ASSERT_EQ(RunBatch(b, batch, b_dir.path(), "claims.fmt", nullptr, true), 0);
  }
  for (size_t i = half; i < batch.size(); ++i)
    ASSERT_EQ(a.FormatRecord(batch[i].key, batch[i].rec), 0);
  ASSERT_EQ(a.ProcessEndOfFile(), 0);

  const std::string alone_fmt = ReadFile(alone_dir.path() / "claims.fmt");
  EXPECT_EQ(ReadFile(a_dir.path() / "claims.fmt"), alone_fmt);
  EXPECT_EQ(ReadFile(b_dir.path() / "claims.fmt"), alone_fmt);
  auto log_body = [](const fs::path& dir) {  // less the lines that carry the time
    std::string out;
    std::istringstream in(ReadFile(dir / "QVR_UB04PPA_Format.Log"));
    for (std::string line; std::getline(in, line);)
      if (line.find("Opened on") == std::string::npos && line.find("Closed on") == std::string::npos)
        out += line + "\n";
    return out;
  };
  EXPECT_EQ(log_body(a_dir.path()), log_body(alone_dir.path()));
  EXPECT_EQ(log_body(b_dir.path()), log_body(alone_dir.path()));
  // Settings stay with their instance too.
  Format_Class c;
  EXPECT_EQ(c.HereIsAMessage("2", "c.fmt"), 3);
  EXPECT_EQ(Messages(c), std::vector<std::string>{kNoOutputPath});
  EXPECT_EQ(a.HereIsAMessage("2", "a.fmt"), 0);
}

int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// A host that lets go before the end of its batch: nothing stays locked or
// open, the last good file is untouched, and the log says what happened.
TEST(Instances, DestroyedBeforeTheEndAbandonsTheBatch) {
  ScratchDir dir;
  const std::vector<BatchLine>& batch = ExampleRecords();
  {
    Format_Class good;
    ASSERT_EQ(RunBatch(good, batch, dir.path(), "claims.fmt"), 0);
  }
  const std::string last_good = ReadFile(dir.path() / "claims.fmt");
  const int before = OpenDescriptors();
  {
    Format_Class quitter;
    ASSERT_EQ(quitter.HereIsAMessage("1", dir.str()), 0);
    ASSERT_EQ(quitter.HereIsAMessage("2", "claims.fmt"), 0);
    for (size_t i = 0; i < batch.size() / 2; ++i)
      ASSERT_EQ(quitter.FormatRecord(batch[i].key, batch[i].rec), 0);
    EXPECT_GT(OpenDescriptors(), before);  // its file, lock and log
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(ReadFile(dir.path() / "claims.fmt"), last_good);
  for (const auto& e : fs::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
  const std::string log = ReadFile(dir.path() / "QVR_UB04PPA_Format.Log");
  EXPECT_NE(log.find("The batch was abandoned"), std::string::npos);
  EXPECT_NE(log.rfind("Closed on"), std::string::npos);
  EXPECT_GT(log.rfind("Closed on"), log.find("The batch was abandoned"));

  // The next run on the folder is not held up.
  Format_Class next;
  EXPECT_EQ(RunBatch(next, batch, dir.path(), "claims.fmt"), 0);
  EXPECT_EQ(ReadFile(dir.path() / "claims.fmt"), last_good);
}

}  // namespace
}  // namespace ub04::test
