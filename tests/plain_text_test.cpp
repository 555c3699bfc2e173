// Printable-ASCII detection, which decides whether a record is mended
// before it is parsed.
#include <gtest/gtest.h>

#include "base/plain_text.h"

namespace ub04 {
namespace {

// The text is tested sixteen bytes at a time: one byte outside 0x20-0x7E in
// any place of a text of any length makes it not printable, and the two
// edges of the range are printable.
TEST(IsPrintableAscii, OneByteOutsideTheRangeAnywhereIsFound) {
  for (size_t n = 0; n <= 40; ++n) {
    const std::string text(n, n % 2 ? ' ' : '~');
    EXPECT_TRUE(IsPrintableAscii(text)) << n;
    for (size_t at = 0; at < n; ++at) {
      for (int c : {0x00, 0x09, 0x1F, 0x7F, 0x80, 0xC3, 0xFF}) {
        std::string bad = text;
        bad[at] = static_cast<char>(c);
        ASSERT_FALSE(IsPrintableAscii(bad)) << n << " " << at << " " << c;
      }
    }
  }
}

}  // namespace
}  // namespace ub04
