// The charge record through FormatRecord.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Batch;
using test::Error9;
using test::RecordText;

RecordText ChargeText(size_t count) {
  RecordText t(kChargeLayout, count);
  t.Set(charge::ServiceDate, "01152024").Set(charge::ExtraModifiers, "");
  return t;
}

const Record& Charge() { return Rs().claim.this_group.charge; }

TEST(ChargeRecord, TokenCountBoundaries) {
  // Optional parts from n = 102 on; the ICD-10 group is read only for
  // 129 <= n <= 179, so a record stopping inside it fails.
  for (auto [tokens, parses] :
       {std::pair{101, false}, {102, true}, {103, true}, {104, false}, {118, true}, {120, true},
        {121, false}, {123, false}, {126, true}, {127, false}, {129, true}, {130, false},
        {139, false}, {140, true}, {141, false}, {180, true}, {181, true}}) {
    Batch b;
    EXPECT_EQ(b.Send("6000", ChargeText(tokens)), parses ? 0 : 1) << tokens << " tokens";
    if (!parses) {
      EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseChargeRec() Error: ")});
    }
  }
}

TEST(ChargeRecord, ShortestRecord) {
  Batch b;
  ASSERT_EQ(b.Send("6000", ChargeText(102).Token(101, "LAST")), 0);
  const Record& c = Charge();
  EXPECT_EQ(c[charge::Field101], "LAST");
  EXPECT_EQ(c[charge::Field119], "0");
  for (size_t m = charge::Field102; m <= charge::Field149; ++m)
    EXPECT_EQ(c[m], m == charge::Field119 ? "0" : "") << "member " << m;
  EXPECT_EQ(c[charge::DiagnosisCodeSet], "9");
  EXPECT_TRUE(b.Logged(
      "blanking ICD10's because I have field 129 but more than 180 fields, or dont have 129"));
  EXPECT_TRUE(b.Logged("ubound is 101"));
}

TEST(ChargeRecord, Icd10GroupWindow) {
  Batch b;
  ASSERT_EQ(b.Send("6000", ChargeText(140).Token(129, "J45").Token(139, "EXTRA")), 0);
  EXPECT_TRUE(b.Logged("parsing ICD10's because I have field 129 and less than 180 fields"));
  EXPECT_EQ(Charge()[charge::Icd10Code1], "J45");
  EXPECT_EQ(Charge()[charge::Icd10Extra], "EXTRA");

  ASSERT_EQ(b.Send("6000", ChargeText(181).Token(129, "J45").Token(140, "F140")), 0);
  EXPECT_TRUE(b.Logged("ubound is 180"));
  EXPECT_EQ(Charge()[charge::Icd10Code1], "");
  EXPECT_EQ(Charge()[charge::Field140], "F140");
}

TEST(ChargeRecord, ApprovalsCodeListAndTokenZero) {
  Batch b;
  ASSERT_EQ(b.Send("6000", ChargeText(102)
                               .Set(charge::PrimaryApprovalNumber, "NONE123")
                               .Set(charge::SecondaryApprovalNumber, "NON")
                               .Set(charge::CodeList, "A~B")
                               .Token(0, "a,b,THIRD,d")),
            0);
  const Record& c = Charge();
  EXPECT_EQ(c[charge::PrimaryApprovalNumber], "");
  EXPECT_EQ(c[charge::SecondaryApprovalNumber], "NON");
  EXPECT_EQ(c[charge::CodeList], "~A~B~");
  EXPECT_EQ(c[charge::Field00ThirdPart], "THIRD");
  for (auto [in, out] : {std::pair{"a,b,c", "c"}, {"a,b", ""}, {"abc", ""}}) {
    ASSERT_EQ(b.Send("6000", ChargeText(102).Token(0, in)), 0);
    EXPECT_EQ(c[charge::Field00ThirdPart], out) << in;
  }
}

TEST(ChargeRecord, RevenueCodeSplitAndPadding) {
  Batch b;
  for (auto [in, code, second] : {std::tuple{"450/2", "0450", "2"}, {"", "0000", ""},
                                  {"10450", "10450", ""}, {" 12 / 3/4", "0012", "3/4"}}) {
    ASSERT_EQ(b.Send("6000", ChargeText(102).Set(charge::RevenueCode, in)), 0);
    EXPECT_EQ(Charge()[charge::RevenueCode], code) << in;
    EXPECT_EQ(Charge()[charge::RevenueCodeSecondPart], second) << in;
  }
}

TEST(ChargeRecord, EmptyModifiersTakeTheExtraOnes) {
  Batch b;
  const Record& c = Charge();
  ASSERT_EQ(b.Send("6000", ChargeText(118)
                               .Set(charge::Modifier1, "AA")
                               .Set(charge::Modifier2, "")
                               .Set(charge::Modifier3, "")
                               .Set(charge::Modifier4, "")
                               .Set(charge::ExtraModifiers, "  25 59  76 GT ")),
            0);
  EXPECT_EQ(c[charge::Modifier1], "AA");
  EXPECT_EQ(c[charge::Modifier2], "25");
  EXPECT_EQ(c[charge::Modifier3], "59");
  EXPECT_EQ(c[charge::Modifier4], "76");  // GT is dropped
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(c[charge::ExtraModifierSlot(i)], "");

  // Filled modifiers leave the words in the list for the detail line.
  ASSERT_EQ(b.Send("6000", ChargeText(118).Set(charge::ExtraModifiers, "25 59")), 0);
  EXPECT_EQ(c[charge::ExtraModifierSlot(1)], "25");
  EXPECT_EQ(c[charge::ExtraModifierSlot(2)], "59");
}

TEST(ChargeRecord, BpPrefixAndNarrative) {
  Batch b;
  const Record& c = Charge();
  ASSERT_EQ(b.Send("6000", ChargeText(129)
                               .Set(charge::Field07, "BP: X1 ")
                               .Set(charge::Field126, "PROC T")
                               .Set(charge::Narrative, "SEE PROC T HERE")
                               .Set(charge::StripProcedureFromNarrative, "1")),
            0);
  EXPECT_EQ(c[charge::Field07], "PROC T");
  EXPECT_EQ(c[charge::BpValue], "X1");
  EXPECT_EQ(c[charge::Field126], "");
  EXPECT_EQ(c[charge::Narrative], "");

  // A narrative without the text, an empty procedure text or a switch other
  // than "1" leave the narrative alone.
  for (auto [text, sw] : {std::pair{"OTHER", "1"}, {"", "1"}, {"PROC", "Y"}}) {
    ASSERT_EQ(b.Send("6000", ChargeText(129)
                                 .Set(charge::Field07, text)
                                 .Set(charge::Narrative, "PROC")
                                 .Set(charge::StripProcedureFromNarrative, sw)),
              0);
    EXPECT_EQ(c[charge::Narrative], "PROC") << text << sw;
  }
}

TEST(ChargeRecord, ZeroQuantitiesBecomeEmpty) {
  Batch b;
  for (auto [in, out] : {std::pair{"0.000", ""}, {"2", "2"}, {"abc", ""}, {"0.5", "0.5"}}) {
    ASSERT_EQ(b.Send("6000", ChargeText(126).Set(charge::NdcQuantity, in).Set(charge::Field124, in)), 0);
    EXPECT_EQ(Charge()[charge::NdcQuantity], out) << in;
    EXPECT_EQ(Charge()[charge::Field124], out) << in;
  }
}

}  // namespace
}  // namespace ub04
