// The record parsers. Each splits its record text, fills the This slot it is
// given and returns 0, or 3 after queueing its error message.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.h"

namespace ub04 {

int16_t ParsePracticeRec(const std::string& sRec, Record& rec);
int16_t ParseSubmitterRec(const std::string& sRec, Record& rec);
int16_t ParseBProviderRec(const std::string& sRec, Record& rec);
int16_t ParseInsuranceRec(const std::string& sRec, Record& rec, bool& bKeepEmptyPayerId);
int16_t ParseCalcPrefRec(const std::string& sRec, Record& rec);
int16_t ParseBreakPrefRec(const std::string& sRec, Record& rec);
int16_t ParsePatientRec(const std::string& sRec, Record& rec);
int16_t ParseSubscriberRec(const std::string& sRec, Record& rec);
int16_t ParseExtDataRec(const std::string& sRec, Record& rec);
int16_t ParseChargeRec(const std::string& sRec, Record& rec);
int16_t ParseAmbulanceRec(const std::string& sRec, Record& rec);
int16_t ParseChiropractorRec(const std::string& sRec, Record& rec);
int16_t ParseSProviderRec(const std::string& sRec, Record& rec);
int16_t ParseOProviderRec(const std::string& sRec, Record& rec);
int16_t ParseReferralRec(const std::string& sRec, Record& rec);
int16_t ParseOReferralRec(const std::string& sRec, Record& rec);
int16_t ParseFacilityRec(const std::string& sRec, Record& rec);
// slot is 1 to 4 (types 6310 to 6340).
int16_t ParseOInsuranceRec(const std::string& sRec, Record& rec, int slot);

}  // namespace ub04
