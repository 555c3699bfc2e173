// The form on paper, read back with poppler: captions only when asked for,
// claim text unmoved by them, offsets, actual-size PDFs, reprints and the
// calibration page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "form/fmt_file.h"
#include "print/pdf_actual_size.h"
#include "print/render_form.h"
#include "host/format_class.h"
#include "tests/cli_support.h"
#include "tests/pdf_support.h"

namespace ub04 {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::ScratchDir;

using test::Capture;

// Every word of the PDF with its page and box (points), one string each:
// "page|text|x0|y0|x1|y1".
std::multiset<std::string> Words(const fs::path& pdf) {
  std::multiset<std::string> out;
  for (const test::Word& w : test::PdfWords(pdf)) {
    char box[96];
    std::snprintf(box, sizeof box, "|%.2f|%.2f|%.2f|%.2f", w.x0 * 72, w.y0 * 72, w.x1 * 72,
                  w.y1 * 72);
    out.insert(std::to_string(w.page) + "|" + w.text + box);
  }
  return out;
}

std::string PageText(const fs::path& pdf, int page) {
  return Capture("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) +
                 " '" + pdf.string() + "' - 2>/dev/null");
}

int Pages(const fs::path& pdf) {
  std::string info = Capture("pdfinfo '" + pdf.string() + "' 2>/dev/null");
  size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// The example batch printed into dir/name, with extra options.
fs::path PrintExample(const ScratchDir& dir, const std::string& name, const std::string& opts) {
  fs::create_directories(dir.path() / name);
  auto r = RunCli("-q " + opts + " -o " + (dir.path() / name).string() + " " +
                  test::ExampleBatch());
  EXPECT_EQ(r.status, 0) << r.err;
  return dir.path() / name / "claims.pdf";
}

TEST(PaperPrint, TheFormIsDrawnOnlyWhenAskedAndMovesNoText) {
  ScratchDir dir;
  fs::path bare = PrintExample(dir, "bare", "");
  fs::path red = PrintExample(dir, "red", "--form");
  fs::path grey = PrintExample(dir, "grey", "--form=grey --offsets=+0.10,-0.05");
  fs::path shifted = PrintExample(dir, "shifted", "--offsets=+0.10,-0.05");
  for (const char* caption : {"REV. CD.", "PAT. CNTL #", "56 NPI", "TYPE OF BILL", "REMARKS", "PAGE"}) {
    EXPECT_NE(PageText(red, 1).find(caption), std::string::npos) << caption;
    EXPECT_NE(PageText(grey, 6).find(caption), std::string::npos) << caption;
    EXPECT_EQ(PageText(bare, 1).find(caption), std::string::npos) << caption;
  }
  // Every word of the claims sits exactly where it sat without the form.
  auto without = Words(bare), with = Words(red);
  ASSERT_GT(without.size(), 300u);
  for (const std::string& w : without) EXPECT_EQ(with.count(w), without.count(w)) << w;
  auto moved = Words(shifted), moved_with = Words(grey);
  for (const std::string& w : moved) EXPECT_EQ(moved_with.count(w), moved.count(w)) << w;

  // A positive X offset moves every text right, a positive Y offset down.
  auto there = test::PdfWords(shifted);
  for (const test::Word& w : test::PdfWords(bare)) {
    auto moved_word = std::find_if(there.begin(), there.end(), [&](const test::Word& m) {
      return m.page == w.page && m.text == w.text && std::fabs(m.x0 - w.x0 - 0.10) < 1e-3 &&
             std::fabs(m.y0 - w.y0 + 0.05) < 1e-3;
    });
    ASSERT_NE(moved_word, there.end()) << w.text << " did not move right 0.10 and up 0.05";
    there.erase(moved_word);
  }
  EXPECT_TRUE(there.empty());
}

// The text of a PDF's last cross-reference section: where startxref says.
std::string LastSection(const std::string& pdf, uint64_t* at = nullptr) {
  const size_t s = pdf.rfind("startxref");
  const uint64_t offset = std::strtoull(pdf.c_str() + s + 9, nullptr, 10);
  if (at) *at = offset;
  return offset < pdf.size() ? pdf.substr(offset, s - offset) : "";
}

TEST(PaperPrint, ThePdfAsksViewersToPrintAtActualSize) {
  ScratchDir dir;
  const fs::path claims = PrintExample(dir, "run", "");
  const fs::path calibration = dir.path() / "cal.pdf";
  ASSERT_EQ(RunCli("-q --calibration " + calibration.string()).status, 0);
  for (const fs::path& pdf : {claims, calibration}) {
    // Opens with no complaint, every page.
    EXPECT_EQ(Capture("pdfinfo '" + pdf.string() + "' 2>&1 >/dev/null"), "") << pdf;
    EXPECT_EQ(Pages(pdf), pdf == claims ? 6 : 1);
    // The update: the catalog again, with the request, where its own
    // cross-reference section says; /Prev leads to cairo's table.
    const std::string bytes = test::ReadFile(pdf);
    const std::string section = LastSection(bytes);
    unsigned number = 0;
    unsigned long long object = 0, prev = 0;
    ASSERT_EQ(std::sscanf(section.c_str(), "xref\n%u 1\n%llu", &number, &object), 2) << section;
    ASSERT_LT(object, bytes.size());
    const std::string catalog = bytes.substr(object, bytes.find("endobj", object) - object);
    EXPECT_EQ(catalog.find(std::to_string(number) + " 0 obj"), 0u) << catalog;
    EXPECT_NE(catalog.find("/Type /Catalog"), std::string::npos) << catalog;
    EXPECT_NE(catalog.find("/ViewerPreferences << /PrintScaling /None >>"), std::string::npos);
    ASSERT_EQ(std::sscanf(section.c_str() + section.find("/Prev"), "/Prev %llu", &prev), 1);
    EXPECT_EQ(bytes.compare(prev, 4, "xref"), 0);

    // A file that already asks is left as it is; one this cannot read is
    // never patched into something else.
    auto reader = [](const std::string& file) {
      return PdfReader([&file](uint64_t offset, size_t n) {
        return offset < file.size() ? file.substr(offset, n) : std::string();
      });
    };
    EXPECT_EQ(ActualSizeUpdate(reader(bytes), bytes.size()), std::string());
    const std::string cairo_wrote = bytes.substr(0, bytes.rfind("%%EOF", object) + 6);
    EXPECT_EQ(ActualSizeUpdate(reader(cairo_wrote), cairo_wrote.size()), bytes.substr(cairo_wrote.size()));
    const std::string cut = cairo_wrote.substr(0, cairo_wrote.size() / 2);
    EXPECT_EQ(ActualSizeUpdate(reader(cut), cut.size()), std::nullopt);
    std::string streamed = cairo_wrote;  // a last section that is a cross-reference stream
    streamed.replace(streamed.rfind("trailer"), 7, "%ailer ");
    EXPECT_EQ(ActualSizeUpdate(reader(streamed), streamed.size()), std::nullopt);
  }
}

TEST(PaperPrint, AHostAsksForTheFormWithPrintform) {
  Format_Class fc;
  EXPECT_EQ(fc.HereIsAMessage("PRINTFORM", "1"), 0);
  EXPECT_EQ(fc.HereIsAMessage("PRINTFORM", "0"), 0);
  EXPECT_EQ(fc.HereIsAMessage("PRINTFORM", "red"), 3);
  int32_t first = 1;
  EXPECT_NE(fc.GetAMessage(first).find("PRINTFORM \"red\""), std::string::npos);
}

TEST(PaperPrint, AReprintPrintsExactlyTheChosenClaims) {
  ScratchDir dir;
  fs::path full = PrintExample(dir, "run", "");
  const fs::path fmt = dir.path() / "run" / "claims.fmt";
  // Claims by their first page's number, each whole: claim 3 is pages 3
  // and 4 (23 lines), and page 4 begins no claim.
  auto r = RunCli("-q --reprint " + fmt.string() + " --claims 2-3 -o " + dir.str());
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path reprint = dir.path() / "claims-reprint.pdf";
  ASSERT_EQ(Pages(reprint), 3);
  for (int page = 1; page <= 3; ++page) EXPECT_EQ(PageText(reprint, page), PageText(full, page + 1));
  r = RunCli("-q --reprint " + fmt.string() + " --claims 4 -o " + dir.str());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("holds no claim 4"), std::string::npos) << r.err;
  EXPECT_EQ(fs::status(reprint).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

  // By the index text, in any case: the claims of one patient.
  int expected = 0;
  FormattedFileReader reader;
  reader.Open(fmt.string());
  FormattedLine line;
  while (reader.Next(line)) expected += line.kind == "C" && line.text.find("OKAFOR") != std::string::npos;
  reader.Close();
  ASSERT_GT(expected, 0);
  r = RunCli("-q --reprint " + fmt.string() + " --account okafor --form -o " + dir.str());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Pages(reprint), expected);

  // A claim the file does not hold, or a file no run finished: nothing.
  fs::remove(reprint);
  r = RunCli("-q --reprint " + fmt.string() + " --claims 2,9 -o " + dir.str());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no claim 9"), std::string::npos) << r.err;
  std::string text = test::ReadFile(fmt);
  std::ofstream(dir.path() / "cut.fmt", std::ios::binary) << text.substr(0, text.rfind("\"T\""));
  r = RunCli("-q --reprint " + (dir.path() / "cut.fmt").string() + " -o " + dir.str());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("incomplete"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir.path() / "cut-reprint.pdf"));
  EXPECT_FALSE(fs::exists(reprint));
}

