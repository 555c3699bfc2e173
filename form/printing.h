// Printing of the formatted-record file.
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

// Host message "7": makes the first installed printer whose name equals
// name exactly the current printer; otherwise the current printer stays.
void SelectPrinter(const std::string& name);

// Reads the formatted-record file and prints it page by page (the work of
// ProcessFormattedRecords after its file-name check and DeleteLog).
// Returns 0, or 1 when a message was queued.
int16_t PrintFormattedRecords();

}  // namespace ub04
