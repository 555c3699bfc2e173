// One claim being written, page by page: what every box reads.
//
// A claim is written when the next charge has already begun, so the page
// reads only the Last copies of the claim state (the claim's last charge
// and its companions, the latest top records) and the claim tables (detail
// lines, claim members, diagnosis table); never the This copies. The claim
// members and the detail lines' revenue codes are the only things a page
// changes.
//
// A claim is composed into memory, never straight into a file: Put appends
// one formatted-record line to the claim's own lines, and each box also
// sets what it shows in the claim's record. The host then decides where the
// whole claim goes.
//
// The host hands the writer a FormEnv: the run's context, the claim state,
// the reference lookups and the sequence number the claim's first page
// takes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/context.h"
#include "claim/claim_env.h"
#include "claim/claim_record.h"
#include "claim/claim_state.h"
#include "claim/claim_tables.h"
#include "claim/ext_data.h"
#include "records/layouts.h"
#include "refdata/refdata.h"

namespace ub04 {

struct FormEnv {
  Context& cx;
  ClaimState& cs;
  RefData& ref;
  // The "C" lines written so far (the claims counter): the claim's first
  // page takes the next sequence number.
  int32_t pages_written = 0;
  // A claim of more service lines than a page holds goes on as many pages
  // as it needs (host message "MULTIPAGE"): the "C" lines then carry the
  // page's number in the claim and the claim's page count.
  bool multipage = false;
  // The claim checks report every finding of the claim once it is decided
  // (host message "CHECKS"): a warning is then kept in the record and
  // logged, not queued.
  bool findings_reported_later = false;

  ClaimEnv claim() { return ClaimEnv{cx, cs, ref}; }
};

// A claim composed: its formatted-record lines ("C" to "N" of every page)
// and its record; failure says why it could not be composed correctly ("" when
// it was).
struct ComposedClaim {
  std::string lines;
  ClaimRecord record;
  std::string failure;
  ChargeOrigin first_charge;  // the charge that began the claim
};

struct Page {
  Page(FormEnv& form_env, const TopRecords& last_top, const ChargeGroup& last_group,
       ClaimTables& claim_tables, ComposedClaim& composed)
      : env(form_env), top(last_top), group(last_group), tables(claim_tables), out(composed) {}

  FormEnv& env;
  const TopRecords& top;
  const ChargeGroup& group;
  ClaimTables& tables;
  ComposedClaim& out;
  int32_t number = 0;            // the page within its claim, from 1
  int32_t count = 1;             // the claim's pages
  bool first_page() const { return number == 1; }
  bool last_page() const { return number == count; }
  int16_t value_code_count = 0;  // ValueCodeCount: value-code slots used on the page
  // Boxes 76 and 77 print NPIs only: the NPI legacy dates say so, or the
  // billed payer takes NPIs only (box 81). Decided when the page starts.
  bool npi_only = false;

  // One "F" field; alignment 0 starts the text at x, 1 ends it there. A
  // text longer than its box (the form layout's field at that position) is
  // cut to fit, with a warning naming the box and the whole text.
  void Put(std::string_view text, float x, float y, int16_t align = 0) const;
  // An amount: never cut. One too wide for its box is not printed, and the
  // claim is marked as not composed correctly (the host refuses it).
  void PutAmount(std::string_view text, float x, float y, int16_t align = 1) const;
  RunLog& log() const { return env.cx.log; }
  // What the claim's pages show, box by box.
  ClaimRecord& record() const { return out.record; }
  // A warning about the claim: queued (severity 2; not when the checks
  // report findings later), logged, and kept in its record as a finding; once per claim for the same rule, locator and
  // value (the boxes repeat on every page). The run log gets log_text when
  // given (the message with its quotes whole), else the message.
  void Warn(std::string_view locator, std::string_view rule, std::string_view value,
            std::string message, std::string_view log_text = {}) const;
  // A code the form has no slot left for (boxes 18-28, 31-34, 39-41): not
  // printed, with a warning naming the box and the code.
  void CodeLeftOut(std::string_view boxes, int slots, std::string_view what,
                   std::string_view code) const;
  // Extended-data item of set n in the Last copies.
  bool ExtData(int n, std::string_view code, std::string& value) const {
    return LookUpExtData(top, group, n, code, value);
  }

  const Record& practice() const { return top.practice; }
  const Record& bprovider() const { return top.bprovider; }
  const Record& insurance() const { return top.insurance; }
  const Record& calc_pref() const { return top.calc_pref; }
  const Record& patient() const { return top.patient; }
  const Record& subscriber() const { return top.subscriber; }
  const Record& charge() const { return group.charge; }
  // Other insurance k = 1 to 3 (the fourth is never printed).
  const Record& oins(int k) const { return group.oins[static_cast<size_t>(k - 1)]; }
  PageTotals& totals() { return tables.totals; }
  // The claim's first service line.
  const DetailEntry& first_line() const { return tables.detail.at(0); }

  // Charge token 70, the payer sequence of the claim: "1", "2", "3" give
  // rows A, B, C (0 to 2); anything else -1.
  const std::string& payer_sequence() const { return charge()[charge::PayerSequence]; }
  int payer_row() const;
  // The other insurance printed on payer row 0 to 2 (A to C), or null.
  // Other insurances take the rows in their order, less the billed payer's,
  // so that no two payers share a row.
  const Record* other_payer_at(int row) const;

  // The first five characters of Insurance token 2 (payer id) or token 36
  // (alternate payer id), for the payer-specific rules.
  std::string payer_id5() const;
  std::string alternate_payer_id5() const;

  // An amount as "#####0.00"; with CalcPref token 11 "1" the "." becomes a
  // space (forms whose amount boxes have the decimal printed).
  std::string AmountText(Currency amount) const;
};

// The page of the claim held in the Last copies of env's claim state.
Page LastClaimPage(FormEnv& env, ClaimTables& tables, ComposedClaim& out);

// True when the billed payer takes NPIs only (its box 81 carries the
// billing taxonomy).
bool PayerTakesNpiOnly(const Page& page);

// True when text is one of the codes.
bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> codes);

}  // namespace ub04
