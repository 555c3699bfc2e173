#include "records/layouts.h"

#include "records/record.h"

namespace ub04 {

const RecordLayout kPracticeLayout{"Practice", 52};
const RecordLayout kSubmitterLayout{"Submitter", 35};
const RecordLayout kBProviderLayout{"Billing provider", 55};
const RecordLayout kInsuranceLayout{"Insurance", 69, 21};
const RecordLayout kCalcPrefLayout{"Calculation preferences", 15};
const RecordLayout kBreakPrefLayout{"Break preferences", 25};
const RecordLayout kPatientLayout{"Patient", 54};
const RecordLayout kSubscriberLayout{"Subscriber", 69};
const RecordLayout kExtDataLayout{"Extended data", 2};
const RecordLayout kChargeLayout{"Charge", 169};
const RecordLayout kAmbulanceLayout{"Ambulance", 36};
const RecordLayout kChiropractorLayout{"Chiropractor", 18};
const RecordLayout kSProviderLayout{"Servicing provider", 46};
const RecordLayout kOProviderLayout{"Other provider", 56};
const RecordLayout kReferralLayout{"Referral", 54};
const RecordLayout kOReferralLayout{"Other referral", 56};
const RecordLayout kFacilityLayout{"Facility", 31};
const RecordLayout kOInsuranceLayout{"Other insurance", 90};

Record::Record(const RecordLayout* l)
    : layout(l), m(l->member_count), flags(l->flag_count, false) {}

}  // namespace ub04
