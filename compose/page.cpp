#include "compose/page.h"

#include <bit>
#include <cstdint>
#include <unordered_map>

#include "base/text_util.h"
#include "form/fmt_file.h"
#include "form/form_layout.h"

namespace ub04 {

namespace {

// What a field line at a writer's position needs: the characters a text
// there may take (the width of the field the form layout puts there; -1
// where no field lies, nothing to hold the text to) and the line's tail
// after the text. The writers use a few fixed positions, so each is worked
// out once. Positions are keyed by their bits: -0 and 0 are two keys with
// the same answers.
struct Spot {
  int room;
  std::string tail;
};

const Spot& SpotAt(float x, float y, int16_t align) {
  struct Key {
    uint32_t x, y;
    int16_t align;
    bool operator==(const Key&) const = default;
  };
  struct Hash {
    size_t operator()(const Key& k) const {
      uint64_t h = (static_cast<uint64_t>(k.x) << 32 | k.y) * 0x9E3779B97F4A7C15ULL;
      return static_cast<size_t>((h >> 29) ^ h ^ static_cast<uint16_t>(k.align));
    }
  };
  thread_local std::unordered_map<Key, Spot, Hash> spots;
  const Key key{std::bit_cast<uint32_t>(x), std::bit_cast<uint32_t>(y), align};
  auto it = spots.find(key);
  if (it == spots.end())
    it = spots.emplace(key, Spot{FieldChars(x, y, align), FormattedLineTail(x, y, align)}).first;
  return it->second;
}

// "FL8b", "FL43", "FL67Q": the locator of the field at a writer's position.
std::string LocatorName(float x, float y, int16_t align) {
  const FormLocator* f = LocatorOfText(x, y, align);
  if (!f) return "";
  std::string id = f->id.substr(0, f->id.find_first_of(". :"));
  return "FL" + id;
}

}  // namespace

void Page::Put(std::string_view text, float x, float y, int16_t align) const {
  const Spot& spot = SpotAt(x, y, align);
  const int room = spot.room;
  if (room >= 0 && text.size() > static_cast<size_t>(room)) {
    const std::string box = LocatorName(x, y, align);
    const std::string account = patient()[patient::AccountNumber];
    auto says = [&](std::string_view quoted) {
      return env.cx.component_name + " WriteClaim()  Warning: the claim of account " +
             ClipForMessage(account) + ": " + box + " holds " + std::to_string(room) +
             " characters; \"" + std::string(quoted) + "\" was cut to fit";
    };
    Warn(box, "TEXT-CUT", text, says(ClipForMessage(text)), says(text));
    text = text.substr(0, static_cast<size_t>(room));
  }
  AppendFormattedLine(out.lines, "F", text, spot.tail);
}

void Page::PutAmount(std::string_view text, float x, float y, int16_t align) const {
  const Spot& spot = SpotAt(x, y, align);
  const int room = spot.room;
  if (room >= 0 && text.size() > static_cast<size_t>(room)) {
    if (out.failure.empty())
      out.failure = LocatorName(x, y, align) + " cannot hold the amount " + std::string(text) +
                    " (" + std::to_string(room) + " characters)";
    return;
  }
  AppendFormattedLine(out.lines, "F", text, spot.tail);
}

void Page::CodeLeftOut(std::string_view boxes, int slots, std::string_view what,
                       std::string_view code) const {
  Warn("FL" + std::string(boxes), "CODE-LEFT-OUT", code,
       env.cx.component_name + " WriteClaim()  Warning: the claim of account " +
           ClipForMessage(patient()[patient::AccountNumber]) + ": boxes " + std::string(boxes) +
           " hold " + std::to_string(slots) + " " + std::string(what) + "; \"" +
           ClipForMessage(code) + "\" was not printed");
}

void Page::Warn(std::string_view locator, std::string_view rule, std::string_view value,
                std::string message, std::string_view log_text) const {
  for (const ClaimFinding& f : record().findings)
    if (f.rule == rule && f.locator == locator && f.value == value) return;  // said on page 1
  log().AnyLevel(log_text.empty() ? std::string_view(message) : log_text);
  record().findings.push_back({ClaimFinding::Level::kWarning, std::string(locator),
                               std::string(rule), std::string(value), message});
  if (!env.findings_reported_later) env.cx.Queue(kWarning, std::move(message));
}

int Page::payer_row() const {
  const std::string& seq = payer_sequence();
  if (seq == "1") return 0;
  if (seq == "2") return 1;
  if (seq == "3") return 2;
  return -1;
}

const Record* Page::other_payer_at(int row) const {
  const int billed = payer_row();
  if (row == billed) return nullptr;
  const int k = billed >= 0 && row > billed ? row : row + 1;  // the billed payer's row is taken
  const Record& o = oins(k);
  return o.Present() ? &o : nullptr;
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
