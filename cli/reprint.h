// The runs of ub04fmt that format nothing: a reprint of chosen claims of an
// existing formatted-record file, and the calibration page.
#pragma once

#include "cli/options.h"

namespace ub04fmt {

// --reprint FILE.fmt: prints the claims ("C" to "N" groups) that --claims
// and --account choose (all when neither is given) into FILE-reprint.pdf
// beside FILE, or in --out DIR when given, with --form, --preview, --grid,
// --offsets and --printer as for a batch. An incomplete file, a claim
// number the file does not hold, or a choice that selects nothing prints
// nothing. Returns the exit status.
int Reprint(const Options& o);

// --calibration FILE.pdf: writes the calibration page, its marks moved by
// --offsets. Returns the exit status.
int Calibrate(const Options& o);

}  // namespace ub04fmt
