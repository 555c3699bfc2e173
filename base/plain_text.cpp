#include "base/plain_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace ub04 {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// U+00A0 to U+017F: the plain form of each character, "" when it has none
// (a symbol: dropped and named).
constexpr const char* kLatin[] = {
    // A0: no-break space, ¡ ¢ £ ¤ ¥ ¦ § ¨ © ª « ¬ soft hyphen ® ¯
    " ", "!", "", "", "", "", "", "", "", "(C)", "a", "\"", "", "", "(R)", "",
    // B0: ° ± ² ³ ´ µ ¶ · ¸ ¹ º » ¼ ½ ¾ ¿
    "", "", "2", "3", "'", "", "", ".", "", "1", "o", "\"", "1/4", "1/2", "3/4", "?",
    // C0: À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    // D0: Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    // E0: à á â ã ä å æ ç è é ê ë ì í î ï
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // F0: ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
    "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y",
    // 100: Ā ā Ă ă Ą ą Ć ć Ĉ ĉ Ċ ċ Č č Ď ď
    "A", "a", "A", "a", "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",
    // 110: Đ đ Ē ē Ĕ ĕ Ė ė Ę ę Ě ě Ĝ ĝ Ğ ğ
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",
    // 120: Ġ ġ Ģ ģ Ĥ ĥ Ħ ħ Ĩ ĩ Ī ī Ĭ ĭ Į į
    "G", "g", "G", "g", "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",
    // 130: İ ı Ĳ ĳ Ĵ ĵ Ķ ķ ĸ Ĺ ĺ Ļ ļ Ľ ľ Ŀ
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",
    // 140: ŀ Ł ł Ń ń Ņ ņ Ň ň ŉ Ŋ ŋ Ō ō Ŏ ŏ
    "l", "L", "l", "N", "n", "N", "n", "N", "n", "'n", "N", "n", "O", "o", "O", "o",
    // 150: Ő ő Œ œ Ŕ ŕ Ŗ ŗ Ř ř Ś ś Ŝ ŝ Ş ş
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",
    // 160: Š š Ţ ţ Ť ť Ŧ ŧ Ũ ũ Ū ū Ŭ ŭ Ů ů
    "S", "s", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",
    // 170: Ű ű Ų ų Ŵ ŵ Ŷ ŷ Ÿ Ź ź Ż ż Ž ž ſ
    "U", "u", "U", "u", "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s",
};
static_assert(std::size(kLatin) == 0x180 - 0xA0);

// Typographic marks and the few other characters a host's text commonly
// holds.
struct Mark {
  char32_t from;
  const char* to;
};
constexpr Mark kMarks[] = {
    {0x0192, "f"},   {0x02B9, "'"},  {0x02BC, "'"},   {0x02C6, "^"},   {0x02DC, "~"},
    {0x2010, "-"},   {0x2011, "-"},  {0x2012, "-"},   {0x2013, "-"},   {0x2014, "-"},
    {0x2015, "-"},   {0x2018, "'"},  {0x2019, "'"},   {0x201A, "'"},   {0x201B, "'"},
    {0x201C, "\""},  {0x201D, "\""}, {0x201E, "\""},  {0x201F, "\""},  {0x2022, "*"},
    {0x2026, "..."}, {0x2032, "'"},  {0x2033, "\""},  {0x2039, "<"},   {0x203A, ">"},
    {0x20AC, "EUR"}, {0x2122, "TM"}, {0x2212, "-"},
};

// Characters that show nothing: dropped without a word.
bool Invisible(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F)     // combining marks: the letter stays plain
         || (c >= 0x200B && c <= 0x200F)  // zero-width spaces and joiners, direction marks
         || c == 0xFEFF || c == 0x00AD;   // byte-order mark, soft hyphen
}

// The plain form of one character; nullptr when it has none.
const char* PlainOf(char32_t c, char (&one)[2]) {
  if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) return " ";  // control characters
  if (c < 0x7F) {
    one[0] = static_cast<char>(c);
    one[1] = '\0';
    return one;
  }
  if (Invisible(c)) return "";
  if (c >= 0x2000 && c <= 0x200A) return " ";  // the typographic spaces
  if (c >= 0xA0 && c < 0x180) {
    const char* plain = kLatin[c - 0xA0];
    return *plain ? plain : nullptr;
  }
  for (const Mark& m : kMarks)
    if (m.from == c) return m.to;
  return nullptr;
}

// The next character of valid UTF-8 at text[i], advancing i; false when
// what is there is not UTF-8 (overlong, a surrogate, past U+10FFFF, cut).
bool NextUtf8(std::string_view text, size_t& i, char32_t& c) {
  const unsigned char b = static_cast<unsigned char>(text[i]);
  int extra;
  if (b < 0x80) extra = 0;
  else if ((b & 0xE0) == 0xC0) extra = 1;
  else if ((b & 0xF0) == 0xE0) extra = 2;
  else if ((b & 0xF8) == 0xF0) extra = 3;
  else return false;
  if (text.size() - i <= static_cast<size_t>(extra)) return false;  // cut short
  c = extra == 0 ? b : b & (0x3Fu >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char cont = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
    if ((cont & 0xC0) != 0x80) return false;
    c = (c << 6) | (cont & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  i += static_cast<size_t>(extra) + 1;
  return true;
}

bool ValidUtf8(std::string_view text) {
  char32_t c;
  for (size_t i = 0; i < text.size();)
    if (!NextUtf8(text, i, c)) return false;
  return true;
}

std::string Named(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

}  // namespace

bool IsPrintableAscii(std::string_view text) {
  // Sixteen bytes at a time: as signed bytes, 0x80 to 0xFF are negative,
  // so a byte is printable when it is at least ' ' and not DEL.
  typedef signed char Block __attribute__((vector_size(16)));
  const char* p = text.data();
  const char* const end = p + text.size();
  for (; end - p >= 16; p += 16) {
    Block v;
    std::memcpy(&v, p, sizeof v);
    const Block bad = (v < ' ') | (v == 0x7F);
    uint64_t half[2];
    std::memcpy(half, &bad, sizeof half);
    if ((half[0] | half[1]) != 0) return false;
  }
  for (; p != end; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

std::string ToPrintableAscii(std::string_view text, std::vector<std::string>& dropped) {
  std::string out;
  out.reserve(text.size());
  const bool utf8 = ValidUtf8(text);
  for (size_t i = 0; i < text.size();) {
    char32_t c;
    if (utf8) {
      NextUtf8(text, i, c);
    } else {
      const unsigned char b = static_cast<unsigned char>(text[i++]);
      c = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b;
      if (c == 0) c = b;  // a byte the code page leaves undefined: a control character
    }
    char one[2];
    if (const char* plain = PlainOf(c, one)) {
      // The sharp s has no capital of its own in most texts: in a word of
      // capitals it is written SS.
      const bool in_capitals = !out.empty() && out.back() >= 'A' && out.back() <= 'Z';
      out += c == 0xDF && in_capitals ? "SS" : plain;
      continue;
    }
    std::string name = Named(c);
    if (std::find(dropped.begin(), dropped.end(), name) == dropped.end())
      dropped.push_back(std::move(name));
  }
  return out;
}

}  // namespace ub04
