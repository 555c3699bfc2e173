#include "base/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

std::string LockPathFor(const std::string& output_path) {
  // A folder's lock sits beside it: "previews/" -> "previews.lock".
  std::string path = output_path;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path + ".lock";
}

bool FileLock::TryLock(const std::string& path, bool exclusive, unsigned perms,
                       std::string& holder) {
  Unlock();
  // Never through a link, never truncated: a name planted here must not
  // redirect the lock, nor let the lock damage another file.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, perms);
  if (fd < 0) {
    int err = errno;
    if (err == ELOOP) RaiseLink(path);
    Raise(err == EACCES || err == EPERM || err == EROFS ? kErrPermissionDenied
                                                        : ErrnoToRtError(err),
          path + ": " + std::strerror(err));
  }
  // Only a plain file of this user's, with no other name, is a lock file: a
  // folder, a device, someone else's file or a hard link to one is not.
  struct stat st {};
  const char* wrong = nullptr;
  if (::fstat(fd, &st) != 0) wrong = "cannot be examined";
  else if (!S_ISREG(st.st_mode)) wrong = "is not a plain file";
  else if (st.st_nlink != 1) wrong = "has other names (hard links)";
  else if (st.st_uid != ::geteuid()) wrong = "belongs to another user";
  if (wrong) {
    ::close(fd);
    Raise(kErrPathFileAccess, path + ": " + wrong + "; it is not a lock file this run may use");
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
    // Who holds it, for the run that is refused: the process id padded to a
    // fixed width, so that nothing needs cutting. A failed note costs only
    // that message's detail, never the lock.
    char note[24];
    int n = std::snprintf(note, sizeof note, "%-20ld\n", static_cast<long>(::getpid()));
    if (n > 0) [[maybe_unused]] ssize_t w = ::pwrite(fd, note, static_cast<size_t>(n), 0);
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
