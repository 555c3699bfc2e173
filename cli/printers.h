// The CUPS destinations of this machine, for checking --printer.
#pragma once

#include <string>
#include <vector>

namespace ub04fmt {

// Names of the print queues CUPS knows here ("name" or "name/instance"), in
// its order; empty when there are none or the scheduler cannot be reached.
std::vector<std::string> PrintQueues();

}  // namespace ub04fmt
