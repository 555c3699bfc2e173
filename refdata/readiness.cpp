#include "refdata/readiness.h"
#include "refdata/refdata.h"

#include <array>

#include "base/msgbox.h"
#include "base/text_util.h"
#include "records/layouts.h"
#include "refdata/ref_dates.h"

namespace ub04 {

namespace {

// ICD-9 slot k (1 to 5): tokens 27, 28 (the code), 29 of its triple and
// token 108 + k, which move together when the gaps are closed.
std::array<size_t, 4> Icd9Slot(int k) {
  size_t d = static_cast<size_t>(3 * (k - 1));
  return {charge::Icd9Lead1 + d, charge::Icd9Code1 + d, charge::Icd9Companion1 + d,
          charge::Icd9Trailer1 + static_cast<size_t>(k - 1)};
}

void CloseIcd9Gaps(Record& ch) {
  bool moved = true;
  while (moved) {
    moved = false;
    for (int k = 1; k <= 4; ++k) {
      auto lower = Icd9Slot(k), higher = Icd9Slot(k + 1);
      if (!ch[lower[1]].empty() || ch[higher[1]].empty()) continue;
      for (size_t i = 0; i < lower.size(); ++i) {
        ch[lower[i]] = std::move(ch[higher[i]]);
        ch[higher[i]].clear();
      }
      moved = true;
    }
  }
}

// The five codes of a set, each trimmed, run together.
std::string JoinedCodes(const Record& ch, size_t first_code, size_t step) {
  std::string all;
  for (size_t k = 0; k < 5; ++k) all += Trim(ch[first_code + step * k]);
  return all;
}

}  // namespace

Date DefaultIcd10ReadyDate() { return DateFromYmd(2014, 10, 1); }

void RefData::FetchInsICD10ReadyDate(const std::string& payer_org, const std::string& ins_ih_code) {
  RefState& ref = st_;
  try {
    Guard([&] {
      if (ins_ih_code == ref.icd10_ready_ins_code) {
        cx_.log.Line("ICD10 lookup: (same insurance as last charge)");
      } else {
        ref.icd10_ready_ins_code = ins_ih_code;
        ref.icd10_ready_date = kDateNotSet;
        Date standard = DefaultIcd10ReadyDate();
        Date payer_org_date = kDateNotSet;
        for (const ReadinessEntry& e : ref.readiness) {
          if (e.level_type.empty()) break;
          if (e.level_type == "1") {
            standard = e.ready_date;
          } else if (e.level_type == "2") {
            if (Left(payer_org, static_cast<long long>(e.level_code.size())) == e.level_code)
              payer_org_date = e.ready_date;
          } else if (e.level_type == "3" && e.level_code == ins_ih_code) {
            ref.icd10_ready_date = e.ready_date;
            break;
          }
        }
        cx_.log.Line("PayorOrg, InsIHCode: " + payer_org + "," + ins_ih_code);
        cx_.log.Line(" >> ICD10 Readiness Dates   ICD10Ready_StandardDate: " + DateText(standard));
        cx_.log.Line(" >> ICD10 Readiness Dates   ICD10Ready_PayorOrgDate: " + DateText(payer_org_date));
        cx_.log.Line(" >> ICD10 Readiness Dates   g_ICD10Ready_InsIHCodeDate: " +
                DateText(ref.icd10_ready_date));
        if (ref.icd10_ready_date == kDateNotSet) {
          if (payer_org_date != kDateNotSet) {
            ref.icd10_ready_date = payer_org_date;
            cx_.log.Line("got ICD10 readydate from PayorOrg record");
          } else {
            ref.icd10_ready_date = standard;
            cx_.log.Line("got ICD10 readydate from global icd10 date");
          }
        }
      }
      cx_.log.Line(">> MostCurrent_ICD10 Readiness Date figured is: " + DateText(ref.icd10_ready_date));
    });
  } catch (const RtError& e) {
    cx_.ReportError(" FetchInsICD10ReadyDate  Error:", e, kShowBox | kQueueIt);
  }
}

void RefData::ChooseDiagnosisCodeSet(Record& ch, const Record& ins) {
  CloseIcd9Gaps(ch);
  std::string& set = ch[charge::DiagnosisCodeSet];
  set = "?";
  std::string icd9 = JoinedCodes(ch, charge::Icd9Code1, 3);
  std::string icd10 = JoinedCodes(ch, charge::Icd10Code1, 2);
  if (icd10.empty()) {
    set = "9";
    cx_.log.Line(">> Diags:  Didn't Have ICD10s");
  }
  if (icd9.empty()) {
    set = "10";
    cx_.log.Line(">> Diags:  Diags:  Didn't Have ICD9s");
  }
  if (icd9.empty() && icd10.empty()) set = "?";

  if (set == "?") {
    FetchInsICD10ReadyDate(ins[insurance::AlternatePayerId], ins[insurance::IhCode]);
    Date service = StringToDate(cx_, ch[charge::ServiceDate], false);
    set = service >= st_.icd10_ready_date ? "10" : "9";
  }

  if (set == "10") {
    for (size_t i = 0; i < 10; ++i) ch[charge::Diagnosis1 + i] = ch[charge::Icd10Code1 + i];
    ch[charge::Diagnosis6] = ch[charge::Icd10Extra];
  } else {
    for (size_t k = 0; k < 5; ++k) {
      ch[charge::Diagnosis1 + 2 * k] = ch[charge::Icd9Code1 + 3 * k];
      ch[charge::Diagnosis1Companion + 2 * k] = ch[charge::Icd9Companion1 + 3 * k];
    }
    ch[charge::Diagnosis6].clear();
  }
}

}  // namespace ub04
