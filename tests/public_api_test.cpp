// The public C++ interface (ub04/format_class.hpp): handles forward to the
// library's classes, share list slots as the library does, and turn its
// run-time errors into standard exceptions.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ub04/format_class.hpp"
#include "ub04/ub04.h"

namespace {

using namespace ub04::api;

TEST(PublicApi, VersionAnswersMatchTheHeader) {
  EXPECT_STREQ(ub04_version(), UB04_VERSION_STRING);
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("VER", ""), 1);
  int32_t i = 1;
  EXPECT_EQ(fc.GetAMessage(i), std::string(" 1//") + UB04_VERSION_STRING + "//");
  i = 2;
  EXPECT_EQ(fc.GetAMessage(i), "END");
  fc.gsErrorMsg() = "set by the host";
  EXPECT_EQ(static_cast<const Format_Class&>(fc).gsErrorMsg(), "set by the host");
}

TEST(PublicApi, PaymentAdjustmentsForwardAndRaiseStandardExceptions) {
  Format_Class fc;  // the run the helper reports to
  PayAdjHelper adj;
  std::string total;
  ASSERT_EQ(adj.AddThePaymentAdjCodes(total, "PR|1|5|0|CO|45|10|1|CO|45|2.5|1"), 0);
  std::vector<PaymentAdjStruct> items;
  ASSERT_EQ(adj.ParseThePaymentAdjCodeStructs(total, items), 0);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].curAmount, Currency::FromScaled(125000));

  // A text over 32767 bytes: error 6 as an exception; the caller's array
  // keeps what it held.
  try {
    adj.ParseThePaymentAdjCodeStructs(std::string(40000, 'A'), items);
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, 3), " 6 ");
  }
  EXPECT_EQ(items.size(), 2u);
}

TEST(PublicApi, CustomFormSlotsAreSharedAndCopiesAreNot) {
  CCFormInfoArray list;
  CCFormInfo q;
  q.sChargeCustomForm() = "CMS-846";
  q.sQuestionIDName() = "LYMPHEDEMA";
  list.AddTail(q);

  auto slot = list.GetCustomFormInfo(1);
  EXPECT_EQ(slot->sQuestionNumber(), "5");
  slot->sAnswerValue() = "Y";  // shows in the list
  EXPECT_EQ(list.GetCustomFormInfo(1)->sAnswerValue(), "Y");

  CCFormInfo copy = *slot;  // a separate question
  copy.sAnswerValue() = "N";
  EXPECT_EQ(list.GetCustomFormInfo(1)->sAnswerValue(), "Y");
  copy = q;
  EXPECT_EQ(copy.sAnswerValue(), "");

  // A handle outlives Empty_Me, which gives the list new questions.
  list.Empty_Me();
  EXPECT_EQ(slot->sAnswerValue(), "Y");
  EXPECT_EQ(list.GetCustomFormInfo(1)->sAnswerValue(), "");

  EXPECT_THROW(list.GetCustomFormInfo(0), std::runtime_error);
  EXPECT_THROW(list.GetCustomFormInfo(101), std::runtime_error);
}

}  // namespace
