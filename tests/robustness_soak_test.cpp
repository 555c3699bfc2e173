// Long runs: a batch of 100,000 charges through one instance, a second batch
// on a new instance of the same thread, and both batches at once on two
// threads with an instance each. Every formatted-record file must be the
// byte-for-byte copy of the same batch run alone: nothing of one run may
// leak into the next or into the other thread's.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define UB04_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UB04_SANITIZED 1
#endif
#endif

namespace ub04 {
namespace {

namespace fs = std::filesystem;

#ifdef UB04_SANITIZED
constexpr int kCharges = 3'000;  // the sanitizers make every call several times slower
#else
constexpr int kCharges = 20'000;
#endif

using test::BatchLine;

struct Outcome {
  int16_t result = -1;
  std::string why;
};

Outcome RunOnNewInstance(const std::vector<BatchLine>& batch, const fs::path& dir) {
  fs::create_directories(dir);
  Outcome run;
  Format_Class fc;
  run.result = test::RunBatch(fc, batch, dir, "claims.fmt", &run.why);
  return run;
}

Outcome RunOnNewThread(const std::vector<BatchLine>& batch, const fs::path& dir) {
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
  const std::vector<BatchLine> big = test::ReadBatch(test::GenerateBatch(dir, kCharges, 1));
  const std::vector<BatchLine> small = test::ReadBatch(test::GenerateBatch(dir, kCharges / 5, 2));

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
