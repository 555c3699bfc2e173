// Record texts as the form can print them: plain ASCII.
//
// Hosts send names and descriptions in UTF-8 or in Windows-1252, and the
// form prints neither: the formatted-record file and the page hold ASCII
// only. A text is read as UTF-8 when it is valid UTF-8, else as
// Windows-1252 (decided per text, so every host gets the same result), and
// each character becomes what a clerk would type for it:
//
//   * letters with marks their plain letters of the same case: "JOSÉ" ->
//     "JOSE", "Muñoz" -> "Munoz", "ß" -> "ss" ("SS" after a capital),
//     "Æ" -> "AE";
//   * typographic marks their ASCII forms: ’ -> ', “ ” -> ", – — -> -,
//     … -> ..., a no-break space -> a space;
//   * control characters (a TAB, a stray CR) a space;
//   * anything else (a symbol, a letter of another script) is dropped and
//     named, so that the caller can say so.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ub04 {

// True when text holds nothing but printable ASCII (0x20 to 0x7E): it
// prints as it is.
bool IsPrintableAscii(std::string_view text);

// The printable form of text (see above). Each character dropped is added
// to dropped as "U+2603", once.
std::string ToPrintableAscii(std::string_view text, std::vector<std::string>& dropped);

}  // namespace ub04
