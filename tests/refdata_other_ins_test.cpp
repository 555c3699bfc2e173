// Other-insurance billing IDs: the per-practice cache, its wildcard and
// default identifier, growth, and the Insurance_Override precedence.
#include <gtest/gtest.h>

#include "refdata/refdata.h"
#include "tests/refdata_support.h"

namespace ub04 {
namespace {

using test::RefHarness;

constexpr const char* kRows =
    "INSERT INTO PRACTICE VALUES ('P1', 1);"
    "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'I1', 'F1', 'OLD~1', '2015-01-01');"
    "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'I1', 'F1', 'NEW~2', '2016-01-01');"
    "INSERT INTO Insurance_Override VALUES (1609, 'P1', '*', 'I2', '*', 'ANYFORM', '2015-01-01');"
    "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'O''B', 'F1', 'QUOTED', '');"
    "INSERT INTO Insurance_Override VALUES (1609, 'P2', 'P2', 'I3', 'F1', 'OTHER', '');"
    "INSERT INTO Insurance_Override VALUES (1608, 'P1', 'P1', 'I3', 'F1', 'KIND', '');";

TEST(OtherInsIds, ExactKeysAndLatestActivationWinOverTheDefault) {
  RefHarness h(kRows);
  ClearOtherInsIDArrays("P1", "F1", "DEF");  // no database: only remembered
  EXPECT_EQ(Rs().ref.other_ins_practice, "P1");
  EXPECT_TRUE(Rs().ref.other_ins.empty());

  ASSERT_EQ(h.Connect(), 0);
  ClearOtherInsIDArrays("P1", "F1", "DEF");
  EXPECT_EQ(Rs().ref.other_ins[0].key, "*");
  EXPECT_EQ(Rs().ref.other_ins[0].value, "DEF");  // no "*" row
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I1"), "NEW");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I2"), "ANYFORM");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("O'B"), "QUOTED");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I3"), "DEF");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I1' OR '1'='1"), "DEF");
  test::ExecSql(h.db, "DELETE FROM Insurance_Override;");
  EXPECT_EQ(FetchOInsPracticeBillingIDFromArray("I1"), "NEW");  // from the cache
  EXPECT_TRUE(test::Messages(h.fc).empty());
}

TEST(OtherInsIds, WildcardRowFillsSlotOneAndTheCacheGrows) {
  RefHarness h(
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO Insurance_Override VALUES (1609, '*', '*', '*', '*', 'W1~W2', '');"
      "INSERT INTO Insurance_Override VALUES (1609, 'P1', 'P1', 'X7', 'F1', 'SEVEN', '');");
  ASSERT_EQ(h.Connect(), 0);
  ClearOtherInsIDArrays("P1", "F1", "DEF");
  for (int k = 1; k <= 25; ++k) FetchOInsPracticeBillingIDFromArray("X" + std::to_string(k));
  const auto& slots = Rs().ref.other_ins;
  ASSERT_EQ(slots.size(), 40u);
  EXPECT_EQ(slots[0].value, "W1");
  EXPECT_EQ(slots[7].value, "SEVEN");
  EXPECT_EQ(slots[8].value, "W1");
  EXPECT_EQ(slots[25].key, "X25");
  EXPECT_EQ(slots[26].key, "");

  // The next practice starts from an emptied cache of the same size.
  test::ExecSql(h.db, "DELETE FROM Insurance_Override;");
  ClearOtherInsIDArrays("P2", "F1", "DEF2");
  ASSERT_EQ(slots.size(), 40u);
  EXPECT_EQ(slots[0].value, "DEF2");
  EXPECT_EQ(slots[1].key, "");
}

TEST(OtherInsIds, MissingTableIsReportedAndTheDefaultStands) {
  RefHarness h("INSERT INTO PRACTICE VALUES ('P1', 1); DROP TABLE Insurance_Override;");
  ASSERT_EQ(h.Connect(), 0);
  ClearOtherInsIDArrays("P1", "F1", "DEF");
  EXPECT_EQ(test::Messages(h.fc),
            std::vector<std::string>{
                " 3//QVR_UB04PPA_Format.Dll FetchOInsPracticeBillingIDFromDB    Error: 1 no such "
                "table: KRV_TABLES.Insurance_Override//"});
  EXPECT_EQ(Rs().ref.other_ins[0].value, "DEF");
}

}  // namespace
}  // namespace ub04
