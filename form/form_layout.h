// The UB-04 form as data: every form locator (FL 1 to FL 81 and their
// sub-fields) as a rectangle on US Letter paper, in inches from the paper's
// top-left corner, with the number and short caption the form prints.
//
// The form follows its own grid of 10 characters per inch and 6 lines per
// inch wherever the rows the box writers print (form_positions.h) allow it:
// the service lines are one form line (1/6 in) apart and boxes 81a to 81d
// lie on the lines. Elsewhere the writers' rows are closer than a form line
// (box 1's lines are 0.15 in apart, value codes rows c and d 0.12 in), and
// the drawing gives way: a rule sits between two printed rows, never across
// one, and the frame reaches out to 0.1 in to take box 66's qualifier.
//
// Four kinds of rectangle:
//   * a box (ruled, fill): its outline is drawn and text prints inside it;
//   * a heading (ruled, !fill): drawn, holds only captions (the caption row
//     above the service lines, box 76's frame around its sub-fields, ...);
//   * a sub-field (!ruled, fill): a part of a drawn frame that one writer's
//     text fills (76's NPI, qualifier, last and first name; line 23's page
//     number and page count);
//   * a label (!ruled, !fill): a caption of its own where its parent's
//     caption cannot go (FROM, NPI, PAGE, the row letters a to d, ...).
// No two fields (boxes and sub-fields) overlap, so a text's position names
// the one field it fills (LocatorOfText), and that field's width is all the
// room the text has (FieldChars).
//
// Captions are drawn at the top-left corner of their rectangle, in 4.5 point
// narrow sans serif, one line per '\n'. A caption sits either above the text
// of its box (the caption band: kCaptionLine per caption line) or beside it,
// left of where the writer starts; never on it, on another caption or on a
// rule (tests/paper_layout_test.cpp measures every one).
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
  std::string id;       // unique: "1", "3a", "42.1" (service line 1), "42.23", "50A", "67Q",
                        // "67Q poa", "76 npi"; a label is "<parent id>:<caption>"
  std::string number;   // the form locator number: "42"; "" for the form's own notes
  std::string caption;  // as the form prints it ("42 REV. CD."); may be ""; '\n' breaks lines
  FormRect rect;
  bool fill = true;     // a field: text prints inside it
  bool ruled = true;    // its outline is drawn
};

// One rule of the drawn form: a horizontal or vertical segment.
struct FormRule {
  float x0, y0, x1, y1;  // inches; x0 == x1 or y0 == y1
  bool frame;            // the form's outer frame, drawn heavier
};

// One column or line step of the form's grid.
inline constexpr float kFormColumn = 0.1f;      // 10 characters per inch
inline constexpr float kFormLine = 1.0f / 6;    // 6 lines per inch
// The width of one character of the form's printing font (10 point Courier),
// and how far above a text's lower edge (a writer's Y) its baseline lies.
inline constexpr float kCharWidth = 1.0f / 12;
inline constexpr float kTextBaseline = 3.0f / 72;

// Captions: their size, how far the first one sits in from its rectangle's
// top-left corner, where its baseline lies below the rectangle's top, and
// how far apart the lines of a caption of several lines are.
inline constexpr float kCaptionPoints = 4.5f;
inline constexpr float kCaptionPad = 0.012f;
inline constexpr float kCaptionBaseline = kCaptionPad + 0.044f;
inline constexpr float kCaptionLine = 1.0f / 15;
// The height a caption of n lines takes at the top of its rectangle, with
// room for descenders: text prints below it.
inline constexpr float CaptionBand(int lines) { return kCaptionPad + lines * kCaptionLine; }

// The whole form in drawing order. Built once.
const std::vector<FormLocator>& FormLayout();

// The outer frame of the form.
FormRect FormFrame();

// Every rule the drawn form has, each drawn once: the outlines of the ruled
// rectangles joined where they meet and the frame. Built once.
const std::vector<FormRule>& FormRules();

// The locator named id, or nullptr.
const FormLocator* FindLocator(std::string_view id);

// The field that holds the point (x, y), or nullptr when the point is on no
// field. A point on a rule belongs to no field.
const FormLocator* LocatorAt(float x, float y);

// The field a formatted-record "F" line fills, judged from where its text
// sits: just inside its start (alignment 0) or its end (alignment 1), at the
// middle of its capitals (0.09 in above the lower edge y). nullptr for a
// centred text (alignment 2) or a position on no field.
const FormLocator* LocatorOfText(float x, float y, int align);

// How many characters (kCharWidth each) a text printed at (x, y) with
// alignment 0 (starting at x) or 1 (ending at x) can hold before it leaves
// the field its position names: up to the field's right rule for alignment
// 0, back to its left rule for 1. -1 for a centred text or a position on no
// field. A text that long may touch the rule with its last character cell;
// the glyph stays clear of it.
int FieldChars(float x, float y, int align);

// "" when a text of text.size() characters at x, y and alignment lies
// across inside the field its position names (FieldChars); otherwise why
// not, naming the field and the rule it crosses. Only the width is judged
// here: how high the printed glyphs reach depends on the font
// (tests/paper_layout_test.cpp measures them).
std::string WhyOutsideField(std::string_view text, float x, float y, int align);

}  // namespace ub04
