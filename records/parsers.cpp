// The record parsers of the dispatch. All but extended data follow their
// layout through the generic parser; extended data packs its code/value
// pairs into one text.
#include "records/parsers.h"

#include "host/run_log.h"
#include "host/run_state.h"
#include "records/layout_rules.h"
#include "records/layouts.h"
#include "records/record_parser.h"

namespace ub04 {

int16_t ParsePracticeRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseSubmitterRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseBProviderRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseInsuranceRec(const std::string& s, Record& r, bool& bKeepEmptyPayerId) {
  return ParseRecord(s, r, bKeepEmptyPayerId);
}
int16_t ParseCalcPrefRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseBreakPrefRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParsePatientRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseSubscriberRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseChargeRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseAmbulanceRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseChiropractorRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseSProviderRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseOProviderRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseReferralRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseOReferralRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
int16_t ParseFacilityRec(const std::string& s, Record& r) { return ParseRecord(s, r); }
// The dispatcher never keeps an empty payer identifier of an other insurance.
int16_t ParseOInsuranceRec(const std::string& s, Record& r, int /*slot*/) {
  return ParseRecord(s, r, false);
}

// Pairs = "~" code1 value1 "~" code2 value2 ... "~": each odd token gives a
// code (its first five characters), the even token after it the value
// written straight behind. "" when only token 0 came.
int16_t ParseExtDataRec(const std::string& sRec, Record& rec) {
  const LayoutRules& r = *kExtDataLayout.rules;
  try {
    return Guard([&]() -> int16_t {
      LogLine(r.entry_log);
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
    });
  } catch (const RtError& e) {
    AddToMessageArray(3, ComponentName() + r.error_text + ErrorText(e));
    return 3;
  }
}

}  // namespace ub04
