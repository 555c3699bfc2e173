#include "base/runtime.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  char buf[24];
  char* p = buf;
  if (v >= 0) *p++ = ' ';
  return std::string(buf, std::to_chars(p, buf + sizeof buf, v).ptr);
}

std::string PlainNum(long long v) {
  char buf[24];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string GeneralNum(double v) {
  if (v == 0) return "0";
  // std::to_chars with a precision is printf's "%.15g" without its cost.
  char buf[64];
  std::string s(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15).ptr);
  // Normalise the exponent form to the runtime's "1E+15" / "1E-05" shape.
  auto e = s.find('e');
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

std::string GeneralNum(Currency v) {
  // An amount of at most 15 digits has at most 15 significant digits, which
  // survive the trip through the nearest double: its general form is the
  // amount itself without trailing zeros, built here from the integer.
  constexpr int64_t kExactBelow = 1'000'000'000'000'000;
  const int64_t scaled = v.scaled();
  if (scaled <= -kExactBelow || scaled >= kExactBelow) return GeneralNum(v.ToDouble());
  if (scaled == 0) return "0";
  const uint64_t a = static_cast<uint64_t>(scaled < 0 ? -scaled : scaled);
  char buf[32];
  char* p = buf;
  if (scaled < 0) *p++ = '-';
  p = std::to_chars(p, buf + sizeof buf, a / 10000).ptr;
  unsigned frac = static_cast<unsigned>(a % 10000);
  if (frac != 0) {
    *p++ = '.';
    for (unsigned div = 1000; frac != 0; div /= 10) {
      *p++ = static_cast<char>('0' + frac / div);
      frac %= div;
    }
  }
  return std::string(buf, p);
}

std::string BoolText(bool b) { return b ? "True" : "False"; }

namespace {

// The number s starts with, after its leading blanks: [begin, end) holds a
// sign, digits and at most one point; digits tells whether any digit came.
struct NumberSpan {
  size_t begin, end;
  bool digits;
};

NumberSpan ScanLeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  NumberSpan span{i, i, false};
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      span.digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  span.end = i;
  return span;
}

}  // namespace

double LeadingNumber(std::string_view s) {
  const NumberSpan n = ScanLeadingNumber(s);
  if (!n.digits) return 0;
  return std::strtod(std::string(s.substr(n.begin, n.end - n.begin)).c_str(), nullptr);
}

bool IsPlainNumber(std::string_view s) {
  const NumberSpan n = ScanLeadingNumber(s);
  const size_t last = s.find_last_not_of(' ');
  if (last == std::string_view::npos) return true;  // blank: an empty field
  return n.digits && n.end == last + 1;
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
  // Same text as printf's "%.14e": d.dddddddddddddde[+-]xx
  *std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific, 14)
       .ptr = '\0';
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

// What a mask asks for: at least min_int integer digits, and between
// min_frac and max_frac decimals. Any other mask raises error 5.
struct MaskShape {
  size_t min_int = 1, min_frac = 0, max_frac = 0;
};

MaskShape ShapeOf(std::string_view mask) {
  if (mask == "#####0.00") return {1, 2, 2};
  if (mask == "#0") return {1, 0, 0};
  if (mask == "#0.0#") return {1, 1, 2};
  if (mask == "00") return {2, 0, 0};
  Raise(kErrInvalidCall);
}

std::string ApplyMask(Decimal d, const MaskShape& m) {
  RoundDecimal(d, m.max_frac);
  while (d.frac_digits.size() > m.min_frac && d.frac_digits.back() == '0')
    d.frac_digits.pop_back();
  while (d.int_digits.size() > 1 && d.int_digits[0] == '0') d.int_digits.erase(0, 1);
  if (d.int_digits.size() < m.min_int)
    d.int_digits.insert(0, m.min_int - d.int_digits.size(), '0');
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
  return ApplyMask(ToDecimal(v), ShapeOf(mask));
}

