// Practice identity overrides: the alternate billing NPI of a practice,
// provider, form and insurance, and the practice's own name and address.
#include "records/layouts.h"
#include "refdata/refdata.h"

namespace ub04 {

std::string RefData::FetchAlternatePracticeNPIFromDB(const std::string& practice_ih_code,
                                            const std::string& provider_ih_code,
                                            const std::string& insurance_ih_code) {
  // No database: nothing to find (asked once for every insurance record).
  if (!st_.db) return "";
  try {
    return Guard([&] {
      // Descending order puts the exact billing form before the empty one
      // and, within it, the exact insurance before the empty one.
      std::string sql = "SELECT * From " + OwnedTable("Folio_MultiNPI ") +
                        " WHERE Practice_IH_Code = ? "
                        "AND Provider_IH_Code = ? "
                        "AND ( Billing_Form = ? OR Billing_Form = '') "
                        "AND ( Insurance_IH_Code = ? OR Insurance_IH_Code = '') "
                        "ORDER BY Practice_IH_Code, Provider_IH_Code, Billing_Form DESC, "
                        "Insurance_IH_Code DESC";
      auto rows = SharedDb().Query(
          sql, {practice_ih_code, provider_ih_code, form_code_, insurance_ih_code});
      return rows->Eof() ? std::string() : rows->Field("Alternate_NPI");
    });
  } catch (const RtError&) {
    return "";  // the practice's own NPI stays; the host is not told
  }
}

bool RefData::FetchOriginalPracticeAddress(Record& practice) {
  if (connection_string_.empty()) return true;
  try {
    Guard([&] {
      // A fresh connection replaces the shared one once it is open.
      st_.db = OpenDatabase(connection_string_);
      std::string sql =
          "SELECT Name, Address_Line_1, Address_Line_2, City, State, Zip_Code FROM " +
          OwnedTable("PRACTICE") + " p Join " + OwnedTable("COMPANY") +
          " c ON c.Company_ID_Number = p.Company_ID_Number WHERE p.IH_Code = ?";
      auto rows = SharedDb().Query(sql, {practice[practice::IhCode]});
      if (rows->Eof()) return;
      practice[practice::OriginalName] = practice[practice::Name];
      practice[practice::OriginalAddressLine1] = practice[practice::AddressLine1];
      practice[practice::OriginalAddressLine2] = practice[practice::AddressLine2];
      practice[practice::OriginalCity] = practice[practice::City];
      practice[practice::OriginalState] = practice[practice::State];
      practice[practice::OriginalZipCode] = practice[practice::ZipCode];
      practice[practice::OriginalCountry] = practice[practice::Country];
      static constexpr struct {
        size_t member;
        const char* column;
      } kFetched[] = {
          {practice::Name, "Name"},   {practice::AddressLine1, "Address_Line_1"},
          {practice::AddressLine2, "Address_Line_2"}, {practice::City, "City"},
          {practice::State, "State"}, {practice::ZipCode, "Zip_Code"},
      };
      for (const auto& f : kFetched) practice[f.member] = UpperAscii(rows->Field(f.column));
    });
    return true;
  } catch (const RtError& e) {
    QueueRefError(kError, " FetchOriginalPracticeAddress   Error:", e);
    return false;
  }
}

}  // namespace ub04
