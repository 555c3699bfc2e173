#include "records/record_types.h"

#include <array>

namespace ub04 {

namespace {

template <Record TopRecords::*M>
Record& Top(TopRecords& t, ChargeGroup&) { return t.*M; }
template <size_t N>
Record& TopExt(TopRecords& t, ChargeGroup&) { return t.ext[N - 1]; }
template <Record ChargeGroup::*M>
Record& Group(TopRecords&, ChargeGroup& g) { return g.*M; }
template <int N>
Record& ChargeExtFirst(TopRecords&, ChargeGroup& g) { return g.ext_first(N); }
template <int N>
Record& ChargeExtSecond(TopRecords&, ChargeGroup& g) { return g.ext_second(N); }
template <size_t N>
Record& OtherInsurance(TopRecords&, ChargeGroup& g) { return g.oins[N - 1]; }

using S = RecordStep;

// Extended data comes in three families of five sets; the even last digit
// gives the set: 5010 set 1, 5012 set 2, ... 5018 set 5.
constexpr std::array kTypes = {
    RecordType{"1000", &kPracticeLayout, &Top<&TopRecords::practice>, S::kTop},
    RecordType{"1050", &kSubmitterLayout, &Top<&TopRecords::submitter>, S::kTop},
    RecordType{"2000", &kBProviderLayout, &Top<&TopRecords::bprovider>, S::kTop},
    RecordType{"3000", &kInsuranceLayout, &Top<&TopRecords::insurance>, S::kTop},
    RecordType{"3100", &kCalcPrefLayout, &Top<&TopRecords::calc_pref>, S::kTop},
    RecordType{"3101", &kBreakPrefLayout, &Top<&TopRecords::break_pref>, S::kTop},
    RecordType{"4000", &kPatientLayout, &Top<&TopRecords::patient>, S::kTop},
    RecordType{"5000", &kSubscriberLayout, &Top<&TopRecords::subscriber>, S::kTop},
    RecordType{"5010", &kExtDataLayout, &TopExt<1>, S::kTop},
    RecordType{"5012", &kExtDataLayout, &TopExt<2>, S::kTop},
    RecordType{"5014", &kExtDataLayout, &TopExt<3>, S::kTop},
    RecordType{"5016", &kExtDataLayout, &TopExt<4>, S::kTop},
    RecordType{"5018", &kExtDataLayout, &TopExt<5>, S::kTop},
    RecordType{"6000", &kChargeLayout, &Group<&ChargeGroup::charge>, S::kStartCharge},
    RecordType{"6010", &kExtDataLayout, &ChargeExtFirst<1>, S::kCompanion},
    RecordType{"6012", &kExtDataLayout, &ChargeExtFirst<2>, S::kCompanion},
    RecordType{"6014", &kExtDataLayout, &ChargeExtFirst<3>, S::kCompanion},
    RecordType{"6016", &kExtDataLayout, &ChargeExtFirst<4>, S::kCompanion},
    RecordType{"6018", &kExtDataLayout, &ChargeExtFirst<5>, S::kCompanion},
    RecordType{"6020", &kExtDataLayout, &ChargeExtSecond<1>, S::kCompanion},
    RecordType{"6022", &kExtDataLayout, &ChargeExtSecond<2>, S::kCompanion},
    RecordType{"6024", &kExtDataLayout, &ChargeExtSecond<3>, S::kCompanion},
    RecordType{"6026", &kExtDataLayout, &ChargeExtSecond<4>, S::kCompanion},
    RecordType{"6028", &kExtDataLayout, &ChargeExtSecond<5>, S::kCompanion},
    RecordType{"6050", &kAmbulanceLayout, &Group<&ChargeGroup::ambulance>, S::kCompanion},
    RecordType{"6060", &kChiropractorLayout, &Group<&ChargeGroup::chiropractor>, S::kCompanion},
    RecordType{"6100", &kSProviderLayout, &Group<&ChargeGroup::sprovider>, S::kCompanion},
    RecordType{"6110", &kOProviderLayout, &Group<&ChargeGroup::oprovider>, S::kCompanion},
    RecordType{"6120", &kReferralLayout, &Group<&ChargeGroup::referral>, S::kCompanion},
    RecordType{"6130", &kOReferralLayout, &Group<&ChargeGroup::oreferral>, S::kCompanion},
    RecordType{"6200", &kFacilityLayout, &Group<&ChargeGroup::facility>, S::kFacility},
    RecordType{"6310", &kOInsuranceLayout, &OtherInsurance<1>, S::kCompanion},
    RecordType{"6320", &kOInsuranceLayout, &OtherInsurance<2>, S::kCompanion},
    RecordType{"6330", &kOInsuranceLayout, &OtherInsurance<3>, S::kCompanion},
    RecordType{"6340", &kOInsuranceLayout, &OtherInsurance<4>, S::kCompanion},
    RecordType{"6990", nullptr, nullptr, S::kEndOfCharge},
};

}  // namespace

const RecordType* FindRecordType(std::string_view code) {
  for (const RecordType& t : kTypes)
    if (t.code == code) return &t;
  return nullptr;
}

std::span<const RecordType> RecordTypes() { return kTypes; }

bool TakesFacility(const Record& calc_pref, const Record& charge) {
  const std::string& sw = calc_pref[calc_pref::FacilitySwitch];
  const std::string& pos = charge[charge::PosCode];
  return !(sw == "1" || (sw == "2" && (pos == "11" || pos == "12")));
}

}  // namespace ub04
