#include "print/printer.h"

namespace ub04 {

void Printer::BeginIfNeeded() {
  if (page_open_) return;
  device_.BeginPage(page_number);
  page_open_ = true;
}

void Printer::Print(std::string_view text) {
  BeginIfNeeded();
  float line = device_.TextHeight(text);
  device_.DrawText(current_x, current_y, text);
  current_x = 0;
  current_y += line;
}

void Printer::NewPage() {
  BeginIfNeeded();
  device_.EndPage();
  page_open_ = false;
  ++pages_;
  current_x = current_y = 0;
}

void Printer::EndDoc() {
  if (page_open_) {
    device_.EndPage();
    page_open_ = false;
    ++pages_;
  }
  device_.EndDocument();
}

}  // namespace ub04
