#include "base/text_file.h"

#include <cerrno>
#include <cstring>

#include "base/runtime.h"

namespace ub04 {

namespace {

void ReplaceAll(char* p, char* end, char from, char to) {
  while (p != end) {
    p = static_cast<char*>(std::memchr(p, from, static_cast<size_t>(end - p)));
    if (!p) return;
    *p++ = to;
  }
}

}  // namespace

void AppendQuotedJoin(std::string& out, std::initializer_list<std::string_view> parts) {
  // The text is copied in blocks and the few bytes that would break the
  // line form are then found with memchr, which scans far faster than a
  // byte-by-byte copy can test; most items hold none of them.
  out += '"';
  const size_t start = out.size();
  for (std::string_view part : parts) out.append(part);
  char* p = out.data() + start;
  char* end = out.data() + out.size();
  ReplaceAll(p, end, '"', '\'');
  ReplaceAll(p, end, '\r', ' ');
  ReplaceAll(p, end, '\n', ' ');
  out += '"';
}

void AppendQuoted(std::string& out, std::string_view text) { AppendQuotedJoin(out, {text}); }

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
    case EDQUOT: return 61;
    default: return 57;
  }
}

OutFile::~OutFile() {
  if (!f_) return;
  if (!err_ && !buf_.empty()) std::fwrite(buf_.data(), 1, buf_.size(), f_);
  std::fclose(f_);
}

void OutFile::Open(const std::string& path, Mode mode) {
  if (f_) Raise(kErrFileAlreadyOpen);
  if (path.empty()) Raise(kErrBadFileName);
  err_ = 0;
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), mode == Mode::kAppend ? "ab" : "wb");
  if (!f) Raise(ErrnoToRtError(errno));
  // The stream's own buffer would only copy ours a second time.
  std::setvbuf(f, nullptr, _IONBF, 0);
  f_ = f;
  path_ = path;
  buf_.clear();
  buf_.reserve(kBufferSize + kBufferSize / 4);
}

void OutFile::Fail(int err) {
  if (err_ == 0) err_ = ErrnoToRtError(err);
  buf_.clear();
  Raise(err_);
}

void OutFile::RaiseNotWritable() const {
  if (!f_) Raise(kErrBadFileName);
  Raise(err_);
}

void OutFile::Write(std::string_view bytes) {
  CheckWritable();
  buf_.append(bytes);
  DrainIfFull();
}

void OutFile::Drain() {
  if (buf_.empty()) return;
  errno = 0;
  if (std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) Fail(errno);
  buf_.clear();
}

void OutFile::Flush() {
  if (!f_) return;
  if (err_) Raise(err_);
  Drain();
  errno = 0;
  if (std::fflush(f_) != 0) Fail(errno);
}

void OutFile::Close() {
  if (!f_) return;
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
  buf_.clear();
  errno = 0;
  bool bad = std::ferror(f) != 0;
  if (std::fclose(f) != 0 && err == 0) err = ErrnoToRtError(errno);
  if (bad && err == 0) err = 57;
  if (err) Raise(err);
}

}  // namespace ub04
