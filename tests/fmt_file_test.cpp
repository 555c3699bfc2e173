// The formatted-record file: line form, positions in single precision and
// the read-back that printing relies on.
#include <gtest/gtest.h>

#include <fstream>

#include "form/fmt_file.h"
#include "host/run_state.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

TEST(FormattedFile, PositionsUseSinglePrecisionAndSevenDigits) {
  EXPECT_EQ(PositionItem(0.32f + 0.8f * 8), "6.72");
  EXPECT_EQ(PositionItem(0.65f), "0.65");
  EXPECT_EQ(PositionItem(3.12f), "3.12");
  EXPECT_EQ(PositionItem(6.8f), "6.8");
  EXPECT_EQ(PositionItem(0.0f), "0");
  EXPECT_EQ(PositionItem(-1.0f), "-1");
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

TEST(FormattedFile, MalformedLinesRaise) {
  FormattedLine l;
  EXPECT_THROW(ParseFormattedLine("\"F\",\"x\",abc,1,0", l), RtError);
  EXPECT_THROW(ParseFormattedLine("\"F\",\"x\",1", l), RtError);
}

TEST(FormattedFile, WritersProduceTheKindsInOrder) {
  test::Harness h;
  ASSERT_EQ(OpenASCIIout(), 0);
  EXPECT_EQ(WriteHeader(""), 0);
  EXPECT_EQ(WriteClaimLine("DOE, JANE", 1), 0);
  EXPECT_EQ(WriteField("X", 1.5f, 2.25f, 1), 0);
  EXPECT_EQ(WriteNewPage(), 0);
  EXPECT_EQ(WriteTrailer(""), 0);
  EXPECT_EQ(CloseASCIIout(), 0);
  EXPECT_EQ(CloseASCIIout(), 0);  // closing a closed file does nothing
  auto lines = test::ReadFormatted(h.fmt_path());
  ASSERT_EQ(lines.size(), 5u);
  std::string kinds;
  for (const auto& l : lines) kinds += l.kind;
  EXPECT_EQ(kinds, "HCFNT");
  EXPECT_EQ(lines[1].number, 1);
  EXPECT_EQ(lines[2].number, 1);
}

TEST(FormattedFile, WriteFailuresAreReportedNeverSilent) {
  test::Harness h;
  // Writing to a file that is not open.
  EXPECT_EQ(WriteField("X", 1, 1, 0), 3);
  auto m = test::Messages(h.fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], " 3//QVR_UB04PPA_Format.Dll WriteField()  Error:  52 Bad file name or number//");

  // A full disk: the write is buffered, the failure surfaces at the latest
  // when the file is closed.
  Rs().fmt_file_path = "/dev/full";
  ASSERT_EQ(OpenASCIIout(), 0);
  WriteField(std::string(100000, 'x'), 1, 1, 0);
  EXPECT_EQ(CloseASCIIout(), 3);
}

TEST(FormattedFile, OpenFailureNamesTheFile) {
  test::Harness h;
  Rs().fmt_file_path = h.dir.str() + "/missing/dir/x.fmt";
  EXPECT_EQ(OpenASCIIout(), 3);
  auto m = test::Messages(h.fc);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0], " 3//QVR_UB04PPA_Format.Dll OpenASCIIout()  Error:  76 Path not found//");
  EXPECT_EQ(m[1], " 3//Filename: " + h.dir.str() + "/missing/dir/x.fmt//");
}

}  // namespace
}  // namespace ub04
