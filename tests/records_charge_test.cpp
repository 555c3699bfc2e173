// The charge record through FormatRecord.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "records/record_rules.h"
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
  struct Case {
    size_t tokens;
    bool parses;
  };
  for (Case c : {Case{101, false}, Case{102, true}, Case{103, true}, Case{104, false},
                 Case{118, true}, Case{120, true}, Case{121, false}, Case{123, false},
                 Case{126, true}, Case{127, false}, Case{129, true}, Case{130, false},
                 Case{139, false}, Case{140, true}, Case{141, false}, Case{150, true},
                 Case{180, true}, Case{181, true}, Case{200, true}}) {
    Batch b;
    EXPECT_EQ(b.Send("6000", ChargeText(c.tokens)), c.parses ? 0 : 1) << c.tokens << " tokens";
    if (!c.parses) {
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
    if (m != charge::Field119) {
      EXPECT_EQ(c[m], "") << "member " << m;
    }
  EXPECT_EQ(c[charge::DiagnosisCodeSet], "9");
  EXPECT_TRUE(b.Logged(
      "blanking ICD10's because I have field 129 but more than 180 fields, or dont have 129"));
  EXPECT_TRUE(b.Logged("ubound is 101"));
  EXPECT_TRUE(b.Logged("=== Charge Procedure Grid Values ==="));
}

TEST(ChargeRecord, Icd10GroupWindow) {
  {
    Batch b;
    ASSERT_EQ(b.Send("6000", ChargeText(140).Token(129, "J45").Token(139, "EXTRA")), 0);
    EXPECT_TRUE(b.Logged("parsing ICD10's because I have field 129 and less than 180 fields"));
    EXPECT_EQ(Charge()[charge::Icd10Code1], "J45");
    EXPECT_EQ(Charge()[charge::Icd10Extra], "EXTRA");
  }
  {
    Batch b;
    ASSERT_EQ(b.Send("6000", ChargeText(181).Token(129, "J45").Token(140, "F140")), 0);
    EXPECT_TRUE(b.Logged("ubound is 180"));
    EXPECT_EQ(Charge()[charge::Icd10Code1], "");
    EXPECT_EQ(Charge()[charge::Field140], "F140");
  }
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
  EXPECT_EQ(c[charge::TypeOfBill], "");

  for (auto [in, out] : {std::pair{"a,b,c", "c"}, {"a,b", ""}, {"abc", ""}, {"a,b,", ""}}) {
    ASSERT_EQ(b.Send("6000", ChargeText(102).Token(0, in)), 0);
    EXPECT_EQ(Charge()[charge::Field00ThirdPart], out) << in;
  }
}

TEST(ChargeRecord, RevenueCodeSplitAndPadding) {
  struct Case {
    const char *in, *code, *second;
  };
  for (Case c : {Case{"450/2", "0450", "2"}, Case{"", "0000", ""}, Case{"10450", "10450", ""},
                 Case{" 12 / 3/4", "0012", "3/4"}}) {
    Batch b;
    ASSERT_EQ(b.Send("6000", ChargeText(102).Set(charge::RevenueCode, c.in)), 0);
    EXPECT_EQ(Charge()[charge::RevenueCode], c.code) << c.in;
    EXPECT_EQ(Charge()[charge::RevenueCodeSecondPart], c.second) << c.in;
  }
}

TEST(ChargeRecord, EmptyModifiersTakeTheExtraOnes) {
  Batch b;
  ASSERT_EQ(b.Send("6000", ChargeText(118)
                               .Set(charge::Modifier1, "AA")
                               .Set(charge::Modifier2, "")
                               .Set(charge::Modifier3, "")
                               .Set(charge::Modifier4, "")
                               .Set(charge::ExtraModifiers, "  25 59  76 GT ")),
            0);
  const Record& c = Charge();
  EXPECT_EQ(c[charge::Modifier1], "AA");
  EXPECT_EQ(c[charge::Modifier2], "25");
  EXPECT_EQ(c[charge::Modifier3], "59");
  EXPECT_EQ(c[charge::Modifier4], "76");
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(c[charge::ExtraModifierSlot(i)], "");

  // Filled modifiers leave the words in the list for the detail line.
  ASSERT_EQ(b.Send("6000", ChargeText(118).Set(charge::ExtraModifiers, "25 59")), 0);
  EXPECT_EQ(c[charge::ExtraModifierSlot(1)], "25");
  EXPECT_EQ(c[charge::ExtraModifierSlot(2)], "59");
  EXPECT_EQ(c[charge::Modifier4], "v116");
}

TEST(ChargeRecord, PopExtraModifier) {
  Record c(&kChargeLayout);
  c[charge::ExtraModifiers] = "A B";
  FillModifiersFromList(c);  // every modifier empty: all words used
  EXPECT_EQ(c[charge::Modifier1], "A");
  EXPECT_EQ(c[charge::Modifier2], "B");
  EXPECT_EQ(PopExtraModifier(c), "");
}

TEST(ChargeRecord, BpPrefixAndNarrative) {
  Batch b;
  ASSERT_EQ(b.Send("6000", ChargeText(129)
                               .Set(charge::Field07, "BP: X1 ")
                               .Set(charge::Field126, "PROC T")
                               .Set(charge::Narrative, "SEE PROC T HERE")
                               .Set(charge::StripProcedureFromNarrative, "1")),
            0);
  const Record& c = Charge();
  EXPECT_EQ(c[charge::Field07], "PROC T");
  EXPECT_EQ(c[charge::BpValue], "X1");
  EXPECT_EQ(c[charge::Field126], "");
  EXPECT_EQ(c[charge::Narrative], "");

  ASSERT_EQ(b.Send("6000", ChargeText(129)
                               .Set(charge::Field07, "OTHER")
                               .Set(charge::Narrative, "SEE PROC T HERE")
                               .Set(charge::StripProcedureFromNarrative, "1")),
            0);
  EXPECT_EQ(c[charge::Narrative], "SEE PROC T HERE");
  EXPECT_EQ(c[charge::BpValue], "");

  // An empty procedure text strips nothing; the switch must be exactly "1".
  for (auto [text, sw] : {std::pair{"", "1"}, {"PROC", "Y"}}) {
    ASSERT_EQ(b.Send("6000", ChargeText(129)
                                 .Set(charge::Field07, text)
                                 .Set(charge::Narrative, "PROC")
                                 .Set(charge::StripProcedureFromNarrative, sw)),
              0);
    EXPECT_EQ(c[charge::Narrative], "PROC");
  }
}

TEST(ChargeRecord, ZeroQuantitiesBecomeEmpty) {
  struct Case {
    const char *in, *out;
  };
  for (Case c : {Case{"0.000", ""}, Case{"2", "2"}, Case{"", ""}, Case{"abc", ""},
                 Case{"0.5", "0.5"}}) {
    Batch b;
    ASSERT_EQ(b.Send("6000", ChargeText(126)
                                 .Set(charge::NdcQuantity, c.in)
                                 .Set(charge::Field124, c.in)),
              0);
    EXPECT_EQ(Charge()[charge::NdcQuantity], c.out) << c.in;
    EXPECT_EQ(Charge()[charge::Field124], c.out) << c.in;
  }
}

TEST(ChargeRecord, ClearsTheFollowMark) {
  Batch b;
  Rs().claim.this_followed = true;
  Rs().claim.this_follow_key = "K";
  ASSERT_EQ(b.Send("6000", ChargeText(100)), 1);  // even a failing charge clears it
  EXPECT_FALSE(Rs().claim.this_followed);
  EXPECT_EQ(Rs().claim.this_follow_key, "");
  EXPECT_TRUE(b.Logged("** ParseChargeRec  This-followed is now false"));
}

}  // namespace
}  // namespace ub04
