// The payment-adjustment merge on two arbitrary lists: the running total and
// the list to add, separated by the first NUL byte (without one, the total is
// empty). Every call ends in 0 or 3; a failed merge leaves the total as it
// was; a merged total is in normal form: whole groups of four fields, no
// empty group, groups in byte order; and a list merged into an empty total
// is a fixed point: merging the result again gives it back. (A total that
// was not itself merged may keep pairs that repeat; only the added list's
// pairs are looked up in it.)
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "claim/payment_adjustments.h"
#include "base/context.h"

namespace {

ub04::Tokens Fields(const std::string& list) {
  ub04::Tokens t;
  size_t start = 0;
  for (;;) {
    size_t bar = list.find('|', start);
    t.push_back(list.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return t;
    start = bar + 1;
  }
}

// True when a written number reads back as itself: units past 15 digits are
// written in exponent form, which the leading-number rule reads as its
// mantissa only.
bool PlainNumber(const std::string& s) {
  return s.find_first_not_of("-0123456789.") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string total = nul == std::string::npos ? std::string() : input.substr(0, nul);
  std::string detail = nul == std::string::npos ? input : input.substr(nul + 1);

  // The helper reports to the run it is given: its own queue here.
  ub04::Context cx;
  cx.module_name = "QVR_UB04PPA_Format";
  cx.component_name = cx.module_name + ".Dll";
  ub04::PayAdjHelper helper(cx);
  const std::string before = total;
  int16_t r = helper.AddThePaymentAdjCodes(total, detail);
  if (r == 3) {
    if (total != before || cx.queue.MaxNr() != 3) __builtin_trap();
    return 0;
  }
  if (r != 0 || !cx.queue.Empty()) __builtin_trap();  // success queues nothing
  if (detail.empty()) {
    if (total != before) __builtin_trap();
    return 0;
  }
  if (total.empty()) return 0;

  ub04::Tokens f = Fields(total);
  if (f.size() % 4 != 0) __builtin_trap();
  bool plain = true;
  for (size_t i = 0; i < f.size(); i += 4) {
    if (f[i].empty()) __builtin_trap();
    if (i >= 4 && f[i] < f[i - 4]) __builtin_trap();
    plain = plain && PlainNumber(f[i + 2]) && PlainNumber(f[i + 3]);
  }
  if (!plain || !before.empty()) return 0;
  std::string again;
  if (helper.AddThePaymentAdjCodes(again, total) != 0) __builtin_trap();
  if (again != total) __builtin_trap();
  return 0;
}
