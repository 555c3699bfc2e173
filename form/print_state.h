// Printing state kept in the run state: the selected printer and the
// margins and counters of one printing run.
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

struct PrintState {
  std::string current_printer;  // CUPS destination chosen by host message "7"
  bool printer_initialised = false;
  float x_margin = 0, y_margin = 0;
  int32_t test_claims_counted = 0;
};

}  // namespace ub04
