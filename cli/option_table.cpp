#include "cli/option_table.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace ub04fmt {

namespace {

using enum OptionId;
using enum OptionValue;
constexpr unsigned kFormatOrReprint = kFormatRun | kReprintRun;
constexpr unsigned kFormatOrCheck = kFormatRun | kCheckRun;
constexpr unsigned kWritingRuns = kFormatRun | kReprintRun | kCalibrationRun;

// One row per option, in the order --help lists them.
constexpr OptionRow kOptionRows[] = {
    {kOut, "out", 'o', kRequired, "DIR", "output folder (default \".\")", "-o /var/claims", kFormatOrReprint},
    {kFile, "file", 'f', kRequired, "NAME",
     "formatted-record file name inside DIR (default \"claims.fmt\"; no \"/\" and no \"..\")",
     "-f june.fmt", kFormatRun},
    {kOffsets, "offsets", 0, kRequired, "X,Y", "printer offsets in inches, each within +-1.00",
     "--offsets=+0.10,-0.05", kWritingRuns},
    {kLogLevel, "log-level", 0, kRequired, "N", "run log detail: 0, 1 or 2", "--log-level 1",
     kFormatRun},
    {kTestClaims, "test-claims", 0, kRequired, "A-B",
     "print only form pages A to B (1 <= A <= B <= 32767)", "--test-claims 2-3", kFormatRun},
    {kPrinter, "printer", 'p', kRequired, "QUEUE", "also send the PDF to this CUPS queue",
     "-p billing", kFormatOrReprint},
    {kDsn, "dsn", 'd', kRequired, "DSN",
     "reference database: an ODBC data source or an SQLite file", "-d ref.db", kFormatOrCheck},
    {kPreview, "preview", 0, kRequired, "DIR", "also write every printed page as a PNG into DIR",
     "--preview png/", kFormatOrReprint},
    {kManifest, "manifest", 0, kRequired, "FILE",
     "one row per claim: CSV, or JSON Lines when FILE ends in .jsonl", "--manifest claims.csv",
     kFormatRun},
    {kForm, "form", 0, kOptional, "red|grey",
     "draw the UB-04 form under the text (plain paper); red by default", "--form=grey", kFormatOrReprint},
    {kGrid, "grid", 0, kNone, "", "previews also show the 10 x 6 character grid", "", kFormatOrReprint},
    {kReprint, "reprint", 0, kRequired, "FILE.fmt",
     "print claims of FILE.fmt into FILE-reprint.pdf beside it (or in --out DIR); formats "
     "nothing",
     "--reprint june.fmt", kReprintRun},
    {kClaims, "claims", 0, kRequired, "LIST", "with --reprint: these claims only",
     "--claims 3,7-9", kReprintRun},
    {kAccount, "account", 0, kRequired, "TEXT",
     "with --reprint: claims whose patient, billing provider or insurance contains TEXT (any "
     "case)",
     "--account ellsworth", kReprintRun},
    {kCalibration, "calibration", 0, kRequired, "FILE.pdf",
     "write the calibration page for pre-printed forms into FILE.pdf and stop",
     "--calibration cal.pdf", kCalibrationRun},
    {kNoPrint, "no-print", 0, kNone, "", "format only; keep the run log", "", kFormatRun},
    {kPrintAnyway, "print-anyway", 0, kNone, "",
     "print even after an error (not after a usage error)", "", kFormatRun},
    {kStrict, "strict", 0, kNone, "", "treat warnings as errors: nothing is printed", "",
     kFormatRun},
    {kGroupReadable, "group-readable", 0, kNone, "",
     "create the output files 0640 instead of 0600", "", kWritingRuns},
    {kRawMessages, "raw-messages", 0, kNone, "",
     "component messages exactly as queued (for scripts)", "", kFormatOrReprint | kCheckRun},
    {kSplitLongClaims, "split-long-claims", 0, kNone, "",
     "a claim of more than 22 service lines becomes several claims of one page (instead of "
     "one claim of several pages)",
     "", kFormatOrCheck},
    {kCheck, "check", 0, kNone, "",
     "check the claims of BATCH and write nothing into the output folder (no file, log or PDF): "
     "one line per finding, a summary, status 3 when a claim would be held",
     "", kCheckRun},
    {kReport, "report", 0, kRequired, "FILE",
     "the checks' findings, one row each: CSV, or JSON Lines when FILE ends in .jsonl",
     "--report findings.csv", kFormatOrCheck},
    {kNoChecks, "no-checks", 0, kNone, "",
     "format without the claim checks: no findings, nothing held", "", kFormatRun},
    {kSkipCheck, "skip-check", 0, kRequired, "RULE",
     "the checks skip this rule (repeatable; docs/checks.md lists the rules)",
     "--skip-check ADMISSION-HOUR", kFormatOrCheck},
    {kHoldWarnings, "hold-warnings", 0, kNone, "",
     "also hold claims whose findings are warnings only", "", kFormatOrCheck},
    {kQuiet, "quiet", 'q', kNone, "", "no summary, no progress, no notes", "", kEveryRun},
    {kHelp, "help", 'h', kNone, "", "this text", "", kEveryRun},
    {kVersion, "version", 'V', kNone, "", "the component version", "", kEveryRun},
};

// getopt_long would take the first of two rows of one name or letter, and
// two rows of one id would be read as one option.
constexpr bool RowsAreUnique() {
  for (size_t i = 0; i < std::size(kOptionRows); ++i)
    for (size_t j = i + 1; j < std::size(kOptionRows); ++j)
      if (kOptionRows[i].id == kOptionRows[j].id ||
          std::string_view(kOptionRows[i].name) == kOptionRows[j].name ||
          (kOptionRows[i].letter && kOptionRows[i].letter == kOptionRows[j].letter))
        return false;
  return true;
}
static_assert(RowsAreUnique(), "two rows of kOptionRows share an id, a name or a letter");

constexpr const char* kUsageHead =
    "usage: ub04fmt [options] BATCH\n"
    "       ub04fmt --reprint FILE.fmt [--claims LIST] [--account TEXT] [options]\n"
    "       ub04fmt --calibration FILE.pdf [--offsets X,Y]\n"
    "       ub04fmt --check BATCH [--report FILE] [--skip-check RULE]\n"
    "Formats the records of BATCH (\"-\" reads standard input) into UB-04 claim\n"
    "pages: a formatted-record file in the output folder, and its printed pages\n"
    "as a PDF beside it (sent to a print queue with --printer). The claim checks\n"
    "(docs/checks.md) look at every claim first: one with an error finding is\n"
    "held in the held-claims file (FILE.held) instead of printed.\n"
    "\n"
    "options (--opt=VALUE and --opt VALUE both work; -- ends the options):\n";

constexpr const char* kUsageTail =
    "\n"
    "example: ub04fmt -o out -d ref.db --test-claims 1-2 --manifest m.csv batch.txt\n"
    "\n"
    "exit status:\n";

constexpr ExitStatusRow kExitStatuses[] = {
    {0, "everything was formatted and printed (or formatted, with --no-print), or checked and "
        "no claim would be held (--check)"},
    {1, "a failure: nothing was printed"},
    {2, "a usage error, or a batch or path that cannot be used: nothing was done"},
    {3, "printed, but not everything: claims refused or held (each listed), or a step "
        "after the pages went out failed (named), or checked and claims would be refused or held "
        "(--check)"},
};

constexpr size_t kWidth = 80;
constexpr size_t kHelpColumn = 25;

// Words of text in lines of at most width characters (a longer word alone).
std::vector<std::string> Wrap(std::string_view text, size_t width) {
  std::vector<std::string> lines(1);
  while (!text.empty()) {
    size_t space = text.find(' ');
    std::string_view word = text.substr(0, space);
    text = space == std::string_view::npos ? "" : text.substr(space + 1);
    if (word.empty()) continue;
    std::string& last = lines.back();
    if (!last.empty() && last.size() + 1 + word.size() > width) lines.emplace_back();
    if (!lines.back().empty()) lines.back() += ' ';
    lines.back() += word;
  }
  return lines;
}

// "  -o, --out DIR" or "      --form[=red|grey]".
std::string EntryName(const OptionRow& row) {
  std::string s = row.letter ? std::string("  -") + row.letter + ", " : "      ";
  s += LongName(row);
  if (row.value == kRequired) s += std::string(" ") + row.placeholder;
  if (row.value == kOptional) s += std::string("[=") + row.placeholder + "]";
  return s;
}

}  // namespace