std::string FormatMask(Currency v, std::string_view mask) {
  // The amount is already decimal: round and print it in integers, with the
  // rules ApplyMask follows for a double.
  const MaskShape m = ShapeOf(mask);
  const int64_t scaled = v.scaled();
  const uint64_t a = scaled < 0 ? static_cast<uint64_t>(-(scaled + 1)) + 1
                                : static_cast<uint64_t>(scaled);
  // Half away from zero: the magnitude is rounded up from the half.
  static constexpr uint64_t kUnit[] = {10000, 1000, 100};  // by max_frac
  const uint64_t unit = kUnit[m.max_frac];
  const uint64_t q = a / unit + (a % unit >= unit / 2 ? 1 : 0);
  uint64_t whole = q, frac = 0;
  size_t places = m.max_frac;
  if (places > 0) {
    const uint64_t ten_places = places == 1 ? 10 : 100;
    whole = q / ten_places;
    frac = q % ten_places;
    while (places > m.min_frac && frac % 10 == 0) {
      frac /= 10;
      --places;
    }
  }
  char buf[48];
  char* p = buf;
  if (scaled < 0 && q != 0) *p++ = '-';
  if (m.min_int == 2 && whole < 10) *p++ = '0';
  p = std::to_chars(p, buf + sizeof buf, whole).ptr;
  if (places > 0) {
    *p++ = '.';
    if (places == 2) *p++ = static_cast<char>('0' + frac / 10);
    *p++ = static_cast<char>('0' + frac % 10);
  }
  return std::string(buf, p);
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

bool IsPrintableDate(std::string_view s) {
  if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string_view::npos) return false;
  try {
    DateFromDigits(s, s.substr(0, 2) > "18");
    return true;
  } catch (const RtError&) {
    return false;
  }
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
  // memmem rather than find: find stops at every byte equal to the first
  // of needle and compares from there, which code lists full of "~" make slow.
  const size_t from = static_cast<size_t>(start1 - 1);
  if (needle.empty()) return static_cast<long long>(from) + 1;
  if (s.size() - from < needle.size()) return 0;
  const void* hit = memmem(s.data() + from, s.size() - from, needle.data(), needle.size());
  return hit ? static_cast<const char*>(hit) - s.data() + 1 : 0;
}

// ---- tokens -----------------------------------------------------------------

namespace {

// Calls take(token) for each token of text, in order; the rules are those
// of SplitTokens. sep is not empty. A record holds hundreds of tokens of a
// few bytes each, so the scan goes on across tokens rather than starting
// over for each: the first byte of sep is looked for sixteen bytes at a
// time, and each place found (left to right, none inside a separator just
// taken) is tested for the rest of sep.
template <class Take>
void ForEachToken(std::string_view text, std::string_view sep, Take&& take) {
  CheckInt16(static_cast<long long>(text.size()));
  if (text.empty()) {
    take(std::string_view());
    return;
  }
  const char* p = text.data();  // where the next token starts
  const char* const end = p + text.size();
  const size_t m = sep.size();
  // The token [p, q), trimmed: trailing blanks go, "." and ".x." are empty.
  auto token_to = [&](const char* q) __attribute__((always_inline)) {
    while (q != p && q[-1] == ' ') --q;
    if (q != p && *p == '.' && q[-1] == '.') q = p;
    take(std::string_view(p, static_cast<size_t>(q - p)));
  };
  auto starts_at = [&](const char* q) __attribute__((always_inline)) {
    for (size_t i = 1; i < m; ++i)
      if (q[i] != sep[i]) return false;
    return true;
  };
  if (text.size() >= m) {
    const char* const last = end - m;  // the last place sep can start
    const char* q = p;
#if defined(__SSE2__)
    // Whole blocks of places sep can start at: the rest of sep is in the text.
    const __m128i first = _mm_set1_epi8(sep[0]);
    for (; last - q >= 15; q += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
      for (unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, first)));
           hits != 0; hits &= hits - 1) {
        const char* at = q + __builtin_ctz(hits);
        if (at >= p && starts_at(at)) {
          token_to(at);
          p = at + m;
        }
      }
    }
    if (q < p) q = p;
#endif
    while (q <= last) {
      if (*q == sep[0] && starts_at(q)) {
        token_to(q);
        q = p = q + m;
      } else {
        ++q;
      }
    }
  }
  if (p < end) token_to(end);  // no separator after it: the last token
}

}  // namespace

void SplitTokens(std::string_view text, std::string_view sep, Tokens& tokens) {
  if (sep.empty()) return;
  CheckInt16(static_cast<long long>(text.size()));
  // At most one token more than there are first bytes of sep: room for
  // them in one allocation, not one per doubling. The strings already in
  // the vector are reused, so a caller that keeps its vector pays no
  // allocation for tokens that fit their old capacity.
  const size_t most = static_cast<size_t>(std::count(text.begin(), text.end(), sep[0])) + 1;
  if (tokens.capacity() < most) tokens.reserve(most);
  size_t n = 0;
  auto take = [&](std::string_view tok) {
    if (n < tokens.size()) tokens[n].assign(tok);
    else tokens.emplace_back(tok);
    ++n;
  };
  ForEachToken(text, sep, take);
  tokens.resize(n);
}

void SplitTokenViews(std::string_view text, std::string_view sep, TokenViews& tokens) {
  if (sep.empty()) return;
  CheckInt16(static_cast<long long>(text.size()));
  tokens.clear();
  ForEachToken(text, sep, [&](std::string_view tok) { tokens.push_back(tok); });
}

const std::string& Tok(const Tokens& t, long long k) {
  if (k < 0 || static_cast<size_t>(k) >= t.size()) Raise(kErrSubscript);
  return t[static_cast<size_t>(k)];
}

std::string_view Tok(const TokenViews& t, long long k) {
  if (k < 0 || static_cast<size_t>(k) >= t.size()) Raise(kErrSubscript);
  return t[static_cast<size_t>(k)];
}

}  // namespace ub04
