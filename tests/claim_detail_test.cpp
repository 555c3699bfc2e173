// Detail lines, the claim totals and the diagnosis table.
#include <gtest/gtest.h>

#include <tuple>

#include "claim/detail_lines.h"
#include "claim/diagnosis_table.h"
#include "tests/claim_support.h"

namespace ub04::test {
namespace {


Currency Amount(const char* text) { return Currency::FromText(text); }

std::string OtherInsurance(const char* allowed, const char* paid, const char* write_off) {
  return TopText("6310")
      .Set(oinsurance::Field21, allowed)
      .Set(oinsurance::Field22, paid)
      .Set(oinsurance::Field23, write_off)
      .str();
}

TEST(DetailLines, LineCarriesTheChargeAndAddsItsOtherInsurances) {
  ClaimBatch b;
  b.Send("3000", TopText("3000").Set(insurance::ProviderIdForPayer, "PRV1/X"));
  RecordText c = ChargeText(150);
  c.Set(charge::Field07, "OFFICE VISIT").Set(charge::PosCode, "11").Set(charge::TosCode, "1");
  for (size_t m : {charge::Modifier1, charge::Modifier2, charge::Modifier3, charge::Modifier4})
    c.Set(m, "M" + std::to_string(m));
  c.Set(charge::ExtraModifiers, " 59 76 ").Set(charge::Icd9Code2, "B02");
  c.Set(charge::Field42, "2").Set(charge::Field43, "150.00").Set(charge::Field44, "7");
  c.Set(charge::Field64, "100").Set(charge::Field65, "60.5").Set(charge::Field66, "1.25abc");
  c.Set(charge::Field67, "3").Set(charge::Field68, "4").Set(charge::Field75, "T75");
  c.Set(charge::Field76, "T76").Set(charge::CodeList, "C1").Set(charge::Narrative, "NOTE");
  c.Set(charge::RevenueCode, "450");
  b.Charge(c, {{"6022", "X//20015//ABC"},
               {"6310", OtherInsurance("10", "5.25", "")},
               {"6320", OtherInsurance("1", "", "2")}});
  b.Charge(ChargeText().Set(charge::Field64, "9").Set(charge::Field65, "8").Set(charge::Field66, "7"));

  const DetailEntry& e = b.fc.tables().detail[0];
  EXPECT_EQ(e.used + e.from_date + e.to_date + e.pos_code + e.tos_code, "Y0115202401152024111");
  EXPECT_EQ(e.procedure_code + "|" + e.description + "|" + e.line_provider_id + "|" + e.text76 +
                e.text75 + e.narrative + e.code_text + e.revenue_code + "|" + e.revenue_rate +
                "|" + e.ext_20015,
            "99213|OFFICE VISIT|PRV1|T76T75NOTE~~C1~~0450||ABC");
  EXPECT_EQ(e.modifiers, (std::array<std::string, 4>{"M13", "M16", "M19", "M119"}));
  EXPECT_EQ(e.extra_codes, (std::array<std::string, 3>{"59", "76", ""}));
  EXPECT_EQ(e.diagnosis_codes, (std::array<std::string, 5>{"A01", "B02", "", "", ""}));
  EXPECT_EQ(e.diagnosis_pointers, (std::array<int16_t, 5>{1, 2, 0, 0, 0}));
  const Currency kAmounts[] = {e.charge_amount,    e.second_amount,     e.allowed_amount,
                               e.paid_amount,      e.write_off_amount,  e.adjustment_amount,
                               e.fifth_amount};
  const char* kExpected[] = {"150", "7", "111", "65.75", "3.25", "3", "4"};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(kAmounts[i], Amount(kExpected[i])) << i;
  EXPECT_EQ(e.units, 2.0f);
  EXPECT_TRUE(b.Logged("Dealwithlastgroup  Insloop  index =  4"));
  EXPECT_TRUE(b.Logged("    Total Ins Paid =  65.75"));

  // Without other insurances a line keeps its own amounts.
  const DetailEntry& own = b.fc.tables().detail[1];
  EXPECT_EQ(own.allowed_amount + own.paid_amount + own.write_off_amount, Amount("24"));
  const PageTotals& t = b.fc.tables().totals;
  EXPECT_EQ(t.TotalInsPaid, Amount("73.75"));
  EXPECT_EQ(t.TotalInsWriteOff, Amount("10.25"));
  EXPECT_EQ(t.TotalLineAdjust, Amount("3"));
  EXPECT_EQ(t.ClaimCodeList, "~~C1~~~~~~");
}

TEST(DetailLines, DrugDescriptionRemarksAndStatementPeriod) {
  ClaimBatch b;
  const char* kDates[] = {"12312023", "01022024", "12302023", ""};
  const char* kQuantities[] = {"12)", "", "", ""};
  const char* kNotes[] = {"", "FIRST", "SECOND", ""};
  for (int i = 0; i < 4; ++i)
    b.Charge(ChargeText(126)
                 .Set(charge::NdcCode, i < 2 ? "12345678901" : "")
                 .Set(charge::NdcUnit, "UN")
                 .Set(charge::NdcQuantity, kQuantities[i])
                 .Set(charge::ServiceDate, kDates[i])
                 .Set(charge::Field55, kDates[i])
                 .Set(charge::Narrative, kNotes[i]));
  const auto& d = b.fc.tables().detail;
  EXPECT_EQ(d[0].description + "|" + d[1].description + "|" + d[2].description,
            "N412345678901UN12|N412345678901UN|VISIT");
  const PageTotals& t = b.fc.tables().totals;
  EXPECT_EQ(t.ClaimRemarks, "FIRST");
  // Across the year end, in any order; an undated line has no say.
  EXPECT_EQ(t.StatementFromDate + "-" + t.StatementThroughDate, "20231230-20240102");
}

TEST(DetailLines, LineProviderIdFollowsTheBillingPreference) {
  // rule, servicing provider sent, line provider ID
  for (auto [rule, servicing, id] : {std::tuple{"0", true, ""}, {"2", true, "SP9"},
                                     {"2", false, "PRV1"}, {"1", true, "PRV1"}}) {
    ClaimBatch b;
    b.Send("3000", TopText("3000").Set(insurance::ProviderIdForPayer, "PRV1"));
    b.Send("3100", TopText("3100").Set(calc_pref::Field07, rule));
    if (servicing)
      b.Charge(ChargeText(), {{"6100", TopText("6100").Set(sprovider::OtherId, "SP9").str()}});
    else
      b.Charge(ChargeText());
    EXPECT_EQ(b.fc.tables().detail[0].line_provider_id, id) << rule << servicing;
  }
}

TEST(DetailLines, RevenueCodeSplitsAtTheLastSlashAndLosesItsSlashes) {
  std::string rev, rate, code = "A/0450/125.00";
  SplitRevenueCode(code, rev, rate);
  EXPECT_EQ(rev + "|" + rate + "|" + code, "A 0450|125.00|A 0450 125.00");
  code = " 0450 ";
  SplitRevenueCode(code, rev, rate);
  EXPECT_EQ(rev + "|" + rate, "0450|");
}

void SetCodes(Record& charge, const std::vector<std::string>& codes) {
  for (size_t k = 0; k < codes.size(); ++k) charge[charge::Diagnosis1 + 2 * k] = codes[k];
}

TEST(DiagnosisTable, NewCodesMustFitAndAreStoredOnce) {
  Format_Class fc;  // an 18-entry table, five diagnoses per charge
  auto& diag = Rs().claim.diag;
  for (int i = 0; i < 14; ++i) diag[static_cast<size_t>(i)].code = "T" + std::to_string(i);
  auto overflows = [](const std::vector<std::string>& codes, int16_t per_charge = 5) {
    SetCodes(Rs().claim.this_group.charge, codes);
    return DoesDiagnosisCauseOverflow(per_charge);
  };
  EXPECT_TRUE(overflows({"N1", "N2", "N3", "N4", "N5"}));  // 5 new, 4 free
  EXPECT_FALSE(overflows({"N1", "T2", "N3", "N4", "N5"}));
  EXPECT_TRUE(overflows({"N1", "N1", "N2", "N3", "N4"}));  // a repeat counts twice
  EXPECT_FALSE(overflows({"N1", "N2", "N3", "N4", "N5"}, 4));
  EXPECT_TRUE(overflows({"N1", "N2", "N3", "N4", "t0"}));  // letter case matters

  Record& last = Rs().claim.last_group.charge;
  SetCodes(last, {"N1", "T1", "N1", "N2", "N5"});
  last[charge::Diagnosis1Companion] = "C1";
  int16_t four = 4;
  ASSERT_EQ(AddToDiagnosisArray(four), 0);
  EXPECT_EQ(diag[14].code + diag[14].companion + diag[15].code + diag[16].code, "N1C1N2");
  EXPECT_EQ(GetIndexForDiagnosis("N2"), 16);
  EXPECT_EQ(GetIndexForDiagnosis(""), 0);
  int16_t unset = 0;
  AddToDiagnosisArray(unset);  // now five per charge: N5 comes in
  EXPECT_EQ(unset, 5);
  EXPECT_EQ(GetIndexForDiagnosis("N5"), 17);
}

}  // namespace
}  // namespace ub04::test
