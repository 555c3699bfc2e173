// The host interface: commands, the queue, first-record rules, the end of a
// batch and the run log.
#include <gtest/gtest.h>

#include "host/run_state.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

using test::Harness;
using test::Key;
using test::Messages;

TEST(HostCommands, VersionAnswersOnceWithSeverityOne) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("VER", ""), 1);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], " 1//" + VersionText() + "//");
}

TEST(HostCommands, RegistrationListsFourteenEntriesInOrder) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("BCM-1", ""), 1);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 14u);
  EXPECT_EQ(m[0], " 1//BCM//0005//" + VersionText() + "//");
  EXPECT_EQ(m[1], " 1//BCM//0010//P~UB04 PA~0//");
  EXPECT_EQ(m[3], " 1//BCM//0020//1603~Billing ID~Field 2~Field 3~Field 4~Field 5//");
  EXPECT_EQ(m[4], " 1//BCM//0020//1630~Billing ID~Field 2~Field 3~Field 4~Field 5//");
  EXPECT_EQ(m[13], " 1//BCM//0020//1613~Billing Code~Field 2~Field 3~Field 4~Field 5//");
  int32_t i = 15;
  EXPECT_EQ(fc.GetAMessage(i), "END");
}

TEST(HostCommands, FileNameBeforeOutputPathFails) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("2", "a.fmt"), 3);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0],
            " 3//Output Path was not set. QVR_UB04PPA_Format.Dll doesn't know where to "
            "read/write files//");
  EXPECT_EQ(Rs().fmt_file_path, "?");
}

TEST(HostCommands, PrinterOffsetsNeedTenCharacters) {
  Format_Class fc;
  fc.HereIsAMessage("4", "0.10-0.20");
  EXPECT_EQ(Rs().printer_x_offset, 0.0f);
  fc.HereIsAMessage("4", "0.10-0.20 ");
  EXPECT_FLOAT_EQ(Rs().printer_x_offset, -0.10f);
  EXPECT_FLOAT_EQ(Rs().printer_y_offset, 0.20f);
}

TEST(HostCommands, TestClaimRange) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("6", "//5"), 0);
  EXPECT_TRUE(Rs().test_claims_mode);
  EXPECT_EQ(Rs().test_claims_starting, 1);
  EXPECT_EQ(Rs().test_claims_ending, 5);
  fc.HereIsAMessage("6", "3//0");
  EXPECT_FALSE(Rs().test_claims_mode);
  EXPECT_EQ(fc.HereIsAMessage("6", "3//"), 3);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], " 3//QVR_UB04PPA_Format.Dll  HereIsAMessage()  Error:  9 Subscript out of range//");
  EXPECT_EQ(fc.HereIsAMessage("6", "40000//1"), 3);
  EXPECT_NE(Messages(fc)[0].find("Error:  6 Overflow"), std::string::npos);
}

TEST(HostCommands, QueueGrowsByTenAndKeepsCapacity) {
  Format_Class fc;
  for (int i = 0; i < 11; ++i) AddToMessageArray(1, "m" + std::to_string(i));
  EXPECT_EQ(Rs().queue.Capacity(), 20);
  Rs().queue.Clear();
  EXPECT_EQ(Rs().queue.Capacity(), 20);
  int32_t one = 1;
  EXPECT_EQ(fc.GetAMessage(one), "END");
}

TEST(HostCommands, AnswersAreStableAcrossReads) {
  Format_Class fc;
  AddToMessageArray(1, "TOTALCLAIMS//3//");
  int32_t one = 1, zero = 0;
  EXPECT_EQ(fc.GetAMessage(one), " 1//TOTALCLAIMS//3//");
  EXPECT_EQ(fc.GetAMessage(one), " 1//TOTALCLAIMS//3//");
  EXPECT_EQ(fc.GetAMessage(zero), "END");
}

TEST(FirstRecord, MustBeThePracticeRecord) {
  Harness h;
  EXPECT_EQ(h.fc.FormatRecord(Key("1050"), "X"), 3);
  auto m = Messages(h.fc);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0], " 3//1st Record was not Practice Info (type:1000)//");
  EXPECT_EQ(m[1], " 3//Please call support for help//");
  h.fc.ProcessEndOfFile();
  auto lines = test::ReadFormatted(h.fmt_path());
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0].kind, "H");
}

