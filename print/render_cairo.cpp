#include "print/render_cairo.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "base/text_file.h"
#include "print/fonts.h"
#include "print/pdf_actual_size.h"
#include "print/render_form.h"

namespace ub04 {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kPaperWidth = 8.5, kPaperHeight = 11;  // inches
constexpr double kPreviewDpi = 100;

// Text in one font on a cairo surface whose user units are points.
class CairoRenderer : public PageRenderer {
 public:
  void SetForm(FormInk ink, float dx, float dy) override {
    form_ink_ = ink;
    form_dx_ = dx;
    form_dy_ = dy;
  }

  void SetFont(const std::string& name, float points, bool bold) override {
    ShowPendingText();  // drawn in the font it was placed in
    font_.Select(name, points, bold);
    if (cr_) font_.Apply(cr_.get());
  }

  float TextWidth(std::string_view text) override {
    RequireFont();
    return static_cast<float>(font_.Advance(text) / kPointsPerInch);
  }

  float TextHeight(std::string_view) override {
    RequireFont();
    return static_cast<float>(font_.height() / kPointsPerInch);
  }

  // The text is placed at once and drawn with the rest of its page's text
  // (ShowPendingText): one drawing operation a page instead of one a text,
  // which is what a document's size and its writing time depend on.
  void DrawText(float x, float y, std::string_view text) override {
    RequireFont();
    if (!cr_) Raise(kErrPrinter, "Printer error: no page begun");
    PlaceText(x * kPointsPerInch, y * kPointsPerInch + font_.ascent(), text);
  }

 protected:
  // Draws on surface (not owned) with scale device units per point.
  void Attach(cairo_surface_t* surface, double scale) {
    surface_ = surface;
    DropPendingText();
    cr_.reset(cairo_create(surface));
    if (cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) {
      CheckSurface("starting a page");
      throw DeviceFailure(kErrPrinter, "Printer error: " + StatusText(cairo_status(cr_.get())));
    }
    cairo_scale(cr_.get(), scale, scale);
    cairo_set_source_rgb(cr_.get(), 0, 0, 0);
    if (font_.selected()) font_.Apply(cr_.get());
  }

  void Detach() {
    DropPendingText();
    cr_.reset();
    surface_ = nullptr;
  }

  // Raises DeviceFailure when the surface can no longer be written.
  void CheckSurface(const char* doing) const {
    cairo_status_t st = surface_ ? cairo_surface_status(surface_) : CAIRO_STATUS_SUCCESS;
    if (st != CAIRO_STATUS_SUCCESS) Fail(doing, st);
  }

  [[noreturn]] void Fail(const char* doing, cairo_status_t st) const {
    throw DeviceFailure(kErrPrinter, "Printer error: " + std::string(doing) + " " + Where() +
                                         ": " + StatusText(st));
  }

  // The file named in failures.
  virtual std::string Where() const = 0;

  cairo_t* cr() const { return cr_.get(); }

  // The form under the page just begun: faint for the screen, or as asked.
  void DrawFormUnder(bool faint) {
    if (!cr_) return;
    if (!faint && form_ink_ == FormInk::kNone) return;
    DrawForm(cr_.get(), form_ink_, faint, form_dx_, form_dy_);
    CheckSurface("drawing the form on");
  }

  // Draws the text placed since the last call, in the order it was placed,
  // as one operation; a page calls it before it ends. A failed drawing ends
  // the document (DeviceFailure).
  void ShowPendingText() {
    cairo_t* c = cr_.get();
    if (glyphs_.empty() || !c) return;
    const int n = static_cast<int>(glyphs_.size());
    if (cairo_status(c) == CAIRO_STATUS_SUCCESS) {
      if (cairo_surface_has_show_text_glyphs(cairo_get_target(c)))
        cairo_show_text_glyphs(c, utf8_.data(), static_cast<int>(utf8_.size()), glyphs_.data(),
                               n, clusters_.data(), n, cairo_text_cluster_flags_t{});
      else
        cairo_show_glyphs(c, glyphs_.data(), n);
    }
    DropPendingText();
    const cairo_status_t st = cairo_status(c);
    if (st == CAIRO_STATUS_SUCCESS) return;
    CheckSurface("drawing on");
    Fail("drawing on", st);
  }

 private:
  FormInk form_ink_ = FormInk::kNone;
  float form_dx_ = 0, form_dy_ = 0;

  void RequireFont() const {
    if (!font_.selected()) Raise(kErrPrinter, "Printer error: no font selected");
  }

  // What cairo_show_text would draw with (x, y) as the current point (user
  // space, points), with the glyphs from the table: the same glyphs at the
  // same positions, and for a document that keeps the text (PDF) the same
  // UTF-8 with one cluster per glyph. Added to the page's pending text.
  void PlaceText(double x, double y, std::string_view text) {
    if (text.empty()) return;
    draw_glyphs_.Use(cairo_get_scaled_font(cr_.get()));
    for (unsigned char b : text) {
      const GlyphTable::Entry& e = draw_glyphs_.Get(b);
      glyphs_.push_back({e.index, x, y});
      x += e.x_advance;
      y += e.y_advance;
      utf8_.append(e.utf8, e.utf8_len);
      clusters_.push_back({e.utf8_len, 1});
    }
  }

