// The one parser every record type but extended data goes through.
#include "records/record_parser.h"

#include "host/run_log.h"
#include "host/run_state.h"
#include "host/text_util.h"
#include "records/layout_rules.h"
#include "records/layouts.h"
#include "records/record_rules.h"

namespace ub04 {

namespace {

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
      if (Rs().suppress_upin) upin.clear();
      break;
    }
    case RuleKind::kNpiCutover:
      if (NpiNotYetInUse()) At(c, r.token).clear();
      break;
    case RuleKind::kCountry: {
      std::string& country = At(c, r.token);
      country = NormalizeCountry(country);
      break;
    }
  }
}

void ReadPart(ParseContext& c, const Part& p) {
  bool read = p.threshold == kMandatory || c.n > p.threshold;
  if (p.when) read = p.when(c.n);
  for (int k = p.first; k <= p.last; ++k) At(c, k) = read ? Tok(c.t, k) : std::string(p.absent);
  for (const FieldRule& r : c.rules.field_rules)
    if (r.token >= p.first && r.token <= p.last) ApplyRule(c, r);
  if (p.after) p.after(c);
}

void LogGrid(const Record& rec, const LayoutRules& r) {
  if (!r.grid_heading || !LogTracing()) return;
  auto label = [](const char* prefix, size_t i) {
    return std::string(prefix) + "Field " + (i < 10 ? "0" : "") + PlainNum(static_cast<long long>(i));
  };
  LogLine("");
  LogLine(r.grid_heading);
  for (const GridSection& s : r.grid) {
    LogGridValue(label(s.prefix, 1), rec[s.field01]);
    for (size_t i = 0; i < 4; ++i) LogGridValue(label(s.prefix, 2 + i), rec[s.field02 + i]);
    for (size_t i = 0; i < 10; ++i) LogGridValue(label(s.prefix, 6 + i), rec[s.field06 + i]);
  }
  LogLine("");
}

}  // namespace

int16_t DealWithPunctuation(Record& rec) {
  const LayoutRules& r = *rec.layout->rules;
  try {
    return Guard([&]() -> int16_t {
      for (int token : r.cleanup_tokens) {
        std::string& field = rec[MemberForToken(r, token)];
        field = SquashAllPunctuation(field, true, "", "");
      }
      return 0;
    });
  } catch (const RtError& e) {
    AddToMessageArray(3, ComponentName() + " DealWithPunctuation_" + r.cleanup_name + " " +
                             ErrorText(e));
    return 3;
  }
}

int16_t ParseRecord(const std::string& sRec, Record& rec, bool keep_empty_payer_id) {
  const LayoutRules& r = *rec.layout->rules;
  try {
    return Guard([&]() -> int16_t {
      LogLine(r.entry_log);
      if (r.on_entry) r.on_entry();
      Tokens t;
      SplitTokens(sRec, "//", t);
      ParseContext c{rec, t, static_cast<long long>(t.size()) - 1, r, keep_empty_payer_id};
      // A gated record that is not switched on leaves its slot as it was.
      if (r.gate_token >= 0 && Tok(t, r.gate_token) != "1") return 0;
      for (const Part& p : r.parts) ReadPart(c, p);
      LogGrid(rec, r);
      if (r.finish && r.finish(c) == 3) return 3;
      DealWithPunctuation(rec);
      if (r.after_cleanup) r.after_cleanup(c);
      return 0;
    });
  } catch (const RtError& e) {
    AddToMessageArray(3, ComponentName() + r.error_text + ErrorText(e));
    return 3;
  }
}

}  // namespace ub04
