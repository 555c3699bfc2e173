#include "base/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/runtime.h"

namespace ub04 {

namespace {

void MendBytes(char* p, char* end) {
  for (; p != end; ++p) {
    if (*p == '"') *p = '\'';
    else if (*p == '\r' || *p == '\n') *p = ' ';
  }
}

// True when one of the bytes of the word at p (4 or 8 bytes) is '"', CR or
// LF. A zero byte of v makes (v - 0x01..) & ~v & 0x80.. nonzero, and
// nothing else does.
template <class Word>
bool WordBreaks(const char* p) {
  constexpr Word kOnes = static_cast<Word>(0x0101010101010101ULL);
  constexpr Word kHigh = static_cast<Word>(0x8080808080808080ULL);
  Word w;
  std::memcpy(&w, p, sizeof w);
  auto zero = [](Word v) { return (v - kOnes) & ~v & kHigh; };
  return (zero(w ^ (kOnes * '"')) | zero(w ^ (kOnes * '\r')) | zero(w ^ (kOnes * '\n'))) != 0;
}

// The same for the sixteen bytes at p, compared all at once.
bool BlockBreaks(const char* p) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')),
                                                _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))),
                                   _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
  return _mm_movemask_epi8(hit) != 0;
#else
  return WordBreaks<uint64_t>(p) || WordBreaks<uint64_t>(p + 8);
#endif
}

[[noreturn]] void RaiseErrno(int err, const std::string& path) {
  if (err == ELOOP) RaiseLink(path);
  Raise(ErrnoToRtError(err));
}

// Sets a file the run made or took over to perms; the umask may have
// narrowed a new file's, and an earlier run's file may be more open.
void SetPerms(int fd, const struct stat& st, unsigned perms) {
  if ((st.st_mode & 07777) == perms) return;
  if (::fchmod(fd, perms) != 0) Raise(ErrnoToRtError(errno));
}

// Opens path for writing without following a link at it; see OutFile.
int OpenNoFollow(const std::string& path, bool append, unsigned perms) {
  const int common = O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : 0);
  struct stat before {};
  bool exists = ::lstat(path.c_str(), &before) == 0;
  if (!exists && errno != ENOENT) RaiseErrno(errno, path);
  if (exists && S_ISLNK(before.st_mode)) RaiseLink(path);
  if (exists && S_ISREG(before.st_mode) && !append) {
    // A new file rather than the old one truncated: whatever other name
    // the old file had keeps its contents, and the new one gets perms.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) RaiseErrno(errno, path);
    exists = false;
  }
  int fd = exists ? ::open(path.c_str(), common)
                  : ::open(path.c_str(), common | O_CREAT | O_EXCL, perms);
  if (fd < 0) {
    int err = errno;
    // A link planted between the look and the open is caught here.
    if (err == EEXIST) {
      struct stat now {};
      if (::lstat(path.c_str(), &now) == 0 && S_ISLNK(now.st_mode)) RaiseLink(path);
    }
    RaiseErrno(err, path);
  }
  try {
    struct stat st {};
    if (::fstat(fd, &st) != 0) Raise(ErrnoToRtError(errno));
    if (S_ISREG(st.st_mode)) {
      if (exists && (st.st_dev != before.st_dev || st.st_ino != before.st_ino))
        Raise(kErrPathFileAccess, path + " was replaced while it was opened");
      if (st.st_nlink > 1)
        Raise(kErrPathFileAccess, path + " has other hard links; it is not written through them");
      SetPerms(fd, st, perms);
    }
    // A FIFO without a reader was refused above instead of blocking; the
    // writes themselves wait as usual.
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
      Raise(ErrnoToRtError(errno));
  } catch (...) {
    ::close(fd);
    throw;
  }
  return fd;
}

}  // namespace

bool FileModeFromText(std::string_view text, unsigned& perms) {
  if (text == "0600") perms = kOwnerOnly;
  else if (text == "0640") perms = kGroupReadable;
  else return false;
  return true;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name.find('/') == std::string_view::npos &&
         name.find("..") == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string OutputFilePath(const std::string& dir, const std::string& name) {
  return dir.empty() ? name : dir + "/" + name;
}

void RaiseLink(const std::string& path) {
  Raise(kErrPathFileAccess,
        path + " is a symbolic link; output is never written through a link");
}

void RefuseLinkAt(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) RaiseLink(path);
}

void MendItemText(char* p, char* end) {
  // Most items hold none of the three bytes, so the text is tested a block
  // at a time and only a block that holds one is mended byte by byte. The
  // last block ends at the end and may overlap the one before it: mending
  // a byte twice changes nothing.
  const size_t n = static_cast<size_t>(end - p);
  if (n >= 16) {
    for (char* q = p; end - q > 16; q += 16)
      if (BlockBreaks(q)) MendBytes(q, q + 16);
    if (BlockBreaks(end - 16)) MendBytes(end - 16, end);
  } else if (n >= 8) {
    if (WordBreaks<uint64_t>(p) || WordBreaks<uint64_t>(end - 8)) MendBytes(p, end);
  } else if (n >= 4) {
    if (WordBreaks<uint32_t>(p) || WordBreaks<uint32_t>(end - 4)) MendBytes(p, end);
  } else {
    MendBytes(p, end);
  }
}

