#include "print/render_form.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "print/fonts.h"

namespace ub04 {

namespace {

constexpr double kPt = 72;  // points per inch
// Rules of the screen preview (100 dots per inch) are a dot wide, however
// thin on paper, and drawn light.
constexpr double kFaintPoints = 0.72, kFaintAlpha = 0.45;

struct Ink {
  double r, g, b;
};

// The drop-out red of the printed form, and a neutral grey.
Ink InkOf(FormInk ink) {
  return ink == FormInk::kGrey ? Ink{0.45, 0.45, 0.45} : Ink{0.85, 0.16, 0.16};
}

// A sans face for the form's captions and the calibration page, with the
// font's own (unhinted) metrics, so that a text measured here is drawn the
// same on every surface.
struct Face {
  const char* family;
  double points;
};
constexpr Face kCaptionFace{"Liberation Sans Narrow", kCaptionPoints};
constexpr Face kRulerFace{"Liberation Sans", 5};
constexpr Face kMarkFace{"Liberation Sans", 7};
constexpr Face kNoteFace{"Liberation Sans", 9};

void UseFace(cairo_t* cr, const Face& face) {
  Owned<cairo_font_options_t> options(cairo_font_options_create());
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cr, options.get());
  cairo_select_font_face(cr, face.family, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, face.points);
}

// Measures texts in a face: the box a text's glyphs cover, in inches, when
// its baseline starts at (x, baseline) inches.
class Measure {
 public:
  Measure()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)),
        cr_(cairo_create(surface_.get())) {}

  FormRect Ink(const Face& face, const std::string& text, double x, double baseline) {
    UseFace(cr_.get(), face);
    cairo_text_extents_t te;
    cairo_text_extents(cr_.get(), text.c_str(), &te);
    return {static_cast<float>(x + te.x_bearing / kPt),
            static_cast<float>(baseline + te.y_bearing / kPt),
            static_cast<float>(x + (te.x_bearing + te.width) / kPt),
            static_cast<float>(baseline + (te.y_bearing + te.height) / kPt)};
  }
  double Advance(const Face& face, const std::string& text) {
    UseFace(cr_.get(), face);
    cairo_text_extents_t te;
    cairo_text_extents(cr_.get(), text.c_str(), &te);
    return te.x_advance / kPt;
  }

 private:
  Owned<cairo_surface_t> surface_;
  Owned<cairo_t> cr_;
};

std::vector<DrawnCaption> PlaceCaptions() {
  Measure m;
  std::vector<DrawnCaption> out;
  for (const FormLocator& f : FormLayout()) {
    size_t from = 0;
    for (int line = 0; from < f.caption.size(); ++line) {
      size_t end = f.caption.find('\n', from);
      if (end == std::string::npos) end = f.caption.size();
      DrawnCaption c{&f, f.caption.substr(from, end - from), f.rect.left + kCaptionPad,
                     f.rect.top + kCaptionBaseline + static_cast<float>(line) * kCaptionLine,
                     {}};
      c.ink = m.Ink(kCaptionFace, c.text, c.x, c.baseline);
      out.push_back(std::move(c));
      from = end + 1;
    }
  }
  return out;
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

// Draws text with its baseline starting at (x, baseline) inches.
void Text(cairo_t* cr, double x, double baseline, const std::string& text) {
  cairo_move_to(cr, x * kPt, baseline * kPt);
  cairo_show_text(cr, text.c_str());
}

bool Touch(const FormRect& a, const FormRect& b, float gap) {
  return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap &&
         b.top < a.bottom + gap;
}

// The calibration page's own measures, inches.
constexpr double kPaperW = 8.5, kPaperH = 11;
constexpr double kArm = 0.15;          // of a cross
constexpr double kLongTick = 6 / kPt;  // every tenth; 4 pt every twentieth, 2 pt between
constexpr double kRulerLabelAt = 11 / kPt;  // top ruler: baseline; left ruler: left edge
CalibrationText PlaceText(Measure& m, const Face& face, const std::string& text, double x,
                          double baseline) {
  return {text, m.Ink(face, text, x, baseline), static_cast<float>(x),
          static_cast<float>(baseline)};
}

}  // namespace

