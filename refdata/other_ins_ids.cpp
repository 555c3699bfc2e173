// Other-insurance billing IDs: a per-practice cache of the payer-specific
// billing identifiers (Insurance_Override, kind 1609), keyed by insurance IH
// code, primed whenever the practice changes and filled from the database
// on a miss. "*" is the wildcard in every key column of the table and the
// cache's key for the practice-wide identifier.
#include "refdata/refdata.h"

namespace ub04 {

namespace {

constexpr size_t kOtherInsSlotsStep = 20;

}  // namespace

void RefData::ClearOtherInsIDArrays(const std::string& practice_ih_code, const std::string& billing_form,
                           const std::string& default_id) {
  RefState& ref = st_;
  try {
    Guard([&] {
      ref.other_ins_practice = practice_ih_code;
      ref.other_ins_billing_form = billing_form;
      if (!ref.db_connection_good) return;
      if (ref.other_ins.empty()) ref.other_ins.resize(kOtherInsSlotsStep);
      for (OtherInsSlot& s : ref.other_ins) s = OtherInsSlot{};
      FetchOInsPracticeBillingIDFromArray("*");  // fills slot 1
      OtherInsSlot& first = ref.other_ins[0];
      if (first.key == "*" && first.value.empty()) first.value = default_id;
    });
  } catch (const RtError& e) {
    QueueRefError(kError, " ClearOtherInsIDArrays    Error:", e);
  }
}

std::string RefData::FetchOInsPracticeBillingIDFromArray(const std::string& insurance_ih_code) {
  RefState& ref = st_;
  std::string result;
  try {
    Guard([&] {
      // A cache never primed counts as empty.
      if (ref.other_ins.empty()) ref.other_ins.resize(kOtherInsSlotsStep);
      std::string wildcard;
      size_t i = 0;
      for (; i < ref.other_ins.size(); ++i) {
        const OtherInsSlot& s = ref.other_ins[i];
        if (s.key.empty()) break;  // the first free slot
        if (s.key == "*") wildcard = s.value;
        if (s.key == insurance_ih_code) {
          result = s.value;
          return;
        }
      }
      // The last slot stays free so a walk always ends on one.
      if (i + 1 >= ref.other_ins.size())
        ref.other_ins.resize(ref.other_ins.size() + kOtherInsSlotsStep);
      result = FetchOInsPracticeBillingIDFromDB(insurance_ih_code);
      if (result.empty()) result = wildcard;
      ref.other_ins[i] = OtherInsSlot{insurance_ih_code, result};
    });
  } catch (const RtError& e) {
    QueueRefError(kError, " FetchOInsPracticeBillingIDFromArray    Error:", e);
  }
  return result;
}

std::string RefData::FetchOInsPracticeBillingIDFromDB(const std::string& insurance_ih_code) {
  RefState& ref = st_;
  std::string result;
  if (!ref.db) return result;  // no database: nothing to find
  try {
    Guard([&] {
      // Exact keys sort above "*", and the latest activation first.
      std::string sql =
          "SELECT SysType,SysKey,Practice_IH_Code,Insurance_IH_Code,Billing_Form,Override_Value "
          "From " +
          OwnedTable("Insurance_Override ") +
          " WHERE SysType = 1609 "
          " AND ( SysKey = ? OR SysKey = '*') "
          "AND ( Insurance_IH_Code = ? OR Insurance_IH_Code = '*') "
          "AND ( Billing_Form = ? OR Billing_Form = '*') "
          "AND ( Practice_IH_Code = ? OR Practice_IH_Code = '*') "
          "ORDER BY Billing_Form DESC, Practice_IH_Code DESC, Insurance_IH_Code DESC, "
          "Activation_Date DESC";
      auto rows = SharedDb().Query(sql, {ref.other_ins_practice, insurance_ih_code,
                                         ref.other_ins_billing_form, ref.other_ins_practice});
      if (rows->Eof()) return;
      Tokens pieces;
      SplitTokens(rows->Field("Override_Value"), "~", pieces);
      result = pieces.empty() ? std::string() : pieces[0];
    });
  } catch (const RtError& e) {
    QueueRefError(kError, " FetchOInsPracticeBillingIDFromDB    Error:", e);
  }
  return result;
}

}  // namespace ub04
