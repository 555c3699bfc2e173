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

// A batch with a practice and a charge sent.
struct ChargeBatch : Batch {
  ChargeBatch() {
    RecordText c(kChargeLayout, 102);
    c.Set(charge::RevenueCode, "450/7").Set(charge::ExtraModifiers, "");
    Send("6000", c);
  }
  ChargeGroup& group() { return claim().this_group; }
};

RecordText OInsText(size_t count = 78) {
  RecordText t(kOInsuranceLayout, count);
  t.Set(oinsurance::AdjustmentCodes, "").Set(oinsurance::FollowMarker, "");
  return t;
}

TEST(ProviderRecords, GateTokens) {
  struct Case {
    const char* type;
    const RecordLayout& layout;
    Record ChargeGroup::*slot;
    size_t gate, tokens;
  };
  for (const Case& c : {Case{"6110", kOProviderLayout, &ChargeGroup::oprovider, oprovider::Gate, 41},
                        Case{"6120", kReferralLayout, &ChargeGroup::referral, referral::Gate, 39},
                        Case{"6130", kOReferralLayout, &ChargeGroup::oreferral, oreferral::Gate, 41}}) {
    for (const char* gate : {"0", "", "Y", "1"}) {
      ChargeBatch b;
      ASSERT_EQ(b.Send(c.type, RecordText(c.layout, c.tokens).Token(c.gate, gate)), 0) << c.type;
      EXPECT_EQ((b.group().*c.slot).Present(), std::string(gate) == "1") << c.type << " gate " << gate;
    }
  }
}

