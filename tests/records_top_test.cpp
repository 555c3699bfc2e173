// Practice, submitter, billing-provider, insurance and preference records
// through FormatRecord.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Batch;
using test::Error9;
using test::GridLine;
using test::RecordText;

const char kPracticeError[] = " ParsePracticeRec() Error: ";

TEST(PracticeRecord, TokenCountBoundaries) {
  struct Case {
    size_t tokens;
    bool parses;
  };
  // Single optional tokens 21-25, group 26-33 from n = 26, group 34-43 from
  // n = 34; tokens beyond 43 are ignored.
  for (Case c : {Case{20, false}, Case{21, true}, Case{26, true}, Case{27, false},
                 Case{30, false}, Case{34, true}, Case{35, false}, Case{44, true},
                 Case{60, true}}) {
    Batch b(false);
    EXPECT_EQ(b.Send("1000", RecordText(kPracticeLayout, c.tokens)), c.parses ? 0 : 1)
        << c.tokens << " tokens";
    if (!c.parses) {
      EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(kPracticeError)});
    }
  }
}

TEST(PracticeRecord, ShortRecordLeavesLaterMembersEmpty) {
  Batch b(false);
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 21)), 0);
  const Record& p = b.claim().this_top.practice;
  EXPECT_EQ(p[practice::Field20], "v20");
  for (size_t m = practice::Field21; m < practice::kMemberCount; ++m)
    EXPECT_EQ(p[m], "") << "member " << m;
}

TEST(PracticeRecord, FailureKeepsWhatWasReadBefore) {
  Batch b(false);
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 44).Set(practice::Field43, "old")), 0);
  // Ends inside group 26-33: tokens up to 29 are taken, the rest stays.
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 30).Set(practice::Name, "NEW")), 1);
  const Record& p = b.claim().this_top.practice;
  EXPECT_EQ(p[practice::Name], "NEW");
  EXPECT_EQ(p[practice::PayToCity], "v29");
  EXPECT_EQ(p[practice::Field43], "old");
}

TEST(PracticeRecord, UpinIsAlwaysSuppressed) {
  for (const char* upin : {".", "A123"}) {
    Batch b(false);
    ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 21).Set(practice::Upin, upin)), 0);
    EXPECT_EQ(b.claim().this_top.practice[practice::Upin], "");
  }
}

TEST(PracticeRecord, NpiFollowsTheCutOverDate) {
  Batch b(false);
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 25).Set(practice::Npi, "1234567890")), 0);
  const Record& p = b.claim().this_top.practice;
  EXPECT_EQ(p[practice::Npi], "1234567890");
  EXPECT_EQ(p[practice::NpiAsReceived], "1234567890");

  Rs().npi_cutover_date = Today() + 1;
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 25).Set(practice::Npi, "1234567890")), 0);
  EXPECT_EQ(p[practice::Npi], "");
  EXPECT_EQ(p[practice::NpiAsReceived], "");
}

TEST(PracticeRecord, CountriesAreNormalised) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (Case c : {Case{"USA", ""}, Case{"US", ""}, Case{"United States", ""}, Case{"1.0", ""},
                 Case{"usa", "usa"}, Case{"CANADA", "CA"}, Case{"2.0", "CA"},
                 Case{"GERMANY", "DE"}, Case{"FR", "FR"}}) {
    Batch b(false);
    ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 34)
                                 .Set(practice::Country, c.in)
                                 .Set(practice::PayToCountry, c.in)),
              0);
    EXPECT_EQ(b.claim().this_top.practice[practice::Country], c.out) << c.in;
    EXPECT_EQ(b.claim().this_top.practice[practice::PayToCountry], c.out) << c.in;
  }
}

TEST(PracticeRecord, NameAndAddressAreCleaned) {
  Batch b(false);
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 21)
                               .Set(practice::Name, "River & Sons, Inc.")
                               .Set(practice::City, "ST. LOUIS #2")
                               .Set(practice::State, "m#o")),
            0);
  const Record& p = b.claim().this_top.practice;
  EXPECT_EQ(p[practice::Name], "R & S, I.");
  EXPECT_EQ(p[practice::City], "ST. LOUIS 2");
  EXPECT_EQ(p[practice::State], "m#o");  // not a cleaned field
}

