// ub04fmt: formats a batch file into UB-04 claim pages from the command line.
//
// A batch holds one entry per line: "KEY<TAB>RECORD" is a record, "@NR<TAB>TEXT"
// a host message; blank lines and lines starting with "#" are skipped. Every
// answer the component queues is shown on standard error with the batch line
// that caused it; nothing is printed after an error unless asked to, and a
// summary of the run ends it.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/text_util.h"
#include "cli/batch.h"
#include "cli/driver.h"
#include "cli/manifest.h"
#include "cli/options.h"
#include "cli/reprint.h"
#include "host/format_class.h"
#include "print/printing.h"
#include "refdata/database.h"

namespace ub04fmt {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::string Plural(long long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The paths a run needs, checked before the component hears a host message:
// "" or what to fix.
std::string WhyNotRunnable(const Options& o) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(o.out, ec))
    return "--out " + ub04::ClipForMessage(o.out) +
           (Exists(o.out) ? " is not a folder" : " does not exist: make it first, or choose another");
  if (::access(o.out.c_str(), W_OK | X_OK) != 0)
    return "--out " + ub04::ClipForMessage(o.out) + " cannot be written by this user";
  if (o.dsn && o.dsn->find('=') == std::string::npos &&
      (Exists(*o.dsn) || ub04::NamesAFile(*o.dsn))) {
    if (!fs::is_regular_file(*o.dsn, ec))
      return "--dsn " + ub04::ClipForMessage(*o.dsn) +
             (Exists(*o.dsn) ? " is not a database file" : " does not exist");
    if (::access(o.dsn->c_str(), R_OK) != 0)
      return "--dsn " + ub04::ClipForMessage(*o.dsn) + " cannot be read by this user";
  }
  const std::pair<const char*, const std::optional<std::string>&> listings[] = {
      {"--manifest ", o.manifest}, {"--report ", o.report}};
  for (const auto& [option, file] : listings) {
    if (!file) continue;
    fs::path parent = fs::path(*file).parent_path();
    if (parent.empty()) parent = ".";
    if (!fs::is_directory(parent, ec))
      return option + ub04::ClipForMessage(*file) + ": the folder " +
             ub04::ClipForMessage(parent.string()) + " does not exist";
  }
  return "";
}

// The private folder a --check run formats into, outside the output
// folder, removed with everything in it when the run ends.
class ScratchFolder {
 public:
  std::string Make() {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/ub04fmt-check-XXXXXX";
    if (!::mkdtemp(name.data())) return "";
    path_ = name;
    return path_;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }

 private:
  std::string path_;
};

// The claim checks as host messages: ub04fmt holds by default; --no-checks
// turns them off, --print-anyway reports without holding (every claim
// prints).
void SetUpChecks(Driver& d, const Options& o) {
  if (o.no_checks) return;  // the component's default: off
  d.Setup("CHECKS", o.print_anyway ? "1" : "2", o.print_anyway ? "--print-anyway" : "the checks");
  if (o.hold_warnings) d.Setup("HOLDWARNINGS", "1", "--hold-warnings");
  for (const std::string& rule : o.skip_checks) d.Setup("SKIPCHECK", rule, "--skip-check");
}

// Returns an exit status, or -1 when the batch went through.
int FeedBatch(Driver& d, BatchReader& in, const std::string& name) {
  std::string_view line;
  long long line_no = 0;
  while (in.Next(line)) {
    ++line_no;
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      d.Flush();
      std::fprintf(stderr, "ub04fmt: %s line %lld: no TAB between key and record\n",
                   name.c_str(), line_no);
      return 2;
    }
    std::string head(line.substr(0, tab));
    std::string body(line.substr(tab + 1));
    if (!head.empty() && head[0] == '@')
      d.Message(head.substr(1), body, line_no);
    else
      d.Record(head, body, line_no);
  }
  if (!in.error().empty()) {
    d.Flush();
    std::fprintf(stderr, "ub04fmt: cannot read %s: %s\n", name.c_str(), in.error().c_str());
    return 2;
  }
  return -1;
}

// The claims that did not go out, one line each (the first few hundred).
// held_path: the held-claims file, "" when nothing was written (--check).
void ListClaimsKeptBack(const Driver& d, const std::string& held_path) {
  const char* held = held_path.empty() ? "would hold" : "held";
  constexpr size_t kShown = 200;
  size_t shown = 0;
  for (const ClaimNote& c : d.refused())
    if (shown++ < kShown)
      std::fprintf(stderr, "ub04fmt: refused: account %s: %s\n",
                   ub04::ClipForMessage(c.account).c_str(), c.why.c_str());
  for (const ClaimNote& c : d.held())
    if (shown++ < kShown)
      std::fprintf(stderr, "ub04fmt: %s: claim %d (account %s): %s\n", held, c.sequence,
                   ub04::ClipForMessage(c.account).c_str(), c.why.c_str());
  if (shown > kShown) std::fprintf(stderr, "ub04fmt: ... and %zu more\n", shown - kShown);
  if (!d.held().empty() && !held_path.empty())
    std::fprintf(stderr, "ub04fmt: held claims: %s (ub04fmt --reprint prints them on purpose)\n",
                 held_path.c_str());
}

