// ICD-10 readiness: which diagnosis code set a charge is billed with.
//
// A charge that carries only ICD-9 or only ICD-10 codes uses that set. One
// with both (or neither) uses ICD-10 from the date its payer accepts it: the
// readiness row of its insurance, else of its payer organization (a prefix
// of the payer identifier), else the standard row, else 1 October 2014. The
// rows are loaded with the database connection; while nothing is loaded the
// walk finds nothing and the default date applies. The operations are
// RefData's (refdata/refdata.h).
#pragma once

#include "base/runtime.h"

namespace ub04 {

// The date from which the standard rule bills ICD-10 when no row says so.
Date DefaultIcd10ReadyDate();

}  // namespace ub04
