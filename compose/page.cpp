#include "compose/page.h"

#include "form/fmt_file.h"
#include "base/text_util.h"

namespace ub04 {

void Page::Put(std::string_view text, float x, float y, int16_t align) const {
  AppendFormattedLine(out.lines, "F", text, x, y, align);
}

void Page::Warn(std::string_view locator, std::string_view rule, std::string_view value,
                std::string message) const {
  log().Line(message);
  record().findings.push_back({ClaimFinding::Level::kWarning, std::string(locator),
                               std::string(rule), std::string(value), message});
  env.cx.Queue(kWarning, std::move(message));
}

int Page::payer_row() const {
  const std::string& seq = payer_sequence();
  if (seq == "1") return 0;
  if (seq == "2") return 1;
  if (seq == "3") return 2;
  return -1;
}

std::string Page::payer_id5() const { return Left(insurance()[insurance::PayerId], 5); }

std::string Page::alternate_payer_id5() const {
  return Left(insurance()[insurance::AlternatePayerId], 5);
}

std::string Page::AmountText(Currency amount) const {
  std::string text = FormatMask(amount, "#####0.00");
  if (calc_pref()[calc_pref::NoDecimalPoint] == "1") ReplaceDot(env.cx, text);
  return text;
}

Page LastClaimPage(FormEnv& env, ClaimTables& tables, ComposedClaim& out) {
  return Page(env, env.cs.last_top, env.cs.last_group, tables, out);
}

bool PayerTakesNpiOnly(const Page& page) {
  return IsOneOf(page.payer_id5(), {"46320", "22326", "23228", "12X26", "12X25", "54763",
                                     "77799", "77062", "12X28", "23037", "86047"});
}

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> codes) {
  for (std::string_view c : codes)
    if (text == c) return true;
  return false;
}

}  // namespace ub04
