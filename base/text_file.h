// Sequential text files with the delimited line form shared by the run log
// and the formatted-record file: text items in double quotes, numbers bare,
// items separated by commas, lines ending CR LF.
//
// Text is bytes. A text item cannot hold a double quote and still read back,
// so each '"' is written as '\''; CR and LF inside an item become spaces so
// that one item never spans two lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace ub04 {

// The quoted form of a text item.
std::string QuoteItem(std::string_view text);
// Appends the quoted form of text to out.
void AppendQuoted(std::string& out, std::string_view text);
// Appends the quoted form of the parts joined into one text.
void AppendQuotedJoin(std::string& out, std::initializer_list<std::string_view> parts);
// Mends the text of an item in place: each '"' becomes '\'', CR and LF
// become spaces.
void MendItemText(char* begin, char* end);

// Permissions of the files the component creates: its owner's alone by
// default; a host may let the owner's group read them. Nothing is ever made
// more open than kGroupReadable, whatever the umask.
inline constexpr unsigned kOwnerOnly = 0600;
inline constexpr unsigned kGroupReadable = 0640;

// The permissions a "FILEMODE" text asks for: only "0600" and "0640".
bool FileModeFromText(std::string_view text, unsigned& perms);

// True for a name that stays inside the folder it is put in: not empty, no
// "/", no "..", no NUL.
bool IsPlainFileName(std::string_view name);

// name in the output folder dir; an empty dir is the current folder (never
// the root).
std::string OutputFilePath(const std::string& dir, const std::string& name);

// Raises 75, naming path, when path is a symbolic link.
void RefuseLinkAt(const std::string& path);
// Raises 75: path is a symbolic link, and output never goes through one.
[[noreturn]] void RaiseLink(const std::string& path);

// A file opened for writing (truncate) or appending. Every failure raises a
// run-time error: 76 path not found, 75 access error, 61 disk full, 57 other
// device errors. The destructor writes what is buffered and closes quietly;
// Close() reports.
//
// Open never follows a symbolic link at path: one there is refused (75, its
// text naming the path) and its target is not touched. A new file is made
// with O_EXCL; a file made or found is set to perms (kOwnerOnly or
// kGroupReadable) whatever the umask. A plain file with another hard link
// is refused too, since writing it would change the other name's file.
//
// Lines are assembled in the file's own buffer (Room() and Wrote()), which
// goes to the file when it passes kBufferSize and at every Flush(). The
// buffer is big enough for all a host call writes, so flushing at the end of
// each call costs one write per file.
class OutFile {
 public:
  enum class Mode { kTruncate, kAppend };
  static constexpr size_t kBufferSize = 64 * 1024;

  OutFile() = default;
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  void Open(const std::string& path, Mode mode, unsigned perms = kOwnerOnly);
  // Opens a new file beside final_path under a temporary name
  // ("NAME.tmpXXXXXX", made with O_EXCL and perms) that takes the final name
  // only at Commit(). Closed or destroyed without Commit(), it is removed:
  // a final name never holds a file that was not finished. A device at
  // final_path (/dev/null, a printer port) takes the lines as they come.
  void OpenBeside(const std::string& final_path, unsigned perms);
  // Writes what is buffered, flushes the file to the disk, closes it,
  // renames it over the final name and flushes the folder; a device only
  // closes. Raises on any
  // failure; the temporary file is then removed and the final name keeps
  // what it held.
  void Commit();
  bool IsOpen() const { return f_ != nullptr; }
  const std::string& path() const { return path_; }
  void Write(std::string_view bytes);
  // Room for n more bytes at the end of the buffer (raises when the file
  // cannot take a write). They are composed in place and handed over with
  // Wrote(end): a line needs no string of its own that is then copied.
  char* Room(size_t n) {
    CheckWritable();
    if (cap_ - len_ < n) Grow(n);
    return buf_.get() + len_;
  }
  // The bytes from the last Room() up to end are the file's.
  void Wrote(const char* end) {
    len_ = static_cast<size_t>(end - buf_.get());
    if (len_ >= kBufferSize) Drain();
  }
  void Flush();
  // Writes what is buffered and closes; raises a failure. A file opened
  // with OpenBeside() is removed instead (nothing of it is kept).
  void Close();

  // The file last committed, as it was once named: device, inode and the
  // time of its last change (all 0 before). A file changed since, or a new
  // file that reuses the inode, differs.
  struct FileId {
    unsigned long long dev = 0, ino = 0;
    long long ctime_ns = 0;
    bool operator==(const FileId&) const = default;
  };
  const FileId& committed() const { return committed_; }

 private:
  void RemoveTemporary();
  // Takes fd as the open file: path is its name, final_path the name it
  // takes at Commit() ("" for a file written under its own name).
  void Adopt(int fd, const char* fmode, const std::string& path, const std::string& final_path);
  // Raises when the file cannot take a write.
  void CheckWritable() const {
    if (!f_ || err_) RaiseNotWritable();
  }
  [[noreturn]] void RaiseNotWritable() const;
  // Makes room for n more bytes than the buffer holds.
  void Grow(size_t n);
  void Drain();
  // For a file that will be committed: asks the system to start writing to
  // the disk what reached it since the last time, once that is a megabyte,
  // so that the fsync at Commit() waits for little.
  void StartWriteback();
  // A failed write or flush leaves the file open but poisoned: every later
  // write, flush and the close raise the same error, so a lost line can
  // never be followed by a close that reports success.
  [[noreturn]] void Fail(int err);
  std::FILE* f_ = nullptr;
  std::string path_;
  std::string final_;  // the name a file opened with OpenBeside() gets
  std::unique_ptr<char[]> buf_;  // bytes [0, len_) wait for the file
  size_t len_ = 0, cap_ = 0;
  uint64_t drained_ = 0;      // bytes handed to the file since it was opened
  uint64_t written_back_ = 0; // of them, those StartWriteback() asked for
  int err_ = 0;
  FileId committed_;
};

// The identity of the file at path (not following a link), or all 0.
OutFile::FileId FileIdOf(const std::string& path);
OutFile::FileId FileIdOf(const struct stat& st);

// Removes the temporary files OutFile::OpenBeside leaves
// beside final_path when a run is killed ("NAME.tmpXXXXXX"); returns the
// names removed.
std::vector<std::string> RemoveLeftoverTemporaries(const std::string& final_path);

// Maps an errno value to the runtime error number that describes it.
int ErrnoToRtError(int err);

// Creates dir (and missing parents) when missing; the folder it creates
// itself is opened only to the owner, or the owner's group too when perms
// is kGroupReadable.
void MakeOutputDir(const std::string& dir, unsigned perms);

}  // namespace ub04
