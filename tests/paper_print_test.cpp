// The form on paper, read back with poppler: captions only when asked for,
// the claim text where it was without the form, reprints of chosen claims,
// and the calibration marks where they say they are.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "form/fmt_file.h"
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
  for (const char* caption : {"REV. CD.", "PAT. CNTL #", "56 NPI", "TYPE OF BILL", "REMARKS"}) {
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
  auto r = RunCli("-q --reprint " + fmt.string() + " --claims 2,4 -o " + dir.str());
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path reprint = dir.path() / "claims-reprint.pdf";
  ASSERT_EQ(Pages(reprint), 2);
  EXPECT_EQ(PageText(reprint, 1), PageText(full, 2));
  EXPECT_EQ(PageText(reprint, 2), PageText(full, 4));
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

}  // namespace
}  // namespace ub04
