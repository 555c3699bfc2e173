// Printing state kept in the run state: the selected printer and the
// margins and counters of one printing run.
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

struct PrintState {
  std::string current_printer;  // CUPS destination chosen by host message "7"
  bool printer_initialised = false;
  float x_margin = 0, y_margin = 0;  // the device's unprintable offsets, inches
  int32_t test_claims_counted = 0;   // "N" lines read in this printing run
  int32_t pages_printed = 0;         // pages of the last run that completed (0 after an error)
  std::string preview_dir;           // when set, every printed page also becomes a PNG here
};

}  // namespace ub04
