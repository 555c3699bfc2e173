// Bad days and long days. Outputs that cannot be created, disks that fill
// up, files that vanish, a reference database that goes away: each ends in a
// clear queued message and a failing result, never a crash nor a 0 over a
// failed write (as root, a path under a regular file stands for an
// unwritable one, /dev/full for a full disk). And long and parallel runs
// write byte for byte what the same batch writes alone.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>

#include "tests/test_support.h"

namespace ub04 {
namespace {

namespace fs = std::filesystem;

using test::AnyHas;

const std::vector<test::BatchLine>& Batch() { return test::ExampleRecords(); }

// Every record of the batch; the results of the calls, in order.
std::vector<int16_t> FeedRecords(Format_Class& fc, std::vector<std::string>* messages = nullptr) {
  std::vector<int16_t> results;
  for (const test::BatchLine& l : Batch()) {
    results.push_back(fc.FormatRecord(l.key, l.rec));
    if (messages) {
      for (std::string& m : test::Messages(fc)) messages->push_back(std::move(m));
    }
  }
  return results;
}

bool Has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

std::string Dump(const std::vector<std::string>& v) { return ::testing::PrintToString(v); }

// Sends the output folder and the formatted-record file name.
void PointAt(Format_Class& fc, const fs::path& folder) {
  fc.HereIsAMessage("1", folder.string());
  fc.HereIsAMessage("2", "claims.fmt");
}

// The reference run: the batch formatted into a healthy folder.
const std::string& HealthyFile() {
  static const std::string file = [] {
    test::ScratchDir dir;
    Format_Class fc;
    std::string why;
    if (test::RunBatch(fc, Batch(), dir.path(), "claims.fmt", &why, true) != 0)
      ADD_FAILURE() << why;
    return test::ReadFile(dir.path() / "claims.fmt");
  }();
  return file;
}

// ---- output folder ---------------------------------------------------------------

TEST(RobustnessFaults, OutputsThatCannotBeCreatedFailEveryCall) {
  test::ScratchDir dir;
  std::ofstream(dir.path() / "plain-file") << "x";
  fs::create_directories(dir.path() / "taken" / "claims.fmt" / "inside");
  struct Case {
    std::string folder, error;
  } cases[] = {
      {(dir.path() / "plain-file" / "sub").string(), " 76 Path not found"},
      {(dir.path() / "missing").string(), " 76 Path not found"},
      {(dir.path() / "taken").string(), " 75 Path/File access error"},  // the name is a folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    test::MessageBoxCapture boxes;
    Format_Class fc;
    ASSERT_EQ(fc.HereIsAMessage("1", c.folder), 0);
    ASSERT_EQ(fc.HereIsAMessage("2", "claims.fmt"), 0);
    const std::string path = c.folder + "/claims.fmt";

    std::vector<std::string> m;
    std::vector<int16_t> results = FeedRecords(fc, &m);
    EXPECT_TRUE(Has(m, " 3//QVR_UB04PPA_Format.Dll OpenASCIIout()  Error: " + c.error + "//"))
        << Dump(m);
    EXPECT_TRUE(Has(m, " 3//Filename: " + path + "//")) << Dump(m);
    // The host goes on regardless: the claims completed on the way could
    // not be written, no call reports success for them, nothing is
    // created, and printing finds no file.
    EXPECT_EQ(results.front(), 1);
    EXPECT_GT(std::count(results.begin() + 1, results.end(), 1), 0);
    for (int16_t r : results) EXPECT_TRUE(r == 0 || r == 1);
    EXPECT_TRUE(AnyHas(m, "  Error:  52 Bad file name or number")) << Dump(m);
    EXPECT_EQ(fc.ProcessEndOfFile(), 1);
    m = test::Messages(fc);
    EXPECT_TRUE(AnyHas(m, "()  Error:  52 Bad file name or number//")) << Dump(m);
    EXPECT_FALSE(fs::is_regular_file(path));
    EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    m = test::Messages(fc);
    ASSERT_EQ(m.size(), 1u) << Dump(m);
    EXPECT_NE(m[0].find("this run's batch wrote no formatted-record file"), std::string::npos);
  }
}

TEST(RobustnessFaults, OutputFolderRemovedMidBatchIsNotReportedAsDone) {
  test::ScratchDir dir;
  const fs::path out = dir.path() / "out";
  fs::create_directories(out);
  Format_Class fc;
  PointAt(fc, out);
  const std::vector<int16_t> results = FeedRecords(fc);
  EXPECT_EQ(std::count(results.begin(), results.end(), 0), static_cast<long>(results.size()));
  fs::remove_all(out);  // the open file lives on, unreachable
  EXPECT_EQ(fc.ProcessEndOfFile(), 1);
  std::vector<std::string> m = test::Messages(fc);
  EXPECT_TRUE(AnyHas(m, "QVR_UB04PPA_Format.Dll CloseASCIIout()  53 ")) << Dump(m);
  EXPECT_TRUE(Has(m, " 3//Filename: " + (out / "claims.fmt").string() + "//")) << Dump(m);
}

// ---- full disk ---------------------------------------------------------------------

// A device like /dev/full at path (output files are never written through
// a link to one).
void MakeFullDevice(const fs::path& path) {
  ASSERT_EQ(mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 7)), 0) << std::strerror(errno);
}

