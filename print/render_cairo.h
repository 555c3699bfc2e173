// Cairo renderers: the PDF document printing produces and the PNG previews
// of its pages.
//
// Both draw US Letter paper (8.5 x 11 in) with no unprintable border, in
// the font print/fonts.h resolves.
#pragma once

#include <memory>
#include <string>

#include "print/render.h"

namespace ub04 {

// Every file is written under a temporary name beside its own ("NAME.tmpXXXXXX",
// created with O_EXCL) and renamed over the final name once complete; it is
// made with perms (kOwnerOnly or kGroupReadable, host/text_file.h) whatever
// the umask. A symbolic link at a final name is refused (DeviceFailure, its
// text naming the path) and its target left untouched. Every write and close
// is checked.

// The PDF at path, one PDF page per page, with the form drawn under the text
// when SetForm asks for it; the file is created when the first
// page begins, so a document without pages leaves nothing on disk. title goes
// into the document's metadata. A link at path is refused at once. A
// finished file asks viewers to print it at actual size (pdf_actual_size.h).
std::unique_ptr<PageRenderer> MakePdfRenderer(const std::string& path, const std::string& title,
                                              unsigned perms);

// One PNG per page at 100 dots per inch in dir (created when missing, open
// to the owner only, or to the group too for kGroupReadable), named
// "page-0001.png" by the page's form page number. The form is always drawn
// faintly under the text, with its box numbers (in the ink SetForm chose,
// red when none); with grid, also the form's character cells (1/10 in by
// 1/6 in).
std::unique_ptr<PageRenderer> MakePreviewRenderer(const std::string& dir, unsigned perms,
                                                  bool grid = false);

// Writes the calibration page (render_form.h) as a one-page PDF at path, its
// marks shifted by (dx, dy) inches, like the PDF of a printing run: under a
// temporary name, with perms, never through a link. Raises DeviceFailure.
void WriteCalibrationPage(const std::string& path, unsigned perms, float dx, float dy);

}  // namespace ub04
