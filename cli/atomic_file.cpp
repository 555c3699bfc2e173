#include "cli/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "claim/claim_fields.h"

namespace ub04fmt {

namespace {

// Text goes to the file in blocks of about this size.
constexpr size_t kBlock = 64 * 1024;

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

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(tmp_.c_str());
  }
}

std::string AtomicFile::Open(const std::string& path) {
  path_ = path;
  // mkstemp creates the temporary owner-only; it sits beside the file so
  // the rename stays within one filesystem and replaces it in one step.
  tmp_ = path + ".XXXXXX";
  fd_ = ::mkstemp(tmp_.data());
  if (fd_ < 0) return "cannot create " + tmp_ + ": " + std::strerror(errno);
  return "";
}

void AtomicFile::Append(const std::string& text) {
  if (fd_ < 0) return;
  buffer_ += text;
  if (buffer_.size() >= kBlock && error_.empty()) {
    if (!WriteAll(fd_, buffer_)) error_ = "cannot write " + tmp_ + ": " + std::strerror(errno);
    buffer_.clear();
  }
}

void AtomicFile::Clear() {
  if (fd_ < 0) return;
  if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
    if (error_.empty()) error_ = "cannot write " + tmp_ + ": " + std::strerror(errno);
  buffer_.clear();
}

std::string AtomicFile::Fail(const std::string& what) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(tmp_.c_str());
  return what;
}

std::string AtomicFile::Commit() {
  if (fd_ < 0) return "the file was not started";
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

bool IsJsonLines(const std::string& path) {
  const std::string tail = ".jsonl";
  return path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}

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

}  // namespace ub04fmt
