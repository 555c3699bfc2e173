// The diagnosis code-set choice and the ICD-10 readiness date.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "refdata/readiness.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Batch;

// A charge with ICD-9 and ICD-10 codes (slots 1 to 5); companions "c-" code.
Record ChargeWith(std::vector<std::string> icd9, std::vector<std::string> icd10,
                  const std::string& service_date) {
  Record c(&kChargeLayout);
  for (size_t k = 0; k < icd9.size(); ++k) {
    c[charge::Icd9Code1 + 3 * k] = icd9[k];
    c[charge::Icd9Companion1 + 3 * k] = icd9[k].empty() ? "" : "c-" + icd9[k];
  }
  for (size_t k = 0; k < icd10.size(); ++k) {
    c[charge::Icd10Code1 + 2 * k] = icd10[k];
    c[charge::Icd10Companion1 + 2 * k] = "c-" + icd10[k];
  }
  c[charge::Icd10Extra] = "X6";
  c[charge::ServiceDate] = service_date;
  ChooseDiagnosisCodeSet(c);
  return c;
}

TEST(DiagnosisCodeSet, OneSetNeedsNoDate) {
  Batch b;
  Record only9 = ChargeWith({"250.0", "401.9"}, {}, "not a date");
  EXPECT_EQ(only9[charge::DiagnosisCodeSet], "9");
  EXPECT_EQ(only9[charge::Diagnosis2Companion], "c-401.9");
  EXPECT_EQ(only9[charge::Diagnosis6], "");
  Record only10 = ChargeWith({" "}, {"E11.9"}, "not a date");
  EXPECT_EQ(only10[charge::DiagnosisCodeSet], "10");
  EXPECT_EQ(only10[charge::Diagnosis1Companion], "c-E11.9");
  EXPECT_EQ(only10[charge::Diagnosis6], "X6");
  EXPECT_TRUE(b.Logged(">> Diags:  Didn't Have ICD10s"));
  EXPECT_TRUE(b.Logged(">> Diags:  Diags:  Didn't Have ICD9s"));
  EXPECT_EQ(Rs().ref.icd10_ready_ins_code, "?");  // no lookup made
}

TEST(DiagnosisCodeSet, BothOrNeitherFollowTheStandardDate) {
  Batch b;
  EXPECT_EQ(ChargeWith({"250.0"}, {"E11.9"}, "09302014")[charge::DiagnosisCodeSet], "9");
  EXPECT_EQ(ChargeWith({"250.0"}, {"E11.9"}, "10012014")[charge::DiagnosisCodeSet], "10");
  EXPECT_EQ(ChargeWith({}, {}, "10012014")[charge::DiagnosisCodeSet], "10");
  EXPECT_TRUE(b.Logged("got ICD10 readydate from global icd10 date"));
  EXPECT_TRUE(b.Logged("ICD10 lookup: (same insurance as last charge)"));
  EXPECT_TRUE(b.Logged(">> MostCurrent_ICD10 Readiness Date figured is: 10/1/2014"));
}

// A slot moves with its four tokens (27 + 3(k - 1) to 29 + 3(k - 1) and
// 108 + k); token 42, the units, stays.
TEST(DiagnosisCodeSet, Icd9GapsClose) {
  Record c(&kChargeLayout);
  c[charge::Icd9Code2] = "B";
  c[charge::Field30] = "third2";
  c[charge::Field109 + 1] = "slot2";
  c[charge::Icd9Code5] = "E";
  c[charge::Field109 + 4] = "slot5";
  c[charge::Field42] = "units";
  ChooseDiagnosisCodeSet(c);
  EXPECT_EQ(c[charge::Icd9Code1], "B");
  EXPECT_EQ(c[charge::Field27], "third2");
  EXPECT_EQ(c[charge::Field109], "slot2");
  EXPECT_EQ(c[charge::Icd9Code2], "E");
  EXPECT_EQ(c[charge::Field109 + 1], "slot5");
  EXPECT_EQ(c[charge::Icd9Code5], "");
  EXPECT_EQ(c[charge::Field109 + 4], "");
  EXPECT_EQ(c[charge::Field42], "units");
  EXPECT_EQ(c[charge::Diagnosis2], "E");
}

TEST(ReadinessDate, InsuranceThenPayerOrganizationThenStandard) {
  Batch b;
  auto& rows = Rs().ref.readiness;
  rows = {{"1", "SYSTEM", DateFromYmd(2015, 1, 1)}, {"2", "SK", DateFromYmd(2015, 2, 1)},
          {"2", "SKN", DateFromYmd(2015, 3, 1)},    {"3", "INS1", DateFromYmd(2015, 4, 1)},
          {"", "", DateFromYmd(2000, 1, 1)},        {"3", "INS2", DateFromYmd(2016, 1, 1)}};
  FetchInsICD10ReadyDate("SKNY0", "OTHER");
  EXPECT_EQ(Rs().ref.icd10_ready_date, DateFromYmd(2015, 3, 1));  // the later prefix match
  EXPECT_TRUE(b.Logged("got ICD10 readydate from PayorOrg record"));
  FetchInsICD10ReadyDate("S", "INS2");  // beyond the end of the table
  EXPECT_EQ(Rs().ref.icd10_ready_date, DateFromYmd(2015, 1, 1));
  EXPECT_TRUE(b.Logged("PayorOrg, InsIHCode: S,INS2"));
  EXPECT_TRUE(b.Logged(" >> ICD10 Readiness Dates   ICD10Ready_PayorOrgDate: 1/1/1900"));

  // A charge asks for the current insurance record's code and payer organization.
  ASSERT_EQ(b.Send("3000", test::RecordText(kInsuranceLayout, 37)
                               .Set(insurance::IhCode, "INS1")
                               .Set(insurance::AlternatePayerId, "SKNY0")),
            0);
  EXPECT_EQ(ChargeWith({"250.0"}, {"E11.9"}, "03312015")[charge::DiagnosisCodeSet], "9");
  EXPECT_EQ(Rs().ref.icd10_ready_date, DateFromYmd(2015, 4, 1));
}

}  // namespace
}  // namespace ub04
