// Payment adjustment codes: group|reason|amount|units lists merged by group
// and reason and ordered by group.
//
// An earlier payer's adjustments arrive packed in one text, four fields per
// adjustment, every field followed by "|" except the very last one:
//
//   "CO|45|10|1|PR|2|5|0"
//
// PayAdjHelper reads such texts into PaymentAdjStruct records, adds the
// amounts and units of adjustments that share group and reason (exact,
// case-sensitive), orders them by group (byte order, stable) and writes them
// back. Amounts are fixed point, so sums are exact; both numbers come back in
// their general text form ("12.5", "3").
//
// The class has no state. Failures of AddThePaymentAdjCodes are queued (Nr 3)
// and reported as status 3; ParseThePaymentAdjCodeStructs raises RtError
// (error 6 for a text over 32767 bytes) to its caller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/context.h"
#include "base/runtime.h"

namespace ub04 {

struct PaymentAdjStruct {
  std::string sGroup;
  std::string sReason;
  Currency curAmount;
  double dfUnit = 0;
};

class PayAdjHelper {
 public:
  // A helper a host creates reports to whichever run its thread has when a
  // call is made: that run's log and message queue (the host layer defines
  // this constructor, beside the run state).
  PayAdjHelper();
  // A helper that reports to the given run.
  explicit PayAdjHelper(Context& cx) : cx_(&cx) {}

  // Merges the list sDetailIns into the running total sTot. An empty
  // sDetailIns leaves sTot untouched; an incomplete last group of either
  // list is ignored; adjustments with an empty group are not written back.
  // Returns 0, or 3 after queueing the error (sTot then keeps what it held).
  int16_t AddThePaymentAdjCodes(std::string& sTot, const std::string& sDetailIns);

  // Reads sAdjCodes into aStructs (0-based). Without a complete group the
  // result is one blank record, never an empty array. Returns 0.
  int16_t ParseThePaymentAdjCodeStructs(const std::string& sAdjCodes,
                                        std::vector<PaymentAdjStruct>& aStructs);

 private:
  static void SortPaymentAdjStructs(std::vector<PaymentAdjStruct>& aStructs);
  Context& cx() const { return cx_ ? *cx_ : run_context_(); }

  Context* cx_ = nullptr;
  Context& (*run_context_)() = nullptr;  // used when cx_ is null
};

// The shared routine of the parsers: a non-empty text is merged into an
// empty total and replaced by the result ("PR|1|5|0|CO|45|10|1|CO|45|2.5|1"
// becomes "CO|45|12.5|2|PR|1|5|0"). When the merge fails (its error is
// queued) the text stays as received.
void NormalizeAdjustmentCodes(Context& cx, std::string& codes);

}  // namespace ub04
