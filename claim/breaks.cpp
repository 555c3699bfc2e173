#include "claim/breaks.h"

#include <array>
#include <optional>

#include "claim/claim_env.h"
#include "claim/claim_env.h"
#include "claim/claim_state.h"
#include "claim/diagnosis_table.h"
#include "base/msgbox.h"
#include "records/layouts.h"
#include "records/record_types.h"

namespace ub04 {

namespace {

// ---- the rule table -------------------------------------------------------------

enum class Test : uint8_t {
  kEveryCharge,        // fires always
  kDetailLinesFull,    // the next free detail line is past the page
  kDiagnosisOverflow,  // the new diagnoses do not fit the table
  kFieldsDiffer,       // any listed field differs between This and Last
  kCodeSetChanged,     // the diagnosis code set differs
  kMonthChanged,       // the month of the service date differs
};

// One field compared between the This and the Last group.
struct Field {
  const Record& (*record)(const ChargeGroup&) = nullptr;  // null: unused slot
  size_t member = 0;
};

const Record& ChargeOf(const ChargeGroup& g) { return g.charge; }
const Record& ReferralOf(const ChargeGroup& g) { return g.referral; }
const Record& FacilityOf(const ChargeGroup& g) { return g.facility; }
template <size_t K>
const Record& OtherInsuranceOf(const ChargeGroup& g) { return g.oins[K]; }

constexpr Field C(size_t member) { return {&ChargeOf, member}; }

struct Rule {
  size_t switch_member;  // break-preference member that must be "1"
  Test test;
  std::array<Field, 4> fields;
  const char* doc;  // when it fires, for the record reference
  const char* log;
  bool needs_fifth_pair = false;  // only when five diagnoses per charge count
};

namespace bp = break_pref;
namespace ch = charge;

// Strictly in this order; the first rule that fires decides.
const Rule kRules[] = {
    {bp::BreakOnEachCharge, Test::kEveryCharge, {},
     "every charge starts a claim of its own; no later rule is tested",
     "CheckChargeBreak = True because breaking on each charge"},
    {kNoSwitch, Test::kDetailLinesFull, {},
     "the claim already holds its 22 service lines",
     "CheckChargeBreak = true because Detail Lines > "},
    {kNoSwitch, Test::kDiagnosisOverflow, {},
     "the claim's diagnosis table has no room for the charge's new diagnoses",
     "CheckChargeBreak = true because Diagnosis Causes Overflow"},
    {bp::BreakOnInsurances, Test::kFieldsDiffer,
     {{{&OtherInsuranceOf<0>, oinsurance::IhCode},
       {&OtherInsuranceOf<1>, oinsurance::IhCode},
       {&OtherInsuranceOf<2>, oinsurance::IhCode},
       {&OtherInsuranceOf<3>, oinsurance::IhCode}}},
     "Other insurance `IhCode` differs in any of the four slots (6310 to 6340)",
     "CheckChargeBreak = True because One of the 4 insurances changed"},
    {bp::BreakOnCaseId, Test::kFieldsDiffer, {C(ch::CaseId)},
     "Charge `CaseId` differs",
     "CheckChargeBreak = True because Case ID changed"},
    {bp::BreakOnReferral, Test::kFieldsDiffer, {{{&ReferralOf, referral::IhCode}}},
     "Referral `IhCode` differs",
     "CheckChargeBreak = True because Referral Changed"},
    {bp::BreakOnFacility, Test::kFieldsDiffer, {{{&FacilityOf, facility::IhCode}}},
     "Facility `IhCode` differs",
     "CheckChargeBreak = True because Facility Changed"},
    {bp::BreakOnInsuranceAction, Test::kFieldsDiffer, {C(ch::InsuranceAction)},
     "Charge `InsuranceAction` differs",
     "CheckChargeBreak = True because Insurance Action Changed"},
    {bp::BreakOnPrimaryApproval, Test::kFieldsDiffer, {C(ch::PrimaryApprovalNumber)},
     "Charge `PrimaryApprovalNumber` differs",
     "CheckChargeBreak = True because Primary Approval # changed"},
    {bp::BreakOnTosCode, Test::kFieldsDiffer, {C(ch::TosCode)},
     "Charge `TosCode` differs",
     "CheckChargeBreak = True because TOS BillingCode changed"},
    {bp::BreakOnPosCode, Test::kFieldsDiffer, {C(ch::PosCode)},
     "Charge `PosCode` differs",
     "CheckChargeBreak = True because POS Code changed"},
    {bp::BreakOnEncounter, Test::kFieldsDiffer, {C(ch::EncounterId)},
     "Charge `EncounterId` differs",
     "CheckChargeBreak = True because Encounter Changed"},
    {bp::BreakOnProcedureCode, Test::kFieldsDiffer, {C(ch::ProcedureCode)},
     "Charge `ProcedureCode` differs",
     "CheckChargeBreak = True because Procedure CPT4 Code changed"},
    {bp::BreakOnModifier, Test::kFieldsDiffer,
     {C(ch::Modifier2), C(ch::Modifier1), C(ch::Modifier3), C(ch::Modifier4)},
     "any of Charge `Modifier1` to `Modifier4` differs",
     "CheckChargeBreak = True because a Modifier Billing Code changed"},
    {kNoSwitch, Test::kCodeSetChanged, {},
     "Charge `DiagnosisCodeSet` differs (ICD-9 against ICD-10); the rules after it are "
     "tested only when it does not",
     "CheckChargeBreak = True because a Diagnosis Code set changed from "},
    {bp::BreakOnPrimaryDiagnosis, Test::kFieldsDiffer, {C(ch::Diagnosis1)},
     "Charge `Diagnosis1` differs",
     "CheckChargeBreak = True because the Primary Diagnosis changed"},
    {bp::BreakOnDiagnoses, Test::kFieldsDiffer,
     {C(ch::Diagnosis2), C(ch::Diagnosis1), C(ch::Diagnosis3), C(ch::Diagnosis4)},
     "any of Charge `Diagnosis1` to `Diagnosis4` differs",
     "CheckChargeBreak = True because One of the Diagnosis changed"},
    {bp::BreakOnDiagnoses, Test::kFieldsDiffer, {C(ch::Diagnosis5)},
     "Charge `Diagnosis5` differs, when five diagnoses per charge count",
     "CheckChargeBreak = True because the 5th Diagnosis changed", true},
    {bp::BreakOnOnset, Test::kFieldsDiffer, {C(ch::OnsetDate), C(ch::OnsetType)},
     "Charge `OnsetDate` or `OnsetType` differs",
     "CheckChargeBreak = True because the Onset Type or Date changed"},
    {bp::BreakOnAdmissionDate, Test::kFieldsDiffer, {C(ch::AdmissionDate)},
     "Charge `AdmissionDate` differs",
     "CheckChargeBreak = True because Admission Date changed"},
    {bp::BreakOnDischargeDate, Test::kFieldsDiffer, {C(ch::DischargeDate)},
     "Charge `DischargeDate` differs",
     "CheckChargeBreak = True because Discharge Date changed"},
    {bp::BreakOnSendOpReport, Test::kFieldsDiffer, {C(ch::SendOpReport)},
     "Charge `SendOpReport` differs",
     "CheckChargeBreak = True because SendOPReport changed"},
    {bp::BreakOnAnesthesiaTimeUnit, Test::kFieldsDiffer, {C(ch::AnesthesiaTimeUnit)},
     "Charge `AnesthesiaTimeUnit` differs",
     "CheckChargeBreak = True because AnesthesiaTimeUnit changed"},
    {bp::BreakOnAnesthesiaType, Test::kFieldsDiffer, {C(ch::AnesthesiaType)},
     "Charge `AnesthesiaType` differs",
     "CheckChargeBreak = True because Anethesia Type changed"},
    {bp::BreakOnCapitatedService, Test::kFieldsDiffer, {C(ch::CapitatedService)},
     "Charge `CapitatedService` differs",
     "CheckChargeBreak = True because CapitatedService changed"},
    {bp::BreakOnMonth, Test::kMonthChanged, {},
     "the month of Charge `ServiceDate` (its first two characters) differs, or only one of "
     "the two charges has a date",
     "CheckChargeBreak = True because Month changed "},
};

// ---- evaluation -------------------------------------------------------------------

bool FieldsDiffer(const Rule& r, const ChargeGroup& now, const ChargeGroup& last) {
  for (const Field& f : r.fields)
    if (f.record && f.record(now)[f.member] != f.record(last)[f.member]) return true;
  return false;
}

// Month of an MMDDYYYY service date: only the first two characters count,
// so the same month of another year does not break. A date on one side only
// breaks (marked "*"), two dates of different months break ("**").
bool MonthChanged(const std::string& last, const std::string& now, std::string& mark) {
  const bool last_dated = last.size() >= 2, now_dated = now.size() >= 2;
  if (!last_dated && !now_dated) return false;
  if (last_dated && now_dated) {
    mark = "**";
    return last.compare(0, 2, now, 0, 2) != 0;
  }
  mark = "*";
  return true;
}

// The log line of a fired rule; empty when it did not fire.
std::optional<std::string> Fires(ClaimEnv& env, const Rule& r, ClaimTables& tables) {
  const ChargeGroup& now = env.cs.this_group;
  const ChargeGroup& last = env.cs.last_group;
  switch (r.test) {
    case Test::kEveryCharge:
      return r.log;
    case Test::kDetailLinesFull:
      if (env.cs.multipage) return std::nullopt;  // the claim goes on to another page
      if (GetNextDetailIndex(env, tables) > kDetailLinesPerClaim)
        return r.log + SignNum(kDetailLinesPerClaim);
      return std::nullopt;
    case Test::kDiagnosisOverflow:
      if (DoesDiagnosisCauseOverflow(env, env.cs.diags_per_charge)) return r.log;
      return std::nullopt;
    case Test::kFieldsDiffer:
      if (r.needs_fifth_pair && env.cs.diags_per_charge <= 4) return std::nullopt;
      if (FieldsDiffer(r, now, last)) return r.log;
      return std::nullopt;
    case Test::kCodeSetChanged: {
      const std::string& was = last.charge[charge::DiagnosisCodeSet];
      if (now.charge[charge::DiagnosisCodeSet] == was) return std::nullopt;
      return r.log + std::string(was == "9" ? "ICD9 to ICD10" : "ICD10 to ICD9");
    }
    case Test::kMonthChanged: {
      std::string mark;
      if (MonthChanged(last.charge[charge::ServiceDate], now.charge[charge::ServiceDate], mark))
        return r.log + mark;
      return std::nullopt;
    }
  }
  return std::nullopt;
}


}  // namespace

bool CheckChargeBreak(ClaimEnv& env, ClaimTables& tables) {
  bool decided = false;
  try {
    Guard([&] {
      env.cx.log.Line("CheckChargeBreak()");
      const Record& prefs = env.cs.last_top.break_pref;
      for (const Rule& r : kRules) {
        if (r.switch_member != kNoSwitch && prefs[r.switch_member] != "1") continue;
        std::optional<std::string> line = Fires(env, r, tables);
        if (!line) continue;
        decided = true;
        env.cs.last_break = r.test == Test::kDetailLinesFull     ? BreakCause::kLinesFull
                            : r.test == Test::kDiagnosisOverflow ? BreakCause::kDiagnosisOverflow
                                                                 : BreakCause::kOther;
        if (r.test == Test::kCodeSetChanged)
          env.cx.log.AnyLevel(*line);
        else
          env.cx.log.Line(*line);
        return;
      }
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" CheckChargeBreak() Error: ", e, kQueueIt | kShowBox);
  }
  return decided;
}

std::vector<BreakRuleDoc> BreakRuleDocs() {
  std::vector<BreakRuleDoc> docs;
  for (const Rule& r : kRules) docs.push_back({r.switch_member, r.doc, r.log});
  return docs;
}

int16_t CheckBreak(ClaimEnv& env, ClaimTables& tables, bool& is_break) {
  is_break = false;
  try {
    return Guard([&]() -> int16_t {
      env.cx.log.Line("CheckBreak()");
      ClaimState& c = env.cs;
      c.last_break = BreakCause::kOther;
      bool brk = false;
      // The arrival of a record is the change; its contents are not compared.
      for (const RecordType& r : RecordTypes()) {
        if (r.break_name.empty() || !r.slot.Top(c.this_top).Present()) continue;
        brk = true;
        env.cx.log.Joined({"** CheckBreak saw that ", r.break_name, " changed"});
      }
      if (c.this_group.charge[charge::TypeOfBill] != c.last_group.charge[charge::TypeOfBill]) {
        brk = true;
        env.cx.log.Line("CheckChargeBreak = True because UB92 Type Of Bill extdata changed **");
      }
      if (!brk) {
        env.cx.log.Line(" -- Checking Charge to see if that causes a break...");
        if (!CheckChargeBreak(env, tables)) return 0;
      }
      env.cx.log.Line("CheckBreak() Thinks there is a break");
      is_break = true;
      return 0;
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" CheckBreak() Error: ", e);
    return kFailed;
  }
}

}  // namespace ub04
