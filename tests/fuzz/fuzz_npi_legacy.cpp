// FOLIO_CFG_NPICMS.DAT with arbitrary contents, read by a whole run through
// the host's API: the component folder is a scratch folder holding the file,
// the run has no database ("CONNECTIONSTRING" empty), so the file is where
// the legacy dates come from. The first claim of the example batch loads it
// at its end of charge; the practice record sent again then logs the load
// report. Nothing may crash, every call returns one of its documented
// results, and the run log names the file read and ends the report with its
// record count (unless the load itself failed and said so).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/msgbox.h"
#include "host/format_class.h"

namespace {

namespace fs = std::filesystem;

const fs::path& ScratchDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("ub04fuzz-npi-" + std::to_string(getpid()));
    fs::create_directories(d / "component");
    fs::create_directories(d / "out");
    return d;
  }();
  return dir;
}

using Batch = std::vector<std::pair<std::string, std::string>>;

// The example batch's records up to its first end of charge, then its
// practice record again.
const Batch& FirstClaim() {
  static const Batch batch = [] {
    Batch b;
    std::ifstream in(UB04_EXAMPLE_BATCH);
    std::string line, practice_key, practice;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      size_t tab = line.find('\t');
      if (tab == std::string::npos) continue;
      std::string key = line.substr(0, tab), rec = line.substr(tab + 1);
      if (key.size() >= 4 && key.compare(key.size() - 4, 4, "1000") == 0) {
        practice_key = key;
        practice = rec;
      }
      b.emplace_back(key, rec);
      if (key.size() >= 4 && key.compare(key.size() - 4, 4, "6990") == 0) break;
    }
    if (practice.empty() || b.empty()) __builtin_trap();  // the example batch moved
    b.emplace_back(practice_key, practice);
    return b;
  }();
  return batch;
}

bool Allowed(int16_t r) { return r == 0 || r == 1 || r == 3; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ub04::SetMessageBoxSink([](std::string_view) {});
  const fs::path file = ScratchDir() / "component" / "FOLIO_CFG_NPICMS.DAT";
  const fs::path out = ScratchDir() / "out";
  {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) __builtin_trap();
    bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written) __builtin_trap();
  }
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(out, ec)) fs::remove(entry.path(), ec);
  const fs::path log = out / (std::string(ub04::kModuleName) + ".Log");

  bool load_failed = false;
  {
    ub04::Format_Class fc;
    fc.SetComponentFolder((ScratchDir() / "component").string());
    auto check = [&](int16_t r) {
      if (!Allowed(r)) __builtin_trap();
      for (int32_t i = 1;; ++i) {
        std::string m = fc.GetAMessage(i);
        if (m == "END") break;
        if (m.find("LoadNPILegacyDateArray  Error:") != std::string::npos) load_failed = true;
      }
    };
    check(fc.HereIsAMessage("1", out.string()));
    check(fc.HereIsAMessage("2", "npi.fmt"));
    check(fc.HereIsAMessage("5", "2"));
    check(fc.HereIsAMessage("CONNECTIONSTRING", ""));
    for (const auto& [key, rec] : FirstClaim()) check(fc.FormatRecord(key, rec));
    int16_t r = fc.ProcessEndOfFile();
    if (r != 0 && r != 1) __builtin_trap();
  }

  std::ifstream in(log, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string s = text.str();
  const size_t opened = s.find("** Opening NPIlegacy_File: " + file.string());
  if (opened == std::string::npos) __builtin_trap();
  if (s.find("File Not Found", opened) != std::string::npos) __builtin_trap();
  if (!load_failed && s.find("  RecordCount = ", opened) == std::string::npos) __builtin_trap();
  return 0;
}
