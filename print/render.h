// The page device that printing draws on.
//
// A renderer knows paper and ink, not claims: it begins a page, measures and
// draws text in its current font, ends the page and ends the document. All
// positions and sizes are inches from the top-left corner of the paper; a
// text is drawn with the top of its line at y. Printing (printer.h) adds the
// printer-object rules on top: lazy pages, the current position.
//
// Failures come in two kinds. A failure that spoils one text (the device
// rejects it) is an RtError: the renderer recovers and the next text draws.
// A failure that spoils the document (the file cannot be written) is a
// DeviceFailure: nothing more can be drawn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime.h"
#include "print/print_state.h"

namespace ub04 {

// "Printer error": the number under which device failures are reported.
inline constexpr int kErrPrinter = 482;

// The document can no longer be written.
class DeviceFailure : public RtError {
 public:
  using RtError::RtError;
};

struct DeviceCaps {
  float dpi_x = 72, dpi_y = 72;          // dots per inch
  float offset_x = 0, offset_y = 0;      // unprintable offset at the paper edge, dots
  float page_width = 8.5f;               // printable width, inches
};

class PageRenderer {
 public:
  virtual ~PageRenderer() = default;

  virtual DeviceCaps Caps() const = 0;
  // Selects the font of the texts that follow; raises when the device has no
  // face whose metrics match the name.
  virtual void SetFont(const std::string& name, float points, bool bold) = 0;
  // Sum of the advances of text, inches.
  virtual float TextWidth(std::string_view text) = 0;
  // Height of a text line in the current font (ascent + descent), inches.
  virtual float TextHeight(std::string_view text) = 0;

  // The form drawn under the text of every page begun from now on, shifted
  // by (dx, dy) inches as the text is. Devices that cannot draw it ignore it.
  virtual void SetForm(FormInk /*ink*/, float /*dx*/, float /*dy*/) {}

  // page_number is the form page the page shows (names preview files).
  virtual void BeginPage(int32_t page_number) = 0;
  // Draws text (Windows-1252 bytes) with its line's top-left corner at (x, y).
  virtual void DrawText(float x, float y, std::string_view text) = 0;
  virtual void EndPage() = 0;
  // Completes the document; a document without pages leaves no file.
  virtual void EndDocument() = 0;
};

// Draws on several renderers at once (the PDF and its previews). Caps and
// measurements come from the first.
class TeeRenderer : public PageRenderer {
 public:
  explicit TeeRenderer(std::vector<PageRenderer*> to) : to_(std::move(to)) {}

  DeviceCaps Caps() const override { return to_.front()->Caps(); }
  void SetFont(const std::string& name, float points, bool bold) override;
  float TextWidth(std::string_view text) override { return to_.front()->TextWidth(text); }
  float TextHeight(std::string_view text) override { return to_.front()->TextHeight(text); }
  void SetForm(FormInk ink, float dx, float dy) override;
  void BeginPage(int32_t page_number) override;
  void DrawText(float x, float y, std::string_view text) override;
  void EndPage() override;
  void EndDocument() override;

 private:
  std::vector<PageRenderer*> to_;
};

// Record texts are Windows-1252 bytes; the drawing libraries take UTF-8. A
// NUL byte becomes a space so that it cannot cut the text short.
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace ub04
