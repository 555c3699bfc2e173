// The one parser every record type but extended data goes through.
#include "records/record_parser.h"

#include <cstring>

#include "base/text_util.h"
#include "records/layout_rules.h"
#include "records/layouts.h"
#include "records/record_rules.h"

namespace ub04 {

namespace {

// Room for the tokens of the longest record type, so that splitting
// records never allocates.
constexpr size_t kTokensReserved = 160;

std::string& At(ParseContext& c, int token) { return c.rec[MemberForToken(c.rules, token)]; }

void ApplyRule(ParseContext& c, const FieldRule& r) {
  switch (r.kind) {
    case RuleKind::kSex: {
      std::string& code = At(c, r.token);
      if (code != "F" && code != "M") {
        code = "U";
        if (r.token2 >= 0) At(c, r.token2) = "UNKNOWN";
      }
      break;
    }
    case RuleKind::kUpin: {
      std::string& upin = At(c, r.token);
      if (upin == ".") upin.clear();
      if (c.env.suppress_upin) upin.clear();
      break;
    }
    case RuleKind::kNpiCutover:
      if (NpiNotYetInUse(c.env)) At(c, r.token).clear();
      break;
    case RuleKind::kCountry: {
      std::string& country = At(c, r.token);
      country = NormalizeCountry(country);
      break;
    }
  }
}

// member = token. Clearing and appending costs far less than assign(),
// which must allow for the token lying inside the member itself.
void SetMember(std::string& member, std::string_view token) {
  member.clear();
  member.append(token.data(), token.size());
}

void ReadPart(ParseContext& c, const Part& p) {
  bool read = p.threshold == kMandatory || c.n > p.threshold;
  if (p.when) read = p.when(c);
  // Each member keeps its storage: no allocation once a record of this type
  // has been read before.
  if (read && static_cast<size_t>(p.last) < c.t.size()) {
    // Every token of the part is there; no need to ask for each.
    for (int k = p.first; k <= p.last; ++k) SetMember(At(c, k), c.t[static_cast<size_t>(k)]);
  } else {
    // Tok raises at the first missing token, after the ones before it.
    for (int k = p.first; k <= p.last; ++k)
      SetMember(At(c, k), read ? Tok(c.t, k) : std::string_view(p.absent));
  }
  for (const FieldRule& r : c.rules.field_rules)
    if (r.token >= p.first && r.token <= p.last) ApplyRule(c, r);
  if (p.after) p.after(c);
}

// "<prefix>Field 07": the grid label of field i (1-based), in buf. The
// line shows 20 characters of it.
std::string_view GridLabel(const char* prefix, size_t i, char (&buf)[24]) {
  const size_t p = std::string_view(prefix).copy(buf, 12);
  std::memcpy(buf + p, "Field ", 6);
  buf[p + 6] = static_cast<char>('0' + i / 10);
  buf[p + 7] = static_cast<char>('0' + i % 10);
  return std::string_view(buf, p + 8);
}

void LogGrid(RunLog& log, const Record& rec, const LayoutRules& r) {
  if (!r.grid_heading || !log.Tracing()) return;
  log.Line("");
  log.Line(r.grid_heading);
  char label[24];
  for (const GridSection& s : r.grid) {
    log.Grid(GridLabel(s.prefix, 1, label), rec[s.field01]);
    for (size_t i = 0; i < 4; ++i)
      log.Grid(GridLabel(s.prefix, 2 + i, label), rec[s.field02 + i]);
    for (size_t i = 0; i < 10; ++i)
      log.Grid(GridLabel(s.prefix, 6 + i, label), rec[s.field06 + i]);
  }
  log.Line("");
}

}  // namespace

namespace {

// "token 43 of the Charge record holds "1,250.00", which is not a number;
// ...": a warning about a token's text, logged and queued.
void WarnToken(ParseEnv& env, const LayoutRules& rules, int token, std::string_view text,
               std::string_view what, const char* rule) {
  Context& cx = env.cx;
  const std::string says = "token " + PlainNum(token) + " of the " + rules.cleanup_name +
                           " record holds \"" + ClipForMessage(text) + "\", which is " +
                           std::string(what);
  const std::string procedure = std::string(" ") + rules.entry_log + "  Warning: ";
  if (!env.notes) {
    cx.log.AnyLevel(cx.Say(kWarning, procedure, says));
    return;
  }
  std::string message = cx.component_name + procedure + says;
  cx.log.AnyLevel(message);
  env.notes->push_back({rule, std::string(text), std::move(message)});
}

}  // namespace

void WarnNotANumber(ParseEnv& env, const LayoutRules& rules, int token, std::string_view text) {
  WarnToken(env, rules, token, text,
            "not a number; it is read as " + GeneralNum(LeadingNumber(text)), "NOT-A-NUMBER");
}

void WarnNotADate(ParseEnv& env, const LayoutRules& rules, int token, std::string_view text) {
  WarnToken(env, rules, token, text, "not a date (MMDDYYYY); it prints as given", "NOT-A-DATE");
}

int16_t DealWithPunctuation(Context& cx, Record& rec) {
  const LayoutRules& r = *rec.layout->rules;
  try {
    return Guard([&]() -> int16_t {
      for (int token : r.cleanup_tokens) {
        SquashAllPunctuation(cx, rec[MemberForToken(r, token)]);
      }
      return 0;
    });
  } catch (const RtError& e) {
    cx.ReportError(std::string(" DealWithPunctuation_") + r.cleanup_name + " ", e);
    return kFailed;
  }
}

namespace {

// Pairs = "~" code1 value1 "~" code2 value2 ... "~": each odd token gives a
// code (its first five characters), the even token after it the value
// written straight behind. "" when only token 0 came.
int16_t ParseExtDataRec(ParseEnv& env, const std::string& sRec, Record& rec) {
  const LayoutRules& r = *rec.layout->rules;
  env.cx.log.Line(r.entry_log);
  TokenViews t;
  SplitTokenViews(sRec, "//", t);
  rec[ext_data::Field00].assign(Tok(t, 0));
  std::string& pairs = rec[ext_data::Pairs];
  pairs.clear();
  for (size_t i = 1; i < t.size(); ++i) {
    if (i % 2 == 1) {
      pairs += '~';
      pairs += t[i].substr(0, 5);
    } else {
      pairs += t[i];
    }
  }
  if (!pairs.empty()) pairs += "~";
  return 0;
}

int16_t ParseByLayout(ParseEnv& env, const std::string& sRec, Record& rec,
                      bool keep_empty_payer_id) {
  const LayoutRules& r = *rec.layout->rules;
  env.cx.log.Line(r.entry_log);
  if (r.on_entry) r.on_entry(env);
  // The views are kept between records for their capacity; nothing parses
  // a record while another one is being parsed.
  thread_local TokenViews t = [] {
    TokenViews v;
    v.reserve(kTokensReserved);
    return v;
  }();
  SplitTokenViews(sRec, "//", t);
  ParseContext c{env, rec, t, static_cast<long long>(t.size()) - 1, r, keep_empty_payer_id};
  // A gated record that is not switched on leaves its slot as it was.
  if (r.gate_token >= 0 && Tok(t, r.gate_token) != "1") return 0;
  for (const Part& p : r.parts) ReadPart(c, p);
  for (int token : r.number_tokens) {
    const std::string& text = rec[MemberForToken(r, token)];
    if (!IsPlainNumber(text)) WarnNotANumber(env, r, token, text);
  }
  for (int token : r.date_tokens) {
    const std::string& text = rec[MemberForToken(r, token)];
    if (!text.empty() && !IsPrintableDate(text)) WarnNotADate(env, r, token, text);
  }
  LogGrid(env.cx.log, rec, r);
  if (r.finish && r.finish(c) == kFailed) return kFailed;
  DealWithPunctuation(env.cx, rec);
  if (r.after_cleanup) r.after_cleanup(c);
  return 0;
}

}  // namespace

int16_t ParseRecord(ParseEnv& env, const std::string& sRec, Record& rec,
                    bool keep_empty_payer_id) {
  const LayoutRules& r = *rec.layout->rules;
  try {
    return Guard([&]() -> int16_t {
      if (rec.layout == &kExtDataLayout) return ParseExtDataRec(env, sRec, rec);
      return ParseByLayout(env, sRec, rec, keep_empty_payer_id);
    });
  } catch (const RtError& e) {
    env.cx.ReportError(r.error_text, e);
    return kFailed;
  }
}

}  // namespace ub04
