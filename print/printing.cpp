// ProcessFormattedRecords' printing run, InitializePrinter and PrintField.
#include "print/printing.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "base/file_lock.h"
#include "base/text_util.h"
#include "form/fmt_file.h"
#include "print/print_job.h"
#include "print/render_cairo.h"

namespace ub04 {

namespace {

// The font every form is laid out for.
constexpr const char* kFontName = "Courier New";
constexpr float kFontPoints = 10;
constexpr bool kFontBold = true;

// Positions beyond this many inches are on no paper, and the drawing
// library's fixed-point coordinates would wrap them back onto the page.
constexpr float kFarOffPaper = 1000;

bool OnAnyPaper(float v) { return std::isfinite(v) && std::fabs(v) <= kFarOffPaper; }

// Reads every line and prints the form pages in range, checking the file's
// shape as it goes: the lines checked are the lines drawn. In test-claims
// mode only the pages giTestClaims_Starting to giTestClaims_Ending are
// printed; every page is read, checked and counted (a range that selects
// none is told from a file that holds none). With a page filter, only the
// pages whose "C" line it keeps are printed; every page still counts.
// Returns "" or why the file is not one a run finished.
std::string PrintPages(Context& cx, PrintState& ps, FormattedFileReader& reader,
                       Printer& printer) {
  const bool ranged = ps.test_claims_mode;
  bool chosen = !ps.page_filter;  // the page's "C" line passed the page filter
  FileShape shape;
  FormattedLine line;
  while (reader.Next(line)) {
    if (std::string why = shape.Take(line.kind); !why.empty()) return why;
    // Pages out of the range are read, checked and counted, not printed.
    const bool skip = (ranged && (ps.test_claims_counted + 1 < ps.test_claims_starting ||
                                  ps.test_claims_counted >= ps.test_claims_ending)) ||
                      !chosen;
    printer.page_number = ps.test_claims_counted + 1;
    if (line.kind == "F") {
      if (!skip) PrintField(cx, ps, printer, line.text, line.x, line.y, CheckInt16(line.number));
    } else if (line.kind == "N") {
      if (!skip) printer.NewPage();
      ++ps.test_claims_counted;
      chosen = !ps.page_filter;  // a page without a "C" line is chosen by no filter
    } else if (line.kind == "C" && ps.page_filter) {
      chosen = ps.page_filter(line.number, line.text);
    }
  }
  if (std::string why = shape.End(); !why.empty()) return why;
  if (!reader.Unchanged()) return "it changed while it was printed";
  return "";
}

}  // namespace

std::string PdfPathFor(const std::string& fmt_file_path) {
  std::filesystem::path fmt(fmt_file_path);
  std::filesystem::path pdf = fmt;
  pdf.replace_extension(".pdf");
  if (pdf == fmt) pdf += ".pdf";  // a formatted-record file that is itself named *.pdf
  return pdf.string();
}

void SelectPrinter(PrintState& ps, const std::string& name) {
  std::string queue = FindPrintQueue(name);
  if (!queue.empty()) ps.current_printer = queue;
}

int16_t InitializePrinter(Context& cx, PrintState& ps, Printer& printer) {
  try {
    DeviceCaps caps = printer.Caps();
    if (caps.dpi_x == 0 || caps.dpi_y == 0) Raise(kErrDivisionByZero);
    ps.x_margin = caps.offset_x / caps.dpi_x;
    ps.y_margin = caps.offset_y / caps.dpi_y;
    ps.printer_initialised = true;
    return 0;
  } catch (const RtError& e) {
    cx.Queue(kError, ErrorMessage(cx.module_name, " InitializePrinter() Error:", e));
    return kFailed;
  }
}

int16_t PrintField(Context& cx, PrintState& ps, Printer& printer, const std::string& text,
                   float x, float y, int16_t align) {
  try {
    Guard([&] {
      if (!ps.printer_initialised) InitializePrinter(cx, ps, printer);
      float px = printer.current_x, py = printer.current_y;
      bool placed = true;
      switch (align) {
        case 0:
          px = x - ps.x_margin;
          break;
        case 1:
          px = x - printer.TextWidth(text) - ps.x_margin;
          break;
        case 2:
          px = printer.ScaleWidth() / 2 - printer.TextWidth(text) / 2;
          break;
        default:
          placed = false;  // the printer's current position
      }
      if (placed) py = y - ps.y_margin - printer.TextHeight(text);
      px += ps.printer_x_offset;
      py += ps.printer_y_offset;
      if (!OnAnyPaper(px) || !OnAnyPaper(py)) Raise(kErrOverflow);
      printer.current_x = px;
      printer.current_y = py;
      printer.Print(text);
    });
    return 0;
  } catch (const DeviceFailure&) {
    throw;
  } catch (const RtError& e) {
    cx.Queue(kError, ErrorMessage(cx.module_name, "  PrintField() Error: ", e));
    cx.Queue(kError, "  Other Info:  X = " + PositionItem(x) + ", Y = " + PositionItem(y) +
                             "  Text = " + ClipForMessage(text));
    return kFailed;
  }
}

int16_t PrintFormattedRecords(Context& cx, PrintState& ps, const std::string& fmt_file_path,
                              unsigned perms, const OutFile::FileId& written, bool pdf_locked) {
  ps.test_claims_counted = 0;
  ps.pages_printed = 0;
  ps.job_sent = false;
  const std::string pdf_path = ps.pdf_path.empty() ? PdfPathFor(fmt_file_path) : ps.pdf_path;
  const std::string title = std::filesystem::path(fmt_file_path).filename().string();
  // A file being written is never read: printing shares the writer's lock.
  // The PDF and the previews have one writer at a time: this printing.
  FileLock fmt_lock, pdf_lock, preview_lock;
  struct Need {
    const std::string& output;
    FileLock& lock;
    bool exclusive, wanted;
  } needs[] = {{fmt_file_path, fmt_lock, false, true},
               {pdf_path, pdf_lock, true, !pdf_locked},
               {ps.preview_dir, preview_lock, true, !ps.preview_dir.empty()}};
  for (const Need& n : needs) {
    if (!n.wanted) continue;
    const std::string lock_path = LockPathFor(n.output);
    if (&n.lock == &preview_lock) {
      try {
        MakeOutputDir(ps.preview_dir, perms);  // its lock sits beside it
      } catch (const RtError& e) {
        cx.Say(kError, " ProcessFormattedRecords()  Error: ", "the preview folder " +
                        ps.preview_dir + " cannot be made (" + e.description() +
                        "); nothing was printed");
        return kReported;
      }
    }
    std::string holder;
    try {
      if (n.lock.TryLock(lock_path, n.exclusive, perms, holder)) continue;
      cx.Say(kError, " ProcessFormattedRecords()  Error: ", std::string(n.output) +
                      " is being written by " + holder + "; nothing was printed");
      return kReported;
    } catch (const RtError& e) {
      // A folder where no lock can be made has no run writing in it: the
      // formatted-record file there may be read. Anything else at a lock's
      // name is refused.
      std::error_code ec;
      if (&n.lock == &fmt_lock && e.number() == kErrPermissionDenied &&
          !std::filesystem::exists(std::filesystem::symlink_status(lock_path, ec)))
        continue;
      cx.Say(kError, " ProcessFormattedRecords()  Error: ", "the lock " + lock_path +
                      " cannot be taken (" + e.description() + "); nothing was printed");
      return kReported;
    }
  }
  const bool must_match = !(written == OutFile::FileId{});
  // The PDF of an earlier run must not pass for this run's pages. A link
  // at its name is not ours to remove (nor to write through).
  auto drop_earlier_pdf = [&] {
    std::error_code ignored;
    if (std::filesystem::symlink_status(pdf_path, ignored).type() ==
        std::filesystem::file_type::regular)
      std::filesystem::remove(pdf_path, ignored);
  };
  std::string incomplete;
  bool not_ours = false;
  try {
    Guard([&] {
      // The file is read once: what is checked is what is drawn, and the
      // PDF takes its name only once the last line has been checked.
      FormattedFileReader reader;
      reader.Open(fmt_file_path);
      if (must_match && !(reader.id() == written)) {
        not_ours = true;
        return;
      }
      std::unique_ptr<PageRenderer> pdf = MakePdfRenderer(pdf_path, title, perms);
      std::unique_ptr<PageRenderer> preview;
      std::vector<PageRenderer*> devices = {pdf.get()};
      if (!ps.preview_dir.empty()) {
        preview = MakePreviewRenderer(ps.preview_dir, perms, ps.preview_grid);
        devices.push_back(preview.get());
      }
      TeeRenderer all(std::move(devices));
      Printer printer(all);

      InitializePrinter(cx, ps, printer);
      // The form moves with the text, so that the text stays in its boxes.
      all.SetForm(ps.form_ink, ps.printer_x_offset - ps.x_margin,
                  ps.printer_y_offset - ps.y_margin);
      printer.SetFont(kFontName, kFontPoints, kFontBold);
      incomplete = PrintPages(cx, ps, reader, printer);
      if (!incomplete.empty()) return;  // the unfinished PDF is dropped
      reader.Close();
      // A range that selects none of the file's pages prints nothing and
      // leaves the earlier PDF alone.
      if (ps.test_claims_mode && printer.pages() == 0 && ps.test_claims_counted > 0) return;
      drop_earlier_pdf();
      printer.EndDoc();
      ps.pages_printed = printer.pages();
    });
  } catch (const RtError& e) {
    drop_earlier_pdf();
    if (e.number() == kErrFileNotFound)
      cx.Queue(kError, "ProcessFormattedRecords()  File Not Found: ");
    else
      cx.Queue(kError, ErrorMessage("", "ProcessFormattedRecords()  Error: ", e));
    cx.Queue(kError, "File: " + fmt_file_path);
    return kReported;
  }
  if (not_ours) {
    cx.Say(kError, " ProcessFormattedRecords()  Error: ", std::string(fmt_file_path) +
                    " is not the formatted-record file this run wrote (it was replaced or "
                    "removed); nothing was printed");
    return kReported;
  }
  if (ps.test_claims_mode && ps.pages_printed == 0 && ps.test_claims_counted > 0) {
    cx.Say(kError, " ProcessFormattedRecords()  Error: ", "the test-claim range " +
                    PlainNum(ps.test_claims_starting) + " to " + PlainNum(ps.test_claims_ending) +
                    " selects no page of " + fmt_file_path + ", which holds " +
                    PlainNum(ps.test_claims_counted) + " page(s); nothing was printed");
    return kReported;
  }
  if (!incomplete.empty()) {
    // A file some run did not finish, or one changed while it was read, is
    // never printed: no PDF, no job.
    drop_earlier_pdf();
    cx.Say(kError, " ProcessFormattedRecords()  Error: ", "incomplete formatted-record file: " +
                fmt_file_path + ": " + incomplete +
                "; nothing was printed");
    return kReported;
  }

  if (ps.pages_printed > 0 && !ps.current_printer.empty()) {
    std::string why = SubmitPdfJob(ps.current_printer, pdf_path, title);
    ps.job_sent = why.empty();
    if (!why.empty())
      cx.Queue(kError, "ProcessFormattedRecords()  Printer \"" + ps.current_printer +
                               "\" did not take the job for " + pdf_path + ": " + why);
  }
  return cx.queue.Empty() ? kDone : kReported;
}

}  // namespace ub04
