#include "host/run_state.h"

#include <memory>

#include "host/msgbox.h"
#include "host/run_log.h"
#include "host/version.h"

namespace ub04 {

namespace {
thread_local std::unique_ptr<RunState> t_state;
}

RunState& Rs() {
  if (!t_state) t_state = std::make_unique<RunState>();
  return *t_state;
}

const std::string& ComponentName() { return Rs().component_name; }

std::string VersionText() {
  return PlainNum(UB04_VERSION_MAJOR) + "." + PlainNum(UB04_VERSION_MINOR) + "." +
         PlainNum(UB04_VERSION_PATCH);
}

void AddToMessageArray(int16_t nr, std::string msg) {
  try {
    Rs().queue.Add(nr, std::move(msg));
  } catch (const std::exception& e) {
    ShowMessageBox(Rs().module_name + " AddToMessageArray()\r" + e.what());
  }
}

void SetErrorMsg(std::string text) { Rs().error_msg = std::move(text); }

void Shared_Initialize() {
  RunState& rs = Rs();
  try {
    // Whatever the previous run on this thread left open is closed, flushed,
    // before its state is forgotten.
    try {
      rs.fmt_out.Close();
    } catch (const RtError&) {
    }
    CloseLog();

    std::string module = rs.module_name;
    int16_t diag_capacity = rs.diag_capacity;
    int16_t diags_per_charge = rs.diags_per_charge;

    t_state = std::make_unique<RunState>();  // closes what the old one held
    RunState& fresh = Rs();
    fresh.module_name = module;
    fresh.diag_capacity = diag_capacity;
    fresh.diags_per_charge = diags_per_charge;
    fresh.component_name = module + ".Dll";
    // Characters 5 onward, 11 fewer than the name: ccc_ffffffff_Format -> ffffffff.
    long long n = static_cast<long long>(module.size()) - 11;
    fresh.form_code = n > 0 ? Mid(module, 5, n) : std::string();
    fresh.npi_cutover_date = DateFromYmd(2007, 1, 1);
    fresh.suppress_upin = true;
    InitClaimState(fresh.claim);
    // The diagnosis table takes the size the instance set; 4 when unset.
    if (fresh.diag_capacity <= 0) fresh.diag_capacity = 4;
    if (fresh.diags_per_charge <= 0) fresh.diags_per_charge = 4;
    fresh.claim.diag.assign(static_cast<size_t>(fresh.diag_capacity), DiagnosisEntry{});
  } catch (const std::exception& e) {
    ShowMessageBox(Rs().module_name + ".Dll had a problem in Shared_Initialize()\r" + e.what());
  }
}

}  // namespace ub04
