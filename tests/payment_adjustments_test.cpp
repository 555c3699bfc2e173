// Payment adjustment codes: merging, ordering, number texts, parsing into
// records and the failures that must not lose a total.
#include <gtest/gtest.h>

#include "claim/payment_adjustments.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

struct MergeCase {
  const char* total;
  const char* detail;
  const char* expected;
};

TEST(PaymentAdjustments, MergesAddsAndOrdersByGroup) {
  const MergeCase cases[] = {
      {"", "CO|45|10|1|PR|2|5|0", "CO|45|10|1|PR|2|5|0"},
      {"", "PR|1|5|0|CO|45|10|1|CO|45|2.5|1", "CO|45|12.5|2|PR|1|5|0"},
      {"CO|45|5|1", "CO|45|10|1", "CO|45|15|2"},
      // An empty detail leaves even an odd total untouched.
      {"CO|45|10.00|1|", "", "CO|45|10.00|1|"},
      {"not a list", "", "not a list"},
      // Incomplete detail lists add nothing.
      {"", "CO|45|10", ""},
      {"CO|45|5|1", "CO|45|10", "CO|45|5|1"},
      {"CO|45|5|1", "PR|1|2|1|CO|45", "CO|45|5|1|PR|1|2|1"},
      // Groups compare exactly: co stays apart and sorts after CO.
      {"", "co|45|1|1|CO|45|2|1", "CO|45|2|1|co|45|1|1"},
      {"co|45|1|1", "CO|45|2|1", "CO|45|2|1|co|45|1|1"},
      // Same group, other reason: kept apart, order within the group kept.
      {"", "PR|2|1|1|CO|9|1|1|PR|1|1|1", "CO|9|1|1|PR|2|1|1|PR|1|1|1"},
      // Trailing separator, non-numeric amounts and units, empty groups.
      {"", "CO|45|10|1|", "CO|45|10|1"},
      {"", "CO|45|abc|x", "CO|45|0|0"},
      {"", "|45|1|1|CO|1|1|1", "CO|1|1|1"},
      {"", ".|45|1|1", ""},
      // Sums are exact and written without trailing zeros.
      {"CO|1|0.1|0.1", "CO|1|0.2|0.2", "CO|1|0.3|0.3"},
      {"CO|45|-2.5|1", "CO|45|1.00|1", "CO|45|-1.5|2"},
      {"", "CO|1|10.50|3.0", "CO|1|10.5|3"},
      {"", "CO|1|123456789012.3456|1", "CO|1|123456789012.3456|1"},
  };
  PayAdjHelper helper;
  for (const MergeCase& c : cases) {
    std::string total = c.total;
    EXPECT_EQ(helper.AddThePaymentAdjCodes(total, c.detail), 0);
    EXPECT_EQ(total, c.expected) << "total \"" << c.total << "\" detail \"" << c.detail << "\"";
  }
}

TEST(PaymentAdjustments, ParseGivesRecordsOrOneBlankRecord) {
  PayAdjHelper helper;
  std::vector<PaymentAdjStruct> a;
  EXPECT_EQ(helper.ParseThePaymentAdjCodeStructs("CO|45|12.5|2|PR|1|-3|0.5|XX", a), 0);
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].sGroup, "CO");
  EXPECT_EQ(a[0].sReason, "45");
  EXPECT_EQ(a[0].curAmount, Currency::FromScaled(125000));
  EXPECT_EQ(a[0].dfUnit, 2);
  EXPECT_EQ(a[1].sGroup, "PR");
  EXPECT_EQ(a[1].curAmount, Currency::FromScaled(-30000));
  EXPECT_EQ(a[1].dfUnit, 0.5);

  // An array that held records comes back as one blank record, not with its
  // old first element.
  for (const char* text : {"", "CO|45|10"}) {
    helper.ParseThePaymentAdjCodeStructs(text, a);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].sGroup, "");
    EXPECT_EQ(a[0].sReason, "");
    EXPECT_TRUE(a[0].curAmount.IsZero());
    EXPECT_EQ(a[0].dfUnit, 0);
  }
}

TEST(PaymentAdjustments, FailureIsQueuedAndKeepsTheTotal) {
  Format_Class fc;
  PayAdjHelper helper;
  // Two amounts whose sum leaves the currency range.
  std::string total = "CO|1|900000000000000|1";
  EXPECT_EQ(helper.AddThePaymentAdjCodes(total, "CO|1|900000000000000|1"), 3);
  EXPECT_EQ(total, "CO|1|900000000000000|1");
  // A list longer than the tokenizer takes.
  std::string long_list(40000, 'A');
  EXPECT_EQ(helper.AddThePaymentAdjCodes(total, long_list), 3);
  EXPECT_EQ(total, "CO|1|900000000000000|1");

  auto m = test::Messages(fc);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0], " 3//QVR_UB04PPA_Format.Dll AddThePaymentAdjCodes()  6 Overflow//");
  EXPECT_EQ(m[1], m[0]);

  std::vector<PaymentAdjStruct> a;
  EXPECT_THROW(helper.ParseThePaymentAdjCodeStructs(long_list, a), RtError);
}

TEST(PaymentAdjustments, NormalizeReplacesOnlyOnSuccess) {
  Context cx;
  std::string codes = "PR|1|5|0|CO|45|10|1|CO|45|2.5|1";
  NormalizeAdjustmentCodes(cx, codes);
  EXPECT_EQ(codes, "CO|45|12.5|2|PR|1|5|0");

  codes = "";
  NormalizeAdjustmentCodes(cx, codes);
  EXPECT_EQ(codes, "");

  // A failed merge keeps the codes as received instead of blanking them.
  codes = "CO|1|900000000000000|1|CO|1|900000000000000|1";
  NormalizeAdjustmentCodes(cx, codes);
  EXPECT_EQ(codes, "CO|1|900000000000000|1|CO|1|900000000000000|1");
  EXPECT_EQ(cx.queue.Count(), 1);
}

}  // namespace
}  // namespace ub04
