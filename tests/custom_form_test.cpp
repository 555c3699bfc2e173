// Custom-form answers: question numbering, the list's slots, narrative
// spill-over, a full list and the sort.
#include <gtest/gtest.h>

#include "records/custom_form.h"
#include "base/runtime.h"

namespace ub04 {
namespace {

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

TEST(CustomFormArray, OutOfRangeRaises) {
  CCFormInfoArray a;
  EXPECT_THROW(a.GetCustomFormInfo(0), RtError);
  EXPECT_THROW(a.GetCustomFormInfo(101), RtError);
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
