// The formatted-record reader meets files it did not write: a number item
// must be a plain decimal that fits its field, whatever the C library would
// also read as a number.
#include <gtest/gtest.h>

#include <cmath>

#include "form/fmt_file.h"
#include "base/runtime.h"

namespace ub04 {
namespace {

int ErrorOf(const std::string& line) {
  FormattedLine l;
  try {
    ParseFormattedLine(line, l);
    return 0;
  } catch (const RtError& e) {
    return e.number();
  }
}

TEST(RobustnessReader, NumbersAreFiniteDecimalsThatFit) {
  EXPECT_EQ(ErrorOf("\"F\",\"X\",.65,3.12,1"), 0);
  EXPECT_EQ(ErrorOf("\"F\",\"X\",-1.5e2,+3,0"), 0);
  // Not numbers the writer ever writes.
  for (const char* item : {"nan", "-nan", "inf", "infinity", "0x10", "1e", "--1"}) {
    SCOPED_TRACE(item);
    EXPECT_EQ(ErrorOf(std::string("\"F\",\"X\",") + item + ",1,0"), kErrTypeMismatch);
    EXPECT_EQ(ErrorOf(std::string("\"F\",\"X\",1,1,") + item), kErrTypeMismatch);
  }
  // Beyond the number field; a position beyond single precision is on no
  // paper and reads as infinite, for printing to report.
  EXPECT_EQ(ErrorOf("\"F\",\"X\",1,1,2147483648"), kErrOverflow);
  EXPECT_EQ(ErrorOf("\"F\",\"X\",1,1,-2147483648"), 0);
  FormattedLine l;
  ParseFormattedLine("\"F\",\"X\",1e300,-1e39,0", l);
  EXPECT_TRUE(std::isinf(l.x) && l.x > 0);
  EXPECT_TRUE(std::isinf(l.y) && l.y < 0);
}

}  // namespace
}  // namespace ub04
