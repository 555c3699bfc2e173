// The end of a page: line 23 (totals), the payer-line amounts of boxes 54
// and 55, value codes A1 and A2, and the patient status of box 17. The
// claim members are cleared afterwards, so the next claim starts afresh.
#include <string_view>
#include <utility>

#include "form/boxes.h"
#include "form/claim_writer.h"
#include "form/form_positions.h"

namespace ub04 {

namespace {

void WriteTotalsLine(const Page& page) {
  page.Put("001", pos::kRevenueCodeX, pos::kTotalsY);
  page.Put("1", 1.15f, pos::kPageNumberY);  // page 1
  page.Put("1", 1.75f, pos::kPageNumberY);  // of 1
  page.Put(FormatMmddyy(Today()), pos::kServiceDateX, pos::kTotalsY);
  page.Put(page.AmountText(page.tables.totals.TotalCharges), pos::kChargesX, pos::kTotalsY, 1);
}

// CalcPref token 4 chooses what the prior payers' lines take off the
// charges; an unknown choice gives -1.
Currency AmountDue(const Page& page) {
  const PageTotals& t = page.tables.totals;
  const std::string& how = page.calc_pref()[calc_pref::Field04];
  if (how == "1") return t.TotalCharges - t.TotalInsPaid;
  if (how == "2") return t.TotalCharges - t.TotalInsPaid - t.TotalInsWriteOff;
  if (how == "3") return t.TotalCharges - t.TotalInsPaid - t.TotalInsWriteOff - t.TotalLineAdjust;
  return Currency::FromScaled(-10000);
}

// Box 55 on the billed payer's line; box 54 the prior payers' payments
// (Other insurance 1 and 2, token 22) on the lines above it.
void WritePayerLineAmounts(const Page& page, const std::string& due_text) {
  int row = page.payer_row();
  if (row < 0) return;
  page.Put(due_text, pos::kAmountDueX, pos::kPayerAmountRowY[static_cast<size_t>(row)], 1);
  for (int k = 1; k <= row; ++k)
    page.Put(page.AmountText(Currency::FromText(page.oins(k)[oinsurance::Field22])),
        pos::kPriorPaymentX, pos::kPayerAmountRowY[static_cast<size_t>(k - 1)], 1);
}

// A1: the first prior payer's deductible; A2: the amount still due. Only on
// claims to a payer after the first.
void WriteSecondaryValueCodes(Page& page, const std::string& due_text) {
  if (page.payer_sequence() == "1") return;
  const std::string& deductible = page.oins(1)[oinsurance::Field73];
  if (LeadingNumber(deductible) != 0) WriteValueCode(page, ++page.value_code_count, "A1", deductible);
  if (!page.tables.totals.AmountDue.IsZero())
    WriteValueCode(page, ++page.value_code_count, "A2", due_text);
}

// Patient-status markers of the claim code list, in search order.
constexpr std::pair<std::string_view, std::string_view> kStatusMarkers[] = {
    {"~PS-01~", "01"}, {"~PS-02~", "02"}, {"~PS-03~", "03"}, {"~PS-04~", "04"},
    {"~PS-05~", "05"}, {"~PS-06~", "06"}, {"~PS-07~", "07"}, {"~PS-08~", "08"},
    {"~PS-09~", "09"}, {"~PS-20~", "20"}, {"~PS-30~", "30"}, {"~PS-40~", "40"},
    {"~PS-41~", "41"}, {"~PS-42~", "42"}, {"~PS-43~", "43"}, {"~PS-50~", "50"},
    {"~PS-51~", "51"}, {"~PS-61~", "61"}, {"~PS-62~", "62"}, {"~PS-63~", "63"},
    {"~PS-64~", "64"}, {"~PS-65~", "65"}, {"~PS-66~", "66"}, {"~PS-70~", "70"},
    {"~PS-71~", "71"}, {"~PS-72~", "72"}, {"~PS0~", "30"},   {"~PS1~", "20"},
    {"~PS2~", "02"},   {"~PS3~", "03"},   {"~PS4~", "04"},   {"~PS5~", "05"},
    {"~PS6~", "01"},   {"~PS7~", "07"},   {"~PS8~", "08"},   {"~PS9~", "05"},
    {"~PS10~", "  "},
};

// Box 17. A payer default (Insurance token 14 holding a "~PS-" marker, or a
// two-character token 23) applies when no charge carried a status.
void PatientStatusBox17(Page& page) {
  std::string& codes = page.tables.totals.ClaimCodeList;
  const Record& ins = page.insurance();
  std::string status;
  if (InStr(codes, "~PS-") == 0) {
    const std::string& payer_markers = ins[insurance::Field14];
    const std::string& payer_status = ins[insurance::Field23];
    if (InStr(payer_markers, "~PS-") > 0) {
      codes += "~" + payer_markers + "~";
    } else if (payer_status.size() == 2) {
      status = payer_status;
      if (InStr(payer_status, "PS-") > 0) codes += "~" + payer_status + "~";
    }
  }
  if (status.empty()) {
    for (const auto& [marker, code] : kStatusMarkers) {
      if (InStr(codes, marker) > 0) {
        status = code;
        break;
      }
    }
  }
  page.Put(status, 3.2f, pos::kAdmissionRowY);
}

}  // namespace

void WriteTotals(Page& page) {
  try {
    Guard([&] {
      page.log().Line("WriteTotals()");
      WriteTotalsLine(page);
      page.tables.totals.AmountDue = AmountDue(page);
      std::string due_text = page.AmountText(page.tables.totals.AmountDue);
      page.log().Line("Box 54 and 55");
      WritePayerLineAmounts(page, due_text);
      WriteSecondaryValueCodes(page, due_text);
      PatientStatusBox17(page);
    });
  } catch (const RtError& e) {
    ReportWriterError(page.env.cx, " WriteTotals() ", e);
  }
  ClaimEnv claim = page.env.claim();
  EmptyPageTotalStruct(claim, page.tables);
}

}  // namespace ub04
