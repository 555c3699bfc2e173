// Reference data from the host's database.
#pragma once

#include <cstdint>
#include <string>

namespace ub04 {

// Opens the connection of the current connection string (host message
// "CONNECTIONSTRING"). 0, or 3 after a queued failure.
int16_t ConnectToDatabase();
// Closes an open connection (instance destruction).
void CloseDatabaseConnection();
// Primes the other-insurance billing IDs for a new claim.
void ClearOtherInsIDArrays(const std::string& practice_ih_code, const std::string& key0,
                           const std::string& practice_field16);

}  // namespace ub04
