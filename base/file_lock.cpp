#include "base/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "base/runtime.h"
#include "base/text_file.h"

namespace ub04 {

namespace {

// The process id the lock file holds, "" when it holds none.
std::string HolderOf(int fd) {
  char buf[32] = {};
  ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
  if (n <= 0) return "";
  std::string_view text(buf, static_cast<size_t>(n));
  size_t end = text.find_first_not_of("0123456789");
  text = text.substr(0, end);
  return text.empty() ? "" : "process " + std::string(text);
}

}  // namespace

std::string LockPathFor(const std::string& output_path) { return output_path + ".lock"; }

bool FileLock::TryLock(const std::string& path, bool exclusive, unsigned perms,
                       std::string& holder) {
  Unlock();
  RefuseLinkAt(path);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, perms);
  if (fd < 0) {
    int err = errno;
    Raise(ErrnoToRtError(err), path + ": " + std::strerror(err));
  }
  if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    int err = errno;
    holder = HolderOf(fd);
    if (holder.empty()) holder = "another process";
    ::close(fd);
    if (err == EWOULDBLOCK) return false;
    Raise(ErrnoToRtError(err), path + ": " + std::strerror(err));
  }
  if (exclusive) {
    // Who holds it, for the run that is refused. A failed note costs only
    // that message's detail, never the lock.
    std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
      [[maybe_unused]] ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
  }
  fd_ = fd;
  return true;
}

void FileLock::Unlock() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace ub04
