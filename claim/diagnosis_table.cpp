#include "claim/diagnosis_table.h"

#include "claim/claim_env.h"
#include "claim/claim_tables.h"
#include "base/msgbox.h"
#include "records/layouts.h"

namespace ub04 {

namespace {

constexpr int kPairsPerCharge = 5;

// The chosen diagnosis code k (1 to 5) of a charge, and its companion.
const std::string& Code(const Record& charge, int k) {
  return charge[charge::Diagnosis1 + static_cast<size_t>(2 * (k - 1))];
}
const std::string& Companion(const Record& charge, int k) {
  return charge[charge::Diagnosis1Companion + static_cast<size_t>(2 * (k - 1))];
}

void UseSettingWhenUnset(ClaimEnv& env, int16_t& iCount) {
  if (iCount < 1) iCount = env.cs.diags_per_charge;
}


}  // namespace

int16_t GetIndexForDiagnosis(ClaimEnv& env, const std::string& code) {
  try {
    return Guard([&]() -> int16_t {
      if (code.empty()) {
        env.cx.log.Line("GetIndexForDiagnosis()  index = 0  (strCode is blank)");
        return 0;
      }
      const auto& diag = env.cs.diag;
      for (size_t i = 0; i < diag.size(); ++i) {
        if (diag[i].code != code) continue;
        auto pos = static_cast<int16_t>(i + 1);
        env.cx.log.Joined({"GetIndexForDiagnosis() ", code, " index = ", SignNum(pos)});
        return pos;
      }
      return 0;
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" GetIndexForDiagnosis() Error: ", e);
    // Not found rather than a made-up position: a detail line must never
    // point at somebody else's diagnosis.
    return 0;
  }
}

bool DoesDiagnosisCauseOverflow(ClaimEnv& env, int16_t& iCount) {
  try {
    return Guard([&] {
      UseSettingWhenUnset(env, iCount);
      env.cx.log.Line("DoesDiagnosisCauseOverflow()");
      int16_t open = 0;
      for (const DiagnosisEntry& d : env.cs.diag)
        if (d.code.empty()) ++open;
      int16_t need = 0;
      const Record& charge = env.cs.this_group.charge;
      for (int k = 1; k <= kPairsPerCharge && k <= iCount; ++k) {
        const std::string& code = Code(charge, k);
        if (!code.empty() && GetIndexForDiagnosis(env, code) == 0) ++need;
      }
      bool overflow = need > open;
      env.cx.log.Joined({"  iNeed = ", SignNum(need), "  iOpen = ", SignNum(open)});
      env.cx.log.Joined({"DoesDiagnosisCauseOverFlow = ", BoolText(overflow)});
      return overflow;
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" DoesDiagnosisCauseOverflow() Error: ", e, kQueueIt | kShowBox);
    return false;
  }
}

int16_t AddToDiagnosisArray(ClaimEnv& env, int16_t& iCount) {
  try {
    return Guard([&]() -> int16_t {
      UseSettingWhenUnset(env, iCount);
      auto& diag = env.cs.diag;
      const auto size = static_cast<int16_t>(diag.size());
      int16_t next = 1;
      while (next <= size && !diag[static_cast<size_t>(next - 1)].code.empty()) ++next;
      env.cx.log.Joined({"AddToDiagnosisArray() iNext = ", SignNum(next), " (1 based)"});
      const Record& charge = env.cs.last_group.charge;
      const int pairs = iCount > 4 ? 5 : 4;
      for (int k = 1; k <= pairs; ++k) {
        const std::string& code = Code(charge, k);
        if (code.empty() || GetIndexForDiagnosis(env, code) != 0 || next > size) continue;
        diag[static_cast<size_t>(next - 1)] = DiagnosisEntry{code, Companion(charge, k)};
        ++next;
      }
      return 0;
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" AddToDiagnosisArray() Error: ", e);
    return kFailed;
  }
}

}  // namespace ub04
