// Drawing the UB-04 form (form_layout.h) and the calibration page with
// cairo, as vector rules and captions. Internal to the cairo renderers.
#pragma once

#include <cairo.h>

#include "form/form_positions.h"
#include "print/print_state.h"

namespace ub04 {

// Draws the form's rules and captions on cr, whose user units are points
// from the paper's top-left corner, shifted by (dx, dy) inches like the text
// printed on it. faint: the light, thin form of the screen preview. The
// context's state (source, font, path) is left as it was.
void DrawForm(cairo_t* cr, FormInk ink, bool faint, double dx, double dy);

// Positions the calibration page marks, with what it prints beside each.
struct CalibrationMark {
  const char* name;  // "FL 1 line 1"
  float x, y;        // inches: where the writer starts (or ends) that text, its lower edge
};
inline constexpr CalibrationMark kCalibrationMarks[] = {
    {"FL 1 line 1", pos::kBox01X, pos::kBox01LineY[0]},
    {"FL 4", pos::kBox04X, pos::kBox04Y},
    {"FL 42 line 1", pos::kBox42RevenueCodeX, pos::kBoxes42To47RowY[0]},
    {"FL 47 line 22", pos::kBox47ChargesX, pos::kBoxes42To47RowY[21]},
    {"FL 80", pos::kBox80FirstX, pos::kBox80FirstY},
    {"FL 81", pos::kBox81QualifierX, pos::kBox81Y},
};

// Draws the calibration page: a cross at every mark shifted by (dx, dy)
// inches, each labelled with its nominal position, and rulers in hundredths
// of an inch along the paper's top and left edges (never shifted).
void DrawCalibration(cairo_t* cr, double dx, double dy);

}  // namespace ub04
