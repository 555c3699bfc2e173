// ub04fmt's options as one table: a command-line option is a row of it.
//
// The usage text (--help) and getopt_long's table are generated from the
// rows; cli/options.cpp reads each option's value by its row's id, and the
// runs a row belongs to decide which options a --reprint or --calibration
// run refuses. docs/ub04fmt.1 and README.md describe the options by hand; a
// test holds them to this table.
//
// Adding an option: an id here, a row in kOptionRows (cli/option_table.cpp),
// a field of Options and the id's case in ApplyOption (cli/options.cpp),
// which the compiler asks for; then its entries in the man page and the
// README, which the test asks for.
#pragma once

#include <span>
#include <string>

namespace ub04fmt {

enum class OptionId {
  kOut, kFile, kOffsets, kLogLevel, kTestClaims, kPrinter, kDsn, kPreview, kManifest,
  kForm, kGrid, kReprint, kClaims, kAccount, kCalibration, kNoPrint, kPrintAnyway,
  kStrict, kGroupReadable, kRawMessages, kSplitLongClaims, kCheck, kReport, kNoChecks,
  kSkipCheck, kHoldWarnings, kQuiet, kHelp, kVersion,
};

enum class OptionValue { kNone, kRequired, kOptional };

// The kinds of run; a row's `runs` is a mask of those it belongs to. A run
// given an option outside its kind refuses it before any work: the option
// would do nothing there, and the user could not tell that from a run that
// used it.
enum RunKind : unsigned {
  kFormatRun = 1,       // formatting a BATCH
  kReprintRun = 2,      // --reprint FILE.fmt
  kCalibrationRun = 4,  // --calibration FILE.pdf
  kCheckRun = 8,        // --check BATCH: the checks only, nothing written
};
constexpr unsigned kEveryRun = kFormatRun | kReprintRun | kCalibrationRun | kCheckRun;

struct OptionRow {
  OptionId id;
  const char* name;         // the long name, without "--"
  char letter;              // the short letter, or 0
  OptionValue value;
  const char* placeholder;  // the value as the usage shows it ("DIR", "red|grey"); "" without
  const char* help;         // one line of usage text; the generator wraps it
  const char* example;      // a use of the option; "" only for one without a value
  unsigned runs;            // the RunKinds it belongs to
};

// The rows in the order --help lists them.
std::span<const OptionRow> OptionTable();

// What each exit status means: --help lists them, and the man page and the
// README say the same (a test holds them to this table).
struct ExitStatusRow {
  int status;
  const char* meaning;
};
std::span<const ExitStatusRow> ExitStatuses();

// The row of the short letter, or nullptr.
const OptionRow* RowOfLetter(char letter);

// "--name", as messages and the usage name the option.
std::string LongName(const OptionRow& row);

// The text of --help: the usage lines, one entry per row (help text wrapped,
// the example in a column of its own), then the closing example and the exit
// statuses. Every line fits in 80 columns unless a single word is longer.
std::string UsageText();

}  // namespace ub04fmt
