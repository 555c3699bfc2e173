// Format_Class: the component a billing host creates and drives.
//
//   Format_Class fc;                       // resets this thread's run state
//   fc.HereIsAMessage("1", "/var/claims");  // output folder
//   fc.HereIsAMessage("2", "batch.fmt");    // formatted-record file
//   fc.FormatRecord(key, rec);              // ... every record of the batch
//   fc.ProcessEndOfFile();                  // last claim and the "T" line
//   fc.ProcessFormattedRecords();           // print it
//
// After every call with a non-zero result the host reads the message queue
// with GetAMessage(1), GetAMessage(2), ... until "END"; the next call
// empties it. All calls of one instance come from one thread.
#pragma once

#include <cstdint>
#include <string>

#include "claim/claim_tables.h"

namespace ub04 {

inline constexpr const char* kModuleName = "QVR_UB04PPA_Format";

class Format_Class {
 public:
  // Class_Initialize. module_name is fixed in production; tests may inject
  // another to reach the rules that depend on the form code.
  explicit Format_Class(const std::string& module_name = kModuleName);
  // Class_Terminate: closes the database connection.
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

 private:
  int16_t Dispatch(const std::string& type, const std::string& sKey, const std::string& sRec);
  // A companion or end-of-charge record with no charge to belong to: a
  // warning (severity 2), logged; outcome says what became of it.
  int16_t OutsideACharge(const std::string& type, const char* outcome);
  void Warn(const std::string& text);
  int16_t EndOfCharge();
  // Writes the claim built so far (a break, or the end of the batch).
  int16_t WriteClaimSoFar();
  int16_t SetLogLevel(const std::string& sMsg);
  void GetBillingComponentManager();

  ClaimTables tables_;
};

// Extended-data item code of set n (1 to 5), looked up in the charge's second
// family, then its first family, then the patient-level set; in the This
// copies or (LookUpExtDataLast) in the Last copies.
bool LookUpExtData(int n, std::string_view code, std::string& value);
bool LookUpExtDataLast(int n, std::string_view code, std::string& value);

// Settings of the calling thread's run that no host message carries. Each
// belongs to the run, so it is set after the Format_Class is created
// (creation resets it).
// Also writes every printed page as a PNG into dir ("" stops it).
void SetPreviewFolder(const std::string& dir);
// Preview pages also show the form's character grid.
void SetPreviewGrid(bool on);
// The folder FOLIO_CFG_NPICMS.DAT (the NPI legacy dates) is read from; by
// default the folder of the running program.
void SetComponentFolder(const std::string& dir);

// The other-insurance billing ID (Insurance_Override, kind 1609) of the
// current claim's practice and billing form for an insurance IH code, from
// the cache primed when a claim's practice changes; a miss asks the
// database. No box prints it; this lets a host (and the tests) ask.
std::string OtherInsuranceBillingId(const std::string& insurance_ih_code);

}  // namespace ub04
