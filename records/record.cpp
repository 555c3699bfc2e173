#include "records/record.h"

#include "base/runtime.h"

namespace ub04 {

std::string& Record::Missing() { Raise(kErrSubscript); }

void Record::Clear() {
  for (auto& s : m) s.clear();
  flags.assign(flags.size(), false);
}

}  // namespace ub04
