#include "cli/claims.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "form/fmt_file.h"

namespace ub04fmt {

namespace {

std::string Trimmed(const std::string& s, size_t from, size_t len) {
  if (from >= s.size()) return {};
  std::string part = s.substr(from, len);
  size_t b = part.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  size_t e = part.find_last_not_of(' ');
  return part.substr(b, e - b + 1);
}

// "1873.50" (or "1873 50" where the form prints no decimal point) in cents.
long long Cents(const std::string& text) {
  long long v = 0;
  bool neg = false;
  for (char c : text) {
    if (c == '-') neg = true;
    else if (c >= '0' && c <= '9') v = v * 10 + (c - '0');
  }
  return neg ? -v : v;
}

// Line 23 is the "001" revenue-code text with a right-aligned total on the
// same row; the service lines are the rows above it with a text in the same
// revenue-code column and a right-aligned amount in the total's column.
void TotalsOfPage(const std::vector<ub04::FormattedLine>& page, ClaimRow& claim) {
  const ub04::FormattedLine* code = nullptr;
  const ub04::FormattedLine* total = nullptr;
  for (const auto& f : page) {
    if (f.text != "001" || f.number != 0) continue;
    for (const auto& g : page)
      if (g.number == 1 && g.y == f.y && g.x > f.x) {
        code = &f;
        total = &g;
      }
  }
  if (!code) return;
  claim.charges_cents += Cents(total->text);
  std::set<float> code_rows, amount_rows;
  for (const auto& f : page) {
    if (f.y >= code->y) continue;
    if (f.x == code->x && f.number == 0) code_rows.insert(f.y);
    if (f.x == total->x && f.number == 1) amount_rows.insert(f.y);
  }
  for (float y : code_rows) claim.service_lines += amount_rows.count(y) ? 1 : 0;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result (a late write error shows here).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string JsonString(const std::string& s) {
  std::string q = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      q += '\\';
      q += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      q += buf;
    } else {
      q += static_cast<char>(c);
    }
  }
  return q + "\"";
}

std::string Amount(long long cents) {
  char buf[32];
  long long a = cents < 0 ? -cents : cents;
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", cents < 0 ? "-" : "", a / 100, a % 100);
  return buf;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::optional<FormattedSummary> ReadFormatted(const std::string& path, bool want_claims,
                                              std::string& why) {
  FormattedSummary sum;
  if (::access(path.c_str(), R_OK) != 0) {
    why = "cannot read the formatted-record file " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  try {
    ub04::FormattedFileReader reader;
    reader.Open(path);
    ub04::FormattedLine line;
    std::vector<ub04::FormattedLine> page;
    while (reader.Next(line)) {
      if (line.kind == "N") {
        ++sum.pages;
        if (want_claims && !sum.claims.empty()) {
          ClaimRow& c = sum.claims.back();
          if (c.first_page == 0) c.first_page = sum.pages;
          c.last_page = sum.pages;
          TotalsOfPage(page, c);
        }
        page.clear();
      } else if (want_claims && line.kind == "C") {
        ClaimRow c;
        c.sequence = line.number;
        c.patient = Trimmed(line.text, 0, 40);
        c.bprovider = Trimmed(line.text, 40, 10);
        c.insurance = Trimmed(line.text, 50, 10);
        c.payer_sequence = Trimmed(line.text, 60, 1);
        sum.claims.push_back(std::move(c));
      } else if (want_claims && line.kind == "F") {
        page.push_back(line);
      }
    }
    reader.Close();
  } catch (...) {
    // The reader raises the component's run-time errors (53: no file, 13 and
    // 62: a malformed line); for people a plain reason is enough.
    why = "the formatted-record file " + path + " holds a malformed line";
    return std::nullopt;
  }
  return sum;
}

std::string WriteManifest(const std::string& path, const std::vector<ClaimRow>& claims,
                          int pdf_from, int pdf_to) {
  bool jsonl = EndsWith(path, ".jsonl");
  std::string text;
  if (!jsonl)
    text = "claim,first_pdf_page,last_pdf_page,pages,patient,billing_provider,insurance,"
           "payer_sequence,total_charges,service_lines,warnings,errors,messages\n";
  for (const ClaimRow& c : claims) {
    bool in_pdf = c.first_page >= pdf_from && c.last_page <= pdf_to && c.first_page > 0;
    std::string first = in_pdf ? std::to_string(c.first_page - pdf_from + 1) : "";
    std::string last = in_pdf ? std::to_string(c.last_page - pdf_from + 1) : "";
    int pages = c.first_page > 0 ? c.last_page - c.first_page + 1 : 0;
    int warnings = 0, errors = 0;
    std::string joined;
    std::string list;
    for (const ClaimMessage& m : c.messages) {
      (m.severity >= 3 ? errors : warnings) += 1;
      std::string t = (m.severity >= 3 ? "error: " : "warning: ") + m.text;
      joined += (joined.empty() ? "" : " | ") + t;
      list += (list.empty() ? "" : ",") + JsonString(t);
    }
    if (jsonl) {
      text += "{\"claim\":" + std::to_string(c.sequence) +
              ",\"first_pdf_page\":" + (in_pdf ? first : "null") +
              ",\"last_pdf_page\":" + (in_pdf ? last : "null") +
              ",\"pages\":" + std::to_string(pages) + ",\"patient\":" + JsonString(c.patient) +
              ",\"billing_provider\":" + JsonString(c.bprovider) +
              ",\"insurance\":" + JsonString(c.insurance) +
              ",\"payer_sequence\":" + JsonString(c.payer_sequence) +
              ",\"total_charges\":\"" + Amount(c.charges_cents) +
              "\",\"service_lines\":" + std::to_string(c.service_lines) +
              ",\"warnings\":" + std::to_string(warnings) +
              ",\"errors\":" + std::to_string(errors) + ",\"messages\":[" + list + "]}\n";
    } else {
      text += std::to_string(c.sequence) + "," + first + "," + last + "," +
              std::to_string(pages) + "," + CsvField(c.patient) + "," + CsvField(c.bprovider) +
              "," + CsvField(c.insurance) + "," + CsvField(c.payer_sequence) + "," +
              Amount(c.charges_cents) + "," + std::to_string(c.service_lines) + "," +
              std::to_string(warnings) + "," + std::to_string(errors) + "," +
              CsvField(joined) + "\n";
    }
  }

  // mkstemp creates the temporary owner-only; it sits beside the manifest so
  // the rename stays within one filesystem and replaces it in one step.
  std::string tmp = path + ".XXXXXX";
  Fd fd(::mkstemp(tmp.data()));
  if (fd.get() < 0) return "cannot create " + tmp + ": " + std::strerror(errno);
  auto fail = [&](const std::string& what) {
    std::string why = what + " " + tmp + ": " + std::strerror(errno);
    ::unlink(tmp.c_str());
    return why;
  };
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("cannot write");
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd.get()) != 0) return fail("cannot write");
  if (!fd.Close()) return fail("cannot close");
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    std::string why = "cannot rename " + tmp + " to " + path + ": " + std::strerror(errno);
    ::unlink(tmp.c_str());
    return why;
  }
  return {};
}

}  // namespace ub04fmt
