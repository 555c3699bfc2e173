#include "host/run_log.h"

#include <cstdio>

#include "base/runtime.h"
#include "host/run_state.h"

namespace ub04 {

std::string LogFileName(const RunState& rs) {
  std::string dir = (!rs.output_path.empty() && rs.output_path[0] == '?') ? "." : rs.output_path;
  return OutputFilePath(dir, rs.cx.module_name + ".Log");
}

int16_t OpenLog(RunState& rs) {
  RunLog& log = rs.cx.log;
  if (log.IsOpen()) return 0;
  try {
    Date today = Today();
    std::string when = LongDate(today) + " " + TimeHms();
    log.Open(LogFileName(rs), rs.file_mode);
    log.AnyLevel("***");
    log.AnyLevel("*** Opened on: " + when);
    log.AnyLevel("***");
    log.AnyLevel(rs.form_code + " " + VersionText());
    log.AnyLevel("giTestClaims_Starting = " + SignNum(rs.print.test_claims_starting));
    log.AnyLevel("giTestClaims_Ending = " + SignNum(rs.print.test_claims_ending));
    log.Line(" >>>>> gbDBConnectionIsGood = " + BoolText(rs.ref.connected()));
    const std::string& note = rs.ref.state().icd10_readiness_note;
    if (!Trim(note).empty()) log.Line(note);
    return 0;
  } catch (const RtError& e) {
    log.set_level(0);
    if (e.number() == kErrFileAlreadyOpen) return 0;
    rs.cx.ReportError(" OpenLog()  Error: ", e);
    return kFailed;
  }
}

int16_t CloseLog(RunState& rs) {
  RunLog& log = rs.cx.log;
  int16_t result = 0;
  if (log.IsOpen()) {
    std::string when = LongDate(Today()) + " " + TimeHms();
    log.AnyLevel("***");
    log.AnyLevel("*** Closed on: " + when);
    log.AnyLevel("***");
    try {
      log.Close();
    } catch (const RtError& e) {
      rs.cx.ReportError(" CloseLog() ", e);
      result = kFailed;
    }
  }
  log.set_level(0);
  return result;
}

int16_t DeleteLog(RunState& rs) {
  int16_t result = CloseLog(rs);
  std::remove(LogFileName(rs).c_str());
  return result;
}

void FlushOutputs(RunState& rs) {
  rs.cx.log.Flush();
  rs.fmt.Flush();
}

}  // namespace ub04
