#include "base/run_log.h"

#include <cstring>

#include "base/runtime.h"

namespace ub04 {

// Lines go straight into the log's buffer; Flush() sends them to the file at
// the end of the host call. A trace line is never worth failing the work it
// describes, so a failed write is dropped here.
template <class Fill>
void RunLog::WriteWith(Fill&& fill) {
  if (!file_.IsOpen()) return;
  try {
    file_.WriteWith([&](std::string& b) {
      fill(b);
      b += "\r\n";
    });
  } catch (const RtError&) {
  }
}

void RunLog::Flush() {
  try {
    file_.Flush();
  } catch (const RtError&) {
  }
}

void RunLog::Line(std::string_view text) {
  if (Tracing()) AnyLevel(text);
}

void RunLog::Joined(std::initializer_list<std::string_view> parts) {
  if (!Tracing()) return;
  WriteWith([&](std::string& b) { AppendQuotedJoin(b, parts); });
}

void RunLog::AnyLevel(std::string_view text) {
  WriteWith([&](std::string& b) { AppendQuoted(b, text); });
}

void RunLog::Items(std::initializer_list<std::string_view> items) {
  if (level_ < 1) return;
  WriteWith([&](std::string& b) {
    bool first = true;
    for (std::string_view item : items) {
      if (!first) b += ',';
      first = false;
      AppendQuoted(b, item);
    }
  });
}

void RunLog::Grid(std::string_view label, std::string_view value) {
  if (!Tracing()) return;
  char line[80];
  std::memset(line, ' ', sizeof line);
  label.copy(line, 20);
  value.copy(line + 24, 56);
  AnyLevel(std::string_view(line, sizeof line));
}

}  // namespace ub04
