// The tables of the claim being built.
//
// Owned by the Format_Class instance: the detail lines (one per completed
// charge, DetailArray) and the page totals. Module-level, in the claim
// state: the diagnosis table (gDiagArray). The detail-line builder fills
// them at every end of charge; the claim writer prints and empties them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/runtime.h"
#include "records/record.h"

namespace ub04 {

// A charge's place in the batch: the record number and key of its charge
// record (6000).
struct ChargeOrigin {
  int32_t record_number = 0;
  std::string key;
  int32_t last_record = 0;  // its end-of-charge record's number
  // "the charge of record 32 (key A /B /...)", the key clipped for a message.
  std::string Describe() const;
};

// One service line of the claim.
struct DetailEntry {
  std::string used;  // "Y" when in use
  std::string from_date, to_date;
  std::string pos_code, tos_code, procedure_code, description;
  std::array<std::string, 4> modifiers;
  std::array<std::string, 3> extra_codes;
  std::array<std::string, 5> diagnosis_codes;
  std::array<int16_t, 5> diagnosis_pointers{};
  Currency charge_amount, second_amount;
  float units = 0;
  std::string line_provider_id;
  Currency allowed_amount, paid_amount, write_off_amount, adjustment_amount, fifth_amount;
  std::array<Currency, 4> oins_paid;  // what each other insurance paid for the line
  std::string text76, text75;  // Charge tokens 76 and 75
  std::string code_text;       // "~" & Charge token 71 & "~"
  std::string narrative;
  std::string revenue_code, revenue_rate;
  Record charge;               // complete copy of the Last group's charge
  std::string ext_20015;       // extended value "20015"
  // The batch's texts behind the amounts, as received: (what, text) for the
  // charge amount, units, paid and adjustment amounts and each other
  // insurance's paid amount that is not empty.
  std::vector<std::pair<std::string, std::string>> amounts_received;
  // Where the charge came from in the batch, for messages about it.
  ChargeOrigin origin;
};

// The claim-level members the totals line and the upper boxes print.
struct PageTotals {
  Currency TotalCharges, TotalInsPaid, TotalLineAdjust, TotalInsWriteOff, AmountDue;
  std::string ClaimCodeList, ClaimRemarks;
  std::string StatementFromDate, StatementThroughDate;  // CCYYMMDD
};

struct ClaimTables {
  // 1-based in the rules; detail[0] is line 1. Starts with 20 entries, grows
  // by 5, never shrinks.
  std::vector<DetailEntry> detail = std::vector<DetailEntry>(20);
  PageTotals totals;
};

// One entry of the diagnosis table: a code and its companion value.
struct DiagnosisEntry {
  std::string code, companion;
};

struct ClaimEnv;

// Blanks the five currency totals, the code list, the remarks and the
// statement period (logged "EmptyPageTotalStruct()").
void EmptyPageTotalStruct(ClaimEnv& env, ClaimTables& tables);
// 1-based index of the first unused detail entry, or size + 1.
int16_t GetNextDetailIndex(ClaimEnv& env, ClaimTables& tables);
// After a claim is written, also when the write failed: every detail entry
// blank (size kept), the claim totals cleared and the diagnosis table
// emptied, so nothing of one claim reaches the next.
void EmptyClaimTables(ClaimEnv& env, ClaimTables& tables);
// 1-based position of code in the diagnosis table, 0 when absent or "".
int16_t GetIndexForDiagnosis(ClaimEnv& env, const std::string& code);

// Adds the Last group's diagnoses to the diagnosis table and makes its
// detail line, noting where in the batch its charge came from. 0, or 3 after
// queueing the failure.
int16_t DealWithLastGroup(ClaimEnv& env, ClaimTables& tables, const ChargeOrigin& origin);
// Compares This with Last: is_break says whether the claim built so far
// ends here (the host then writes it). 0, or 3 after a failure.
int16_t CheckBreak(ClaimEnv& env, ClaimTables& tables, bool& is_break);

}  // namespace ub04
