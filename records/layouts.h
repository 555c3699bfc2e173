// The member names of every record type, and the layout each record is
// built from.
//
// A record is a fixed array of text members (records/record.h). The names
// below are the indexes of those members, one namespace per record type:
// `rec[practice::PayToAddressLine1]`, `rec[charge::Diagnosis1Companion]`.
// Members that only the parser handles are named after the input token they
// carry (FieldNN). Every member that other code reads is named for what it
// holds, and where that name is ours rather than the record's own the
// comment beside it keeps the token number in sight ("// token 43"). Where
// a record shifts its members (the subscriber from token 45, the charge
// from token 88, the other insurance from token 11), FieldNN still names
// token NN, so its member number differs; the enumerators spell out every
// such number.
//
// These names are shared by the claim state, the breaks and the form boxes:
// keep them stable.
#pragma once

#include <cstddef>
#include <span>

namespace ub04 {

struct LayoutRules;  // the parsing description (records/layout_rules.h)

// What a named member holds, for the record reference (docs/records.md):
// every member with a name of its own has one.
struct MemberNote {
  size_t member;
  const char* text;
};

struct RecordLayout {
  const char* name;        // record kind, for messages and tests
  const char* names;       // the namespace of its member names below ("practice")
  size_t member_count;
  size_t flag_count = 0;   // payer-rule flags (insurance)
  const LayoutRules* rules = nullptr;
  // A top record is emptied at the end of a charge by blanking token 0
  // only: its other members keep the values of the last record of its kind.
  // Extended data is emptied whole instead, because its lookups read the
  // items without asking whether the record came.
  bool emptied_whole = false;
  // Written to the run log whenever the record is cleared with its charge
  // group; null for none.
  const char* clear_log = nullptr;
  std::span<const MemberNote> notes = {};
};

extern const RecordLayout kPracticeLayout;    // 1000
extern const RecordLayout kSubmitterLayout;   // 1050
extern const RecordLayout kBProviderLayout;   // 2000
extern const RecordLayout kInsuranceLayout;   // 3000
extern const RecordLayout kCalcPrefLayout;    // 3100
extern const RecordLayout kBreakPrefLayout;   // 3101
extern const RecordLayout kPatientLayout;     // 4000
extern const RecordLayout kSubscriberLayout;  // 5000
extern const RecordLayout kExtDataLayout;     // 5010-5018, 6010-6028
extern const RecordLayout kChargeLayout;      // 6000
extern const RecordLayout kAmbulanceLayout;   // 6050
extern const RecordLayout kChiropractorLayout;  // 6060
extern const RecordLayout kSProviderLayout;   // 6100
extern const RecordLayout kOProviderLayout;   // 6110
extern const RecordLayout kReferralLayout;    // 6120
extern const RecordLayout kOReferralLayout;   // 6130
extern const RecordLayout kFacilityLayout;    // 6200
extern const RecordLayout kOInsuranceLayout;  // 6310-6340

// ---- member names ------------------------------------------------------------

namespace practice {
enum : size_t {
  Field00 = 0, IhCode = 1, Name = 2, AddressLine1 = 3, AddressLine2 = 4, City = 5, State = 6,
  ZipCode = 7, Phone = 8, PhoneExtension = 9,  // token 9
  Field10 = 10, Field11, Field12, FederalTaxId = 13, Field14,
  Upin = 15, DefaultBillingId = 16,  // token 16
  TypeOfBill = 17, AdmissionType = 18, AdmissionSource = 19, Field20 = 20,
  Field21, Taxonomy = 22,  // token 22
  Field23, Npi = 24, Country = 25, PayToName = 26, PayToAddressLine1 = 27,
  PayToAddressLine2 = 28, PayToCity = 29, PayToState = 30, PayToZipCode = 31,
  PayToCountry = 32, Field33, Field34, Field35, Field36, Field37, Field38, Field39,
  Field40 = 40, Field41, Field42, Field43, NpiAsReceived = 44, OriginalName = 45,
  OriginalAddressLine1 = 46, OriginalAddressLine2 = 47, OriginalCity = 48, OriginalState = 49,
  OriginalZipCode = 50, OriginalCountry = 51,
  kMemberCount = 52
};
}  // namespace practice

namespace submitter {
enum : size_t {
  Field00 = 0, IhCode = 1, Field02, Field03, Field04, Field05, Field06, Field07, Field08,
  Field09, Field10 = 10, Field11, Field12, Field13, Field14, Field15, Field16, Field17,
  Field18, Field19, Field20 = 20, Field21, Field22, Field23, Field24, Field25, Field26,
  Field27, Field28, Field29, Field30 = 30, Field31, Field32, Field33, Field34,
  kMemberCount = 35
};
}  // namespace submitter

namespace bprovider {
enum : size_t {
  Field00 = 0, IhCode = 1, FirstName = 2, LastName = 3, MiddleName = 4, NameSuffix = 5,
  Field06, FederalTaxId = 7, SexCode = 8, SexDescription = 9, AddressLine1 = 10,
  AddressLine2 = 11, City = 12, State = 13, ZipCode = 14, Phone = 15,
  PhoneExtension = 16,  // token 16
  Field17, Field18, Field19, Field20 = 20, Field21, Field22, Field23, TaxIdOverride = 24,
  StateLicense = 25, Upin = 26, Npi = 27, OtherId = 28, Field29, Field30 = 30, Field31,
  Field32, UseUpin = 33, Field34, Country = 35, PayToName = 36, PayToAddressLine1 = 37,
  PayToAddressLine2 = 38, PayToCity = 39, PayToState = 40, PayToZipCode = 41,
  PayToCountry = 42, Field43, Field44, Field45, Field46, Field47, Field48, Field49,
  Field50 = 50, Field51, Field52, Field53, OtherIdSecondPart = 54,
  kMemberCount = 55
};
}  // namespace bprovider

namespace insurance {
enum : size_t {
  Field00 = 0, IhCode = 1, PayerId = 2, Name = 3, AddressLine1 = 4, AddressLine2 = 5,
  City = 6, State = 7, ZipCode = 8, Field09, Field10 = 10, Field11, Field12, Field13,
  PatientStatusMarkers = 14,  // token 14
  Field15, Field16, PracticeIdForPayer = 17, ProviderIdForPayer = 18, PlanType = 19,
  Field20 = 20, PrintDescription = 21,  // token 21
  PrintProcedure = 22,  // token 22
  PatientStatus = 23,  // token 23
  OmitPrincipalProcedure = 24,  // token 24
  TypeOfBill = 25, AdmissionType = 26, AdmissionSource = 27, Field28, Field29, Field30 = 30,
  Field31, Field32,
  UseDefaultBillingId = 33,  // token 33
  Field34, Field35, AlternatePayerId = 36, Country = 37, PayerIsResponsibleParty = 38,  // token 38
  Field39, Field40 = 40, Field41, Field42, Field43, Field44, Field45, Field46, Field47, Field48,
  Field49, Field50 = 50,
  Field51, Field52, Field53, Field54, Field55, Field56, Field57, Field58, Field59,
  Field60 = 60, Field61, Field62, Field63, Field64, Field65, Field66, Field67,
  ProviderIdSecondPart = 68,
  kMemberCount = 69
};
}  // namespace insurance

namespace calc_pref {
enum : size_t {
  Field00 = 0, Field01, Field02, Field03, AmountDueRule = 4,  // token 4
  Field05, BillingProviderSource = 6,
  LineProviderIdRule = 7,  // token 7
  Field08, Field09, Field10 = 10, NoDecimalPoint = 11,  // token 11
  Field12, FacilitySwitch = 13, Field14,
  kMemberCount = 15
};
}  // namespace calc_pref

namespace break_pref {
enum : size_t {
  Field00 = 0, Field01, Field02, BreakOnInsurances = 3, BreakOnCaseId = 4,
  BreakOnReferral = 5, BreakOnFacility = 6, BreakOnInsuranceAction = 7,
  BreakOnPrimaryApproval = 8, BreakOnTosCode = 9, BreakOnPosCode = 10, BreakOnEncounter = 11,
  BreakOnProcedureCode = 12, BreakOnModifier = 13, BreakOnPrimaryDiagnosis = 14,
  BreakOnDiagnoses = 15, BreakOnOnset = 16, BreakOnAdmissionDate = 17,
  BreakOnDischargeDate = 18, BreakOnSendOpReport = 19, BreakOnAnesthesiaTimeUnit = 20,
  BreakOnAnesthesiaType = 21, BreakOnCapitatedService = 22, BreakOnMonth = 23,
  BreakOnEachCharge = 24,
  kMemberCount = 25
};
}  // namespace break_pref

namespace patient {
enum : size_t {
  Field00 = 0, AccountNumber = 1, Field02, FirstName = 3, LastName = 4, MiddleName = 5,
  NameSuffix = 6, Field07, BirthDate = 8, Field09, SexCode = 10, SexDescription = 11,
  MaritalStatus = 12, Field13, Field14, Field15, Field16, Field17, Field18, Field19,
  Field20 = 20, Field21, Field22, Field23, Field24, Field25, Field26, Field27, Field28,
  Field29, Field30 = 30, AddressLine1 = 31, AddressLine2 = 32, City = 33, State = 34,
  ZipCode = 35, Field36, Field37, Field38, Field39, Field40 = 40, Field41, Field42, Field43,
  Field44, Field45, Field46, Field47, Field48, Field49, Field50 = 50, Country = 51,
  Country2 = 52, Member53 = 53,
  kMemberCount = 54
};
}  // namespace patient

namespace subscriber {
enum : size_t {
  Field00 = 0, IhCode = 1, Field02, Field03, InsuredIdPrefix = 4,  // token 4
  InsuredIdNumber = 5,  // token 5
  GroupNumber = 6,  // token 6
  Field07, Field08,
  Field09, AssignsBenefits = 10,  // token 10
  Field11, Field12, ChargeCodes = 13,  // token 13
  Field14, Relationship = 15,  // token 15
  Field16, Field17,
  FirstName = 18, LastName = 19, MiddleName = 20, Field21, Field22, Field23, Field24,
  SexCode = 25, SexDescription = 26, Field27, Field28, Field29, Field30 = 30, Field31,
  Field32, Field33, EmployerName = 34,  // token 34
  Field35, Field36, Field37, Field38, Field39, Field40 = 40,
  Field41, Field42, Field43, Field44, Field38SecondPart = 45, Field45 = 46, AddressLine1 = 47,
  AddressLine2 = 48, City = 49, State = 50, ZipCode = 51, Field51 = 52, Field52 = 53,
  Field53 = 54, Field54 = 55, Field55 = 56, Field56 = 57, Field57 = 58, Field58 = 59,
  Field59 = 60, Field60 = 61, Field61 = 62, Field62 = 63, Field63 = 64, Field64 = 65,
  Country = 66, Country2 = 67, Field11Mapped = 68,
  kMemberCount = 69
};
}  // namespace subscriber

namespace ext_data {
enum : size_t {
  Field00 = 0, Pairs = 1,
  kMemberCount = 2
};
}  // namespace ext_data

namespace charge {
enum : size_t {
  Field00 = 0, Field01, Field02, Field03, Field04, Field05, ProcedureCode = 6,
  Description = 7,  // token 7
  NdcCode = 8, CaseId = 9, Field10 = 10, Field11, Field12, Modifier1 = 13, Field14, Field15,
  Modifier2 = 16, Field17, Field18, Modifier3 = 19, Field20 = 20, Field21, TosCode = 22,
  Field23, Field24, PosCode = 25, Field26, Icd9Lead1 = 27,  // token 27
  Icd9Code1 = 28, Icd9Companion1 = 29,
  Field30 = 30, Icd9Code2 = 31, Icd9Companion2 = 32, Field33, Icd9Code3 = 34,
  Icd9Companion3 = 35, Field36, Icd9Code4 = 37, Icd9Companion4 = 38, Field39, Icd9Code5 = 40,
  Icd9Companion5 = 41, Units = 42,  // token 42
  ChargeAmount = 43,  // token 43
  SecondAmount = 44,  // token 44
  EncounterId = 45, AnesthesiaType = 46,
  Field47, OnsetType = 48, Field49, OnsetDate = 50, AdmissionDate = 51, DischargeDate = 52,
  ServiceDate = 53, Field54, ServiceToDate = 55,  // token 55
  Field56, AnesthesiaTimeUnit = 57, SendOpReport = 58,
  CapitatedService = 59, Field60 = 60, PrimaryApprovalNumber = 61,
  SecondaryApprovalNumber = 62, RevenueCode = 63, AllowedAmount = 64,  // token 64
  PaidAmount = 65,  // token 65
  WriteOffAmount = 66,  // token 66
  AdjustmentAmount = 67,  // token 67
  FifthAmount = 68,  // token 68
  InsuranceAction = 69, PayerSequence = 70,  // token 70
  CodeList = 71, Narrative = 72, Field73, Field74,
  LineText2 = 75,  // token 75
  LineText1 = 76,  // token 76
  Field77, Field78, Field79, Field80 = 80, Field81, Field82, Field83,
  ExtraModifiers = 84, Field85, ValueCode30Amount = 86,  // token 86
  RevenueCodeOverride = 87,  // token 87
  ExtraModifierList1 = 88,
  ExtraModifierList2 = 89, ExtraModifierList3 = 90, Field88 = 91, Field89 = 92, Field90 = 93,
  Field91 = 94, Field92 = 95, Field93 = 96, Field94 = 97, Field95 = 98, Field96 = 99,
  Field97 = 100, ClaimAction = 101, DocumentControlNumber = 102,  // token 99
  Field100 = 103, Field101 = 104,
  Field102 = 105, Field103 = 106, Field104 = 107, Field105 = 108, Field106 = 109,
  Field107 = 110, DiagnosisBoxSelector = 111,  // token 108
  Icd9Trailer1 = 112,  // token 109
  Field110 = 113, Field111 = 114,
  Field112 = 115, Field113 = 116, Field114 = 117, Field115 = 118, Modifier4 = 119,
  Field117 = 120, Field118 = 121, Field119 = 122, Field120 = 123, Field121 = 124,
  NdcQuantity = 125, NdcUnit = 126, Field124 = 127, Field125 = 128,
  BpDescription = 129,  // token 126
  Field127 = 130, StripProcedureFromNarrative = 131, Icd10Code1 = 132, Icd10Companion1 = 133,
  Icd10Code2 = 134, Icd10Companion2 = 135, Icd10Code3 = 136, Icd10Companion3 = 137,
  Icd10Code4 = 138, Icd10Companion4 = 139, Icd10Code5 = 140, Icd10Companion5 = 141,
  Icd10Extra = 142, Field140 = 143, Field141 = 144, Field142 = 145, Field143 = 146,
  Field144 = 147, Field145 = 148, Field146 = 149, Field147 = 150, Field148 = 151,
  Field149 = 152, RevenueCodeSecondPart = 153, TypeOfBill = 154, Field00ThirdPart = 155,
  BpValue = 156, DiagnosisCodeSet = 157, Diagnosis1 = 158, Diagnosis1Companion = 159,
  Diagnosis2 = 160, Diagnosis2Companion = 161, Diagnosis3 = 162, Diagnosis3Companion = 163,
  Diagnosis4 = 164, Diagnosis4Companion = 165, Diagnosis5 = 166, Diagnosis5Companion = 167,
  Diagnosis6 = 168,
  kMemberCount = 169
};
}  // namespace charge

namespace ambulance {
enum : size_t {
  Field00 = 0, Field01, Field02, Field03, Field04, Field05, Field06, Field07, Field08,
  Field09, Field10 = 10, Field11, Field12, Field13, Field14, Field15, Field16, Field17,
  Field18, Field19, Field20 = 20, Field21, Field22, Field23, Field24, Field25, Field26,
  Field27, Field28, Field29, Field30 = 30, Field31, Field32, Field33, Field34, Field35,
  kMemberCount = 36
};
}  // namespace ambulance

namespace chiropractor {
enum : size_t {
  Field00 = 0, Field01, Field02, Field03, Field04, Field05, Field06, Field07, Field08,
  Field09, Field10 = 10, Field11, Field12, Field13, Field14, Field15, Field16, Field17,
  kMemberCount = 18
};
}  // namespace chiropractor

namespace sprovider {
enum : size_t {
  Field00 = 0, IhCode = 1, OtherId = 2, FirstName = 3, LastName = 4, MiddleName = 5, Field06,
  Field07, Field08, SexCode = 9, SexDescription = 10, Field11, Field12, Field13, Field14,
  Field15, Field16, Field17, Field18, Field19, Field20 = 20, Field21, Field22, Field23,
  Field24, Field25, Field26, Upin = 27, Field28, Field29, Field30 = 30, Field31, Field32,
  Field33, Npi = 34, Country = 35, Field36, Field37, Field38, Field39, Field40 = 40, Field41,
  Field42, Field43, Field44, Field45,
  kMemberCount = 46
};
}  // namespace sprovider

namespace oprovider {
enum : size_t {
  Field00 = 0, IhCode = 1, OtherId = 2, FirstName = 3, LastName = 4, MiddleName = 5, Field06,
  Field07, Field08, SexCode = 9, SexDescription = 10, Field11, Field12, Field13, Field14,
  Field15, Field16, Field17, Field18, Field19, Field20 = 20, Field21, Field22,
  ProviderRole = 23, Field24, Field25, Field26, Field27, Field28, Field29, Field30 = 30,
  Field31, StateLicense = 32, Upin = 33, Field34, Field35, Field36, Field37, UseUpin = 38,
  Gate = 39, Field40 = 40, Npi = 41, Field42, Field43, Field44, Country = 45, Field46,
  Field47, Field48, Field49, Field50 = 50, Field51, Field52, Field53, Field54, Field55,
  kMemberCount = 56
};
}  // namespace oprovider

namespace referral {
enum : size_t {
  Field00 = 0, IhCode = 1, OtherId = 2, FirstName = 3, LastName = 4, MiddleName = 5, Field06,
  Field07, Field08, SexCode = 9, SexDescription = 10, Field11, Field12, Field13, Field14,
  Field15, Field16, Field17, Field18, Field19, Field20 = 20, Field21, Field22, Field23,
  Field24, Field25, Field26, Field27, Field28, Field29, StateLicense = 30, Upin = 31, Field32,
  Field33, Field34, Field35, UseUpin = 36, Gate = 37, Field38, Npi = 39, Field40 = 40,
  Field41, Field42, Country = 43, Field44, Field45, Field46, Field47, Field48, Field49,
  Field50 = 50, Field51, Field52, Field53,
  kMemberCount = 54
};
}  // namespace referral

// The other referral has the other provider's layout.
namespace oreferral = oprovider;

namespace facility {
enum : size_t {
  Field00 = 0, IhCode = 1, Field02, Field03, Field04, Field05, Field06, Field07, Field08,
  Field09, Field10 = 10, Field11, Field12, Field13, Field14, Field15, Field16, Field17,
  Npi = 18, Country = 19, Field20 = 20, Field21, Field22, Field23, Field24, Field25, Field26,
  Field27, Field28, Field29, Field30 = 30,
  kMemberCount = 31
};
}  // namespace facility

namespace oinsurance {
enum : size_t {
  Field00 = 0, IhCode = 1, PayerId = 2, PayerName = 3,  // token 3
  InsuredIdPrefix = 4,  // token 4
  InsuredIdNumber = 5,  // token 5
  GroupNumber = 6,  // token 6
  Field07, Field08,
  Field09, AssignsBenefits = 10,  // token 10
  Field11Mapped = 11, Field11 = 12, Field12 = 13, Field13 = 14,
  Relationship = 15,  // token 14
  Field15 = 16, Field16 = 17, InsuredFirstName = 18,  // token 17
  InsuredLastName = 19,  // token 18
  Field19 = 20,
  Field20 = 21, AllowedAmount = 22,  // token 21
  PaidAmount = 23,  // token 22
  WriteOffAmount = 24,  // token 23
  Field24 = 25, EmployerName = 26,  // token 25
  SexCode = 27, Field27 = 28, Field28 = 29, Field29 = 30, Field30 = 31, Field31 = 32,
  Field32 = 33, Field33 = 34, Field34 = 35, Field35 = 36, Field36 = 37, Field37 = 38,
  Field38 = 39, Field39 = 40, Field40 = 41, Field41 = 42, Field42 = 43, Field43 = 44,
  Field44 = 45, Field45 = 46, Field46 = 47, Field47 = 48, Field48 = 49, Field49 = 50,
  Field50 = 51, Field51 = 52, FollowMarker = 53, Field53 = 54, Field54 = 55, Field55 = 56,
  Field56 = 57, Field57 = 58, Field58 = 59, Field59 = 60, Field60 = 61, Field61 = 62,
  Field62 = 63, Field63 = 64, Field64 = 65, Field65 = 66, Field66 = 67, Field67 = 68,
  Field68 = 69, Field69 = 70, Field70 = 71, Field71 = 72, Field72 = 73,
  Deductible = 74,  // token 73
  AlternatePayerId = 75, Field75 = 76, AdjustmentCodes = 77, Country = 78, Country2 = 79,
  Field79 = 80, Field80 = 81, Field81 = 82, Field82 = 83, Field83 = 84, Field84 = 85,
  Field85 = 86, Field86 = 87, Field87 = 88, Field88 = 89,
  kMemberCount = 90
};
}  // namespace oinsurance

// The insurance record's payer-rule flags (Record::flags), in storage order.
namespace insurance_flag {
enum : size_t {
  IsPayerSKCT0 = 0, IsPayerSKMA0 = 1, IsPayerSKDC0 = 2, IsPayer12B76 = 3, IsPayerSKDE0 = 4,
  IsPayerSKIL0 = 5, IsPayerSKSC0 = 6, IsPayerSMMA0 = 7, IsPayerSKNC0 = 8, IsPayerSKNJ0 = 9,
  IsPayer12B35 = 10, IsPayer12B38 = 11, IsPayer12M35 = 12, IsPayerSMNY1 = 13,
  IsPayerSMNY2 = 14, IsPayerSKNY0 = 15, IsPayerSKOH0 = 16, IsPayerSMOH0 = 17,
  IsPayerCB865 = 18, IsPayerSKPA0 = 19, IsPayerSKVT0 = 20,
  kFlagCount = 21
};
}  // namespace insurance_flag

namespace charge {
// ExtraModifierList(i), i = 1 to 3: the words of ExtraModifiers not yet
// given to an empty modifier.
constexpr size_t ExtraModifierSlot(int i) { return ExtraModifierList1 + static_cast<size_t>(i - 1); }
}  // namespace charge

}  // namespace ub04
