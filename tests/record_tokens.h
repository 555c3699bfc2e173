// Token numbers of the record fields the tests set, as the billing host
// lays its records out (token 0 is the record's own first item).
#pragma once

#include <cstddef>

namespace ub04::test {

namespace practice {
inline constexpr size_t IhCode = 1;
inline constexpr size_t Name = 2;
inline constexpr size_t AddressLine1 = 3;
inline constexpr size_t AddressLine2 = 4;
inline constexpr size_t City = 5;
inline constexpr size_t State = 6;
inline constexpr size_t ZipCode = 7;
inline constexpr size_t Phone = 8;
inline constexpr size_t FederalTaxId = 13;
inline constexpr size_t Upin = 15;
inline constexpr size_t Field16 = 16;
inline constexpr size_t TypeOfBill = 17;
inline constexpr size_t Field21 = 21;
inline constexpr size_t Field22 = 22;
inline constexpr size_t Npi = 24;
inline constexpr size_t Country = 25;
inline constexpr size_t PayToName = 26;
inline constexpr size_t PayToAddressLine1 = 27;
inline constexpr size_t PayToCity = 29;
inline constexpr size_t PayToState = 30;
inline constexpr size_t PayToZipCode = 31;
inline constexpr size_t PayToCountry = 32;
inline constexpr size_t Field43 = 43;
}  // namespace practice

namespace submitter {
inline constexpr size_t Field02 = 2;
}  // namespace submitter

namespace bprovider {
inline constexpr size_t IhCode = 1;
inline constexpr size_t FirstName = 2;
inline constexpr size_t LastName = 3;
inline constexpr size_t MiddleName = 4;
inline constexpr size_t NameSuffix = 5;
inline constexpr size_t FederalTaxId = 7;
inline constexpr size_t SexCode = 8;
inline constexpr size_t SexDescription = 9;
inline constexpr size_t AddressLine1 = 10;
inline constexpr size_t City = 12;
inline constexpr size_t State = 13;
inline constexpr size_t ZipCode = 14;
inline constexpr size_t StateLicense = 25;
inline constexpr size_t Npi = 27;
inline constexpr size_t OtherId = 28;
inline constexpr size_t PayToName = 36;
inline constexpr size_t PayToAddressLine1 = 37;
inline constexpr size_t PayToAddressLine2 = 38;
inline constexpr size_t PayToCity = 39;
inline constexpr size_t PayToState = 40;
inline constexpr size_t PayToZipCode = 41;
inline constexpr size_t PayToCountry = 42;
}  // namespace bprovider

namespace insurance {
inline constexpr size_t IhCode = 1;
inline constexpr size_t PayerId = 2;
inline constexpr size_t Name = 3;
inline constexpr size_t AddressLine1 = 4;
inline constexpr size_t AddressLine2 = 5;
inline constexpr size_t City = 6;
inline constexpr size_t State = 7;
inline constexpr size_t ZipCode = 8;
inline constexpr size_t PracticeIdForPayer = 17;
inline constexpr size_t ProviderIdForPayer = 18;
inline constexpr size_t Field23 = 23;
inline constexpr size_t Field33 = 33;
inline constexpr size_t AlternatePayerId = 36;
inline constexpr size_t Field38 = 38;
inline constexpr size_t Field67 = 67;
}  // namespace insurance

namespace calc_pref {
inline constexpr size_t Field04 = 4;
inline constexpr size_t BillingProviderSource = 6;
inline constexpr size_t Field07 = 7;
inline constexpr size_t Field11 = 11;
}  // namespace calc_pref

namespace break_pref {
inline constexpr size_t BreakOnInsurances = 3;
inline constexpr size_t BreakOnCaseId = 4;
inline constexpr size_t BreakOnReferral = 5;
inline constexpr size_t BreakOnFacility = 6;
inline constexpr size_t BreakOnInsuranceAction = 7;
inline constexpr size_t BreakOnPrimaryApproval = 8;
inline constexpr size_t BreakOnTosCode = 9;
inline constexpr size_t BreakOnPosCode = 10;
inline constexpr size_t BreakOnEncounter = 11;
inline constexpr size_t BreakOnProcedureCode = 12;
inline constexpr size_t BreakOnModifier = 13;
inline constexpr size_t BreakOnPrimaryDiagnosis = 14;
inline constexpr size_t BreakOnDiagnoses = 15;
inline constexpr size_t BreakOnOnset = 16;
inline constexpr size_t BreakOnAdmissionDate = 17;
inline constexpr size_t BreakOnDischargeDate = 18;
inline constexpr size_t BreakOnSendOpReport = 19;
inline constexpr size_t BreakOnAnesthesiaTimeUnit = 20;
inline constexpr size_t BreakOnAnesthesiaType = 21;
inline constexpr size_t BreakOnCapitatedService = 22;
inline constexpr size_t BreakOnMonth = 23;
inline constexpr size_t BreakOnEachCharge = 24;
}  // namespace break_pref

namespace patient {
inline constexpr size_t AccountNumber = 1;
inline constexpr size_t FirstName = 3;
inline constexpr size_t LastName = 4;
inline constexpr size_t MiddleName = 5;
inline constexpr size_t NameSuffix = 6;
inline constexpr size_t BirthDate = 8;
inline constexpr size_t SexCode = 10;
inline constexpr size_t SexDescription = 11;
inline constexpr size_t AddressLine1 = 31;
inline constexpr size_t City = 33;
inline constexpr size_t State = 34;
inline constexpr size_t ZipCode = 35;
inline constexpr size_t Field50 = 50;
inline constexpr size_t Country = 51;
inline constexpr size_t Country2 = 52;
}  // namespace patient

namespace subscriber {
inline constexpr size_t Field04 = 4;
inline constexpr size_t Field05 = 5;
inline constexpr size_t Field06 = 6;
inline constexpr size_t Field10 = 10;
inline constexpr size_t Field11 = 11;
inline constexpr size_t Field15 = 15;
inline constexpr size_t FirstName = 18;
inline constexpr size_t LastName = 19;
inline constexpr size_t SexCode = 25;
inline constexpr size_t Field34 = 34;
inline constexpr size_t Field38 = 38;
inline constexpr size_t Field45 = 45;
inline constexpr size_t AddressLine1 = 46;
inline constexpr size_t City = 48;
inline constexpr size_t State = 49;
inline constexpr size_t ZipCode = 50;
inline constexpr size_t Country = 65;
inline constexpr size_t Country2 = 66;
}  // namespace subscriber

namespace charge {
inline constexpr size_t ProcedureCode = 6;
inline constexpr size_t Field07 = 7;
inline constexpr size_t NdcCode = 8;
inline constexpr size_t CaseId = 9;
inline constexpr size_t Modifier1 = 13;
inline constexpr size_t Modifier2 = 16;
inline constexpr size_t Modifier3 = 19;
inline constexpr size_t TosCode = 22;
inline constexpr size_t PosCode = 25;
inline constexpr size_t Field27 = 27;
inline constexpr size_t Icd9Code1 = 28;
inline constexpr size_t Icd9Companion1 = 29;
inline constexpr size_t Field30 = 30;
inline constexpr size_t Icd9Code2 = 31;
inline constexpr size_t Icd9Code3 = 34;
inline constexpr size_t Icd9Code5 = 40;
inline constexpr size_t Field42 = 42;
inline constexpr size_t Field43 = 43;
inline constexpr size_t Field44 = 44;
inline constexpr size_t EncounterId = 45;
inline constexpr size_t AnesthesiaType = 46;
inline constexpr size_t OnsetType = 48;
inline constexpr size_t OnsetDate = 50;
inline constexpr size_t AdmissionDate = 51;
inline constexpr size_t DischargeDate = 52;
inline constexpr size_t ServiceDate = 53;
inline constexpr size_t Field55 = 55;
inline constexpr size_t AnesthesiaTimeUnit = 57;
inline constexpr size_t SendOpReport = 58;
inline constexpr size_t CapitatedService = 59;
inline constexpr size_t PrimaryApprovalNumber = 61;
inline constexpr size_t SecondaryApprovalNumber = 62;
inline constexpr size_t RevenueCode = 63;
inline constexpr size_t Field64 = 64;
inline constexpr size_t Field65 = 65;
inline constexpr size_t Field66 = 66;
inline constexpr size_t Field67 = 67;
inline constexpr size_t Field68 = 68;
inline constexpr size_t InsuranceAction = 69;
inline constexpr size_t Field70 = 70;
inline constexpr size_t CodeList = 71;
inline constexpr size_t Narrative = 72;
inline constexpr size_t Field75 = 75;
inline constexpr size_t Field76 = 76;
inline constexpr size_t ExtraModifiers = 84;
inline constexpr size_t Field86 = 86;
inline constexpr size_t Field87 = 87;
inline constexpr size_t ClaimAction = 98;
inline constexpr size_t Field99 = 99;
inline constexpr size_t Field101 = 101;
inline constexpr size_t Field102 = 102;
inline constexpr size_t Field109 = 109;
inline constexpr size_t Modifier4 = 116;
inline constexpr size_t Field119 = 119;
inline constexpr size_t NdcQuantity = 122;
inline constexpr size_t NdcUnit = 123;
inline constexpr size_t Field124 = 124;
inline constexpr size_t Field126 = 126;
inline constexpr size_t StripProcedureFromNarrative = 128;
inline constexpr size_t Icd10Code1 = 129;
inline constexpr size_t Icd10Companion1 = 130;
inline constexpr size_t Icd10Extra = 139;
inline constexpr size_t Field140 = 140;
inline constexpr size_t Field149 = 149;
}  // namespace charge

namespace sprovider {
inline constexpr size_t OtherId = 2;
inline constexpr size_t FirstName = 3;
inline constexpr size_t SexCode = 9;
inline constexpr size_t SexDescription = 10;
inline constexpr size_t Upin = 27;
inline constexpr size_t Npi = 34;
inline constexpr size_t Country = 35;
}  // namespace sprovider

namespace oprovider {
inline constexpr size_t OtherId = 2;
inline constexpr size_t LastName = 4;
inline constexpr size_t ProviderRole = 23;
inline constexpr size_t UseUpin = 38;
inline constexpr size_t Gate = 39;
inline constexpr size_t Npi = 41;
}  // namespace oprovider

namespace referral {
inline constexpr size_t IhCode = 1;
inline constexpr size_t OtherId = 2;
inline constexpr size_t LastName = 4;
inline constexpr size_t Gate = 37;
inline constexpr size_t Field38 = 38;
inline constexpr size_t Npi = 39;
}  // namespace referral

namespace facility {
inline constexpr size_t IhCode = 1;
inline constexpr size_t Field03 = 3;
inline constexpr size_t Npi = 18;
}  // namespace facility

namespace oinsurance {
inline constexpr size_t IhCode = 1;
inline constexpr size_t PayerId = 2;
inline constexpr size_t Field03 = 3;
inline constexpr size_t Field10 = 10;
inline constexpr size_t Field11 = 11;
inline constexpr size_t Field12 = 12;
inline constexpr size_t Field14 = 14;
inline constexpr size_t Field17 = 17;
inline constexpr size_t Field18 = 18;
inline constexpr size_t Field21 = 21;
inline constexpr size_t Field22 = 22;
inline constexpr size_t Field23 = 23;
inline constexpr size_t Field25 = 25;
inline constexpr size_t SexCode = 26;
inline constexpr size_t FollowMarker = 52;
inline constexpr size_t Field73 = 73;
inline constexpr size_t AlternatePayerId = 74;
inline constexpr size_t AdjustmentCodes = 76;
inline constexpr size_t Country = 77;
inline constexpr size_t Country2 = 78;
inline constexpr size_t Field88 = 88;
}  // namespace oinsurance

}  // namespace ub04::test
