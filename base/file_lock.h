// An advisory lock on a lock file beside an output (flock), held for as long
// as the object lives or until Unlock().
//
// One run writes an output at a time: the writer holds the lock exclusive
// from its first record to the end of its batch, and printing holds it
// shared while it reads. The lock file stays where it is (removing it would
// let two runs lock two different files of the same name); it holds the
// process id of its last exclusive holder, for the message a refused run
// shows.
#pragma once

#include <string>

namespace ub04 {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Unlock(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock on path (created with perms when missing; never through
  // a symbolic link, never truncated) without waiting. True when taken;
  // false when another holder has it, with holder describing it ("process
  // 1234"). Raises RtError, its text naming path and why, when the lock
  // file cannot be opened (70 when the folder does not let it be made) or
  // is not a plain file of this user's with no other name.
  bool TryLock(const std::string& path, bool exclusive, unsigned perms, std::string& holder);
  void Unlock();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The lock file of an output file or folder: "claims.fmt" ->
// "claims.fmt.lock", "previews/" -> "previews.lock".
std::string LockPathFor(const std::string& output_path);

}  // namespace ub04