void AppendQuotedJoin(std::string& out, std::initializer_list<std::string_view> parts) {
  // The text is copied in blocks and the few bytes that would break the
  // line form are then mended in place.
  out.push_back('"');
  const size_t start = out.size();
  for (std::string_view part : parts) out.append(part.data(), part.size());
  MendItemText(out.data() + start, out.data() + out.size());
  out.push_back('"');
}

void AppendQuoted(std::string& out, std::string_view text) {
  out.push_back('"');
  const size_t start = out.size();
  out.append(text.data(), text.size());
  MendItemText(out.data() + start, out.data() + out.size());
  out.push_back('"');
}

std::string QuoteItem(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendQuoted(out, text);
  return out;
}

int ErrnoToRtError(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kErrPathFileAccess;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kErrDiskFull;  // a file grown to its limit is out of room too
    default: return kErrDeviceIO;
  }
}

OutFile::~OutFile() {
  if (!f_) return;
  if (!final_.empty()) {
    RemoveTemporary();
    return;
  }
  if (!err_ && len_ != 0) std::fwrite(buf_.get(), 1, len_, f_);
  std::fclose(f_);
}

void OutFile::RemoveTemporary() {
  std::fclose(f_);
  f_ = nullptr;
  ::unlink(path_.c_str());
  final_.clear();
  len_ = 0;
  err_ = 0;
}

void OutFile::OpenBeside(const std::string& final_path, unsigned perms) {
  if (f_) Raise(kErrFileAlreadyOpen);
  if (final_path.empty()) Raise(kErrBadFileName);
  if (perms != kOwnerOnly && perms != kGroupReadable) Raise(kErrInvalidCall);
  RefuseLinkAt(final_path);
  struct stat there {};
  if (::lstat(final_path.c_str(), &there) == 0) {
    if (S_ISDIR(there.st_mode)) Raise(kErrPathFileAccess);
    if (!S_ISREG(there.st_mode)) {
      Open(final_path, Mode::kTruncate, perms);
      return;
    }
  }
  std::string temp = final_path + ".tmpXXXXXX";
  // mkostemp makes the file with O_EXCL and mode 0600.
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno, final_path);
  if (::fchmod(fd, perms) != 0) {
    int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    Raise(ErrnoToRtError(err));
  }
  Adopt(fd, "wb", temp, final_path);
}

void OutFile::Commit() {
  if (!f_) Raise(kErrBadFileName);
  if (final_.empty()) {  // a device: nothing to rename
    const std::string path = path_;
    Close();
    committed_ = FileIdOf(path);
    return;
  }
  try {
    Flush();
    const int fd = ::fileno(f_);
    // On the disk before it takes the name, so that a crash never leaves a
    // truncated file under the final name.
    if (::fsync(fd) != 0) Fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) Fail(errno);
    // Removed under the run: the rename below would fail anyway, and its
    // lines are gone.
    if (st.st_nlink == 0) Raise(kErrFileNotFound, path_ + " was removed while it was written");
    struct stat named {};
    if (::lstat(path_.c_str(), &named) != 0 || named.st_dev != st.st_dev ||
        named.st_ino != st.st_ino)
      Raise(kErrPathFileAccess, path_ + " was replaced while it was written");
    std::FILE* f = f_;
    f_ = nullptr;
    if (std::fclose(f) != 0) Raise(ErrnoToRtError(errno));
    RefuseLinkAt(final_);
    if (::rename(path_.c_str(), final_.c_str()) != 0) RaiseErrno(errno, final_);
    committed_ = FileIdOf(final_);
    // The new name itself is on the disk once the folder is.
    std::string dir = std::filesystem::path(final_).parent_path().string();
    final_.clear();
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      ::fsync(dfd);
      ::close(dfd);
    }
  } catch (...) {
    if (f_) {
      RemoveTemporary();
    } else if (!final_.empty()) {  // closed, not renamed
      ::unlink(path_.c_str());
      final_.clear();
    }
    throw;
  }
}

void OutFile::Open(const std::string& path, Mode mode, unsigned perms) {
  if (f_) Raise(kErrFileAlreadyOpen);
  if (path.empty()) Raise(kErrBadFileName);
  if (perms != kOwnerOnly && perms != kGroupReadable) Raise(kErrInvalidCall);
  Adopt(OpenNoFollow(path, mode == Mode::kAppend, perms), mode == Mode::kAppend ? "ab" : "wb",
        path, "");
}

