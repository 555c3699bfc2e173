// The formatted-record line parser on arbitrary lines: a clean result or a
// run-time error, nothing else; a line it wrote itself always reads back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "form/fmt_file.h"
#include "base/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  ub04::FormattedLine l;
  try {
    ub04::ParseFormattedLine(line, l);
  } catch (const ub04::RtError&) {
  }
  // Round trip: whatever text we write must come back as written (quotes
  // and line ends replaced).
  std::string written = ub04::FormatRecordLine("F", line, 1.25f, 2.5f, 1);
  written.resize(written.size() - 2);
  ub04::FormattedLine back;
  ub04::ParseFormattedLine(written, back);
  if (back.text.size() != line.size() || back.kind != "F" || back.number != 1) __builtin_trap();
  return 0;
}
