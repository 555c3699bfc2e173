#include "claim/diagnosis_table.h"

#include "claim/claim_tables.h"
#include "host/msgbox.h"
#include "host/run_log.h"
#include "host/run_state.h"
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

void UseSettingWhenUnset(int16_t& iCount) {
  if (iCount < 1) iCount = Rs().diags_per_charge;
}

std::string Failure(const char* proc, const RtError& e) {
  std::string text = ComponentName() + proc + ErrorText(e);
  AddToMessageArray(3, text);
  return text;
}

}  // namespace

int16_t GetIndexForDiagnosis(const std::string& code) {
  try {
    return Guard([&]() -> int16_t {
      if (code.empty()) {
        LogLine("GetIndexForDiagnosis()  index = 0  (strCode is blank)");
        return 0;
      }
      const auto& diag = Rs().claim.diag;
      for (size_t i = 0; i < diag.size(); ++i) {
        if (diag[i].code != code) continue;
        auto pos = static_cast<int16_t>(i + 1);
        LogJoined({"GetIndexForDiagnosis() ", code, " index = ", SignNum(pos)});
        return pos;
      }
      return 0;
    });
  } catch (const RtError& e) {
    Failure(" GetIndexForDiagnosis() Error: ", e);
    // Not found rather than a made-up position: a detail line must never
    // point at somebody else's diagnosis.
    return 0;
  }
}

bool DoesDiagnosisCauseOverflow(int16_t& iCount) {
  try {
    return Guard([&] {
      UseSettingWhenUnset(iCount);
      LogLine("DoesDiagnosisCauseOverflow()");
      int16_t open = 0;
      for (const DiagnosisEntry& d : Rs().claim.diag)
        if (d.code.empty()) ++open;
      int16_t need = 0;
      const Record& charge = Rs().claim.this_group.charge;
      for (int k = 1; k <= kPairsPerCharge && k <= iCount; ++k) {
        const std::string& code = Code(charge, k);
        if (!code.empty() && GetIndexForDiagnosis(code) == 0) ++need;
      }
      bool overflow = need > open;
      LogJoined({"  iNeed = ", SignNum(need), "  iOpen = ", SignNum(open)});
      LogJoined({"DoesDiagnosisCauseOverFlow = ", BoolText(overflow)});
      return overflow;
    });
  } catch (const RtError& e) {
    ShowMessageBox(Failure(" DoesDiagnosisCauseOverflow() Error: ", e));
    return false;
  }
}

int16_t AddToDiagnosisArray(int16_t& iCount) {
  try {
    return Guard([&]() -> int16_t {
      UseSettingWhenUnset(iCount);
      auto& diag = Rs().claim.diag;
      const auto size = static_cast<int16_t>(diag.size());
      int16_t next = 1;
      while (next <= size && !diag[static_cast<size_t>(next - 1)].code.empty()) ++next;
      LogJoined({"AddToDiagnosisArray() iNext = ", SignNum(next), " (1 based)"});
      const Record& charge = Rs().claim.last_group.charge;
      const int pairs = iCount > 4 ? 5 : 4;
      for (int k = 1; k <= pairs; ++k) {
        const std::string& code = Code(charge, k);
        if (code.empty() || GetIndexForDiagnosis(code) != 0 || next > size) continue;
        diag[static_cast<size_t>(next - 1)] = DiagnosisEntry{code, Companion(charge, k)};
        ++next;
      }
      return 0;
    });
  } catch (const RtError& e) {
    Failure(" AddToDiagnosisArray() Error: ", e);
    return 3;
  }
}

}  // namespace ub04
