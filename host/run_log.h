// The run's log file: where it is, its banners, and the end-of-call flush of
// the run's outputs. The lines themselves are written through the run
// context's RunLog (base/run_log.h).
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

// The log's file name: output path + "/" + module name + ".Log"; without an
// output path, the current directory.
std::string LogFileName();

int16_t OpenLog();
int16_t CloseLog();
int16_t DeleteLog();

// Pushes buffered log and formatted-record lines to disk; called at the end
// of each public call so a host crash loses at most the current call.
void FlushOutputs();

}  // namespace ub04