// "7 findings (4 errors, 3 warnings)".
std::string FindingsText(const Driver& d) {
  return Plural(d.findings(), "finding", "findings") + " (" +
         Plural(d.finding_errors(), "error", "errors") + ", " +
         Plural(d.findings() - d.finding_errors(), "warning", "warnings") + ")";
}

// The end of a --check run: what would go out, what would not, the status.
int CheckSummary(const Driver& d, const Options& o) {
  const long long kept_back = static_cast<long long>(d.held().size() + d.refused().size());
  if (!o.quiet) {
    std::fprintf(stderr, "ub04fmt: checked %s (%s): %s would be held or refused; %s; %s, %s\n",
                 Plural(d.claims() + kept_back, "claim", "claims").c_str(),
                 Plural(d.charges(), "charge", "charges").c_str(),
                 std::to_string(kept_back).c_str(), FindingsText(d).c_str(),
                 Plural(d.warnings(), "other warning", "other warnings").c_str(),
                 Plural(d.errors(), "error", "errors").c_str());
    ListClaimsKeptBack(d, "");
    if (o.report && Exists(*o.report)) std::fprintf(stderr, "ub04fmt: findings report: %s\n", o.report->c_str());
    std::fputs("ub04fmt: nothing written (--check)\n", stderr);
  }
  if (d.failed()) {
    std::fprintf(stderr, "ub04fmt: check failed: %s\n", d.why_failed().c_str());
    return 1;
  }
  return kept_back > 0 ? 3 : 0;
}

