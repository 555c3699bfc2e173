// What the formatted-record file says about each claim, read back after the
// batch: its pages, the parts of its "C" index text, its line-23 total and its
// service lines. Serves the page count that test-claim ranges are checked
// against, and the manifest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ub04fmt {

struct ClaimMessage {
  int severity = 0;  // 2 warning, 3 error
  std::string text;
};

struct ClaimRow {
  int32_t sequence = 0;     // the "C" line's number
  int first_page = 0;       // form pages, counted from 1 in file order
  int last_page = 0;
  std::string patient;      // index text columns 1-40, trimmed
  std::string bprovider;    // 41-50
  std::string insurance;    // 51-60
  std::string payer_sequence;  // 61
  long long charges_cents = 0;  // box 47 of line 23, summed over the claim's pages
  int service_lines = 0;
  std::vector<ClaimMessage> messages;
};

struct FormattedSummary {
  int pages = 0;  // "N" lines
  std::vector<ClaimRow> claims;
};

// Reads the formatted-record file at path. claims is filled only when
// want_claims. Returns nullopt with why set when the file cannot be read.
std::optional<FormattedSummary> ReadFormatted(const std::string& path, bool want_claims,
                                              std::string& why);

// Writes the claims as CSV with a header, or as JSON Lines when path ends in
// ".jsonl", through a temporary file renamed into place, owner-only (0600).
// The PDF holds form pages pdf_from to pdf_to as its pages 1, 2, ...; a claim
// outside that range has no PDF pages (empty fields, null in JSON). Returns
// "" or why it failed; on failure an earlier manifest at path is untouched.
std::string WriteManifest(const std::string& path, const std::vector<ClaimRow>& claims,
                          int pdf_from, int pdf_to);

}  // namespace ub04fmt
