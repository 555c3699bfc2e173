#include "cli/batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ub04fmt {

namespace {
constexpr size_t kChunk = 64 * 1024;
}

BatchReader::~BatchReader() {
  if (own_fd_ && fd_ >= 0) ::close(fd_);  // read-only: nothing to lose on close
}

bool BatchReader::Open(const std::string& path) {
  if (path == "-") {
    fd_ = STDIN_FILENO;
  } else {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
      error_ = std::strerror(errno);
      return false;
    }
    own_fd_ = true;
  }
  // A folder opens fine but reads as an error; say so before any work starts.
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    error_ = std::strerror(EISDIR);
    return false;
  }
  buf_.resize(kChunk);
  return true;
}

bool BatchReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);  // a line longer than the buffer
  for (;;) {
    ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (n > 0) {
      end_ += static_cast<size_t>(n);
      return true;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    if (errno == EINTR) continue;
    error_ = std::strerror(errno);
    return false;
  }
}

bool BatchReader::Next(std::string_view& line) {
  if (fd_ < 0 || !error_.empty()) return false;
  size_t scanned = 0;  // bytes of the pending line already searched
  for (;;) {
    if (skip_lf_ && begin_ < end_) {
      skip_lf_ = false;
      if (buf_[begin_] == '\n') ++begin_;
    }
    const char* start = buf_.data() + begin_;
    size_t avail = end_ - begin_;
    if (!skip_lf_ && scanned < avail) {
      const char* from = start + scanned;
      const char* lf = static_cast<const char*>(std::memchr(from, '\n', avail - scanned));
      size_t span = lf ? static_cast<size_t>(lf - from) : avail - scanned;
      const char* cr = static_cast<const char*>(std::memchr(from, '\r', span));
      const char* stop = cr ? cr : lf;
      if (stop) {
        line = std::string_view(start, static_cast<size_t>(stop - start));
        begin_ += line.size() + 1;
        if (stop == cr) skip_lf_ = true;
        return true;
      }
      scanned = avail;
    }
    if (eof_ || !Fill()) {
      if (!error_.empty()) return false;
      if (begin_ == end_) return false;
      line = std::string_view(buf_.data() + begin_, end_ - begin_);  // last line, no line end
      begin_ = end_;
      return true;
    }
  }
}

}  // namespace ub04fmt
