// Small text and date helpers shared by the parsers and the form writers.
// They never raise: a run-time error inside one is reported in a message box
// (for ReplaceDot and SquashDot also queued on cx) and the result is what had
// been produced by then.
#pragma once

#include <string>
#include <string_view>

#include "base/context.h"
#include "base/runtime.h"

namespace ub04 {

// Keeps digits, upper-case letters and " .,-_()/\'&" of text, in place; a
// text too long to take is reported and emptied.
void SquashAllPunctuation(Context& cx, std::string& text);
// Every "." becomes a space, in place.
std::string ReplaceDot(Context& cx, std::string& text);
// The text without any ".".
std::string SquashDot(Context& cx, const std::string& text);
// Removes "/" and "-" in place; 6 to 8 remaining characters are reordered
// from MMDDYYYY to YYYYMMDD.
std::string ReorderDateToYmd(std::string& text);
// Pads a shorter text to len with pad, text at the start (left_align) or end.
std::string PadText(std::string& text, int len, char pad, bool left_align);
// "19-ABC;DEF" -> "ABC DEF": a leading "19-" is removed and the first ";"
// of the rest becomes a space.
std::string Strip19FromNarrative(Context& cx, std::string& text);
// whole without the first occurrence of part.
std::string StripMidStringFromWholeString(Context& cx, std::string_view part, std::string_view whole);
// Splits at the first sep (which becomes a space): trimmed left and right.
void SplitAtFirst(std::string_view text, char sep, std::string& left, std::string& right);
void DeleteFileQuietly(const std::string& path);
// A key or record as a message quotes it: the first kMessageQuoteChars
// characters, then "… (N characters)" when it is longer, so that a runaway
// input cannot flood the host's messages. The run log keeps whole records.
inline constexpr size_t kMessageQuoteChars = 200;
std::string ClipForMessage(std::string_view text);
// A record key as messages quote it: clipped like any text, and in every run
// of slashes all but the last a space ("A//B//C" -> "A /B /C").
std::string KeyForMessage(std::string_view key);

// Finds "~" + code in list and returns the text behind the five-character
// code up to the next "~"; False when absent or empty.
bool FindCodeValue(std::string_view list, std::string_view code, std::string& value);
// MMDDYYYY (YYYYMMDD when year_first) as a date; a text that is not a date
// is reported in a message box and gives 0.
Date StringToDate(Context& cx, std::string_view text, bool year_first);

}  // namespace ub04
