// print_fmt: prints an existing formatted-record file, as a host would after
// formatting, and nothing else.
//
//   print_fmt DIR NAME
//
// Sends host messages "1" (DIR) and "2" (NAME), calls ProcessFormattedRecords
// and writes every queued answer to standard error. The pages go wherever
// the build prints them (a PDF beside the file). Prints "seconds=S" for the
// call alone; the exit status is the call's result.
#include <chrono>
#include <cstdio>
#include <string>

#include "host/format_class.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: print_fmt DIR NAME\n", stderr);
    return 2;
  }
  ub04::Format_Class fc;
  auto drain = [&fc] {
    for (int32_t i = 1;; ++i) {
      std::string m = fc.GetAMessage(i);
      if (m == "END") break;
      std::fprintf(stderr, "%s\n", m.c_str());
    }
  };
  fc.HereIsAMessage("1", argv[1]);
  drain();
  fc.HereIsAMessage("2", argv[2]);
  drain();
  auto start = std::chrono::steady_clock::now();
  int16_t result = fc.ProcessFormattedRecords();
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  drain();
  std::printf("seconds=%.6f\n", secs);
  return result;
}
