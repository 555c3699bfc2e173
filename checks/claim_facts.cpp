#include "checks/claim_facts.h"

#include <cstdio>

namespace ub04 {

namespace {

int Number(std::string_view digits) {
  int v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

bool Letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool Digit(char c) { return c >= '0' && c <= '9'; }

std::optional<Ymd> Real(int y, int m, int d) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1800 || m < 1 || m > 12 || d < 1) return std::nullopt;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  const int days = kDays[m - 1] + (m == 2 && leap ? 1 : 0);
  if (d > days) return std::nullopt;
  return y * 10000 + m * 100 + d;
}

bool OneOf(char c, std::string_view allowed) { return allowed.find(c) != std::string_view::npos; }

// The NUBC classification digits by facility digit: 1-6 are institutions
// (inpatient, outpatient, swing beds...), 7 clinics, 8 special facilities.
std::string_view Classifications(char facility) {
  switch (facility) {
    case '1': case '2': case '3': case '4': case '6': return "1234568";
    case '7': return "12345679";
    case '8': return "1234569";
    default: return "";
  }
}

// Frequency codes: 0-5, 7, 8, 9 and the letter codes of notices and
// adjustments (hospice elections, payer-initiated adjustments).
constexpr std::string_view kFrequencies = "012345789ABCDEFGHIJKMPQ";

}  // namespace

std::optional<Ymd> DateMmddyyyy(std::string_view t) {
  if (t.size() != 8 || !AllDigits(t)) return std::nullopt;
  return Real(Number(t.substr(4, 4)), Number(t.substr(0, 2)), Number(t.substr(2, 2)));
}

std::optional<Ymd> DateCcyymmdd(std::string_view t) {
  if (t.size() != 8 || !AllDigits(t)) return std::nullopt;
  return Real(Number(t.substr(0, 4)), Number(t.substr(4, 2)), Number(t.substr(6, 2)));
}

std::optional<Ymd> DateMmddyy(std::string_view t) {
  if (t.size() != 6 || !AllDigits(t)) return std::nullopt;
  return Real(2000 + Number(t.substr(4, 2)), Number(t.substr(0, 2)), Number(t.substr(2, 2)));
}

std::string YmdText(Ymd date) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", date / 100 % 100, date % 100, date / 10000);
  return buf;
}

std::optional<TypeOfBill> ParseTypeOfBill(std::string_view text) {
  if (!TypeOfBillTrouble(text).empty()) return std::nullopt;
  return TypeOfBill{text[1], text[2], text[3]};
}

std::string TypeOfBillTrouble(std::string_view t) {
  if (t.empty()) return "no type of bill";
  if (t.size() != 4) return "not four characters";
  if (t[0] != '0') return "no leading 0";
  if (!Digit(t[1]) || !Digit(t[2])) return "facility and classification are not digits";
  if (Classifications(t[1]).empty())
    return std::string("facility ") + t[1] + " is not a facility type (1-4, 6-8)";
  if (!OneOf(t[2], Classifications(t[1])))
    return std::string("classification ") + t[2] + " is not one of facility " + t[1] +
           "'s (" + std::string(Classifications(t[1])) + ")";
  if (!OneOf(t[3], kFrequencies))
    return std::string("frequency ") + t[3] + " is not a frequency code (0-5, 7-9 or a letter code)";
  return "";
}

bool IsInpatient(const TypeOfBill& t) {
  const bool institution = OneOf(t.facility, "1246");
  return (institution && OneOf(t.classification, "12")) ||
         (OneOf(t.facility, "12") && t.classification == '8') ||
         (t.facility == '6' && OneOf(t.classification, "56"));
}

bool IsHomeHealth(const TypeOfBill& t) { return t.facility == '3'; }

bool IsHospice(const TypeOfBill& t) { return t.facility == '8' && OneOf(t.classification, "12"); }

bool IsOutpatient(const TypeOfBill& t) {
  if (OneOf(t.facility, "1246")) return OneOf(t.classification, "34");
  if (t.facility == '7') return true;
  return t.facility == '8' && OneOf(t.classification, "345");
}

bool IsHospitalOutpatient(const TypeOfBill& t) {
  return (t.facility == '1' && OneOf(t.classification, "34")) ||
         (t.facility == '8' && t.classification == '5');
}

std::string NpiShapeTrouble(std::string_view npi) {
  if (npi.size() != 10 || !AllDigits(npi)) return "not 10 digits";
  if (npi[0] != '1' && npi[0] != '2') return "does not start with 1 or 2";
  return "";
}

char NpiCheckDigit(std::string_view first_nine) {
  // The Luhn formula over "80840" and the nine digits: from the right,
  // every other digit doubled (its digits added), starting with the last.
  const std::string digits = "80840" + std::string(first_nine);
  int sum = 0;
  bool twice = true;
  for (size_t i = digits.size(); i-- > 0; twice = !twice) {
    int d = digits[i] - '0';
    if (twice) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
    sum += d;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool NpiCheckDigitHolds(std::string_view npi) {
  return NpiShapeTrouble(npi).empty() && NpiCheckDigit(npi.substr(0, 9)) == npi[9];
}

std::string Icd10CmTrouble(std::string_view c) {
  if (c.find('.') != std::string_view::npos) return "a decimal point (the form prints none)";
  if (c.size() < 3 || c.size() > 7) return "not 3 to 7 characters";
  if (!Letter(c[0]) || !Digit(c[1])) return "not a letter and a digit first";
  for (char ch : c.substr(2))
    if (!Letter(ch) && !Digit(ch)) return "a character that is neither a letter nor a digit";
  return "";
}

std::string Icd9CmTrouble(std::string_view c) {
  if (c.find('.') != std::string_view::npos) return "a decimal point (the form prints none)";
  const char first = c.empty() ? 0 : c[0];
  if (first == 'V' || first == 'v') {
    if (c.size() >= 3 && c.size() <= 5 && AllDigits(c.substr(1))) return "";
    return "V and not two to four digits";
  }
  if (first == 'E' || first == 'e') {
    if (c.size() >= 4 && c.size() <= 5 && AllDigits(c.substr(1))) return "";
    return "E and not three or four digits";
  }
  if (c.size() >= 3 && c.size() <= 5 && AllDigits(c)) return "";
  return "not three to five digits (or V or E codes)";
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string_view Trimmed(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

}  // namespace ub04
