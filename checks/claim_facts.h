// What the checks read off a claim record besides its plain boxes: the
// parts of its type of bill, dates as numbers, code shapes. Pure functions
// of their arguments.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "claim/claim_record.h"

namespace ub04 {

// A calendar date as CCYYMMDD in one number (20240301), comparable.
using Ymd = int32_t;

// "03012024" (MMDDYYYY), "20240301" (CCYYMMDD), "030124" (MMDDYY, years 2000
// to 2099): the date, or nullopt when the text is not a real date of that
// shape (month 13, 30 February, a hyphen).
std::optional<Ymd> DateMmddyyyy(std::string_view text);
std::optional<Ymd> DateCcyymmdd(std::string_view text);
std::optional<Ymd> DateMmddyy(std::string_view text);
// "03/01/2024" style text for messages.
std::string YmdText(Ymd date);

// Box 4's digits after the leading 0: facility, classification, frequency.
struct TypeOfBill {
  char facility = 0, classification = 0, frequency = 0;
};
// The parts of a well-formed type of bill ("0131"), else nullopt.
std::optional<TypeOfBill> ParseTypeOfBill(std::string_view text);
// Why text is not a type of bill the NUBC codes allow, "" when it is.
std::string TypeOfBillTrouble(std::string_view text);

// The kinds of bill that decide which boxes a claim needs.
bool IsInpatient(const TypeOfBill& t);         // inpatient, swing bed, intermediate care
bool IsHomeHealth(const TypeOfBill& t);        // 3xx
bool IsHospice(const TypeOfBill& t);           // 81x, 82x
bool IsOutpatient(const TypeOfBill& t);        // outpatient, clinics, ASC, CAH outpatient
bool IsHospitalOutpatient(const TypeOfBill& t);  // 13x, 14x, 85x

// An NPI: 10 digits, the first 1 or 2 ("" when so, else why not), and its
// check digit by the Luhn formula over the NPI prefixed with 80840.
std::string NpiShapeTrouble(std::string_view npi);
bool NpiCheckDigitHolds(std::string_view npi);
// The check digit the first nine digits call for.
char NpiCheckDigit(std::string_view first_nine);

// Diagnosis codes as the form prints them (no decimal point): "" when the
// code has the shape of its code set, else why not.
std::string Icd10CmTrouble(std::string_view code);
std::string Icd9CmTrouble(std::string_view code);

// True for a text of one or more digits and nothing else.
bool AllDigits(std::string_view text);

// The text without spaces at either end.
std::string_view Trimmed(std::string_view text);

}  // namespace ub04
