// Every record type described as data: the parts read in order, the common
// field rules, the grid dump, the clean-up fields and the texts of the
// parse. The rules of one record type only are named functions
// (records/record_rules.h); what each named member holds is in
// records/layout_notes.h.
#include "records/layouts.h"

#include "records/layout_notes.h"
#include "records/layout_rules.h"
#include "records/record.h"
#include "records/record_rules.h"

namespace ub04 {

namespace {

using K = RuleKind;
constexpr int M = kMandatory;

// ---- practice (1000) -------------------------------------------------------------
constexpr Part kPracticeParts[] = {
    {0, 20},  {21, 21, 20}, {22, 22, 21}, {23, 23, 22}, {24, 24, 23, KeepNpiAsReceived},
    {25, 25, 24}, {26, 33, 25}, {34, 43, 33}};
constexpr FieldRule kPracticeFieldRules[] = {
    {K::kUpin, 15}, {K::kNpiCutover, 24}, {K::kCountry, 25}, {K::kCountry, 32}};
constexpr GridSection kPracticeGrid[] = {{"", 16, 17, 34}};
constexpr int kPracticeCleanup[] = {2, 3, 4, 5};
constexpr LayoutRules kPracticeRules{
    .entry_log = "ParsePracticeRec",
    .error_text = " ParsePracticeRec() Error: ",
    .cleanup_name = "Practice",
    .parts = kPracticeParts,
    .field_rules = kPracticeFieldRules,
    .grid_heading = "=== Practice Grid Values ===",
    .grid = kPracticeGrid,
    .cleanup_tokens = kPracticeCleanup,
    .on_entry = LogNpiLegacyNote,
    .finish = FetchOriginalAddressForForm,
};

// ---- submitter (1050) ------------------------------------------------------------
constexpr Part kSubmitterParts[] = {{0, 29}, {30, 31, 29}, {32, 34, 31}};
constexpr LayoutRules kSubmitterRules{
    .entry_log = "ParseSubmitterRec()",
    .error_text = " ParseSubmitterRec() Error: ",
    .cleanup_name = "Submitter",
    .parts = kSubmitterParts,
};

// ---- billing provider (2000) -----------------------------------------------------
constexpr Part kBProviderParts[] = {
    {0, 9},       {10, 26},     {27, 27},     {28, 32},     {33, 33, 32},
    {34, 34, 33}, {35, 35, 34}, {36, 43, 35}, {44, 53, 43}};
constexpr FieldRule kBProviderFieldRules[] = {{K::kSex, 8, 9},       {K::kUpin, 26},
                                              {K::kNpiCutover, 27},  {K::kCountry, 35},
                                              {K::kCountry, 42}};
constexpr GridSection kBProviderGrid[] = {{"", 28, 29, 44}};
constexpr int kBProviderCleanup[] = {2, 3, 5, 10, 11, 12};
constexpr LayoutRules kBProviderRules{
    .entry_log = "ParseBProviderRec()",
    .error_text = " ParseBProviderRec()   Error: ",
    .cleanup_name = "BProvider",
    .parts = kBProviderParts,
    .field_rules = kBProviderFieldRules,
    .grid_heading = "=== Billing Provider Grid Values ===",
    .grid = kBProviderGrid,
    .cleanup_tokens = kBProviderCleanup,
    .finish = SplitBProviderOtherId,
};

// ---- insurance (3000) ------------------------------------------------------------
constexpr Part kInsuranceParts[] = {{0, 32},       {33, 34, 32}, {35, 35, 34},
                                    {36, 36, 35},  {37, 37, 36}, {38, 67, 37}};
constexpr FieldRule kInsuranceFieldRules[] = {{K::kCountry, 37}};
constexpr GridSection kInsuranceGrid[] = {
    {"Ins ", 2, 21, 38}, {"Pra ", 17, 25, 48}, {"Prv ", 18, 29, 58}};
constexpr int kInsuranceCleanup[] = {3, 4, 5, 6};
constexpr LayoutRules kInsuranceRules{
    .entry_log = "ParseInsuranceRec()",
    .error_text = " ParseInsuranceRec()   Error: ",
    .cleanup_name = "Insurance",
    .parts = kInsuranceParts,
    .field_rules = kInsuranceFieldRules,
    .grid_heading = "=== Billing Insurance Grid Values ===",
    .grid = kInsuranceGrid,
    .cleanup_tokens = kInsuranceCleanup,
    .finish = FinishInsurance,
    .after_cleanup = OverridePracticeNpiAndSetFlags,
};

// ---- preferences (3100, 3101) -----------------------------------------------------
constexpr Part kCalcPrefParts[] = {{0, 11}, {12, 12, 11}, {13, 13, 12}, {14, 14, 13}};
constexpr LayoutRules kCalcPrefRules{
    .entry_log = "ParseCalcPrefRec()",
    .error_text = " ParseCalcPrefRec()  Error: ",
    .cleanup_name = "CalcPref",
    .parts = kCalcPrefParts,
};
constexpr Part kBreakPrefParts[] = {{0, 24}};
constexpr LayoutRules kBreakPrefRules{
    .entry_log = "ParseBreakPrefRec()",
    .error_text = " ParseBreakPrefRec()   Error: ",
    .cleanup_name = "BreakPref",
    .parts = kBreakPrefParts,
};

// ---- patient (4000) --------------------------------------------------------------
constexpr Part kPatientParts[] = {{0, 11}, {12, 49}, {50, 50, 49}, {51, 52, 50}};
constexpr FieldRule kPatientFieldRules[] = {
    {K::kSex, 10, 11}, {K::kCountry, 51}, {K::kCountry, 52}};
constexpr int kPatientCleanup[] = {2, 3, 4, 6, 7, 19, 20, 21, 22, 31, 32, 33, 36, 37, 38};
constexpr int kPatientDates[] = {8};  // the birth date (box 10)
constexpr LayoutRules kPatientRules{
    .entry_log = "ParsePatientRec()",
    .error_text = " ParsePatientRec()  Error: ",
    .cleanup_name = "Patient",
    .parts = kPatientParts,
    .field_rules = kPatientFieldRules,
    .cleanup_tokens = kPatientCleanup,
    .date_tokens = kPatientDates,
    .finish = ClearPatientMember53,
};

// ---- subscriber (5000): member 45 takes the second part of token 38 ---------------
constexpr Part kSubscriberParts[] = {
    {0, 10},  {11, 11, M, MapSubscriberField11}, {12, 26}, {27, 38, M, SplitSubscriberField38},
    {39, 64}, {65, 66, 64}};
constexpr FieldRule kSubscriberFieldRules[] = {
    {K::kSex, 25, 26}, {K::kCountry, 65}, {K::kCountry, 66}};
constexpr int kSubscriberCleanup[] = {4,  5,  6,  17, 18, 19, 21, 22, 34,
                                      35, 36, 37, 46, 47, 48, 51, 52, 53};
constexpr LayoutRules kSubscriberRules{
    .entry_log = "ParseSubscriberRec()",
    .error_text = " ParseSubscriber()  Error: ",
    .cleanup_name = "Subscriber",
    .shift_from = 45,
    .shift_by = 1,
    .parts = kSubscriberParts,
    .field_rules = kSubscriberFieldRules,
    .cleanup_tokens = kSubscriberCleanup,
};

// ---- extended data (5010-5018, 6010-6028): read by ParseExtDataRec -----------------
constexpr LayoutRules kExtDataRules{
    .entry_log = "ExtDataStruct()",
    .error_text = " ParseExtDataRec()  Error: ",
    .cleanup_name = "ExtData",
};

// ---- charge (6000): members 88-90 are ExtraModifierList ---------------------------
constexpr Part kChargeParts[] = {
    {0, 62, M, BlankNoneApprovals},
    {63, 70},
    {71, 71, M, FrameCodeList},
    {72, 87},
    {88, 101},
    {102, 102, 101},
    {103, 117, 102},
    {118, 118, 117},
    {119, 119, 118, nullptr, "0"},
    {120, 121, 119},
    {122, 125, 121},
    {126, 127, 125},
    {128, 128, 127, BlankZeroQuantities},
    {129, 139, M, nullptr, "", TakeIcd10Group},
    {140, 149, 139}};
constexpr GridSection kChargeGrid[] = {{"", 6, 84, 143}};
// Units (42) and the amounts: charges (43, 44), allowed, paid, write-off,
// adjustment and the fifth amount (64 to 68).
constexpr int kChargeNumbers[] = {42, 43, 44, 64, 65, 66, 67, 68};
// The onset (boxes 31 to 34), admission (box 12) and service dates (boxes
// 6, 45 and 74).
constexpr int kChargeDates[] = {50, 51, 53, 55};
constexpr LayoutRules kChargeRules{
    .entry_log = "ParseChargeRec()",
    .error_text = " ParseChargeRec() Error: ",
    .cleanup_name = "Charge",
    .shift_from = 88,
    .shift_by = 3,
    .parts = kChargeParts,
    .grid_heading = "=== Charge Procedure Grid Values ===",
    .grid = kChargeGrid,
    .number_tokens = kChargeNumbers,
    .date_tokens = kChargeDates,
    .on_entry = ClearThisFollowed,
    .finish = FinishCharge,
    .after_cleanup = StripProcedureFromNarrative,
};

// ---- ambulance (6050), chiropractic (6060) ----------------------------------------
constexpr Part kAmbulanceParts[] = {{0, 21}, {22, 22, 21}, {23, 23, 22}, {24, 35, 23}};
constexpr FieldRule kAmbulanceFieldRules[] = {{K::kCountry, 29}, {K::kCountry, 35}};
constexpr int kAmbulanceCleanup[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                     12, 13, 15, 16, 17, 18, 19, 20, 21};
constexpr LayoutRules kAmbulanceRules{
    .entry_log = "ParseAmbulanceRec()",
    .error_text = " ParseAmbulanceRec() Error: ",
    .cleanup_name = "Ambulance",
    .parts = kAmbulanceParts,
    .field_rules = kAmbulanceFieldRules,
    .cleanup_tokens = kAmbulanceCleanup,
};
constexpr Part kChiropractorParts[] = {{0, 17}};
constexpr int kChiropractorCleanup[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
constexpr LayoutRules kChiropractorRules{
    .entry_log = "ParseChiropractorRec()",
    .error_text = " ParseChiropractorRec() Error: ",
    .cleanup_name = "Chiropractor",
    .parts = kChiropractorParts,
    .cleanup_tokens = kChiropractorCleanup,
};

// ---- provider-like companions (6100, 6110, 6120, 6130) ----------------------------
constexpr int kProviderCleanup[] = {3, 4, 6, 11, 12, 13};

constexpr Part kSProviderParts[] = {{0, 31},      {32, 32, 31}, {33, 33, 32},
                                    {34, 34, 33}, {35, 35, 34}, {36, 45, 35}};
constexpr FieldRule kSProviderFieldRules[] = {
    {K::kSex, 9, 10}, {K::kUpin, 27}, {K::kCountry, 35}};
constexpr GridSection kSProviderGrid[] = {{"", 2, 28, 36}};
constexpr LayoutRules kSProviderRules{
    .entry_log = "ParseSProviderRec()",
    .error_text = " ParseSProviderRec() Error: ",
    .cleanup_name = "SProvider",
    .parts = kSProviderParts,
    .field_rules = kSProviderFieldRules,
    .grid_heading = "=== Servicing Provider Grid Values ===",
    .grid = kSProviderGrid,
    .cleanup_tokens = kProviderCleanup,
    .finish = ApplySProviderNpiCutover,  // after the grid dump
};

// The other provider and the other referral share one layout.
constexpr Part kOProviderParts[] = {{0, 39},      {40, 40, 39}, {41, 41, 40},
                                    {42, 44, 41}, {45, 45, 44}, {46, 55, 45}};
constexpr FieldRule kOProviderFieldRules[] = {
    {K::kSex, 9, 10}, {K::kUpin, 33}, {K::kNpiCutover, 41}, {K::kCountry, 45}};
constexpr GridSection kOProviderGrid[] = {{"", 2, 34, 46}};
constexpr LayoutRules kOProviderRules{
    .entry_log = "ParseOProviderRec()",
    .error_text = " ParseOProviderRec() Error: ",
    .cleanup_name = "OProvider",
    .gate_token = 39,
    .parts = kOProviderParts,
    .field_rules = kOProviderFieldRules,
    .grid_heading = "=== OProvider Grid Values ===",
    .grid = kOProviderGrid,
    .cleanup_tokens = kProviderCleanup,
};
constexpr LayoutRules kOReferralRules{
    .entry_log = "ParseOReferralRec()",
    .error_text = " ParseOReferralRec()  Error: ",
    .cleanup_name = "OReferral",
    .gate_token = 39,
    .parts = kOProviderParts,
    .field_rules = kOProviderFieldRules,
    .grid_heading = "=== OReferral Grid Values ===",
    .grid = kOProviderGrid,
    .cleanup_tokens = kProviderCleanup,
};

constexpr Part kReferralParts[] = {{0, 37},      {38, 38, 37}, {39, 39, 38},
                                   {40, 42, 39}, {43, 43, 42}, {44, 53, 43}};
constexpr FieldRule kReferralFieldRules[] = {
    {K::kSex, 9, 10}, {K::kUpin, 31}, {K::kNpiCutover, 39}, {K::kCountry, 43}};
constexpr GridSection kReferralGrid[] = {{"", 2, 32, 44}};
constexpr LayoutRules kReferralRules{
    .entry_log = "ParseReferralRec()",
    .error_text = " ParseReferralRec() Error: ",
    .cleanup_name = "Referral",
    .gate_token = 37,
    .parts = kReferralParts,
    .field_rules = kReferralFieldRules,
    .grid_heading = "=== Referral Grid Values ===",
    .grid = kReferralGrid,
    .cleanup_tokens = kProviderCleanup,
};

// ---- facility (6200) -------------------------------------------------------------
constexpr Part kFacilityParts[] = {{0, 17}, {18, 18, 17}, {19, 20, 18}, {21, 30, 20}};
constexpr FieldRule kFacilityFieldRules[] = {{K::kCountry, 19}};
constexpr GridSection kFacilityGrid[] = {{"", 2, 14, 21}};
constexpr int kFacilityCleanup[] = {3, 4, 5, 6};
constexpr LayoutRules kFacilityRules{
    .entry_log = "ParseFacilityRec()",
    .error_text = " ParseFacilityRec() Error: ",
    .cleanup_name = "Facility",
    .parts = kFacilityParts,
    .field_rules = kFacilityFieldRules,
    .grid_heading = "=== Facility Grid Values ===",
    .grid = kFacilityGrid,
    .cleanup_tokens = kFacilityCleanup,
    .finish = ApplyFacilityNpiCutover,
};

// ---- other insurance (6310-6340): member 11 is Field11Mapped ----------------------
constexpr Part kOInsuranceParts[] = {{0, 10, M, MapOInsuranceAssignsBenefits},
                                     {11, 11, M, MapOInsuranceField11},
                                     {12, 76, M, NormalizeOInsuranceAdjustments},
                                     {77, 77},
                                     {78, 78, 77},
                                     {79, 88, 78}};
constexpr FieldRule kOInsuranceFieldRules[] = {
    {K::kSex, 26}, {K::kCountry, 77}, {K::kCountry, 78}};
constexpr int kOInsuranceCleanup[] = {3,  4,  5,  6,  16, 17, 18, 20, 25, 32,
                                      33, 34, 41, 42, 43, 54, 55, 56, 71};
// The payer's allowed, paid and write-off amounts.
constexpr int kOInsuranceNumbers[] = {21, 22, 23};
constexpr LayoutRules kOInsuranceRules{
    .entry_log = "ParseOInsuranceRec()",
    .error_text = " ParseOInsuranceRec() Error: ",
    .cleanup_name = "OInsurance",
    .shift_from = 11,
    .shift_by = 1,
    .parts = kOInsuranceParts,
    .field_rules = kOInsuranceFieldRules,
    .cleanup_tokens = kOInsuranceCleanup,
    .number_tokens = kOInsuranceNumbers,
    .finish = FinishOInsurance,
    .after_cleanup = MarkChargeFollowed,
};

}  // namespace

const RecordLayout kPracticeLayout{.name = "Practice", .names = "practice",
                                   .member_count = practice::kMemberCount,
                                   .rules = &kPracticeRules,
                                   .notes = kPracticeNotes};
const RecordLayout kSubmitterLayout{.name = "Submitter", .names = "submitter",
                                    .member_count = submitter::kMemberCount,
                                    .rules = &kSubmitterRules,
                                    .notes = kSubmitterNotes};
const RecordLayout kBProviderLayout{.name = "Billing provider", .names = "bprovider",
                                    .member_count = bprovider::kMemberCount,
                                    .rules = &kBProviderRules,
                                    .notes = kBProviderNotes};
const RecordLayout kInsuranceLayout{.name = "Insurance", .names = "insurance",
                                    .member_count = insurance::kMemberCount,
                                    .flag_count = insurance_flag::kFlagCount,
                                    .rules = &kInsuranceRules,
                                    .notes = kInsuranceNotes};
const RecordLayout kCalcPrefLayout{.name = "Calculation preferences", .names = "calc_pref",
                                   .member_count = calc_pref::kMemberCount,
                                   .rules = &kCalcPrefRules,
                                   .notes = kCalcPrefNotes};
const RecordLayout kBreakPrefLayout{.name = "Break preferences", .names = "break_pref",
                                    .member_count = break_pref::kMemberCount,
                                    .rules = &kBreakPrefRules};
const RecordLayout kPatientLayout{.name = "Patient", .names = "patient",
                                  .member_count = patient::kMemberCount,
                                  .rules = &kPatientRules,
                                  .notes = kPatientNotes};
const RecordLayout kSubscriberLayout{.name = "Subscriber", .names = "subscriber",
                                     .member_count = subscriber::kMemberCount,
                                     .rules = &kSubscriberRules,
                                     .notes = kSubscriberNotes};
const RecordLayout kExtDataLayout{.name = "Extended data", .names = "ext_data",
                                  .member_count = ext_data::kMemberCount,
                                  .rules = &kExtDataRules, .emptied_whole = true,
                                  .notes = kExtDataNotes};
const RecordLayout kChargeLayout{.name = "Charge", .names = "charge",
                                 .member_count = charge::kMemberCount, .rules = &kChargeRules,
                                 .notes = kChargeNotes};
const RecordLayout kAmbulanceLayout{.name = "Ambulance", .names = "ambulance",
                                    .member_count = ambulance::kMemberCount,
                                    .rules = &kAmbulanceRules};
const RecordLayout kChiropractorLayout{.name = "Chiropractor", .names = "chiropractor",
                                       .member_count = chiropractor::kMemberCount,
                                       .rules = &kChiropractorRules};
const RecordLayout kSProviderLayout{.name = "Servicing provider", .names = "sprovider",
                                    .member_count = sprovider::kMemberCount,
                                    .rules = &kSProviderRules,
                                    .notes = kSProviderNotes};
const RecordLayout kOProviderLayout{.name = "Other provider", .names = "oprovider",
                                    .member_count = oprovider::kMemberCount,
                                    .rules = &kOProviderRules,
                                    .notes = kOProviderNotes};
const RecordLayout kReferralLayout{.name = "Referral", .names = "referral",
                                   .member_count = referral::kMemberCount,
                                   .rules = &kReferralRules,
                                   .clear_log = ">> ClearReferralStruct()   Referral is now empty",
                                   .notes = kReferralNotes};
const RecordLayout kOReferralLayout{.name = "Other referral", .names = "oprovider",
                                    .member_count = oreferral::kMemberCount,
                                    .rules = &kOReferralRules,
                                    .notes = kOReferralNotes};
const RecordLayout kFacilityLayout{.name = "Facility", .names = "facility",
                                   .member_count = facility::kMemberCount,
                                   .rules = &kFacilityRules,
                                   .notes = kFacilityNotes};
const RecordLayout kOInsuranceLayout{.name = "Other insurance", .names = "oinsurance",
                                     .member_count = oinsurance::kMemberCount,
                                     .rules = &kOInsuranceRules,
                                     .notes = kOInsuranceNotes};

Record::Record(const RecordLayout* l)
    : layout(l), m(l->member_count), flags(l->flag_count, false) {}

}  // namespace ub04
