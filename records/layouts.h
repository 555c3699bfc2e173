// The layout of every record type, described once as data.
#pragma once

#include <cstddef>

namespace ub04 {

struct RecordLayout {
  const char* name;        // record kind, for messages and tests
  size_t member_count;
  size_t flag_count = 0;   // payer-rule flags (insurance)
};

extern const RecordLayout kPracticeLayout;    // 1000
extern const RecordLayout kSubmitterLayout;   // 1050
extern const RecordLayout kBProviderLayout;   // 2000
extern const RecordLayout kInsuranceLayout;   // 3000
extern const RecordLayout kCalcPrefLayout;    // 3100
extern const RecordLayout kBreakPrefLayout;   // 3101
extern const RecordLayout kPatientLayout;     // 4000
extern const RecordLayout kSubscriberLayout;  // 5000
extern const RecordLayout kExtDataLayout;     // 5010-5018, 6010-6028
extern const RecordLayout kChargeLayout;      // 6000
extern const RecordLayout kAmbulanceLayout;   // 6050
extern const RecordLayout kChiropractorLayout;  // 6060
extern const RecordLayout kSProviderLayout;   // 6100
extern const RecordLayout kOProviderLayout;   // 6110
extern const RecordLayout kReferralLayout;    // 6120
extern const RecordLayout kOReferralLayout;   // 6130
extern const RecordLayout kFacilityLayout;    // 6200
extern const RecordLayout kOInsuranceLayout;  // 6310-6340

}  // namespace ub04
