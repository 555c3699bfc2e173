// Helpers shared by the tests: a scratch folder per test, a component set up
// to write into it, records built from token lists, and readers of the
// outputs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "form/fmt_file.h"
#include "host/format_class.h"

namespace ub04::test {

// A fresh, empty folder under the system temp folder, removed at destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// "t0//t1//..." from tokens.
std::string Join(const std::vector<std::string>& tokens);
// A record key of 11 tokens whose token 10 is type.
std::string Key(const std::string& type, const std::string& key0 = "K");
// n tokens, token 0 "X" and the others "v<k>" unless set by the caller.
std::vector<std::string> Tokens(size_t n);

// A practice record with every mandatory token ("X//v1//...//v20").
std::string PracticeRecord();

// All queued answers of fc, read up to "END".
std::vector<std::string> Messages(Format_Class& fc);

std::string ReadFile(const std::filesystem::path& p);
std::vector<FormattedLine> ReadFormatted(const std::filesystem::path& p);

// Captures message boxes of this thread while alive.
class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  std::vector<std::string> boxes;
};

// A component set up to write into a scratch folder ("1" and "2" sent).
struct Harness {
  ScratchDir dir;
  Format_Class fc;
  Harness();
  std::filesystem::path fmt_path() const { return dir.path() / "claims.fmt"; }
  std::filesystem::path log_path() const { return dir.path() / "QVR_UB04PPA_Format.Log"; }
};

}  // namespace ub04::test
