// ub04fmt end to end: arguments, the batch format, answers on standard
// error and the exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "tests/test_support.h"

namespace ub04 {
namespace {

struct CliRun {
  int status = -1;
  std::string err;
};

CliRun RunCli(const std::string& args) {
  test::ScratchDir tmp;
  std::string err_path = tmp.str() + "/stderr";
  std::string cmd = std::string(UB04FMT_PATH) + " " + args + " 2>" + err_path + " >/dev/null";
  int rc = std::system(cmd.c_str());
  CliRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.err = test::ReadFile(err_path);
  return r;
}

std::string WriteBatch(const test::ScratchDir& dir, const std::string& text) {
  std::string path = dir.str() + "/batch.txt";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(Cli, PracticeAndUnknownRecordsGiveHeaderAndTrailer) {
  test::ScratchDir dir;
  std::string batch = WriteBatch(dir,
                                 "# comment\n\n" + test::Key("1000") + "\t" + test::PracticeRecord() + "\r\n" +
                                     test::Key("7777") + "\tX\n" + test::Key("7777") + "\tY\n");
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir.path() / "claims.fmt"),
            "\"H\",\"\",0,0,0\r\n\"T\",\"\",0,0,0\r\n");
}

TEST(Cli, WrongFirstRecordExitsOneWithBothMessages) {
  test::ScratchDir dir;
  std::string batch = WriteBatch(dir, test::Key("1050") + "\tX\n");
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(" 3//1st Record was not Practice Info (type:1000)//\n"),
            std::string::npos);
  EXPECT_NE(r.err.find(" 3//Please call support for help//\n"), std::string::npos);
}

TEST(Cli, HostMessagesInTheBatchAnswerOnStandardError) {
  test::ScratchDir dir;
  std::string batch = WriteBatch(dir, "@VER\t\n@HOW_MANY_CLAIMS\t\n");
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 0) << r.err;  // severity-1 answers are not failures
  EXPECT_NE(r.err.find(" 1//TOTALCLAIMS//0//"), std::string::npos);
}

TEST(Cli, UsageAndUnreadableBatchExitTwo) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("--bogus x").status, 2);
  EXPECT_EQ(RunCli("/nonexistent/batch.txt").status, 2);
  test::ScratchDir dir;
  std::string batch = WriteBatch(dir, "no tab here\n");
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("line 1"), std::string::npos);
  EXPECT_EQ(RunCli("--help").status, 0);
  EXPECT_EQ(RunCli("--version").status, 0);
}

}  // namespace
}  // namespace ub04
