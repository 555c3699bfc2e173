#include "records/layouts.h"

#include "records/record.h"

namespace ub04 {

const RecordLayout kPracticeLayout{"Practice", practice::kMemberCount};
const RecordLayout kSubmitterLayout{"Submitter", submitter::kMemberCount};
const RecordLayout kBProviderLayout{"Billing provider", bprovider::kMemberCount};
const RecordLayout kInsuranceLayout{"Insurance", insurance::kMemberCount, insurance_flag::kFlagCount};
const RecordLayout kCalcPrefLayout{"Calculation preferences", calc_pref::kMemberCount};
const RecordLayout kBreakPrefLayout{"Break preferences", break_pref::kMemberCount};
const RecordLayout kPatientLayout{"Patient", patient::kMemberCount};
const RecordLayout kSubscriberLayout{"Subscriber", subscriber::kMemberCount};
const RecordLayout kExtDataLayout{"Extended data", ext_data::kMemberCount};
const RecordLayout kChargeLayout{"Charge", charge::kMemberCount};
const RecordLayout kAmbulanceLayout{"Ambulance", ambulance::kMemberCount};
const RecordLayout kChiropractorLayout{"Chiropractor", chiropractor::kMemberCount};
const RecordLayout kSProviderLayout{"Servicing provider", sprovider::kMemberCount};
const RecordLayout kOProviderLayout{"Other provider", oprovider::kMemberCount};
const RecordLayout kReferralLayout{"Referral", referral::kMemberCount};
const RecordLayout kOReferralLayout{"Other referral", oreferral::kMemberCount};
const RecordLayout kFacilityLayout{"Facility", facility::kMemberCount};
const RecordLayout kOInsuranceLayout{"Other insurance", oinsurance::kMemberCount};

Record::Record(const RecordLayout* l)
    : layout(l), m(l->member_count), flags(l->flag_count, false) {}

}  // namespace ub04
