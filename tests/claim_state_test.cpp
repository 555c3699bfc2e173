// The This and Last copies across ends of charge.
#include <gtest/gtest.h>

#include "tests/claim_support.h"

namespace ub04::test {
namespace {


TEST(ClaimState, TopRecordsFoldIntoLastAndTheirFlagsLatch) {
  ClaimBatch b;
  b.Send("5010", "X//30005//A");
  b.Send("5014", "X//30005//B");
  b.Charge(ChargeText());
  b.Send("3000", TopText("3000"));
  b.Send("5014", "X//30005//C");
  // The practice identifier the insurance parser chose for this payer.
  Rs().claim.this_top.practice[practice::Npi] = "ALT";
  b.Charge(ChargeText());
  b.Charge(ChargeText());

  const ClaimState& c = Rs().claim;
  EXPECT_EQ(c.last_top.practice[practice::Npi], "ALT");
  EXPECT_EQ(c.last_top.ext[0][ext_data::Pairs] + c.last_top.ext[2][ext_data::Pairs],
            "~30005A~~30005C~");
  EXPECT_FALSE(c.this_top.insurance.Present());
  EXPECT_EQ(c.this_top.insurance[insurance::IhCode], "v1");  // only token 0 is blanked
  EXPECT_TRUE(c.need_new_insurance && c.need_new_practice && !c.need_new_patient);
  EXPECT_EQ(b.Count(" ** NeedNewInsurance"), 2);
  EXPECT_EQ(b.Count(" ** NeedNewPractice"), 3);
  EXPECT_EQ(b.Count("PayorOrg,InsIHCode,StopDt: v2,v1,", ""), 2);  // latched NPI lookups
}

TEST(ClaimState, GroupMovesToLastWithItsFollowMarkAndLeavesAFreshFormList) {
  ClaimBatch b;
  b.Send("6000", ChargeText().Set(charge::RevenueCode, "450/7"));
  b.Send("6310", TopText("6310").Set(oinsurance::FollowMarker, "MCA"));
  const auto forms = Rs().claim.this_group.custom_forms;
  b.Send("6990", "");

  const ClaimState& c = Rs().claim;
  EXPECT_EQ(c.last_group.custom_forms, forms);
  ASSERT_NE(c.this_group.custom_forms, nullptr);
  EXPECT_NE(c.this_group.custom_forms, forms);
  EXPECT_TRUE(c.last_followed && c.last_group.oins[0].Present());
  EXPECT_EQ(c.last_follow_key, "7");
  EXPECT_TRUE(b.Logged("**CopyThisGroupToLast - LastFollowed and This-Followed are both: True"));
  EXPECT_FALSE(c.this_group.charge.Present());

  // The groups trade places rather than copy: what the first charge brought
  // must not come back through This with the next one.
  auto every_member_empty = [](const ChargeGroup& g) {
    std::vector<const Record*> all = {&g.charge, &g.ambulance, &g.chiropractor, &g.sprovider,
                                      &g.oprovider, &g.referral, &g.oreferral, &g.facility};
    for (const Record& r : g.ext) all.push_back(&r);
    for (const Record& r : g.oins) all.push_back(&r);
    for (const Record* r : all)
      for (const std::string& m : r->m)
        if (!m.empty()) return false;
    return true;
  };
  EXPECT_TRUE(every_member_empty(c.this_group));
  b.Send("6000", ChargeText().Set(charge::RevenueCode, "300"));
  b.Send("6990", "");
  EXPECT_FALSE(c.last_group.oins[0].Present());
  EXPECT_EQ(c.last_group.oins[0][oinsurance::FollowMarker], "");
  EXPECT_EQ(c.last_group.charge[charge::RevenueCode], "0300");
  EXPECT_NE(c.last_group.custom_forms, forms);
  EXPECT_TRUE(every_member_empty(c.this_group));
}

}  // namespace
}  // namespace ub04::test
