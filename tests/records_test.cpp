// Record texts through FormatRecord (token counts, parse errors, the trace of
// what was read, field rules on the page), and the record-type table the
// claim state is sized, emptied and cleared by: a slot it misses or names
// twice would go unsized or be cleared by the wrong rule.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "claim/claim_env.h"
#include "claim/ext_data.h"
#include "records/record_types.h"
#include "tests/test_support.h"

namespace ub04::test {
namespace {

// The queued error of a parser: " 3//" + component + text + " 9 ..." + "//".
std::string Error9(const std::string& text) {
  return " 3//QVR_UB04PPA_Format.Dll" + text + " 9 Subscript out of range//";
}

// A grid-dump line of the run log: label, value from column 25, 80 wide.
std::string GridLine(std::string label, const std::string& value) {
  label.resize(24, ' ');
  return (label + value).append(80 - 24 - value.size(), ' ');
}

struct Boundary {
  const char* type;
  size_t tokens;
  bool parses;
  const char* error;  // the parser's text in its message
};

TEST(Records, TokenCountBoundaries) {
  const char* kPractice = " ParsePracticeRec() Error: ";
  const char* kCharge = " ParseChargeRec() Error: ";
  const char* kOIns = " ParseOInsuranceRec() Error: ";
  const Boundary kCases[] = {
      {"1000", 20, false, kPractice}, {"1000", 21, true, ""}, {"1000", 26, true, ""},
      {"1000", 30, false, kPractice}, {"1000", 34, true, ""}, {"1000", 35, false, kPractice},
      {"1000", 60, true, ""},
      {"1050", 29, false, " ParseSubmitterRec() Error: "}, {"1050", 30, true, ""},
      {"1050", 34, false, " ParseSubmitterRec() Error: "}, {"1050", 35, true, ""},
      {"2000", 32, false, " ParseBProviderRec()   Error: "}, {"2000", 33, true, ""},
      {"2000", 37, false, " ParseBProviderRec()   Error: "}, {"2000", 44, true, ""},
      {"3000", 33, true, ""}, {"3000", 34, false, " ParseInsuranceRec()   Error: "},
      {"3000", 38, true, ""}, {"3000", 40, false, " ParseInsuranceRec()   Error: "},
      {"3000", 68, true, ""},
      {"3100", 11, false, " ParseCalcPrefRec()  Error: "}, {"3100", 12, true, ""},
      {"3101", 24, false, " ParseBreakPrefRec()   Error: "}, {"3101", 25, true, ""},
      {"4000", 50, true, ""}, {"4000", 52, false, " ParsePatientRec()  Error: "},
      {"4000", 53, true, ""},
      {"5000", 65, true, ""}, {"5000", 66, false, " ParseSubscriber()  Error: "},
      {"5000", 67, true, ""},
      // Optional parts from n = 102 on; the ICD-10 group is read only for
      // 129 <= n <= 179, so a record stopping inside it fails.
      {"6000", 101, false, kCharge}, {"6000", 102, true, ""}, {"6000", 104, false, kCharge},
      {"6000", 118, true, ""}, {"6000", 121, false, kCharge}, {"6000", 126, true, ""},
      {"6000", 127, false, kCharge}, {"6000", 129, true, ""}, {"6000", 139, false, kCharge},
      {"6000", 140, true, ""}, {"6000", 141, false, kCharge}, {"6000", 181, true, ""},
      {"6050", 24, true, ""}, {"6050", 25, false, " ParseAmbulanceRec() Error: "},
      {"6060", 17, false, " ParseChiropractorRec() Error: "},
      {"6100", 31, false, " ParseSProviderRec() Error: "},
      {"6100", 37, false, " ParseSProviderRec() Error: "},
      {"6110", 39, false, " ParseOProviderRec() Error: "},
      {"6120", 37, false, " ParseReferralRec() Error: "},
      {"6130", 39, false, " ParseOReferralRec()  Error: "},
      {"6200", 20, false, " ParseFacilityRec() Error: "},
      {"6310", 77, false, kOIns}, {"6310", 80, false, kOIns}, {"6340", 89, true, ""},
  };
  for (const Boundary& c : kCases) {
    Harness h;
    const std::string type = c.type;
    if (type != "1000") {
      ASSERT_EQ(h.Send("1000", PracticeRecord()), 0);
    }
    if (type[0] == '6' && type != "6000") {
      ASSERT_EQ(h.Send("6000", ChargeText()), 0);
    }
    Rec r(c.tokens);
    if (type == "6000") r.Set(charge::ServiceDate, "01152024");
    EXPECT_EQ(h.Send(c.type, r), c.parses ? 0 : 1) << c.type << " " << c.tokens;
    if (!c.parses) {
      std::vector<std::string> said = h.Msgs();
      ASSERT_FALSE(said.empty());
      EXPECT_EQ(said[0], Error9(c.error)) << type << " " << c.tokens;
      // A failed charge record also names itself, as it bills nothing.
      EXPECT_EQ(said.size(), type == "6000" ? 2u : 1u) << type << " " << c.tokens;
    }
  }
}

TEST(Records, GridDumpsTraceWhatWasRead) {
  Harness h;
  ASSERT_EQ(h.Send("1000", Rec(44)
                               .Set(practice::DefaultBillingId, "F16")
                               .Set(practice::GridField15, "LAST")),
            0);
  ASSERT_EQ(h.Send("2000", Rec(44).Set(bprovider::OtherId, "ABC / 12")), 0);
  ASSERT_EQ(h.Send("3000", Rec(68)
                               .Set(insurance::PayerId, "PID")
                               .Set(insurance::PracticeIdForPayer, "PRA")
                               .Set(insurance::PrvGridField15, "P15")),
            0);
  ASSERT_EQ(h.Send("6000", ChargeText()), 0);
  ASSERT_EQ(h.Send("6100", Rec(46).Set(sprovider::OtherId, "OID")), 0);
  ASSERT_EQ(h.Send("6320", TopText("6320").Set(oinsurance::FollowMarker, "MCA")), 0);
  ASSERT_EQ(h.Send("6000", ChargeText()), 0);
  const std::string& log = h.Log();
  EXPECT_NE(log.find("\"ParsePracticeRec\"\r\n\"\"\r\n\"=== Practice Grid Values ===\"\r\n\"" +
                     GridLine("Field 01", "F16") + "\"\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\"" + GridLine("Field 15", "LAST") + "\"\r\n\"\"\r\n"), std::string::npos);
  EXPECT_TRUE(h.Logged(GridLine("Field 01", "ABC / 12")));  // dumped before the split
  for (const std::string& line :
       {GridLine("Ins Field 01", "PID"), GridLine("Pra Field 01", "PRA"),
        GridLine("Prv Field 15", "P15"), GridLine("Field 01", "OID")})
    EXPECT_TRUE(h.Logged(line)) << line;
  EXPECT_TRUE(h.Logged("ParseOIns  This-followed is now True"));
  EXPECT_TRUE(h.Logged("** ParseChargeRec  This-followed is now false"));
  EXPECT_TRUE(h.Logged("ubound is 101"));
}

// A one-charge claim of the given practice and charge; the page read back.
std::vector<FormattedLine> OnePage(Harness& h, const Rec& practice, const Rec& charge) {
  EXPECT_EQ(h.Send("1000", practice), 0);
  EXPECT_EQ(h.Send("6000", charge), 0) << ::testing::PrintToString(h.Msgs());
  EXPECT_EQ(h.Send("6990", ""), 0);
  return h.Lines();
}

TEST(Records, FieldRulesSeenOnThePage) {
  {
    Harness h;
    auto l = OnePage(h, Full(34, {{practice::Name, "River & Sons, Inc."},
                                  {practice::TypeOfBill, "131"}}),
                     ChargeText(118)
                         .Set(charge::RevenueCode, " 12 / 3/4")
                         .Set(charge::Modifier1, "AA")
                         .Set(charge::ExtraModifiers, "  25 59  76 GT "));
    EXPECT_EQ(FieldAt(l, 0.3f, 0.33f), "R & S, I.");   // names lose their punctuation words
    EXPECT_EQ(FieldAt(l, 0.25f, 3.12f), "0012");       // padded to four digits
    EXPECT_EQ(FieldAt(l, 3.75f, 3.12f), "AA 25");      // empty modifiers take extra ones
  }
  for (auto [rev, code] : {std::pair{"450/2", "0450"}, {"", "0000"}, {"10450", "0450"}}) {
    Harness h;
    auto l = OnePage(h, Full(21), ChargeText().Set(charge::RevenueCode, rev));
    EXPECT_EQ(FieldAt(l, 0.25f, 3.12f), code) << rev;  // box 42 holds four digits
  }
  // A "BP:" description takes the procedure text; the narrative loses it.
  Harness h;
  auto l = OnePage(h, Full(21),
                   ChargeText(129)
                       .Set(charge::Description, "BP: X1 ")
                       .Set(charge::BpDescription, "PROC T")
                       .Set(charge::Narrative, "SEE PROC T HERE")
                       .Set(charge::StripProcedureFromNarrative, "1"));
  EXPECT_EQ(FieldAt(l, 0.65f, 3.12f), "PROC T");
}

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
