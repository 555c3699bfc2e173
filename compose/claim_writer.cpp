// Page flow of a claim: a "C" line and the boxes when a page starts, one
// service line (boxes 42 to 47) per detail entry, line 23 and an "N" line
// when it ends. A claim of more lines than a page holds goes on over as
// many pages as it needs, every page with all the boxes but the service
// lines; its total and the payers' amounts come on its last page.
#include "compose/claim_writer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "compose/boxes.h"
#include "form/fmt_file.h"
#include "form/form_positions.h"

namespace ub04 {

namespace {

void LogClaimStart(const Page& page) {
  if (!page.log().Tracing()) return;
  const Record& c = page.charge();
  page.log().Line("WriteClaim()  (last set of diag)=" + c[charge::Diagnosis1] + "," +
          c[charge::Diagnosis2] + "," + c[charge::Diagnosis3] + "," + c[charge::Diagnosis4] +
          "," + c[charge::Diagnosis5]);
  const Record& p = page.patient();
  page.log().Line("Account: " + p[patient::AccountNumber] + " " + Trim(p[patient::LastName]) + ", " +
          Trim(p[patient::FirstName]));
}

// A failure that ends the claim: its message is already queued.
struct ClaimStopped {};

void EndPage(Page& page) {
  WriteTotals(page);
  page.log().Line("WriteNewPage()");
  AppendFormattedLine(page.out.lines, "N", "", 0, 0, 0);
}

void StartPage(Page& page) {
  ++page.number;
  page.value_code_count = 0;
  page.npi_only = page.env.ref.NpiOnly() || PayerTakesNpiOnly(page);
  if (WriteClaimHeader(page) != 0) throw ClaimStopped{};
  WriteAllPageButDetail(page);
}

// Copies text over key from 1-based position start, at most width characters.
void Overlay(std::string& key, size_t start, size_t width, const std::string& text) {
  key.replace(start - 1, std::min(width, text.size()), text, 0, width);
}

std::string UnitsText(float units) {
  double u = units;
  return FormatMask(u, std::floor(u) == u ? "#0" : "#0.0#");
}

}  // namespace

int16_t WriteClaim(FormEnv& env, ClaimTables& tables, ComposedClaim& out) {
  int16_t result = 0;
  Page page = LastClaimPage(env, tables, out);
  if (!tables.detail.empty()) out.first_charge = tables.detail.front().origin;
  for (const DetailEntry& e : tables.detail)
    if (e.used == "Y") out.record.charge_records.push_back({e.origin.record_number, e.origin.last_record});
  try {
    Guard([&] {
      LogClaimStart(page);
      // The claim's total is known before its first page: every page shows
      // the claim's amounts.
      size_t lines = 0;
      for (; lines < tables.detail.size() && tables.detail[lines].used == "Y"; ++lines)
        tables.totals.TotalCharges += tables.detail[lines].charge_amount;
      page.count = static_cast<int32_t>(
          std::max<size_t>(1, (lines + pos::kDetailRowsPerPage - 1) / pos::kDetailRowsPerPage));
      int line_count = 0;
      for (size_t i = 0; i < lines; ++i) {
        ++line_count;
        if (line_count > pos::kDetailRowsPerPage) {
          if (!env.multipage) {
            page.log().Line("HEY HEY HEY  I didn't think I ever got here!!!");
            page.log().Line("-- Detail Loop should not have more than the # of detail lines per page");
          }
          EndPage(page);
          line_count = 1;
        }
        if (line_count == 1) StartPage(page);
        int16_t used = WriteDetailLine(page, CheckInt16(static_cast<long long>(i + 1)),
                                       static_cast<int16_t>(line_count));
        line_count += used - 1;
      }
      EndPage(page);
    });
  } catch (const ClaimStopped&) {
    result = kFailed;  // its message is queued
    if (out.failure.empty()) out.failure = "its page could not be numbered";
  } catch (const RtError& e) {
    env.cx.ReportError(" WriteClaim() ", e, kQueueIt | kKeepAsErrorMsg);
    result = kFailed;
    if (out.failure.empty()) out.failure = "WriteClaim() " + Trim(ErrorText(e));
  }
  // A claim that failed half-way must not leave its totals to the next one.
  ClaimEnv claim = env.claim();
  if (result != 0) EmptyPageTotalStruct(claim, tables);
  EmptyClaimTables(claim, tables);
  page.log().Line("gDiagArray and DetailArray are now Empty");
  return result;
}

int16_t WriteClaimHeader(const Page& page) {
  ClaimRecord& rec = page.record();
  try {
    // The page sequence number and the claims counter both count "C" lines.
    const int32_t before = page.env.pages_written + rec.page_count();
    if (before == std::numeric_limits<int32_t>::max()) Raise(kErrOverflow);
    const int32_t sequence = before + 1;
    const Record& p = page.patient();
    std::string name = p[patient::LastName];
    if (!p[patient::NameSuffix].empty()) name += " " + p[patient::NameSuffix];
    name += ", " + p[patient::FirstName];
    std::string key(61, ' ');
    Overlay(key, 1, 40, name);
    Overlay(key, 41, 10, page.bprovider()[bprovider::IhCode]);
    Overlay(key, 51, 10, page.insurance()[insurance::IhCode]);
    Overlay(key, 61, 1, page.payer_sequence());
    // With claims of several pages, items 3 and 4 of a "C" line tell which
    // page of how many it opens, so a reader can tell claims apart.
    const bool numbered = page.env.multipage;
    AppendFormattedLine(page.out.lines, "C", key, numbered ? static_cast<float>(page.number) : 0,
                        numbered ? static_cast<float>(page.count) : 0, sequence);
    rec.page_sequences.push_back(sequence);
    rec.index_patient = Trim(key.substr(0, 40));
    rec.index_billing_provider = Trim(key.substr(40, 10));
    rec.index_insurance = Trim(key.substr(50, 10));
    rec.payer_sequence = Trim(key.substr(60, 1));
    return 0;
  } catch (const RtError& e) {
    page.env.cx.ReportError(" WriteClaimHeader()  Error: ", e, kQueueIt | kKeepAsErrorMsg);
    return kFailed;
  }
}

float GetYForDetail(const Page& page, int16_t nLineNr) {
  float y = 0;
  if (nLineNr >= 1 && nLineNr <= pos::kDetailRowsPerPage)
    y = pos::kBoxes42To47RowY[static_cast<size_t>(nLineNr - 1)];
  else
    page.log().Line("GetYForDetail Index was too large! <<<<ERROR>>>>");
  if (page.log().Tracing()) page.log().Line("GetYForDetail  returns: " + std::string(y < 0 ? "" : " ") + PositionItem(y));
  return y;
}

int16_t WriteDetailLine(Page& page, int16_t iIndex, int16_t nLineNr) {
  try {
    Guard([&] {
      if (page.log().Tracing())
        page.log().Line("WriteDetailLine() iIndex = " + SignNum(iIndex) + " nLineNr = " + SignNum(nLineNr));
      float y = GetYForDetail(page, nLineNr);
      if (iIndex < 1 || static_cast<size_t>(iIndex) > page.tables.detail.size()) Raise(kErrSubscript);
      DetailEntry& e = page.tables.detail[static_cast<size_t>(iIndex - 1)];

      ClaimServiceLine line;
      line.page = page.number;
      line.row = nLineNr;

      // Box 42: the line's revenue code, or the charge's alternate one, as four digits.
      std::string revenue = Trim(e.revenue_code);
      if (!e.charge[charge::RevenueCodeOverride].empty()) revenue = Trim(e.charge[charge::RevenueCodeOverride]);
      e.revenue_code = Right("0000" + revenue, 4);
      line.revenue_code = e.revenue_code;
      page.Put(line.revenue_code, pos::kBox42RevenueCodeX, y);

      // Some payers take no description or HCPCS on inpatient bills.
      const Record& ins = page.insurance();
      bool bare_inpatient = IsOneOf(page.alternate_payer_id5(), {"27009", "25175", "60054"}) &&
                            e.charge[charge::TypeOfBill] == "0111";
      if (!bare_inpatient) {
        if (Left(ins[insurance::PrintDescription], 1) != "N") {
          line.description = Left(e.description, 30);
          page.Put(line.description, pos::kBox43DescriptionX, y);  // box 43
        }
        if (Left(ins[insurance::PrintProcedure], 1) != "N") {
          line.modifiers = e.modifiers[0];
          if (!e.modifiers[0].empty() && !e.modifiers[1].empty()) line.modifiers += " ";
          line.modifiers += e.modifiers[1];
          line.hcpcs = e.procedure_code;
          page.Put(line.hcpcs, pos::kBox44HcpcsX, y);  // box 44
          page.Put(line.modifiers, pos::kBox44ModifiersX, y);
        }
      }
      line.service_date = e.from_date;
      line.units = e.units;
      line.charges = e.charge_amount;
      line.amounts_received = e.amounts_received;
      page.Put(FormatDateMMDDYY(e.from_date), pos::kBox45ServiceDateX, y);  // box 45
      page.Put(UnitsText(e.units), pos::kBox46UnitsX, y);                     // box 46
      page.PutAmount(page.AmountText(e.charge_amount), pos::kBox47ChargesX, y);  // box 47
      page.record().lines.push_back(std::move(line));

      page.totals().ClaimCodeList += e.code_text;
    });
  } catch (const RtError& e) {
    if (page.out.failure.empty() && iIndex >= 1 && static_cast<size_t>(iIndex) <= page.tables.detail.size())
      page.out.failure = page.tables.detail[static_cast<size_t>(iIndex - 1)].origin.Describe() +
                         ": WriteDetailLine() " + Trim(ErrorText(e));
    ReportWriterError(page, " WriteDetailLine() ", e);
  }
  // One row, also after an error: the next line must not land on this row.
  return 1;
}

}  // namespace ub04
