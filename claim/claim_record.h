// A claim as it leaves the composer: what its pages show, box by box, in
// plain values instead of print positions.
//
// The composer fills one record per claim while it lays the claim's pages
// out; the host hands it to whoever listens (the command line's manifest,
// the claim checks, a host's callback) once the claim's fate is decided.
// Records are streamed, never kept: a listener that wants one after its
// call copies it.
//
// Texts are what the form shows for the box (cut, cleaned), except where a
// member says "as received": those keep the batch's text so that a reader
// can tell a malformed value from a blank one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime.h"

namespace ub04 {

// Something worth a look that was noticed while the claim was composed or
// checked. A finding of level kError keeps the claim from the payer.
struct ClaimFinding {
  enum class Level : uint8_t { kWarning, kError };
  Level level = Level::kWarning;
  std::string locator;  // the form locator looked at: "FL56", "FL80"; "" for the claim
  std::string rule;     // what noticed it: "TEXT-CUT", "NPI-CHECK-DIGIT"
  std::string value;    // the value it is about, as the batch gave it
  std::string message;  // one line for people
};

// One service line (boxes 42 to 47).
struct ClaimServiceLine {
  int32_t page = 0;           // the claim's page it prints on, from 1
  int32_t row = 0;            // its row on that page, 1 to 22
  std::string revenue_code;   // box 42
  std::string description;    // box 43 ("" when the payer takes none)
  std::string hcpcs;          // box 44: procedure code
  std::string modifiers;      // box 44: modifiers 1 and 2 as printed
  std::string service_date;   // box 45, as received (MMDDYYYY)
  float units = 0;            // box 46
  Currency charges;           // box 47
  // The batch's texts behind the amounts of the line, as received: the
  // charge amount, the units, the charge's paid and adjustment amounts and
  // each other insurance's paid amount (empty ones left out).
  std::vector<std::pair<std::string, std::string>> amounts_received;
};

// One row (A, B or C) of the payer boxes 50 to 65.
struct ClaimPayer {
  bool used = false;          // a payer fills the row
  bool billed = false;        // the payer this claim bills (the payer sequence's row)
  std::string name;                 // box 50
  std::string health_plan_id;       // box 51
  std::string release_of_info;      // box 52
  std::string assignment;           // box 53
  bool has_prior_payments = false;  // box 54 printed
  Currency prior_payments;          // box 54
  bool has_amount_due = false;      // box 55 printed
  Currency amount_due;              // box 55
  std::string other_provider_id;    // box 57
  std::string insured_name;         // box 58
  std::string relationship;         // box 59
  std::string insured_id;           // box 60
  std::string group_name;           // box 61
  std::string group_number;         // box 62
  std::string authorization;        // box 63
  std::string document_control;     // box 64
  std::string employer;             // box 65
};

struct ClaimCode {
  std::string code, value;  // occurrence code and date; value code and amount
};

struct ClaimDiagnosis {
  std::string code;  // box 67 (the first is the principal diagnosis), 67A to 67Q
  std::string poa;   // its present-on-admission value, "" when none
};

// Boxes 76 to 79.
struct ClaimProvider {
  std::string npi, qualifier, secondary_id, last_name, first_name;
};

// The records of one charge in the batch, by their numbers (the first is 1):
// its charge record to its end-of-charge record.
struct RecordSpan {
  int32_t first = 0, last = 0;
  bool Holds(int32_t record) const { return record >= first && record <= last; }
};

struct ClaimRecord {
  // What became of the claim: written to the formatted-record file, held
  // (its pages in the held-claims file), or refused (written nowhere).
  enum class Fate : uint8_t { kWritten, kHeld, kRefused };
  Fate fate = Fate::kWritten;

  // The page sequence numbers of its "C" lines, in order; empty for a
  // refused claim.
  std::vector<int32_t> page_sequences;
  // Its "C" lines' index text, in parts.
  std::string index_patient;           // patient name, cut at 40
  std::string index_billing_provider;  // billing provider code
  std::string index_insurance;         // insurance code
  std::string payer_sequence;          // "1", "2", "3" (Charge token 70)

  std::string account;             // box 3a patient control number
  std::string medical_record;      // box 3b
  std::string type_of_bill;        // box 4
  std::string federal_tax_number;  // box 5
  std::string statement_from;      // box 6, CCYYMMDD
  std::string statement_through;   // box 6, CCYYMMDD
  std::string patient_name;        // box 8b
  std::string birth_date;          // box 10, as received
  std::string sex;                 // box 11
  std::string admission_date;      // box 12, as received
  std::string admission_hour;      // box 13
  std::string admission_type;      // box 14
  std::string point_of_origin;     // box 15
  std::string discharge_hour;      // box 16
  std::string patient_status;      // box 17
  std::vector<std::string> condition_codes;  // boxes 18 to 28
  std::vector<ClaimCode> occurrence_codes;   // boxes 31 to 34
  std::vector<ClaimCode> value_codes;        // boxes 39 to 41

  std::vector<ClaimServiceLine> lines;  // boxes 42 to 47, in order
  Currency total_charges;               // line 23, box 47
  // The calculation preference's amount-due rule (CalcPref token 4): what
  // box 55 takes off the charges ("1", "2", "3"; anything else prints -1.00).
  std::string amount_due_rule;
  std::string creation_date;            // line 23, box 45 (MMDDYY)

  std::array<ClaimPayer, 3> payers;  // rows A, B, C
  std::string billing_npi;           // box 56
  std::string diagnosis_qualifier;   // box 66: "0" ICD-10, "9" ICD-9
  // The charges also carried ICD-10 codes: box 66's "9" was the payer's
  // ICD-10 date choosing ICD-9 (reference data), not the batch's only codes.
  bool icd10_received = false;
  std::vector<ClaimDiagnosis> diagnoses;  // box 67, 67A to 67Q
  std::string admitting_diagnosis;   // box 69
  std::string reason_for_visit;      // box 70
  std::string principal_procedure;   // box 74
  std::string principal_procedure_date;  // box 74, as received
  ClaimProvider attending;           // box 76
  ClaimProvider operating;           // box 77
  std::array<ClaimProvider, 2> other_providers;  // boxes 78 and 79
  std::vector<std::string> remarks;  // box 80, its printed lines

  std::vector<ClaimFinding> findings;
  // The records of its charges in the batch, those that could not be read
  // included (they are why a claim is refused).
  std::vector<RecordSpan> charge_records;

  int32_t first_sequence() const { return page_sequences.empty() ? 0 : page_sequences.front(); }
  int32_t page_count() const { return static_cast<int32_t>(page_sequences.size()); }
  bool HasError() const;
};

// "written", "held" or "refused".
std::string_view FateName(ClaimRecord::Fate fate);
// "error" or "warning".
std::string_view LevelName(ClaimFinding::Level level);

}  // namespace ub04
