// The helper classes a host uses beside the component: payment adjustment
// codes (merging, ordering, number texts, parsing, failures that must not
// lose a total) and custom-form answers (question numbers, the list's slots,
// narrative spill-over, a full list, the sort).
#include <gtest/gtest.h>

#include "base/runtime.h"
#include "claim/payment_adjustments.h"
#include "records/custom_form.h"
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

CCFormInfo Answer(const std::string& form, const std::string& name, const std::string& answer = "") {
  CCFormInfo q;
  q.sChargeCustomForm = form;
  q.sQuestionIDName = name;
  q.sAnswerValue = answer;
  return q;
}

struct NumberCase {
  const char* form;
  const char* name;
  const char* number;
  const char* type;
  int16_t sequence;
};

TEST(CustomForm, QuestionNumbersFromTheThreeTables) {
  const NumberCase cases[] = {
      // One numbered and one unnumbered ("X") question of each form's table.
      {"CMS-849", "AMBULATE", "B4", "O", 0},        {"CMS-849", "NARRATIVE", "C1", "T", 0},
      {"CMS-849", "CERTIFICATIONDATE", "X", "D", 0},
      {"CMS-10126", "CALORIES2", "4B", "T", 0},      {"CMS-10126", "HCPCS4", "X", "T", 0},
      {"CMS-846", "LYMPHEDEMA", "5", "O", 5},        {"CMS-846", "NARRATIVE", "X", "T", 0},
  };
  for (const NumberCase& c : cases) {
    CCFormInfo q = Answer(c.form, c.name);
    q.DetermineQuestionNumber();
    EXPECT_EQ(q.sQuestionNumber, c.number) << c.form << " " << c.name;
    EXPECT_EQ(q.sQuestionType, c.type) << c.form << " " << c.name;
    EXPECT_EQ(q.iSequence, c.sequence) << c.form << " " << c.name;
  }
}

TEST(CustomForm, UnknownQuestionOrFormClearsOnlyTheNumber) {
  for (CCFormInfo q : {Answer("CMS-849", "narrative"), Answer("CMS-849", "CALORIES1"),
                       Answer("CMS-999", "AMBULATE"), Answer("", "")}) {
    q.sQuestionNumber = "old";
    q.sQuestionType = "T";
    q.iSequence = 7;
    q.DetermineQuestionNumber();
    EXPECT_EQ(q.sQuestionNumber, "");
    EXPECT_EQ(q.sQuestionType, "T");
    EXPECT_EQ(q.iSequence, 7);
  }
}

TEST(CustomFormArray, NarrativeSpillsIntoNextSlots) {
  CCFormInfoArray a;
  CCFormInfo q = Answer("CMS-849", "AMBULATE", "Y");
  q.sQuestionNumber = "99";  // AddTail copies three fields and numbers the question itself
  a.AddTail(q);
  EXPECT_EQ(a.GetCustomFormInfo(1)->sQuestionNumber, "B4");
  a.AddTail(Answer("CMS-849", "NARRATIVE", "first line;second line  ;third;fourth"));
  const char* expect[][2] = {{"first line", "C1"}, {"second line", "C2"}, {"third", "C3"}};
  for (int k = 0; k < 3; ++k) {
    auto s = a.GetCustomFormInfo(static_cast<int16_t>(2 + k));
    EXPECT_EQ(s->sChargeCustomForm, "CMS-849");
    EXPECT_EQ(s->sQuestionIDName, "NARRATIVE");
    EXPECT_EQ(s->sAnswerValue, expect[k][0]);
    EXPECT_EQ(s->sQuestionNumber, expect[k][1]);
    EXPECT_EQ(s->sQuestionType, "T");
  }
  EXPECT_EQ(a.GetCustomFormInfo(5)->sChargeCustomForm, "");

  // The same answer on "CMS-846" stays whole in one slot numbered "X".
  CCFormInfoArray b;
  b.AddTail(Answer("CMS-846", "NARRATIVE", "a;b;c"));
  EXPECT_EQ(b.GetCustomFormInfo(1)->sAnswerValue, "a;b;c");
  EXPECT_EQ(b.GetCustomFormInfo(1)->sQuestionNumber, "X");
  EXPECT_EQ(b.GetCustomFormInfo(2)->sChargeCustomForm, "");
}

