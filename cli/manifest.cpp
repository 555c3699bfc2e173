#include "cli/manifest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "claim/claim_fields.h"

namespace ub04fmt {

namespace {

// Rows go to the file in blocks of about this size.
constexpr size_t kBlock = 64 * 1024;

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string JsonString(const std::string& s) {
  std::string q;
  ub04::AppendJsonString(q, s);
  return q;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ClaimRow ClaimRow::Of(const ub04::ClaimRecord& claim, int first_page) {
  ClaimRow row;
  row.sequences = claim.page_sequences;
  row.first_page = first_page;
  row.last_page = first_page + claim.page_count() - 1;
  row.patient = claim.index_patient;
  row.bprovider = claim.index_billing_provider;
  row.insurance = claim.index_insurance;
  row.payer_sequence = claim.payer_sequence;
  row.total_charges = claim.total_charges;
  row.service_lines = static_cast<int>(claim.lines.size());
  row.fate = ub04::FateName(claim.fate);
  for (const ub04::ClaimFinding& f : claim.findings) row.findings += f.rule != "REFUSED";
  return row;
}

ManifestWriter::~ManifestWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(tmp_.c_str());
  }
}

std::string ManifestWriter::Open(const std::string& path, int pdf_from, int pdf_to) {
  path_ = path;
  jsonl_ = EndsWith(path, ".jsonl");
  pdf_from_ = pdf_from;
  pdf_to_ = pdf_to;
  // mkstemp creates the temporary owner-only; it sits beside the manifest so
  // the rename stays within one filesystem and replaces it in one step.
  tmp_ = path + ".XXXXXX";
  fd_ = ::mkstemp(tmp_.data());
  if (fd_ < 0) return "cannot create " + tmp_ + ": " + std::strerror(errno);
  Clear();
  return "";
}

void ManifestWriter::Clear() {
  if (fd_ < 0) return;
  if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
    if (error_.empty()) error_ = "cannot write " + tmp_ + ": " + std::strerror(errno);
  buffer_.clear();
  if (!jsonl_)
    buffer_ = "claim,first_pdf_page,last_pdf_page,pages,patient,billing_provider,insurance,"
              "payer_sequence,total_charges,service_lines,warnings,errors,messages,"
              "page_sequences,fate,findings\n";
}

void ManifestWriter::Add(const ClaimRow& c) {
  if (fd_ < 0) return;
  const bool in_pdf = c.first_page >= pdf_from_ && c.last_page <= pdf_to_ && c.first_page > 0;
  const std::string first = in_pdf ? std::to_string(c.first_page - pdf_from_ + 1) : "";
  const std::string last = in_pdf ? std::to_string(c.last_page - pdf_from_ + 1) : "";
  const std::string claim = c.sequences.empty() ? "" : std::to_string(c.sequences.front());
  int warnings = 0, errors = 0;
  std::string joined, list;
  for (const ClaimMessage& m : c.messages) {
    (m.severity >= 3 ? errors : warnings) += 1;
    std::string t = (m.severity >= 3 ? "error: " : "warning: ") + m.text;
    joined += (joined.empty() ? "" : " | ") + t;
    list += (list.empty() ? "" : ",") + JsonString(t);
  }
  std::string sequences_csv, sequences_json;
  for (int32_t s : c.sequences) {
    sequences_csv += (sequences_csv.empty() ? "" : " ") + std::to_string(s);
    sequences_json += (sequences_json.empty() ? "" : ",") + std::to_string(s);
  }
  const std::string pages = std::to_string(c.sequences.size());
  const std::string total = ub04::AmountItem(c.total_charges);
  if (jsonl_) {
    buffer_ += "{\"claim\":" + claim + ",\"first_pdf_page\":" + (in_pdf ? first : "null") +
               ",\"last_pdf_page\":" + (in_pdf ? last : "null") + ",\"pages\":" + pages +
               ",\"patient\":" + JsonString(c.patient) +
               ",\"billing_provider\":" + JsonString(c.bprovider) +
               ",\"insurance\":" + JsonString(c.insurance) +
               ",\"payer_sequence\":" + JsonString(c.payer_sequence) + ",\"total_charges\":\"" +
               total + "\",\"service_lines\":" + std::to_string(c.service_lines) +
               ",\"warnings\":" + std::to_string(warnings) + ",\"errors\":" +
               std::to_string(errors) + ",\"messages\":[" + list + "],\"page_sequences\":[" +
               sequences_json + "],\"fate\":" + JsonString(c.fate) +
               ",\"findings\":" + std::to_string(c.findings) + "}\n";
  } else {
    buffer_ += claim + "," + first + "," + last + "," + pages + "," + CsvField(c.patient) + "," +
               CsvField(c.bprovider) + "," + CsvField(c.insurance) + "," +
               CsvField(c.payer_sequence) + "," + total + "," +
               std::to_string(c.service_lines) + "," + std::to_string(warnings) + "," +
               std::to_string(errors) + "," + CsvField(joined) + "," + sequences_csv + "," +
               c.fate + "," + std::to_string(c.findings) + "\n";
  }
  if (buffer_.size() >= kBlock && error_.empty()) {
    if (!WriteAll(fd_, buffer_)) error_ = "cannot write " + tmp_ + ": " + std::strerror(errno);
    buffer_.clear();
  }
}

std::string ManifestWriter::Fail(const std::string& what) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(tmp_.c_str());
  return what;
}

std::string ManifestWriter::Commit() {
  if (fd_ < 0) return "the manifest was not started";
  if (!error_.empty()) return Fail(error_);
  if (!WriteAll(fd_, buffer_) || ::fsync(fd_) != 0)
    return Fail("cannot write " + tmp_ + ": " + std::strerror(errno));
  buffer_.clear();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    ::unlink(tmp_.c_str());
    return "cannot close " + tmp_ + ": " + std::strerror(errno);
  }
  if (::rename(tmp_.c_str(), path_.c_str()) != 0) {
    std::string why = "cannot rename " + tmp_ + " to " + path_ + ": " + std::strerror(errno);
    ::unlink(tmp_.c_str());
    return why;
  }
  return "";
}

}  // namespace ub04fmt
