// Format_Class: the component a billing host creates and drives.
//
//   Format_Class fc;                       // a run of its own
//   fc.HereIsAMessage("1", "/var/claims");  // output folder
//   fc.HereIsAMessage("2", "batch.fmt");    // formatted-record file
//   fc.FormatRecord(key, rec);              // ... every record of the batch
//   fc.ProcessEndOfFile();                  // last claim and the "T" line
//   fc.ProcessFormattedRecords();           // print it
//
// After every call with a non-zero result the host reads the message queue
// with GetAMessage(1), GetAMessage(2), ... until "END"; the next call
// empties it. All calls of one instance come from one thread.
//
// Each instance owns its run: its settings, its batch, its files and their
// lock, its message queue and log. Instances never share or mix anything,
// on one thread or on many. Destroying an instance whose batch has not
// reached ProcessEndOfFile abandons that batch: its unfinished file is
// removed (the last good file keeps its name), its lock released and its
// log closed with a line that says so.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "claim/claim_record.h"
#include "claim/claim_state.h"
#include "claim/claim_tables.h"

namespace ub04 {

inline constexpr const char* kModuleName = "QVR_UB04PPA_Format";

struct RunState;

class Format_Class {
 public:
  // Class_Initialize. module_name is fixed in production; tests may inject
  // another to reach the rules that depend on the form code.
  explicit Format_Class(const std::string& module_name = kModuleName);
  // Class_Terminate: abandons an unfinished batch, closes the database
  // connection and the log.
  ~Format_Class();
  Format_Class(const Format_Class&) = delete;
  Format_Class& operator=(const Format_Class&) = delete;

  // Last text composed by an error handler of the class's own operations.
  std::string gsErrorMsg;

  std::string GetAMessage(int32_t& lIndex);
  int16_t HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg);
  int16_t FormatRecord(const std::string& sKey, const std::string& sRec);
  int16_t ProcessEndOfFile();
  int16_t ProcessFormattedRecords();

  // ---- beyond the host messages ----------------------------------------------------

  // Called with each claim's record once its fate is decided (written,
  // held or refused), in the call that decided it, in batch order. The
  // record lives for the call only. Observers are called in the order they
  // were added; one that throws is ignored.
  using ClaimObserver = std::function<void(const ClaimRecord&)>;
  void AddClaimObserver(ClaimObserver observer);

  // Settings that no host message carries (the command line's). Also
  // writes every printed page as a PNG into dir ("" stops it).
  void SetPreviewFolder(const std::string& dir);
  // Preview pages also show the form's character grid.
  void SetPreviewGrid(bool on);
  // The folder FOLIO_CFG_NPICMS.DAT (the NPI legacy dates) is read from; by
  // default the folder of the running program.
  void SetComponentFolder(const std::string& dir);

  // Pages the last ProcessFormattedRecords put into its PDF (0 before, and
  // after a printing that failed).
  int32_t PagesPrinted() const;
  // True when the last ProcessFormattedRecords handed its PDF to the print
  // queue (host message "7").
  bool JobSent() const;
  // True once ProcessEndOfFile put this batch's formatted-record file in
  // place; false while the last good file (if any) is an earlier run's.
  bool BatchWritten() const;

  // The other-insurance billing ID (Insurance_Override, kind 1609) of the
  // current claim's practice and billing form for an insurance IH code, from
  // the cache primed when a claim's practice changes; a miss asks the
  // database. No box prints it; this lets a host (and the tests) ask.
  std::string OtherInsuranceBillingId(const std::string& insurance_ih_code);

 private:
  int16_t Dispatch(const std::string& type, const std::string& sKey, const std::string& sRec);
  // A companion or end-of-charge record with no charge to belong to: a
  // warning (severity 2), logged; outcome says what became of it.
  int16_t OutsideACharge(const std::string& type, const char* outcome);
  void Warn(const std::string& text);
  int16_t EndOfCharge();
  // Composes the claim built so far (a break, or the end of the batch) and
  // writes, holds or refuses it (host/claim_fate.cpp).
  // ended_by: what ended it (the break rules' cause; kOther at the end of
  // the batch).
  int16_t WriteClaimSoFar(BreakCause ended_by = BreakCause::kOther);
  // Says, once a claim split by the lines of a page or the diagnoses of the
  // form is written in full, into how many claims it went.
  void NoteSplit(ClaimRecord& record, BreakCause ended_by);
  // Writes the claim nowhere and says why (a severity-3 message).
  int16_t RefuseClaim(ClaimRecord& record, const std::string& why);
  // With the checks on: gives the claim what was noticed while its records
  // were read, and reports each finding of a decided claim once, as a
  // severity-2 message.
  void TakeNoticed(ClaimRecord& record);
  void ReportFindings(const ClaimRecord& record);
  // Noticed things no claim took (records after the batch's last claim):
  // reported as the warnings they are.
  void ReportUnclaimedNotices();
  // Hands a decided claim's record to the observers.
  void Announce(const ClaimRecord& record);
  int16_t SetLogLevel(const std::string& sMsg);
  void GetBillingComponentManager();

  std::unique_ptr<RunState> run_;
  ClaimTables tables_;
  std::vector<ClaimObserver> observers_;
};

}  // namespace ub04
