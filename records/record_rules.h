// The field rules that belong to one record type only. The layouts
// (records/layouts.cpp) hook them in at the step where their record applies
// them; the common rules (sex, UPIN, NPI cut-over, country) are data there.
#pragma once

#include <cstdint>
#include <string>

#include "records/layout_rules.h"
#include "records/record.h"

namespace ub04 {

// "1.0", "USA", "United States", "US" -> ""; "2.0", "CANADA" -> "CA";
// "GERMANY" -> "DE"; anything else unchanged (exact, case-sensitive).
std::string NormalizeCountry(const std::string& s);

// True while the NPI cut-over date is later than today: NPIs are dropped.
bool NpiNotYetInUse(const ParseEnv& env);

// ---- practice ----
void LogNpiLegacyNote(ParseEnv& env);           // second entry line, when there is a note
void KeepNpiAsReceived(ParseContext& c);        // NpiAsReceived = Npi after the cut-over
int16_t FetchOriginalAddressForForm(ParseContext& c);  // "_P5"/"_I5" forms only

// ---- billing provider, insurance ----
int16_t SplitBProviderOtherId(ParseContext& c);
int16_t FinishInsurance(ParseContext& c);       // ProviderIdForPayer split, PayerId fallback
void OverridePracticeNpiAndSetFlags(ParseContext& c);

// ---- patient, subscriber ----
int16_t ClearPatientMember53(ParseContext& c);
void MapSubscriberField11(ParseContext& c);     // "3" -> "1", "2" -> "0", Field11Mapped
void SplitSubscriberField38(ParseContext& c);   // at the first "~"

// ---- charge ----
void ClearThisFollowed(ParseEnv& env);
void BlankNoneApprovals(ParseContext& c);
void FrameCodeList(ParseContext& c);
void BlankZeroQuantities(ParseContext& c);
bool TakeIcd10Group(ParseContext& c);           // 129 <= n <= 179, with its log lines
int16_t FinishCharge(ParseContext& c);
void StripProcedureFromNarrative(ParseContext& c);
// The words of ExtraModifiers into ExtraModifierList(1 to 3), then every
// empty modifier (1 to 4) takes the first word left.
void FillModifiersFromList(Record& charge);
// ExtraModifierList(1), the list moving up one; "" (list untouched) when
// empty.
std::string PopExtraModifier(Record& charge);

// ---- companions ----
int16_t ApplySProviderNpiCutover(ParseContext& c);
int16_t ApplyFacilityNpiCutover(ParseContext& c);
void MapOInsuranceAssignsBenefits(ParseContext& c);  // "3" -> "1", "2" -> "0"
void MapOInsuranceField11(ParseContext& c);     // "5" -> "1", "4" -> "0", Field11Mapped
void NormalizeOInsuranceAdjustments(ParseContext& c);
int16_t FinishOInsurance(ParseContext& c);      // PayerId fallback
void MarkChargeFollowed(ParseContext& c);       // FollowMarker "MCA"

}  // namespace ub04