  void DropPendingText() {
    glyphs_.clear();
    clusters_.clear();
    utf8_.clear();
  }

  CairoFont font_;
  GlyphTable draw_glyphs_;  // of the context's font, for drawing
  // The page's text placed and not yet drawn; kept from page to page, so
  // drawing allocates only for a page with more text.
  std::vector<cairo_glyph_t> glyphs_;
  std::vector<cairo_text_cluster_t> clusters_;
  std::string utf8_;
  Owned<cairo_t> cr_;
  cairo_surface_t* surface_ = nullptr;
};

// cairo's write callback: every byte goes to the temporary file; the first
// failure is kept for the message and fails every later write.
struct StreamSink {
  OutFile* file = nullptr;
  int error_number = 0;
  std::string error;
  uint64_t written = 0;

  static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length) {
    auto* sink = static_cast<StreamSink*>(closure);
    if (sink->error_number != 0 || sink->file == nullptr) return CAIRO_STATUS_WRITE_ERROR;
    try {
      sink->file->Write(std::string_view(reinterpret_cast<const char*>(data), length));
      sink->written += length;
      return CAIRO_STATUS_SUCCESS;
    } catch (const RtError& e) {
      sink->error_number = e.number();
      sink->error = e.description();
      return CAIRO_STATUS_WRITE_ERROR;
    }
  }
};

// Runs file work (making, writing, committing a file) and turns its failure
// into the printer error that ends the printing, naming the file.
template <class F>
void AsDeviceWork(const std::string& path, F&& work) {
  try {
    work();
  } catch (const DeviceFailure&) {
    throw;
  } catch (const RtError& e) {
    std::string_view why = e.description();
    if (why.substr(0, path.size()) == path) {
      why.remove_prefix(path.size());
      while (!why.empty() && (why.front() == ':' || why.front() == ' ')) why.remove_prefix(1);
    }
    throw DeviceFailure(kErrPrinter,
                        "Printer error: cannot write " + path + ": " + std::string(why));
  }
}

class PdfRenderer : public CairoRenderer {
 public:
  PdfRenderer(std::string path, std::string title, unsigned perms)
      : path_(std::move(path)), title_(std::move(title)), perms_(perms) {
    // Refused before an earlier run's document is cleared away.
    AsDeviceWork(path_, [&] { RefuseLinkAt(path_); });
  }

  ~PdfRenderer() override {
    // A document that did not reach EndDocument is dropped: only a whole
    // printing, checked to its last line, takes the PDF's name. The surface
    // goes before the temporary file it writes into, which then goes too.
    Detach();
    pdf_.reset();
  }

  DeviceCaps Caps() const override {
    return {static_cast<float>(kPointsPerInch), static_cast<float>(kPointsPerInch), 0, 0,
            static_cast<float>(kPaperWidth)};
  }

  void BeginPage(int32_t) override {
    if (!pdf_) {
      // Written under a temporary name beside the final one, which it takes
      // only once complete.
      AsDeviceWork(path_, [&] {
        file_ = std::make_unique<OutFile>();
        file_->OpenBeside(path_, perms_);
      });
      sink_ = StreamSink{file_.get(), 0, {}};
      pdf_.reset(cairo_pdf_surface_create_for_stream(StreamSink::Write, &sink_,
                                                     kPaperWidth * kPointsPerInch,
                                                     kPaperHeight * kPointsPerInch));
      cairo_status_t st = cairo_surface_status(pdf_.get());
      if (st != CAIRO_STATUS_SUCCESS) Fail("cannot write", st);
      cairo_pdf_surface_set_metadata(pdf_.get(), CAIRO_PDF_METADATA_TITLE, title_.c_str());
      cairo_pdf_surface_set_metadata(pdf_.get(), CAIRO_PDF_METADATA_CREATOR,
                                     "QVR_UB04PPA_Format");
    }
    if (!cr()) Attach(pdf_.get(), 1);
    DrawFormUnder(false);  // on every page: the context outlives each page
  }

  // Draws with draw on the page begun (the calibration page).
  template <class F>
  void DrawOnPage(F&& draw) {
    draw(cr());
    CheckSurface("drawing on");
  }

  void EndPage() override {
    if (!cr()) return;
    ShowPendingText();
    cairo_show_page(cr());
    CheckWrites();
    CheckSurface("writing");
    if (cairo_status(cr()) != CAIRO_STATUS_SUCCESS) Fail("writing", cairo_status(cr()));
  }

  void EndDocument() override {
    if (!pdf_) return;
    Detach();
    cairo_surface_finish(pdf_.get());
    cairo_status_t st = cairo_surface_status(pdf_.get());
    pdf_.reset();
    CheckWrites();
    if (st != CAIRO_STATUS_SUCCESS) Fail("writing", st);
    AsDeviceWork(path_, [&] { Commit(); });
    file_.reset();
  }

