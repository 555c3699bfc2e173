// Reference data from the host's database: the connection and the lookups
// the parsers, the claim state and the form boxes call.
//
// Every procedure here traps its own errors: it queues its message (or, where
// a lookup is silent, returns "") and never raises to its caller.
#pragma once

#include <cstdint>
#include <string>

#include "host/runtime.h"
#include "records/record.h"

namespace ub04 {

// ---- connection ---------------------------------------------------------------

// Opens the connection of the current connection string (host message
// "CONNECTIONSTRING"), first with the "[KRV_TABLES]." owner and, when that
// fails, without it; then loads the NPI legacy dates and the ICD-10
// readiness table. A previous connection is closed first.
void ConnectToDatabase();
// One attempt with the current owner prefix: open, probe PRACTICE, load the
// date tables. Does nothing without a connection string.
void OpenInitialDBConnection();
// Closes an open connection (instance destruction).
void CloseDatabaseConnection();
// True when the database lists a table of that name in sys.tables.
bool DoesTableExistInSchema(const std::string& table_name);
// name with the table-owner prefix in force ("[KRV_TABLES].name" or "name").
std::string OwnedTable(const char* name);

// ---- practice identity ------------------------------------------------------------

// The alternate billing NPI of a practice, provider and insurance, or "".
std::string FetchAlternatePracticeNPIFromDB(const std::string& practice_ih_code,
                                            const std::string& provider_ih_code,
                                            const std::string& insurance_ih_code);
// Replaces the practice name and address with the stored original ones.
// True when done (also when nothing was found), False after an error.
bool FetchOriginalPracticeAddress(Record& practice);

// ---- other-insurance billing IDs ------------------------------------------------------

// Primes the other-insurance billing IDs for a new claim.
void ClearOtherInsIDArrays(const std::string& practice_ih_code, const std::string& billing_form,
                           const std::string& default_id);
std::string FetchOInsPracticeBillingIDFromArray(const std::string& insurance_ih_code);
std::string FetchOInsPracticeBillingIDFromDB(const std::string& insurance_ih_code);

// ---- NPI legacy dates --------------------------------------------------------------------

// Loads the cut-over dates from the database (when connected) or else from
// FOLIO_CFG_NPICMS.DAT in the component's folder.
void LoadNPILegacyDateArray();
// Recomputes the NPI legacy dates (and NpiOnly) for a new insurance. Without
// a loaded table the file is loaded first.
void FetchNPILegacyDates(const std::string& payer_org, const std::string& insurance_ih_code,
                         Date bill_form_date);
// The form prints NPIs only (Rs().ref.npi_only).
bool NpiOnly();
// The folder FOLIO_CFG_NPICMS.DAT is read from: the override in the run
// state when set, else the folder of the loaded component.
std::string ComponentFolder();

// ---- ICD-10 readiness -------------------------------------------------------------------------

// Loads the readiness table (or its one-row default) and resets the
// remembered insurance. True when loaded.
bool LoadInsReadinessTableArray();

}  // namespace ub04
