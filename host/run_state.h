// The run state: everything a batch keeps between calls.
//
// Each Format_Class owns one, made fresh when it is created: no two
// instances share anything. Each layer keeps its part in its own struct
// (claim, reference data, printing, the formatted-record file); this header
// gathers them, and only the host layer reaches them: the layers below get
// what they work on passed down.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/context.h"
#include "base/file_lock.h"
#include "base/text_file.h"
#include "base/runtime.h"
#include "checks/claim_checks.h"
#include "claim/claim_env.h"
#include "claim/claim_state.h"
#include "form/fmt_file.h"
#include "compose/page.h"
#include "claim/claim_tables.h"
#include "print/print_state.h"
#include "host/format_class.h"
#include "records/record_env.h"
#include "refdata/refdata.h"

namespace ub04 {



// The record rules' view of the layers above the records: reference data
// and payment adjustments.
class HostRecordServices final : public RecordServices {
 public:
  HostRecordServices(Context& cx, RefData& ref) : cx_(cx), ref_(ref) {}
  std::string AlternatePracticeNpi(const std::string& practice_ih_code,
                                   const std::string& provider_ih_code,
                                   const std::string& insurance_ih_code) override;
  bool OriginalPracticeAddress(Record& practice) override;
  void ChooseDiagnosisCodeSet(Record& charge, const Record& insurance) override;
  void NormalizeAdjustmentCodes(std::string& codes) override;

 private:
  Context& cx_;
  RefData& ref_;
};

struct RunState {
  // module_name is fixed in production; tests may inject another to reach
  // the rules that depend on the form code. The diagnosis-table size is the
  // creating instance's.
  RunState(const std::string& module_name, int16_t diag_capacity, int16_t diags_per_charge);
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  // The queue, the run log and the names error texts start with.
  Context cx;
  std::string form_code;  // "UB04PPA": characters 5 on of the module name, 11 fewer

  // Host settings (host messages).
  std::string output_path = "?";
  std::string fmt_file_path = "?";
  std::string connection_string;
  std::string batch_row_id;
  std::string host_user;
  std::string printer_name;
  bool fatal_error = false;  // gbThereWasAFatalError
  // Permissions of every file the run creates ("FILEMODE").
  unsigned file_mode = kOwnerOnly;

  // Formatted-record file. fmt_open_failed: this run's records had no file
  // to go to, so its end cannot be reported as done.
  FmtFile fmt{cx};
  bool fmt_open_failed = false;
  // The batch's first record was a practice record (1000). A batch that
  // did not start with one replaces no earlier file: its file never takes
  // its name.
  bool practice_first = false;
  // The run holds its output's lock from its first record to the end of its
  // batch, and its PDF's too (another file name may print to the same PDF);
  // a run that found either taken writes nothing and says why. Printing
  // takes them again for itself.
  FileLock run_lock;
  FileLock pdf_lock;
  FileLock held_lock;
  std::string locked_out;  // the refusal, repeated at every call; "" when not
  // The file the end of this run's batch put in place ({0, 0}: none), and
  // whether the batch has ended: printing then prints only that file.
  OutFile::FileId written;
  bool batch_ended = false;

  // Claims that must not go out with the batch. Why the claim being built,
  // or the one after it, must be refused ("" when nothing is against it).
  std::string refuse_current, refuse_next;
  // The records of the charges that could not be read, for the claim each
  // is held against.
  std::vector<RecordSpan> refuse_current_spans, refuse_next_spans;
  // The claim checks (host messages "CHECKS", "SKIPCHECK", "HOLDWARNINGS").
  // Claims they hold go to the held-claims file, opened with the first.
  CheckSettings checks;
  FmtFile held{cx};
  // With the checks on, what was noticed while the batch's records were
  // read (a character left out, a token that is not a number) waits here,
  // by record number, for the claim those records belong to.
  struct Noticed {
    int32_t record;
    ClaimFinding finding;
  };
  std::vector<Noticed> noticed;
  std::vector<TokenNote> token_notes;  // the record being read
  // Pages written to each file by this run.
  int32_t main_pages = 0, held_pages = 0;
  // Claims that the page's 22 lines or the form's 18 diagnoses split: the
  // account's claims so far, said once its last claim is written.
  struct SplitSeries {
    bool by_lines = false, by_diagnoses = false;
    int32_t claims = 0, lines = 0;
    std::vector<std::string> diagnoses;  // distinct, in order
  } split;

  // Counters. The charge counter and claims counter are 32-bit so that a
  // large batch cannot overflow them.
  int32_t record_counter = 0;
  int32_t charge_counter = 0;
  bool first_charge = true;
  int32_t total_claims = 0;
  std::array<std::string, 11> record_header;
  TokenViews key_tokens;  // the key's tokens, kept for its capacity

  // The charge being received: from its "6000" to its "6990". A batch may
  // not end inside one, and its companions need one to belong to.
  struct OpenCharge {
    bool open = false;
    bool failed = false;      // its charge record did not parse: it bills nothing
    std::string key;          // the charge record's key, for messages
    int32_t records = 0;      // the charge record and its companions so far
    int32_t record_number = 0;  // the charge record's number in the batch
    // Why the claim this charge joins must be refused: a companion of it
    // that could not be read ("" when none).
    std::string trouble;
    // Its record could not be read and it was counted against the claim
    // after the one being built (else against that one).
    bool against_next = false;
  } charge_in_progress;

  // Component-wide values of the record rules.
  Date npi_cutover_date = 0;
  bool suppress_upin = true;  // gbSuppressUpin

  // Diagnosis-table limits of the instance that reset the run.
  int16_t diag_capacity;
  int16_t diags_per_charge;

  ClaimState claim;
  RefData ref{cx, form_code};
  PrintState print;
  HostRecordServices services{cx, ref};

  // What each layer is handed.
  ClaimEnv claim_env() { return ClaimEnv{cx, claim, ref}; }
  FormEnv form_env() { return FormEnv{cx, claim, ref, total_claims, claim.multipage, checks.on()}; }
  ParseEnv parse_env();
};

// The run the helper classes report to when the host gave them none (the
// default PayAdjHelper, the custom-form classes' creation messages): the
// newest Format_Class alive on the calling thread. While none is alive, a
// run of the thread's own that no batch ever uses.
RunState& CurrentRun();
// Every Format_Class enters its run while it lives.
void EnterRun(RunState& run);
void LeaveRun(RunState& run);

// The held-claims file of a formatted-record file: the same name with
// ".held" added.
std::string HeldPathFor(const std::string& fmt_file_path);

// "major.minor.revision" of this build.
std::string VersionText();

// False (with its message queued) while the output path is not set.
bool HaveOutputPath(RunState& rs);
// False (with its message queued) while the formatted-record path is not set.
bool HaveASCIIFilenm(RunState& rs);

}  // namespace ub04
