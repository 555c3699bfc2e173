#include "base/run_log.h"

#include <cstring>

#include "base/runtime.h"

namespace ub04 {

// Lines are composed straight in the log's buffer; Flush() sends them to the
// file at the end of the host call. A trace line is never worth failing the
// work it describes, so a failed write is dropped here.

void RunLog::Flush() {
  try {
    file_.Flush();
  } catch (const RtError&) {
  }
}

void RunLog::Quoted(const std::string_view* parts, size_t n) {
  if (!file_.IsOpen()) return;
  size_t size = 4;  // the quotes and the line end
  for (size_t i = 0; i < n; ++i) size += parts[i].size();
  try {
    char* const line = file_.Room(size);
    char* p = line;
    *p++ = '"';
    for (size_t i = 0; i < n; ++i) {
      if (parts[i].empty()) continue;
      std::memcpy(p, parts[i].data(), parts[i].size());
      p += parts[i].size();
    }
    MendItemText(line + 1, p);
    std::memcpy(p, "\"\r\n", 3);
    file_.Wrote(p + 3);
  } catch (const RtError&) {
  }
}

void RunLog::Items(std::initializer_list<std::string_view> items) {
  if (level_ < 1 || !file_.IsOpen()) return;
  size_t size = 2;  // the line end
  for (std::string_view item : items) size += item.size() + 3;  // quotes, comma
  try {
    char* p = file_.Room(size);
    bool first = true;
    for (std::string_view item : items) {
      if (!first) *p++ = ',';
      first = false;
      *p++ = '"';
      if (!item.empty()) std::memcpy(p, item.data(), item.size());
      MendItemText(p, p + item.size());
      p += item.size();
      *p++ = '"';
    }
    std::memcpy(p, "\r\n", 2);
    file_.Wrote(p + 2);
  } catch (const RtError&) {
  }
}

void RunLog::Grid(std::string_view label, std::string_view value) {
  if (!Tracing()) return;
  // The line is laid out in the buffer itself: blanks, then the label and
  // the value over them; only those two can hold a byte to mend.
  static constexpr char kBlank[] =
      "\"                                                                                \"\r\n";
  static_assert(sizeof kBlank - 1 == 80 + 4);
  try {
    char* const p = file_.Room(sizeof kBlank - 1);
    std::memcpy(p, kBlank, sizeof kBlank - 1);
    char* const line = p + 1;
    const size_t l = label.copy(line, 20);
    const size_t v = value.copy(line + 24, 56);
    MendItemText(line, line + l);
    MendItemText(line + 24, line + 24 + v);
    file_.Wrote(p + sizeof kBlank - 1);
  } catch (const RtError&) {
  }
}

}  // namespace ub04
