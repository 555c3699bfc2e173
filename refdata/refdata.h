// Reference data from the host's database: the connection and the lookups
// the parsers, the claim state and the form boxes call.
//
// One RefData belongs to one run. It keeps the shared connection and the
// tables loaded from it (refdata/ref_state.h), and reports through the run's
// context. Every operation traps its own errors: it queues its message (or,
// where a lookup is silent, returns "") and never raises to its caller.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/runtime.h"
#include "records/record.h"
#include "refdata/ref_state.h"

namespace ub04 {

class DbConnection;

class RefData {
 public:
  // form_code is the billing form the lookups ask for ("UB04PPA").
  RefData(Context& cx, std::string form_code) : cx_(cx), form_code_(std::move(form_code)) {}
  RefData(const RefData&) = delete;
  RefData& operator=(const RefData&) = delete;

  RefState& state() { return st_; }
  const RefState& state() const { return st_; }

  // ---- connection ---------------------------------------------------------------

  // Opens the connection of connection_string (host message
  // "CONNECTIONSTRING"), first with the "[KRV_TABLES]." owner and, when that
  // fails, without it; then loads the NPI legacy dates and the ICD-10
  // readiness table. A previous connection is closed first.
  void ConnectToDatabase(const std::string& connection_string);
  // One attempt with the current owner prefix: open, probe PRACTICE, load the
  // date tables. Does nothing without a connection string.
  void OpenInitialDBConnection();
  // Closes an open connection (instance destruction).
  void CloseDatabaseConnection();
  bool connected() const { return st_.db_connection_good; }
  // True when the database lists a table of that name in sys.tables; for a
  // database without that catalogue, when the table answers a query by its
  // owner's name (dbo).
  bool DoesTableExistInSchema(const std::string& table_name);
  // name with the table-owner prefix in force ("[KRV_TABLES].name" or "name").
  std::string OwnedTable(const char* name) const;

  // ---- practice identity ----------------------------------------------------------

  // The alternate billing NPI of a practice, provider and insurance, or "".
  std::string FetchAlternatePracticeNPIFromDB(const std::string& practice_ih_code,
                                              const std::string& provider_ih_code,
                                              const std::string& insurance_ih_code);
  // Replaces the practice name and address with the stored original ones.
  // True when done (also when nothing was found), False after an error.
  bool FetchOriginalPracticeAddress(Record& practice);

  // ---- other-insurance billing IDs ----------------------------------------------------

  // Primes the other-insurance billing IDs for a new claim.
  void ClearOtherInsIDArrays(const std::string& practice_ih_code,
                             const std::string& billing_form, const std::string& default_id);
  std::string FetchOInsPracticeBillingIDFromArray(const std::string& insurance_ih_code);
  std::string FetchOInsPracticeBillingIDFromDB(const std::string& insurance_ih_code);

  // ---- NPI legacy dates ------------------------------------------------------------------

  // Loads the cut-over dates from the database (when connected) or else from
  // FOLIO_CFG_NPICMS.DAT in the component's folder.
  void LoadNPILegacyDateArray();
  // Recomputes the NPI legacy dates (and NpiOnly) for a new insurance. Without
  // a loaded table the file is loaded first.
  void FetchNPILegacyDates(const std::string& payer_org, const std::string& insurance_ih_code,
                           Date bill_form_date);
  // The NPI legacy dates say the form prints NPIs only.
  bool NpiOnly() const { return st_.npi_only; }
  // The folder FOLIO_CFG_NPICMS.DAT is read from: the override when set,
  // else the folder of the loaded component.
  std::string ComponentFolder() const;

  // ---- ICD-10 readiness -----------------------------------------------------------------

  // Loads the readiness table (or its one-row default) and resets the
  // remembered insurance. True when loaded.
  bool LoadInsReadinessTableArray();
  // Sets the ICD-10 ready date for the insurance (kept when the insurance is
  // the one it was last computed for).
  void FetchInsICD10ReadyDate(const std::string& payer_org, const std::string& ins_ih_code);
  // Closes the gaps among the five ICD-9 slots of the charge, decides its
  // DiagnosisCodeSet ("9" or "10") and copies the chosen set into Diagnosis1
  // to Diagnosis6. Dates are compared against the given (This) insurance.
  void ChooseDiagnosisCodeSet(Record& charge, const Record& insurance);

 private:
  // The shared connection; raises 3704 when none is open.
  DbConnection& SharedDb();
  // Queues component name + what + the error text with severity nr.
  void QueueRefError(int16_t nr, std::string_view what, const RtError& e);
  bool LoadNpiLegacyFromDb();
  void LoadNpiLegacyFromFile();

  Context& cx_;
  std::string form_code_;
  std::string connection_string_;
  RefState st_;
};

}  // namespace ub04