// A grey image of the page at 300 dots per inch.
struct Gray {
  int w = 0, h = 0;
  std::string px;
  bool dark(int x, int y) const {
    return x >= 0 && y >= 0 && x < w && y < h && static_cast<unsigned char>(px[static_cast<size_t>(y) * w + x]) < 128;
  }
};

Gray Raster(const fs::path& pdf, const fs::path& dir) {
  std::string cmd = "pdftoppm -r 300 -gray -f 1 -l 1 '" + pdf.string() + "' '" +
                    (dir / "cal").string() + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  Gray g;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".pgm") {
      std::string data = test::ReadFile(e.path());
      int maxval = 0, used = 0;
      std::sscanf(data.c_str(), "P5 %d %d %d%n", &g.w, &g.h, &maxval, &used);
      g.px = data.substr(static_cast<size_t>(used) + 1);
    }
  return g;
}

TEST(PaperPrint, TheCalibrationMarksSitAtTheirNominalPositions) {
  ScratchDir dir;
  const fs::path pdf = dir.path() / "cal.pdf";
  auto r = RunCli("-q --calibration " + pdf.string() + " --offsets=+0.10,-0.05");
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(Pages(pdf), 1);
  for (const CalibrationMark& m : kCalibrationMarks)
    EXPECT_NE(PageText(pdf, 1).find(std::string(m.name) + ": X"), std::string::npos) << m.name;
  Gray g = Raster(pdf, dir.path());
  ASSERT_GT(g.w, 2000);
  constexpr double kDpi = 300;
  for (const CalibrationMark& m : kCalibrationMarks) {
    const double x = (m.x + 0.10) * kDpi, y = (m.y - 0.05) * kDpi;
    // The horizontal arm right of the ring, the vertical arm above it: the
    // row and column with the most ink there.
    int best_row = -1, best_col = -1, most = 0;
    for (int row = static_cast<int>(y) - 15; row <= static_cast<int>(y) + 15; ++row) {
      int n = 0;
      for (int col = static_cast<int>(x + 0.07 * kDpi); col < x + 0.13 * kDpi; ++col) n += g.dark(col, row);
      if (n > most) most = n, best_row = row;
    }
    most = 0;
    for (int col = static_cast<int>(x) - 15; col <= static_cast<int>(x) + 15; ++col) {
      int n = 0;
      for (int row = static_cast<int>(y - 0.13 * kDpi); row < y - 0.07 * kDpi; ++row) n += g.dark(col, row);
      if (n > most) most = n, best_col = col;
    }
    EXPECT_NEAR((best_row + 0.5) / kDpi, m.y - 0.05, 0.01) << m.name;
    EXPECT_NEAR((best_col + 0.5) / kDpi, m.x + 0.10, 0.01) << m.name;
  }
}

