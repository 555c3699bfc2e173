// The diagnosis code-set choice and the ICD-10 readiness date.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "refdata/readiness.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Batch;

// A charge record with the given ICD-9 and ICD-10 codes (slots 1 to 5).
Record ChargeWith(std::vector<std::string> icd9, std::vector<std::string> icd10,
                  const std::string& service_date = "01152024") {
  Record c(&kChargeLayout);
  for (size_t k = 0; k < icd9.size(); ++k) {
    c[charge::Icd9Code1 + 3 * k] = icd9[k];
    c[charge::Icd9Companion1 + 3 * k] = icd9[k].empty() ? "" : "c9-" + icd9[k];
  }
  for (size_t k = 0; k < icd10.size(); ++k) {
    c[charge::Icd10Code1 + 2 * k] = icd10[k];
    c[charge::Icd10Companion1 + 2 * k] = "c10-" + icd10[k];
  }
  c[charge::Icd10Extra] = "X6";
  c[charge::ServiceDate] = service_date;
  return c;
}

void AddRow(const char* type, const char* code, Date d) {
  Rs().ref.readiness.push_back({type, code, d});
}

TEST(DiagnosisCodeSet, OneSetNeedsNoDate) {
  Batch b;
  Record only9 = ChargeWith({"250.0", "401.9"}, {});
  ChooseDiagnosisCodeSet(only9);
  EXPECT_EQ(only9[charge::DiagnosisCodeSet], "9");
  EXPECT_EQ(only9[charge::Diagnosis2], "401.9");
  EXPECT_EQ(only9[charge::Diagnosis2Companion], "c9-401.9");
  EXPECT_EQ(only9[charge::Diagnosis6], "");

  Record only10 = ChargeWith({}, {"E11.9", " "}, "not a date");
  ChooseDiagnosisCodeSet(only10);
  EXPECT_EQ(only10[charge::DiagnosisCodeSet], "10");
  EXPECT_EQ(only10[charge::Diagnosis1], "E11.9");
  EXPECT_EQ(only10[charge::Diagnosis1Companion], "c10-E11.9");
  EXPECT_EQ(only10[charge::Diagnosis6], "X6");
  EXPECT_TRUE(b.Logged(">> Diags:  Didn't Have ICD10s"));
  EXPECT_TRUE(b.Logged(">> Diags:  Diags:  Didn't Have ICD9s"));
  EXPECT_EQ(Rs().ref.icd10_ready_ins_code, "?");  // no lookup made
}

TEST(DiagnosisCodeSet, BothSetsFollowTheStandardDate) {
  Batch b;
  struct Case {
    const char *date, *set;
  };
  for (Case c : {Case{"09302014", "9"}, Case{"10012014", "10"}}) {
    Record ch = ChargeWith({"250.0"}, {"E11.9"}, c.date);
    ChooseDiagnosisCodeSet(ch);
    EXPECT_EQ(ch[charge::DiagnosisCodeSet], c.set) << c.date;
  }
  EXPECT_TRUE(b.Logged("got ICD10 readydate from global icd10 date"));
  EXPECT_TRUE(b.Logged("ICD10 lookup: (same insurance as last charge)"));
  EXPECT_TRUE(b.Logged(">> MostCurrent_ICD10 Readiness Date figured is: 10/1/2014"));

  // Neither set: decided by the date too.
  Record none = ChargeWith({}, {}, "10012014");
  ChooseDiagnosisCodeSet(none);
  EXPECT_EQ(none[charge::DiagnosisCodeSet], "10");
}

TEST(DiagnosisCodeSet, Icd9GapsClose) {
  Batch b;
  Record ch = ChargeWith({"", "B", "", "", "E"}, {});
  ch[charge::Field30] = "third2";
  ch[charge::Field109 + 1] = "slot2-109";
  ch[charge::Field42] = "units";
  ch[charge::Field109 + 4] = "slot5-113";
  ChooseDiagnosisCodeSet(ch);
  EXPECT_EQ(ch[charge::Icd9Code1], "B");
  EXPECT_EQ(ch[charge::Icd9Companion1], "c9-B");
  EXPECT_EQ(ch[charge::Field27], "third2");
  EXPECT_EQ(ch[charge::Field109], "slot2-109");
  EXPECT_EQ(ch[charge::Icd9Code2], "E");
  EXPECT_EQ(ch[charge::Field109 + 1], "slot5-113");
  EXPECT_EQ(ch[charge::Icd9Code5], "");
  EXPECT_EQ(ch[charge::Field109 + 4], "");
  EXPECT_EQ(ch[charge::Field42], "units");  // never moves
  EXPECT_EQ(ch[charge::Diagnosis1], "B");
  EXPECT_EQ(ch[charge::Diagnosis2], "E");
}

TEST(ReadinessDate, InsuranceThenPayerOrganizationThenStandard) {
  Batch b;
  AddRow("1", "SYSTEM", DateFromYmd(2015, 1, 1));
  AddRow("2", "SK", DateFromYmd(2015, 2, 1));
  AddRow("2", "SKN", DateFromYmd(2015, 3, 1));  // a later match overrides
  AddRow("3", "INS1", DateFromYmd(2015, 4, 1));
  AddRow("", "", DateFromYmd(2000, 1, 1));      // ends the table
  AddRow("3", "INS2", DateFromYmd(2016, 1, 1));

  FetchInsICD10ReadyDate("SKNY0", "INS1");
  EXPECT_EQ(Rs().ref.icd10_ready_date, DateFromYmd(2015, 4, 1));
  FetchInsICD10ReadyDate("SKNY0", "OTHER");
  EXPECT_EQ(Rs().ref.icd10_ready_date, DateFromYmd(2015, 3, 1));
  EXPECT_TRUE(b.Logged("got ICD10 readydate from PayorOrg record"));
  FetchInsICD10ReadyDate("S", "INS2");
  EXPECT_EQ(Rs().ref.icd10_ready_date, DateFromYmd(2015, 1, 1));
  EXPECT_TRUE(b.Logged("PayorOrg, InsIHCode: S,INS2"));
  EXPECT_TRUE(b.Logged(" >> ICD10 Readiness Dates   ICD10Ready_PayorOrgDate: 1/1/1900"));

  // The insurance of the charge is the current insurance record.
  ASSERT_EQ(b.Send("3000", test::RecordText(kInsuranceLayout, 37)
                               .Set(insurance::IhCode, "INS1")
                               .Set(insurance::AlternatePayerId, "SKNY0")),
            0);
  Record ch = ChargeWith({"250.0"}, {"E11.9"}, "03312015");
  ChooseDiagnosisCodeSet(ch);
  EXPECT_EQ(ch[charge::DiagnosisCodeSet], "9");
  EXPECT_EQ(Rs().ref.icd10_ready_ins_code, "INS1");
}

}  // namespace
}  // namespace ub04
