// The form as data and as drawn: no two fields overlap, captions keep clear
// of each other and of every rule, and every printed text of a batch fits
// its field clear of rules and captions, measured in the PDF's font.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

#include "form/fmt_file.h"
#include "form/form_layout.h"
#include "form/form_positions.h"
#include "print/fonts.h"
#include "print/render_form.h"
#include "tests/cli_support.h"

namespace ub04 {
namespace {

using test::ScratchDir;

// How far apart two inks must stay, and an ink from a rule's stroke.
constexpr float kGap = 0.004f;

bool Overlap(const FormRect& a, const FormRect& b, float gap = kGap) {
  return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap &&
         b.top < a.bottom + gap;
}

bool Contains(const FormRect& outer, const FormRect& inner) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

std::string Show(const FormRect& r) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "[%.3f, %.3f to %.3f, %.3f]", r.left, r.top, r.right, r.bottom);
  return buf;
}

// What a rule's stroke covers on paper (square caps).
FormRect Stroke(const FormRule& r) {
  const float half = static_cast<float>((r.frame ? kFramePoints : kRulePoints) / 72 / 2);
  return {r.x0 - half, r.y0 - half, r.x1 + half, r.y1 + half};
}

std::string Show(const FormRule& r) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "rule %.3f,%.3f-%.3f,%.3f", r.x0, r.y0, r.x1, r.y1);
  return buf;
}

TEST(PaperLayout, EveryLocatorIsThereAndNoTwoFieldsOverlap) {
  const auto& layout = FormLayout();
  std::set<std::string> ids, numbers;
  const FormRect frame = FormFrame();
  for (const FormLocator& f : layout) {
    EXPECT_TRUE(ids.insert(f.id).second) << "two locators named " << f.id;
    numbers.insert(f.number);
    EXPECT_TRUE(Contains(frame, f.rect)) << f.id << " " << Show(f.rect);
    EXPECT_GT(f.rect.width(), 0) << f.id;
    EXPECT_GT(f.rect.height(), 0) << f.id;
    EXPECT_EQ(FindLocator(f.id), &f);
  }
  for (int n = 1; n <= 81; ++n) EXPECT_TRUE(numbers.count(std::to_string(n))) << "FL " << n;
  for (const char* sub :
       {"3a", "3b", "6 from", "6 through", "8a", "8b", "9e", "31b", "36a", "39a", "39d", "41d",
        "42.1", "42.22", "47.23", "43.23 page", "43.23 of", "50C", "57C", "63A", "65C", "66",
        "67", "67 poa", "67Q", "67Q poa", "74e", "76 npi", "76 qual", "76 last", "76 first",
        "79 id", "81a", "81d"})
    EXPECT_TRUE(ids.count(sub)) << sub;
  EXPECT_EQ(FindLocator("67R"), nullptr);

  // A position must name one field.
  for (size_t i = 0; i < layout.size(); ++i)
    for (size_t j = i + 1; j < layout.size(); ++j)
      if (layout[i].fill && layout[j].fill) {
        EXPECT_FALSE(Overlap(layout[i].rect, layout[j].rect, -1e-4f))
            << layout[i].id << " overlaps " << layout[j].id;
      }
}