std::span<const OptionRow> OptionTable() { return kOptionRows; }

const OptionRow* RowOfLetter(char letter) {
  if (letter == 0) return nullptr;
  for (const OptionRow& row : kOptionRows)
    if (row.letter == letter) return &row;
  return nullptr;
}

std::string LongName(const OptionRow& row) { return std::string("--") + row.name; }

std::string UsageText() {
  // The examples share one column, as far right as the longest allows.
  size_t example_column = kWidth;
  for (const OptionRow& row : kOptionRows)
    example_column = std::min(example_column, kWidth - std::min(kWidth, std::strlen(row.example)));
  example_column = std::max(example_column, kHelpColumn + 2);

  std::string out = kUsageHead;
  for (const OptionRow& row : kOptionRows) {
    std::vector<std::string> help = Wrap(row.help, kWidth - kHelpColumn);
    std::vector<std::string> lines;
    std::string name = EntryName(row);
    // Two spaces at least between name and help, so that a reader (and the
    // test that reads this text) tells "--opt VALUE" from "--opt  help".
    if (name.size() + 2 > kHelpColumn) {
      lines.push_back(name);
      name.clear();
    }
    for (const std::string& text : help) {
      name.resize(kHelpColumn, ' ');
      lines.push_back(name + text);
      name.clear();
    }
    // The example in its column, else just after the text, else below it.
    if (*row.example) {
      const size_t after = std::max(example_column, lines.back().size() + 2);
      if (after + std::strlen(row.example) > kWidth) lines.emplace_back();
      lines.back().resize(lines.back().empty() ? example_column : after, ' ');
      lines.back() += row.example;
    }
    for (const std::string& line : lines) out += line + "\n";
  }
  out += kUsageTail;
  for (const ExitStatusRow& e : kExitStatuses) {
    std::vector<std::string> lines = Wrap(e.meaning, kWidth - 6);
    for (size_t i = 0; i < lines.size(); ++i)
      out += (i == 0 ? "  " + std::to_string(e.status) + "   " : std::string(6, ' ')) + lines[i] + "\n";
  }
  return out;
}

std::span<const ExitStatusRow> ExitStatuses() { return kExitStatuses; }

}  // namespace ub04fmt
