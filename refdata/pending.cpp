// Placeholder reference data: no database. Replaced as the database layer
// lands.
#include "refdata/refdata.h"

namespace ub04 {

void ConnectToDatabase() {}
void CloseDatabaseConnection() {}
std::string FetchAlternatePracticeNPIFromDB(const std::string&, const std::string&,
                                            const std::string&) {
  return "";
}
bool FetchOriginalPracticeAddress(Record&) { return true; }
void ClearOtherInsIDArrays(const std::string&, const std::string&, const std::string&) {}
std::string FetchOInsPracticeBillingIDFromArray(const std::string&) { return ""; }
void FetchNPILegacyDates(const std::string&, const std::string&, Date) {}

}  // namespace ub04
