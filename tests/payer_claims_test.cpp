// Claims a payer accepts: one claim over as many pages as its lines need,
// box 54 that agrees with box 55, payers on rows of their own, text that
// stays in its box, and names, dates and codes the form can print.
#include <gtest/gtest.h>

#include <numeric>

#include "form/form_layout.h"
#include "form/form_positions.h"
#include "tests/cli_support.h"
#include "tests/form_support.h"

namespace ub04::test {
namespace {

// A stay of n service lines, each its own charge of 10.00 + i, a day apart
// within one month, to one payer.
struct Stay {
  Formatted r;
  std::vector<ClaimRecord> claims;

  Stay(int lines, bool multipage, const Claim& c = Claim{}) {
    r.h.fc.AddClaimObserver([&](const ClaimRecord& claim) { claims.push_back(claim); });
    EXPECT_EQ(r.h.fc.HereIsAMessage("MULTIPAGE", multipage ? "1" : "0"), 0);
    r.Top(c);
    for (int i = 1; i <= lines; ++i) {
      Rec charge = c.charge;
      const std::string day = (i % 28 + 1 < 10 ? "0" : "") + std::to_string(i % 28 + 1);
      charge.Set(charge::ServiceDate, "03" + day + "2024").Set(charge::ServiceToDate, "03" + day + "2024");
      charge.Set(charge::ChargeAmount, std::to_string(10 + i) + ".00");
      r.Charge(c, charge);
    }
    r.Finish();
  }
  // The "C" lines: (page of the claim, pages of the claim, sequence).
  std::vector<std::tuple<int, int, int>> Pages() const {
    std::vector<std::tuple<int, int, int>> pages;
    for (const FormattedLine& l : r.lines)
      if (l.kind == "C") pages.emplace_back(static_cast<int>(l.x), static_cast<int>(l.y), l.number);
    return pages;
  }
  std::string At(float x, float y, int page) const { return FieldAt(r.lines, x, y, page); }
};

std::string Total(int lines) {  // 11.00 + 12.00 + ... + (10 + lines).00
  int sum = 0;
  for (int i = 1; i <= lines; ++i) sum += 10 + i;
  return std::to_string(sum) + ".00";
}

TEST(MultiPageClaims, OneClaimOverAsManyPagesAsItsLinesNeed) {
  for (int lines : {30, 45}) {
    SCOPED_TRACE(lines);
    Stay s(lines, true);
    const int pages = (lines + 21) / 22;
    // One claim: its pages numbered on, each "C" line saying page n of m.
    ASSERT_EQ(s.claims.size(), 1u);
    const ClaimRecord& claim = s.claims[0];
    EXPECT_EQ(claim.page_count(), pages);
    EXPECT_EQ(claim.lines.size(), static_cast<size_t>(lines));
    EXPECT_EQ(claim.lines.back().page, pages);
    std::vector<std::tuple<int, int, int>> expected;
    for (int p = 1; p <= pages; ++p) expected.emplace_back(p, pages, p);
    EXPECT_EQ(s.Pages(), expected);
    for (int p = 1; p <= pages; ++p) {
      SCOPED_TRACE(p);
      const bool last = p == pages;
      // Line 23: page n of m and the creation date on every page; 0001 and
      // the claim's total, and boxes 54 and 55, on the last only.
      EXPECT_EQ(s.At(pos::kLine23PageX, pos::kLine23PageNumberY, p), std::to_string(p));
      EXPECT_EQ(s.At(pos::kLine23PageOfX, pos::kLine23PageNumberY, p), std::to_string(pages));
      EXPECT_EQ(s.At(pos::kBox45ServiceDateX, pos::kLine23Y, p), FormatMmddyy(Today()));
      EXPECT_EQ(s.At(pos::kBox42RevenueCodeX, pos::kLine23Y, p), last ? "0001" : kNone);
      EXPECT_EQ(s.At(pos::kBox47ChargesX, pos::kLine23Y, p), last ? Total(lines) : kNone);
      EXPECT_EQ(s.At(pos::kBox55AmountDueX, pos::kBoxes54And55RowY[0], p), last ? Total(lines) : kNone);
      // Every page carries every other box: the claim's period, patient,
      // payer, diagnoses and providers.
      for (auto [x, y] : {std::pair{pos::kBox03X, pos::kBox03aY}, {pos::kBox04X, pos::kBox04Y},
                          {pos::kBox06FromX, pos::kBox06Y}, {pos::kBox06ThroughX, pos::kBox06Y},
                          {pos::kBox08bX, pos::kBox08bY}, {pos::kBox50PayerNameX, pos::kBoxes50To57RowY[0]},
                          {pos::kBox56NpiX, pos::kBox56Y}, {pos::kBox67FirstX, pos::kBox67RowY[0]},
                          {pos::kBoxes76And77NpiX, pos::kBox76Rows.id_y}})
        EXPECT_EQ(s.At(x, y, p), s.At(x, y, 1)) << x << ", " << y;
      // Its service lines continue where the last page stopped.
      const int first_line = (p - 1) * 22 + 1;
      EXPECT_EQ(s.At(pos::kBox47ChargesX, pos::kBoxes42To47RowY[0], p),
                std::to_string(10 + first_line) + ".00");
    }
    EXPECT_EQ(s.At(pos::kBox06FromX, pos::kBox06Y, 1), "030124");
    EXPECT_TRUE(s.r.messages.empty()) << ::testing::PrintToString(s.r.messages);
  }
}

// Without the setting, claims stay as they were made, one page each, and
// the host hears what became of the stay.
TEST(MultiPageClaims, WithoutTheSettingALongStaySplitsAndSaysSo) {
  Stay s(30, false);
  ASSERT_EQ(s.claims.size(), 2u);
  EXPECT_EQ(s.Pages(), (std::vector<std::tuple<int, int, int>>{{0, 0, 1}, {0, 0, 2}}));
  for (int p = 1; p <= 2; ++p) {
    EXPECT_EQ(s.At(pos::kBox42RevenueCodeX, pos::kLine23Y, p), "0001");
    EXPECT_EQ(s.At(pos::kLine23PageX, pos::kLine23PageNumberY, p), "1");
    EXPECT_EQ(s.At(pos::kLine23PageOfX, pos::kLine23PageNumberY, p), "1");
  }
  ASSERT_EQ(s.r.messages.size(), 1u);
  EXPECT_NE(s.r.messages[0].find(" 2//QVR_UB04PPA_Format.Dll WriteClaim()  Warning: the claim of "
                                 "account ACCT1001 has 30 service lines and was split into 2 "
                                 "claims of at most 22 lines; host message MULTIPAGE \"1\""),
            std::string::npos) << s.r.messages[0];
  EXPECT_EQ(s.claims[1].findings.back().rule, "CLAIM-SPLIT");
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("MULTIPAGE", "yes"), 3);
}

TEST(MultiPageClaims, TooManyDiagnosesSplitAVisitAndSaySo) {
  Formatted r;
  std::vector<ClaimRecord> claims;
  r.h.fc.AddClaimObserver([&](const ClaimRecord& c) { claims.push_back(c); });
  Claim c;
  r.Top(c);
  for (int i = 0; i < 5; ++i) {  // five charges of five codes each: 25 distinct
    Rec charge = c.charge;
    for (int k = 0; k < 5; ++k)
      charge.Set(charge::Icd10Code1 + 2 * static_cast<size_t>(k),
                 "J" + std::to_string(10 + i * 5 + k));
    r.Charge(c, charge);
  }
  r.Finish();
  ASSERT_EQ(claims.size(), 2u);
  ASSERT_FALSE(r.messages.empty());
  EXPECT_NE(r.messages.back().find("the claim of account ACCT1001 has 25 diagnoses, more than "
                                   "the 18 the form holds: it was split into 2 claims"),
            std::string::npos) << ::testing::PrintToString(r.messages);
}

// Box 54 shows what each prior payer paid for the claim's lines, the same
// sums box 55 takes off; no two payers share a row.
TEST(PayerRows, PriorPaymentsAreTheClaimsAndEveryPayerHasARowOfItsOwn) {
  for (const char* sequence : {"2", "3"}) {
    SCOPED_TRACE(sequence);
    Claim c;
    c.charge.Set(charge::PayerSequence, sequence);
    Formatted r;
    r.Top(c);
    const char* first_paid[] = {"10.00", "20.00", "30.00"};
    const char* second_paid[] = {"1.00", "2.00", "3.00"};
    for (int i = 0; i < 3; ++i) {
      Claim line = c;
      line.companions = {{"6310", OtherInsurance("11111", "FIRST PAYER", first_paid[i])},
                         {"6320", OtherInsurance("22222", "SECOND PAYER", second_paid[i])}};
      r.Charge(line, c.charge);
    }
    r.Finish();
    const int billed = sequence[0] - '1';
    EXPECT_EQ(r.At(pos::kBox54PriorPaymentX, pos::kBoxes54And55RowY[0]), "60.00");
    EXPECT_EQ(r.At(pos::kBox54PriorPaymentX, pos::kBoxes54And55RowY[1]), billed == 2 ? "6.00" : kNone);
    EXPECT_EQ(r.At(pos::kBox55AmountDueX, pos::kBoxes54And55RowY[static_cast<size_t>(billed)]),
              billed == 2 ? "234.00" : "234.00");  // 300.00 less all 66.00 the others paid
    EXPECT_EQ(r.At(pos::kBox50PayerNameX, pos::kBoxes50To57RowY[0]), "FIRST PAYER");
    EXPECT_EQ(r.At(pos::kBox50PayerNameX, pos::kBoxes50To57RowY[static_cast<size_t>(billed)]),
              "KEYSTONE HEALTH PLAN");
    EXPECT_EQ(r.At(pos::kBox50PayerNameX, pos::kBoxes50To57RowY[billed == 1 ? 2 : 1]),
              "SECOND PAYER");
  }
  // The billed payer first: the other insurance takes the next row.
  Claim c;
  c.Only("6310", OtherInsurance("11111", "FIRST PAYER", "10.00"));
  Formatted r({c});
  EXPECT_EQ(r.At(pos::kBox50PayerNameX, pos::kBoxes50To57RowY[0]), "KEYSTONE HEALTH PLAN");
  EXPECT_EQ(r.At(pos::kBox50PayerNameX, pos::kBoxes50To57RowY[1]), "FIRST PAYER");
  EXPECT_EQ(r.At(pos::kBox58InsuredNameX, pos::kBoxes58To62RowY[0]), "DOE, JOHN");
  EXPECT_EQ(r.At(pos::kBox58InsuredNameX, pos::kBoxes58To62RowY[1]), "DOE, JANE");
}

// A text longer than its box is cut to fit and named; an amount is never
// cut: its claim is refused.
TEST(TextInItsBox, LongTextIsCutWithAWarningAndAWideAmountRefusesTheClaim) {
  Claim c;
  c.patient.Set(patient::LastName, "VANDERHOOVENSTRAATENBERGHE-MACALLISTER")
      .Set(patient::AddressLine1, std::string(51, 'S'));
  c.subscriber.Set(subscriber::InsuredIdNumber, "1234567890123456789012345");
  c.ext = {{"5012", "X//20015//YES"}};  // a present-on-admission value of three letters
  Formatted r({c});
  struct Cut {
    float x, y;
    const char* box;
  } cuts[] = {{pos::kBox08bX, pos::kBox08bY, "FL8b"},
              {pos::kBox09aX, pos::kBox09aY, "FL9a"},
              {pos::kBox60InsuredIdX, pos::kBoxes58To62RowY[0], "FL60A"},
              {pos::kBox67FirstX + pos::kBox67PoaOffset, pos::kBox67RowY[0], "FL67"}};
  for (const Cut& cut : cuts) {
    const int room = FieldChars(cut.x, cut.y, 0);
    ASSERT_GT(room, 0) << cut.box;
    EXPECT_EQ(r.At(cut.x, cut.y).size(), static_cast<size_t>(room)) << cut.box;
    EXPECT_TRUE(AnyHas(r.messages, std::string("ACCT1001: ") + cut.box + " holds " +
                                       std::to_string(room) + " characters;"))
        << cut.box << ::testing::PrintToString(r.messages);
  }
  EXPECT_EQ(r.At(pos::kBox09aX, pos::kBox09aY), std::string(static_cast<size_t>(FieldChars(pos::kBox09aX, pos::kBox09aY, 0)), 'S'));

  Claim wide;
  wide.charge.Set(charge::ChargeAmount, "99999999999.99");
  std::vector<ClaimRecord> claims;
  Formatted w;
  w.h.fc.AddClaimObserver([&](const ClaimRecord& claim) { claims.push_back(claim); });
  w.Top(wide);
  w.Charge(wide, wide.charge);
  w.Finish();
  ASSERT_EQ(claims.size(), 1u);
  EXPECT_EQ(claims[0].fate, ClaimRecord::Fate::kRefused);
  EXPECT_EQ(Kinds(w.lines), "HT");
  EXPECT_TRUE(AnyHas(w.h.end_messages, "FL47 cannot hold the amount 99999999999.99"))
      << ::testing::PrintToString(w.h.end_messages);
}

TEST(TextInItsBox, CodesBeyondTheirSlotsAreNamedNotPrintedPastTheForm) {
  Claim c;
  // Thirteen two-character codes for eleven boxes.
  c.ext = {{"5012", "X//20014//A1-A2-A3-A4-A5-A6-A7-A8-A9-B1-B2-B3-B4"}};
  Formatted r({c});
  EXPECT_EQ(r.At(pos::kBoxes18To28FirstX + 10 * pos::kBoxes18To28Step, pos::kBoxes10To29Y), "B2");
  for (const FormattedLine& l : r.lines)
    EXPECT_FALSE(l.kind == "F" && (l.text == "B3" || l.text == "B4")) << l.x;
  for (const char* code : {"B3", "B4"})
    EXPECT_TRUE(AnyHas(r.messages, std::string("boxes 18-28 hold 11 condition codes; \"") + code +
                                       "\" was not printed"))
        << ::testing::PrintToString(r.messages);
}

// Names and descriptions in UTF-8 or Windows-1252 print as their plain
// letters; control characters as spaces; what has no plain form is named.
TEST(PrintableText, MarkedLettersBecomePlainAndTheRestIsNamed) {
  struct Case {
    std::string first, name, description;
    std::string printed_name, printed_description;
    const char* dropped;
  } cases[] = {
      {"JOS\xC3\x89", "O'BRIEN-MU\xC3\x91OZ", "ULTRASOUND \xE2\x80\x94 LEFT\tKNEE",
       "O'BRIEN-MUNOZ", "ULTRASOUND - LEFT KNEE", nullptr},
      // Windows-1252, a record at a time; the file never holds a double
      // quote, so the quotes print as single ones.
      {"JOS\xC9", "O'BRIEN-MU\xD1OZ", "CAF\xC9 \x93SPECIAL\x94", "O'BRIEN-MUNOZ",
       "CAFE 'SPECIAL'", nullptr},
      {"JOS\xC3\x89", "STRA\xC3\x9F" "E", "SNOW \xE2\x98\x83 MAN", "STRASSE", "SNOW  MAN",
       "U+2603"},
  };
  for (const Case& k : cases) {
    Claim c;
    c.patient.Set(patient::LastName, k.name).Set(patient::FirstName, k.first);
    c.charge.Set(charge::Description, k.description);
    Formatted r({c});
    EXPECT_EQ(r.At(pos::kBox08bX, pos::kBox08bY), k.printed_name + ", JOSE") << k.name;
    EXPECT_EQ(r.At(pos::kBox43DescriptionX, pos::kBoxes42To47RowY[0]), k.printed_description);
    for (const FormattedLine& l : r.lines)
      for (unsigned char b : l.text) EXPECT_TRUE(b >= 0x20 && b < 0x7F) << l.text;
    EXPECT_EQ(AnyHas(r.messages, "cannot print ("), k.dropped != nullptr);
    if (k.dropped) {
      EXPECT_TRUE(AnyHas(r.messages, std::string("(type 6000) holds a character the form cannot "
                                                 "print (") + k.dropped + "): left out"));
    }
  }
}

TEST(PrintableText, DatesThatAreNotDatesAreNamedAndPrintAsBefore) {
  for (const char* date : {"2024-03-01", "02302024", "3152024"}) {
    Claim c;
    c.charge.Set(charge::ServiceDate, date);
    Formatted r({c});
    EXPECT_TRUE(AnyHas(r.messages, std::string("ParseChargeRec()  Warning: token 53 of the Charge "
                                               "record holds \"") + date +
                                       "\", which is not a date (MMDDYYYY); it prints as given"))
        << date << ::testing::PrintToString(r.messages);
  }
  Claim born;
  born.patient.Set(patient::BirthDate, "13011970");
  Formatted r({born});
  EXPECT_TRUE(AnyHas(r.messages, "token 8 of the Patient record holds \"13011970\""));
  EXPECT_EQ(r.At(pos::kBox10BirthDateX, pos::kBoxes10To29Y), "13011970");
}

// The batch the mends leave as it was (bench/same_output.sh --mended) must
// hold none of their cases.
TEST(PayerMends, TheCleanBatchHasNothingToMend) {
  ScratchDir dir;
  CliRun r = RunCli("--no-print --out " + dir.str() + " " + std::string(UB04_SOURCE_DIR) +
                    "/tests/data/clean_batch.txt");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("5 claims, 5 pages, 30 charges; 0 findings (0 errors, 0 warnings), 0 warnings, 0 errors"), std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace ub04::test
