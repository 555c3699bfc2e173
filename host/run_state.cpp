#include "host/run_state.h"

#include <memory>

#include "base/msgbox.h"
#include "claim/payment_adjustments.h"
#include "host/run_log.h"
#include "host/version.h"

namespace ub04 {

namespace {

thread_local std::unique_ptr<RunState> t_state;

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
                  suppress_upin};
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
Context& RunContext() { return Rs().cx; }
}  // namespace

// A helper the host creates on its own reports to the run its thread has at
// each call: creating a Format_Class replaces the run.
PayAdjHelper::PayAdjHelper() : run_context_(&RunContext) {}

RunState& Rs() {
  if (!t_state) t_state = std::make_unique<RunState>(kModuleName, 4, 4);
  return *t_state;
}

std::string VersionText() {
  return PlainNum(UB04_VERSION_MAJOR) + "." + PlainNum(UB04_VERSION_MINOR) + "." +
         PlainNum(UB04_VERSION_PATCH);
}

void Shared_Initialize(const std::string& module_name, int16_t diag_capacity,
                       int16_t diags_per_charge) {
  try {
    if (t_state) {
      // What the previous run on this thread left open is closed before its
      // state is forgotten: its log flushed, its unfinished formatted-record
      // file dropped (the last good file keeps its name).
      t_state->fmt.Abandon();
      CloseLog();
    }
    t_state.reset();
    t_state = std::make_unique<RunState>(module_name, diag_capacity, diags_per_charge);
  } catch (const std::exception& e) {
    ShowMessageBox(module_name + ".Dll had a problem in Shared_Initialize()\r" + e.what());
  }
}

bool HaveOutputPath() {
  RunState& rs = Rs();
  if (rs.output_path != "?") return true;
  rs.cx.Queue(3, "Output Path was not set. " + rs.cx.component_name +
                     " doesn't know where to read/write files");
  return false;
}

bool HaveASCIIFilenm() {
  RunState& rs = Rs();
  if (rs.fmt_file_path != "?") return true;
  rs.cx.Queue(3, "ASCII file name and path were not set. " + rs.cx.component_name +
                     " doesn't know what file to read/write.");
  return false;
}

}  // namespace ub04
