#include "base/msgbox.h"

#include <cstdio>

namespace ub04 {

namespace {
thread_local MessageBoxSink t_sink;
}

void SetMessageBoxSink(MessageBoxSink sink) { t_sink = std::move(sink); }

void ShowMessageBox(std::string_view text) {
  if (t_sink) {
    t_sink(text);
    return;
  }
  std::string line(text);
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace ub04