CalibrationPage LayOutCalibration(double dx, double dy) {
  Measure m;
  CalibrationPage page;
  char buf[96];
  for (const CalibrationMark& mark : kCalibrationMarks) {
    const double x = mark.x + dx, y = mark.y + dy;
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
    const auto arm = static_cast<float>(kArm), ring = arm / 3;
    page.crosses.push_back({mark.name, fx, fy,
                            {{fx - arm, fy, fx + arm, fy},
                             {fx, fy - arm, fx, fy + arm},
                             {fx - ring, fy - ring, fx + ring, fy + ring}}});
    std::snprintf(buf, sizeof buf, "%s: X %.2f, Y %.2f in", mark.name, mark.x, mark.y);
    // Below the cross; marks near the right edge are labelled on their left.
    const double w = m.Advance(kMarkFace, buf);
    const double left = mark.x > 6 ? x - w : x + 4 / kPt;
    page.mark_labels.push_back(PlaceText(m, kMarkFace, buf, left, y + kArm + 8 / kPt));
  }
  std::snprintf(buf, sizeof buf, "Offsets in force: X %+.2f in, Y %+.2f in.", dx, dy);
  const std::string lines[] = {
      "UB-04 calibration page: print it at 100 % (no fit to page) on a pre-printed form.",
      "Each cross marks where its box's text starts (FL 47: ends) and the lower edge",
      "of that text's line; each label gives that position without offsets.",
      "A positive X offset moves every text right, a positive Y offset moves it down.",
      "New offsets: the offsets in force plus how far the crosses must move to sit",
      "where their boxes' text belongs (right and down are positive).",
      buf,
  };
  double baseline = 1.6;
  for (const std::string& l : lines) {
    page.notes.push_back(PlaceText(m, kNoteFace, l, 1.5, baseline));
    baseline += 12 / kPt;
  }

  // Ruler labels every tenth of an inch (the first two left out where the
  // rulers meet), unless they would touch what the page shows.
  auto clear = [&](const FormRect& box) {
    for (const CalibrationCross& c : page.crosses)
      for (const FormRect& part : c.covers)
        if (Touch(box, part, 0.02f)) return false;
    for (const auto* texts : {&page.mark_labels, &page.notes})
      for (const CalibrationText& t : *texts)
        if (Touch(box, t.box, 0.02f)) return false;
    return true;
  };
  for (int axis = 0; axis < 2; ++axis) {
    const double length = axis == 0 ? kPaperW : kPaperH;
    for (int tenth = 3; tenth < static_cast<int>(length * 10); ++tenth) {
      const double at = tenth / 10.0;
      const std::string text =
          tenth % 10 == 0 ? std::to_string(tenth / 10) + " in" : std::to_string(tenth % 10);
      CalibrationText t = axis == 0 ? PlaceText(m, kRulerFace, text, at - m.Advance(kRulerFace, text) / 2,
                                       kRulerLabelAt)
                           : PlaceText(m, kRulerFace, text, kRulerLabelAt - 4 / kPt, at + 1.8 / kPt);
      if (clear(t.box)) page.ruler_labels.push_back(std::move(t));
    }
  }
  return page;
}

const std::vector<DrawnCaption>& FormCaptions() {
  static const std::vector<DrawnCaption> captions = PlaceCaptions();
  return captions;
}

void DrawForm(cairo_t* cr, FormInk ink, bool faint, double dx, double dy) {
  const Ink c = InkOf(ink);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_translate(cr, dx * kPt, dy * kPt);
  cairo_set_source_rgba(cr, c.r, c.g, c.b, faint ? kFaintAlpha : 1.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  for (const FormRule& r : FormRules()) {
    const double width = r.frame ? kFramePoints : kRulePoints;
    cairo_set_line_width(cr, faint ? std::max(width, kFaintPoints) : width);
    Line(cr, r.x0 * kPt, r.y0 * kPt, r.x1 * kPt, r.y1 * kPt);
  }
  UseFace(cr, kCaptionFace);
  for (const DrawnCaption& caption : FormCaptions())
    Text(cr, caption.x, caption.baseline, caption.text);
  cairo_restore(cr);
}

void DrawCalibration(cairo_t* cr, double dx, double dy) {
  const CalibrationPage page = LayOutCalibration(dx, dy);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);

  // Ticks every hundredth of an inch from the paper's edge, longer every
  // twentieth and tenth.
  cairo_set_line_width(cr, 0.25);
  auto tick = [](int i) { return i % 10 == 0 ? kLongTick : i % 5 == 0 ? 4 / kPt : 2 / kPt; };
  for (int i = 1; i < static_cast<int>(kPaperW * 100); ++i)
    Line(cr, i / 100.0 * kPt, 0, i / 100.0 * kPt, tick(i) * kPt);
  for (int i = 1; i < static_cast<int>(kPaperH * 100); ++i)
    Line(cr, 0, i / 100.0 * kPt, tick(i) * kPt, i / 100.0 * kPt);
  UseFace(cr, kRulerFace);
  for (const CalibrationText& t : page.ruler_labels) Text(cr, t.x, t.y, t.text);

  // A cross of fine lines centred on every mark, and a ring to find it.
  cairo_set_line_width(cr, 0.3);
  for (const CalibrationCross& c : page.crosses) {
    const double x = c.x * kPt, y = c.y * kPt;
    Line(cr, x - kArm * kPt, y, x + kArm * kPt, y);
    Line(cr, x, y - kArm * kPt, x, y + kArm * kPt);
    cairo_arc(cr, x, y, kArm * kPt / 3, 0, 6.283185307179586);
    cairo_stroke(cr);
  }
  UseFace(cr, kMarkFace);
  for (const CalibrationText& t : page.mark_labels) Text(cr, t.x, t.y, t.text);
  UseFace(cr, kNoteFace);
  for (const CalibrationText& t : page.notes) Text(cr, t.x, t.y, t.text);
  cairo_restore(cr);
}

}  // namespace ub04
