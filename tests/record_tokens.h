// Token numbers of the record fields the tests set, as the billing host
// lays its records out (token 0 is the record's own first item).
#pragma once

#include <cstddef>

namespace ub04::test {

namespace practice {
inline constexpr size_t
    IhCode = 1, Name = 2, AddressLine1 = 3, City = 5, State = 6, ZipCode = 7, Phone = 8,
    FederalTaxId = 13, DefaultBillingId = 16, TypeOfBill = 17, Taxonomy = 22, Npi = 24,
    PayToName = 26, PayToAddressLine1 = 27, PayToCity = 29, PayToState = 30, PayToZipCode = 31,
    GridField15 = 43;
}  // namespace practice
namespace bprovider {
inline constexpr size_t
    IhCode = 1, FirstName = 2, LastName = 3, MiddleName = 4, NameSuffix = 5, FederalTaxId = 7,
    AddressLine1 = 10, City = 12, State = 13, ZipCode = 14, StateLicense = 25, Npi = 27,
    OtherId = 28, PayToName = 36, PayToAddressLine1 = 37, PayToAddressLine2 = 38,
    PayToCity = 39, PayToState = 40, PayToZipCode = 41;
}  // namespace bprovider
namespace insurance {
inline constexpr size_t
    IhCode = 1, PayerId = 2, Name = 3, AddressLine1 = 4, AddressLine2 = 5, City = 6, State = 7,
    ZipCode = 8, PracticeIdForPayer = 17, PatientStatus = 23, AlternatePayerId = 36,
    PayerIsResponsibleParty = 38, PrvGridField15 = 67;
}  // namespace insurance
namespace calc_pref {
inline constexpr size_t
    AmountDueRule = 4, BillingProviderSource = 6, NoDecimalPoint = 11;
}  // namespace calc_pref
namespace break_pref {
inline constexpr size_t
    BreakOnInsurances = 3, BreakOnCaseId = 4, BreakOnReferral = 5, BreakOnFacility = 6,
    BreakOnInsuranceAction = 7, BreakOnPrimaryApproval = 8, BreakOnTosCode = 9,
    BreakOnPosCode = 10, BreakOnEncounter = 11, BreakOnProcedureCode = 12, BreakOnModifier = 13,
    BreakOnPrimaryDiagnosis = 14, BreakOnDiagnoses = 15, BreakOnOnset = 16,
    BreakOnAdmissionDate = 17, BreakOnDischargeDate = 18, BreakOnSendOpReport = 19,
    BreakOnAnesthesiaTimeUnit = 20, BreakOnAnesthesiaType = 21, BreakOnCapitatedService = 22,
    BreakOnMonth = 23, BreakOnEachCharge = 24;
}  // namespace break_pref
namespace patient {
inline constexpr size_t
    AccountNumber = 1, FirstName = 3, LastName = 4, MiddleName = 5, NameSuffix = 6,
    BirthDate = 8, SexCode = 10, AddressLine1 = 31, City = 33, State = 34, ZipCode = 35;
}  // namespace patient
namespace subscriber {
inline constexpr size_t
    InsuredIdPrefix = 4, InsuredIdNumber = 5, GroupNumber = 6, AssignsBenefits = 10,
    Relationship = 15, FirstName = 18, LastName = 19, EmployerName = 34, AddressLine1 = 46,
    City = 48, State = 49, ZipCode = 50;
}  // namespace subscriber
namespace charge {
inline constexpr size_t
    ProcedureCode = 6, Description = 7, NdcCode = 8, CaseId = 9, Modifier1 = 13, Modifier2 = 16,
    Modifier3 = 19, TosCode = 22, PosCode = 25, Icd9Code1 = 28, Icd9Code2 = 31, Icd9Code3 = 34,
    Icd9Code5 = 40, Units = 42, ChargeAmount = 43, EncounterId = 45, AnesthesiaType = 46,
    OnsetType = 48, OnsetDate = 50, AdmissionDate = 51, DischargeDate = 52, ServiceDate = 53,
    ServiceToDate = 55, AnesthesiaTimeUnit = 57, SendOpReport = 58, CapitatedService = 59,
    PrimaryApprovalNumber = 61, SecondaryApprovalNumber = 62, RevenueCode = 63,
    InsuranceAction = 69, PayerSequence = 70, CodeList = 71, Narrative = 72,
    ExtraModifiers = 84, ValueCode30Amount = 86, RevenueCodeOverride = 87, ClaimAction = 98,
    DocumentControlNumber = 99, NdcQuantity = 122, NdcUnit = 123, BpDescription = 126,
    StripProcedureFromNarrative = 128, Icd10Code1 = 129;
}  // namespace charge
namespace sprovider {
inline constexpr size_t
    OtherId = 2;
}  // namespace sprovider
namespace oprovider {
inline constexpr size_t
    OtherId = 2, LastName = 4, ProviderRole = 23, UseUpin = 38, Gate = 39, Npi = 41;
}  // namespace oprovider
namespace referral {
inline constexpr size_t
    IhCode = 1, OtherId = 2, LastName = 4, Gate = 37, Npi = 39;
}  // namespace referral
namespace facility {
inline constexpr size_t
    IhCode = 1;
}  // namespace facility
namespace oinsurance {
inline constexpr size_t
    IhCode = 1, PayerId = 2, PayerName = 3, AssignsBenefits = 10, Relationship = 14,
    InsuredFirstName = 17, InsuredLastName = 18, AllowedAmount = 21, PaidAmount = 22,
    WriteOffAmount = 23, EmployerName = 25, FollowMarker = 52, Deductible = 73;
}  // namespace oinsurance

}  // namespace ub04::test
