#include "print/fonts.h"

namespace ub04 {

namespace {

// Families drawn to the metrics of another, so that they print its layout.
struct MetricTwins {
  std::string_view family;
  std::string_view twins[2];
};
constexpr MetricTwins kMetricTwins[] = {
    {"Courier New", {"Liberation Mono", "Cousine"}},
};

bool FamilyAccepted(std::string_view wanted, std::string_view found) {
  if (found == wanted) return true;
  for (const MetricTwins& m : kMetricTwins)
    if (m.family == wanted)
      for (std::string_view t : m.twins)
        if (found == t) return true;
  return false;
}

std::string AcceptedList(std::string_view wanted) {
  std::string list = "\"" + std::string(wanted) + "\"";
  for (const MetricTwins& m : kMetricTwins)
    if (m.family == wanted)
      for (std::string_view t : m.twins) list += ", \"" + std::string(t) + "\"";
  return list;
}

}  // namespace

void GlyphTable::Fill(unsigned char byte, Entry& e) {
  const char c = static_cast<char>(byte);
  const std::string utf8 = Cp1252ToUtf8(std::string_view(&c, 1));
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_status_t st = cairo_scaled_font_text_to_glyphs(
      font_.get(), 0, 0, utf8.data(), static_cast<int>(utf8.size()), &glyphs, &count,
      nullptr, nullptr, nullptr);
  if (st == CAIRO_STATUS_SUCCESS && count != 1) st = CAIRO_STATUS_INVALID_CLUSTERS;
  if (st != CAIRO_STATUS_SUCCESS) {
    cairo_glyph_free(glyphs);
    Raise(kErrPrinter, "Printer error: " + StatusText(st));
  }
  // The extents of one glyph at the origin: its advance, exactly the step
  // cairo takes from one glyph of a text to the next.
  glyphs[0].x = glyphs[0].y = 0;
  cairo_text_extents_t te;
  cairo_scaled_font_glyph_extents(font_.get(), glyphs, 1, &te);
  e.index = glyphs[0].index;
  cairo_glyph_free(glyphs);
  e.x_advance = te.x_advance;
  e.y_advance = te.y_advance;
  e.utf8_len = static_cast<uint8_t>(utf8.size());
  utf8.copy(e.utf8, sizeof e.utf8);
  e.known = true;
}

void CairoFont::Select(const std::string& name, float points, bool bold) {
  Owned<FcPattern> want(FcPatternCreate());
  if (!want) Raise(kErrOutOfMemory);
  FcPatternAddString(want.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(want.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(want.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, want.get(), FcMatchPattern);
  cairo_ft_font_options_substitute(options_.get(), want.get());
  FcDefaultSubstitute(want.get());
  FcResult result = FcResultNoMatch;
  Owned<FcPattern> match(FcFontMatch(nullptr, want.get(), &result));

  std::string offered;
  bool accepted = false;
  FcChar8* family = nullptr;
  for (int i = 0; match && FcPatternGetString(match.get(), FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    std::string_view f = reinterpret_cast<const char*>(family);
    if (i == 0) offered = f;
    if (FamilyAccepted(name, f)) accepted = true;
  }
  if (!accepted)
    Raise(kErrPrinter, "Printer error: no face for font \"" + name + "\" (" +
                           AcceptedList(name) + " needed, fontconfig offers " +
                           (offered.empty() ? "none" : "\"" + offered + "\"") + ")");

  Owned<cairo_font_face_t> face(cairo_ft_font_face_create_for_pattern(match.get()));
  CheckFont(cairo_font_face_status(face.get()), name);
  cairo_matrix_t size, ctm;
  cairo_matrix_init_scale(&size, points, points);
  cairo_matrix_init_identity(&ctm);
  Owned<cairo_scaled_font_t> scaled(
      cairo_scaled_font_create(face.get(), &size, &ctm, options_.get()));
  CheckFont(cairo_scaled_font_status(scaled.get()), name);
  cairo_font_extents_t fe;
  cairo_scaled_font_extents(scaled.get(), &fe);

  face_ = std::move(face);
  scaled_ = std::move(scaled);
  measured_.Use(scaled_.get());
  points_ = points;
  ascent_ = fe.ascent;
  descent_ = fe.descent;
}

}  // namespace ub04
