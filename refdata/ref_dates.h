// Dates as the reference tables hold them, and as the trace lines show them.
#pragma once

#include <string>
#include <string_view>

#include "base/runtime.h"

namespace ub04 {

// A reference-table date: "YYYY-MM-DD", "YYYY-MM-DD hh:mm:ss[.fff]" (the
// time is dropped) or "M/D/YYYY". Anything else, or a day or month out of
// range (never swapped), raises error 13.
Date RefDateFromText(std::string_view text);

// The short form of a date in trace lines and load reports: "12/31/2017",
// "1/1/1900".
std::string DateText(Date d);

}  // namespace ub04
