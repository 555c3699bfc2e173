// The run's one database connection: opening it with the table-owner retry,
// the probe, the date tables loaded at start, and the schema test.
#include "host/run_state.h"
#include "refdata/connection_string.h"
#include "refdata/db_cursor.h"
#include "refdata/ref_internal.h"
#include "refdata/refdata.h"

namespace ub04 {

std::string OwnedTable(const char* name) {
  return Rs().ref.owner_prefix ? std::string("[KRV_TABLES].") + name : std::string(name);
}

void ConnectToDatabase() {
  RefState& ref = Rs().ref;
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
  if (Rs().connection_string.empty()) return;
  OpenInitialDBConnection();
  if (!ref.db_connection_good) {
    ref.owner_prefix = false;
    OpenInitialDBConnection();
  }
}

DbConnection& SharedDb() {
  RefState& ref = Rs().ref;
  if (!ref.db) Raise(kErrNotConnected, "No database connection is open");
  return *ref.db;
}

void QueueRefError(int16_t nr, std::string_view what, const RtError& e) {
  AddToMessageArray(nr, MaskPassword(ComponentName() + std::string(what) + ErrorText(e),
                                     Rs().connection_string));
}

void OpenInitialDBConnection() {
  RunState& rs = Rs();
  if (rs.connection_string.empty()) return;
  try {
    Guard([&] {
      rs.ref.db.reset();
      rs.ref.db = OpenDatabase(rs.connection_string);
      auto rows = rs.ref.db->Query("SELECT IH_CODE FROM " + OwnedTable("PRACTICE"), {});
      for (; !rows->Eof(); rows->MoveNext()) rows->Field("IH_CODE");
    });
    rs.ref.db_connection_good = true;
  } catch (const RtError& e) {
    // A connection whose probe failed is not kept: the lookups see no
    // database rather than one that answers some tables and not others.
    rs.ref.db.reset();
    QueueRefError(3, " had a problem in OpenInitialDBConnection()  Error:", e);
    return;
  }
  LoadNPILegacyDateArray();
  LoadInsReadinessTableArray();
}

void CloseDatabaseConnection() {
  RefState& ref = Rs().ref;
  ref.db.reset();
  ref.db_connection_good = false;
}

bool DoesTableExistInSchema(const std::string& table_name) {
  try {
    return Guard([&] {
      auto rows = SharedDb().Query(
          "SELECT COUNT(*) AS \"ROWCOUNT\" FROM sys.tables WHERE name = ?", {table_name});
      return !rows->Eof() && LeadingNumber(rows->Field("ROWCOUNT")) > 0;
    });
  } catch (const RtError& e) {
    QueueRefError(3, " DoesTableExistInSchema Error:", e);
    return false;
  }
}

}  // namespace ub04
