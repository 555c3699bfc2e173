// ub04fmt: formats a batch file into UB-04 claim pages from the command line.
//
// A batch holds one entry per line: "KEY<TAB>RECORD" is a record, "@NR<TAB>TEXT"
// a host message; blank lines and lines starting with "#" are skipped. Every
// answer the component queues is written to standard error as returned.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "form/printing.h"
#include "host/format_class.h"
#include "host/version.h"

namespace {

constexpr const char* kUsage =
    "usage: ub04fmt [options] BATCH\n"
    "Formats the records of BATCH (\"-\" reads standard input) into UB-04 claim\n"
    "pages: a formatted-record file in the output folder, and its printed pages.\n"
    "\n"
    "options:\n"
    "  --out DIR            output folder (default \".\")\n"
    "  --file NAME          formatted-record file name (default \"claims.fmt\")\n"
    "  --offsets TEXT       printer offsets, e.g. \"0.10-0.05 \" (host message 4)\n"
    "  --log-level N        run log verbosity 0, 1 or 2 (host message 5)\n"
    "  --test-claims A-B    print only form pages A to B (host message 6)\n"
    "  --printer NAME       print queue to send the pages to (host message 7)\n"
    "  --preview DIR        also write every printed page as a PNG into DIR\n"
    "  --dsn DSN            reference database: an ODBC DSN or an SQLite file\n"
    "  --no-print           format only; do not print\n"
    "  --help               this text\n"
    "  --version            the component version\n"
    "\n"
    "exit status: 0 done; 1 a call failed or an error was reported; 2 usage\n"
    "error or unreadable batch\n";

struct Options {
  std::string out = ".";
  std::string file = "claims.fmt";
  std::optional<std::string> offsets, log_level, test_claims, printer, dsn, preview;
  bool no_print = false;
  std::string batch;
};

int UsageError(const std::string& why) {
  std::fprintf(stderr, "ub04fmt: %s\n(ub04fmt --help shows the usage)\n", why.c_str());
  return 2;
}

// Parses argv; returns an exit code when the program should stop now.
std::optional<int> ParseArgs(int argc, char** argv, Options& o) {
  bool have_batch = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::optional<std::string>& into) -> bool {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::optional<std::string> v;
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--version") {
      std::printf("ub04fmt %d.%d.%d\n", UB04_VERSION_MAJOR, UB04_VERSION_MINOR,
                  UB04_VERSION_PATCH);
      return 0;
    } else if (a == "--no-print") {
      o.no_print = true;
    } else if (a == "--out" || a == "--file") {
      if (!value(v)) return UsageError(a + " needs a value");
      (a == "--out" ? o.out : o.file) = *v;
    } else if (a == "--offsets") {
      if (!value(o.offsets)) return UsageError(a + " needs a value");
    } else if (a == "--log-level") {
      if (!value(o.log_level)) return UsageError(a + " needs a value");
    } else if (a == "--test-claims") {
      if (!value(v)) return UsageError(a + " needs a value");
      auto dash = v->find('-');
      if (dash == std::string::npos) return UsageError("--test-claims takes FROM-TO");
      o.test_claims = v->substr(0, dash) + "//" + v->substr(dash + 1);
    } else if (a == "--printer") {
      if (!value(o.printer)) return UsageError(a + " needs a value");
    } else if (a == "--preview") {
      if (!value(o.preview)) return UsageError(a + " needs a value");
    } else if (a == "--dsn") {
      if (!value(o.dsn)) return UsageError(a + " needs a value");
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return UsageError("unknown option " + a);
    } else if (have_batch) {
      return UsageError("only one batch file, please");
    } else {
      o.batch = a;
      have_batch = true;
    }
  }
  if (!have_batch) return UsageError("no batch file given");
  if (o.preview && o.no_print) return UsageError("--preview shows printed pages; drop --no-print");
  return std::nullopt;
}

class Driver {
 public:
  explicit Driver(bool tty) : tty_(tty), start_(std::chrono::steady_clock::now()) {}

  // Reads and prints every queued answer; remembers failures.
  void Drain() {
    for (int32_t i = 1;; ++i) {
      std::string m = fc_.GetAMessage(i);
      if (m == "END") break;
      ClearProgress();
      std::fprintf(stderr, "%s\n", m.c_str());
      if (m.compare(0, 4, " 3//") == 0) failed_ = true;
    }
  }

  void Message(const std::string& nr, const std::string& text) {
    fc_.HereIsAMessage(nr, text);
    Drain();
  }

  void Record(const std::string& key, const std::string& rec) {
    if (fc_.FormatRecord(key, rec) != 0) failed_ = true;
    Drain();
    ++records_;
    if (key.size() >= 4 && key.compare(key.size() - 4, 4, "6990") == 0) ++charges_;
    Progress(false);
  }

  void Finish(bool print) {
    if (fc_.ProcessEndOfFile() != 0) failed_ = true;
    Drain();
    Progress(true);
    if (print) {
      if (fc_.ProcessFormattedRecords() != 0) failed_ = true;
      Drain();
    }
  }

  bool failed() const { return failed_; }

 private:
  void Progress(bool last) {
    if (!tty_) return;
    auto now = std::chrono::steady_clock::now();
    if (!last && now - drawn_ < std::chrono::milliseconds(100)) return;
    drawn_ = now;
    double secs = std::chrono::duration<double>(now - start_).count();
    std::fprintf(stderr, "\r%lld records, %lld charges, %.0f records/s ", records_, charges_,
                 secs > 0 ? records_ / secs : 0.0);
    if (last) std::fputc('\n', stderr);
    shown_ = !last;
  }
  void ClearProgress() {
    if (shown_) std::fputs("\r\033[K", stderr);
    shown_ = false;
  }

  ub04::Format_Class fc_;
  bool tty_;
  bool failed_ = false;
  bool shown_ = false;
  long long records_ = 0, charges_ = 0;
  std::chrono::steady_clock::time_point start_, drawn_{};
};

}  // namespace

// Sanitizer builds: fontconfig keeps a small allocation from loading its
// configuration for the life of the process; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
  Options o;
  if (auto code = ParseArgs(argc, argv, o)) return *code;

  std::ifstream file;
  std::istream* in = &std::cin;
  if (o.batch != "-") {
    file.open(o.batch, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "ub04fmt: cannot read %s: %s\n", o.batch.c_str(),
                   std::strerror(errno));
      return 2;
    }
    in = &file;
  }

  Driver d(isatty(STDERR_FILENO) != 0);
  if (o.preview) ub04::SetPreviewFolder(*o.preview);  // after the component's reset
  d.Message("1", o.out);
  d.Message("2", o.file);
  if (o.offsets) d.Message("4", *o.offsets);
  if (o.log_level) d.Message("5", *o.log_level);
  if (o.test_claims) d.Message("6", *o.test_claims);
  if (o.printer) d.Message("7", *o.printer);
  if (o.dsn) d.Message("CONNECTIONSTRING", *o.dsn);

  std::string line;
  long long line_no = 0;
  while (std::getline(*in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      std::fprintf(stderr, "ub04fmt: %s line %lld: no TAB between key and record\n",
                   o.batch.c_str(), line_no);
      return 2;
    }
    std::string head = line.substr(0, tab);
    std::string body = line.substr(tab + 1);
    if (!head.empty() && head[0] == '@')
      d.Message(head.substr(1), body);
    else
      d.Record(head, body);
  }
  if (in->bad()) {
    std::fprintf(stderr, "ub04fmt: cannot read %s\n", o.batch.c_str());
    return 2;
  }
  d.Finish(!o.no_print);
  return d.failed() ? 1 : 0;
}
