// A file written whole or not at all: its text goes to a temporary beside
// it (owner-only, 0600), in blocks as it grows, and takes its name in one
// step when committed. Until then an earlier file of that name is
// untouched; an uncommitted file leaves nothing behind.
#pragma once

#include <string>

namespace ub04fmt {

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Starts the temporary beside path. "" or why it cannot.
  std::string Open(const std::string& path);
  void Append(const std::string& text);
  // Forgets what was appended.
  void Clear();
  // On the disk and renamed over path. "" or why not (the temporary is
  // then gone and an earlier file at path untouched).
  std::string Commit();
  bool is_open() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }

 private:
  std::string Fail(const std::string& what);

  std::string path_, tmp_;
  int fd_ = -1;
  std::string buffer_;
  std::string error_;  // the first write failure, reported at Commit
};

// True when path ends in ".jsonl": the file is JSON Lines, else CSV.
bool IsJsonLines(const std::string& path);
// A CSV field, quoted when it needs to be.
std::string CsvField(const std::string& s);
// A JSON string, quoted.
std::string JsonString(const std::string& s);

}  // namespace ub04fmt
