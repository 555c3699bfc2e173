#include "base/text_util.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/msgbox.h"

namespace ub04 {

namespace {

// Lengths and positions were 16-bit: longer texts fail into the handler.
void Check16(std::string_view s) { CheckInt16(static_cast<long long>(s.size())); }

}  // namespace

void SquashAllPunctuation(Context& cx, std::string& text) {
  // Every record's clean-up fields go through here: the kept bytes are one
  // flag per byte value, worked out once, and move down within the text.
  static const std::array<bool, 256> kKept = [] {
    std::array<bool, 256> kept{};
    for (char c = '0'; c <= '9'; ++c) kept[static_cast<unsigned char>(c)] = true;
    for (char c = 'A'; c <= 'Z'; ++c) kept[static_cast<unsigned char>(c)] = true;
    for (char c : std::string_view(" .,-_()/\\'&")) kept[static_cast<unsigned char>(c)] = true;
    return kept;
  }();
  try {
    Check16(text);
  } catch (const RtError& e) {
    cx.ReportError(" SquashAllPunctuation()\r", e, kShowBox);
    text.clear();
    return;
  }
  text.erase(std::remove_if(text.begin(), text.end(),
                            [](char c) { return !kKept[static_cast<unsigned char>(c)]; }),
             text.end());
}

std::string ReplaceDot(Context& cx, std::string& text) {
  try {
    Check16(text);
    for (char& c : text)
      if (c == '.') c = ' ';
  } catch (const RtError& e) {
    cx.ReportError(" ReplaceDot() Error: ", e, kQueueIt | kShowBox);
  }
  return text;
}

std::string SquashDot(Context& cx, const std::string& text) {
  std::string out;
  try {
    Check16(text);
    for (char c : text)
      if (c != '.') out += c;
  } catch (const RtError& e) {
    cx.ReportError(" SquashDot() Error: ", e, kQueueIt | kShowBox);
  }
  return out;
}

std::string ReorderDateToYmd(std::string& text) {
  std::string cleaned;
  for (char c : text)
    if (c != '/' && c != '-') cleaned += c;
  text = cleaned;
  if (cleaned.size() >= 6 && cleaned.size() <= 8) return Mid(cleaned, 5) + Left(cleaned, 4);
  return cleaned;
}

std::string PadText(std::string& text, int len, char pad, bool left_align) {
  if (static_cast<int>(text.size()) >= len) return text;
  std::string out(static_cast<size_t>(len), pad);
  if (left_align)
    out.replace(0, text.size(), text);
  else
    out.replace(out.size() - text.size(), text.size(), text);
  return out;
}

std::string Strip19FromNarrative(Context& cx, std::string& text) {
  try {
    Check16(text);
    if (text.compare(0, 3, "19-") == 0) {
      text.erase(0, 3);
      size_t p = text.find(';');
      if (p != std::string::npos) text[p] = ' ';
    }
  } catch (const RtError& e) {
    cx.ReportError(" Strip19FromNarrative() Error: ", e, kShowBox);
  }
  return text;
}

std::string StripMidStringFromWholeString(Context& cx, std::string_view part, std::string_view whole) {
  std::string out(whole);
  try {
    Check16(whole);
    if (part.empty()) return out;
    size_t p = out.find(part);
    if (p != std::string::npos) out.erase(p, part.size());
  } catch (const RtError& e) {
    cx.ReportError(" StripMidStringFromWholeString() Error: ", e, kShowBox);
  }
  return out;
}

void SplitAtFirst(std::string_view text, char sep, std::string& left, std::string& right) {
  size_t p = text.find(sep);
  if (p == std::string_view::npos) {
    left = Trim(text);
    right.clear();
    return;
  }
  std::string l = Trim(text.substr(0, p));
  std::string r = Trim(text.substr(p + 1));
  left = std::move(l);
  right = std::move(r);
}

void DeleteFileQuietly(const std::string& path) { std::remove(path.c_str()); }

std::string ClipForMessage(std::string_view text) {
  if (text.size() <= kMessageQuoteChars) return std::string(text);
  std::string out(text.substr(0, kMessageQuoteChars));
  out += "\u2026 (" + PlainNum(static_cast<long long>(text.size())) + " characters)";
  return out;
}

bool FindCodeValue(std::string_view list, std::string_view code, std::string& value) {
  value.clear();
  std::string key = "~" + std::string(code);
  size_t p = list.find(key);
  if (p == std::string_view::npos) return false;
  size_t start = p + 6;  // the character after "~" and a five-character code
  if (start >= list.size()) return false;
  size_t end = list.find('~', start);
  value.assign(list.substr(start, end == std::string_view::npos ? end : end - start));
  return !value.empty();
}

Date StringToDate(Context& cx, std::string_view text, bool year_first) {
  try {
    return DateFromDigits(text, year_first);
  } catch (const RtError& e) {
    cx.ReportError(" StringToDate() Error: ", e, kShowBox);
    return 0;
  }
}

std::string KeyForMessage(std::string_view key) {
  std::string text = ClipForMessage(key);
  const size_t n = std::min(key.size(), kMessageQuoteChars);
  for (size_t i = 0; i < n; ++i)
    if (key[i] == '/' && i + 1 < key.size() && key[i + 1] == '/') text[i] = ' ';
  return text;
}

}  // namespace ub04
