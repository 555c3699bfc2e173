// Sequential text files with the delimited line form shared by the run log
// and the formatted-record file: text items in double quotes, numbers bare,
// items separated by commas, lines ending CR LF.
//
// Text is bytes. A text item cannot hold a double quote and still read back,
// so each '"' is written as '\''; CR and LF inside an item become spaces so
// that one item never spans two lines.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ub04 {

// The quoted form of a text item.
std::string QuoteItem(std::string_view text);
// Appends the quoted form of text to out.
void AppendQuoted(std::string& out, std::string_view text);
// Appends the quoted form of the parts joined into one text.
void AppendQuotedJoin(std::string& out, std::initializer_list<std::string_view> parts);

// A file opened for writing (truncate) or appending. Every failure raises a
// run-time error: 76 path not found, 75 access error, 61 disk full, 57 other
// device errors. The destructor writes what is buffered and closes quietly;
// Close() reports.
//
// Lines are assembled in the file's own buffer, which goes to the file when
// it passes kBufferSize and at every Flush(). The buffer is big enough for
// all a host call writes, so flushing at the end of each call costs one
// write per file.
class OutFile {
 public:
  enum class Mode { kTruncate, kAppend };
  static constexpr size_t kBufferSize = 64 * 1024;

  OutFile() = default;
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  void Open(const std::string& path, Mode mode);
  bool IsOpen() const { return f_ != nullptr; }
  const std::string& path() const { return path_; }
  void Write(std::string_view bytes);
  // Writes what fill(std::string& buffer) appends to the buffer: a line is
  // composed in place instead of in a string of its own that is then
  // copied. fill must only append.
  template <class Fill>
  void WriteWith(Fill&& fill) {
    CheckWritable();
    fill(buf_);
    DrainIfFull();
  }
  void Flush();
  void Close();

 private:
  // Raises when the file cannot take a write.
  void CheckWritable() const {
    if (!f_ || err_) RaiseNotWritable();
  }
  [[noreturn]] void RaiseNotWritable() const;
  // Sends the buffer to the file once it has grown past kBufferSize.
  void DrainIfFull() {
    if (buf_.size() >= kBufferSize) Drain();
  }
  void Drain();
  // A failed write or flush leaves the file open but poisoned: every later
  // write, flush and the close raise the same error, so a lost line can
  // never be followed by a close that reports success.
  [[noreturn]] void Fail(int err);
  std::FILE* f_ = nullptr;
  std::string path_;
  std::string buf_;
  int err_ = 0;
};

// Maps an errno value to the runtime error number that describes it.
int ErrnoToRtError(int err);

}  // namespace ub04
