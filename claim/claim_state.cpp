// The This and Last copies and the routines that empty and fold them.
//
// A top record is emptied by blanking token 0 only: the other members keep
// the values of the last record of that kind, and token 0 says whether a
// record arrived since the previous end of charge (extended data, whose
// layout says so, is emptied whole). The group is emptied whole, with a
// fresh custom-form list, because every charge brings its own. Every routine
// walks the record-type table (records/record_types.h) rather than naming
// the records.
#include "claim/claim_env.h"
#include "claim/claim_state.h"

#include <utility>

#include "base/msgbox.h"
#include "claim/claim_env.h"
#include "records/custom_form.h"
#include "records/layouts.h"

namespace ub04 {

namespace {

// Every walk below visits the rows of one role in table order.
template <typename F>
void ForEachRow(RecordRole role, F&& f) {
  for (const RecordType& r : RecordTypes())
    if (r.role == role) f(r);
}

void SizeTop(TopRecords& t) {
  ForEachRow(RecordRole::kTop, [&](const RecordType& r) { r.slot.top(t) = Record(r.layout); });
}

void SizeGroup(ChargeGroup& g) {
  ForEachRow(RecordRole::kGroup,
             [&](const RecordType& r) { r.slot.group(g) = Record(r.layout); });
  g.custom_forms = std::make_shared<CCFormInfoArray>();
}

void BlankTop(TopRecords& t) {
  ForEachRow(RecordRole::kTop, [&](const RecordType& r) {
    Record& rec = r.slot.top(t);
    if (r.layout->emptied_whole)
      rec.Clear();
    else
      rec[0].clear();
  });
}

void ClearGroup(RunLog& log, ChargeGroup& g) {
  ForEachRow(RecordRole::kGroup, [&](const RecordType& r) {
    r.slot.group(g).Clear();
    if (r.layout->clear_log) log.Line(r.layout->clear_log);
  });
  g.custom_forms = std::make_shared<CCFormInfoArray>();
}

// Copies a top record that arrived since the last end of charge; true when
// it did.
bool CopyIfPresent(const Record& from, Record& to) {
  if (!from.Present()) return false;
  to = from;
  return true;
}

// Whether the need-new flag of the top record with this layout is set.
bool NeedsNew(const ClaimState& c, const RecordLayout& layout) {
  for (const RecordType& r : RecordTypes())
    if (r.layout == &layout && c.need_new.test(RecordTypeIndex(r))) return true;
  return false;
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
      ForEachRow(RecordRole::kTop, [&](const RecordType& r) {
        if (CopyIfPresent(r.slot.top(t), r.slot.top(l)) && !r.need_new_name.empty())
          c.need_new.set(RecordTypeIndex(r));
      });
      // The insurance parser puts the practice identifier chosen for this
      // payer into the This practice; a new insurance without a new practice
      // record must still carry it over.
      if (t.insurance.Present() && t.practice[practice::Npi] != l.practice[practice::Npi])
        l.practice[practice::Npi] = t.practice[practice::Npi];

      // The flag latches, so the lookup runs at every end of charge once an
      // insurance has been seen.
      if (NeedsNew(c, kInsuranceLayout))
        env.ref.FetchNPILegacyDates(l.insurance[insurance::PayerId],
                                    l.insurance[insurance::IhCode],
                                    env.ref.state().npi_legacy_date2);

      for (const RecordType& r : RecordTypes())
        if (c.need_new.test(RecordTypeIndex(r)))
          env.cx.log.Joined({" ** NeedNew", r.need_new_name});
      EmptyThisTop(env);
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" CopyThisTopToLast() Error: ", e, kQueueIt | kShowBox);
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
    env.cx.ReportError(" CopyThisGroupToLast() Error: ", e, kQueueIt | kShowBox);
  }
}

}  // namespace ub04
