// The printer object that printing talks to: a page device plus the habits
// the formatted records were laid out for.
//
//   * Pages begin lazily: the first text (or a page end) begins a page, so a
//     run that prints nothing produces no document.
//   * NewPage ends the page, blank or not; EndDoc ends a page still open and
//     completes the document.
//   * Print draws at the current position and then moves it to the start of
//     the next line (x 0, y one text height lower); a new page starts at the
//     top-left corner.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "print/render.h"

namespace ub04 {

class Printer {
 public:
  explicit Printer(PageRenderer& device) : device_(device) {}
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  DeviceCaps Caps() const { return device_.Caps(); }
  // Printable width of the page, inches.
  float ScaleWidth() const { return device_.Caps().page_width; }

  void SetFont(const std::string& name, float points, bool bold) {
    device_.SetFont(name, points, bold);
  }
  float TextWidth(std::string_view text) { return device_.TextWidth(text); }
  float TextHeight(std::string_view text) { return device_.TextHeight(text); }

  // Current position, inches from the top-left corner of the printable area.
  float current_x = 0, current_y = 0;
  // The form page number the next page begun carries.
  int32_t page_number = 1;

  void Print(std::string_view text);
  void NewPage();
  void EndDoc();

  // Pages ended so far.
  int32_t pages() const { return pages_; }

 private:
  void BeginIfNeeded();

  PageRenderer& device_;
  bool page_open_ = false;
  int32_t pages_ = 0;
};

}  // namespace ub04
