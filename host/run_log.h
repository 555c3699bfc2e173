// The run's log file: where it is, its banners, and the end-of-call flush of
// the run's outputs. The lines themselves are written through the run
// context's RunLog (base/run_log.h).
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

struct RunState;

// The log's file name: output path + "/" + module name + ".Log"; without an
// output path, the current directory.
std::string LogFileName(const RunState& rs);

int16_t OpenLog(RunState& rs);
int16_t CloseLog(RunState& rs);
int16_t DeleteLog(RunState& rs);

// Pushes buffered log and formatted-record lines to disk; called at the end
// of each public call so a host crash loses at most the current call.
void FlushOutputs(RunState& rs);

}  // namespace ub04
