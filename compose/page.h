// One claim being written, page by page: what every box reads.
//
// A claim is written when the next charge has already begun, so the page
// reads only the Last copies of the claim state (the claim's last charge
// and its companions, the latest top records) and the claim tables (detail
// lines, claim members, diagnosis table); never the This copies. The claim
// members and the detail lines' revenue codes are the only things a page
// changes.
//
// Writes go through Put: when the formatted-record file refuses a line its
// message is already queued and WriteStopped unwinds to WriteClaim, which
// stops the claim (nothing more could reach the file).
//
// The host hands the writer a FormEnv: the run's context, the claim state,
// the reference lookups, the formatted-record file and the run's count of
// "C" lines.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/context.h"
#include "claim/claim_env.h"
#include "claim/claim_state.h"
#include "claim/claim_tables.h"
#include "claim/ext_data.h"
#include "form/fmt_file.h"
#include "records/layouts.h"
#include "refdata/refdata.h"

namespace ub04 {

struct WriteStopped {};

struct FormEnv {
  Context& cx;
  ClaimState& cs;
  RefData& ref;
  FmtFile& out;
  int32_t& total_claims;  // "C" lines written: the claims counter and page sequence

  ClaimEnv claim() { return ClaimEnv{cx, cs, ref}; }
};

struct Page {
  Page(FormEnv& form_env, const TopRecords& last_top, const ChargeGroup& last_group,
       ClaimTables& claim_tables)
      : env(form_env), top(last_top), group(last_group), tables(claim_tables) {}

  FormEnv& env;
  const TopRecords& top;
  const ChargeGroup& group;
  ClaimTables& tables;
  int16_t value_code_count = 0;  // ValueCodeCount: value-code slots used on the page
  // Boxes 76 and 77 print NPIs only: the NPI legacy dates say so, or the
  // billed payer takes NPIs only (box 81). Decided when the page starts.
  bool npi_only = false;

  // One "F" field; alignment 0 starts the text at x, 1 ends it there.
  void Put(std::string_view text, float x, float y, int16_t align = 0) const;
  RunLog& log() const { return env.cx.log; }
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

  // The first five characters of Insurance token 2 (payer id) or token 36
  // (alternate payer id), for the payer-specific rules.
  std::string payer_id5() const;
  std::string alternate_payer_id5() const;

  // An amount as "#####0.00"; with CalcPref token 11 "1" the "." becomes a
  // space (forms whose amount boxes have the decimal printed).
  std::string AmountText(Currency amount) const;
};

// The page of the claim held in the Last copies of env's claim state.
Page LastClaimPage(FormEnv& env, ClaimTables& tables);

// True when the billed payer takes NPIs only (its box 81 carries the
// billing taxonomy).
bool PayerTakesNpiOnly(const Page& page);

// True when text is one of the codes.
bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> codes);

}  // namespace ub04
