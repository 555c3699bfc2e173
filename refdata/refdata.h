// Reference data from the host's database: the connection and the lookups
// the parsers, the claim state and the form boxes call.
#pragma once

#include <cstdint>
#include <string>

#include "host/runtime.h"
#include "records/record.h"

namespace ub04 {

// Opens the connection of the current connection string (host message
// "CONNECTIONSTRING"), then loads the NPI legacy dates and the ICD-10
// readiness table.
void ConnectToDatabase();
// Closes an open connection (instance destruction).
void CloseDatabaseConnection();

// The alternate billing NPI of a practice, provider and insurance, or "".
std::string FetchAlternatePracticeNPIFromDB(const std::string& practice_ih_code,
                                            const std::string& provider_ih_code,
                                            const std::string& insurance_ih_code);
// Replaces the practice name and address with the stored original ones.
// True when done (also when nothing was found), False after an error.
bool FetchOriginalPracticeAddress(Record& practice);

// Primes the other-insurance billing IDs for a new claim.
void ClearOtherInsIDArrays(const std::string& practice_ih_code, const std::string& billing_form,
                           const std::string& default_id);
std::string FetchOInsPracticeBillingIDFromArray(const std::string& insurance_ih_code);

// Recomputes the NPI legacy dates (and NpiOnly) for a new insurance.
void FetchNPILegacyDates(const std::string& payer_org, const std::string& insurance_ih_code,
                         Date bill_form_date);

}  // namespace ub04
