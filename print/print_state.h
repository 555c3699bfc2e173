// Printing state kept by the run: the host's printing settings (messages
// "4", "6" and "7", the preview folder) and the margins and counters of one
// printing run.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ub04 {

// The form drawn under the text ("PRINTFORM"): none (pre-printed paper),
// in the form's drop-out red, or grey for printers and copies without red.
enum class FormInk : uint8_t { kNone, kRed, kGrey };

// The text of host message "PRINTFORM": "0" none, "1" red, "2" grey; nullopt
// for anything else.
inline std::optional<FormInk> FormInkFromText(std::string_view text) {
  if (text == "0") return FormInk::kNone;
  if (text == "1") return FormInk::kRed;
  if (text == "2") return FormInk::kGrey;
  return std::nullopt;
}

// Decides from a page's "C" line (its sequence number and index text)
// whether the page is printed.
using PageFilter = std::function<bool(int32_t sequence, std::string_view index_text)>;

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
  bool job_sent = false;             // the last run's PDF went to the print queue
  std::string preview_dir;           // when set, every printed page also becomes a PNG here
  bool preview_grid = false;         // the previews also show the form's character grid
  FormInk form_ink = FormInk::kNone;  // host message "PRINTFORM"
  // Reprints: only the pages the filter keeps are printed (all when unset),
  // into pdf_path when that is set instead of beside the formatted-record file.
  PageFilter page_filter;
  std::string pdf_path;
};

}  // namespace ub04
