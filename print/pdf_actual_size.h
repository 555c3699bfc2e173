// Asking PDF viewers to print a finished PDF at actual size.
//
// Viewers scale a page "to fit" the printer's printable area unless the
// document's catalog asks otherwise, and that moves every field of a claim
// printed on pre-printed forms. cairo has no call for the request, so it is
// added to the finished file as an incremental update appended to it: the
// catalog object again, with /ViewerPreferences << /PrintScaling /None >>,
// a cross-reference section naming it and a trailer pointing back (/Prev)
// at the file's own. The bytes cairo wrote stay as they are.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/text_file.h"

namespace ub04 {

// Reads up to count bytes at offset of the PDF; shorter only at its end.
using PdfReader = std::function<std::string(uint64_t offset, size_t count)>;

// The bytes to append to the PDF of size bytes that read reads: "" when its
// catalog already has viewer preferences. nullopt when the file does not
// end the way this reads (a cross-reference table and a trailer, the
// catalog an object of its own), which leaves it to be printed as it is.
std::optional<std::string> ActualSizeUpdate(const PdfReader& read, uint64_t size);

// Appends ActualSizeUpdate to the PDF being written into file, a temporary
// file that already holds all size bytes of it (flushed here first). Raises
// RtError when the file cannot be read back or is not size bytes long.
void AskForActualSize(OutFile& file, uint64_t size);

}  // namespace ub04
