#include "records/record.h"

#include "base/runtime.h"

namespace ub04 {

std::string& Record::Missing() { Raise(kErrSubscript); }

void Record::Clear() {
  // Most members of a record cleared at every end of charge are empty
  // already: reading a length costs less than writing a cleared string.
  for (auto& s : m)
    if (!s.empty()) s.clear();
  if (!flags.empty()) flags.assign(flags.size(), false);
}

}  // namespace ub04
