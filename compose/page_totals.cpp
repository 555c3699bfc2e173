// The end of a page: line 23 (the page's number of the claim's pages, the
// creation date, and on the claim's last page revenue code 0001 with the
// claim's total), the payer-line amounts of boxes 54 and 55 (last page),
// value codes A1 and A2 (boxes 39 to 41, the claim's, on every page), and
// the patient status of box 17. After the last page the claim members are
// cleared, so the next claim starts afresh. Positions are the pos::kLine23
// and pos::kBoxNN names of form_positions.h.
#include <string_view>
#include <utility>

#include "compose/boxes.h"
#include "compose/claim_writer.h"
#include "form/form_positions.h"

namespace ub04 {

namespace {

// Line 23: revenue code 0001 (last page), "page n of m", the creation date
// and the claim's total charges (last page), in the columns of boxes 42,
// 45 and 47.
void Line23Totals(const Page& page) {
  ClaimRecord& rec = page.record();
  rec.creation_date = FormatMmddyy(Today());
  rec.total_charges = page.tables.totals.TotalCharges;
  if (page.last_page()) page.Put("0001", pos::kBox42RevenueCodeX, pos::kLine23Y);
  page.Put(PlainNum(page.number), pos::kLine23PageX, pos::kLine23PageNumberY);
  page.Put(PlainNum(page.count), pos::kLine23PageOfX, pos::kLine23PageNumberY);
  page.Put(rec.creation_date, pos::kBox45ServiceDateX, pos::kLine23Y);
  if (page.last_page())
    page.PutAmount(page.AmountText(rec.total_charges), pos::kBox47ChargesX, pos::kLine23Y);
}

// CalcPref token 4 chooses what the prior payers' lines take off the
// charges; an unknown choice gives -1.
Currency AmountDue(const Page& page) {
  const PageTotals& t = page.tables.totals;
  const std::string& how = page.calc_pref()[calc_pref::AmountDueRule];
  page.record().amount_due_rule = how;
  if (how == "1") return t.TotalCharges - t.TotalInsPaid;
  if (how == "2") return t.TotalCharges - t.TotalInsPaid - t.TotalInsWriteOff;
  if (how == "3") return t.TotalCharges - t.TotalInsPaid - t.TotalInsWriteOff - t.TotalLineAdjust;
  return Currency::FromScaled(-10000);
}

// Boxes 54 and 55: box 55 (amount due) on the billed payer's line, then box
// 54, on the lines above it, what each prior payer (Other insurance 1 and
// 2) paid for the claim: its payments (token 22) over the claim's lines,
// the sum box 55's amount took off.
void Boxes54And55PayerAmounts(const Page& page, const std::string& due_text) {
  int row = page.payer_row();
  if (row < 0) return;
  ClaimPayer& billed = page.record().payers[static_cast<size_t>(row)];
  billed.has_amount_due = true;
  billed.amount_due = page.tables.totals.AmountDue;
  page.PutAmount(due_text, pos::kBox55AmountDueX, pos::kBoxes54And55RowY[static_cast<size_t>(row)]);
  for (int k = 1; k <= row; ++k) {
    ClaimPayer& prior = page.record().payers[static_cast<size_t>(k - 1)];
    prior.has_prior_payments = true;
    prior.prior_payments = Currency{};
    for (const DetailEntry& e : page.tables.detail)
      if (e.used == "Y") prior.prior_payments += e.oins_paid[static_cast<size_t>(k - 1)];
    page.PutAmount(page.AmountText(prior.prior_payments), pos::kBox54PriorPaymentX,
                   pos::kBoxes54And55RowY[static_cast<size_t>(k - 1)]);
  }
}

// Boxes 39 to 41, value codes A1 (the first prior payer's deductible) and
// A2 (the amount still due), after the page's other value codes. Only on
// claims to a payer after the first.
void Boxes39To41SecondaryValueCodes(Page& page, const std::string& due_text) {
  if (page.payer_sequence() == "1") return;
  const std::string& deductible = page.oins(1)[oinsurance::Deductible];
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

// Box 17: patient status. A payer default (Insurance token 14 holding a
// "~PS-" marker, or a two-character token 23) applies when no charge
// carried a status.
void Box17PatientStatus(Page& page) {
  std::string& codes = page.tables.totals.ClaimCodeList;
  const Record& ins = page.insurance();
  std::string status;
  if (InStr(codes, "~PS-") == 0) {
    const std::string& payer_markers = ins[insurance::PatientStatusMarkers];
    const std::string& payer_status = ins[insurance::PatientStatus];
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
  page.record().patient_status = status;
  page.Put(status, pos::kBox17PatientStatusX, pos::kBoxes10To29Y);
}

}  // namespace

void WriteTotals(Page& page) {
  try {
    Guard([&] {
      page.log().Line("WriteTotals()");
      Line23Totals(page);
      page.tables.totals.AmountDue = AmountDue(page);
      std::string due_text = page.AmountText(page.tables.totals.AmountDue);
      page.log().Line("Box 54 and 55");
      if (page.last_page()) Boxes54And55PayerAmounts(page, due_text);
      Boxes39To41SecondaryValueCodes(page, due_text);
      Box17PatientStatus(page);
    });
  } catch (const RtError& e) {
    ReportWriterError(page, " WriteTotals() ", e);
  }
  if (!page.last_page()) return;  // the claim's members serve its next page
  ClaimEnv claim = page.env.claim();
  EmptyPageTotalStruct(claim, page.tables);
}

}  // namespace ub04
