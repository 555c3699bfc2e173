// The font every form page is printed in, resolved once through fontconfig
// and measured with cairo.
//
// A family is accepted only when fontconfig answers with that family or a
// face drawn to the same metrics ("Courier New": Liberation Mono, Cousine),
// because every position on the form relies on the requested face's
// metrics. Measurements use the font's own metrics with hinting off, so text
// widths are the exact sums of the glyph advances on every device.
#pragma once

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "print/render.h"

namespace ub04 {

inline std::string StatusText(cairo_status_t st) { return cairo_status_to_string(st); }

struct CairoFree {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
  void operator()(cairo_font_face_t* p) const { cairo_font_face_destroy(p); }
  void operator()(cairo_scaled_font_t* p) const { cairo_scaled_font_destroy(p); }
  void operator()(cairo_font_options_t* p) const { cairo_font_options_destroy(p); }
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
template <class T>
using Owned = std::unique_ptr<T, CairoFree>;

// The glyph and advance of each byte value in one scaled font, looked up
// the first time the byte is drawn or measured. Texts are single bytes and
// every byte is one character, so this replaces what cairo_show_text and
// cairo_scaled_font_text_extents do again for every text: convert it to
// UTF-8 and look each character up in the font's caches.
class GlyphTable {
 public:
  struct Entry {
    unsigned long index = 0;
    double x_advance = 0, y_advance = 0;  // user space, as cairo moves the pen
    char utf8[3] = {};
    uint8_t utf8_len = 0;
    bool known = false;
  };

  // Describes font from now on; the entries of another font are forgotten.
  void Use(cairo_scaled_font_t* font) {
    if (font == font_.get()) return;
    // Holding a reference keeps the pointer from naming another font later.
    font_.reset(cairo_scaled_font_reference(font));
    entries_.fill(Entry{});
  }

  const Entry& Get(unsigned char byte) {
    Entry& e = entries_[byte];
    if (!e.known) Fill(byte, e);
    return e;
  }

 private:
  void Fill(unsigned char byte, Entry& e);

  Owned<cairo_scaled_font_t> font_;
  std::array<Entry, 256> entries_{};
};

// A font resolved through fontconfig, with its metrics in points.
class CairoFont {
 public:
  CairoFont() : options_(cairo_font_options_create()) {
    // Unhinted metrics: advances are the font's own, the same on paper and
    // on screen.
    cairo_font_options_set_hint_metrics(options_.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options_.get(), CAIRO_HINT_STYLE_NONE);
  }

  // Resolves the family through fontconfig at points, bold or regular;
  // raises when fontconfig offers no face drawn to the family's metrics.
  void Select(const std::string& name, float points, bool bold);

  bool selected() const { return scaled_ != nullptr; }

  // Applies the font to a context whose user units are points.
  void Apply(cairo_t* cr) const {
    cairo_set_font_face(cr, face_.get());
    cairo_set_font_size(cr, points_);
    cairo_set_font_options(cr, options_.get());
  }

  // The advance of text, as cairo_scaled_font_text_extents gives it: the
  // glyphs' steps added up from 0 in the same order.
  double Advance(std::string_view text) {
    double x = 0;
    for (unsigned char b : text) x += measured_.Get(b).x_advance;
    return x;
  }
  double ascent() const { return ascent_; }
  double height() const { return ascent_ + descent_; }

 private:
  static void CheckFont(cairo_status_t st, const std::string& name) {
    if (st != CAIRO_STATUS_SUCCESS)
      Raise(kErrPrinter, "Printer error: font \"" + name + "\": " + StatusText(st));
  }

  Owned<cairo_font_options_t> options_;
  Owned<cairo_font_face_t> face_;
  Owned<cairo_scaled_font_t> scaled_;
  GlyphTable measured_;  // of scaled_, for measuring
  double points_ = 10, ascent_ = 0, descent_ = 0;
};

}  // namespace ub04
