// Payer flags and the "BP:" split.
#include <gtest/gtest.h>

#include <set>

#include "records/layouts.h"
#include "records/payer_rules.h"

namespace ub04 {
namespace {

TEST(PayerRules, EachIdentifierSetsOnlyItsOwnFlag) {
  Record ins(&kInsuranceLayout);
  for (auto [id, flag] : {std::pair{"12X19", insurance_flag::IsPayer12B38},
                          {"SB570", insurance_flag::IsPayer12B76},
                          {"12881", insurance_flag::IsPayerCB865},
                          {"SKVT0", insurance_flag::IsPayerSKVT0}}) {
    ins[insurance::PayerId] = id;
    SetPayerFlags(ins);
    for (size_t f = 0; f < insurance_flag::kFlagCount; ++f)
      EXPECT_EQ(ins.flags[f], f == flag) << id << " flag " << kPayerRules[f].flag;
  }
  // Exact matches only: no prefixes, no case folding, no empty identifier.
  for (const char* id : {"", "12X1", "12X199", "skvt0", "12X19 "}) {
    ins[insurance::PayerId] = id;
    SetPayerFlags(ins);
    EXPECT_EQ(std::set<bool>(ins.flags.begin(), ins.flags.end()), std::set<bool>{false}) << id;
  }
}

TEST(PayerRules, BpPrefix) {
  Record c(&kChargeLayout);
  c[charge::Field07] = "BP:";
  c[charge::Field126] = "PROC";
  TakeBPPrefix(c);
  EXPECT_EQ(c[charge::BpValue], "");
  EXPECT_EQ(c[charge::Field07], "PROC");
  EXPECT_EQ(c[charge::Field126], "");

  c[charge::Field07] = "bp:X";
  c[charge::Field126] = "PROC";
  TakeBPPrefix(c);
  EXPECT_EQ(c[charge::Field07], "bp:X");
  EXPECT_EQ(c[charge::Field126], "PROC");
}

}  // namespace
}  // namespace ub04