// What the form's widths mean for the texts the writers print there.
TEST(PaperLayout, FieldCharsIsTheRoomUpToTheFieldsRule) {
  struct Case {
    const char* what;
    float x, y;
    int align, chars;
  };
  const Case cases[] = {
      {"a principal diagnosis: an ICD-10 code", pos::kBox67FirstX, pos::kBox67RowY[0], 0, 7},
      {"its present-on-admission value", pos::kBox67FirstX + pos::kBox67PoaOffset,
       pos::kBox67RowY[0], 0, 1},
      {"diagnosis Q's code", pos::kBox67FirstX + 8 * pos::kBox67Step, pos::kBox67RowY[1], 0, 7},
      {"box 76's qualifier", pos::kBoxes76And77QualifierX, pos::kBox76Rows.id_y, 0, 2},
      {"box 77's NPI", pos::kBoxes76And77NpiX, pos::kBox77Rows.id_y, 0, 11},
      {"box 76's last name, up to FIRST", pos::kBoxes76And77LastNameX, pos::kBox76Rows.name_y,
       0, 18},
      {"line 23's page number, up to OF", pos::kLine23PageX, pos::kLine23PageNumberY, 0, 3},
      {"box 47's charges, back to box 46", pos::kBox47ChargesX, pos::kBoxes42To47RowY[21], 1, 10},
      {"box 2's vendor id, back to box 2's left rule", pos::kBox02VendorIdX, pos::kBox02VendorIdY,
       1, 28},
      {"box 4's type of bill", pos::kBox04X, pos::kBox04Y, 0, 6},
      {"box 66's qualifier", pos::kBox66X, pos::kBox66Y, 0, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(FieldChars(c.x, c.y, c.align), c.chars) << c.what;
  EXPECT_EQ(FieldChars(4.25f, 5.5f, 2), -1) << "centred";
  EXPECT_EQ(FieldChars(8.45f, 1.0f, 0), -1) << "right of the frame";
  EXPECT_NE(WhyOutsideField("12345678", pos::kBox67FirstX, pos::kBox67RowY[0], 0), "");
  EXPECT_EQ(WhyOutsideField("1234567", pos::kBox67FirstX, pos::kBox67RowY[0], 0), "");
}

TEST(PaperLayout, CaptionsKeepClearOfEachOtherAndOfEveryRule) {
  const auto& captions = FormCaptions();
  ASSERT_GT(captions.size(), 200u);
  for (size_t i = 0; i < captions.size(); ++i) {
    const DrawnCaption& c = captions[i];
    const std::string name = "\"" + c.text + "\" of " + c.of->id + " " + Show(c.ink);
    EXPECT_TRUE(Contains(c.of->rect, c.ink)) << name << " leaves " << Show(c.of->rect);
    for (size_t j = i + 1; j < captions.size(); ++j)
      EXPECT_FALSE(Overlap(c.ink, captions[j].ink))
          << name << " overlaps \"" << captions[j].text << "\" of " << captions[j].of->id;
    for (const FormRule& r : FormRules())
      EXPECT_FALSE(Overlap(c.ink, Stroke(r))) << name << " is on the " << Show(r);
  }
  // Line 23 reads "PAGE n OF m".
  std::map<std::string, FormRect> line23;
  for (const DrawnCaption& c : captions)
    if (c.text == "PAGE" || c.text == "OF") line23[c.text] = c.ink;
  EXPECT_LT(line23.at("PAGE").right, pos::kLine23PageX);
  EXPECT_LT(pos::kLine23PageX + 0.1f, line23.at("OF").left);
  EXPECT_LT(line23.at("OF").right, pos::kLine23PageOfX);
}

// The ink of printed texts, measured in the PDF's font: a text's baseline
// lies its font's descent above its lower edge y.
class PrintedInk {
 public:
  PrintedInk()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)),
        cr_(cairo_create(surface_.get())) {
    font_.Select("Courier New", 10, true);
    font_.Apply(cr_.get());
  }

  FormRect Of(const std::string& text, float x, float y, int align) {
    auto [it, added] = extents_.try_emplace(text);
    if (added) cairo_text_extents(cr_.get(), Cp1252ToUtf8(text).c_str(), &it->second);
    const cairo_text_extents_t& te = it->second;
    const double start = align == 1 ? x - te.x_advance / 72 : x;
    const double baseline = y - (font_.height() - font_.ascent()) / 72;
    return {static_cast<float>(start + te.x_bearing / 72),
            static_cast<float>(baseline + te.y_bearing / 72),
            static_cast<float>(start + (te.x_bearing + te.width) / 72),
            static_cast<float>(baseline + (te.y_bearing + te.height) / 72)};
  }

 private:
  CairoFont font_;
  Owned<cairo_surface_t> surface_;
  Owned<cairo_t> cr_;
  std::unordered_map<std::string, cairo_text_extents_t> extents_;
};

// Every "F" line of the formatted-record file that does not fit across its
// field or whose ink touches a rule or a caption, said why.
std::vector<std::string> Crossings(const std::string& fmt, int& fields) {
  PrintedInk ink;
  std::vector<std::string> out;
  FormattedFileReader reader;
  reader.Open(fmt);
  FormattedLine line;
  int page = 1;
  fields = 0;
  while (reader.Next(line)) {
    if (line.kind == "N") ++page;
    if (line.kind != "F" || line.text.empty()) continue;
    ++fields;
    const std::string where = "page " + std::to_string(page) + ": ";
    const std::string across = WhyOutsideField(line.text, line.x, line.y, line.number);
    if (!across.empty()) out.push_back(where + across);
    const FormRect text = ink.Of(line.text, line.x, line.y, line.number);
    const std::string what = where + "\"" + line.text + "\" " + Show(text);
    if (!Contains(FormFrame(), text)) out.push_back(what + " leaves the form");
    for (const FormRule& r : FormRules())
      if (Overlap(text, Stroke(r))) out.push_back(what + " is on the " + Show(r));
    for (const DrawnCaption& c : FormCaptions())
      if (Overlap(text, c.ink)) out.push_back(what + " is on the caption \"" + c.text + "\" of " + c.of->id);
  }
  return out;
}

// The example batch, and the benchmark generator's (every kind of claim
// break, full pages, other payers, texts longer than their fields).
TEST(PaperLayout, EveryFieldOfABatchKeepsToItsBox) {
  ScratchDir dir;
  for (const auto& [batch, at_least] : {std::pair{test::ExampleBatch(), 300},
                                        {test::GenerateBatch(dir, 3000, 7).string(), 10000}}) {
    SCOPED_TRACE(batch);
    auto r = test::RunCli("-q --no-print -o " + dir.str() + " " + batch);
    ASSERT_EQ(r.status, 0) << r.err;
    int fields = 0;
    const auto crossed = Crossings(dir.str() + "/claims.fmt", fields);
    EXPECT_GT(fields, at_least);
    for (const std::string& why : crossed) ADD_FAILURE() << why;
  }
}

}  // namespace
}  // namespace ub04