int Run(const Options& o) {
  BatchReader in;
  if (!in.Open(o.batch)) {
    std::fprintf(stderr, "ub04fmt: cannot read %s: %s\n", o.batch.c_str(), in.error().c_str());
    return 2;
  }
  if (std::string why = WhyNotRunnable(o); !why.empty()) {
    std::fprintf(stderr, "ub04fmt: %s\n", why.c_str());
    return 2;
  }
  FindingsReport report;
  if (o.report) {
    if (std::string why = report.Open(*o.report); !why.empty()) {
      std::fprintf(stderr, "ub04fmt: error: findings report not written: %s\n", why.c_str());
      return 1;
    }
  }
  ManifestWriter manifest;
  if (o.manifest) {
    const int from = o.test_claims() ? *o.test_from : 1;
    const int to = o.test_claims() ? *o.test_to : INT_MAX;
    if (std::string why = manifest.Open(*o.manifest, from, to); !why.empty()) {
      std::fprintf(stderr, "ub04fmt: error: manifest not written: %s\n", why.c_str());
      return 1;
    }
  }

  // --check formats into a folder of its own, so that nothing reaches the
  // output folder.
  ScratchFolder scratch;
  const std::string out = o.check ? scratch.Make() : o.out;
  if (out.empty()) {
    std::fprintf(stderr, "ub04fmt: error: cannot make a private folder to check in: %s\n",
                 std::strerror(errno));
    return 1;
  }
  Driver d(o, isatty(STDERR_FILENO) != 0, o.manifest ? &manifest : nullptr,
           o.report ? &report : nullptr);
  if (d.Setup("1", out, o.check ? "--check" : "--out"))
    d.Setup("2", o.file, "--file");  // "2" joins onto "1"
  if (o.group_readable) d.Setup("FILEMODE", "0640", "--group-readable");
  // Claims go to payers: one claim is one claim, over as many pages as it needs.
  d.Setup("MULTIPAGE", o.split_long_claims ? "0" : "1",
          o.split_long_claims ? "--split-long-claims" : "claims of several pages");
  if (o.offsets) d.Setup("4", *o.offsets, "--offsets");
  if (o.log_level) d.Setup("5", *o.log_level, "--log-level");
  if (o.test_claims()) d.Setup("6", o.TestClaimsMessage(), "--test-claims");
  if (o.printer) d.Setup("7", *o.printer, "--printer");
  if (o.dsn) d.Setup("CONNECTIONSTRING", *o.dsn, "--dsn");
  if (!o.form.empty()) d.Setup("PRINTFORM", o.form, "--form");
  SetUpChecks(d, o);

  if (int code = FeedBatch(d, in, o.batch); code >= 0) return code;
  d.Finish();
  if (o.report) {
    if (std::string why = report.Commit(); !why.empty()) {
      std::fprintf(stderr, "ub04fmt: error: findings report not written: %s\n", why.c_str());
      d.Fail("the findings report was not written");
    }
  }
  if (o.check) return CheckSummary(d, o);

  const std::string fmt_path = o.out + "/" + o.file;
  const std::string log_path = o.out + "/" + ub04::kModuleName + ".Log";
  // What this run wrote: claims written to a file that did not take its
  // name are in no file.
  const bool written = d.file_written();
  const long long pages = written ? d.pages() : 0;
  if (!written) manifest.Clear();
  if (o.strict && d.warnings() > 0)
    d.Fail(Plural(d.warnings(), "warning", "warnings") + " with --strict");
  bool range_empty = o.test_claims() && pages > 0 && *o.test_from > pages;
  if (range_empty) {
    std::fprintf(stderr,
                 "ub04fmt: error: --test-claims %d-%d selects no page: the batch made %s\n",
                 *o.test_from, *o.test_to, Plural(pages, "page", "pages").c_str());
    d.Fail("the test-claim range selects no page");
  }
  // The manifest goes in place before anything is printed, so that a job on
  // its way never has a missing manifest beside it.
  if (o.manifest) {
    if (std::string why = manifest.Commit(); !why.empty()) {
      std::fprintf(stderr, "ub04fmt: error: manifest not written: %s\n", why.c_str());
      d.Fail("the manifest was not written");
    }
  }

  bool printed = false;
  if (o.no_print) {
    // formatting only, as asked
  } else if (pages == 0 && !d.failed()) {
    if (!o.quiet) std::fputs("ub04fmt: nothing to print: the batch made no claim\n", stderr);
  } else if (d.failed() && !(o.print_anyway && !range_empty)) {
    std::fprintf(stderr, "ub04fmt: nothing printed: %s%s\n", d.why_failed().c_str(),
                 range_empty ? "" : " (--print-anyway prints regardless)");
  } else {
    printed = d.Print();
  }
  const long long printed_pages = d.pages_printed();

  if (!o.quiet) {
    std::string pdf = ub04::PdfPathFor(fmt_path);
    std::fprintf(stderr, "ub04fmt: %s, %s, %s; %s%s, %s\n",
                 Plural(written ? d.claims() : 0, "claim", "claims").c_str(),
                 Plural(pages, "page", "pages").c_str(),
                 Plural(d.charges(), "charge", "charges").c_str(),
                 o.no_checks ? "" : (FindingsText(d) + ", ").c_str(),
                 Plural(d.warnings(), "warning", "warnings").c_str(),
                 Plural(d.errors(), "error", "errors").c_str());
    ListClaimsKeptBack(d, fmt_path + ".held");
    if (written)
      std::fprintf(stderr, "ub04fmt: formatted records: %s\n", fmt_path.c_str());
    else if (Exists(fmt_path))
      std::fprintf(stderr, "ub04fmt: formatted records: none written (%s keeps an earlier run's)\n",
                   fmt_path.c_str());
    else
      std::fputs("ub04fmt: formatted records: none written\n", stderr);
    if (printed_pages > 0) {
      if (o.test_claims()) {
        long long last = std::min<long long>(*o.test_to, pages);
        std::fprintf(stderr, "ub04fmt: printed: %s (pages %d-%lld, %lld of %lld)\n", pdf.c_str(),
                     *o.test_from, last, printed_pages, pages);
      } else {
        std::fprintf(stderr, "ub04fmt: printed: %s (%s)\n", pdf.c_str(),
                     Plural(printed_pages, "page", "pages").c_str());
      }
      if (d.job_sent()) std::fprintf(stderr, "ub04fmt: sent to print queue %s\n", o.printer->c_str());
      if (o.preview) std::fprintf(stderr, "ub04fmt: page previews: %s\n", o.preview->c_str());
    } else {
      std::fprintf(stderr, "ub04fmt: printed: nothing%s\n", o.no_print ? " (--no-print)" : "");
    }
    if (o.manifest && Exists(*o.manifest))
      std::fprintf(stderr, "ub04fmt: manifest: %s\n", o.manifest->c_str());
    if (o.report && Exists(*o.report))
      std::fprintf(stderr, "ub04fmt: findings report: %s\n", o.report->c_str());
    if (Exists(log_path))
      std::fprintf(stderr, "ub04fmt: run log: %s\n", log_path.c_str());
    else if (printed)
      std::fprintf(stderr, "ub04fmt: run log: %s (deleted by printing; --no-print keeps it)\n",
                   log_path.c_str());
  }
  // 1 only while nothing went to paper: once pages were printed (or sent),
  // a failure says "not everything" instead, so that a retry cannot print
  // the claims twice.
  if (d.failed()) return printed_pages > 0 || d.job_sent() ? 3 : 1;
  if (!d.refused().empty() || !d.held().empty()) return 3;
  return 0;
}

}  // namespace
}  // namespace ub04fmt

// Sanitizer builds: fontconfig keeps a small allocation from loading its
// configuration for the life of the process; it is not ours to free. The
// leak checker is told not to list that suppression at exit, so that
// ub04fmt's standard error holds only its own lines there too.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

int main(int argc, char** argv) {
  ub04fmt::Options o;
  if (auto code = ub04fmt::ParseOptions(argc, argv, o)) return *code;
  if (o.calibration) return ub04fmt::Calibrate(o);
  if (o.reprint) return ub04fmt::Reprint(o);
  return ub04fmt::Run(o);
}