TEST(CustomFormArray, SpillOverSkipsUsedSlotsAndStopsAtTheEnd) {
  CCFormInfoArray a;
  a.GetCustomFormInfo(2)->sChargeCustomForm = "CMS-846";
  a.GetCustomFormInfo(2)->sAnswerValue = "keep";
  a.AddTail(Answer("CMS-849", "NARRATIVE", "one;two;three"));
  EXPECT_EQ(a.GetCustomFormInfo(2)->sAnswerValue, "keep");
  EXPECT_EQ(a.GetCustomFormInfo(3)->sQuestionNumber, "C2");
  EXPECT_EQ(a.GetCustomFormInfo(4)->sQuestionNumber, "C3");

  // A narrative landing in slot 99 spills into 100 only; a full list
  // ignores what comes after.
  CCFormInfoArray b;
  for (int k = 0; k < 98; ++k) b.AddTail(Answer("CMS-849", "AMBULATE"));
  b.AddTail(Answer("CMS-849", "NARRATIVE", "one;two;three"));
  b.AddTail(Answer("CMS-846", "HCPCS1", "late"));
  EXPECT_EQ(b.GetCustomFormInfo(99)->sAnswerValue, "one");
  EXPECT_EQ(b.GetCustomFormInfo(100)->sAnswerValue, "two");
  EXPECT_EQ(b.GetCustomFormInfo(100)->sQuestionNumber, "C2");
}

TEST(CustomFormArray, TooLongNarrativeRaisesAndChangesNothing) {
  CCFormInfoArray a;
  EXPECT_THROW(a.AddTail(Answer("CMS-849", "NARRATIVE", std::string(40000, 'x'))), RtError);
  EXPECT_EQ(a.GetCustomFormInfo(1)->sChargeCustomForm, "");
}

TEST(CustomFormArray, SortByFormThenSequenceKeepsEqualKeysInOrder) {
  CCFormInfoArray a;
  a.AddTail(Answer("CMS-849", "AMBULATE", "a"));
  a.AddTail(Answer("CMS-846", "LYMPHEDEMA", "b"));      // sequence 5
  a.AddTail(Answer("CMS-10126", "CALORIES1", "c"));
  a.AddTail(Answer("CMS-846", "CHRONICVENOUS", "d"));   // sequence 1
  a.AddTail(Answer("CMS-849", "NEUROMUSCULAR", "e"));
  a.AddTail(Answer("cms-846", "LYMPHEDEMA", "f"));      // lower case sorts last
  a.AddTail(Answer("CMS-846", "HCPCS1", "g"));          // sequence 0
  auto first = a.GetCustomFormInfo(1);
  a.SortArray();
  std::string order;
  for (int16_t n = 1; n <= 8; ++n) order += a.GetCustomFormInfo(n)->sAnswerValue + ",";
  EXPECT_EQ(order, "c,g,d,b,a,e,f,,");
  // The object handed out moved with its answer.
  EXPECT_EQ(a.GetCustomFormInfo(5).get(), first.get());
}

TEST(CustomFormArray, SortLeavesFreeSlotsInPlace) {
  CCFormInfoArray a;
  a.GetCustomFormInfo(2)->sChargeCustomForm = "CMS-849";
  a.GetCustomFormInfo(5)->sChargeCustomForm = "CMS-10126";
  a.GetCustomFormInfo(9)->sChargeCustomForm = "CMS-846";
  a.SortArray();
  EXPECT_EQ(a.GetCustomFormInfo(2)->sChargeCustomForm, "CMS-10126");
  EXPECT_EQ(a.GetCustomFormInfo(5)->sChargeCustomForm, "CMS-846");
  EXPECT_EQ(a.GetCustomFormInfo(9)->sChargeCustomForm, "CMS-849");
  for (int16_t n : {1, 3, 4, 6, 7, 8, 10}) EXPECT_EQ(a.GetCustomFormInfo(n)->sChargeCustomForm, "");
}

}  // namespace
}  // namespace ub04
