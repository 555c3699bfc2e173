#include "host/text_file.h"

#include <cerrno>

#include "host/runtime.h"

namespace ub04 {

std::string QuoteItem(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    if (c == '"') c = '\'';
    else if (c == '\r' || c == '\n') c = ' ';
    out += c;
  }
  out += '"';
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
    case EDQUOT: return 61;
    default: return 57;
  }
}

OutFile::~OutFile() {
  if (f_) std::fclose(f_);
}

void OutFile::Open(const std::string& path, Mode mode) {
  if (f_) Raise(kErrFileAlreadyOpen);
  if (path.empty()) Raise(kErrBadFileName);
  err_ = 0;
  errno = 0;
  f_ = std::fopen(path.c_str(), mode == Mode::kAppend ? "ab" : "wb");
  if (!f_) Raise(ErrnoToRtError(errno));
  path_ = path;
}

void OutFile::Fail(int err) {
  if (err_ == 0) err_ = ErrnoToRtError(err);
  Raise(err_);
}

void OutFile::Write(std::string_view bytes) {
  if (!f_) Raise(kErrBadFileName);
  if (err_) Raise(err_);
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size()) Fail(errno);
}

void OutFile::Flush() {
  if (!f_) return;
  if (err_) Raise(err_);
  errno = 0;
  if (std::fflush(f_) != 0) Fail(errno);
}

void OutFile::Close() {
  if (!f_) return;
  std::FILE* f = f_;
  f_ = nullptr;
  int err = err_;
  err_ = 0;
  errno = 0;
  bool bad = std::ferror(f) != 0;
  if (std::fclose(f) != 0 && err == 0) err = ErrnoToRtError(errno);
  if (bad && err == 0) err = 57;
  if (err) Raise(err);
}

}  // namespace ub04
