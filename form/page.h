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
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "claim/claim_state.h"
#include "claim/claim_tables.h"
#include "records/layouts.h"

namespace ub04 {

struct WriteStopped {};

// One "F" field; alignment 0 starts the text at x, 1 ends it there.
void Put(std::string_view text, float x, float y, int16_t align = 0);

struct Page {
  Page(const TopRecords& last_top, const ChargeGroup& last_group, ClaimTables& claim_tables)
      : top(last_top), group(last_group), tables(claim_tables) {}

  const TopRecords& top;
  const ChargeGroup& group;
  ClaimTables& tables;
  int16_t value_code_count = 0;  // ValueCodeCount: value-code slots used on the page

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
  const std::string& payer_sequence() const { return charge()[charge::Field70]; }
  int payer_row() const;

  // The first five characters of Insurance token 2 (payer id) or token 36
  // (alternate payer id), for the payer-specific rules.
  std::string payer_id5() const;
  std::string alternate_payer_id5() const;

  // An amount as "#####0.00"; with CalcPref token 11 "1" the "." becomes a
  // space (forms whose amount boxes have the decimal printed).
  std::string AmountText(Currency amount) const;
};

// The page of the claim held in this thread's Last copies.
Page LastClaimPage(ClaimTables& tables);

// True when text is one of the codes.
bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> codes);

}  // namespace ub04
