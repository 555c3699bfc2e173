// The companion records of a charge through FormatRecord.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Batch;
using test::Error9;
using test::GridLine;
using test::RecordText;

// A batch with a practice and a charge (revenue code 450/7) sent.
struct ChargeBatch : Batch {
  ChargeBatch() { SendCharge(); }
  void SendCharge() {
    Send("6000", RecordText(kChargeLayout, 102)
                     .Set(charge::RevenueCode, "450/7")
                     .Set(charge::ExtraModifiers, ""));
  }
  ChargeGroup& group() { return claim().this_group; }
};

RecordText OInsText(size_t count = 78) {
  RecordText t(kOInsuranceLayout, count);
  t.Set(oinsurance::AdjustmentCodes, "").Set(oinsurance::FollowMarker, "");
  return t;
}

TEST(CompanionRecords, TokenCountBoundaries) {
  for (auto [type, layout, tokens, parses, error] :
       {std::tuple{"6050", &kAmbulanceLayout, 25, false, " ParseAmbulanceRec() Error: "},
        {"6050", &kAmbulanceLayout, 24, true, ""},
        {"6060", &kChiropractorLayout, 17, false, " ParseChiropractorRec() Error: "},
        {"6100", &kSProviderLayout, 31, false, " ParseSProviderRec() Error: "},
        {"6100", &kSProviderLayout, 37, false, " ParseSProviderRec() Error: "},
        {"6110", &kOProviderLayout, 39, false, " ParseOProviderRec() Error: "},
        {"6120", &kReferralLayout, 37, false, " ParseReferralRec() Error: "},
        {"6130", &kOReferralLayout, 39, false, " ParseOReferralRec()  Error: "},
        {"6200", &kFacilityLayout, 20, false, " ParseFacilityRec() Error: "},
        {"6310", &kOInsuranceLayout, 77, false, " ParseOInsuranceRec() Error: "},
        {"6310", &kOInsuranceLayout, 80, false, " ParseOInsuranceRec() Error: "}}) {
    ChargeBatch b;
    EXPECT_EQ(b.Send(type, RecordText(*layout, tokens)), parses ? 0 : 1) << type << " " << tokens;
    if (!parses) {
      EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(error)}) << type << " " << tokens;
    }
  }
}

TEST(ProviderRecords, GateTokens) {
  for (auto [type, layout, slot, gate_token, tokens] :
       {std::tuple{"6110", &kOProviderLayout, &ChargeGroup::oprovider, size_t{oprovider::Gate}, 41},
        {"6120", &kReferralLayout, &ChargeGroup::referral, size_t{referral::Gate}, 39},
        {"6130", &kOReferralLayout, &ChargeGroup::oreferral, size_t{oreferral::Gate}, 41}}) {
    for (const char* gate : {"0", "", "Y", "1"}) {
      ChargeBatch b;
      ASSERT_EQ(b.Send(type, RecordText(*layout, tokens).Token(gate_token, gate)), 0) << type;
      EXPECT_EQ((b.group().*slot).Present(), std::string(gate) == "1") << type << " " << gate;
    }
  }
  ChargeBatch b;
  ASSERT_EQ(b.Send("6120", RecordText(kReferralLayout, 38).Token(referral::Gate, "1")), 0);
  for (size_t m = referral::Field38; m < referral::kMemberCount; ++m)
    EXPECT_EQ(b.group().referral[m], "") << m;
}

TEST(ProviderRecords, FieldRulesAndGrid) {
  ChargeBatch b;
  const Record& s = b.group().sprovider;
  ASSERT_EQ(b.Send("6100", RecordText(kSProviderLayout, 46)
                               .Set(sprovider::OtherId, "OID")
                               .Set(sprovider::SexCode, "")
                               .Set(sprovider::Upin, "U1")
                               .Set(sprovider::Npi, "NPI1")
                               .Set(sprovider::Country, "CANADA")
                               .Set(sprovider::FirstName, "Jo-Ann")),
            0);
  EXPECT_EQ(s[sprovider::SexCode], "U");
  EXPECT_EQ(s[sprovider::SexDescription], "UNKNOWN");
  EXPECT_EQ(s[sprovider::Upin], "");
  EXPECT_EQ(s[sprovider::Npi], "NPI1");
  EXPECT_EQ(s[sprovider::Country], "CA");
  EXPECT_EQ(s[sprovider::FirstName], "J-A");
  EXPECT_TRUE(b.Logged("=== Servicing Provider Grid Values ==="));
  EXPECT_TRUE(b.Logged(GridLine("Field 01", "OID")));

  Rs().npi_cutover_date = Today() + 1;
  ASSERT_EQ(b.Send("6100", RecordText(kSProviderLayout, 35).Set(sprovider::Npi, "NPI2")), 0);
  EXPECT_EQ(s[sprovider::Npi], "");
  ASSERT_EQ(b.Send("6110", RecordText(kOProviderLayout, 42)
                               .Token(oprovider::Gate, "1")
                               .Set(oprovider::Npi, "NPI3")),
            0);
  EXPECT_EQ(b.group().oprovider[oprovider::Npi], "");
}

