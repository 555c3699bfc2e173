// The This and Last copies and the routines that empty and fold them.
//
// A top record is emptied by blanking token 0 only: the other members keep
// the values of the last record of that kind, and token 0 says whether a
// record arrived since the previous end of charge. The group is emptied
// whole, with a fresh custom-form list, because every charge brings its own.
#include "claim/claim_env.h"
#include "claim/claim_state.h"

#include <utility>

#include "base/msgbox.h"
#include "claim/claim_env.h"
#include "records/custom_form.h"
#include "records/layouts.h"

namespace ub04 {

namespace {

void SizeTop(TopRecords& t) {
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

void SizeGroup(ChargeGroup& g) {
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
  g.custom_forms = std::make_shared<CCFormInfoArray>();
}

void BlankTop(TopRecords& t) {
  for (Record* r : {&t.practice, &t.submitter, &t.bprovider, &t.insurance, &t.calc_pref,
                    &t.break_pref, &t.patient, &t.subscriber})
    (*r)[0].clear();
  for (Record& e : t.ext) {
    e[ext_data::Field00].clear();
    e[ext_data::Pairs].clear();
  }
}

void ClearGroup(RunLog& log, ChargeGroup& g) {
  g.charge.Clear();
  for (Record& e : g.ext) e.Clear();
  for (Record* r : {&g.ambulance, &g.chiropractor, &g.sprovider, &g.oprovider, &g.referral,
                    &g.oreferral, &g.facility}) {
    r->Clear();
    if (r == &g.referral) log.Line(">> ClearReferralStruct()   Referral is now empty");
  }
  for (Record& o : g.oins) o.Clear();
  g.custom_forms = std::make_shared<CCFormInfoArray>();
}

// Copies a top record that arrived since the last end of charge; true when
// it did.
bool CopyIfPresent(const Record& from, Record& to) {
  if (!from.Present()) return false;
  to = from;
  return true;
}

void Report(ClaimEnv& env, const char* proc, const RtError& e) {
  std::string text = env.cx.component_name + proc + ErrorText(e);
  env.cx.Queue(3, text);
  ShowMessageBox(text);
}

}  // namespace

void InitClaimState(ClaimState& cs, int16_t diag_capacity, int16_t diags_per_charge) {
  cs = ClaimState{};
  SizeTop(cs.this_top);
  SizeTop(cs.last_top);
  SizeGroup(cs.this_group);
  SizeGroup(cs.last_group);
  cs.diag.assign(static_cast<size_t>(diag_capacity), DiagnosisEntry{});
  cs.diags_per_charge = diags_per_charge;
}

void EmptyThisTop(ClaimEnv& env) {
  env.cx.log.Line("EmptyThisTop()");
  BlankTop(env.cs.this_top);
}

void EmptyLastTop(ClaimEnv& env) {
  env.cx.log.Line("EmptyLastTop()");
  BlankTop(env.cs.last_top);
}

void EmptyThisGroup(ClaimEnv& env) {
  env.cx.log.Line("EmptyThisGroup()");
  ClearGroup(env.cx.log, env.cs.this_group);
}

void EmptyLastGroup(ClaimEnv& env) {
  env.cx.log.Line("EmptyLastGroup()");
  ClearGroup(env.cx.log, env.cs.last_group);
}

void CopyThisTopToLast(ClaimEnv& env) {
  ClaimState& c = env.cs;
  TopRecords& t = c.this_top;
  TopRecords& l = c.last_top;
  try {
    Guard([&] {
      env.cx.log.Line("CopyThisTopToLast()");
      if (CopyIfPresent(t.practice, l.practice)) c.need_new_practice = true;
      if (CopyIfPresent(t.submitter, l.submitter)) c.need_new_submitter = true;
      if (CopyIfPresent(t.bprovider, l.bprovider)) c.need_new_provider = true;
      if (CopyIfPresent(t.insurance, l.insurance)) {
        c.need_new_insurance = true;
        // The insurance parser puts the practice identifier chosen for this
        // payer into the This practice; a new insurance without a new
        // practice record must still carry it over.
        if (t.practice[practice::Npi] != l.practice[practice::Npi])
          l.practice[practice::Npi] = t.practice[practice::Npi];
      }
      CopyIfPresent(t.calc_pref, l.calc_pref);
      CopyIfPresent(t.break_pref, l.break_pref);
      if (CopyIfPresent(t.patient, l.patient)) c.need_new_patient = true;
      if (CopyIfPresent(t.subscriber, l.subscriber)) c.need_new_subscriber = true;
      for (size_t i : {4u, 0u, 3u, 2u, 1u})  // 5018, 5010, 5016, 5014, 5012
        CopyIfPresent(t.ext[i], l.ext[i]);

      // The flag latches, so the lookup runs at every end of charge once an
      // insurance has been seen.
      if (c.need_new_insurance)
        env.ref.FetchNPILegacyDates(l.insurance[insurance::PayerId],
                                    l.insurance[insurance::IhCode],
                                    env.ref.state().npi_legacy_date2);

      const std::pair<bool, const char*> flags[] = {
          {c.need_new_practice, " ** NeedNewPractice"},
          {c.need_new_submitter, " ** NeedNewSubmitter"},
          {c.need_new_provider, " ** NeedNewProvider"},
          {c.need_new_insurance, " ** NeedNewInsurance"},
          {c.need_new_patient, " ** NeedNewPatient"},
          {c.need_new_subscriber, " ** NeedNewSubscriber"},
      };
      for (const auto& [set, text] : flags)
        if (set) env.cx.log.Line(text);
      EmptyThisTop(env);
    });
  } catch (const RtError& e) {
    Report(env, " CopyThisTopToLast() Error: ", e);
  }
}

void CopyThisGroupToLast(ClaimEnv& env) {
  ClaimState& c = env.cs;
  try {
    Guard([&] {
      env.cx.log.Line("CopyThisGroupToLast()");
      // This is emptied right below, so the two groups trade places instead
      // of This being copied: Last becomes the complete group, and This,
      // now holding the old Last, is cleared member by member (same layouts)
      // and gets a fresh custom-form list. The strings keep their capacity,
      // so neither group allocates again for the next charge.
      std::swap(c.last_group, c.this_group);
      c.last_follow = c.this_follow;
      env.cx.log.Joined({"**CopyThisGroupToLast - LastFollowed and This-Followed are both: ",
                         BoolText(c.this_follow.followed)});
      env.cx.log.Line("g_ThisGroup Copied to Last");
      EmptyThisGroup(env);
    });
  } catch (const RtError& e) {
    Report(env, " CopyThisGroupToLast() Error: ", e);
  }
}

}  // namespace ub04
