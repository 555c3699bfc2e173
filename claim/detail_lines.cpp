#include "claim/detail_lines.h"

#include "claim/claim_env.h"
#include "claim/claim_tables.h"
#include "claim/ext_data.h"
#include "claim/diagnosis_table.h"
#include "base/msgbox.h"
#include "base/text_util.h"
#include "records/layouts.h"

namespace ub04 {

namespace {

constexpr size_t kGrowBy = 5;

// Amounts in trace lines: sign position and the shortest decimal form.
std::string AmountText(Currency v) {
  return (v.scaled() < 0 ? "" : " ") + GeneralNum(v);
}

std::string Ymd(std::string date) { return ReorderDateToYmd(date); }

// The statement period runs from the earliest from-date to the latest
// to-date of the claim's lines, compared as CCYYMMDD text. A line without a
// date has no say in it.
void WidenStatementPeriod(PageTotals& t, const std::string& from, const std::string& to) {
  std::string f = Ymd(from), th = Ymd(to);
  if (t.StatementFromDate.empty()) t.StatementFromDate = f;
  if (t.StatementThroughDate.empty()) t.StatementThroughDate = th;
  if (!f.empty() && f < t.StatementFromDate) t.StatementFromDate = f;
  if (!th.empty() && th > t.StatementThroughDate) t.StatementThroughDate = th;
}

// "N4" + drug code + unit, then the quantity without its last character.
std::string DrugDescription(const Record& c) {
  std::string d = "N4" + c[charge::NdcCode] + c[charge::NdcUnit];
  const std::string& qty = c[charge::NdcQuantity];
  if (!qty.empty()) d += qty.substr(0, qty.size() - 1);
  return d;
}

// Insurance token 18, unless the billing preferences say otherwise: "0" no
// line provider ID, "2" the servicing provider's ID when one came with the
// charge.
std::string LineProviderId(const TopRecords& top, const ChargeGroup& g) {
  const std::string& rule = top.calc_pref[calc_pref::LineProviderIdRule];
  if (rule == "0") return "";
  if (rule == "2" && g.sprovider.Present()) return g.sprovider[sprovider::OtherId];
  return top.insurance[insurance::ProviderIdForPayer];
}

// Keeps the text of an amount as the batch gave it, for whoever checks it.
void KeepReceived(DetailEntry& e, const char* what, const std::string& text) {
  if (!text.empty()) e.amounts_received.emplace_back(what, text);
}

void FillAmounts(ClaimEnv& env, DetailEntry& e, const ChargeGroup& g) {
  const Record& c = g.charge;
  KeepReceived(e, "charge amount", c[charge::ChargeAmount]);
  KeepReceived(e, "units", c[charge::Units]);
  KeepReceived(e, "paid amount", c[charge::PaidAmount]);
  KeepReceived(e, "adjustment amount", c[charge::AdjustmentAmount]);
  static constexpr const char* kOtherPaid[] = {"other insurance 1 paid amount",
                                               "other insurance 2 paid amount",
                                               "other insurance 3 paid amount",
                                               "other insurance 4 paid amount"};
  for (size_t k = 0; k < g.oins.size(); ++k)
    KeepReceived(e, kOtherPaid[k], g.oins[k][oinsurance::PaidAmount]);
  e.charge_amount = Currency::FromText(c[charge::ChargeAmount]);
  e.second_amount = Currency::FromText(c[charge::SecondAmount]);
  e.units = static_cast<float>(LeadingNumber(c[charge::Units]));
  e.allowed_amount = Currency::FromText(c[charge::AllowedAmount]);
  e.paid_amount = Currency::FromText(c[charge::PaidAmount]);
  e.write_off_amount = Currency::FromText(c[charge::WriteOffAmount]);
  e.adjustment_amount = Currency::FromText(c[charge::AdjustmentAmount]);
  e.fifth_amount = Currency::FromText(c[charge::FifthAmount]);
  // An absent other insurance has empty amounts, which count as 0.
  for (size_t k = 0; k < g.oins.size(); ++k) {
    const Record& o = g.oins[k];
    e.allowed_amount += Currency::FromText(o[oinsurance::AllowedAmount]);
    e.oins_paid[k] = Currency::FromText(o[oinsurance::PaidAmount]);
    e.paid_amount += e.oins_paid[k];
    e.write_off_amount += Currency::FromText(o[oinsurance::WriteOffAmount]);
    if (!env.cx.log.Tracing()) continue;  // the texts below are for the trace only
    env.cx.log.Joined({"Dealwithlastgroup  Insloop  index = ", SignNum(static_cast<long long>(k + 1))});
    env.cx.log.Joined({"    Total Ins Allowed = ", AmountText(e.allowed_amount)});
    env.cx.log.Joined({"    Total Ins Paid = ", AmountText(e.paid_amount)});
    env.cx.log.Joined({"    Total Ins WriteOff = ", AmountText(e.write_off_amount)});
  }
}

}  // namespace

void SplitRevenueCode(std::string& code, std::string& revCd, std::string& rate) {
  revCd = Trim(code);
  rate.clear();
  const size_t n = code.size();
  for (size_t p = 0; p < n; ++p) {
    if (code[p] != '/') continue;
    code[p] = ' ';
    revCd = Trim(std::string_view(code).substr(0, p + 1));
    rate = Trim(std::string_view(code).substr(p));
  }
}

void EmptyPageTotalStruct(ClaimEnv& env, ClaimTables& tables) {
  env.cx.log.Line("EmptyPageTotalStruct()");
  tables.totals = PageTotals{};
}

int16_t GetNextDetailIndex(ClaimEnv& env, ClaimTables& tables) {
  int16_t index = 0;
  try {
    Guard([&] {
      const auto& d = tables.detail;
      size_t i = 0;
      while (i < d.size() && d[i].used == "Y") ++i;
      index = CheckInt16(static_cast<long long>(i + 1));
      env.cx.log.Joined({"GetNextDetailIndex  index = ", SignNum(index)});
    });
  } catch (const RtError& e) {
    env.cx.ReportError(" GetNextDetailIndex() Error: ", e, kQueueIt | kShowBox);
  }
  return index;
}

void EmptyClaimTables(ClaimEnv& env, ClaimTables& tables) {
  tables.detail.assign(tables.detail.size(), DetailEntry{});
  // Also after a failed write: nothing of one claim may reach the next.
  tables.totals = PageTotals{};
  for (DiagnosisEntry& d : env.cs.diag) d = DiagnosisEntry{};
}

std::string ChargeOrigin::Describe() const {
  std::string text = "the charge of record " + PlainNum(record_number);
  if (!key.empty()) text += " (key " + KeyForMessage(key) + ")";
  return text;
}

int16_t DealWithLastGroup(ClaimEnv& env, ClaimTables& tables, const ChargeOrigin& origin) {
  ChargeGroup& g = env.cs.last_group;
  const TopRecords& top = env.cs.last_top;
  try {
    Guard([&] {
      env.cx.log.Line("DealWithLastGroup()");
      AddToDiagnosisArray(env, env.cs.diags_per_charge);

      const int16_t i = GetNextDetailIndex(env, tables);
      if (i < 1) Raise(kErrSubscript);  // the index could not be found
      if (static_cast<size_t>(i) > tables.detail.size())
        tables.detail.resize(tables.detail.size() + kGrowBy);
      DetailEntry& e = tables.detail[static_cast<size_t>(i - 1)];
      const Record& c = g.charge;
      e.used = "Y";
      e.charge = c;
      e.origin = origin;

      e.from_date = c[charge::ServiceDate];
      e.to_date = c[charge::ServiceToDate];
      PageTotals& t = tables.totals;
      WidenStatementPeriod(t, e.from_date, e.to_date);

      e.pos_code = c[charge::PosCode];
      e.tos_code = c[charge::TosCode];
      e.procedure_code = c[charge::ProcedureCode];
      e.description = c[charge::NdcCode].empty() ? c[charge::Description] : DrugDescription(c);

      e.modifiers = {c[charge::Modifier1], c[charge::Modifier2], c[charge::Modifier3],
                     c[charge::Modifier4]};
      for (int k = 1; k <= 3; ++k)
        e.extra_codes[static_cast<size_t>(k - 1)] = c[charge::ExtraModifierSlot(k)];
      for (size_t k = 0; k < 5; ++k) {
        e.diagnosis_codes[k] = c[charge::Diagnosis1 + 2 * k];
        e.diagnosis_pointers[k] = GetIndexForDiagnosis(env, e.diagnosis_codes[k]);
      }

      FillAmounts(env, e, g);
      t.TotalInsPaid += e.paid_amount;
      t.TotalLineAdjust += e.adjustment_amount;
      t.TotalInsWriteOff += e.write_off_amount;

      e.line_provider_id = LineProviderId(top, g);
      e.text76 = c[charge::LineText1];
      e.text75 = c[charge::LineText2];
      e.code_text = "~" + c[charge::CodeList] + "~";
      e.narrative = c[charge::Narrative];
      e.revenue_code.clear();
      e.revenue_rate.clear();

      // The Last group keeps the code with blanks for slashes afterwards.
      std::string& ub92 = g.charge[charge::RevenueCode];
      SplitRevenueCode(ub92, e.revenue_code, e.revenue_rate);
      env.cx.log.Joined({"UB92Code = ", ub92});
      env.cx.log.Joined({"RevCd = ", e.revenue_code});
      env.cx.log.Joined({"RevRate = ", e.revenue_rate});

      std::string value;
      if (LookUpExtData(top, g, 2, "20015", value)) e.ext_20015 = value;

      t.ClaimCodeList += e.code_text;
      if (t.ClaimRemarks.empty()) t.ClaimRemarks = e.narrative;
    });
    return 0;
  } catch (const RtError& e) {
    env.cx.ReportError(" DealWithLastGroup() Error: ", e, kQueueIt | kShowBox);
    return kFailed;
  }
}

}  // namespace ub04
