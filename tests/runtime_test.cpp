// The runtime rules every procedure relies on: number texts, the lenient
// numeric parse, rounding, currency, masks, dates and the tokenizer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "base/runtime.h"

namespace ub04 {
namespace {

// The number texts are built without printf; printf is the reference they
// must match, digit for digit.
TEST(NumberTexts, GeneralFormMatchesPrintf) {
  auto printf_form = [](double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    return std::string(buf);
  };
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    // Magnitudes from 1E-4 to 1E14, where the form has no exponent.
    double v = std::ldexp(static_cast<double>(rng() >> 11), -53) *
               std::pow(10.0, static_cast<int>(rng() % 19) - 4);
    if (i % 2) v = -v;
    ASSERT_EQ(GeneralNum(v), printf_form(v)) << v;
  }
  EXPECT_EQ(GeneralNum(1e15), "1E+15");
  EXPECT_EQ(GeneralNum(-2.5e-7), "-2.5E-07");
  EXPECT_EQ(GeneralNum(1e300), "1E+300");
}

TEST(NumberTexts, AmountsReadTheSameWithoutBinaryFloatingPoint) {
  // An amount's general form and its masks, from the fixed-point value,
  // agree with the forms of the same amount as a double.
  std::vector<int64_t> scaled = {0, 1, -1, 49, 50, -50, 4999, 5000, -5000, 9999,
                                 26750, -26750, 125000, 999'950, 999'999'999'999'999,
                                 -999'999'999'999'999, 1'000'000'000'000'000};
  for (int64_t s = -40000; s <= 40000; s += 7) scaled.push_back(s);
  for (int64_t s : scaled) {
    const Currency c = Currency::FromScaled(s);
    SCOPED_TRACE(s);
    ASSERT_EQ(GeneralNum(c), GeneralNum(c.ToDouble()));
    if (s >= 1'000'000'000'000'000) continue;  // past 15 digits only the fixed point is exact
    for (const char* mask : {"#####0.00", "#0", "#0.0#", "00"})
      ASSERT_EQ(FormatMask(c, mask), FormatMask(c.ToDouble(), mask)) << mask;
  }
  EXPECT_EQ(FormatMask(Currency::FromScaled(INT64_MIN), "#####0.00"), "-922337203685477.58");
  EXPECT_EQ(FormatMask(Currency::FromScaled(-4000), "#0"), "0");  // no "-0"
  EXPECT_THROW(FormatMask(Currency(), "0.000"), RtError);
}

TEST(NumberTexts, LeadingNumberStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("  -3.5x"), -3.5);
  EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(".65"), 0.65);
}

TEST(NumberTexts, RoundingToSixteenBitsIsHalfEvenWithOverflow) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  try {
    RoundToInt16(32767.5);
    FAIL();
  } catch (const RtError& e) {
    EXPECT_EQ(ErrorText(e), " 6 Overflow");
  }
}

TEST(Currency, AddsExactlyAndFormatsHalfAwayFromZero) {
  Currency sum;
  for (int i = 0; i < 10; ++i) sum += Currency::FromText("0.10");
  EXPECT_EQ(sum, Currency::FromText("1"));
  EXPECT_EQ(FormatMask(sum, "#####0.00"), "1.00");
  EXPECT_EQ(FormatMask(Currency::FromText("2.675"), "#####0.00"), "2.68");
  EXPECT_EQ(FormatMask(Currency::FromText("-2.675"), "#####0.00"), "-2.68");
  EXPECT_EQ(FormatMask(Currency::FromText("12abc"), "#####0.00"), "12.00");
  EXPECT_EQ(FormatMask(Currency::FromText("1234567.891"), "#####0.00"), "1234567.89");
  // Sums past the range raise overflow.
  Currency big = Currency::FromScaled(INT64_MAX - 5);
  EXPECT_THROW(big += Currency::FromScaled(10), RtError);
  Currency small = Currency::FromScaled(INT64_MIN + 5);
  EXPECT_THROW(small -= Currency::FromScaled(10), RtError);
}

TEST(Masks, EachMaskShape) {
  EXPECT_EQ(FormatMask(2.675, "#####0.00"), "2.68");  // decimal, not binary, value
  EXPECT_EQ(FormatMask(0.0, "#####0.00"), "0.00");
  EXPECT_EQ(FormatMask(7.5, "#0"), "8");
  EXPECT_EQ(FormatMask(1.5, "#0.0#"), "1.5");
  EXPECT_EQ(FormatMask(1.256, "#0.0#"), "1.26");
  EXPECT_EQ(FormatMask(2.0, "#0.0#"), "2.0");
  EXPECT_EQ(FormatMask(7.0, "00"), "07");
  EXPECT_EQ(FormatMask(123.0, "00"), "123");
  EXPECT_EQ(FormatMask(-0.001, "#####0.00"), "0.00");
  EXPECT_THROW(FormatMask(1.0, "0.000"), RtError);
}