// Files of this process may not grow past limit bytes while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit l = saved_;
    l.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &l);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

TEST(RobustnessFaults, FullDiskUnderTheFormattedFileFailsTheBatchAndKeepsTheLastGoodFile) {
  test::ScratchDir dir;
  std::string good;
  {
    Format_Class fc;
    std::string why;
    ASSERT_EQ(test::RunBatch(fc, Batch(), dir.path(), "claims.fmt", &why), 0) << why;
    good = test::ReadFile(dir.path() / "claims.fmt");
  }
  Format_Class fc;
  PointAt(fc, dir.path());
  std::vector<std::string> messages;
  std::vector<int16_t> results;
  {
    FileSizeLimit room(4096);
    results = FeedRecords(fc, &messages);
    EXPECT_EQ(fc.ProcessEndOfFile(), 1);
  }
  EXPECT_NE(std::count(results.begin(), results.end(), 1), 0);
  EXPECT_TRUE(AnyHas(messages, "Error:  61 Disk full")) << Dump(messages);
  // Reported once per call at most, not once per field.
  EXPECT_LE(messages.size(), 2 * results.size()) << Dump(messages);
  EXPECT_EQ(test::ReadFile(dir.path() / "claims.fmt"), good);
}

TEST(RobustnessFaults, FullDiskUnderTheLogIsReportedAtTheEndAndSparesTheClaims) {
  test::ScratchDir dir;
  MakeFullDevice(dir.path() / "QVR_UB04PPA_Format.Log");
  Format_Class fc;
  PointAt(fc, dir.path());
  EXPECT_EQ(fc.HereIsAMessage("5", "2"), 0);
  // A trace line that cannot be written never fails the record it describes.
  for (int16_t r : FeedRecords(fc)) EXPECT_EQ(r, 0);
  // Closing the log finds the lost lines: the batch is not reported as done,
  // but its claims are all there.
  EXPECT_EQ(fc.ProcessEndOfFile(), 1);
  std::vector<std::string> m = test::Messages(fc);
  EXPECT_TRUE(AnyHas(m, " 61 Disk full")) << Dump(m);
  EXPECT_EQ(test::ReadFile(dir.path() / "claims.fmt"), HealthyFile());
}

// ---- reference database ------------------------------------------------------------------

TEST(RobustnessFaults, DatabaseFileGoneOrUnreadableBetweenCalls) {
  test::MessageBoxCapture boxes;
  test::RefHarness h("INSERT INTO PRACTICE (IH_CODE) VALUES ('PR1');");
  // A login from the host, which the connection string then carries.
  test::HostLogin login;
  ASSERT_EQ(h.Connect(), 0) << Dump(h.messages);
  const fs::path out = h.dir.path() / "out";
  fs::create_directories(out);
  PointAt(h.fc, out);

  // The login the host message adds must never appear in a message.
  const std::string password = test::TestPassword();

  // Removed while connected: the open connection still reads what it had.
  fs::remove(h.db);
  const test::BatchLine& practice = Batch().front();
  EXPECT_EQ(h.fc.FormatRecord(practice.key, practice.rec), 0) << Dump(test::Messages(h.fc));

  // A new connection to the removed file fails with a clear message and
  // without the password.
  EXPECT_EQ(h.Connect(), 3);
  EXPECT_TRUE(AnyHas(h.messages, "OpenInitialDBConnection()  Error:")) << Dump(h.messages);
  EXPECT_FALSE(AnyHas(h.messages, password)) << Dump(h.messages);

  // Garbage in place of the file under an open connection: every lookup of
  // the batch meets it.
  test::MakeRefDb(h.db, "INSERT INTO PRACTICE (IH_CODE) VALUES ('PR1');");
  ASSERT_EQ(h.Connect(), 0) << Dump(h.messages);
  {
    std::fstream f(h.db, std::ios::in | std::ios::out | std::ios::binary);
    std::string junk(static_cast<size_t>(fs::file_size(h.db)), '\x5a');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  std::vector<std::string> messages;
  for (int16_t r : FeedRecords(h.fc, &messages)) EXPECT_TRUE(r == 0 || r == 1);
  int16_t end = h.fc.ProcessEndOfFile();
  EXPECT_TRUE(end == 0 || end == 1);
  for (std::string& m : test::Messages(h.fc)) messages.push_back(std::move(m));
  EXPECT_FALSE(AnyHas(messages, password));
  EXPECT_EQ(test::ReadFile(out / "QVR_UB04PPA_Format.Log").find(password), std::string::npos);
  EXPECT_FALSE(AnyHas(boxes.boxes, password));
  // Whatever the lookups could not answer, the claims are complete.
  std::vector<FormattedLine> lines = test::ReadFormatted(out / "claims.fmt");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().kind, "H");
  EXPECT_EQ(lines.back().kind, "T");
}

