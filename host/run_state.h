// The run state: everything a batch keeps between calls.
//
// The host drives the component from one thread. All working state lives
// here, one set per host thread, shared by every Format_Class created on that
// thread and reset whenever one is created (Shared_Initialize). Subsystems
// keep their part in their own struct (claim, reference data, printing); this
// header only gathers them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "claim/claim_state.h"
#include "form/print_state.h"
#include "host/messages.h"
#include "host/runtime.h"
#include "host/text_file.h"
#include "refdata/ref_state.h"

namespace ub04 {

inline constexpr const char* kModuleName = "QVR_UB04PPA_Format";

struct RunState {
  // Identity: fixed module name; the component name and form code derive
  // from it. Tests may inject another module name to reach form-code rules.
  std::string module_name = kModuleName;
  std::string component_name;  // module name + ".Dll"
  std::string form_code;       // "UB04PPA"

  MessageQueue queue;

  // Host settings (host messages).
  std::string output_path = "?";
  std::string fmt_file_path = "?";
  std::string connection_string;
  std::string batch_row_id;
  std::string host_user;
  std::string printer_name;
  bool fatal_error = false;  // gbThereWasAFatalError
  float printer_x_offset = 0, printer_y_offset = 0;
  bool test_claims_mode = false;
  int16_t test_claims_starting = 0;  // giTestClaims_Starting
  int16_t test_claims_ending = 0;    // giTestClaims_Ending
  // Permissions of every file the run creates ("FILEMODE").
  unsigned file_mode = kOwnerOnly;

  // Run log.
  int16_t log_level = 0;
  OutFile log;

  // Formatted-record file. fmt_open_failed: this run's records had no file
  // to go to, so its end cannot be reported as done.
  OutFile fmt_out;
  bool fmt_open_failed = false;

  // Counters. The charge counter and claims counter are 32-bit so that a
  // large batch cannot overflow them.
  int32_t record_counter = 0;
  int32_t charge_counter = 0;
  bool first_charge = true;
  int32_t total_claims = 0;
  std::array<std::string, 11> record_header;

  // Component-wide values of the record rules.
  Date npi_cutover_date = 0;
  bool suppress_upin = true;  // gbSuppressUpin
  bool lookup_found = false;

  // Diagnosis-table limits, set by the instance before the reset.
  int16_t diag_capacity = 4;
  int16_t diags_per_charge = 5;

  // The last error text composed by a writer the instance calls; the
  // instance takes it into its gsErrorMsg when the public call ends.
  std::string error_msg;

  ClaimState claim;
  RefState ref;
  PrintState print;
};

// The run state of the calling thread.
RunState& Rs();

// Resets the run state of this thread (Shared_Initialize). Open files and the
// database connection of the previous run are closed first, flushed.
void Shared_Initialize();

// Queues a message (AddToMessageArray).
void AddToMessageArray(int16_t nr, std::string msg);

// Stores text as the instance's gsErrorMsg (for error handlers of the
// class's own operations that run outside the class).
void SetErrorMsg(std::string text);

// Component name as it starts most error texts: "QVR_UB04PPA_Format.Dll".
const std::string& ComponentName();

// "major.minor.revision" of this build.
std::string VersionText();

}  // namespace ub04
