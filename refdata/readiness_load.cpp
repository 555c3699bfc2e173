// Loading the ICD-10 readiness table: the dates from which each payer takes
// ICD-10 diagnoses, read once per connection from InsuranceReadiness (owner
// dbo). A database without that table gets one standard row instead.
#include "refdata/ref_dates.h"
#include "refdata/refdata.h"

namespace ub04 {

bool RefData::LoadInsReadinessTableArray() {
  RefState& ref = st_;
  try {
    Guard([&] {
      ref.readiness.clear();
      if (DoesTableExistInSchema("InsuranceReadiness")) {
        ref.icd10_readiness_note = "InsuranceReadiness table is in the db schema\r\n";
        auto rows = SharedDb().Query(
            "SELECT InsuranceLevelTypeID, LevelCode, ICD10ReadinessDate FROM "
            "[dbo].InsuranceReadiness Order by InsuranceLevelTypeID, LevelCode ",
            {});
        for (; !rows->Eof(); rows->MoveNext()) {
          ReadinessEntry e;
          e.level_type = UpperAscii(rows->Field("InsuranceLevelTypeID"));
          e.level_code = UpperAscii(rows->Field("LevelCode"));
          e.ready_date = RefDateFromText(rows->Field("ICD10ReadinessDate"));
          ref.readiness.push_back(std::move(e));
          if (ref.readiness.size() == 1)
            ref.icd10_readiness_note = ">> Global ICD10 Readiness Date figured is: " +
                                       DateText(ref.readiness[0].ready_date) + "\r\n";
        }
      } else {
        ref.icd10_readiness_note =
            "InsuranceReadiness table is not in db schema yet. Defaulting icd10 global date to "
            "12-31-2017\r\n";
        ref.readiness.push_back(ReadinessEntry{"1", "SYSTEM", DateFromYmd(2017, 12, 31)});
      }
    });
  } catch (const RtError& e) {
    QueueRefError(kNote, " LoadInsReadinessTableArray  Error:", e);
    ref.icd10_ready_ins_code = "?";
    return false;
  }
  ref.icd10_ready_ins_code = "?";
  return true;
}

}  // namespace ub04
