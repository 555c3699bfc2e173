// Placeholder reference data: no database. Replaced as the database layer
// lands.
#include "refdata/refdata.h"

namespace ub04 {

int16_t ConnectToDatabase() { return 0; }
void CloseDatabaseConnection() {}
void ClearOtherInsIDArrays(const std::string&, const std::string&, const std::string&) {}

}  // namespace ub04