TEST(FacilityAndAmbulanceRecords, OptionalPartsAndCleanUp) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6200", RecordText(kFacilityLayout, 18).Set(facility::Field03, "a.B#")), 0);
  const Record& f = b.group().facility;
  EXPECT_EQ(f[facility::Field03], ".B");
  for (size_t m = facility::Npi; m < facility::kMemberCount; ++m) EXPECT_EQ(f[m], "") << m;
  EXPECT_TRUE(b.Logged("=== Facility Grid Values ==="));

  ASSERT_EQ(b.Send("6050", RecordText(kAmbulanceLayout, 36)
                               .Set(ambulance::Field29, "CANADA")
                               .Set(ambulance::Field14, "a#1")
                               .Set(ambulance::Field13, "a#1")),
            0);
  const Record& a = b.group().ambulance;
  EXPECT_EQ(a[ambulance::Field29], "CA");
  EXPECT_EQ(a[ambulance::Field14], "a#1");  // 14 is not cleaned
  EXPECT_EQ(a[ambulance::Field13], "1");
}

TEST(OInsuranceRecord, Token10And11Mappings) {
  for (auto [in, field10, field11, mapped] :
       {std::tuple{"3", "1", "3", "0"}, {"2", "0", "2", "0"}, {"5", "5", "1", "1"},
        {"4", "4", "0", "1"}}) {
    ChargeBatch b;
    ASSERT_EQ(b.Send("6320", OInsText().Set(oinsurance::Field10, in).Set(oinsurance::Field11, in)), 0);
    const Record& o = b.group().oins[1];
    EXPECT_EQ(o[oinsurance::Field10], field10) << in;
    EXPECT_EQ(o[oinsurance::Field11], field11) << in;
    EXPECT_EQ(o[oinsurance::Field11Mapped], mapped) << in;
  }
}

TEST(OInsuranceRecord, FieldRules) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6340", OInsText(89)
                               .Set(oinsurance::PayerId, "")
                               .Set(oinsurance::AlternatePayerId, "ALT")
                               .Set(oinsurance::SexCode, "x")
                               .Set(oinsurance::Country, "2.0")
                               .Set(oinsurance::Country2, "GERMANY")
                               .Set(oinsurance::Field12, "t#12")
                               .Set(oinsurance::Field25, "t#25")
                               .Set(oinsurance::AdjustmentCodes,
                                    "PR|1|5|0|CO|45|10|1|CO|45|2.5|1")),
            0);
  const Record& o = b.group().oins[3];
  EXPECT_EQ(o[oinsurance::PayerId], "ALT");
  EXPECT_EQ(o[oinsurance::SexCode], "U");
  EXPECT_EQ(o[oinsurance::Country], "CA");
  EXPECT_EQ(o[oinsurance::Country2], "DE");
  EXPECT_EQ(o[oinsurance::Field88], "v88");
  EXPECT_EQ(o[oinsurance::Field12], "t#12");  // token 12 is not cleaned
  EXPECT_EQ(o[oinsurance::Field25], "25");
  EXPECT_EQ(o[oinsurance::AdjustmentCodes], "CO|45|12.5|2|PR|1|5|0");
}

TEST(OInsuranceRecord, FollowMarkAcrossTwoRecords) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6310", OInsText()), 0);
  EXPECT_FALSE(Rs().claim.this_followed);
  ASSERT_EQ(b.Send("6320", OInsText().Set(oinsurance::FollowMarker, "MCA")), 0);
  EXPECT_TRUE(Rs().claim.this_followed);
  EXPECT_EQ(Rs().claim.this_follow_key, "7");
  EXPECT_TRUE(b.Logged("ParseOIns  This-followed is now True"));

  b.SendCharge();
  EXPECT_FALSE(Rs().claim.this_followed);
  EXPECT_EQ(Rs().claim.this_follow_key, "");
  EXPECT_TRUE(b.Logged("** ParseChargeRec  This-followed is now false"));
  ASSERT_EQ(b.Send("6330", OInsText().Set(oinsurance::FollowMarker, "mca")), 0);
  EXPECT_FALSE(Rs().claim.this_followed);
}

}  // namespace
}  // namespace ub04