TEST(Dates, SerialsNamesAndTexts) {
  EXPECT_EQ(DateFromYmd(1900, 1, 1), kDateNotSet);
  EXPECT_EQ(LongDate(DateFromYmd(2026, 12, 6)), "Sunday, December 6, 2026");
  EXPECT_EQ(FormatMmddyy(DateFromYmd(2008, 12, 31)), "123108");
  EXPECT_EQ(DateFromDigits("12312008", false), DateFromYmd(2008, 12, 31));
  EXPECT_EQ(DateFromDigits("20081231", true), DateFromYmd(2008, 12, 31));
  EXPECT_EQ(DateFromMdyText("2/29/2024"), DateFromYmd(2024, 2, 29));
  int y, m, d;
  YmdFromDate(DateFromYmd(2000, 3, 1), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000301);
  EXPECT_THROW(DateFromDigits("13012008", false), RtError);
  EXPECT_THROW(DateFromMdyText("2/30/2023"), RtError);
  EXPECT_THROW(DateFromMdyText("nonsense"), RtError);
}

TEST(Text, PositionsAreOneBasedAndNeverFailOnShortTexts) {
  EXPECT_EQ(Mid("ABCDEF", 5), "EF");
  EXPECT_EQ(Mid("ABC", 7, 2), "");
  EXPECT_EQ(Left("AB", 5), "AB");
  EXPECT_EQ(Right("0000111", 4), "0111");
  EXPECT_EQ(InStr("A~B~", "~", 3), 4);
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(UpperAscii("abc\xE9z"), "ABC\xE9Z");
}

TEST(SplitTokens, TheOneTokenizer) {
  Tokens t{"keep"};
  SplitTokens("A//B", "", t);
  EXPECT_EQ(t, Tokens{"keep"});
  SplitTokens("", "//", t);
  EXPECT_EQ(t, Tokens{""});
  SplitTokens("A//B//", "//", t);
  EXPECT_EQ(t, (Tokens{"A", "B"}));
  SplitTokens("A////B", "//", t);
  EXPECT_EQ(t, (Tokens{"A", "", "B"}));
  SplitTokens(".//x. //.7.", "//", t);
  EXPECT_EQ(t, (Tokens{"", "x.", ""}));
  SplitTokens(" lead  //..", "//", t);
  EXPECT_EQ(t, (Tokens{" lead", ""}));
  EXPECT_THROW(Tok(t, 2), RtError);
  EXPECT_THROW(SplitTokens(std::string(40000, 'x'), "//", t), RtError);
  EXPECT_EQ(t, (Tokens{" lead", ""}));  // untouched by the text it refused
}

TEST(SplitTokens, ViewsAndReusedStringsGiveTheSameTokens) {
  // A vector that held longer tokens before is overwritten, not appended to.
  Tokens t{"a long token that needs the heap", "x", "y", "z", "w"};
  TokenViews v;
  const std::pair<std::string, std::string> cases[] = {
      {"A//B//C", "//"}, {"A///B", "//"}, {"//A//", "//"}, {"////", "//"},
      {"A~B~~C~", "~"},  {" . //. x .// y ", "//"}, {"A/", "//"}, {"/", "//"},
      {"a<->b<-<->c<-", "<->"}, {"", "~"}};
  for (const auto& [text, sep] : cases) {
    SCOPED_TRACE(text + " on " + sep);
    SplitTokens(text, sep, t);
    SplitTokenViews(text, sep, v);
    ASSERT_EQ(v.size(), t.size());
    for (size_t i = 0; i < t.size(); ++i) EXPECT_EQ(v[i], t[i]) << i;
  }
  SplitTokens("A///B", "//", t);
  EXPECT_EQ(t, (Tokens{"A", "/B"}));
  SplitTokens("a<->b<-<->c<-", "<->", t);
  EXPECT_EQ(t, (Tokens{"a", "b<-", "c<-"}));
  EXPECT_THROW(Tok(v, static_cast<long long>(v.size())), RtError);
}

// Separators are looked for sixteen bytes at a time: tokens of every
// length put the separators on every place of a block, a '/' that starts a
// token is text, and so is a lone '/' at the very end.
TEST(SplitTokens, LongRecordsSplitWhereverTheSeparatorsFall) {
  TokenViews v;
  for (size_t len = 0; len <= 18; ++len) {
    Tokens want;
    std::string text;
    for (size_t i = 0; text.size() < 90; ++i) {
      std::string tok(len + i % 3, static_cast<char>('a' + i % 26));
      if (tok.size() >= 2 && i % 2 == 1) tok[0] = '/';
      if (i > 0) text += "//";
      text += tok;
      want.push_back(tok);
    }
    text += '/';
    want.back() += '/';
    SCOPED_TRACE(text);
    SplitTokenViews(text, "//", v);
    ASSERT_EQ(v.size(), want.size());
    for (size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i], want[i]) << i;
  }
}

}  // namespace
}  // namespace ub04
