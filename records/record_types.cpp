#include "records/record_types.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace ub04 {

namespace {

template <Record TopRecords::*M>
Record& Top(TopRecords& t) { return t.*M; }
template <size_t N>
Record& TopExt(TopRecords& t) { return t.ext[N - 1]; }
template <Record ChargeGroup::*M>
Record& Group(ChargeGroup& g) { return g.*M; }
template <int N>
Record& ChargeExtFirst(ChargeGroup& g) { return g.ext_first(N); }
template <int N>
Record& ChargeExtSecond(ChargeGroup& g) { return g.ext_second(N); }
template <size_t N>
Record& OtherInsurance(ChargeGroup& g) { return g.oins[N - 1]; }

using S = RecordStep;

// A top record; break_name and need_new_name for those whose arrival starts
// a new claim.
constexpr RecordType TopRow(std::string_view code, const RecordLayout* layout,
                            Record& (*slot)(TopRecords&), std::string_view doc_name,
                            std::string_view break_name = {},
                            std::string_view need_new_name = {}) {
  return {code, layout, RecordRole::kTop, {slot, nullptr}, S::kTop, doc_name, break_name,
          need_new_name};
}

constexpr RecordType GroupRow(std::string_view code, const RecordLayout* layout,
                              Record& (*slot)(ChargeGroup&), std::string_view doc_name,
                              RecordStep step = S::kCompanion) {
  return {code, layout, RecordRole::kGroup, {nullptr, slot}, step, doc_name};
}

// Extended data comes in three families of five sets; the even last digit
// gives the set: 5010 set 1, 5012 set 2, ... 5018 set 5.
constexpr std::array kTypes = {
    TopRow("1000", &kPracticeLayout, &Top<&TopRecords::practice>, "Practice", "Practice",
           "Practice"),
    TopRow("1050", &kSubmitterLayout, &Top<&TopRecords::submitter>, "Submitter", "Submitter",
           "Submitter"),
    TopRow("2000", &kBProviderLayout, &Top<&TopRecords::bprovider>, "Billing provider",
           "BProvider", "Provider"),
    TopRow("3000", &kInsuranceLayout, &Top<&TopRecords::insurance>, "Insurance", "Insurance",
           "Insurance"),
    TopRow("3100", &kCalcPrefLayout, &Top<&TopRecords::calc_pref>, "Calculation preferences"),
    TopRow("3101", &kBreakPrefLayout, &Top<&TopRecords::break_pref>, "Break preferences"),
    TopRow("4000", &kPatientLayout, &Top<&TopRecords::patient>, "Patient", "Patient", "Patient"),
    TopRow("5000", &kSubscriberLayout, &Top<&TopRecords::subscriber>, "Subscriber",
           "Subscriber", "Subscriber"),
    TopRow("5010", &kExtDataLayout, &TopExt<1>, "Claim extended data, set 1"),
    TopRow("5012", &kExtDataLayout, &TopExt<2>, "Claim extended data, set 2"),
    TopRow("5014", &kExtDataLayout, &TopExt<3>, "Claim extended data, set 3"),
    TopRow("5016", &kExtDataLayout, &TopExt<4>, "Claim extended data, set 4"),
    TopRow("5018", &kExtDataLayout, &TopExt<5>, "Claim extended data, set 5"),
    GroupRow("6000", &kChargeLayout, &Group<&ChargeGroup::charge>, "Charge", S::kStartCharge),
    GroupRow("6010", &kExtDataLayout, &ChargeExtFirst<1>, "Charge extended data, set 1 (first)"),
    GroupRow("6012", &kExtDataLayout, &ChargeExtFirst<2>, "Charge extended data, set 2 (first)"),
    GroupRow("6014", &kExtDataLayout, &ChargeExtFirst<3>, "Charge extended data, set 3 (first)"),
    GroupRow("6016", &kExtDataLayout, &ChargeExtFirst<4>, "Charge extended data, set 4 (first)"),
    GroupRow("6018", &kExtDataLayout, &ChargeExtFirst<5>, "Charge extended data, set 5 (first)"),
    GroupRow("6020", &kExtDataLayout, &ChargeExtSecond<1>, "Charge extended data, set 1 (second)"),
    GroupRow("6022", &kExtDataLayout, &ChargeExtSecond<2>, "Charge extended data, set 2 (second)"),
    GroupRow("6024", &kExtDataLayout, &ChargeExtSecond<3>, "Charge extended data, set 3 (second)"),
    GroupRow("6026", &kExtDataLayout, &ChargeExtSecond<4>, "Charge extended data, set 4 (second)"),
    GroupRow("6028", &kExtDataLayout, &ChargeExtSecond<5>, "Charge extended data, set 5 (second)"),
    GroupRow("6050", &kAmbulanceLayout, &Group<&ChargeGroup::ambulance>, "Ambulance"),
    GroupRow("6060", &kChiropractorLayout, &Group<&ChargeGroup::chiropractor>, "Chiropractor"),
    GroupRow("6100", &kSProviderLayout, &Group<&ChargeGroup::sprovider>, "Servicing provider"),
    GroupRow("6110", &kOProviderLayout, &Group<&ChargeGroup::oprovider>, "Other provider"),
    GroupRow("6120", &kReferralLayout, &Group<&ChargeGroup::referral>, "Referral"),
    GroupRow("6130", &kOReferralLayout, &Group<&ChargeGroup::oreferral>, "Other referral"),
    GroupRow("6200", &kFacilityLayout, &Group<&ChargeGroup::facility>, "Facility", S::kFacility),
    GroupRow("6310", &kOInsuranceLayout, &OtherInsurance<1>, "Other insurance 1"),
    GroupRow("6320", &kOInsuranceLayout, &OtherInsurance<2>, "Other insurance 2"),
    GroupRow("6330", &kOInsuranceLayout, &OtherInsurance<3>, "Other insurance 3"),
    GroupRow("6340", &kOInsuranceLayout, &OtherInsurance<4>, "Other insurance 4"),
    RecordType{"6990", nullptr, RecordRole::kNone, {}, S::kEndOfCharge, "End of charge"},
};
static_assert(kTypes.size() <= kMaxRecordTypes);

}  // namespace

namespace {

// Every code is four characters, so a code is found by comparing 32-bit
// words (it is looked up for every record).
static_assert([] {
  for (const RecordType& t : kTypes)
    if (t.code.size() != 4) return false;
  return true;
}());

uint32_t CodeWord(std::string_view code) {
  uint32_t w;
  std::memcpy(&w, code.data(), sizeof w);
  return w;
}

const std::array<uint32_t, kTypes.size()> kCodeWords = [] {
  std::array<uint32_t, kTypes.size()> words{};
  for (size_t i = 0; i < kTypes.size(); ++i) words[i] = CodeWord(kTypes[i].code);
  return words;
}();

}  // namespace

const RecordType* FindRecordType(std::string_view code) {
  if (code.size() != 4) return nullptr;
  const uint32_t w = CodeWord(code);
  for (size_t i = 0; i < kCodeWords.size(); ++i)
    if (kCodeWords[i] == w) return &kTypes[i];
  return nullptr;
}

std::span<const RecordType> RecordTypes() { return kTypes; }

bool TakesFacility(const Record& calc_pref, const Record& charge) {
  const std::string& sw = calc_pref[calc_pref::FacilitySwitch];
  const std::string& pos = charge[charge::PosCode];
  return !(sw == "1" || (sw == "2" && (pos == "11" || pos == "12")));
}

}  // namespace ub04
