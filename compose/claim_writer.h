// Composes the claim built so far: per form page a "C" line, the boxes, up
// to 22 service lines and the totals, then an "N" line.
//
// WriteClaim lays out the claim held in the claim tables and the Last copies
// into out (its formatted-record lines and its record), then empties the
// detail lines and the diagnosis table, also when composing failed, so the
// next claim never inherits this one's lines. It returns 0, or 3 after a
// failure (queued with severity 3; out holds what was composed before it).
// The claim's pages take the sequence numbers after env.pages_written.
#pragma once

#include <cstdint>

#include "claim/claim_tables.h"
#include "compose/page.h"

namespace ub04 {

int16_t WriteClaim(FormEnv& env, ClaimTables& tables, ComposedClaim& out);

// The pieces of a page, for the claim writer and its tests.

// The "C" line: 61-character index text (patient name, billing provider,
// insurance, payer sequence) and the page's sequence number, the next after
// the pages written and composed so far. 0, or 3 when the counter is full.
int16_t WriteClaimHeader(const Page& page);
// Boxes 42 to 47: service line iIndex (1-based detail entry) on row nLineNr
// (1 to 22) of the page; returns the rows used, always 1.
int16_t WriteDetailLine(Page& page, int16_t iIndex, int16_t nLineNr);
// The Y of service-line row 1 to 22; 0 for any other row.
float GetYForDetail(const Page& page, int16_t nLineNr);
// Line 23, the payer-line amounts (boxes 54, 55), value codes A1 and A2,
// the patient status (box 17); ends by clearing the claim members.
void WriteTotals(Page& page);

}  // namespace ub04
