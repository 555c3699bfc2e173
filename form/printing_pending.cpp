// Placeholder printer: checks the file and prints nothing. Replaced as
// printing lands.
#include "form/fmt_file.h"
#include "form/printing.h"
#include "host/run_state.h"

namespace ub04 {

void SelectPrinter(const std::string&) {}

int16_t PrintFormattedRecords() {
  RunState& rs = Rs();
  try {
    FormattedFileReader reader;
    reader.Open(rs.fmt_file_path);
    return 0;
  } catch (const RtError& e) {
    if (e.number() == kErrFileNotFound)
      AddToMessageArray(3, "ProcessFormattedRecords()  File Not Found: ");
    else
      AddToMessageArray(3, "ProcessFormattedRecords()  Error: " + ErrorText(e));
    AddToMessageArray(3, "File: " + rs.fmt_file_path);
    return 1;
  }
}

}  // namespace ub04
