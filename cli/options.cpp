#include "cli/options.h"

#include <getopt.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "checks/check_rules.h"
#include "print/print_job.h"
#include "base/text_file.h"
#include "host/version.h"

namespace ub04fmt {

namespace {

// getopt_long answers row i of the table as kLongBase + i, above every
// short letter, so its answers and the letters never mix.
constexpr int kLongBase = 256;

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

// Keeps a value that may be anything but empty.
std::optional<std::string> Nonempty(const std::string& v, std::optional<std::string>& into,
                                    const char* why_not) {
  if (v.empty()) return why_not;
  into = v;
  return std::nullopt;
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

std::optional<std::string> ApplyOption(const OptionRow& row, const char* value, Options& o) {
  const std::string v = value ? value : "";
  switch (row.id) {
    case OptionId::kOut:
      if (v.empty()) return "--out needs a folder (\"\" would mean the filesystem root); use --out . for this one";
      o.out = v;
      o.out_given = true;
      break;
    case OptionId::kFile:
      if (!ub04::IsPlainFileName(v))
        return "--file takes a plain file name inside the --out folder (no \"/\", no \"..\"), not '" + v + "'";
      o.file = v;
      break;
    case OptionId::kOffsets:
      o.offsets = OffsetsMessage(v);
      if (!o.offsets)
        return "--offsets takes X,Y in inches, each within +-1.00 with at most two decimals (e.g. --offsets=+0.10,-0.05), not '" + v + "'";
      // Back from the columns: magnitude 1-4, sign 5, magnitude 6-9, sign 10.
      o.offset_x = std::strtof(o.offsets->substr(0, 4).c_str(), nullptr) * ((*o.offsets)[4] == '-' ? -1 : 1);
      o.offset_y = std::strtof(o.offsets->substr(5, 4).c_str(), nullptr) * ((*o.offsets)[9] == '-' ? -1 : 1);
      break;
    case OptionId::kLogLevel:
      if (v != "0" && v != "1" && v != "2") return "--log-level takes 0, 1 or 2, not '" + v + "'";
      o.log_level = v;
      break;
    case OptionId::kTestClaims: {
      auto r = TestClaimRange(v);
      if (!r)
        return "--test-claims takes FROM-TO, whole numbers with 1 <= FROM <= TO <= 32767 (e.g. --test-claims 2-3), not '" + v + "'";
      o.test_from = r->first;
      o.test_to = r->second;
      break;
    }
    case OptionId::kPrinter: o.printer = v; break;  // checked against the queues once all is read
    case OptionId::kDsn: o.dsn = v; break;
    case OptionId::kPreview: o.preview = v; break;
    case OptionId::kManifest: return Nonempty(v, o.manifest, "--manifest needs a file name");
    case OptionId::kForm:
      if (!value || v == "red") o.form = "1";
      else if (v == "grey" || v == "gray") o.form = "2";
      else return "--form takes red or grey (--form=grey), not '" + v + "'";
      break;
    case OptionId::kGrid: o.grid = true; break;
    case OptionId::kReprint:
      return Nonempty(v, o.reprint, "--reprint needs a formatted-record file");
    case OptionId::kClaims: {
      auto list = ClaimList(v);
      if (!list)
        return "--claims takes claim numbers and ranges, e.g. --claims 3,7-9 (each at least 1, ranges FROM-TO with FROM <= TO), not '" + v + "'";
      o.claims.insert(o.claims.end(), list->begin(), list->end());
      break;
    }
    case OptionId::kAccount: return Nonempty(v, o.account, "--account needs a text to look for");
    case OptionId::kCalibration:
      return Nonempty(v, o.calibration, "--calibration needs a PDF file name");
    case OptionId::kNoPrint: o.no_print = true; break;
    case OptionId::kSplitLongClaims: o.split_long_claims = true; break;
    case OptionId::kPrintAnyway: o.print_anyway = true; break;
    case OptionId::kStrict: o.strict = true; break;
    case OptionId::kGroupReadable: o.group_readable = true; break;
    case OptionId::kRawMessages: o.raw_messages = true; break;
    case OptionId::kQuiet: o.quiet = true; break;
    case OptionId::kCheck: o.check = true; break;
    case OptionId::kReport: return Nonempty(v, o.report, "--report needs a file name");
    case OptionId::kNoChecks: o.no_checks = true; break;
    case OptionId::kSkipCheck:
      if (!ub04::FindCheckRule(v))
        return "--skip-check takes a rule id of docs/checks.md (e.g. --skip-check ADMISSION-HOUR), not '" + v + "'";
      o.skip_checks.push_back(v);
      break;
    case OptionId::kHoldWarnings: o.hold_warnings = true; break;
    case OptionId::kHelp:
    case OptionId::kVersion:
      break;
  }
  return std::nullopt;
}

namespace {

// Which rows argv gave, by their place in the table.
using Given = std::vector<bool>;

// The first option given that a run of kind `run` does not take and whose
// runs are `only` (any runs when only is 0), or nullptr.
const OptionRow* GivenOutside(const Given& given, unsigned run, unsigned only = 0) {
  const std::span<const OptionRow> rows = OptionTable();
  for (size_t i = 0; i < rows.size(); ++i)
    if (given[i] && !(rows[i].runs & run) && (!only || rows[i].runs == only)) return &rows[i];
  return nullptr;
}

// "--a, --b and --c": the options whose runs are exactly `only`, but `except`.
std::string NamesOfRun(unsigned only, const char* last_joint,
                       std::optional<OptionId> except = std::nullopt) {
  std::vector<std::string> names;
  for (const OptionRow& row : OptionTable())
    if (row.runs == only && row.id != except) names.push_back(LongName(row));
  std::string out;
  for (size_t i = 0; i < names.size(); ++i)
    out += (i == 0 ? "" : i + 1 == names.size() ? last_joint : ", ") + names[i];
  return out;
}

// The options that do not go with this kind of run. The messages name the
// options by the table, so a new option is refused where it does not belong
// and listed where it does.
std::optional<int> CheckRun(const Given& given, const Options& o, int argc, char** argv) {
  if ((o.calibration != std::nullopt) + (o.reprint != std::nullopt) + o.check > 1)
    return UsageError("--calibration, --reprint and --check are separate runs; give one");
  const unsigned run = o.calibration ? kCalibrationRun
                       : o.reprint   ? kReprintRun
                       : o.check     ? kCheckRun
                                     : kFormatRun;
  const char* mode = o.calibration ? "--calibration" : o.reprint ? "--reprint" : "--check";
  if (o.no_checks && (o.report || !o.skip_checks.empty() || o.hold_warnings))
    return UsageError("--report, --skip-check and --hold-warnings need the checks; drop --no-checks");
  if (GivenOutside(given, run, kReprintRun))
    return UsageError(NamesOfRun(kReprintRun, " and ", OptionId::kReprint) +
                      " choose the claims of --reprint FILE.fmt");
  if (o.grid && !o.preview) return UsageError("--grid draws on the previews; add --preview DIR");
  if (run != kFormatRun && run != kCheckRun && optind < argc)
    return UsageError(std::string(mode) + " formats no batch; drop '" + argv[optind] + "'");
  if (GivenOutside(given, run, kFormatRun))
    return UsageError(std::string(mode) + " takes none of " + NamesOfRun(kFormatRun, ", ") +
                      " (they belong to formatting a batch)");
  if (run == kCalibrationRun && GivenOutside(given, run))
    return UsageError("--calibration takes only --offsets (and --group-readable)");
  if (const OptionRow* row = GivenOutside(given, run))
    return UsageError(LongName(*row) + " does not go with " +
                      (run == kFormatRun ? "formatting a batch" : mode));
  return std::nullopt;
}

}  // namespace

std::optional<int> ParseOptions(int argc, char** argv, Options& o) {
  const std::span<const OptionRow> rows = OptionTable();
  std::vector<option> longs;
  std::string shorts = ":";  // first, so that a missing value comes back as ':'
  for (size_t i = 0; i < rows.size(); ++i) {
    const OptionRow& row = rows[i];
    const int has_arg = row.value == OptionValue::kNone       ? no_argument
                        : row.value == OptionValue::kRequired ? required_argument
                                                              : optional_argument;
    longs.push_back({row.name, has_arg, nullptr, kLongBase + static_cast<int>(i)});
    // has_arg is 0, 1 or 2: the letter is followed by "", ":" or "::".
    if (row.letter) shorts += row.letter + std::string(has_arg, ':');
  }
  longs.push_back({nullptr, 0, nullptr, 0});

  Given given(rows.size());
  opterr = 0;  // our own messages name the accepted form
  optind = 0;  // 0, not 1: glibc then forgets any earlier argv altogether
  for (;;) {
    int c = getopt_long(argc, argv, shorts.c_str(), longs.data(), nullptr);
    if (c == -1) break;
    if (c == ':') return UsageError(std::string(argv[optind - 1]) + " needs a value");
    const OptionRow* row = c >= kLongBase ? &rows[c - kLongBase]
                           : c == '?'     ? nullptr
                                          : RowOfLetter(static_cast<char>(c));
    if (!row) {
      if (optopt > 0 && optopt < kLongBase)
        return UsageError(std::string("unknown option -") + static_cast<char>(optopt));
      return UsageError(std::string("unknown option ") + argv[optind - 1]);
    }
    given[row - rows.data()] = true;
    if (row->id == OptionId::kHelp) {
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    }
    if (row->id == OptionId::kVersion) {
      std::printf("ub04fmt %d.%d.%d\n", UB04_VERSION_MAJOR, UB04_VERSION_MINOR,
                  UB04_VERSION_PATCH);
      return 0;
    }
    if (auto why = ApplyOption(*row, optarg, o)) return UsageError(*why);
  }
  if (auto code = CheckRun(given, o, argc, argv)) return code;
  if (!o.calibration && !o.reprint) {  // a batch to format or check
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
