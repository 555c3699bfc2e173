// A whole batch through the C++ API: host messages and records of every type
// built from the fuzzer's bytes. Nothing may crash, and every call returns
// one of its documented results.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "host/format_class.h"
#include "host/msgbox.h"

namespace {

const char* const kTypes[] = {"1000", "1050", "2000", "3000", "3100", "3101", "4000", "5000",
                              "5010", "5018", "6000", "6010", "6028", "6050", "6060", "6100",
                              "6110", "6120", "6130", "6200", "6310", "6340", "6990", "7777"};

std::string ScratchDir() {
  static std::string dir = [] {
    std::string d = std::filesystem::temp_directory_path().string() + "/ub04fuzz-" +
                    std::to_string(getpid());
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ub04::SetMessageBoxSink([](std::string_view) {});
  ub04::Format_Class fc;
  fc.HereIsAMessage("1", ScratchDir());
  fc.HereIsAMessage("2", "fuzz.fmt");
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t pos = 0;
  bool first = true;
  while (pos < input.size()) {
    size_t nl = input.find('\n', pos);
    std::string line = input.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? input.size() : nl + 1;
    if (line.empty()) continue;
    unsigned char op = static_cast<unsigned char>(line[0]);
    std::string body = line.substr(1);
    if (op % 8 == 0) {
      // A host message; skip the ones that reach outside the process.
      size_t tab = body.find('\t');
      std::string nr = body.substr(0, tab);
      std::string text = tab == std::string::npos ? "" : body.substr(tab + 1);
      if (nr == "7" || nr == "CONNECTIONSTRING" || nr == "1" || nr == "2") continue;
      int16_t r = fc.HereIsAMessage(nr, text);
      if (r != 0 && r != 1 && r != 3) __builtin_trap();
    } else {
      const char* type = first ? "1000" : kTypes[op % (sizeof kTypes / sizeof *kTypes)];
      first = false;
      std::string key = "K//k//k//k//k//k//k//k//k//k//" + std::string(type);
      int16_t r = fc.FormatRecord(key, body);
      if (r != 0 && r != 1 && r != 3) __builtin_trap();
    }
    for (int32_t i = 1; fc.GetAMessage(i) != "END"; ++i) {
    }
  }
  int16_t r = fc.ProcessEndOfFile();
  if (r != 0 && r != 1) __builtin_trap();
  return 0;
}
