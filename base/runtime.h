// Runtime rules shared by every procedure of the component.
//
// The host expects the error numbers, number texts, rounding and date forms
// of the runtime its messages were designed around, so they live here, once:
//
//   * RtError: a run-time error with its number and description. Procedures
//     throw it (Raise) and catch it at their own boundary, where they compose
//     their message with ErrorText().
//   * Number texts: SignNum (" 5", "-5"), PlainNum ("5"), GeneralNum (12.5).
//   * LeadingNumber: the lenient numeric parse ("12abc" is 12, "" is 0).
//   * RoundToInt16: nearest, halves to even; error 6 outside 16 bits.
//   * Currency: fixed point, four decimals, so amounts add exactly.
//   * FormatMask: "#####0.00", "#0", "#0.0#", "00".
//   * Dates as day serials (1 January 1900 is day 2 and means "not set").
//
// Text is bytes: upper-casing is ASCII-only and comparisons are byte-exact,
// whatever the locale.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace ub04 {

// ---- run-time errors -------------------------------------------------------

enum ErrNo : int {
  kErrInvalidCall = 5,      // Invalid procedure call or argument
  kErrOverflow = 6,         // Overflow
  kErrOutOfMemory = 7,      // Out of memory
  kErrSubscript = 9,        // Subscript out of range
  kErrDivisionByZero = 11,  // Division by zero
  kErrTypeMismatch = 13,    // Type mismatch
  kErrBadFileName = 52,     // Bad file name or number
  kErrFileNotFound = 53,    // File not found
  kErrFileAlreadyOpen = 55, // File already open
  kErrDeviceIO = 57,        // Device I/O error
  kErrDiskFull = 61,        // Disk full
  kErrInputPastEnd = 62,    // Input past end of file
  kErrPermissionDenied = 70,  // Permission denied
  kErrPathFileAccess = 75,  // Path/File access error
  kErrPathNotFound = 76,    // Path not found
};

// The description the runtime gives for an error number.
std::string_view ErrDescription(int number);

class RtError : public std::exception {
 public:
  explicit RtError(int number, std::string description = {});
  int number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, std::string description);

// " 9 Subscript out of range": the error number in sign-position form, a
// space and the description, as every error handler appends it.
std::string ErrorText(const RtError& e);

// Runs body; any std::exception that is not an RtError (bad_alloc, a library
// failure) is turned into an RtError so one catch clause handles everything.
template <class F>
decltype(auto) Guard(F&& body);

// ---- number texts ----------------------------------------------------------

std::string SignNum(long long v);   // " 5", " 0", "-5"
std::string PlainNum(long long v);  // "5", "-5"
// The runtime's general form: at most 15 significant digits, no trailing
// zeros, no exponent for ordinary magnitudes, "." as decimal separator.
// 12.5 -> "12.5", 3 -> "3", 0.65 -> "0.65", -0.5 -> "-0.5".
std::string GeneralNum(double v);
class Currency;
// The same text for an amount, without going through binary floating point.
std::string GeneralNum(Currency v);
std::string BoolText(bool b);  // "True" / "False"

// Leading-number parse: leading spaces skipped, an optional sign, digits with
// at most one decimal point; reading stops at the first other character.
// "" and texts without digits give 0.
double LeadingNumber(std::string_view s);
// True when s is a number and nothing else (blanks around it allowed): its
// LeadingNumber is all it says. "" counts as a number (an empty field).
bool IsPlainNumber(std::string_view s);

// Nearest integer with halves to even; error 6 outside -32768..32767.
int16_t RoundToInt16(double v);
// A length or position that must fit 16 bits (error 6 otherwise).
int16_t CheckInt16(long long v);

// ---- currency ---------------------------------------------------------------

// Fixed point with four decimals in a 64-bit integer: sums are exact.
class Currency {
 public:
  constexpr Currency() = default;
  static Currency FromDouble(double v);       // rounds to 4 decimals, half even
  static Currency FromText(std::string_view s);  // LeadingNumber, exactly
  static constexpr Currency FromScaled(int64_t ten_thousandths) {
    Currency c;
    c.v_ = ten_thousandths;
    return c;
  }
  constexpr int64_t scaled() const { return v_; }
  double ToDouble() const { return static_cast<double>(v_) / 10000.0; }
  bool IsZero() const { return v_ == 0; }

