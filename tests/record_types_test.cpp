// The record-type table is the one list of record types: the claim state is
// sized, emptied and cleared by walking it, so a slot it misses or names
// twice would go unsized or be cleared by the wrong rule.
#include <gtest/gtest.h>

#include <set>

#include "claim/claim_env.h"
#include "claim/ext_data.h"
#include "records/record_types.h"
#include "tests/test_support.h"

namespace ub04::test {
namespace {

// Every record the claim state holds, listed by hand.
std::vector<Record*> AllRecords(TopRecords& t, ChargeGroup& g) {
  std::vector<Record*> all = {&t.practice, &t.submitter, &t.bprovider, &t.insurance,
                              &t.calc_pref, &t.break_pref, &t.patient, &t.subscriber,
                              &g.charge, &g.ambulance, &g.chiropractor, &g.sprovider,
                              &g.oprovider, &g.referral, &g.oreferral, &g.facility};
  for (Record& r : t.ext) all.push_back(&r);
  for (Record& r : g.ext) all.push_back(&r);
  for (Record& r : g.oins) all.push_back(&r);
  return all;
}

TEST(RecordTypes, EveryRecordOfTheClaimStateHasExactlyOneRow) {
  ClaimState cs;
  InitClaimState(cs, 18, 4);
  std::set<const Record*> slots;
  for (std::string_view unknown : {"", "600", "60000", "6001", "6000 ", " 6000"})
    EXPECT_EQ(FindRecordType(unknown), nullptr) << unknown;
  for (const RecordType& r : RecordTypes()) {
    SCOPED_TRACE(r.code);
    EXPECT_EQ(FindRecordType(r.code), &r);
    EXPECT_FALSE(r.doc_name.empty());
    if (r.role == RecordRole::kNone) {
      EXPECT_EQ(r.layout, nullptr);
      continue;
    }
    Record& rec = r.slot(cs.this_top, cs.this_group);
    EXPECT_TRUE(slots.insert(&rec).second) << "a second row for this slot";
    EXPECT_EQ(rec.layout, r.layout);
    EXPECT_EQ(rec.m.size(), r.layout->member_count);
    // Only a top record's arrival can start a claim (CheckBreak reads This).
    if (!r.break_name.empty() || !r.need_new_name.empty()) {
      EXPECT_EQ(r.role, RecordRole::kTop);
    }
  }
  for (Record* rec : AllRecords(cs.this_top, cs.this_group))
    EXPECT_TRUE(slots.count(rec)) << "a record of the claim state without a row";
  EXPECT_EQ(slots.size(), AllRecords(cs.last_top, cs.last_group).size());
}

TEST(ClaimState, EmptyingBlanksTopMarkersAndClearsExtendedDataAndTheGroup) {
  ScratchDir dir;
  Context cx;
  cx.log.Open((dir.path() / "run.log").string(), 0600);
  cx.log.set_level(2);
  RefData ref(cx, "UB04PPA");
  ClaimState cs;
  InitClaimState(cs, 18, 4);
  ClaimEnv env{cx, cs, ref};
  for (Record* rec : AllRecords(cs.this_top, cs.this_group))
    for (std::string& m : rec->m) m = "v";
  const auto* forms = cs.this_group.custom_forms.get();

  EmptyThisTop(env);
  EmptyThisGroup(env);
  cx.log.Close();

  // A top record keeps its members for the claims after it; extended data
  // holds for one charge, as its lookups do not ask whether it came.
  EXPECT_EQ(cs.this_top.practice[0], "");
  EXPECT_EQ(cs.this_top.practice[practice::Name], "v");
  EXPECT_EQ(cs.this_top.subscriber[subscriber::LastName], "v");
  for (const Record& e : cs.this_top.ext) EXPECT_EQ(e.m, std::vector<std::string>(2));
  std::string value;
  EXPECT_FALSE(LookUpExtDataThis(cs, 1, "v", value));
  for (const RecordType& r : RecordTypes()) {
    if (r.role != RecordRole::kGroup) continue;
    const Record& rec = r.slot.group(cs.this_group);
    EXPECT_EQ(rec.m, std::vector<std::string>(rec.m.size())) << r.code;
  }
  EXPECT_NE(cs.this_group.custom_forms.get(), forms);
  EXPECT_EQ(CountOf(ReadFile(dir.path() / "run.log"),
                    ">> ClearReferralStruct()   Referral is now empty"), 1);
}

}  // namespace
}  // namespace ub04::test
