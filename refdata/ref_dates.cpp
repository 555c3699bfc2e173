#include "refdata/ref_dates.h"

#include <charconv>

namespace ub04 {

namespace {

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

int Number(std::string_view s) {
  int v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

}  // namespace

Date RefDateFromText(std::string_view text) {
  std::string t = Trim(text);
  std::string_view s = t;
  // Year first: 4-digit year, "-", month, "-", day, then an optional time.
  if (s.size() >= 8 && s[4] == '-' && AllDigits(s.substr(0, 4))) {
    size_t m_end = s.find('-', 5);
    if (m_end == std::string_view::npos) Raise(kErrTypeMismatch);
    size_t d_end = s.find_first_of(" T", m_end + 1);
    std::string_view month = s.substr(5, m_end - 5);
    std::string_view day = s.substr(m_end + 1, d_end == std::string_view::npos
                                                    ? std::string_view::npos
                                                    : d_end - m_end - 1);
    if (month.size() > 2 || day.size() > 2 || !AllDigits(month) || !AllDigits(day))
      Raise(kErrTypeMismatch);
    if (d_end != std::string_view::npos) {
      std::string_view time = s.substr(d_end + 1);
      if (time.find_first_not_of("0123456789:.") != std::string_view::npos ||
          time.find(':') == std::string_view::npos)
        Raise(kErrTypeMismatch);
    }
    return DateFromYmd(Number(s.substr(0, 4)), Number(month), Number(day));
  }
  return DateFromMdyText(s);
}

std::string DateText(Date d) {
  int y, m, day;
  YmdFromDate(d, y, m, day);
  // "M/D/YYYY" in one buffer: the trace writes several at every end of charge.
  char buf[48];
  char* p = std::to_chars(buf, buf + 12, m).ptr;
  *p++ = '/';
  p = std::to_chars(p, p + 12, day).ptr;
  *p++ = '/';
  p = std::to_chars(p, p + 12, y).ptr;
  return std::string(buf, p);
}

}  // namespace ub04
