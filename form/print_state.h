// Printing state kept by the run: the host's printing settings (messages
// "4", "6" and "7", the preview folder) and the margins and counters of one
// printing run.
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

struct PrintState {
  // Printer offsets in inches (host message "4"), added to every position.
  float printer_x_offset = 0, printer_y_offset = 0;
  // Test-claims mode (host message "6"): only form pages starting to ending
  // (1-based) are printed.
  bool test_claims_mode = false;
  int16_t test_claims_starting = 0;  // giTestClaims_Starting
  int16_t test_claims_ending = 0;    // giTestClaims_Ending

  std::string current_printer;  // CUPS destination chosen by host message "7"
  bool printer_initialised = false;
  float x_margin = 0, y_margin = 0;  // the device's unprintable offsets, inches
  int32_t test_claims_counted = 0;   // "N" lines read in this printing run
  int32_t pages_printed = 0;         // pages of the last run that completed (0 after an error)
  std::string preview_dir;           // when set, every printed page also becomes a PNG here
};

}  // namespace ub04
