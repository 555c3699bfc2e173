#include "claim/ext_data.h"

#include "base/text_util.h"
#include "records/layouts.h"

namespace ub04 {

namespace {

bool FindInExt(const Record& ext, std::string_view code, std::string& value) {
  return FindCodeValue(ext[ext_data::Pairs], code, value);
}

}  // namespace

std::array<const Record*, 3> ExtDataRecords(const TopRecords& top, const ChargeGroup& g,
                                            int n) {
  if (n < 1 || n > 5) return {};
  return {&g.ext_second(n), &g.ext_first(n), &top.ext[static_cast<size_t>(n - 1)]};
}

bool LookUpExtData(const TopRecords& top, const ChargeGroup& g, int n, std::string_view code,
                   std::string& value) {
  value.clear();
  if (n < 1 || n > 5) return false;
  for (const Record* ext : ExtDataRecords(top, g, n))
    if (FindInExt(*ext, code, value)) return true;
  return false;
}

}  // namespace ub04