TEST(PracticeRecord, GridDumpInTheLog) {
  Batch b(false);
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 44)
                               .Set(practice::Field16, "F16")
                               .Set(practice::Field43, "LAST")),
            0);
  std::string log = b.Log();
  EXPECT_NE(log.find("\"ParsePracticeRec\"\r\n\"\"\r\n\"=== Practice Grid Values ===\"\r\n\"" +
                     GridLine("Field 01", "F16") + "\"\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\"" + GridLine("Field 15", "LAST") + "\"\r\n\"\"\r\n"), std::string::npos);
}

TEST(PracticeRecord, OriginalAddressOnlyForItsForms) {
  {
    Batch b(false);
    ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 34)), 0);
    EXPECT_FALSE(Rs().lookup_found);  // "UB04PPA" never asks
  }
  for (const char* module : {"QVR_UB04_P5_Format", "QVR_UB04_I5_Format"}) {
    test::ScratchDir dir;
    Format_Class fc(module);
    fc.HereIsAMessage("1", dir.str());
    fc.HereIsAMessage("2", "claims.fmt");
    ASSERT_EQ(fc.FormatRecord(test::Key("1000"), RecordText(kPracticeLayout, 34).str()), 0);
    EXPECT_TRUE(Rs().lookup_found) << module;  // no database: done, nothing replaced
    EXPECT_EQ(Rs().claim.this_top.practice[practice::OriginalName], "");
  }
}

TEST(SubmitterRecord, GroupsAndNoCleanUp) {
  for (size_t n : {33, 34}) {
    Batch b;
    EXPECT_EQ(b.Send("1050", RecordText(kSubmitterLayout, n)), 1) << n;
    EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseSubmitterRec() Error: ")});
  }
  Batch b;
  ASSERT_EQ(b.Send("1050", RecordText(kSubmitterLayout, 30).Set(submitter::Field02, "a#b")), 0);
  const Record& s = b.claim().this_top.submitter;
  EXPECT_EQ(s[submitter::Field02], "a#b");
  for (size_t m = submitter::Field30; m <= submitter::Field34; ++m) EXPECT_EQ(s[m], "");
  EXPECT_EQ(b.Send("1050", RecordText(kSubmitterLayout, 35)), 0);
}

TEST(BProviderRecord, FieldRules) {
  Batch b;
  ASSERT_EQ(b.Send("2000", RecordText(kBProviderLayout, 33)
                               .Set(bprovider::SexCode, "f")
                               .Set(bprovider::SexDescription, "female")
                               .Set(bprovider::OtherId, "ABC / 12")
                               .Set(bprovider::LastName, "O'Hara-Smith Jr.")),
            0);
  const Record& p = b.claim().this_top.bprovider;
  EXPECT_EQ(p[bprovider::SexCode], "U");
  EXPECT_EQ(p[bprovider::SexDescription], "UNKNOWN");
  EXPECT_EQ(p[bprovider::OtherId], "ABC");
  EXPECT_EQ(p[bprovider::OtherIdSecondPart], "12");
  EXPECT_EQ(p[bprovider::LastName], "O'H-S J.");
  EXPECT_EQ(p[bprovider::Upin], "");

  ASSERT_EQ(b.Send("2000", RecordText(kBProviderLayout, 33)
                               .Set(bprovider::SexCode, "F")
                               .Set(bprovider::SexDescription, "Female")
                               .Set(bprovider::OtherId, "A/B/C")),
            0);
  EXPECT_EQ(p[bprovider::SexCode], "F");
  EXPECT_EQ(p[bprovider::SexDescription], "Female");
  EXPECT_EQ(p[bprovider::OtherId], "A");
  EXPECT_EQ(p[bprovider::OtherIdSecondPart], "B/C");
}

