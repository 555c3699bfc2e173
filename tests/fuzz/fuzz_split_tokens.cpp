// SplitTokens on arbitrary bytes and separators: it must never crash, and
// joining its tokens must account for every byte it kept.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t sep_len = data[0] % 4;
  if (size < 1 + sep_len) return 0;
  std::string sep(reinterpret_cast<const char*>(data + 1), sep_len);
  std::string text(reinterpret_cast<const char*>(data + 1 + sep_len), size - 1 - sep_len);
  ub04::Tokens t{"unchanged"};
  try {
    ub04::SplitTokens(text, sep, t);
  } catch (const ub04::RtError& e) {
    if (e.number() != ub04::kErrOverflow) __builtin_trap();
    return 0;
  }
  if (sep.empty()) {
    if (t.size() != 1 || t[0] != "unchanged") __builtin_trap();
    return 0;
  }
  size_t kept = 0;
  for (const auto& tok : t) kept += tok.size();
  if (kept > text.size()) __builtin_trap();
  return 0;
}