void OutFile::Adopt(int fd, const char* fmode, const std::string& path,
                    const std::string& final_path) {
  errno = 0;
  std::FILE* f = ::fdopen(fd, fmode);
  if (!f) {
    int err = errno;
    ::close(fd);
    if (!final_path.empty()) ::unlink(path.c_str());
    Raise(ErrnoToRtError(err));
  }
  // The stream's own buffer would only copy ours a second time.
  std::setvbuf(f, nullptr, _IONBF, 0);
  f_ = f;
  err_ = 0;
  path_ = path;
  final_ = final_path;
  len_ = 0;
  drained_ = written_back_ = 0;
  if (!buf_) {
    cap_ = kBufferSize + kBufferSize / 4;
    buf_ = std::make_unique<char[]>(cap_);
  }
}

void OutFile::Fail(int err) {
  if (err_ == 0) err_ = ErrnoToRtError(err);
  len_ = 0;
  Raise(err_);
}

void OutFile::RaiseNotWritable() const {
  if (!f_) Raise(kErrBadFileName);
  Raise(err_);
}

void OutFile::Write(std::string_view bytes) {
  char* p = Room(bytes.size());
  if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
  Wrote(p + bytes.size());
}

void OutFile::Grow(size_t n) {
  size_t cap = cap_ * 2;
  if (cap < len_ + n) cap = len_ + n;
  auto bigger = std::make_unique<char[]>(cap);
  if (len_ != 0) std::memcpy(bigger.get(), buf_.get(), len_);
  buf_ = std::move(bigger);
  cap_ = cap;
}

void OutFile::Drain() {
  if (len_ == 0) return;
  errno = 0;
  if (std::fwrite(buf_.get(), 1, len_, f_) != len_) Fail(errno);
  drained_ += len_;
  len_ = 0;
}

void OutFile::StartWriteback() {
#if defined(SYNC_FILE_RANGE_WRITE)
  constexpr uint64_t kWritebackStep = 1 << 20;
  if (final_.empty() || drained_ - written_back_ < kWritebackStep) return;
  // Only a request: a failure here is the disk's, and the fsync at Commit()
  // reports it.
  ::sync_file_range(::fileno(f_), static_cast<off_t>(written_back_),
                    static_cast<off_t>(drained_ - written_back_), SYNC_FILE_RANGE_WRITE);
  written_back_ = drained_;
#endif
}

void OutFile::Flush() {
  if (!f_) return;
  if (err_) Raise(err_);
  Drain();
  errno = 0;
  if (std::fflush(f_) != 0) Fail(errno);
  StartWriteback();
}

void OutFile::Close() {
  if (!f_) return;
  if (!final_.empty()) {
    RemoveTemporary();
    return;
  }
  int err = err_;
  if (err == 0) {
    try {
      Drain();
    } catch (const RtError&) {
      err = err_;
    }
  }
  std::FILE* f = f_;
  f_ = nullptr;
  err_ = 0;
  len_ = 0;
  errno = 0;
  bool bad = std::ferror(f) != 0;
  if (std::fclose(f) != 0 && err == 0) err = ErrnoToRtError(errno);
  if (bad && err == 0) err = 57;
  if (err) Raise(err);
}

OutFile::FileId FileIdOf(const struct stat& st) {
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
          static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec};
}

OutFile::FileId FileIdOf(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return {};
  return FileIdOf(st);
}

std::vector<std::string> RemoveLeftoverTemporaries(const std::string& final_path) {
  namespace fs = std::filesystem;
  std::vector<std::string> removed;
  fs::path final(final_path);
  fs::path dir = final.parent_path().empty() ? fs::path(".") : final.parent_path();
  const std::string prefix = final.filename().string() + ".tmp";
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    // mkostemp's six characters after the prefix, a regular file, not a link.
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    if (fs::remove(it->path(), ec)) removed.push_back(it->path().string());
  }
  return removed;
}

void MakeOutputDir(const std::string& dir, unsigned perms) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return;
  const unsigned dir_perms = perms == kGroupReadable ? 0750 : 0700;
  // Every level made here is made as closed as the run's files, whatever
  // the umask: a missing parent gets the same permissions as the folder.
  fs::path made;
  for (const fs::path& part : fs::path(dir)) {
    made /= part;
    if (part.empty() || fs::is_directory(made, ec)) continue;
    if (::mkdir(made.c_str(), dir_perms) != 0) {
      if (errno == EEXIST && fs::is_directory(fs::symlink_status(made, ec))) continue;
      RaiseErrno(errno, made.string());
    }
    // The umask may have narrowed it; fchmod on the folder itself, not on a
    // name someone could swap for a link meanwhile.
    int fd = ::open(made.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) RaiseErrno(errno, made.string());
    const int changed = ::fchmod(fd, dir_perms);
    const int err = errno;
    ::close(fd);
    if (changed != 0) RaiseErrno(err, made.string());
  }
}

}  // namespace ub04
