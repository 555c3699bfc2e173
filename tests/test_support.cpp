#include "tests/test_support.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "base/msgbox.h"

namespace ub04::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("ub04test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string Join(const std::vector<std::string>& tokens) {
  std::string s;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (i) s += "//";
    s += tokens[i];
  }
  return s;
}

std::string Key(const std::string& type, const std::string& key0) {
  std::vector<std::string> k(11, "k");
  k[0] = key0;
  k[10] = type;
  return Join(k);
}

std::vector<std::string> Tokens(size_t n) {
  std::vector<std::string> t(n);
  for (size_t k = 0; k < n; ++k) t[k] = k == 0 ? "X" : "v" + std::to_string(k);
  return t;
}

std::string PracticeRecord() { return Join(Tokens(21)); }

std::vector<std::string> Messages(Format_Class& fc) {
  std::vector<std::string> out;
  for (int32_t i = 1;; ++i) {
    std::string m = fc.GetAMessage(i);
    if (m == "END") break;
    out.push_back(m);
  }
  return out;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<FormattedLine> ReadFormatted(const fs::path& p) {
  FormattedFileReader r;
  r.Open(p.string());
  std::vector<FormattedLine> lines;
  FormattedLine l;
  while (r.Next(l)) lines.push_back(l);
  return lines;
}

MessageBoxCapture::MessageBoxCapture() {
  SetMessageBoxSink([this](std::string_view t) { boxes.emplace_back(t); });
}
MessageBoxCapture::~MessageBoxCapture() { SetMessageBoxSink({}); }

Harness::Harness() {
  fc.HereIsAMessage("1", dir.str());
  fc.HereIsAMessage("2", "claims.fmt");
}

}  // namespace ub04::test
