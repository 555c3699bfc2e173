// Record dispatch: the facility rule, the end-of-charge type of bill and
// the run state shared by instances of one thread.
#include <gtest/gtest.h>

#include <thread>

#include "host/run_state.h"
#include "records/layouts.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

using test::Harness;
using test::Join;
using test::Key;

// Records long enough for every parser's mandatory tokens.
std::vector<std::string> Practice() {
  auto t = test::Tokens(21);
  t[practice::TypeOfBill] = "131";
  return t;
}
std::vector<std::string> Charge() {
  auto t = test::Tokens(102);
  for (size_t k = 1; k < t.size(); ++k) t[k] = "";
  t[0] = "X";
  t[53] = "01152024";
  t[55] = "01152024";
  t.back() = "0";  // a trailing empty token would be dropped by the split
  return t;
}

TEST(Dispatch, FacilityRecordFollowsTheBillingPreferenceSwitch) {
  struct Case {
    std::string sw, pos;
    bool parsed;
  };
  for (const Case& c : {Case{"2", "11", false}, Case{"2", "21", true}, Case{"1", "21", false},
                        Case{"0", "11", true}, Case{"", "11", true}}) {
    Harness h;
    ASSERT_EQ(h.fc.FormatRecord(Key("1000"), Join(Practice())), 0);
    auto pref = test::Tokens(15);
    pref[13] = c.sw;
    ASSERT_EQ(h.fc.FormatRecord(Key("3100"), Join(pref)), 0);
    auto charge = Charge();
    charge[25] = c.pos;
    ASSERT_EQ(h.fc.FormatRecord(Key("6000"), Join(charge)), 0);
    ASSERT_EQ(h.fc.FormatRecord(Key("6200"), Join(test::Tokens(18))), 0);
    EXPECT_EQ(Rs().claim.this_group.facility.Present(), c.parsed)
        << "switch " << c.sw << " place " << c.pos;
  }
}

TEST(Dispatch, TypeOfBillFallsBackToThePracticeAndIsFourDigits) {
  Harness h;
  ASSERT_EQ(h.fc.FormatRecord(Key("1000"), Join(Practice())), 0);
  ASSERT_EQ(h.fc.FormatRecord(Key("6000"), Join(Charge())), 0);
  ASSERT_EQ(h.fc.FormatRecord(Key("6990"), ""), 0);
  EXPECT_EQ(Rs().claim.last_group.charge[charge::TypeOfBill], "0131");
  EXPECT_EQ(Rs().charge_counter, 1);

  // An extended-data item 20007 of the charge wins.
  ASSERT_EQ(h.fc.FormatRecord(Key("6000"), Join(Charge())), 0);
  ASSERT_EQ(h.fc.FormatRecord(Key("6012"), "X//20007//0111"), 0);
  ASSERT_EQ(h.fc.FormatRecord(Key("6990"), ""), 0);
  EXPECT_EQ(Rs().claim.last_group.charge[charge::TypeOfBill], "0111");
}

TEST(Dispatch, UnknownTypesAreLoggedAndAccepted) {
  Harness h;
  ASSERT_EQ(h.fc.FormatRecord(Key("1000"), Join(Practice())), 0);
  EXPECT_EQ(h.fc.FormatRecord(Key("7777"), "whatever"), 0);
  h.fc.ProcessEndOfFile();
  EXPECT_NE(test::ReadFile(h.log_path()).find("\"FormatRecord() - Didn't know the case type\""),
            std::string::npos);
}

TEST(RunState, EachHostThreadHasItsOwn) {
  Format_Class here;
  here.HereIsAMessage("1", "/here");
  std::string seen_there;
  std::thread([&] {
    Format_Class there;
    seen_there = Rs().output_path;
    there.HereIsAMessage("1", "/there");
  }).join();
  EXPECT_EQ(seen_there, "?");
  EXPECT_EQ(Rs().output_path, "/here");
}

}  // namespace
}  // namespace ub04
