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
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/manifest.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/reprint.h"
#include "print/printing.h"
#include "host/format_class.h"

namespace ub04fmt {
namespace {

constexpr long long kEndOfBatch = LLONG_MAX;  // the "line" of end-of-batch messages

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// Token 10 of a record key, its record type.
std::string KeyType(const std::string& key) {
  size_t at = key.rfind("//");
  return at == std::string::npos ? key : key.substr(at + 2);
}

std::string Plural(long long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A claim the component wrote, waiting for the messages of the call that
// wrote it: the call at batch line `line` wrote it while the charge that
// began at batch line `start` was open.
struct ClaimWrite {
  long long line, start;
  ClaimRow row;
};

struct HeldMessage {
  long long line;
  ClaimMessage m;
};

class Driver {
 public:
  // manifest: where the claims' rows go, or null.
  Driver(const Options& o, bool tty, ManifestWriter* manifest)
      : o_(o),
        tty_(tty && !o.quiet),
        printer_(stderr, o.raw_messages, !o.quiet),
        manifest_(manifest),
        start_(std::chrono::steady_clock::now()) {
    fc_.AddClaimObserver([this](const ub04::ClaimRecord& claim) { OnClaim(claim); });
    if (o.preview) fc_.SetPreviewFolder(*o.preview);
    if (o.grid) fc_.SetPreviewGrid(true);  // no host message carries it
  }

  // A set-up message; false when the component refused it.
  bool Setup(const std::string& nr, const std::string& text, const std::string& option) {
    int16_t r = fc_.HereIsAMessage(nr, text);
    if (Drain(option, 0, r)) return true;
    Fail("the set-up message " + nr + " (" + option + ") failed");
    return false;
  }

  void Message(const std::string& nr, const std::string& text, long long line) {
    call_line_ = line;
    int16_t r = fc_.HereIsAMessage(nr, text);
    if (!Drain(Where(line, "message " + nr), line, r))
      Fail("batch line " + std::to_string(line) + " (message " + nr + ") reported an error");
  }

  void Record(const std::string& key, const std::string& rec, long long line) {
    std::string type = KeyType(key);
    call_line_ = line;
    int16_t r = fc_.FormatRecord(key, rec);
    if (!Drain(Where(line, "record " + type), line, r))
      Fail("batch line " + std::to_string(line) + " (record " + type + ") reported an error");
    ListClaims();
    ++records_;
    if (type == "6000") {
      ++charges_;
      charge_start_ = line;
    }
    Progress(false);
  }

  void Finish() {
    call_line_ = charge_start_ = kEndOfBatch;
    int16_t r = fc_.ProcessEndOfFile();
    if (!Drain("end of batch", kEndOfBatch, r)) Fail("the end of the batch failed");
    ListClaims();
    Progress(true);
    printer_.Flush();
  }

  bool Print() {
    int16_t r = fc_.ProcessFormattedRecords();
    bool ok = Drain("printing", 0, r);
    printer_.Flush();
    if (!ok) Fail("printing failed");
    return ok;
  }

  void Flush() { printer_.Flush(); }
  bool failed() const { return !why_failed_.empty(); }
  const std::string& why_failed() const { return why_failed_; }
  void Fail(const std::string& why) {
    if (why_failed_.empty()) why_failed_ = why;
  }
  long long warnings() const { return warnings_; }
  long long errors() const { return errors_; }
  long long charges() const { return charges_; }
  long long claims() const { return claims_; }
  long long pages() const { return pages_; }
  long long records() const { return records_; }
  // Whether the end of the batch put this run's formatted-record file in
  // place, and how many pages the last printing put into the PDF.
  bool file_written() const { return fc_.BatchWritten(); }
  int32_t pages_printed() const { return fc_.PagesPrinted(); }

 private:
  static std::string Where(long long line, const std::string& what) {
    return "batch line " + std::to_string(line) + ", " + what;
  }

  // Shows and counts every queued answer of the last call; false when the
  // call failed (an error queued, or a failure result with nothing said).
  bool Drain(const std::string& where, long long line, int16_t result) {
    int max = 0, n = 0;
    for (int32_t i = 1;; ++i) {
      std::string entry = fc_.GetAMessage(i);
      if (entry == "END") break;
      ++n;
      QueuedMessage m = ParseQueued(entry);
      max = std::max(max, m.severity);
      if (m.severity == 2) ++warnings_;
      if (m.severity >= 3) ++errors_;
      if (manifest_ && m.severity >= 2 && line > 0)
        held_.push_back({line, {m.severity, PlainText(m.text)}});
      ClearProgress();
      printer_.Show(entry, m, where);
    }
    return max < 3 && result != 3 && (result == 0 || n > 0);
  }

  // A claim decided in the current call; its row waits for the call's
  // messages.
  void OnClaim(const ub04::ClaimRecord& claim) {
    ++claims_;
    if (manifest_) writes_.push_back({call_line_, charge_start_, ClaimRow::Of(claim, pages_ + 1)});
    pages_ += claim.page_count();
  }

  // Gives each warning and error of the batch to the claim it was queued
  // while forming (the batch lines from the charge that opened the claim up
  // to the charge that closed it, and the call that wrote it) and lists the
  // claims written so far.
  void ListClaims() {
    for (ClaimWrite& w : writes_) {
      auto mine = [&](const HeldMessage& h) { return h.line < w.start || h.line == w.line; };
      for (const HeldMessage& h : held_)
        if (mine(h)) w.row.messages.push_back(h.m);
      held_.erase(std::remove_if(held_.begin(), held_.end(), mine), held_.end());
      manifest_->Add(w.row);
    }
    writes_.clear();
  }

  void Progress(bool last) {
    if (!tty_) return;
    auto now = std::chrono::steady_clock::now();
    if (!last && now - drawn_ < std::chrono::milliseconds(100)) return;
    if (printer_.holding()) return;  // a held message goes first
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

  const Options& o_;
  ub04::Format_Class fc_;
  bool tty_;
  MessagePrinter printer_;
  ManifestWriter* manifest_;
  std::string why_failed_;
  long long warnings_ = 0, errors_ = 0;
  long long records_ = 0, charges_ = 0, claims_ = 0, pages_ = 0;
  long long call_line_ = 0, charge_start_ = 0;
  std::vector<ClaimWrite> writes_;
  std::vector<HeldMessage> held_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_, drawn_{};
};

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

int Run(const Options& o) {
  BatchReader in;
  if (!in.Open(o.batch)) {
    std::fprintf(stderr, "ub04fmt: cannot read %s: %s\n", o.batch.c_str(), in.error().c_str());
    return 2;
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

  Driver d(o, isatty(STDERR_FILENO) != 0, o.manifest ? &manifest : nullptr);
  if (d.Setup("1", o.out, "--out")) d.Setup("2", o.file, "--file");  // "2" joins onto "1"
  if (o.group_readable) d.Setup("FILEMODE", "0640", "--group-readable");
  if (o.offsets) d.Setup("4", *o.offsets, "--offsets");
  if (o.log_level) d.Setup("5", *o.log_level, "--log-level");
  if (o.test_claims()) d.Setup("6", o.TestClaimsMessage(), "--test-claims");
  if (o.printer) d.Setup("7", *o.printer, "--printer");
  if (o.dsn) d.Setup("CONNECTIONSTRING", *o.dsn, "--dsn");
  if (!o.form.empty()) d.Setup("PRINTFORM", o.form, "--form");

  if (int code = FeedBatch(d, in, o.batch); code >= 0) return code;
  d.Finish();

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

  if (o.manifest) {
    if (std::string why = manifest.Commit(); !why.empty()) {
      std::fprintf(stderr, "ub04fmt: error: manifest not written: %s\n", why.c_str());
      d.Fail("the manifest was not written");
    }
  }

  if (!o.quiet) {
    std::string pdf = ub04::PdfPathFor(fmt_path);
    std::fprintf(stderr, "ub04fmt: %s, %s, %s; %s, %s\n",
                 Plural(written ? d.claims() : 0, "claim", "claims").c_str(),
                 Plural(pages, "page", "pages").c_str(),
                 Plural(d.charges(), "charge", "charges").c_str(),
                 Plural(d.warnings(), "warning", "warnings").c_str(),
                 Plural(d.errors(), "error", "errors").c_str());
    if (written)
      std::fprintf(stderr, "ub04fmt: formatted records: %s\n", fmt_path.c_str());
    else
      std::fputs("ub04fmt: formatted records: none written\n", stderr);
    const long long printed_pages = d.pages_printed();
    if (printed && printed_pages > 0) {
      if (o.test_claims()) {
        long long last = std::min<long long>(*o.test_to, pages);
        std::fprintf(stderr, "ub04fmt: printed: %s (pages %d-%lld, %lld of %lld)\n", pdf.c_str(),
                     *o.test_from, last, printed_pages, pages);
      } else {
        std::fprintf(stderr, "ub04fmt: printed: %s (%s)\n", pdf.c_str(),
                     Plural(printed_pages, "page", "pages").c_str());
      }
      if (o.printer) std::fprintf(stderr, "ub04fmt: sent to print queue %s\n", o.printer->c_str());
      if (o.preview) std::fprintf(stderr, "ub04fmt: page previews: %s\n", o.preview->c_str());
    } else if (!printed) {
      std::fprintf(stderr, "ub04fmt: printed: nothing%s\n", o.no_print ? " (--no-print)" : "");
    }
    if (o.manifest && Exists(*o.manifest))
      std::fprintf(stderr, "ub04fmt: manifest: %s\n", o.manifest->c_str());
    if (Exists(log_path))
      std::fprintf(stderr, "ub04fmt: run log: %s\n", log_path.c_str());
    else if (printed)
      std::fprintf(stderr, "ub04fmt: run log: %s (deleted by printing; --no-print keeps it)\n",
                   log_path.c_str());
  }
  return d.failed() ? 1 : 0;
}

}  // namespace
}  // namespace ub04fmt

// Sanitizer builds: fontconfig keeps a small allocation from loading its
// configuration for the life of the process; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
  ub04fmt::Options o;
  if (auto code = ub04fmt::ParseOptions(argc, argv, o)) return *code;
  if (o.calibration) return ub04fmt::Calibrate(o);
  if (o.reprint) return ub04fmt::Reprint(o);
  return ub04fmt::Run(o);
}
