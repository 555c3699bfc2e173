// Text clean-up: the punctuation squash every record's clean-up fields go
// through.
#include <gtest/gtest.h>

#include <string>

#include "base/context.h"
#include "base/text_util.h"

namespace ub04 {
namespace {

// Digits, capitals and the default set stay; lower case, other punctuation
// and bytes outside ASCII go. The in-place form keeps exactly what the
// copying form keeps, for every byte value, and both empty a text too long
// to take.
TEST(SquashAllPunctuation, KeepsTheSetAndTheInPlaceFormAgrees) {
  Context cx;
  EXPECT_EQ(SquashAllPunctuation(cx, "O'Neil & Sons, Inc. #4 (a/b) \\x-y_z;!", true, "", ""),
            "O'N & S, I. 4 (/) \\-_");
  EXPECT_EQ(SquashAllPunctuation(cx, "A-B.C#D", false, "#", "C"), "AB#D");
  std::string every;
  for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
  std::string in_place = every;
  SquashAllPunctuationInPlace(cx, in_place);
  EXPECT_EQ(in_place, SquashAllPunctuation(cx, every, true, "", ""));
  EXPECT_EQ(in_place, " &'(),-./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\\_");
  std::string too_long(40000, 'A');
  EXPECT_EQ(SquashAllPunctuation(cx, too_long, true, "", ""), "");
  SquashAllPunctuationInPlace(cx, too_long);
  EXPECT_EQ(too_long, "");
}

}  // namespace
}  // namespace ub04