TEST(FirstRecord, WithoutFileNameReturnsOneThenDispatchesNormally) {
  Format_Class fc;
  EXPECT_EQ(fc.FormatRecord(Key("1000"), "X"), 1);
  auto m = Messages(fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_NE(m[0].find("ASCII file name and path were not set."), std::string::npos);
  EXPECT_EQ(fc.FormatRecord(Key("7777"), "X"), 0);
}

TEST(FirstRecord, ShortKeyReportsBothMessages) {
  Harness h;
  EXPECT_EQ(h.fc.FormatRecord("A//B//C", "X"), 1);
  auto m = Messages(h.fc);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0],
            " 3//QVR_UB04PPA_Format.Dll Had a problem in FormatRecord() Error:  9 Subscript "
            "out of range//");
  EXPECT_EQ(m[1], " 3//Record#  1 Record Key: A /B /C//");
}

TEST(EndOfBatch, RunWithoutChargesHasHeaderAndTrailerOnly) {
  Harness h;
  EXPECT_EQ(h.fc.FormatRecord(Key("7777"), "X"), 3);  // not a practice record
  Harness h2;
  EXPECT_EQ(h2.fc.FormatRecord(Key("1000"), test::PracticeRecord()), 0);
  EXPECT_EQ(h2.fc.FormatRecord(Key("7777"), "X"), 0);
  EXPECT_EQ(h2.fc.ProcessEndOfFile(), 0);
  EXPECT_EQ(test::ReadFile(h2.fmt_path()), "\"H\",\"\",0,0,0\r\n\"T\",\"\",0,0,0\r\n");
}

TEST(EndOfBatch, FatalErrorWritesNoTrailer) {
  Harness h;
  h.fc.FormatRecord(Key("1000"), test::PracticeRecord());
  h.fc.HereIsAMessage("3", "Y");
  EXPECT_EQ(h.fc.ProcessEndOfFile(), 0);
  EXPECT_EQ(test::ReadFile(h.fmt_path()), "\"H\",\"\",0,0,0\r\n");
}

TEST(RunLog, LevelOneThenFirstRecord) {
  Harness h;
  h.fc.HereIsAMessage("5", "1");
  h.fc.FormatRecord(Key("1000"), test::PracticeRecord());
  h.fc.ProcessEndOfFile();
  std::string log = test::ReadFile(h.log_path());
  auto first_line_end = log.find("\r\n");
  EXPECT_EQ(log.substr(0, first_line_end), "\"***\"");
  EXPECT_NE(log.find("\"UB04PPA " + VersionText() + "\""), std::string::npos);
  EXPECT_NE(log.find("\"giTestClaims_Starting =  0\""), std::string::npos);
  // The first record's own "FormatRecord()" line comes before the level rises.
  EXPECT_EQ(log.find("\"FormatRecord()\""), std::string::npos);
  auto db = log.find("\" >>>>> gbDBConnectionIsGood = False\"");
  auto rec = log.find("\" 1\",\"" + Key("1000") + "\",\"" + test::PracticeRecord() + "\"");
  ASSERT_NE(db, std::string::npos);
  ASSERT_NE(rec, std::string::npos);
  EXPECT_LT(db, rec);
  EXPECT_NE(log.find("\"*** Closed on: "), std::string::npos);
  EXPECT_EQ(Rs().log_level, 0);
}

TEST(RunLog, LevelThreeOpensNothing) {
  Harness h;
  h.fc.HereIsAMessage("5", "3");
  EXPECT_EQ(Rs().log_level, 0);
  EXPECT_FALSE(std::filesystem::exists(h.log_path()));
}

TEST(Instances, CreationResetsTheThreadsRunState) {
  Format_Class a;
  a.HereIsAMessage("1", "/tmp");
  Format_Class b;
  EXPECT_EQ(Rs().output_path, "?");
  EXPECT_EQ(Rs().component_name, "QVR_UB04PPA_Format.Dll");
  EXPECT_EQ(Rs().form_code, "UB04PPA");
}

}  // namespace
}  // namespace ub04
