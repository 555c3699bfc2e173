// Printing of the formatted-record file.
//
// Every printing run reads the formatted-record file from the start and
// draws each "F" text of the form pages in range (host message "6") on the
// current printer, in Courier New 10 pt bold; each "N" line ends a page. The
// pages become a PDF beside the formatted-record file (claims.fmt ->
// claims.pdf), US Letter, one PDF page per form page; with a print queue
// selected by host message "7" the finished PDF is then sent to it as one
// job. A run that prints no page leaves no PDF and sends no job.
//
// With a form ink chosen (host message "PRINTFORM"), the UB-04 form itself
// (form_layout.h) is drawn under the text of every page; the text is where
// it would be without it. A page filter (reprints) prints only the pages
// whose "C" line it keeps, into the PrintState's pdf_path when one is set.
#pragma once

#include <cstdint>
#include <string>

#include "base/context.h"
#include "print/print_state.h"
#include "print/printer.h"

namespace ub04 {

// Host message "7": makes the first installed printer whose name equals
// name exactly the current printer; otherwise the current printer stays.
void SelectPrinter(PrintState& ps, const std::string& name);

// Reads the formatted-record file once and prints it page by page (the work
// of ProcessFormattedRecords after its file-name check and DeleteLog).
// perms are the permissions of the PDF and the preview files. A file a run
// is writing is not read (printing shares the writer's lock); the PDF and
// the preview folder are written under their own locks (pdf_locked: the
// caller holds the PDF's already), so no two runs write them at once. A
// file that some run did not finish (see FileShape), or one changed while
// it is read, prints nothing; so does one that is not the file written
// identifies, unless written is {0, 0} (a run that wrote nothing prints
// what is there). Returns 0, or 1 when a message was queued.
int16_t PrintFormattedRecords(Context& cx, PrintState& ps, const std::string& fmt_file_path,
                              unsigned perms, const OutFile::FileId& written,
                              bool pdf_locked = false);

// Margins from the device's unprintable offsets; sets the initialised flag.
// Returns 0, or 3 after queueing its error.
int16_t InitializePrinter(Context& cx, PrintState& ps, Printer& printer);

// Prints one text at its form position (inches) and alignment: 0 starts at
// x, 1 ends at x, 2 is centred on the page width; any other value prints at
// the printer's current position. Offsets are added and margins subtracted;
// y is the lower edge of the text line. Returns 0, or 3 after queueing its
// error (the run goes on). A DeviceFailure passes through.
int16_t PrintField(Context& cx, PrintState& ps, Printer& printer, const std::string& text,
                   float x, float y, int16_t align);

// The PDF a formatted-record file prints to: same folder and name, extension
// ".pdf" (never the formatted-record file itself).
std::string PdfPathFor(const std::string& fmt_file_path);

}  // namespace ub04
