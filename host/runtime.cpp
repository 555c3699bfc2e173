#include "host/runtime.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

namespace ub04 {

// ---- run-time errors -------------------------------------------------------

std::string_view ErrDescription(int number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    default: return "Application-defined or object-defined error";
  }
}

RtError::RtError(int number, std::string description)
    : number_(number),
      description_(description.empty() ? std::string(ErrDescription(number))
                                       : std::move(description)) {}

void Raise(int number) { throw RtError(number); }
void Raise(int number, std::string description) {
  throw RtError(number, std::move(description));
}

std::string ErrorText(const RtError& e) {
  return SignNum(e.number()) + " " + e.description();
}

// ---- number texts ----------------------------------------------------------

std::string SignNum(long long v) {
  return v < 0 ? std::to_string(v) : " " + std::to_string(v);
}

std::string PlainNum(long long v) { return std::to_string(v); }

std::string GeneralNum(double v) {
  if (v == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  std::string s = buf;
  // %G keeps a trailing-zero-free mantissa already; normalise the exponent
  // form to the runtime's "1E+15" / "1E-05" shape.
  auto e = s.find('E');
  if (e != std::string::npos) {
    std::string mant = s.substr(0, e);
    std::string exp = s.substr(e + 1);
    char sign = exp[0];
    std::string digits = exp.substr(1);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    s = mant + "E" + sign + digits;
  }
  return s;
}

std::string BoolText(bool b) { return b ? "True" : "False"; }

double LeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  std::string buf;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf += s[i++];
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      buf += c;
      digits = true;
    } else if (c == '.' && !point) {
      buf += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  return std::strtod(buf.c_str(), nullptr);
}

int16_t RoundToInt16(double v) {
  if (std::isnan(v)) Raise(kErrOverflow);
  double r = std::nearbyint(v);  // default rounding mode: halves to even
  if (r < -32768.0 || r > 32767.0) Raise(kErrOverflow);
  return static_cast<int16_t>(r);
}

int16_t CheckInt16(long long v) {
  if (v < -32768 || v > 32767) Raise(kErrOverflow);
  return static_cast<int16_t>(v);
}

// ---- decimal rounding --------------------------------------------------------

namespace {

// A non-negative decimal number as digit strings, exact enough for masks.
struct Decimal {
  bool negative = false;
  std::string int_digits = "0";
  std::string frac_digits;
};

Decimal ToDecimal(double v) {
  Decimal d;
  if (!std::isfinite(v)) Raise(kErrOverflow);
  d.negative = v < 0;
  // 15 significant digits, the precision the runtime shows and rounds on.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
  // buf: d.dddddddddddddde[+-]xx
  std::string mant;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') mant += *p;
  int exp = std::atoi(p + 1);
  // value = 0.mant * 10^(exp+1)
  int point = exp + 1;
  if (point <= 0) {
    d.int_digits = "0";
    d.frac_digits = std::string(-point, '0') + mant;
  } else if (point >= static_cast<int>(mant.size())) {
    d.int_digits = mant + std::string(point - mant.size(), '0');
  } else {
    d.int_digits = mant.substr(0, point);
    d.frac_digits = mant.substr(point);
  }
  return d;
}

Decimal ToDecimal(Currency c) {
  Decimal d;
  int64_t v = c.scaled();
  d.negative = v < 0;
  uint64_t a = v < 0 ? static_cast<uint64_t>(-(v + 1)) + 1 : static_cast<uint64_t>(v);
  d.int_digits = std::to_string(a / 10000);
  char frac[8];
  std::snprintf(frac, sizeof frac, "%04u", static_cast<unsigned>(a % 10000));
  d.frac_digits = frac;
  return d;
}

// Rounds half away from zero to `places` decimals.
void RoundDecimal(Decimal& d, size_t places) {
  if (d.frac_digits.size() <= places) {
    d.frac_digits.resize(places, '0');
    return;
  }
  bool up = d.frac_digits[places] >= '5';
  d.frac_digits.resize(places);
  if (!up) return;
  std::string all = d.int_digits + d.frac_digits;
  int i = static_cast<int>(all.size()) - 1;
  for (; i >= 0; --i) {
    if (all[i] == '9') {
      all[i] = '0';
    } else {
      ++all[i];
      break;
    }
  }
  if (i < 0) all.insert(all.begin(), '1');
  d.int_digits = all.substr(0, all.size() - places);
  d.frac_digits = all.substr(all.size() - places);
}

std::string ApplyMask(Decimal d, std::string_view mask) {
  size_t min_int = 1, max_frac = 0, min_frac = 0;
  if (mask == "#####0.00") {
    min_frac = max_frac = 2;
  } else if (mask == "#0") {
  } else if (mask == "#0.0#") {
    min_frac = 1;
    max_frac = 2;
  } else if (mask == "00") {
    min_int = 2;
  } else {
    Raise(kErrInvalidCall);
  }
  RoundDecimal(d, max_frac);
  while (d.frac_digits.size() > min_frac && d.frac_digits.back() == '0')
    d.frac_digits.pop_back();
  while (d.int_digits.size() > 1 && d.int_digits[0] == '0') d.int_digits.erase(0, 1);
  if (d.int_digits.size() < min_int)
    d.int_digits.insert(0, min_int - d.int_digits.size(), '0');
  bool zero = d.int_digits.find_first_not_of('0') == std::string::npos &&
              d.frac_digits.find_first_not_of('0') == std::string::npos;
  std::string out = (d.negative && !zero) ? "-" : "";
  out += d.int_digits;
  if (!d.frac_digits.empty()) out += "." + d.frac_digits;
  return out;
}

}  // namespace

