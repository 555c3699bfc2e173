// The UB-04 form as data: every form locator (FL 1 to FL 81 and their
// sub-fields) as a rectangle on US Letter paper, in inches from the paper's
// top-left corner, with the number and short caption the form prints.
//
// The form is ruled on its own grid of 10 characters per inch and 6 lines
// per inch: every rule lies on a multiple of 1/10 in across and 1/6 in down.
// The rectangles are placed so that every position the box writers print at
// (form_positions.h) lies inside the rectangle of the box it fills.
//
// Two kinds of rectangle:
//   * a field (fill == true) takes printed text: no two fields overlap, so a
//     text's position names its field (LocatorAt);
//   * a heading (fill == false) holds only the caption of the column or row
//     of fields below it (the caption row above the service lines, ...).
//
// Where the writers' rows do not fall one to a form line (value codes rows
// a to d, and rows A to C of boxes 63 to 65), the field is the whole box and
// its rows are not separate rectangles.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ub04 {

struct FormRect {
  float left = 0, top = 0, right = 0, bottom = 0;  // inches
  float width() const { return right - left; }
  float height() const { return bottom - top; }
};

struct FormLocator {
  std::string id;       // unique: "1", "3a", "42.1" (service line 1), "42.23", "50A", "67Q"
  std::string number;   // the form locator number printed on the form: "42"
  std::string caption;  // as the form prints it, number first ("42 REV. CD."); may be ""
  FormRect rect;
  bool fill = true;     // a field, or only a heading
};

// One column or line step of the form's grid.
inline constexpr float kFormColumn = 0.1f;      // 10 characters per inch
inline constexpr float kFormLine = 1.0f / 6;    // 6 lines per inch

// The whole form, headings and fields, in drawing order. Built once.
const std::vector<FormLocator>& FormLayout();

// The outer frame of the form.
FormRect FormFrame();

// The field that holds the point (x, y), or nullptr when the point is on no
// field. A point on a rule belongs to no field.
const FormLocator* LocatorAt(float x, float y);

// The field a formatted-record "F" line fills, judged from where its text
// sits: just inside its start (alignment 0) or its end (alignment 1), just
// above its lower edge. nullptr for a centred text (alignment 2) or a
// position on no field.
const FormLocator* LocatorOfText(float x, float y, int align);

// "" when a text of `chars` characters in the form's printing font (10 point
// Courier, 1/12 in a character) at x, y and alignment lies inside the field
// its position names; otherwise why not, naming the field and the rule it
// crosses.
std::string WhyOutsideField(std::string_view text, float x, float y, int align);

}  // namespace ub04
