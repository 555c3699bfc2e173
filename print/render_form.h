// Drawing the UB-04 form (form_layout.h) and the calibration page with
// cairo, as vector rules and captions. Internal to the cairo renderers.
//
// Both are laid out first and drawn from the layout, so that what the tests
// measure (every caption's and label's extent) is exactly what is drawn.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "form/form_layout.h"
#include "form/form_positions.h"
#include "print/print_state.h"

namespace ub04 {

// Rule widths of the form on paper, points.
inline constexpr double kRulePoints = 0.5, kFramePoints = 1.0;

// One line of a caption as drawn: its text, where its baseline starts, and
// the box its glyphs cover (inches, before any offset).
struct DrawnCaption {
  const FormLocator* of;
  std::string text;
  float x, baseline;
  FormRect ink;
};

// Every caption line of the form, measured in the caption font. Built once.
const std::vector<DrawnCaption>& FormCaptions();

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

// What the calibration page shows, each with the box it covers (inches):
// the labels of the rulers along the paper's top and left edges (never
// shifted; a label that would touch a cross or a text of the page is left
// out), a cross at every mark shifted by the offsets in force, each mark's
// name and nominal position, and the notes (how to read the page, the sign
// of an offset, the offsets in force).
struct CalibrationText {
  std::string text;
  FormRect box;
  float x, y;  // where its baseline starts
};
struct CalibrationCross {
  const char* name;                  // the mark's
  float x, y;                        // its centre
  std::vector<FormRect> covers;      // its two arms and its ring
};
struct CalibrationPage {
  std::vector<CalibrationText> ruler_labels;
  std::vector<CalibrationCross> crosses;
  std::vector<CalibrationText> mark_labels;
  std::vector<CalibrationText> notes;
};
CalibrationPage LayOutCalibration(double dx, double dy);

// Draws the calibration page laid out for offsets (dx, dy), with ruler ticks
// every hundredth of an inch.
void DrawCalibration(cairo_t* cr, double dx, double dy);

}  // namespace ub04