  // Sums are checked: an amount past the 64-bit range raises error 6
  // instead of wrapping into a wrong total.
  Currency& operator+=(Currency o) {
    if (__builtin_add_overflow(v_, o.v_, &v_)) Raise(kErrOverflow);
    return *this;
  }
  Currency& operator-=(Currency o) {
    if (__builtin_sub_overflow(v_, o.v_, &v_)) Raise(kErrOverflow);
    return *this;
  }
  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b) { return a -= b; }
  friend Currency operator-(Currency a) { return FromScaled(-a.v_); }
  friend auto operator<=>(Currency, Currency) = default;

 private:
  int64_t v_ = 0;
};

// Format masks: "#####0.00", "#0", "#0.0#", "00". Rounding is half away
// from zero on the decimal value. Any other mask raises error 5.
std::string FormatMask(double v, std::string_view mask);
std::string FormatMask(Currency v, std::string_view mask);

// ---- dates ------------------------------------------------------------------

// Day serial: 1 = 31 Dec 1899, 2 = 1 Jan 1900 (the "not set" sentinel).
using Date = int32_t;
inline constexpr Date kDateNotSet = 2;

Date DateFromYmd(int y, int m, int d);  // error 13 when not a real date
void YmdFromDate(Date dt, int& y, int& m, int& d);
int Weekday(Date dt);  // 0 = Sunday
Date Today();

// "M/D/YYYY" (the runtime's date-from-text for month/day/year) -> Date; a
// text that is not a date raises 13.
Date DateFromMdyText(std::string_view s);
// MMDDYYYY (or YYYYMMDD when year_first) -> Date, raising 13 when the text
// is not a date. StringToDate (text_util.h) is the reporting form.
Date DateFromDigits(std::string_view s, bool year_first);
// True for a date as the form prints dates from: eight digits of a real
// day, MMDDYYYY, or CCYYMMDD from the 1900s on ("19" or more first).
bool IsPrintableDate(std::string_view s);

std::string LongDate(Date dt);    // "Sunday, December 6, 2026"
std::string TimeHms();            // "14:03:59", 24-hour, now
std::string FormatMmddyy(Date dt);  // "120626"

// ---- text -------------------------------------------------------------------

std::string UpperAscii(std::string_view s);
std::string Trim(std::string_view s);   // spaces only, both ends
std::string RTrim(std::string_view s);  // trailing spaces only
// Characters 1-based like the runtime's Mid/Left/Right; never fail on a
// short text.
std::string Mid(std::string_view s, long long start1, long long len = -1);
std::string Left(std::string_view s, long long n);
std::string Right(std::string_view s, long long n);
// 1-based position of needle at or after start1, 0 when absent.
long long InStr(std::string_view s, std::string_view needle, long long start1 = 1);

// ---- tokens -----------------------------------------------------------------

using Tokens = std::vector<std::string>;
// Tokens as views into the split text: valid while that text is.
using TokenViews = std::vector<std::string_view>;

// The one tokenizer: trailing spaces removed from each token, "." or a token
// beginning and ending with "." becomes "", a trailing separator adds no
// empty token. An empty separator leaves tokens as they were; a text over
// 32767 bytes raises error 6.
void SplitTokens(std::string_view text, std::string_view sep, Tokens& tokens);
// The same tokens without copying them.
void SplitTokenViews(std::string_view text, std::string_view sep, TokenViews& tokens);

// Token k, or error 9 when the record is shorter.
const std::string& Tok(const Tokens& t, long long k);
std::string_view Tok(const TokenViews& t, long long k);

// ---- inline definitions -----------------------------------------------------

template <class F>
decltype(auto) Guard(F&& body) {
  try {
    return body();
  } catch (const RtError&) {
    throw;
  } catch (const std::bad_alloc&) {
    Raise(kErrOutOfMemory);
  } catch (const std::exception& e) {
    Raise(kErrInvalidCall, e.what());
  }
}

}  // namespace ub04
