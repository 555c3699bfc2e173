#include "host/run_state.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/msgbox.h"
#include "claim/payment_adjustments.h"
#include "host/run_log.h"
#include "host/version.h"

namespace ub04 {

namespace {

// The runs of the Format_Class instances alive on this thread, oldest first,
// and the thread's own run for helpers used while none is.
thread_local std::vector<RunState*> t_live;
thread_local std::unique_ptr<RunState> t_idle;

// Characters 5 onward, 11 fewer than the name: ccc_ffffffff_Format -> ffffffff.
std::string FormCodeOf(const std::string& module) {
  long long n = static_cast<long long>(module.size()) - 11;
  return n > 0 ? Mid(module, 5, n) : std::string();
}

}  // namespace

RunState::RunState(const std::string& module_name, int16_t capacity, int16_t per_charge)
    : form_code(FormCodeOf(module_name)),
      diag_capacity(capacity > 0 ? capacity : 4),
      diags_per_charge(per_charge > 0 ? per_charge : 4) {
  cx.module_name = module_name;
  cx.component_name = module_name + ".Dll";
  npi_cutover_date = DateFromYmd(2007, 1, 1);
  InitClaimState(claim, diag_capacity, diags_per_charge);
}

ParseEnv RunState::parse_env() {
  const RefState& r = ref.state();
  return ParseEnv{cx,
                  services,
                  claim.this_top,
                  claim.this_group,
                  claim.this_follow,
                  form_code,
                  r.npi_legacy_note,
                  npi_cutover_date,
                  suppress_upin,
                  checks.on() ? &token_notes : nullptr};
}

std::string HostRecordServices::AlternatePracticeNpi(const std::string& practice_ih_code,
                                                     const std::string& provider_ih_code,
                                                     const std::string& insurance_ih_code) {
  return ref_.FetchAlternatePracticeNPIFromDB(practice_ih_code, provider_ih_code,
                                              insurance_ih_code);
}

bool HostRecordServices::OriginalPracticeAddress(Record& practice) {
  return ref_.FetchOriginalPracticeAddress(practice);
}

void HostRecordServices::ChooseDiagnosisCodeSet(Record& charge, const Record& insurance) {
  ref_.ChooseDiagnosisCodeSet(charge, insurance);
}

void HostRecordServices::NormalizeAdjustmentCodes(std::string& codes) {
  ub04::NormalizeAdjustmentCodes(cx_, codes);
}

namespace {
Context& RunContext() { return CurrentRun().cx; }
}  // namespace

// A helper the host creates on its own reports, at each call, to the newest
// instance alive on its thread.
PayAdjHelper::PayAdjHelper() : run_context_(&RunContext) {}

RunState& CurrentRun() {
  if (!t_live.empty()) return *t_live.back();
  if (!t_idle) t_idle = std::make_unique<RunState>(kModuleName, 4, 4);
  return *t_idle;
}

void EnterRun(RunState& run) { t_live.push_back(&run); }

void LeaveRun(RunState& run) {
  auto it = std::find(t_live.begin(), t_live.end(), &run);
  if (it != t_live.end()) t_live.erase(it);
}

std::string VersionText() {
  return PlainNum(UB04_VERSION_MAJOR) + "." + PlainNum(UB04_VERSION_MINOR) + "." +
         PlainNum(UB04_VERSION_PATCH);
}

bool HaveOutputPath(RunState& rs) {
  if (rs.output_path != "?") return true;
  rs.cx.Queue(kError, "Output Path was not set. " + rs.cx.component_name +
                     " doesn't know where to read/write files");
  return false;
}

bool HaveASCIIFilenm(RunState& rs) {
  if (rs.fmt_file_path != "?") return true;
  rs.cx.Queue(kError, "ASCII file name and path were not set. " + rs.cx.component_name +
                     " doesn't know what file to read/write.");
  return false;
}

}  // namespace ub04
