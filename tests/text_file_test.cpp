// Output files: lines composed in the file's buffer, written at each flush.
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

TEST(OutFile, BufferedBytesReachTheFileAtEachFlushAndAtTheEnd) {
  test::ScratchDir dir;
  const auto path = dir.path() / "out.txt";
  std::string expected;
  {
    OutFile f;
    f.Open(path.string(), OutFile::Mode::kTruncate);
    f.Write("head,");
    f.WriteWith([](std::string& b) { AppendQuoted(b, "a \"b\"\r\nc"); });
    expected = "head,\"a 'b'  c\"";
    f.Flush();
    EXPECT_EQ(test::ReadFile(path), expected);  // readable by others now

    // More than one buffer's worth between flushes: nothing lost or doubled.
    const std::string line(1000, 'x');
    for (int i = 0; i < 200; ++i) {
      f.Write(line);
      expected += line;
    }
    f.WriteWith([](std::string& b) { AppendQuotedJoin(b, {"one", "\"", "two"}); });
    expected += "\"one'two\"";
    f.Flush();
    EXPECT_EQ(test::ReadFile(path), expected);
    f.Write("tail");
    expected += "tail";
  }  // the destructor writes what the last call left in the buffer
  EXPECT_EQ(test::ReadFile(path), expected);
}

TEST(OutFile, AFailedFlushPoisonsEveryLaterCall) {
  OutFile f;
  f.Open("/dev/full", OutFile::Mode::kAppend);
  f.Write("x");  // buffered: nothing has failed yet
  EXPECT_THROW(f.Flush(), RtError);
  for (int i = 0; i < 2; ++i) {
    try {
      f.Write("y");
      FAIL() << "write after a failed flush";
    } catch (const RtError& e) {
      EXPECT_EQ(e.number(), 61);
    }
  }
  EXPECT_THROW(f.Close(), RtError);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_THROW(f.Write("z"), RtError);  // 52: not open
}

}  // namespace
}  // namespace ub04
