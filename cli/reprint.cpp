#include "cli/reprint.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <cstdio>
#include <filesystem>
#include <set>
#include <unordered_map>

#include "base/context.h"
#include "base/text_file.h"
#include "cli/messages.h"
#include "form/fmt_file.h"
#include "print/printing.h"
#include "print/render_cairo.h"
#include "host/format_class.h"

namespace ub04fmt {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool Listed(const std::vector<std::pair<int, int>>& ranges, long long n) {
  for (const auto& [from, to] : ranges)
    if (n >= from && n <= to) return true;
  return false;
}

// Shows what the printing run queued, the way a batch run shows it.
void ShowQueue(ub04::Context& cx, const Options& o) {
  MessagePrinter printer(stderr, o.raw_messages, !o.quiet);
  for (int32_t i = 1;; ++i) {
    std::string entry = cx.queue.Get(i);
    if (entry == "END") break;
    printer.Show(entry, ParseQueued(entry), "reprint");
  }
}

// The "C" lines of a formatted-record file: each page's sequence number
// and index text, and the claim it belongs to: the sequence number of the
// claim's first page. A "C" line that says it opens page 2 or later of its
// claim (items 3 and 4: page n of m) continues the claim before it.
struct PageIndex {
  int32_t sequence;
  std::string text;
  int32_t claim;
};

std::optional<std::vector<PageIndex>> ReadPageIndex(const std::string& path) {
  std::vector<PageIndex> pages;
  if (::access(path.c_str(), R_OK) != 0) {
    std::fprintf(stderr, "ub04fmt: error: cannot read the formatted-record file %s: %s\n",
                 path.c_str(), std::strerror(errno));
    return std::nullopt;
  }
  try {
    ub04::FormattedFileReader reader;
    reader.Open(path);
    ub04::FormattedLine line;
    while (reader.Next(line)) {
      if (line.kind != "C") continue;
      const bool continues = line.x > 1 && !pages.empty();
      pages.push_back({line.number, line.text, continues ? pages.back().claim : line.number});
    }
  } catch (...) {
    // The reader raises the component's run-time errors (53: no file, 13 and
    // 62: a malformed line); for people a plain reason is enough.
    std::fprintf(stderr, "ub04fmt: error: the formatted-record file %s holds a malformed line\n",
                 path.c_str());
    return std::nullopt;
  }
  return pages;
}

}  // namespace

int Reprint(const Options& o) {
  const std::string& fmt = *o.reprint;
  auto index = ReadPageIndex(fmt);
  if (!index) return 1;
  // The claims asked for by number must all be there: a reprint that drops
  // one silently would pass for the whole request. A claim is printed
  // whole: every page of it, as its first page's number chose it.
  std::set<long long> present;
  std::unordered_map<int32_t, int32_t> claim_of;  // page sequence -> its claim
  for (const PageIndex& p : *index) {
    present.insert(p.claim);
    claim_of[p.sequence] = p.claim;
  }
  std::string missing;
  for (const auto& [from, to] : o.claims)
    for (long long n = from; n <= to && n <= from + 100000LL; ++n)
      if (!present.count(n)) {
        missing += (missing.empty() ? "" : ", ") + std::to_string(n);
        if (missing.size() > 60) break;
      }
  if (!missing.empty()) {
    std::fprintf(stderr, "ub04fmt: error: %s holds no claim %s (it holds %zu claims, numbered by "
                 "their first page); nothing printed\n", fmt.c_str(), missing.c_str(), present.size());
    return 1;
  }
  const std::string account = o.account ? Lower(*o.account) : "";
  auto chosen = [&](long long sequence, std::string_view index_text) {
    const auto claim = claim_of.find(static_cast<int32_t>(sequence));
    const long long number = claim == claim_of.end() ? sequence : claim->second;
    if (!o.claims.empty() && !Listed(o.claims, number)) return false;
    return account.empty() || Lower(index_text).find(account) != std::string::npos;
  };
  int pages = 0;
  std::set<int32_t> claims;  // the claims chosen
  for (const PageIndex& p : *index)
    if (chosen(p.sequence, p.text)) {
      ++pages;
      claims.insert(p.claim);
    }
  if (pages == 0) {
    std::fprintf(stderr, "ub04fmt: error: no claim of %s matches%s%s; nothing printed\n",
                 fmt.c_str(), o.account ? " --account " : "",
                 o.account ? o.account->c_str() : "");
    return 1;
  }

  ub04::Context cx;
  cx.module_name = ub04::kModuleName;
  cx.component_name = std::string(ub04::kModuleName) + ".Dll";
  ub04::PrintState ps;
  ps.printer_x_offset = o.offset_x;
  ps.printer_y_offset = o.offset_y;
  if (!o.form.empty()) ps.form_ink = *ub04::FormInkFromText(o.form);
  if (o.preview) ps.preview_dir = *o.preview;
  ps.preview_grid = o.grid;
  if (o.printer) ub04::SelectPrinter(ps, *o.printer);
  ps.page_filter = chosen;
  std::filesystem::path pdf = std::filesystem::path(fmt).stem().string() + "-reprint.pdf";
  ps.pdf_path = ((o.out_given ? std::filesystem::path(o.out)
                              : std::filesystem::path(fmt).parent_path()) / pdf).string();
  const unsigned perms = o.group_readable ? ub04::kGroupReadable : ub04::kOwnerOnly;

  int16_t r = ub04::PrintFormattedRecords(cx, ps, fmt, perms, ub04::OutFile::FileId{});
  ShowQueue(cx, o);
  if (r != 0 || ps.pages_printed == 0) {
    std::fprintf(stderr, "ub04fmt: nothing printed\n");
    return 1;
  }
  if (!o.quiet) {
    std::fprintf(stderr, "ub04fmt: reprinted: %s (%zu of %zu claims, %d pages)\n",
                 ps.pdf_path.c_str(), claims.size(), present.size(), ps.pages_printed);
    if (o.printer) std::fprintf(stderr, "ub04fmt: sent to print queue %s\n", o.printer->c_str());
    if (o.preview) std::fprintf(stderr, "ub04fmt: page previews: %s\n", o.preview->c_str());
  }
  return 0;
}

int Calibrate(const Options& o) {
  try {
    ub04::WriteCalibrationPage(*o.calibration,
                               o.group_readable ? ub04::kGroupReadable : ub04::kOwnerOnly,
                               o.offset_x, o.offset_y);
  } catch (const ub04::RtError& e) {
    std::fprintf(stderr, "ub04fmt: error: calibration page not written: %s\n",
                 e.description().c_str());
    return 1;
  }
  if (!o.quiet) std::fprintf(stderr, "ub04fmt: calibration page: %s\n", o.calibration->c_str());
  return 0;
}

}  // namespace ub04fmt
