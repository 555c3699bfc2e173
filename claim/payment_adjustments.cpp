#include "claim/payment_adjustments.h"

#include <algorithm>


namespace ub04 {

namespace {

constexpr int kFieldsPerAdjustment = 4;

// The amount as the runtime writes a currency value: every significant
// decimal, none of the trailing zeros. Written from the fixed-point value so
// that amounts beyond 15 significant digits keep their cents.
std::string AmountText(Currency c) {
  const int64_t scaled = c.scaled();
  const uint64_t mag = scaled < 0 ? 0 - static_cast<uint64_t>(scaled)
                                  : static_cast<uint64_t>(scaled);
  std::string s = scaled < 0 ? "-" : "";
  s += std::to_string(mag / 10000);
  uint64_t frac = mag % 10000;
  if (frac != 0) {
    std::string digits = std::to_string(frac + 10000).substr(1);  // 4 digits
    digits.erase(digits.find_last_not_of('0') + 1);
    s += "." + digits;
  }
  return s;
}

// Currency sums raise the runtime's overflow instead of wrapping.
void AddAmount(Currency& total, Currency add) {
  int64_t sum;
  if (__builtin_add_overflow(total.scaled(), add.scaled(), &sum)) Raise(kErrOverflow);
  total = Currency::FromScaled(sum);
}

}  // namespace

int16_t PayAdjHelper::ParseThePaymentAdjCodeStructs(const std::string& sAdjCodes,
                                                    std::vector<PaymentAdjStruct>& aStructs) {
  TokenViews tokens;
  SplitTokenViews(sAdjCodes, "|", tokens);

  std::vector<PaymentAdjStruct> parsed;
  PaymentAdjStruct adj;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const std::string_view t = tokens[i];
    switch (i % kFieldsPerAdjustment) {
      case 0: adj.sGroup.assign(t); break;
      case 1: adj.sReason.assign(t); break;
      case 2: adj.curAmount = Currency::FromText(t); break;
      case 3:
        adj.dfUnit = LeadingNumber(t);
        parsed.push_back(adj);
        break;
    }
  }
  // A caller's old first element never survives: no complete group means
  // one blank record.
  if (parsed.empty()) parsed.emplace_back();
  aStructs = std::move(parsed);
  return 0;
}

void PayAdjHelper::SortPaymentAdjStructs(std::vector<PaymentAdjStruct>& aStructs) {
  // Byte order of the group alone; equal groups keep their order.
  std::stable_sort(aStructs.begin(), aStructs.end(),
                   [](const PaymentAdjStruct& a, const PaymentAdjStruct& b) {
                     return a.sGroup < b.sGroup;
                   });
}

int16_t PayAdjHelper::AddThePaymentAdjCodes(std::string& sTot, const std::string& sDetailIns) {
  try {
    return Guard([&]() -> int16_t {
      cx().log.Line("AddThePaymentAdjCodes()");
      if (sDetailIns.empty()) return 0;

      std::vector<PaymentAdjStruct> total, detail;
      ParseThePaymentAdjCodeStructs(sTot, total);
      ParseThePaymentAdjCodeStructs(sDetailIns, detail);

      for (const PaymentAdjStruct& d : detail) {
        auto same = std::find_if(total.begin(), total.end(), [&](const PaymentAdjStruct& t) {
          return t.sGroup == d.sGroup && t.sReason == d.sReason;
        });
        if (same == total.end()) {
          total.push_back(d);
        } else {
          AddAmount(same->curAmount, d.curAmount);
          same->dfUnit += d.dfUnit;
        }
      }
      SortPaymentAdjStructs(total);

      std::string out;
      for (const PaymentAdjStruct& t : total) {
        if (t.sGroup.empty()) continue;
        const std::string amount = AmountText(t.curAmount), unit = GeneralNum(t.dfUnit);
        for (std::string_view part : {std::string_view(t.sGroup), std::string_view(t.sReason),
                                      std::string_view(amount), std::string_view(unit)}) {
          out += part;
          out += '|';
        }
      }
      if (!out.empty()) out.pop_back();
      sTot = std::move(out);
      return 0;
    });
  } catch (const RtError& e) {
    cx().ReportError(" AddThePaymentAdjCodes() ", e);
    return kFailed;
  }
}

void NormalizeAdjustmentCodes(Context& cx, std::string& codes) {
  if (codes.empty()) return;
  PayAdjHelper helper(cx);
  std::string total;
  if (helper.AddThePaymentAdjCodes(total, codes) == 0) codes = std::move(total);
}

}  // namespace ub04