// ---- long and parallel runs -------------------------------------------------------------

#ifdef UB04_SANITIZED
constexpr int kCharges = 3'000;  // the sanitizers make every call several times slower
#else
constexpr int kCharges = 20'000;
#endif

struct Outcome {
  int16_t result = -1;
  std::string why;
};

Outcome RunOnNewInstance(const std::vector<test::BatchLine>& batch, const fs::path& dir) {
  fs::create_directories(dir);
  Outcome run;
  Format_Class fc;
  run.result = test::RunBatch(fc, batch, dir, "claims.fmt", &run.why);
  return run;
}

Outcome RunOnNewThread(const std::vector<test::BatchLine>& batch, const fs::path& dir) {
  Outcome run;
  std::thread t([&] { run = RunOnNewInstance(batch, dir); });
  t.join();
  return run;
}

// Where two files first differ, for a failure message.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  size_t line = static_cast<size_t>(std::count(a.begin(), a.begin() + i, '\n')) + 1;
  return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
         ", first difference on line " + std::to_string(line);
}

// A file every page of which is complete: "H" first, "T" last, as many "C"
// as "N" lines.
void ExpectWholeFile(const fs::path& p, int min_pages) {
  std::vector<FormattedLine> lines = test::ReadFormatted(p);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front().kind, "H");
  EXPECT_EQ(lines.back().kind, "T");
  int c = 0, n = 0;
  for (const FormattedLine& l : lines) {
    c += l.kind == "C";
    n += l.kind == "N";
  }
  EXPECT_EQ(c, n);
  EXPECT_GE(n, min_pages);
}

TEST(RobustnessSoak, LongAndParallelRunsWriteTheSingleRunFiles) {
  test::ScratchDir dir;
  const std::vector<test::BatchLine> big = test::ReadBatch(test::GenerateBatch(dir, kCharges, 1));
  const std::vector<test::BatchLine> small = test::ReadBatch(test::GenerateBatch(dir, kCharges / 5, 2));

  // The second batch alone on a thread of its own: its reference file.
  Outcome ref_small = RunOnNewThread(small, dir.path() / "small-alone");
  ASSERT_EQ(ref_small.result, 0) << ref_small.why;

  // The long batch, then the second batch on a new instance of this thread.
  Outcome first = RunOnNewInstance(big, dir.path() / "big-first");
  ASSERT_EQ(first.result, 0) << first.why;
  Outcome second = RunOnNewInstance(small, dir.path() / "small-second");
  ASSERT_EQ(second.result, 0) << second.why;

  // Both at once, each thread with its own instance.
  Outcome par_big, par_small;
  std::thread a([&] { par_big = RunOnNewInstance(big, dir.path() / "big-parallel"); });
  std::thread b([&] { par_small = RunOnNewInstance(small, dir.path() / "small-parallel"); });
  a.join();
  b.join();
  ASSERT_EQ(par_big.result, 0) << par_big.why;
  ASSERT_EQ(par_small.result, 0) << par_small.why;

  const std::string big_file = test::ReadFile(dir.path() / "big-first" / "claims.fmt");
  const std::string small_file = test::ReadFile(dir.path() / "small-alone" / "claims.fmt");
  ExpectWholeFile(dir.path() / "big-first" / "claims.fmt", kCharges / 30);
  ExpectWholeFile(dir.path() / "small-alone" / "claims.fmt", kCharges / 150);

  for (const char* run : {"small-second", "small-parallel"}) {
    std::string f = test::ReadFile(dir.path() / run / "claims.fmt");
    EXPECT_TRUE(f == small_file) << run << ": " << FirstDifference(f, small_file);
  }
  std::string f = test::ReadFile(dir.path() / "big-parallel" / "claims.fmt");
  EXPECT_TRUE(f == big_file) << "big-parallel: " << FirstDifference(f, big_file);
}

}  // namespace
}  // namespace ub04
