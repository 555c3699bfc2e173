// Printing to PDF, checked with an independent reader: poppler's pdftotext
// reports where every word landed, pdffonts which face drew it.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "print/printing.h"
#include "tests/pdf_support.h"
#include "tests/test_support.h"

// The machine's fontconfig loses a few bytes once while parsing its own
// configuration; that is not ours to report under the leak checker.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace ub04 {
namespace {

namespace fs = std::filesystem;

// Courier New and its metric twins: ascent + descent = 2320/2048 em, every
// advance 1229/2048 em (0.6 em as a PDF reader rounds it).
constexpr double kLineHeight = 10.0 * 2320 / 2048 / 72;
constexpr double kCharWidth = 10.0 * 0.6 / 72;
constexpr double kTolerance = 0.01;

using test::Capture;
using test::Find;
using test::PdfWords;
using test::Word;

using test::F;
using test::FmtPages;

struct PrintRun : test::Harness {
  fs::path pdf() const { return dir.path() / "claims.pdf"; }
  void Write(const std::string& text) { std::ofstream(fmt_path(), std::ios::binary) << text; }
  // Pages of texts, one under the other.
  void WritePages(const std::vector<std::vector<std::string>>& pages) {
    std::vector<std::vector<std::string>> lines;
    for (const auto& texts : pages) {
      lines.emplace_back();
      float y = 1;
      for (const std::string& t : texts) lines.back().push_back(F(t, 1, y += 0.5f));
    }
    Write(FmtPages(lines));
  }
  int16_t Print() { return fc.ProcessFormattedRecords(); }
};

TEST(PrintPdf, TextsLandWhereTheirAlignmentAndOffsetsPutThem) {
  PrintRun r;
  r.fc.HereIsAMessage("4", "0.10-0.05 ");  // 0.10 in left, 0.05 in down
  r.fc.HereIsAMessage("4", "0.50-0.50");   // nine characters: ignored
  r.Write(FmtPages({{F("LEFTSTART", 0.65f, 3.12f), F("RIGHTEND", 7.5f, 4.0f, 1),
                     F("CENTRED", 3.0f, 10.5f, 2), F("\x93Q\x94\x80\xC9", 1, 6)}}));
  ASSERT_EQ(r.Print(), 0);
  EXPECT_TRUE(test::Messages(r.fc).empty());

  int pages = 0;
  std::vector<Word> words = PdfWords(r.pdf(), &pages);
  EXPECT_EQ(pages, 1);
  const Word* left = Find(words, "LEFTSTART");
  const Word* right = Find(words, "RIGHTEND");
  const Word* mid = Find(words, "CENTRED");
  ASSERT_TRUE(left && right && mid);
  EXPECT_NEAR(left->x0, 0.65 - 0.10, kTolerance);
  EXPECT_NEAR(left->x1 - left->x0, 9 * kCharWidth, kTolerance);
  EXPECT_NEAR(left->y0, 3.12 + 0.05 - kLineHeight, kTolerance);
  EXPECT_NEAR(left->y1, 3.12 + 0.05, kTolerance);  // Y is the line's lower edge
  EXPECT_NEAR(right->x1, 7.5 - 0.10, kTolerance);
  EXPECT_NEAR(right->y0, 4.0 + 0.05 - kLineHeight, kTolerance);
  EXPECT_NEAR((mid->x0 + mid->x1) / 2, 8.5 / 2 - 0.10, kTolerance);  // X is ignored
  EXPECT_NEAR(mid->y0, 10.5 + 0.05 - kLineHeight, kTolerance);
  // Windows-1252 quotes, euro and accented letters reach the page as such.
  EXPECT_TRUE(Find(words, "\u201CQ\u201D\u20AC\u00C9")) << "converted text missing";

  std::string fonts = Capture("pdffonts '" + r.pdf().string() + "' 2>/dev/null");
  EXPECT_TRUE(fonts.find("LiberationMono-Bold") != std::string::npos ||
              fonts.find("CourierNew") != std::string::npos ||
              fonts.find("Cousine-Bold") != std::string::npos)
      << fonts;
}

TEST(PrintPdf, EveryNEndsOnePageAndNothingPrintedLeavesNoPdf) {
  PrintRun r;
  r.WritePages({{"FIRST"}, {}, {"THIRD", "MORE"}});  // the second page is blank
  ASSERT_EQ(r.Print(), 0);
  int pages = 0;
  std::vector<Word> words = PdfWords(r.pdf(), &pages);
  EXPECT_EQ(pages, 3);
  ASSERT_TRUE(Find(words, "THIRD") && Find(words, "FIRST"));
  EXPECT_EQ(Find(words, "FIRST")->page, 1);
  EXPECT_EQ(Find(words, "THIRD")->page, 3);
  EXPECT_FALSE(Find(words, "INDEX"));  // "C" lines are not printed

  // A file of "H" and "T" only prints nothing, and the earlier PDF goes.
  r.WritePages({});
  EXPECT_EQ(r.Print(), 0);
  EXPECT_TRUE(test::Messages(r.fc).empty());
  EXPECT_FALSE(fs::exists(r.pdf()));
}

TEST(PrintPdf, TestClaimRangeSelectsFormPagesOnEveryRun) {
  PrintRun r;
  r.WritePages({{"PAGE1"}, {"PAGE2"}, {"PAGE3"}});
  struct Case {
    const char* range;
    std::vector<std::string> printed;
  } cases[] = {{"1//1", {"PAGE1"}}, {"2//3", {"PAGE2", "PAGE3"}}, {"//2", {"PAGE1", "PAGE2"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    r.fc.HereIsAMessage("6", c.range);
    // Twice: the page count starts again on every run.
    for (int run = 0; run < 2; ++run) {
      EXPECT_EQ(r.Print(), 0);
      int pages = 0;
      std::vector<Word> words = PdfWords(r.pdf(), &pages);
      EXPECT_EQ(pages, static_cast<int>(c.printed.size()));
      EXPECT_EQ(words.size(), c.printed.size());
      for (size_t i = 0; i < c.printed.size(); ++i) {
        ASSERT_TRUE(Find(words, c.printed[i]));
        EXPECT_EQ(Find(words, c.printed[i])->page, static_cast<int>(i + 1));
      }
    }
  }
  // A range that selects no page (past the last, backwards, below the
  // first) is no success: nothing prints, the host is told why and how many
  // pages the file holds, and the PDF of the last range stays.
  const std::string before = test::ReadFile(r.pdf());
  for (const char* range : {"5//9", "100//200", "4//4", "3//2", "-5//-1"}) {
    r.fc.HereIsAMessage("6", range);
    EXPECT_EQ(r.Print(), 1) << range;
    std::vector<std::string> m = test::Messages(r.fc);
    ASSERT_EQ(m.size(), 1u) << range;
    EXPECT_NE(m[0].find("selects no page of " + r.fmt_path().string() + ", which holds 3 page(s)"),
              std::string::npos) << m[0];
    EXPECT_EQ(test::ReadFile(r.pdf()), before) << range;
  }
}

TEST(PrintPdf, MissingFileGivesTheTwoMessages) {
  PrintRun r;
  EXPECT_EQ(r.Print(), 1);
  EXPECT_EQ(test::Messages(r.fc),
            (std::vector<std::string>{" 3//ProcessFormattedRecords()  File Not Found: //",
                                      " 3//File: " + r.fmt_path().string() + "//"}));
  EXPECT_FALSE(fs::exists(r.pdf()));
}

// A malformed line is found where it is drawn: the pages before it were
// drawn already, but a file that is not whole prints nothing at all.
TEST(PrintPdf, AMalformedLinePrintsNothing) {
  PrintRun r;
  r.WritePages({{"EARLIER"}});
  ASSERT_EQ(r.Print(), 0);
  r.Write(FmtPages({{F("DRAWN", 1, 1)}, {"\"F\",\"LOST\",one,2,0\r\n"}}));
  EXPECT_EQ(r.Print(), 1);
  EXPECT_EQ(test::Messages(r.fc),
            (std::vector<std::string>{" 3//ProcessFormattedRecords()  Error:  13 Type mismatch//",
                                      " 3//File: " + r.fmt_path().string() + "//"}));
  EXPECT_FALSE(fs::exists(r.pdf()));  // neither this file's pages nor the earlier PDF
  for (const auto& e : fs::directory_iterator(r.pdf().parent_path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

TEST(PrintPdf, UnwritablePdfIsReportedNotCrashed) {
  PrintRun r;
  r.WritePages({{"TEXT"}});
  EXPECT_EQ(PdfPathFor(r.fmt_path().string()), r.pdf().string());
  EXPECT_EQ(PdfPathFor("/out.v2/claims"), "/out.v2/claims.pdf");
  EXPECT_EQ(PdfPathFor("/out/claims.pdf"), "/out/claims.pdf.pdf");  // never the file itself
  fs::create_directories(r.pdf());  // the PDF's name is taken by a folder
  std::ofstream(r.pdf() / "keep") << "x";
  EXPECT_EQ(r.Print(), 1);
  std::vector<std::string> m = test::Messages(r.fc);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].rfind(" 3//ProcessFormattedRecords()  Error:  482 Printer error: cannot write " +
                           r.pdf().string(), 0),
            0u)
      << m[0];
}

TEST(PrintPdf, RejectedFieldIsReportedAndTheRestPrints) {
  PrintRun r;
  r.Write(FmtPages({{F("BEFORE", 1, 1), F("FAR", 99999, 2), F("AFTER", 1, 3)}}));
  EXPECT_EQ(r.Print(), 1);
  EXPECT_EQ(test::Messages(r.fc),
            (std::vector<std::string>{" 3//QVR_UB04PPA_Format  PrintField() Error:  6 Overflow//",
                                      " 3//  Other Info:  X = 99999, Y = 2  Text = FAR//"}));
  std::vector<Word> words = PdfWords(r.pdf());
  EXPECT_TRUE(Find(words, "BEFORE") && Find(words, "AFTER"));
  EXPECT_FALSE(Find(words, "FAR"));
}

TEST(PrintPdf, UnknownAlignmentPrintsOnTheNextLine) {
  PrintRun r;
  r.fc.HereIsAMessage("4", "0.10 0.05 ");
  r.Write(FmtPages({{F("ABOVE", 2, 3), F("BELOW", 5, 5, 7)}}));
  ASSERT_EQ(r.Print(), 0);
  std::vector<Word> words = PdfWords(r.pdf());
  const Word* below = Find(words, "BELOW");
  ASSERT_TRUE(below);
  // Start of the line after ABOVE, plus the offsets once more.
  EXPECT_NEAR(below->x0, 0.10, kTolerance);
  EXPECT_NEAR(below->y0, 3 + 0.05 + 0.05, kTolerance);
}

TEST(PrintPdf, FontWithoutCourierMetricsIsRefused) {
  PrintRun r;
  r.WritePages({{"TEXT"}});
  // A font set holding only a proportional face.
  FcConfig* saved = FcConfigReference(nullptr);
  FcPattern* want = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"));
  FcConfigSubstitute(saved, want, FcMatchPattern);
  FcDefaultSubstitute(want);
  FcResult res;
  FcPattern* sans = FcFontMatch(saved, want, &res);
  FcChar8* file = nullptr;
  ASSERT_TRUE(sans && FcPatternGetString(sans, FC_FILE, 0, &file) == FcResultMatch);
  FcConfig* bare = FcConfigCreate();
  FcConfigAppFontAddFile(bare, file);
  FcConfigSetCurrent(bare);
  FcConfigDestroy(bare);
  int16_t result = r.Print();
  FcConfigSetCurrent(saved);
  FcConfigDestroy(saved);
  FcPatternDestroy(sans);
  FcPatternDestroy(want);

  EXPECT_EQ(result, 1);
  std::vector<std::string> m = test::Messages(r.fc);
  ASSERT_FALSE(m.empty());
  EXPECT_NE(m[0].find("no face for font \"Courier New\""), std::string::npos) << m[0];
  EXPECT_NE(m[0].find("\"Liberation Sans\""), std::string::npos) << m[0];
  EXPECT_FALSE(fs::exists(r.pdf()));
}

TEST(PrintPdf, PreviewPagesShowTextOverTheCellGrid) {
  PrintRun r;
  test::ScratchDir previews;
  r.fc.SetPreviewFolder((previews.path() / "pages").string());
  r.fc.SetPreviewGrid(true);
  r.fc.HereIsAMessage("6", "2//2");
  r.Write(FmtPages({{}, {F("MMMMMMMM", 1, 2)}}));
  ASSERT_EQ(r.Print(), 0);
  fs::path png = previews.path() / "pages" / "page-0002.png";  // named by form page
  ASSERT_TRUE(fs::exists(png));
  EXPECT_FALSE(fs::exists(previews.path() / "pages" / "page-0001.png"));

  cairo_surface_t* img = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(img), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(img), 850);
  EXPECT_EQ(cairo_image_surface_get_height(img), 1100);
  const unsigned char* px = cairo_image_surface_get_data(img);
  int stride = cairo_image_surface_get_stride(img);
  auto green = [&](int x, int y) { return px[y * stride + x * 4 + 1]; };
  EXPECT_EQ(green(15, 8), 255);                        // inside a cell: paper
  EXPECT_GT(green(10, 8), 150);                        // a column line: faint
  EXPECT_LT(green(10, 8), 255);
  int darkest = 255;                                   // the text: 1 in, line above 2 in
  for (int y = 185; y < 200; ++y)
    for (int x = 100; x < 165; ++x) darkest = std::min<int>(darkest, green(x, y));
  EXPECT_LT(darkest, 80);
  cairo_surface_destroy(img);
}

}  // namespace
}  // namespace ub04
