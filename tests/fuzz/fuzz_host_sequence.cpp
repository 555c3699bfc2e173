// A whole batch through the C++ API, one call per line of the input:
//
//   #...            nothing (comment lines of a batch file)
//   !NR<TAB>TEXT    HereIsAMessage(NR, TEXT); "1", "2", "7" and
//                   "CONNECTIONSTRING" are left out, they reach outside the
//                   process or move the outputs
//   !EOF, !PRINT    ProcessEndOfFile, ProcessFormattedRecords in mid-batch
//   KEY<TAB>REC     FormatRecord(KEY, REC) as given: a batch file's line
//   +KEY<TAB>REC    the same with REC repeated past 32,767 bytes
//   anything else   FormatRecord of the rest of the line under a standard
//                   key whose record type the first byte chooses (the first
//                   such record is a practice record)
//
// Batch files are therefore seeds as they are. Nothing may crash, every call
// returns one of its documented results, and a batch whose end reports 0
// leaves a formatted-record file that reads back whole, from its "H" line to
// its "T" line.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "form/fmt_file.h"
#include "host/format_class.h"
#include "base/msgbox.h"

// Printing loads the machine's fontconfig, which loses a few bytes once
// while parsing its own configuration.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

namespace fs = std::filesystem;

const char* const kTypes[] = {
    "1000", "1050", "2000", "3000", "3100", "3101", "4000", "5000", "5010", "5012", "5014",
    "5016", "5018", "6000", "6010", "6012", "6014", "6016", "6018", "6020", "6022", "6024",
    "6026", "6028", "6050", "6060", "6100", "6110", "6120", "6130", "6200", "6310", "6320",
    "6330", "6340", "6990", "6990", "6990", "5011", "7777", ""};
constexpr size_t kTypeCount = sizeof kTypes / sizeof *kTypes;

const fs::path& ScratchDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("ub04fuzz-" + std::to_string(getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

bool Allowed(int16_t r) { return r == 0 || r == 1 || r == 3; }

void DrainQueue(ub04::Format_Class& fc) {
  for (int32_t i = 1; fc.GetAMessage(i) != "END"; ++i) {
  }
}

// The formatted-record file of a batch that ended with 0: every line reads,
// the first is "H" and the last "T".
void CheckWholeFile(const fs::path& p) {
  ub04::FormattedFileReader reader;
  reader.Open(p.string());
  ub04::FormattedLine line;
  std::string first, last;
  while (reader.Next(line)) {
    if (first.empty()) first = line.kind;
    last = line.kind;
  }
  if (first != "H" || last != "T") __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ub04::SetMessageBoxSink([](std::string_view) {});
  ub04::Format_Class fc;  // closes what the previous input left open
  const fs::path fmt = ScratchDir() / "fuzz.fmt";
  std::error_code ec;
  fs::remove(fmt, ec);
  fs::remove(ScratchDir() / "fuzz.pdf", ec);
  fs::remove(ScratchDir() / (std::string(ub04::kModuleName) + ".Log"), ec);
  fc.HereIsAMessage("1", ScratchDir().string());
  fc.HereIsAMessage("2", "fuzz.fmt");

  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t pos = 0;
  bool first = true;
  while (pos < input.size()) {
    size_t nl = input.find('\n', pos);
    std::string line = input.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? input.size() : nl + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;

    int16_t r = 0;
    const size_t tab = line.find('\t');
    if (line[0] == '!') {
      std::string nr = line.substr(1, tab == std::string::npos ? std::string::npos : tab - 1);
      std::string text = tab == std::string::npos ? "" : line.substr(tab + 1);
      if (nr == "EOF") {
        r = fc.ProcessEndOfFile();
        if (r != 0 && r != 1) __builtin_trap();
      } else if (nr == "PRINT") {
        r = fc.ProcessFormattedRecords();
        if (r != 0 && r != 1) __builtin_trap();
      } else if (nr != "1" && nr != "2" && nr != "7" && nr != "CONNECTIONSTRING") {
        r = fc.HereIsAMessage(nr, text);
      }
    } else if (tab != std::string::npos) {
      bool grow = line[0] == '+';
      std::string key = line.substr(grow ? 1 : 0, tab - (grow ? 1 : 0));
      std::string rec = line.substr(tab + 1);
      if (grow) {
        std::string piece = rec.empty() ? std::string("//") : rec;
        while (rec.size() <= 32767) rec += piece;
      }
      r = fc.FormatRecord(key, rec);
      first = false;
    } else {
      const char* type = first ? "1000" : kTypes[static_cast<unsigned char>(line[0]) % kTypeCount];
      first = false;
      r = fc.FormatRecord("K//k//k//k//k//k//k//k//k//k//" + std::string(type), line.substr(1));
    }
    if (!Allowed(r)) __builtin_trap();
    DrainQueue(fc);
  }
  int16_t r = fc.ProcessEndOfFile();
  if (r != 0 && r != 1) __builtin_trap();
  // A batch the host was told had a fatal error ends without its trailer.
  if (r == 0 && !ub04::Rs().fatal_error && fs::exists(fmt)) CheckWholeFile(fmt);
  return 0;
}
