// The manifest: one row per claim of the run, built from the claim records
// the component hands over as it decides each claim, written as the run
// goes (so a batch of any length costs the same memory) and put in place in
// one step at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/runtime.h"
#include "claim/claim_record.h"
#include "cli/atomic_file.h"

namespace ub04fmt {

struct ClaimMessage {
  int severity = 0;  // 2 warning, 3 error
  std::string text;
};

// One claim as the manifest lists it.
struct ClaimRow {
  std::vector<int32_t> sequences;  // its pages' sequence numbers ("C" lines)
  int first_page = 0;              // its pages in the formatted-record file, from 1
  int last_page = 0;
  std::string patient, bprovider, insurance, payer_sequence;  // its index text
  ub04::Currency total_charges;
  int service_lines = 0;
  std::string fate;   // "written", "held" or "refused"
  int findings = 0;   // what the checks found about it
  std::string held;   // a held claim's reasons ("FL56 NPI-CHECK-DIGIT, ..."), else ""
  std::vector<ClaimMessage> messages;

  // The row of a claim whose first page is page first_page of the
  // formatted-record file (0: it is not in that file).
  static ClaimRow Of(const ub04::ClaimRecord& claim, int first_page);
};

class ManifestWriter {
 public:
  ManifestWriter() = default;
  ~ManifestWriter();  // an uncommitted manifest leaves nothing behind
  ManifestWriter(const ManifestWriter&) = delete;
  ManifestWriter& operator=(const ManifestWriter&) = delete;

  // Starts the manifest at path: CSV with a header, or JSON Lines when path
  // ends in ".jsonl", under a temporary name beside it, owner-only (0600).
  // The PDF holds form pages pdf_from to pdf_to as its pages 1, 2, ...; a
  // claim outside that range has no PDF pages (empty fields, null in JSON).
  // Returns "" or why it cannot be written.
  std::string Open(const std::string& path, int pdf_from, int pdf_to);
  void Add(const ClaimRow& row);
  // Forgets the rows added so far (their claims went into no file).
  void Clear();
  // On the disk and renamed over path. Returns "" or why not (the
  // temporary is then gone and an earlier manifest at path untouched).
  std::string Commit();
  bool is_open() const { return file_.is_open(); }

 private:
  AtomicFile file_;
  bool jsonl_ = false;
  int pdf_from_ = 1, pdf_to_ = 0;
};

// The error findings that hold a claim, "FL56 NPI-CHECK-DIGIT, FL64 ...".
std::string HeldReasons(const ub04::ClaimRecord& claim);

}  // namespace ub04fmt