bool Overlap(const FormRect& a, const FormRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// With the offsets a printer needs, the rulers' labels keep clear of the
// crosses and of every text, the marks' labels of each other and of the
// other crosses; the page states the offsets in force and what their sign
// means, in the words the README and the man page use.
TEST(PaperPrint, TheCalibrationPageKeepsItsTextsApartAndStatesTheOffsets) {
  const std::string sign =
      "A positive X offset moves every text right, a positive Y offset moves it down.";
  for (const auto& [dx, dy] : {std::pair{0.0, 0.0}, {0.1, -0.05}, {-0.25, 0.25}, {0.25, -0.25}}) {
    const CalibrationPage page = LayOutCalibration(dx, dy);
    const std::string at = "offsets " + std::to_string(dx) + ", " + std::to_string(dy) + ": ";
    ASSERT_EQ(page.crosses.size(), std::size(kCalibrationMarks));
    std::vector<std::pair<std::string, FormRect>> shown;  // what no ruler label may touch
    for (const CalibrationCross& c : page.crosses)
      for (const FormRect& part : c.covers) shown.push_back({std::string("cross ") + c.name, part});
    for (const auto* texts : {&page.mark_labels, &page.notes})
      for (const CalibrationText& t : *texts) shown.push_back({t.text, t.box});
    EXPECT_GT(page.ruler_labels.size(), 150u) << at;
    for (const CalibrationText& r : page.ruler_labels)
      for (const auto& [what, box] : shown)
        EXPECT_FALSE(Overlap(r.box, box)) << at << "ruler label " << r.text << " on " << what;
    for (size_t i = 0; i < page.mark_labels.size(); ++i) {
      const CalibrationText& label = page.mark_labels[i];
      for (size_t j = 0; j < shown.size(); ++j)
        if (shown[j].first != label.text &&
            shown[j].first != std::string("cross ") + page.crosses[i].name) {
          EXPECT_FALSE(Overlap(label.box, shown[j].second)) << at << label.text << " on " << shown[j].first;
        }
    }
    std::string notes;
    for (const CalibrationText& n : page.notes) notes += n.text + "\n";
    char offsets[64];
    std::snprintf(offsets, sizeof offsets, "Offsets in force: X %+.2f in, Y %+.2f in.", dx, dy);
    EXPECT_NE(notes.find(offsets), std::string::npos) << notes;
    EXPECT_NE(notes.find(sign), std::string::npos) << notes;
  }
  for (const char* doc : {"/README.md", "/docs/ub04fmt.1"}) {
    std::string text = test::ReadFile(std::string(UB04_SOURCE_DIR) + doc);
    for (char& c : text)
      if (c == '\n') c = ' ';
    EXPECT_NE(text.find(sign), std::string::npos) << doc;
  }
}

}  // namespace
}  // namespace ub04
