// The formatted-record file (line form, positions in single precision, the
// read-back printing relies on) and the buffered output files under it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "base/text_file.h"
#include "form/fmt_file.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

// Positions are written without printf; its "%.7g" is the reference they
// must match, and where it would take an exponent, a plain "%.7f" without
// trailing zeros.
TEST(FormattedFile, PositionsMatchPrintfEverywhere) {
  auto printf_form = [](float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(v));
    std::string s = buf;
    if (s.find('e') == std::string::npos) return s;
    std::snprintf(buf, sizeof buf, "%.7f", static_cast<double>(v));
    s = buf;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  };
  EXPECT_EQ(PositionItem(0.32f + 0.8f * 8), "6.72");  // seven digits of the float
  EXPECT_EQ(PositionItem(0.0f), "0");
  std::vector<float> values = {1e-4f, 9.9999994e-5f, 0.99999994f, 9999999.0f, 9999999.5f,
                               1e7f, 123456.75f, 0.000123456789f, 1e-8f, 3.4e38f, 0.5f,
                               8.5f - 0.1f, 11.0f / 6.0f};
  // About 30,000 floats spread evenly in magnitude from 1e-5 to 1e8: every
  // digit count, both sides of each power of ten.
  for (float v = 1e-5f; v < 1e8f; v = std::nextafter(v + v * 1e-3f, 2e8f)) values.push_back(v);
  for (float v : values) {
    ASSERT_EQ(PositionItem(v), printf_form(v)) << std::hexfloat << v;
    ASSERT_EQ(PositionItem(-v), printf_form(-v)) << std::hexfloat << v;
  }
}

TEST(FormattedFile, LinesReadBackWithCommasAndQuotes) {
  EXPECT_EQ(FormatRecordLine("F", "ACME CLINIC, INC.", 0.65f, 3.12f, 0),
            "\"F\",\"ACME CLINIC, INC.\",0.65,3.12,0\r\n");
  FormattedLine l;
  ParseFormattedLine("\"F\",\"ACME CLINIC, INC.\",.65,3.12,-1", l);
  EXPECT_EQ(l.kind, "F");
  EXPECT_EQ(l.text, "ACME CLINIC, INC.");
  EXPECT_FLOAT_EQ(l.x, 0.65f);
  EXPECT_FLOAT_EQ(l.y, 3.12f);
  EXPECT_EQ(l.number, -1);

  // A double quote cannot survive the line form: it is written as '.
  std::string line = FormatRecordLine("F", "5\" \"WIDE\"\r\nX", 1, 2, 1);
  line.resize(line.size() - 2);
  ParseFormattedLine(line, l);
  EXPECT_EQ(l.text, "5' 'WIDE'  X");
  EXPECT_EQ(l.number, 1);
}

int ErrorOf(const std::string& line) {
  FormattedLine l;
  try {
    ParseFormattedLine(line, l);
    return 0;
  } catch (const RtError& e) {
    return e.number();
  }
}

// A file the reader did not write: a number item must be a plain decimal
// that fits its field, whatever the C library would also read as a number.
TEST(FormattedFile, MalformedLinesRaise) {
  EXPECT_EQ(ErrorOf("\"F\",\"x\",abc,1,0"), kErrTypeMismatch);
  EXPECT_NE(ErrorOf("\"F\",\"x\",1"), 0);
  for (const char* item : {"nan", "-nan", "inf", "infinity", "0x10", "1e", "--1", "1.5."}) {
    SCOPED_TRACE(item);
    EXPECT_EQ(ErrorOf(std::string("\"F\",\"X\",") + item + ",1,0"), kErrTypeMismatch);
    EXPECT_EQ(ErrorOf(std::string("\"F\",\"X\",1,1,") + item), kErrTypeMismatch);
  }
  // Numbers in any form the reader has always taken.
  FormattedLine l;
  ParseFormattedLine("\"F\",\"x\", +1.5 ,\" 2\",1e1", l);
  EXPECT_FLOAT_EQ(l.x, 1.5f);
  EXPECT_FLOAT_EQ(l.y, 2);
  EXPECT_EQ(l.number, 10);
  EXPECT_EQ(ErrorOf("\"F\",\"X\",-1.5e2,+3,-2147483648"), 0);
  // Beyond the number field; a position beyond single precision is on no
  // paper and reads as infinite, for printing to report.
  EXPECT_EQ(ErrorOf("\"F\",\"X\",1,1,2147483648"), kErrOverflow);
  EXPECT_EQ(ErrorOf("\"F\",\"x\",0,0,1e99"), kErrOverflow);
  ParseFormattedLine("\"F\",\"X\",1e300,-1e39,0", l);
  EXPECT_TRUE(std::isinf(l.x) && l.x > 0);
  EXPECT_TRUE(std::isinf(l.y) && l.y < 0);
}

TEST(FormattedFile, ReaderTakesLinesOfAnyLengthAndEnding) {
  test::ScratchDir dir;
  const std::string path = (dir.path() / "x.fmt").string();
  // A line longer than the read-ahead (64 KiB), a CR LF split by its
  // second block, a blank line and a last line without its LF.
  const std::string wide(100000, 'W');
  const std::string first = FormatRecordLine("F", wide, 1, 2, 0);
  const size_t cr_at = 2 * 65536 - 1;  // the last byte of the second block
  const std::string pad(cr_at - first.size() - 12, ' ');
  const std::string second = "\"F\",\"" + pad + "\",3,4,1\r\n";
  ASSERT_EQ(first.size() + second.size() - 2, cr_at);
  std::ofstream(path, std::ios::binary)
      << first << second << "  \r\n" << FormatRecordLine("N", "", 0, 0, 0)
      << "\"T\",\"END\",0,0,7";
  FormattedFileReader r;
  r.Open(path);
  FormattedLine l;
  ASSERT_TRUE(r.Next(l));
  EXPECT_EQ(l.text, wide);
  ASSERT_TRUE(r.Next(l));
  EXPECT_EQ(l.text, pad);
  EXPECT_EQ(l.number, 1);
  ASSERT_TRUE(r.Next(l));
  EXPECT_EQ(l.kind, "N");
  ASSERT_TRUE(r.Next(l));
  EXPECT_EQ(l.text + "/" + std::to_string(l.number), "END/7");
  EXPECT_FALSE(r.Next(l));
  EXPECT_FALSE(r.Next(l));
  r.Close();
}

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
