// The run's one database connection: opening it with the table-owner retry,
// the probe, the date tables loaded at start, and the schema test.
#include "refdata/connection_string.h"
#include "refdata/database.h"
#include "refdata/db_cursor.h"
#include "refdata/refdata.h"

namespace ub04 {

std::string RefData::OwnedTable(const char* name) const {
  return st_.owner_prefix ? std::string("[KRV_TABLES].") + name : std::string(name);
}

void RefData::ConnectToDatabase(const std::string& connection_string) {
  RefState& ref = st_;
  connection_string_ = connection_string;
  // A new connection starts over: the previous one is closed, and the date
  // tables it loaded go with it, so a failed connection leaves the file and
  // the standard dates in charge.
  ref.db.reset();
  ref.db_connection_good = false;
  ref.owner_prefix = true;
  ref.npi_legacy.clear();
  ref.npi_legacy_loaded = false;
  ref.npi_legacy_note.clear();
  ref.readiness.clear();
  ref.icd10_readiness_note.clear();
  ref.icd10_ready_ins_code = "?";
  if (connection_string_.empty()) return;
  // The tables are looked for under their owner first, then without it;
  // the first attempt's failure is an error only when the second fails too.
  const int32_t before = cx_.queue.Count();
  OpenInitialDBConnection();
  if (!ref.db_connection_good) {
    const int32_t first_attempt = cx_.queue.Count();
    ref.owner_prefix = false;
    OpenInitialDBConnection();
    if (ref.db_connection_good) cx_.queue.Downgrade(before + 1, first_attempt, 3, 2);
  }
}

DbConnection& RefData::SharedDb() {
  RefState& ref = st_;
  if (!ref.db) Raise(kErrNotConnected, "No database connection is open");
  return *ref.db;
}

void RefData::QueueRefError(int16_t nr, std::string_view what, const RtError& e) {
  cx_.Queue(nr, MaskPassword(ErrorMessage(cx_.component_name, what, e), connection_string_));
}

void RefData::OpenInitialDBConnection() {
  if (connection_string_.empty()) return;
  try {
    Guard([&] {
      st_.db.reset();
      st_.db = OpenDatabase(connection_string_);
      auto rows = st_.db->Query("SELECT IH_CODE FROM " + OwnedTable("PRACTICE"), {});
      for (; !rows->Eof(); rows->MoveNext()) rows->Field("IH_CODE");
    });
    st_.db_connection_good = true;
  } catch (const RtError& e) {
    // A connection whose probe failed is not kept: the lookups see no
    // database rather than one that answers some tables and not others.
    st_.db.reset();
    QueueRefError(kError, " had a problem in OpenInitialDBConnection()  Error:", e);
    return;
  }
  LoadNPILegacyDateArray();
  LoadInsReadinessTableArray();
}

void RefData::CloseDatabaseConnection() {
  RefState& ref = st_;
  ref.db.reset();
  ref.db_connection_good = false;
}

bool RefData::DoesTableExistInSchema(const std::string& table_name) {
  try {
    return Guard([&] {
      auto rows = SharedDb().Query(
          "SELECT COUNT(*) AS \"ROWCOUNT\" FROM sys.tables WHERE name = ?", {table_name});
      return !rows->Eof() && LeadingNumber(rows->Field("ROWCOUNT")) > 0;
    });
  } catch (const RtError& e) {
    // A database without that catalogue (another engine behind the data
    // source) is asked for the table itself, by the owner's name the tables
    // of this kind are read by: a query of no rows that answers means the
    // table is there. The catalogue's failure is then only worth a warning.
    QueueRefError(kWarning, " DoesTableExistInSchema Error:", e);
    try {
      SharedDb().Query("SELECT * FROM [dbo]." + table_name + " WHERE 1 = 0", {});
      return true;
    } catch (const RtError&) {
      return false;
    }
  }
}

}  // namespace ub04
