// Helpers the reference-data procedures share: the shared connection and
// the one way their error handlers queue a message.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/run_state.h"
#include "refdata/database.h"

namespace ub04 {

// The shared connection; raises 3704 when none is open.
DbConnection& SharedDb();

// Queues component name + what + " 9 Subscript out of range" with severity
// nr. what carries the procedure's own wording and blanks.
void QueueRefError(int16_t nr, std::string_view what, const RtError& e);

}  // namespace ub04
