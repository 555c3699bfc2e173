// Reading a batch file line by line. CR LF, LF and a lone CR all end a line,
// so batches saved by any editor read the same.
#pragma once

#include <string>
#include <string_view>

namespace ub04fmt {

class BatchReader {
 public:
  BatchReader() = default;
  ~BatchReader();
  BatchReader(const BatchReader&) = delete;
  BatchReader& operator=(const BatchReader&) = delete;

  // Opens path ("-" is standard input). False with error() set when it
  // cannot be read (missing, a folder, no permission).
  bool Open(const std::string& path);
  // The next line without its line end; false at the end of the batch or on
  // a read error (then error() is set). The view lasts until the next call.
  bool Next(std::string_view& line);
  // The system's reason for the last failure, "" when there was none.
  const std::string& error() const { return error_; }

 private:
  bool Fill();

  int fd_ = -1;
  bool own_fd_ = false;
  bool eof_ = false;
  bool skip_lf_ = false;  // the last line ended in CR: a following LF belongs to it
  std::string buf_;
  size_t begin_ = 0, end_ = 0;
  std::string error_;
};

}  // namespace ub04fmt
