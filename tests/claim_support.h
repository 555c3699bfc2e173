// Batches for the claim-assembly tests: records by member name, charges sent
// with their companions and closed, and the claims they ended up in, read
// from the detail lines after every end of charge (a new claim starts with
// line 1).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/records_support.h"

namespace ub04::test {

// A record with just its mandatory tokens, "v<k>" in each.
inline RecordText TopText(const std::string& type) {
  static const std::map<std::string, std::pair<const RecordLayout*, size_t>> kTypes = {
      {"1000", {&kPracticeLayout, 21}},  {"1050", {&kSubmitterLayout, 30}},
      {"2000", {&kBProviderLayout, 33}}, {"3000", {&kInsuranceLayout, 33}},
      {"3100", {&kCalcPrefLayout, 12}},  {"3101", {&kBreakPrefLayout, 25}},
      {"4000", {&kPatientLayout, 50}},   {"5000", {&kSubscriberLayout, 65}},
      {"6100", {&kSProviderLayout, 32}}, {"6120", {&kReferralLayout, 38}},
      {"6200", {&kFacilityLayout, 18}},  {"6310", {&kOInsuranceLayout, 78}},
      {"6340", {&kOInsuranceLayout, 78}}};
  const auto& [layout, count] = kTypes.at(type);
  RecordText t(*layout, count);
  if (type == "6120") t.Token(37, "1");  // the referral's gate
  return t;
}

// A visit of 15 January 2024 with one ICD-9 diagnosis, every other token
// empty; 102 tokens is the shortest charge, 140 reaches the ICD-10 codes.
inline RecordText ChargeText(size_t tokens = 102) {
  RecordText t(kChargeLayout, tokens);
  t.Blank().Set(charge::ProcedureCode, "99213").Set(charge::Field07, "VISIT");
  t.Set(charge::Icd9Code1, "A01").Set(charge::ServiceDate, "01152024");
  t.Set(charge::Field55, "01152024").Token(tokens - 1, "0");  // a last "" is no token
  return t;
}

struct ClaimBatch : Batch {
  // Break preferences with the given switches "1", the others "0".
  explicit ClaimBatch(const std::vector<size_t>& switches_on = {}) {
    RecordText prefs = TopText("3101");
    for (size_t m = break_pref::BreakOnInsurances; m <= break_pref::BreakOnEachCharge; ++m)
      prefs.Set(m, "0");
    for (size_t m : switches_on) prefs.Set(m, "1");
    EXPECT_EQ(Send("3101", prefs), 0);
  }

  // One charge: its record, its companions (type, record text), its end.
  void Charge(const RecordText& charge,
              const std::vector<std::pair<std::string, std::string>>& companions = {}) {
    EXPECT_EQ(Send("6000", charge), 0) << ::testing::PrintToString(Msgs());
    for (const auto& [type, text] : companions) EXPECT_EQ(Send(type, text), 0) << type;
    EXPECT_EQ(Send("6990", ""), 0) << ::testing::PrintToString(Msgs());
    int lines = 0;
    for (const DetailEntry& d : fc.tables().detail) lines += d.used == "Y";
    if (lines == 1)
      claims.push_back(1);
    else
      claims.back() = lines;
  }

  // How often the run log holds the line text; with end "", lines starting so.
  int Count(const std::string& text, const char* end = "\"\r\n") const {
    const std::string log = Log(), line = "\"" + text + end;
    int n = 0;
    for (size_t p = log.find(line); p != std::string::npos; p = log.find(line, p + 1)) ++n;
    return n;
  }

  std::vector<int> claims;  // lines per claim, in order
};

}  // namespace ub04::test
