// The boxes of a UB-04 page other than the service lines and line 23.
//
// Where each box (form locator) is written; every writer is named by its
// box (Box56BillingProviderNpi, Boxes58To62BilledInsured) and prints at the
// pos::kBoxNN... positions of form_positions.h:
//
//   boxes_upper.cpp   boxes 1 to 16, 18 to 29, 31 to 34, 38, 39 to 41
//   boxes_lower.cpp   boxes 50 to 53, 56 to 81
//   claim_writer.cpp  boxes 42 to 47 (service lines 1 to 22, WriteDetailLine)
//   page_totals.cpp   line 23 (totals), boxes 54 and 55, value codes A1 and
//                     A2 (boxes 39 to 41), box 17 (patient status)
//   boxes.cpp         the slots of boxes 31 to 34 and 39 to 41, shared helpers
//
// WriteAllPageButDetail writes boxes 1 to 41 and then 50 to 81, in form
// order. A run-time error in any box abandons the page's remaining boxes:
// the error is queued (severity 3) and shown, the claim is marked as not
// composed correctly (the host refuses it), and the result is still 0.
//
// The small routines below are shared by the boxes and the claim writer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compose/page.h"
#include "base/runtime.h"

namespace ub04 {

int16_t WriteAllPageButDetail(Page& page);
void WriteBoxes01To41(Page& page);  // boxes_upper.cpp
void WriteBoxes50To81(Page& page);  // boxes_lower.cpp

// CCYYMMDD or MMDDCCYY -> MMDDYY; a text shorter than 8 comes back as is.
// "20170315" and "03152017" both give "031517".
std::string FormatDateMMDDYY(std::string_view date);

// Occurrence code and date in slot 1 to 4 (boxes 31 to 34); a fifth and
// later occurrence is dropped.
void WriteOccurrenceCode(const Page& page, int index, std::string_view code, std::string_view date);
// Value code and amount in slot 1 to 12 (boxes 39 to 41, three per row);
// other slots write nothing.
void WriteValueCode(const Page& page, int index, std::string_view code, std::string_view amount);

// True when the array has no elements.
bool IsArrayEmpty(const Tokens& array);

// Relationship of the insured (box 59): SLF 18, HUS/WIF 01, DAU/SON 19,
// FTH 33, MTH 32, anything else 21.
std::string MapRelationshipCode(std::string_view relationship);

// How many characters of text go on a line of width characters without
// cutting a word: the whole text when shorter; else width, unless the cut
// would fall inside a word, then up to the last space of the line (width
// when the line has none).
int16_t GetWrapLength(std::string_view text, int width);

// "CITY, ST  12345", with "-" and the ZIP+4 part when characters 6 to 9 of
// the ZIP are not blank (boxes 38 and 80).
std::string CityStateZipLine(const std::string& city, const std::string& state,
                             const std::string& zip);

// Reports a run-time error that a writer traps: the composed text becomes
// gsErrorMsg, is queued with severity 3 and shown in a message box. what is
// the writer's part of the text (" WriteTotals() "). The claim is marked as
// one that could not be composed correctly.
void ReportWriterError(const Page& page, std::string_view what, const RtError& e);

}  // namespace ub04
