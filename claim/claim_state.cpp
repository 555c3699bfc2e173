#include "claim/claim_state.h"

#include "records/layouts.h"

namespace ub04 {

namespace {

void InitTop(TopRecords& t) {
  t.practice = Record(&kPracticeLayout);
  t.submitter = Record(&kSubmitterLayout);
  t.bprovider = Record(&kBProviderLayout);
  t.insurance = Record(&kInsuranceLayout);
  t.calc_pref = Record(&kCalcPrefLayout);
  t.break_pref = Record(&kBreakPrefLayout);
  t.patient = Record(&kPatientLayout);
  t.subscriber = Record(&kSubscriberLayout);
  for (auto& e : t.ext) e = Record(&kExtDataLayout);
}

void InitGroup(ChargeGroup& g) {
  g.charge = Record(&kChargeLayout);
  for (auto& e : g.ext) e = Record(&kExtDataLayout);
  g.ambulance = Record(&kAmbulanceLayout);
  g.chiropractor = Record(&kChiropractorLayout);
  g.sprovider = Record(&kSProviderLayout);
  g.oprovider = Record(&kOProviderLayout);
  g.referral = Record(&kReferralLayout);
  g.oreferral = Record(&kOReferralLayout);
  g.facility = Record(&kFacilityLayout);
  for (auto& o : g.oins) o = Record(&kOInsuranceLayout);
  g.custom_forms.reset();
}

}  // namespace

void InitClaimState(ClaimState& cs) {
  cs = ClaimState{};
  InitTop(cs.this_top);
  InitTop(cs.last_top);
  InitGroup(cs.this_group);
  InitGroup(cs.last_group);
}

}  // namespace ub04
