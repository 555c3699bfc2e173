#include "print/render_form.h"

#include <cstdio>
#include <string>

#include "form/form_layout.h"

namespace ub04 {

namespace {

constexpr double kPt = 72;  // points per inch

struct Ink {
  double r, g, b;
};

// The drop-out red of the printed form, and a neutral grey.
Ink InkOf(FormInk ink) {
  return ink == FormInk::kGrey ? Ink{0.45, 0.45, 0.45} : Ink{0.85, 0.16, 0.16};
}

// Captions in a small sans face; their metrics do not matter to the layout.
void CaptionFont(cairo_t* cr, double points) {
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, points);
}

void Rect(cairo_t* cr, const FormRect& r) {
  cairo_rectangle(cr, r.left * kPt, r.top * kPt, r.width() * kPt, r.height() * kPt);
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

void Text(cairo_t* cr, double x, double y, const char* text) {
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text);
}

}  // namespace

void DrawForm(cairo_t* cr, FormInk ink, bool faint, double dx, double dy) {
  const Ink c = InkOf(ink);
  const double alpha = faint ? 0.45 : 1.0;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_translate(cr, dx * kPt, dy * kPt);
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);

  cairo_set_line_width(cr, faint ? 0.4 : 0.5);
  for (const FormLocator& f : FormLayout()) {
    Rect(cr, f.rect);
    cairo_stroke(cr);
  }
  cairo_set_line_width(cr, faint ? 0.8 : 1.2);
  Rect(cr, FormFrame());
  cairo_stroke(cr);

  // Captions in the top-left corner of their rectangle, as small as the
  // printed form's, above where the text of the box sits.
  constexpr double kCaptionPoints = 4.5;
  CaptionFont(cr, kCaptionPoints);
  for (const FormLocator& f : FormLayout()) {
    if (f.caption.empty()) continue;
    Text(cr, f.rect.left * kPt + 1.2, f.rect.top * kPt + kCaptionPoints, f.caption.c_str());
  }
  cairo_restore(cr);
}

void DrawCalibration(cairo_t* cr, double dx, double dy) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  CaptionFont(cr, 5);

  // Rulers: a tick every hundredth of an inch, longer every twentieth and
  // tenth, numbered every tenth; measured from the paper's edge.
  constexpr double kPaperW = 8.5, kPaperH = 11;
  cairo_set_line_width(cr, 0.25);
  auto tick = [](int i) { return i % 10 == 0 ? 12.0 : i % 5 == 0 ? 8.0 : 4.0; };
  char label[24];
  for (int i = 1; i < static_cast<int>(kPaperW * 100); ++i) {
    double x = i / 100.0 * kPt;
    Line(cr, x, 0, x, tick(i));
    if (i % 10 == 0 && i % 100 != 0 && i > 20) {
      std::snprintf(label, sizeof label, "%d", i % 100 / 10);
      Text(cr, x - 1.2, 18, label);
    }
    if (i % 100 == 0) {
      std::snprintf(label, sizeof label, "%d in", i / 100);
      Text(cr, x - 3, 18, label);
    }
  }
  for (int i = 1; i < static_cast<int>(kPaperH * 100); ++i) {
    double y = i / 100.0 * kPt;
    Line(cr, 0, y, tick(i), y);
    if (i % 10 == 0 && i % 100 != 0 && i > 20) {
      std::snprintf(label, sizeof label, "%d", i % 100 / 10);
      Text(cr, 14, y + 1.8, label);
    }
    if (i % 100 == 0) {
      std::snprintf(label, sizeof label, "%d in", i / 100);
      Text(cr, 14, y + 1.8, label);
    }
  }

  // A cross of fine lines centred on every mark, a ring to find it, and
  // its name and nominal position beside it.
  CaptionFont(cr, 7);
  constexpr double kArm = 0.15 * kPt;
  for (const CalibrationMark& m : kCalibrationMarks) {
    const double x = (m.x + dx) * kPt, y = (m.y + dy) * kPt;
    cairo_set_line_width(cr, 0.3);
    Line(cr, x - kArm, y, x + kArm, y);
    Line(cr, x, y - kArm, x, y + kArm);
    cairo_arc(cr, x, y, kArm / 3, 0, 6.283185307179586);
    cairo_stroke(cr);
    // Marks near the right edge are labelled on their left.
    const bool left = m.x > 6;
    cairo_text_extents_t te;
    std::string text = std::string(m.name) + ": X ";
    char pos_text[32];
    std::snprintf(pos_text, sizeof pos_text, "%.2f, Y %.2f in", m.x, m.y);
    text += pos_text;
    cairo_text_extents(cr, text.c_str(), &te);
    Text(cr, left ? x - te.x_advance : x + 4, y + kArm + 8, text.c_str());
  }
  CaptionFont(cr, 9);
  Text(cr, 1.5 * kPt, 1.6 * kPt, "UB-04 calibration page: each cross is where that box's text starts");
  Text(cr, 1.5 * kPt, 1.6 * kPt + 12, "(FL 47: ends) and where its line's lower edge lies. Printed on a");
  Text(cr, 1.5 * kPt, 1.6 * kPt + 24, "pre-printed form, the shift from the box to the cross is the offset");
  Text(cr, 1.5 * kPt, 1.6 * kPt + 36, "to correct with --offsets X,Y (right and down are positive).");
  cairo_restore(cr);
}

}  // namespace ub04
