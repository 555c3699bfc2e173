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
    const std::string quoted = QuoteItem("a \"b\"\r\nc");
    char* room = f.Room(quoted.size());
    quoted.copy(room, quoted.size());
    f.Wrote(room + quoted.size());
    expected = "head,\"a 'b'  c\"";
    f.Flush();
    EXPECT_EQ(test::ReadFile(path), expected);  // readable by others now

    // More than one buffer's worth between flushes: nothing lost or doubled.
    const std::string line(1000, 'x');
    for (int i = 0; i < 200; ++i) {
      f.Write(line);
      expected += line;
    }
    std::string joined;
    AppendQuotedJoin(joined, {"one", "\"", "two"});
    f.Write(joined);
    expected += "\"one'two\"";
    f.Flush();
    EXPECT_EQ(test::ReadFile(path), expected);
    f.Write("tail");
    expected += "tail";
  }  // the destructor writes what the last call left in the buffer
  EXPECT_EQ(test::ReadFile(path), expected);
}

// Items are tested for the three bytes a block at a time: one in any place
// of a text of any length, and next to another, is mended.
TEST(QuoteItem, MendsEveryQuoteCrAndLfWhereverItStands) {
  for (size_t n = 0; n <= 48; ++n) {
    for (size_t at = 0; at < n; ++at) {
      for (char c : {'"', '\r', '\n'}) {
        std::string text(n, 'a');
        text[at] = c;
        if (at + 1 < n) text[at + 1] = '"';
        std::string want = text;
        for (char& w : want) w = w == '"' ? '\'' : (w == '\r' || w == '\n') ? ' ' : w;
        ASSERT_EQ(QuoteItem(text), '"' + want + '"') << n << " " << at;
      }
    }
    EXPECT_EQ(QuoteItem(std::string(n, 'b')), '"' + std::string(n, 'b') + '"');
  }
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
