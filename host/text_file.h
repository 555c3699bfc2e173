// Sequential text files with the delimited line form shared by the run log
// and the formatted-record file: text items in double quotes, numbers bare,
// items separated by commas, lines ending CR LF.
//
// Text is bytes. A text item cannot hold a double quote and still read back,
// so each '"' is written as '\''; CR and LF inside an item become spaces so
// that one item never spans two lines.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ub04 {

// The quoted form of a text item.
std::string QuoteItem(std::string_view text);

// A file opened for writing (truncate) or appending. Every failure raises a
// run-time error: 76 path not found, 75 access error, 61 disk full, 57 other
// device errors. The destructor closes quietly; Close() reports.
class OutFile {
 public:
  enum class Mode { kTruncate, kAppend };
  OutFile() = default;
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  void Open(const std::string& path, Mode mode);
  bool IsOpen() const { return f_ != nullptr; }
  const std::string& path() const { return path_; }
  void Write(std::string_view bytes);
  void Flush();
  void Close();

 private:
  // A failed write or flush leaves the file open but poisoned: every later
  // write, flush and the close raise the same error, so a lost line can
  // never be followed by a close that reports success.
  [[noreturn]] void Fail(int err);
  std::FILE* f_ = nullptr;
  std::string path_;
  int err_ = 0;
};

// Maps an errno value to the runtime error number that describes it.
int ErrnoToRtError(int err);

}  // namespace ub04