Currency Currency::FromDouble(double v) {
  if (!std::isfinite(v) || std::fabs(v) > 9.2e14) Raise(kErrOverflow);
  return FromScaled(static_cast<int64_t>(std::nearbyint(v * 10000.0)));
}

Currency Currency::FromText(std::string_view s) {
  // Exact decimal read of the leading number: no binary rounding on the way.
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  int64_t whole = 0, frac = 0;
  int frac_len = 0;
  bool point = false, round_up = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      if (!point) {
        if (whole > 92'000'000'000'000) Raise(kErrOverflow);
        whole = whole * 10 + (c - '0');
      } else if (frac_len < 4) {
        frac = frac * 10 + (c - '0');
        ++frac_len;
      } else if (frac_len == 4) {
        round_up = c >= '5';  // banker's rounding is not worth it past 4 places
        ++frac_len;
      }
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  while (frac_len < 4) {
    frac *= 10;
    ++frac_len;
  }
  int64_t v = whole * 10000 + frac + (round_up ? 1 : 0);
  return FromScaled(neg ? -v : v);
}

std::string FormatMask(double v, std::string_view mask) {
  return ApplyMask(ToDecimal(v), mask);
}

std::string FormatMask(Currency v, std::string_view mask) {
  return ApplyMask(ToDecimal(v), mask);
}

// ---- dates ------------------------------------------------------------------

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's method).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

const long long kSerialEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool ParseInt(std::string_view s, int& out) {
  if (s.empty() || s.size() > 9) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = v;
  return true;
}

}  // namespace

Date DateFromYmd(int y, int m, int d) {
  if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
    Raise(kErrTypeMismatch);
  return static_cast<Date>(DaysFromCivil(y, m, d) - kSerialEpoch);
}

