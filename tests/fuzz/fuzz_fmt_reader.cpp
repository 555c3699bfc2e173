// The formatted-record line parser and writer.
//
// Any input, taken as a line, parses cleanly or raises a run-time error,
// nothing else. Then the input chooses a line to write:
//
//   bytes 0-3, 4-7   X and Y, as the bits of a float
//   bytes 8-11       the number item
//   byte 12          length of the kind (mod 8), then the kind, then the text
//
// and the written line must read back: the same kind and text (with '"'
// written as '\'' and CR and LF as spaces), the same number, and X and Y
// equal to the float value of the position texts written. A position on any
// page (10^-4 <= |v| < 10^7) is written as printf's "%.7g" writes it.
// Non-finite positions are left out: no writer of the file produces them.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/runtime.h"
#include "form/fmt_file.h"

namespace {

// What a text item holds once written.
std::string Written(std::string s) {
  for (char& c : s) {
    if (c == '"') c = '\'';
    else if (c == '\r' || c == '\n') c = ' ';
  }
  return s;
}

// The value a reader must get from a position text: the float nearest to
// the decimal written.
float ValueOf(const std::string& item) {
  char* end = nullptr;
  float v = std::strtof(item.c_str(), &end);
  if (end == item.c_str() || *end != '\0') __builtin_trap();  // not a plain number
  return v;
}

void CheckPosition(float v) {
  const std::string item = ub04::PositionItem(v);
  if (item.find_first_not_of("-0123456789.") != std::string::npos) __builtin_trap();
  const double a = std::fabs(static_cast<double>(v));
  if (a >= 1e-4 && a < 1e7) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(v));
    if (std::strchr(buf, 'e') == nullptr && item != buf) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  ub04::FormattedLine any;
  try {
    ub04::ParseFormattedLine(input, any);
  } catch (const ub04::RtError&) {
  }
  if (size < 13) return 0;

  float x, y;
  int32_t number;
  std::memcpy(&x, data, 4);
  std::memcpy(&y, data + 4, 4);
  std::memcpy(&number, data + 8, 4);
  if (!std::isfinite(x)) x = 0;
  if (!std::isfinite(y)) y = 0;
  const size_t kind_len = std::min<size_t>(data[12] % 8, size - 13);
  const std::string kind = input.substr(13, kind_len);
  const std::string text = input.substr(13 + kind_len);
  CheckPosition(x);
  CheckPosition(y);

  std::string line = ub04::FormatRecordLine(kind, text, x, y, number);
  if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) __builtin_trap();
  line.resize(line.size() - 2);
  ub04::FormattedLine back;
  try {
    ub04::ParseFormattedLine(line, back);
  } catch (const ub04::RtError&) {
    __builtin_trap();  // a line the writer made must read
  }
  if (back.kind != Written(kind) || back.text != Written(text) || back.number != number)
    __builtin_trap();
  if (back.x != ValueOf(ub04::PositionItem(x)) || back.y != ValueOf(ub04::PositionItem(y)))
    __builtin_trap();
  return 0;
}
