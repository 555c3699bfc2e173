// Text clean-up: the punctuation squash every record's clean-up fields go
// through.
#include <gtest/gtest.h>

#include <string>

#include "base/context.h"
#include "base/text_util.h"

namespace ub04 {
namespace {

// Digits, capitals and " .,-_()/\'&" stay; lower case, other punctuation
// and bytes outside ASCII go; a text too long to take is emptied.
TEST(SquashAllPunctuation, KeepsItsSetOfEveryByteAndEmptiesATooLongText) {
  Context cx;
  std::string name = "O'Neil & Sons, Inc. #4 (a/b) \\x-y_z;!";
  SquashAllPunctuation(cx, name);
  EXPECT_EQ(name, "O'N & S, I. 4 (/) \\-_");
  std::string every;
  for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
  SquashAllPunctuation(cx, every);
  EXPECT_EQ(every, " &'(),-./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\\_");
  std::string too_long(40000, 'A');
  SquashAllPunctuation(cx, too_long);
  EXPECT_EQ(too_long, "");
}

}  // namespace
}  // namespace ub04
