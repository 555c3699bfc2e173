// ub04fmt's command line: every option read and checked before the component
// hears a single host message, so a typing mistake never turns into a run.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/option_table.h"

namespace ub04fmt {

struct Options {
  std::string out = ".";
  std::string file = "claims.fmt";
  std::optional<std::string> offsets;      // already the fixed-column text of message "4"
  std::optional<std::string> log_level;    // "0", "1" or "2"
  std::optional<int> test_from, test_to;   // 1 <= from <= to <= 32767
  std::optional<std::string> printer, dsn, preview, manifest;
  bool no_print = false;
  bool print_anyway = false;
  bool strict = false;
  bool raw_messages = false;
  bool quiet = false;
  bool group_readable = false;
  bool split_long_claims = false;  // host message "MULTIPAGE" "0" instead of "1"
  // The claim checks: --check (a run that only checks), --report FILE,
  // --no-checks, --skip-check RULE (host message "SKIPCHECK" each) and
  // --hold-warnings.
  bool check = false;
  std::optional<std::string> report;
  bool no_checks = false;
  std::vector<std::string> skip_checks;
  bool hold_warnings = false;
  std::string batch;

  // The form drawn under the text: "" none, "1" red, "2" grey (the text of
  // host message "PRINTFORM").
  std::string form;
  bool grid = false;                       // previews show the character grid
  std::optional<std::string> calibration;  // write the calibration page there, nothing else
  std::optional<std::string> reprint;      // print from this formatted-record file, format nothing
  std::vector<std::pair<int, int>> claims;  // --claims: ranges of claim numbers
  std::optional<std::string> account;       // --account: text of the claim's index
  bool out_given = false;
  float offset_x = 0, offset_y = 0;         // --offsets in inches

  bool test_claims() const { return test_from.has_value(); }
  // The text of host message "6" ("FROM//TO").
  std::string TestClaimsMessage() const;
};

// Reads argv into o. Returns an exit status when the program should stop now
// (0 after --help or --version, 2 after a usage error, already reported on
// standard error); nullopt when the run goes on. Besides every value, it
// checks that the options go together: an option the run's kind (the row's
// runs) does not take is a usage error, as is a batch given to --reprint or
// --calibration.
std::optional<int> ParseOptions(int argc, char** argv, Options& o);

// Reads one option's value into o: value is what followed the option, or
// nullptr when nothing did (only for an optional value, or none). Returns
// the usage error, without the program's name, when the value is refused.
// --help and --version are ParseOptions' own: here they do nothing.
std::optional<std::string> ApplyOption(const OptionRow& row, const char* value, Options& o);

// The checks behind the options, exposed for their own sake. Each returns
// nullopt for text it does not accept.
// "X,Y" in signed inches (at most two decimals, each within +-1.00), or the
// old ten-column form, to the ten-column text message "4" reads.
std::optional<std::string> OffsetsMessage(const std::string& text);
// "3,7-9": claim numbers and ranges, each 1 to 2147483647, FROM <= TO.
std::optional<std::vector<std::pair<int, int>>> ClaimList(const std::string& text);
// "FROM-TO", whole numbers with 1 <= FROM <= TO <= 32767.
std::optional<std::pair<int, int>> TestClaimRange(const std::string& text);

}  // namespace ub04fmt
