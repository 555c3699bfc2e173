#include "compose/boxes.h"

#include <array>
#include <utility>

#include "form/form_positions.h"
#include "base/msgbox.h"

namespace ub04 {

int16_t WriteAllPageButDetail(Page& page) {
  page.log().Line("WriteAllPageButDetail()");
  try {
    Guard([&] {
      WriteBoxes01To41(page);
      WriteBoxes50To81(page);
    });
  } catch (const RtError& e) {
    ReportWriterError(page, " WriteAllPageButDetail()  Error: ", e);
  }
  return 0;
}

void ReportWriterError(const Page& page, std::string_view what, const RtError& e) {
  page.env.cx.ReportError(what, e, kQueueIt | kKeepAsErrorMsg | kShowBox);
  // What it failed to write leaves the claim wrong: it must not go out.
  if (page.out.failure.empty()) page.out.failure = std::string(Trim(what)) + " " + Trim(ErrorText(e));
}

std::string FormatDateMMDDYY(std::string_view date) {
  if (date.size() < 8) return std::string(date);
  // A leading "19" or "20" is a century: the text is CCYYMMDD.
  if (date.substr(0, 2) > "18") return Mid(date, 5, 4) + Mid(date, 3, 2);
  return Mid(date, 1, 4) + Mid(date, 7);
}

void WriteOccurrenceCode(const Page& page, int index, std::string_view code, std::string_view date) {
  constexpr int kSlots = static_cast<int>(pos::kBoxes31To34X.size());
  if (index > kSlots) page.CodeLeftOut("31-34", kSlots, "occurrence codes", code);
  if (index < 1 || index > kSlots) return;
  float x = pos::kBoxes31To34X[static_cast<size_t>(index - 1)];
  if (page.first_page()) page.record().occurrence_codes.push_back({std::string(code), std::string(date)});
  page.Put(code, x, pos::kBoxes31To34Y);
  page.Put(date, x + pos::kBoxes31To34DateOffset, pos::kBoxes31To34Y);
}

void WriteValueCode(const Page& page, int index, std::string_view code, std::string_view amount) {
  constexpr int kColumns = static_cast<int>(pos::kBoxes39To41X.size());
  constexpr int kSlots = kColumns * static_cast<int>(pos::kBoxes39To41RowY.size());
  if (index > kSlots) page.CodeLeftOut("39-41", kSlots, "value codes", code);
  if (index < 1 || index > kSlots) return;
  float x = pos::kBoxes39To41X[static_cast<size_t>((index - 1) % kColumns)];
  float y = pos::kBoxes39To41RowY[static_cast<size_t>((index - 1) / kColumns)];
  if (page.first_page()) page.record().value_codes.push_back({std::string(code), std::string(amount)});
  page.Put(code, x, y);
  page.PutAmount(amount, x + pos::kBoxes39To41AmountOffset, y);
}

bool IsArrayEmpty(const Tokens& array) { return array.empty(); }

std::string MapRelationshipCode(std::string_view relationship) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kCodes = {{
      {"SLF", "18"}, {"HUS", "01"}, {"WIF", "01"}, {"DAU", "19"},
      {"SON", "19"}, {"FTH", "33"}, {"MTH", "32"},
  }};
  for (const auto& [rel, code] : kCodes)
    if (relationship == rel) return std::string(code);
  return "21";
}

int16_t GetWrapLength(std::string_view text, int width) {
  if (width < 1) return 0;
  if (text.size() < static_cast<size_t>(width)) return CheckInt16(static_cast<long long>(text.size()));
  size_t w = static_cast<size_t>(width);
  bool before_is_word = text[w - 1] != ' ';
  bool after_is_word = w < text.size() && text[w] != ' ';
  if (!(before_is_word && after_is_word)) return CheckInt16(width);
  size_t space = text.substr(0, w).rfind(' ');
  if (space == std::string_view::npos) return CheckInt16(width);
  return CheckInt16(static_cast<long long>(space + 1));
}

std::string CityStateZipLine(const std::string& city, const std::string& state,
                             const std::string& zip) {
  std::string line = city + ", " + state + "  " + Left(zip, 5);
  std::string plus4 = Trim(Mid(zip, 6, 4));
  if (!plus4.empty()) line = Trim(line) + "-" + plus4;
  return line;
}

}  // namespace ub04