 private:
  std::string Where() const override { return path_; }

  // Gives the document its name. A file (not a device written directly)
  // first asks viewers to print it at actual size.
  void Commit() {
    if (file_->path() != path_) AskForActualSize(*file_, sink_.written);
    file_->Commit();
  }

  // A write the file refused ends the document with the file's own reason.
  void CheckWrites() const {
    if (sink_.error_number != 0)
      throw DeviceFailure(kErrPrinter, "Printer error: writing " + sink_.error);
  }

  std::string path_, title_;
  unsigned perms_;
  // Declared before the surface, which writes into them until it is gone.
  std::unique_ptr<OutFile> file_;
  StreamSink sink_;
  Owned<cairo_surface_t> pdf_;
};

class PreviewRenderer : public CairoRenderer {
 public:
  PreviewRenderer(std::string dir, unsigned perms, bool grid)
      : dir_(std::move(dir)), perms_(perms), grid_(grid) {}
  ~PreviewRenderer() override { Detach(); }

  DeviceCaps Caps() const override {
    return {static_cast<float>(kPreviewDpi), static_cast<float>(kPreviewDpi), 0, 0,
            static_cast<float>(kPaperWidth)};
  }

  void BeginPage(int32_t page_number) override {
    char name[32];
    std::snprintf(name, sizeof name, "page-%04d.png", static_cast<int>(page_number));
    file_ = (std::filesystem::path(dir_) / name).string();
    image_.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                            static_cast<int>(kPaperWidth * kPreviewDpi),
                                            static_cast<int>(kPaperHeight * kPreviewDpi)));
    cairo_status_t st = cairo_surface_status(image_.get());
    if (st != CAIRO_STATUS_SUCCESS) Fail("cannot draw", st);
    Attach(image_.get(), kPreviewDpi / kPointsPerInch);
    PaintPaper();
    DrawFormUnder(true);
  }

  void EndPage() override {
    if (!image_) return;
    ShowPendingText();
    Detach();
    cairo_surface_flush(image_.get());
    Owned<cairo_surface_t> image = std::move(image_);
    AsDeviceWork(file_, [&] {
      MakeOutputDir(dir_, perms_);
      OutFile png;
      png.OpenBeside(file_, perms_);
      StreamSink sink{&png, 0, {}};
      cairo_status_t st = cairo_surface_write_to_png_stream(image.get(), StreamSink::Write, &sink);
      if (sink.error_number != 0) Raise(sink.error_number, sink.error);
      if (st != CAIRO_STATUS_SUCCESS) Fail("cannot write", st);
      png.Commit();
    });
  }

  void EndDocument() override {}

 private:
  std::string Where() const override { return file_; }

  // White paper, with the grid: the character cells of the form, 1/10 in
  // columns and 1/6 in rows, every inch a little darker.
  void PaintPaper() {
    cairo_t* c = cr();
    cairo_save(c);
    cairo_identity_matrix(c);
    cairo_set_source_rgb(c, 1, 1, 1);
    cairo_paint(c);
    if (!grid_) {
      cairo_restore(c);
      return;
    }
    cairo_set_line_width(c, 1);
    const double w = kPaperWidth * kPreviewDpi, h = kPaperHeight * kPreviewDpi;
    auto line = [&](double x0, double y0, double x1, double y1, bool inch) {
      double g = inch ? 0.78 : 0.90;
      cairo_set_source_rgb(c, g, g, 1.0);
      cairo_move_to(c, x0, y0);
      cairo_line_to(c, x1, y1);
      cairo_stroke(c);
    };
    for (int col = 0; col <= 85; ++col) {
      double x = static_cast<int>(col * kPreviewDpi / 10) + 0.5;
      line(x, 0, x, h, col % 10 == 0);
    }
    for (int row = 0; row <= 66; ++row) {
      double y = static_cast<int>(row * kPreviewDpi / 6 + 0.5) + 0.5;
      line(0, y, w, y, row % 6 == 0);
    }
    cairo_restore(c);
  }

  std::string dir_, file_;
  unsigned perms_;
  bool grid_;
  Owned<cairo_surface_t> image_;
};

}  // namespace

std::unique_ptr<PageRenderer> MakePdfRenderer(const std::string& path, const std::string& title,
                                              unsigned perms) {
  return std::make_unique<PdfRenderer>(path, title, perms);
}

std::unique_ptr<PageRenderer> MakePreviewRenderer(const std::string& dir, unsigned perms,
                                                  bool grid) {
  return std::make_unique<PreviewRenderer>(dir, perms, grid);
}

void WriteCalibrationPage(const std::string& path, unsigned perms, float dx, float dy) {
  PdfRenderer pdf(path, "calibration", perms);
  pdf.BeginPage(1);
  pdf.DrawOnPage([&](cairo_t* cr) { DrawCalibration(cr, dx, dy); });
  pdf.EndPage();
  pdf.EndDocument();
}

}  // namespace ub04
