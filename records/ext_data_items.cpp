#include "records/ext_data_items.h"

namespace ub04 {

namespace {

constexpr ExtDataItem kItems[] = {
    {"10000", 1, "a date (CCYYMMDD or MMDDCCYY), printed as MMDDYY with occurrence code 35",
     "boxes 31 to 34, in the first free occurrence"},
    {"10001", 1, "a date, printed with occurrence code 44",
     "boxes 31 to 34, after the item 10000"},
    {"10002", 1, "a date, printed with occurrence code 45",
     "boxes 31 to 34, after the item 10001"},
    {"20003", 2, "the accident state, for a motor-vehicle onset (Charge `OnsetType` MTR)",
     "box 29"},
    {"20007", 2,
     "the type of bill, in place of the insurance's and the practice's `TypeOfBill`; two "
     "charges whose types of bill differ are never in one claim",
     "box 4"},
    {"20011", 2, "the priority (type) of admission, in place of the insurance's and the "
                 "practice's `AdmissionType`",
     "box 14"},
    {"20012", 2, "the point of origin (source of admission), in place of the insurance's and "
                 "the practice's `AdmissionSource`",
     "box 15"},
    {"20014", 2, "condition codes separated by \"-\"; a repeated code prints once",
     "boxes 18 to 28, left to right"},
    {"20015", 2, "the present-on-admission indicator of the claim's first service line",
     "box 67, beside every diagnosis"},
    {"20016", 2, "a value code (its first two characters) for the amount in Charge "
                 "`RevenueCodeSecondPart`; payers 16146 and 11315 take 24 when it is absent",
     "boxes 39 to 41"},
    {"30005", 3, "the admission hour, printed as two digits", "box 13"},
    {"30006", 3, "the discharge hour, printed as two digits", "box 16"},
};

}  // namespace

std::span<const ExtDataItem> ExtDataItems() { return kItems; }

}  // namespace ub04