TEST(ProviderRecords, BoundariesAndErrorTexts) {
  ChargeBatch b;
  EXPECT_EQ(b.Send("6120", RecordText(kReferralLayout, 37)), 1);  // no gate token
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseReferralRec() Error: ")});
  ASSERT_EQ(b.Send("6120", RecordText(kReferralLayout, 38).Token(referral::Gate, "1")), 0);
  for (size_t m = referral::Field38; m < referral::kMemberCount; ++m)
    EXPECT_EQ(b.group().referral[m], "") << m;
  EXPECT_EQ(b.Send("6120", RecordText(kReferralLayout, 41).Token(referral::Gate, "1")), 1);

  EXPECT_EQ(b.Send("6130", RecordText(kOReferralLayout, 39)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseOReferralRec()  Error: ")});
  EXPECT_EQ(b.Send("6110", RecordText(kOProviderLayout, 39)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseOProviderRec() Error: ")});

  EXPECT_EQ(b.Send("6100", RecordText(kSProviderLayout, 31)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseSProviderRec() Error: ")});
  EXPECT_EQ(b.Send("6100", RecordText(kSProviderLayout, 37)), 1);  // inside 36-45
}

TEST(ProviderRecords, FieldRulesAndGrid) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6100", RecordText(kSProviderLayout, 46)
                               .Set(sprovider::OtherId, "OID")
                               .Set(sprovider::SexCode, "")
                               .Set(sprovider::Upin, "U1")
                               .Set(sprovider::Npi, "NPI1")
                               .Set(sprovider::Country, "CANADA")
                               .Set(sprovider::FirstName, "Jo-Ann")),
            0);
  const Record& s = b.group().sprovider;
  EXPECT_EQ(s[sprovider::SexCode], "U");
  EXPECT_EQ(s[sprovider::SexDescription], "UNKNOWN");
  EXPECT_EQ(s[sprovider::Upin], "");
  EXPECT_EQ(s[sprovider::Npi], "NPI1");
  EXPECT_EQ(s[sprovider::Country], "CA");
  EXPECT_EQ(s[sprovider::FirstName], "J-A");
  EXPECT_TRUE(b.Logged("=== Servicing Provider Grid Values ==="));
  EXPECT_TRUE(b.Logged(GridLine("Field 01", "OID")));

  Rs().npi_cutover_date = Today() + 1;
  for (const char* type : {"6100", "6110"}) {
    const RecordLayout& l = type[2] == '0' ? kSProviderLayout : kOProviderLayout;
    size_t npi = type[2] == '0' ? size_t{sprovider::Npi} : size_t{oprovider::Npi};
    RecordText t(l, 46);
    t.Set(npi, "NPI2");
    if (type[2] == '1') t.Token(oprovider::Gate, "1");
    ASSERT_EQ(b.Send(type, t), 0);
    EXPECT_EQ((type[2] == '0' ? b.group().sprovider : b.group().oprovider)[npi], "") << type;
  }
}

TEST(FacilityRecord, Boundaries) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6200", RecordText(kFacilityLayout, 18)), 0);
  const Record& f = b.group().facility;
  for (size_t m = facility::Npi; m < facility::kMemberCount; ++m) EXPECT_EQ(f[m], "") << m;
  EXPECT_EQ(b.Send("6200", RecordText(kFacilityLayout, 20)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseFacilityRec() Error: ")});
  ASSERT_EQ(b.Send("6200", RecordText(kFacilityLayout, 31).Set(facility::Country, "USA")), 0);
  EXPECT_EQ(f[facility::Country], "");
  EXPECT_TRUE(b.Logged("=== Facility Grid Values ==="));
}

TEST(AmbulanceAndChiropractorRecords, BoundariesAndCleanUp) {
  ChargeBatch b;
  EXPECT_EQ(b.Send("6050", RecordText(kAmbulanceLayout, 25)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseAmbulanceRec() Error: ")});
  ASSERT_EQ(b.Send("6050", RecordText(kAmbulanceLayout, 36)
                               .Set(ambulance::Field29, "CANADA")
                               .Set(ambulance::Field14, "a#1")
                               .Set(ambulance::Field13, "a#1")),
            0);
  const Record& a = b.group().ambulance;
  EXPECT_EQ(a[ambulance::Field29], "CA");
  EXPECT_EQ(a[ambulance::Field14], "a#1");  // 14 is not cleaned
  EXPECT_EQ(a[ambulance::Field13], "1");

  EXPECT_EQ(b.Send("6060", RecordText(kChiropractorLayout, 17)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseChiropractorRec() Error: ")});
  ASSERT_EQ(b.Send("6060", RecordText(kChiropractorLayout, 18).Set(chiropractor::Field01, "x#Y")), 0);
  EXPECT_EQ(b.group().chiropractor[chiropractor::Field01], "Y");
}

TEST(OInsuranceRecord, Token10And11Mappings) {
  struct Case {
    const char *in, *field10;
  };
  for (Case c : {Case{"3", "1"}, Case{"2", "0"}, Case{"5", "5"}}) {
    ChargeBatch b;
    ASSERT_EQ(b.Send("6310", OInsText().Set(oinsurance::Field10, c.in)), 0);
    EXPECT_EQ(b.group().oins[0][oinsurance::Field10], c.field10) << c.in;
  }
  struct Case11 {
    const char *in, *field11, *mapped;
  };
  for (Case11 c : {Case11{"5", "1", "1"}, Case11{"4", "0", "1"}, Case11{"2", "2", "0"}}) {
    ChargeBatch b;
    ASSERT_EQ(b.Send("6320", OInsText().Set(oinsurance::Field11, c.in)), 0);
    const Record& o = b.group().oins[1];
    EXPECT_EQ(o[oinsurance::Field11], c.field11) << c.in;
    EXPECT_EQ(o[oinsurance::Field11Mapped], c.mapped) << c.in;
  }
}

TEST(OInsuranceRecord, FieldRulesAndBoundaries) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6340", OInsText()
                               .Set(oinsurance::PayerId, "")
                               .Set(oinsurance::AlternatePayerId, "ALT")
                               .Set(oinsurance::SexCode, "x")
                               .Set(oinsurance::Country, "2.0")
                               .Set(oinsurance::Field12, "t#12")
                               .Set(oinsurance::Field25, "t#25")
                               .Set(oinsurance::AdjustmentCodes,
                                    "PR|1|5|0|CO|45|10|1|CO|45|2.5|1")),
            0);
  const Record& o = b.group().oins[3];
  EXPECT_EQ(o[oinsurance::PayerId], "ALT");
  EXPECT_EQ(o[oinsurance::SexCode], "U");
  EXPECT_EQ(o[oinsurance::Country], "CA");
  EXPECT_EQ(o[oinsurance::Country2], "");
  EXPECT_EQ(o[oinsurance::Field12], "t#12");  // token 12 is not cleaned
  EXPECT_EQ(o[oinsurance::Field25], "25");
  EXPECT_EQ(o[oinsurance::AdjustmentCodes], "CO|45|12.5|2|PR|1|5|0");

  EXPECT_EQ(b.Send("6310", RecordText(kOInsuranceLayout, 77)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseOInsuranceRec() Error: ")});
  EXPECT_EQ(b.Send("6310", RecordText(kOInsuranceLayout, 80)), 1);  // inside 79-88
  ASSERT_EQ(b.Send("6310", OInsText(89).Token(78, "GERMANY")), 0);
  EXPECT_EQ(b.group().oins[0][oinsurance::Country2], "DE");
  EXPECT_EQ(b.group().oins[0][oinsurance::Field88], "v88");
}

TEST(OInsuranceRecord, FollowMarkAcrossTwoRecords) {
  ChargeBatch b;
  ASSERT_EQ(b.Send("6310", OInsText()), 0);
  EXPECT_FALSE(Rs().claim.this_followed);
  ASSERT_EQ(b.Send("6320", OInsText().Set(oinsurance::FollowMarker, "MCA")), 0);
  EXPECT_TRUE(Rs().claim.this_followed);
  EXPECT_EQ(Rs().claim.this_follow_key, "7");
  EXPECT_TRUE(b.Logged("ParseOIns  This-followed is now True"));

  RecordText c(kChargeLayout, 102);
  ASSERT_EQ(b.Send("6000", c.Set(charge::ExtraModifiers, "")), 0);
  EXPECT_FALSE(Rs().claim.this_followed);
  ASSERT_EQ(b.Send("6330", OInsText().Set(oinsurance::FollowMarker, "mca")), 0);
  EXPECT_FALSE(Rs().claim.this_followed);
}

}  // namespace
}  // namespace ub04