TEST(BProviderRecord, BoundariesAndErrorText) {
  Batch b;
  EXPECT_EQ(b.Send("2000", RecordText(kBProviderLayout, 32)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseBProviderRec()   Error: ")});
  EXPECT_EQ(b.Send("2000", RecordText(kBProviderLayout, 37)), 1);  // inside 36-43
  EXPECT_EQ(b.Send("2000", RecordText(kBProviderLayout, 44).Set(bprovider::PayToCountry, "CANADA")), 0);
  EXPECT_EQ(b.claim().this_top.bprovider[bprovider::PayToCountry], "CA");
  EXPECT_TRUE(b.Logged("=== Billing Provider Grid Values ==="));
}

TEST(InsuranceRecord, TokenCountBoundaries) {
  struct Case {
    size_t tokens;
    bool parses;
  };
  for (Case c : {Case{33, true}, Case{34, false}, Case{35, true}, Case{38, true},
                 Case{40, false}, Case{68, true}, Case{75, true}}) {
    Batch b;
    EXPECT_EQ(b.Send("3000", RecordText(kInsuranceLayout, c.tokens)), c.parses ? 0 : 1)
        << c.tokens << " tokens";
    if (!c.parses) {
      EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseInsuranceRec()   Error: ")});
    }
  }
  Batch b;
  ASSERT_EQ(b.Send("3000", RecordText(kInsuranceLayout, 33).Set(insurance::PayerId, "SKNY0")), 0);
  const Record& ins = b.claim().this_top.insurance;
  for (size_t m = insurance::Field33; m < insurance::kMemberCount; ++m) EXPECT_EQ(ins[m], "");
  EXPECT_TRUE(ins.flags[insurance_flag::IsPayerSKNY0]);
}

TEST(InsuranceRecord, PayerIdFallsBackAndDrivesTheFlags) {
  Batch b;
  ASSERT_EQ(b.Send("3000", RecordText(kInsuranceLayout, 37)
                               .Set(insurance::PayerId, "")
                               .Set(insurance::AlternatePayerId, "12X19")
                               .Set(insurance::ProviderIdForPayer, " P77 ")),
            0);
  const Record& ins = b.claim().this_top.insurance;
  EXPECT_EQ(ins[insurance::PayerId], "12X19");
  EXPECT_EQ(ins[insurance::ProviderIdForPayer], "P77");
  EXPECT_EQ(ins[insurance::ProviderIdSecondPart], "");
  for (size_t f = 0; f < insurance_flag::kFlagCount; ++f)
    EXPECT_EQ(ins.flags[f], f == insurance_flag::IsPayer12B38) << "flag " << f;
}

TEST(InsuranceRecord, PracticeNpiReturnsToTheReceivedOne) {
  Batch b(false);
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 25).Set(practice::Npi, "111")), 0);
  Record& p = b.claim().this_top.practice;
  p[practice::Npi] = "an earlier override";
  ASSERT_EQ(b.Send("3000", RecordText(kInsuranceLayout, 33)), 0);
  EXPECT_EQ(p[practice::Npi], "111");
}

TEST(InsuranceRecord, GridHasThreeBlocks) {
  Batch b;
  ASSERT_EQ(b.Send("3000", RecordText(kInsuranceLayout, 68)
                               .Set(insurance::PayerId, "PID")
                               .Set(insurance::PracticeIdForPayer, "PRA")
                               .Set(insurance::Field67, "P15")),
            0);
  EXPECT_TRUE(b.Logged("=== Billing Insurance Grid Values ==="));
  EXPECT_TRUE(b.Logged(GridLine("Ins Field 01", "PID")));
  EXPECT_TRUE(b.Logged(GridLine("Pra Field 01", "PRA")));
  EXPECT_TRUE(b.Logged(GridLine("Prv Field 15", "P15")));
}

TEST(PreferenceRecords, Boundaries) {
  Batch b;
  ASSERT_EQ(b.Send("3100", RecordText(kCalcPrefLayout, 12)), 0);
  for (size_t m = 12; m <= 14; ++m) EXPECT_EQ(b.claim().this_top.calc_pref[m], "");
  EXPECT_EQ(b.Send("3100", RecordText(kCalcPrefLayout, 11)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseCalcPrefRec()  Error: ")});

  EXPECT_EQ(b.Send("3101", RecordText(kBreakPrefLayout, 24)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseBreakPrefRec()   Error: ")});
  EXPECT_EQ(b.Send("3101", RecordText(kBreakPrefLayout, 30).Set(break_pref::BreakOnEachCharge, "1")), 0);
  EXPECT_EQ(b.claim().this_top.break_pref[break_pref::BreakOnEachCharge], "1");
}

}  // namespace
}  // namespace ub04
