#include "cli/options.h"

#include <getopt.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "print/print_job.h"
#include "host/version.h"

namespace ub04fmt {

namespace {

constexpr const char* kUsage =
    "usage: ub04fmt [options] BATCH\n"
    "       ub04fmt --reprint FILE.fmt [--claims LIST] [--account TEXT] [options]\n"
    "       ub04fmt --calibration FILE.pdf [--offsets X,Y]\n"
    "Formats the records of BATCH (\"-\" reads standard input) into UB-04 claim\n"
    "pages: a formatted-record file in the output folder, and its printed pages\n"
    "as a PDF beside it (sent to a print queue with --printer).\n"
    "\n"
    "options (--opt=VALUE and --opt VALUE both work; -- ends the options):\n"
    "  -o, --out DIR          output folder (default \".\")          -o /var/claims\n"
    "  -f, --file NAME        formatted-record file name inside DIR (default\n"
    "                         \"claims.fmt\"; no \"/\" and no \"..\")    -f june.fmt\n"
    "      --offsets X,Y      printer offsets in inches, each within +-1.00\n"
    "                                                             --offsets=+0.10,-0.05\n"
    "      --log-level N      run log detail: 0, 1 or 2            --log-level 1\n"
    "      --test-claims A-B  print only form pages A to B (1 <= A <= B <= 32767)\n"
    "                                                             --test-claims 2-3\n"
    "  -p, --printer QUEUE    also send the PDF to this CUPS queue  -p billing\n"
    "  -d, --dsn DSN          reference database: an ODBC data source or an SQLite\n"
    "                         file                               -d ref.db\n"
    "      --preview DIR      also write every printed page as a PNG into DIR\n"
    "                                                             --preview png/\n"
    "      --manifest FILE    one row per claim: CSV, or JSON Lines when FILE ends\n"
    "                         in .jsonl                          --manifest claims.csv\n"
    "      --form[=red|grey]  draw the UB-04 form under the text (plain paper);\n"
    "                         red by default                     --form=grey\n"
    "      --grid             previews also show the 10 x 6 character grid\n"
    "      --reprint FILE     print claims of a formatted-record file; formats nothing.\n"
    "                         into NAME-reprint.pdf beside FILE (or in --out DIR)\n"
    "      --claims LIST      with --reprint: these claims only    --claims 3,7-9\n"
    "      --account TEXT     with --reprint: claims whose patient, billing provider or\n"
    "                         insurance contains TEXT (any case)  --account ellsworth\n"
    "      --calibration FILE write the calibration page for pre-printed forms and stop\n"
    "      --no-print         format only; keep the run log\n"
    "      --print-anyway     print even after an error (not after a usage error)\n"
    "      --strict           treat warnings as errors: nothing is printed\n"
    "      --group-readable   create the output files 0640 instead of 0600\n"
    "      --raw-messages     component messages exactly as queued (for scripts)\n"
    "  -q, --quiet            no summary, no progress, no notes\n"
    "  -h, --help             this text\n"
    "  -V, --version          the component version\n"
    "\n"
    "example: ub04fmt -o out -d ref.db --test-claims 1-2 --manifest out/m.csv batch.txt\n"
    "\n"
    "exit status: 0 done; 1 an error was reported and nothing was printed (or\n"
    "--print-anyway); 2 usage error or unreadable batch\n";

int UsageError(const std::string& why) {
  std::fprintf(stderr, "ub04fmt: %s\n(ub04fmt --help shows the usage)\n", why.c_str());
  return 2;
}

// Signed inches with at most two decimals, e.g. "+0.1", "-.05", "1"; in
// hundredths.
std::optional<int> Hundredths(std::string_view t) {
  bool neg = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    neg = t[0] == '-';
    t.remove_prefix(1);
  }
  size_t dot = t.find('.');
  std::string_view whole = t.substr(0, dot);
  std::string_view frac = dot == std::string_view::npos ? "" : t.substr(dot + 1);
  if ((whole.empty() && frac.empty()) || frac.size() > 2 || whole.size() > 3) return std::nullopt;
  for (char c : whole)
    if (c < '0' || c > '9') return std::nullopt;
  for (char c : frac)
    if (c < '0' || c > '9') return std::nullopt;
  int v = 0;
  for (char c : whole) v = v * 10 + (c - '0');
  v *= 100;
  if (frac.size() >= 1) v += (frac[0] - '0') * 10;
  if (frac.size() == 2) v += frac[1] - '0';
  return neg ? -v : v;
}

// Four columns of magnitude and one of sign, as message "4" reads them.
std::string Columns(int hundredths) {
  char buf[16];
  int a = std::abs(hundredths);
  std::snprintf(buf, sizeof buf, "%d.%02d", a / 100, a % 100);
  return std::string(buf) + (hundredths < 0 ? "-" : " ");
}

std::optional<int> Whole(std::string_view t) {
  if (t.empty() || t.size() > 6) return std::nullopt;
  int v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

}  // namespace

std::string Options::TestClaimsMessage() const {
  return std::to_string(*test_from) + "//" + std::to_string(*test_to);
}

std::optional<std::string> OffsetsMessage(const std::string& text) {
  size_t comma = text.find(',');
  std::optional<int> x, y;
  if (comma != std::string::npos) {
    x = Hundredths(std::string_view(text).substr(0, comma));
    y = Hundredths(std::string_view(text).substr(comma + 1));
  } else if (text.size() == 10 && (text[4] == ' ' || text[4] == '-') &&
             (text[9] == ' ' || text[9] == '-')) {
    // The fixed columns: magnitude 1-4, sign 5, magnitude 6-9, sign 10.
    auto field = [&](size_t at) -> std::optional<int> {
      std::string_view f = std::string_view(text).substr(at, 4);
      while (!f.empty() && f.front() == ' ') f.remove_prefix(1);
      if (f.empty() || f[0] == '+' || f[0] == '-') return std::nullopt;
      auto v = Hundredths(f);
      if (v && text[at + 4] == '-') *v = -*v;
      return v;
    };
    x = field(0);
    y = field(5);
  }
  if (!x || !y || std::abs(*x) > 100 || std::abs(*y) > 100) return std::nullopt;
  return Columns(*x) + Columns(*y);
}

std::optional<std::vector<std::pair<int, int>>> ClaimList(const std::string& text) {
  std::vector<std::pair<int, int>> out;
  size_t at = 0;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    std::string_view item = std::string_view(text).substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    size_t dash = item.find('-');
    auto from = Whole(item.substr(0, dash));
    auto to = dash == std::string_view::npos ? from : Whole(item.substr(dash + 1));
    if (!from || !to || *from < 1 || *from > *to) return std::nullopt;
    out.emplace_back(*from, *to);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::optional<std::pair<int, int>> TestClaimRange(const std::string& text) {
  size_t dash = text.find('-');
  if (dash == std::string::npos) return std::nullopt;
  auto from = Whole(std::string_view(text).substr(0, dash));
  auto to = Whole(std::string_view(text).substr(dash + 1));
  if (!from || !to || *from < 1 || *from > *to || *to > 32767) return std::nullopt;
  return std::make_pair(*from, *to);
}

std::optional<int> ParseOptions(int argc, char** argv, Options& o) {
  enum : int {
    kOffsets = 1000, kLogLevel, kTestClaims, kPreview, kManifest, kNoPrint, kPrintAnyway,
    kStrict, kGroupReadable, kRawMessages, kForm, kGrid, kCalibration, kReprint, kClaims,
    kAccount,
  };
  static const option kLong[] = {
      {"out", required_argument, nullptr, 'o'},
      {"file", required_argument, nullptr, 'f'},
      {"dsn", required_argument, nullptr, 'd'},
      {"printer", required_argument, nullptr, 'p'},
      {"quiet", no_argument, nullptr, 'q'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'},
      {"offsets", required_argument, nullptr, kOffsets},
      {"log-level", required_argument, nullptr, kLogLevel},
      {"test-claims", required_argument, nullptr, kTestClaims},
      {"preview", required_argument, nullptr, kPreview},
      {"manifest", required_argument, nullptr, kManifest},
      {"no-print", no_argument, nullptr, kNoPrint},
      {"print-anyway", no_argument, nullptr, kPrintAnyway},
      {"strict", no_argument, nullptr, kStrict},
      {"group-readable", no_argument, nullptr, kGroupReadable},
      {"raw-messages", no_argument, nullptr, kRawMessages},
      {"form", optional_argument, nullptr, kForm},
      {"grid", no_argument, nullptr, kGrid},
      {"calibration", required_argument, nullptr, kCalibration},
      {"reprint", required_argument, nullptr, kReprint},
      {"claims", required_argument, nullptr, kClaims},
      {"account", required_argument, nullptr, kAccount},
      {nullptr, 0, nullptr, 0},
  };
  opterr = 0;  // our own messages name the accepted form
  optind = 1;
  for (;;) {
    int c = getopt_long(argc, argv, ":o:f:d:p:qhV", kLong, nullptr);
    if (c == -1) break;
    std::string v = optarg ? optarg : "";
    switch (c) {
      case 'o':
        if (v.empty()) return UsageError("--out needs a folder (\"\" would mean the filesystem root); use --out . for this one");
        o.out = v;
        o.out_given = true;
        break;
      case 'f':
        if (v.empty() || v[0] == '/' || v.find('/') != std::string::npos ||
            v.find("..") != std::string::npos)
          return UsageError("--file takes a plain file name inside the --out folder (no \"/\", no \"..\"), not '" + v + "'");
        o.file = v;
        break;
      case 'd': o.dsn = v; break;
      case 'p': o.printer = v; break;
      case 'q': o.quiet = true; break;
      case 'h': std::fputs(kUsage, stdout); return 0;
      case 'V':
        std::printf("ub04fmt %d.%d.%d\n", UB04_VERSION_MAJOR, UB04_VERSION_MINOR,
                    UB04_VERSION_PATCH);
        return 0;
      case kOffsets:
        o.offsets = OffsetsMessage(v);
        if (!o.offsets)
          return UsageError("--offsets takes X,Y in inches, each within +-1.00 with at most two decimals (e.g. --offsets=+0.10,-0.05), not '" + v + "'");
        // Back from the columns: magnitude 1-4, sign 5, magnitude 6-9, sign 10.
        o.offset_x = std::strtof(o.offsets->substr(0, 4).c_str(), nullptr) * ((*o.offsets)[4] == '-' ? -1 : 1);
        o.offset_y = std::strtof(o.offsets->substr(5, 4).c_str(), nullptr) * ((*o.offsets)[9] == '-' ? -1 : 1);
        break;
      case kLogLevel:
        if (v != "0" && v != "1" && v != "2")
          return UsageError("--log-level takes 0, 1 or 2, not '" + v + "'");
        o.log_level = v;
        break;
      case kTestClaims: {
        auto r = TestClaimRange(v);
        if (!r)
          return UsageError("--test-claims takes FROM-TO, whole numbers with 1 <= FROM <= TO <= 32767 (e.g. --test-claims 2-3), not '" + v + "'");
        o.test_from = r->first;
        o.test_to = r->second;
        break;
      }
      case kPreview: o.preview = v; break;
      case kManifest:
        if (v.empty()) return UsageError("--manifest needs a file name");
        o.manifest = v;
        break;
      case kNoPrint: o.no_print = true; break;
      case kPrintAnyway: o.print_anyway = true; break;
      case kStrict: o.strict = true; break;
      case kGroupReadable: o.group_readable = true; break;
      case kRawMessages: o.raw_messages = true; break;
      case kForm:
        if (!optarg || v == "red") o.form = "1";
        else if (v == "grey" || v == "gray") o.form = "2";
        else return UsageError("--form takes red or grey (--form=grey), not '" + v + "'");
        break;
      case kGrid: o.grid = true; break;
      case kCalibration:
        if (v.empty()) return UsageError("--calibration needs a PDF file name");
        o.calibration = v;
        break;
      case kReprint:
        if (v.empty()) return UsageError("--reprint needs a formatted-record file");
        o.reprint = v;
        break;
      case kClaims: {
        auto list = ClaimList(v);
        if (!list)
          return UsageError("--claims takes claim numbers and ranges, e.g. --claims 3,7-9 (each at least 1, ranges FROM-TO with FROM <= TO), not '" + v + "'");
        o.claims.insert(o.claims.end(), list->begin(), list->end());
        break;
      }
      case kAccount:
        if (v.empty()) return UsageError("--account needs a text to look for");
        o.account = v;
        break;
      case ':':
        return UsageError(std::string(argv[optind - 1]) + " needs a value");
      default:
        if (optopt != 0 && optopt < 256)
          return UsageError(std::string("unknown option -") + static_cast<char>(optopt));
        return UsageError(std::string("unknown option ") + argv[optind - 1]);
    }
  }
  if (o.calibration && o.reprint)
    return UsageError("--calibration and --reprint are separate runs; give one");
  if ((!o.claims.empty() || o.account) && !o.reprint)
    return UsageError("--claims and --account choose the claims of --reprint FILE.fmt");
  if (o.grid && !o.preview) return UsageError("--grid draws on the previews; add --preview DIR");
  if (o.calibration || o.reprint) {
    const char* mode = o.calibration ? "--calibration" : "--reprint";
    if (optind < argc)
      return UsageError(std::string(mode) + " formats no batch; drop '" + argv[optind] + "'");
    if (o.no_print || o.manifest || o.test_claims() || o.strict || o.dsn || o.log_level)
      return UsageError(std::string(mode) + " takes none of --no-print, --manifest, --test-claims, "
                        "--strict, --dsn, --log-level (they belong to formatting a batch)");
    if (o.calibration && (o.preview || !o.form.empty() || o.printer))
      return UsageError("--calibration takes only --offsets (and --group-readable)");
  } else {
    if (optind >= argc) return UsageError("no batch file given");
    if (argc - optind > 1) return UsageError("only one batch file, please");
    o.batch = argv[optind];
  }
  if (o.preview && o.no_print) return UsageError("--preview shows printed pages; drop --no-print");
  if (o.printer) {
    std::vector<std::string> queues = ub04::PrintQueueNames();
    bool found = false;
    std::string list;
    for (const std::string& q : queues) {
      found = found || q == *o.printer;
      list += (list.empty() ? "" : ", ") + q;
    }
    if (!found)
      return UsageError("--printer '" + *o.printer + "' is not a print queue here; " +
                        (queues.empty() ? std::string("there are none (lpstat -e lists them)")
                                        : "the queues are: " + list));
  }
  return std::nullopt;
}

}  // namespace ub04fmt
