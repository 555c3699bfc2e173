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

// Sends records of each token count to a fresh batch: which parse, and the
// exact message of those that do not.
void ExpectBoundaries(const char* type, const RecordLayout& layout, const char* error_text,
                      std::initializer_list<std::pair<size_t, bool>> cases) {
  for (auto [tokens, parses] : cases) {
    Batch b(std::string(type) != "1000");
    EXPECT_EQ(b.Send(type, RecordText(layout, tokens)), parses ? 0 : 1) << type << " " << tokens;
    if (!parses) {
      EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(error_text)}) << type << " " << tokens;
    }
  }
}

TEST(TopRecords, TokenCountBoundaries) {
  ExpectBoundaries("1000", kPracticeLayout, " ParsePracticeRec() Error: ",
                   {{20, false}, {21, true}, {26, true}, {30, false}, {34, true}, {35, false},
                    {60, true}});
  ExpectBoundaries("1050", kSubmitterLayout, " ParseSubmitterRec() Error: ",
                   {{29, false}, {30, true}, {33, false}, {34, false}, {35, true}});
  ExpectBoundaries("2000", kBProviderLayout, " ParseBProviderRec()   Error: ",
                   {{32, false}, {33, true}, {37, false}, {44, true}});
  ExpectBoundaries("3000", kInsuranceLayout, " ParseInsuranceRec()   Error: ",
                   {{33, true}, {34, false}, {38, true}, {40, false}, {68, true}});
  ExpectBoundaries("3100", kCalcPrefLayout, " ParseCalcPrefRec()  Error: ", {{11, false}, {12, true}});
  ExpectBoundaries("3101", kBreakPrefLayout, " ParseBreakPrefRec()   Error: ",
                   {{24, false}, {25, true}, {30, true}});
}

TEST(PracticeRecord, AbsentGroupsAreEmptiedAndAFailureKeepsWhatWasRead) {
  Batch b(false);
  Record& p = b.claim().this_top.practice;
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 44).Set(practice::Field43, "old")), 0);
  // Ends inside group 26-33: tokens up to 29 are taken, the rest stays.
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 30).Set(practice::Name, "NEW")), 1);
  EXPECT_EQ(p[practice::Name], "NEW");
  EXPECT_EQ(p[practice::PayToCity], "v29");
  EXPECT_EQ(p[practice::Field43], "old");

  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 21)), 0);
  for (size_t m = practice::Field21; m < practice::kMemberCount; ++m) EXPECT_EQ(p[m], "") << m;
}

TEST(PracticeRecord, FieldRules) {
  Batch b(false);
  const Record& p = b.claim().this_top.practice;
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 34)
                               .Set(practice::Name, "River & Sons, Inc.")
                               .Set(practice::State, "m#o")
                               .Set(practice::Upin, "A123")
                               .Set(practice::Npi, "1234567890")
                               .Set(practice::Country, "CANADA")
                               .Set(practice::PayToCountry, "usa")),
            0);
  EXPECT_EQ(p[practice::Name], "R & S, I.");
  EXPECT_EQ(p[practice::State], "m#o");  // not a cleaned field
  EXPECT_EQ(p[practice::Upin], "");      // UPIN suppression is always on
  EXPECT_EQ(p[practice::Npi], "1234567890");
  EXPECT_EQ(p[practice::NpiAsReceived], "1234567890");
  EXPECT_EQ(p[practice::Country], "CA");
  EXPECT_EQ(p[practice::PayToCountry], "usa");

  Rs().npi_cutover_date = Today() + 1;
  ASSERT_EQ(b.Send("1000", RecordText(kPracticeLayout, 25).Set(practice::Npi, "1234567890")), 0);
  EXPECT_EQ(p[practice::Npi], "");
  EXPECT_EQ(p[practice::NpiAsReceived], "");
}

TEST(PracticeRecord, GridDumpAndEntryLines) {
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

TEST(SubmitterRecord, NothingIsCleaned) {
  Batch b;
  ASSERT_EQ(b.Send("1050", RecordText(kSubmitterLayout, 30).Set(submitter::Field02, "a#b")), 0);
  EXPECT_EQ(b.claim().this_top.submitter[submitter::Field02], "a#b");
}

TEST(BProviderRecord, FieldRules) {
  Batch b;
  const Record& p = b.claim().this_top.bprovider;
  ASSERT_EQ(b.Send("2000", RecordText(kBProviderLayout, 44)
                               .Set(bprovider::SexCode, "f")
                               .Set(bprovider::SexDescription, "female")
                               .Set(bprovider::OtherId, "ABC / 12")
                               .Set(bprovider::LastName, "O'Hara-Smith Jr.")
                               .Set(bprovider::PayToCountry, "CANADA")),
            0);
  EXPECT_EQ(p[bprovider::SexCode], "U");
  EXPECT_EQ(p[bprovider::SexDescription], "UNKNOWN");
  EXPECT_EQ(p[bprovider::OtherId], "ABC");
  EXPECT_EQ(p[bprovider::OtherIdSecondPart], "12");
  EXPECT_EQ(p[bprovider::LastName], "O'H-S J.");
  EXPECT_EQ(p[bprovider::PayToCountry], "CA");
  EXPECT_TRUE(b.Logged(GridLine("Field 01", "ABC / 12")));  // dumped before the split

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

TEST(InsuranceRecord, PayerIdFallsBackAndDrivesTheFlags) {
  Batch b;
  const Record& ins = b.claim().this_top.insurance;
  ASSERT_EQ(b.Send("3000", RecordText(kInsuranceLayout, 37)
                               .Set(insurance::PayerId, "")
                               .Set(insurance::AlternatePayerId, "12X19")
                               .Set(insurance::ProviderIdForPayer, " P77 ")),
            0);
  EXPECT_EQ(ins[insurance::PayerId], "12X19");
  EXPECT_EQ(ins[insurance::ProviderIdForPayer], "P77");
  EXPECT_EQ(ins[insurance::ProviderIdSecondPart], "");
  for (size_t f = 0; f < insurance_flag::kFlagCount; ++f)
    EXPECT_EQ(ins.flags[f], f == insurance_flag::IsPayer12B38) << "flag " << f;

  ASSERT_EQ(b.Send("3000", RecordText(kInsuranceLayout, 33).Set(insurance::PayerId, "SKNY0")), 0);
  for (size_t m = insurance::Field33; m < insurance::kMemberCount; ++m) EXPECT_EQ(ins[m], "") << m;
  EXPECT_TRUE(ins.flags[insurance_flag::IsPayerSKNY0]);
  EXPECT_FALSE(ins.flags[insurance_flag::IsPayer12B38]);
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

}  // namespace
}  // namespace ub04
