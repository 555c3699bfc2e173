// Placeholder parsers: token k into member k, no rules. Replaced record type
// by record type as the table-driven parser lands.
#include "host/runtime.h"
#include "records/parsers.h"

namespace ub04 {

namespace {
int16_t CopyTokens(const std::string& sRec, Record& rec) {
  Tokens t;
  SplitTokens(sRec, "//", t);
  for (size_t k = 0; k < t.size() && k < rec.m.size(); ++k) rec.m[k] = t[k];
  return 0;
}
}  // namespace

int16_t ParsePracticeRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseSubmitterRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseBProviderRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseInsuranceRec(const std::string& s, Record& r, bool&) { return CopyTokens(s, r); }
int16_t ParseCalcPrefRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseBreakPrefRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParsePatientRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseSubscriberRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseExtDataRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseChargeRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseAmbulanceRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseChiropractorRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseSProviderRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseOProviderRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseReferralRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseOReferralRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseFacilityRec(const std::string& s, Record& r) { return CopyTokens(s, r); }
int16_t ParseOInsuranceRec(const std::string& s, Record& r, int) { return CopyTokens(s, r); }

}  // namespace ub04