void YmdFromDate(Date dt, int& y, int& m, int& d) {
  long long z = dt + kSerialEpoch + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

int Weekday(Date dt) {
  // Serial 1 (31 Dec 1899) was a Sunday.
  int w = (dt - 1) % 7;
  return w < 0 ? w + 7 : w;
}

Date Today() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return DateFromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

Date DateFromMdyText(std::string_view s) {
  std::string t = Trim(s);
  size_t a = t.find('/');
  size_t b = a == std::string::npos ? a : t.find('/', a + 1);
  if (b == std::string::npos) Raise(kErrTypeMismatch);
  int m, d, y;
  if (!ParseInt(std::string_view(t).substr(0, a), m) ||
      !ParseInt(std::string_view(t).substr(a + 1, b - a - 1), d) ||
      !ParseInt(std::string_view(t).substr(b + 1), y))
    Raise(kErrTypeMismatch);
  if (y < 30 && t.size() - b - 1 <= 2) y += 2000;
  else if (y < 100 && t.size() - b - 1 <= 2) y += 1900;
  return DateFromYmd(y, m, d);
}

Date DateFromDigits(std::string_view s, bool year_first) {
  std::string text = year_first
                         ? Mid(s, 5, 2) + "/" + Mid(s, 7, 2) + "/" + Mid(s, 1, 4)
                         : Mid(s, 1, 2) + "/" + Mid(s, 3, 2) + "/" + Mid(s, 5, 4);
  return DateFromMdyText(text);
}

std::string LongDate(Date dt) {
  static constexpr std::array<const char*, 7> kDays = {
      "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  static constexpr std::array<const char*, 12> kMonths = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  int y, m, d;
  YmdFromDate(dt, y, m, d);
  return std::string(kDays[Weekday(dt)]) + ", " + kMonths[m - 1] + " " +
         std::to_string(d) + ", " + std::to_string(y);
}

std::string TimeHms() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

std::string FormatMmddyy(Date dt) {
  int y, m, d;
  YmdFromDate(dt, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d", m, d, y % 100);
  return buf;
}

// ---- text -------------------------------------------------------------------

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::string RTrim(std::string_view s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Mid(std::string_view s, long long start1, long long len) {
  if (start1 < 1) Raise(kErrInvalidCall);
  if (static_cast<size_t>(start1) > s.size()) return {};
  size_t from = static_cast<size_t>(start1 - 1);
  if (len < 0) return std::string(s.substr(from));
  return std::string(s.substr(from, static_cast<size_t>(len)));
}

std::string Left(std::string_view s, long long n) {
  if (n < 0) Raise(kErrInvalidCall);
  return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string Right(std::string_view s, long long n) {
  if (n < 0) Raise(kErrInvalidCall);
  size_t k = static_cast<size_t>(n);
  return k >= s.size() ? std::string(s) : std::string(s.substr(s.size() - k));
}

long long InStr(std::string_view s, std::string_view needle, long long start1) {
  if (start1 < 1) Raise(kErrInvalidCall);
  if (static_cast<size_t>(start1 - 1) > s.size()) return 0;
  size_t p = s.find(needle, static_cast<size_t>(start1 - 1));
  return p == std::string_view::npos ? 0 : static_cast<long long>(p) + 1;
}

// ---- tokens -----------------------------------------------------------------

void SplitTokens(std::string_view text, std::string_view sep, Tokens& tokens) {
  if (sep.empty()) return;
  CheckInt16(static_cast<long long>(text.size()));
  tokens.assign(1, std::string());
  if (text.empty()) return;
  size_t p = 0;
  size_t i = 0;
  bool first = true;
  while (p < text.size()) {
    size_t f = text.find(sep, p);
    std::string_view tok;
    if (f == std::string_view::npos) {
      tok = text.substr(p);
      p = text.size();
    } else {
      tok = text.substr(p, f - p);
      p = f + sep.size();
    }
    size_t e = tok.find_last_not_of(' ');
    tok = e == std::string_view::npos ? std::string_view() : tok.substr(0, e + 1);
    if (tok == "." || (tok.size() > 1 && tok.front() == '.' && tok.back() == '.'))
      tok = {};
    if (first) {
      tokens[0].assign(tok);
      first = false;
    } else {
      tokens.emplace_back(tok);
    }
    ++i;
  }
}

const std::string& Tok(const Tokens& t, long long k) {
  if (k < 0 || static_cast<size_t>(k) >= t.size()) Raise(kErrSubscript);
  return t[static_cast<size_t>(k)];
}

}  // namespace ub04
