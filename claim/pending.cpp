// Placeholder claim assembly: plain copies, no breaks, no detail lines.
// Replaced as the claim state, breaks and detail lines land.
#include "claim/claim_state.h"
#include "claim/claim_tables.h"
#include "host/run_state.h"

namespace ub04 {

namespace {
void BlankTop(TopRecords& t) {
  for (Record* r : {&t.practice, &t.submitter, &t.bprovider, &t.insurance, &t.calc_pref,
                    &t.break_pref, &t.patient, &t.subscriber})
    r->m[0].clear();
  for (auto& e : t.ext) e.Clear();
}
void ClearGroup(ChargeGroup& g) {
  g.charge.Clear();
  for (auto& e : g.ext) e.Clear();
  for (Record* r : {&g.ambulance, &g.chiropractor, &g.sprovider, &g.oprovider, &g.referral,
                    &g.oreferral, &g.facility})
    r->Clear();
  for (auto& o : g.oins) o.Clear();
  g.custom_forms.reset();
}
}  // namespace

void EmptyThisTop() { BlankTop(Rs().claim.this_top); }
void EmptyLastTop() { BlankTop(Rs().claim.last_top); }
void EmptyThisGroup() { ClearGroup(Rs().claim.this_group); }
void EmptyLastGroup() { ClearGroup(Rs().claim.last_group); }

void CopyThisTopToLast() {
  ClaimState& c = Rs().claim;
  auto copy = [](const Record& from, Record& to) {
    if (from.Present()) to = from;
  };
  copy(c.this_top.practice, c.last_top.practice);
  copy(c.this_top.submitter, c.last_top.submitter);
  copy(c.this_top.bprovider, c.last_top.bprovider);
  copy(c.this_top.insurance, c.last_top.insurance);
  copy(c.this_top.calc_pref, c.last_top.calc_pref);
  copy(c.this_top.break_pref, c.last_top.break_pref);
  copy(c.this_top.patient, c.last_top.patient);
  copy(c.this_top.subscriber, c.last_top.subscriber);
  for (size_t i = 0; i < 5; ++i) copy(c.this_top.ext[i], c.last_top.ext[i]);
  EmptyThisTop();
}

void CopyThisGroupToLast() {
  ClaimState& c = Rs().claim;
  c.last_group = c.this_group;
  EmptyThisGroup();
}

int16_t DealWithLastGroup(ClaimTables&) { return 0; }
void EmptyPageTotalStruct(ClaimTables& t) { t.totals = PageTotals{}; }
int16_t GetNextDetailIndex(ClaimTables& t) {
  for (size_t i = 0; i < t.detail.size(); ++i)
    if (t.detail[i].used != "Y") return static_cast<int16_t>(i + 1);
  return static_cast<int16_t>(t.detail.size() + 1);
}
void EmptyClaimTables(ClaimTables& t) {
  t.detail.assign(t.detail.size(), DetailEntry{});
  for (auto& d : Rs().claim.diag) d = DiagnosisEntry{};
}
int16_t GetIndexForDiagnosis(const std::string& code) {
  if (code.empty()) return 0;
  const auto& diag = Rs().claim.diag;
  for (size_t i = 0; i < diag.size(); ++i)
    if (diag[i].code == code) return static_cast<int16_t>(i + 1);
  return 0;
}
int16_t CheckBreak(ClaimTables&) { return 0; }

}  // namespace ub04
