#include "claim/ext_data.h"

#include "base/text_util.h"
#include "records/layouts.h"

namespace ub04 {

namespace {

bool FindInExt(const Record& ext, std::string_view code, std::string& value) {
  return FindCodeValue(ext[ext_data::Pairs], code, value);
}

}  // namespace

bool LookUpExtData(const TopRecords& top, const ChargeGroup& g, int n, std::string_view code,
                   std::string& value) {
  value.clear();
  if (n < 1 || n > 5) return false;
  return FindInExt(g.ext_second(n), code, value) || FindInExt(g.ext_first(n), code, value) ||
         FindInExt(top.ext[static_cast<size_t>(n - 1)], code, value);
}

}  // namespace ub04
