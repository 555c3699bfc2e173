// What each named record member holds: the meaning column of the record
// reference (docs/records.md), kept beside the layouts as data. Every member
// with a name of its own has a note here; the generator of the reference
// stops on one that has none. Read by records/layouts.cpp only.
//
// A note says what the member holds and where it prints or what it decides,
// as a host writer needs to know it to fill the token. The common field
// rules, optional groups and clean-ups are added by the generator from the
// parsing description, so the notes do not repeat them.
#pragma once

#include "records/layouts.h"

namespace ub04 {

// ---- practice (1000) ----------------------------------------------------------------
constexpr MemberNote kPracticeNotes[] = {
    {practice::IhCode, "the practice's code: with the billing provider's and the insurance's it "
                       "picks the billing NPI override; the payer billing ids are kept per "
                       "practice"},
    {practice::Name, "box 1 line 1 when the practice is the billing party"},
    {practice::AddressLine1, "box 1 line 2"},
    {practice::AddressLine2, "second address line (not printed)"},
    {practice::City, "box 1 line 3"},
    {practice::State, "box 1 line 3"},
    {practice::ZipCode, "box 1 line 3"},
    {practice::Phone, "box 1 line 4"},
    {practice::PhoneExtension, "box 1 line 4, after `Phone`"},
    {practice::FederalTaxId, "box 5 when the practice is the billing party"},
    {practice::Upin, "UPIN (not printed)"},
    {practice::DefaultBillingId, "the practice's default billing id: box 57 when the insurance's "
                                 "`UseDefaultBillingId` is \"1\""},
    {practice::TypeOfBill, "type of bill (box 4) when neither extended data 20007 nor the "
                           "insurance gives one"},
    {practice::AdmissionType, "box 14 when neither extended data 20011 nor the insurance gives "
                              "one"},
    {practice::AdmissionSource, "box 15 when neither extended data 20012 nor the insurance "
                                "gives one"},
    {practice::Taxonomy, "billing taxonomy code: box 81 with qualifier B3, for the payers that "
                         "take NPIs only"},
    {practice::Npi, "billing NPI: box 56, whichever party boxes 1 and 2 show; each insurance "
                    "record replaces it with the override stored for the practice, billing "
                    "provider and insurance, or restores `NpiAsReceived`"},
    {practice::Country, "country of the address (not printed)"},
    {practice::PayToName, "box 2 line 1 when the practice is the billing party"},
    {practice::PayToAddressLine1, "box 2 line 2; when empty, box 2 stays blank"},
    {practice::PayToAddressLine2, "box 2, a line of its own when not empty"},
    {practice::PayToCity, "box 2 last line"},
    {practice::PayToState, "box 2 last line"},
    {practice::PayToZipCode, "box 2 last line"},
    {practice::PayToCountry, "country of the pay-to address (not printed)"},
    {practice::NpiAsReceived, "`Npi` as the record brought it"},
    {practice::OriginalName, "the received `Name`, kept when forms ending _P5 or _I5 print the "
                             "stored original practice address instead"},
    {practice::OriginalAddressLine1, "the received `AddressLine1` (see `OriginalName`)"},
    {practice::OriginalAddressLine2, "the received `AddressLine2` (see `OriginalName`)"},
    {practice::OriginalCity, "the received `City` (see `OriginalName`)"},
    {practice::OriginalState, "the received `State` (see `OriginalName`)"},
    {practice::OriginalZipCode, "the received `ZipCode` (see `OriginalName`)"},
    {practice::OriginalCountry, "the received `Country` (see `OriginalName`)"},
};

// ---- submitter (1050) ---------------------------------------------------------------
constexpr MemberNote kSubmitterNotes[] = {
    {submitter::IhCode, "the submitter's code (not printed)"},
};

// ---- billing provider (2000) --------------------------------------------------------
constexpr MemberNote kBProviderNotes[] = {
    {bprovider::IhCode, "the billing provider's code: it picks the practice's billing NPI "
                        "override with the insurance's"},
    {bprovider::FirstName, "box 1 line 1 when the billing provider is the billing party; box 76 "
                           "when no referral names the attending provider"},
    {bprovider::LastName, "as `FirstName`"},
    {bprovider::MiddleName, "its first letter, as `FirstName`"},
    {bprovider::NameSuffix, "box 1 line 1, after the last name"},
    {bprovider::FederalTaxId, "box 5 when `TaxIdOverride` is empty"},
    {bprovider::SexCode, "F, M or U (not printed)"},
    {bprovider::SexDescription, "the sex code's text (not printed)"},
    {bprovider::AddressLine1, "box 1 line 2"},
    {bprovider::AddressLine2, "second address line (not printed)"},
    {bprovider::City, "box 1 line 3"},
    {bprovider::State, "box 1 line 3"},
    {bprovider::ZipCode, "box 1 line 3"},
    {bprovider::Phone, "box 1 line 4"},
    {bprovider::PhoneExtension, "box 1 line 4, after `Phone`"},
    {bprovider::TaxIdOverride, "box 5 when the billing provider is the billing party"},
    {bprovider::StateLicense, "box 76 id, qualifier 0B, for payer ids beginning 80142"},
    {bprovider::Upin, "box 76 id, qualifier 1G, when `UseUpin` is \"1\""},
    {bprovider::Npi, "box 76 NPI when the billing provider is the attending provider"},
    {bprovider::OtherId, "box 76 id, qualifier G2; the text after its first \"/\" goes to "
                         "`OtherIdSecondPart`"},
    {bprovider::UseUpin, "\"1\": box 76 takes `Upin`"},
    {bprovider::Country, "country of the address (not printed)"},
    {bprovider::PayToName, "box 2 line 1 when the billing provider is the billing party"},
    {bprovider::PayToAddressLine1, "box 2 line 2; when empty, box 2 stays blank"},
    {bprovider::PayToAddressLine2, "box 2, a line of its own when not empty"},
    {bprovider::PayToCity, "box 2 last line"},
    {bprovider::PayToState, "box 2 last line"},
    {bprovider::PayToZipCode, "box 2 last line"},
    {bprovider::PayToCountry, "country of the pay-to address (not printed)"},
    {bprovider::OtherIdSecondPart, "the text after the first \"/\" of `OtherId`"},
};

// ---- insurance (3000) ---------------------------------------------------------------
constexpr MemberNote kInsuranceNotes[] = {
    {insurance::IhCode, "the insurance's code: it keys the billing NPI override, the ICD-10 "
                        "readiness and NPI legacy dates and the payer billing ids"},
    {insurance::PayerId, "payer id: the payer rules and box 51; when empty it takes "
                         "`AlternatePayerId`"},
    {insurance::Name, "payer name: box 50 on the billed payer's row, box 61, and boxes 38 and "
                      "80 when they show the payer"},
    {insurance::AddressLine1, "payer address: box 38 when it shows the payer, box 80 when the "
                              "claim has no remarks"},
    {insurance::AddressLine2, "payer address, a line of its own when not empty"},
    {insurance::City, "payer address"},
    {insurance::State, "payer address"},
    {insurance::ZipCode, "payer address; a ZIP+4 prints with \"-\""},
    {insurance::PatientStatusMarkers, "codes that may hold a \"~PS-\" patient-status marker: "
                                      "box 17 takes it when no charge brought one"},
    {insurance::PracticeIdForPayer, "box 57 (other provider id) unless `UseDefaultBillingId` "
                                    "is \"1\""},
    {insurance::ProviderIdForPayer, "the line provider id (see the calculation preferences' "
                                    "`LineProviderIdRule`); the text after its first \"/\" "
                                    "goes to `ProviderIdSecondPart`"},
    {insurance::PlanType, "\"MCR\": box 14 defaults to 1 on claims whose codes hold ~EM~"},
    {insurance::PrintDescription, "first character \"N\": no service line prints its "
                                  "description (box 43)"},
    {insurance::PrintProcedure, "first character \"N\": no service line prints its procedure "
                                "code and modifiers (box 44)"},
    {insurance::PatientStatus, "a two-character patient status: box 17 when neither a charge "
                               "nor `PatientStatusMarkers` gives one"},
    {insurance::OmitPrincipalProcedure, "first character \"Y\": box 74 stays blank"},
    {insurance::TypeOfBill, "type of bill (box 4) when extended data 20007 gives none; when "
                            "empty the practice's"},
    {insurance::AdmissionType, "box 14 when extended data 20011 gives none; when empty the "
                               "practice's"},
    {insurance::AdmissionSource, "box 15 when extended data 20012 gives none; when empty the "
                                 "practice's"},
    {insurance::UseDefaultBillingId, "\"1\": box 57 shows the practice's `DefaultBillingId` "
                                     "instead of `PracticeIdForPayer`"},
    {insurance::AlternatePayerId, "second payer id: stands in for an empty `PayerId`; its rest "
                                  "after a leading \"VID\" prints beside box 2; its first five "
                                  "characters pick the payer rules of boxes 43, 44, 69 and 70; "
                                  "it is the payer organization of the ICD-10 readiness dates"},
    {insurance::Country, "payer country (not printed)"},
    {insurance::PayerIsResponsibleParty, "first character \"y\" or \"Y\": box 38 shows the "
                                         "payer instead of the subscriber"},
    {insurance::ProviderIdSecondPart, "the text after the first \"/\" of "
                                      "`ProviderIdForPayer`"},
};

// ---- calculation preferences (3100) -------------------------------------------------
// (The break preferences, 3101, are explained by the break rules their
// switches turn on: claim/breaks.cpp.)
constexpr MemberNote kCalcPrefNotes[] = {
    {calc_pref::AmountDueRule, "the amount due (box 55, value code A2): \"1\" the charges less "
                               "the lines' `PaidAmount`; \"2\" also less their "
                               "`WriteOffAmount`; \"3\" also less their `AdjustmentAmount`; "
                               "anything else -1.00"},
    {calc_pref::BillingProviderSource, "a number: even (or empty) makes the practice the "
                                       "billing party of boxes 1, 2 and 5, odd the billing "
                                       "provider"},
    {calc_pref::LineProviderIdRule, "the service lines' provider id (not printed): \"0\" none, "
                                    "\"2\" the servicing provider's `OtherId` when one came "
                                    "with the charge, anything else the insurance's "
                                    "`ProviderIdForPayer`"},
    {calc_pref::NoDecimalPoint, "\"1\": amounts print with a blank for the decimal point "
                                "(boxes 47, 54 and 55, line 23, value code A2)"},
    {calc_pref::FacilitySwitch, "whether facility records (6200) are read: \"1\" never, \"2\" "
                                "not for the places of service 11 and 12, anything else "
                                "always"},
};

// ---- patient (4000) -----------------------------------------------------------------
constexpr MemberNote kPatientNotes[] = {
    {patient::AccountNumber, "patient control number: boxes 3a and 3b"},
    {patient::FirstName, "box 8b, after the last name"},
    {patient::LastName, "box 8b; with the first name, the claim's header"},
    {patient::MiddleName, "its first letter and \".\", box 8b"},
    {patient::NameSuffix, "box 8b, after the last name"},
    {patient::BirthDate, "box 10, as received"},
    {patient::SexCode, "box 11: F, M or U"},
    {patient::SexDescription, "the sex code's text (not printed)"},
    {patient::MaritalStatus, "D, S, W or M (not printed)"},
    {patient::AddressLine1, "box 9a"},
    {patient::AddressLine2, "box 9a, after \", \""},
    {patient::City, "box 9b"},
    {patient::State, "box 9c"},
    {patient::ZipCode, "box 9d; a ZIP+4 prints with \"-\""},
    {patient::Country, "country of the address (not printed)"},
    {patient::Country2, "second country field (not printed)"},
    {patient::Member53, "always empty"},
};

// ---- subscriber (5000) --------------------------------------------------------------
constexpr MemberNote kSubscriberNotes[] = {
    {subscriber::IhCode, "the subscriber's code (not printed)"},
    {subscriber::InsuredIdPrefix, "first part of the insured's id: box 60 on the billed payer's "
                                  "row, then a blank and `InsuredIdNumber`; with it, box 8a "
                                  "for payer 345724166"},
    {subscriber::InsuredIdNumber, "second part of the insured's id (see `InsuredIdPrefix`)"},
    {subscriber::GroupNumber, "box 62 on the billed payer's row"},
    {subscriber::AssignsBenefits, "\"1\": box 53 on the billed payer's row is Y, else N"},
    {subscriber::ChargeCodes, "codes added to the code list of every charge, after a \"~\""},
    {subscriber::Relationship, "relationship to the patient: box 59 on the billed payer's row, "
                               "SLF as 18, HUS and WIF as 01, DAU and SON as 19, FTH as 33, "
                               "MTH as 32, anything else 21"},
    {subscriber::FirstName, "box 38 (the responsible party, unless it is the payer) and box 58"},
    {subscriber::LastName, "boxes 38 and 58"},
    {subscriber::MiddleName, "its first letter and \".\", box 38"},
    {subscriber::SexCode, "F, M or U (not printed)"},
    {subscriber::SexDescription, "the sex code's text (not printed)"},
    {subscriber::EmployerName, "box 65 on the billed payer's row"},
    {subscriber::Field38SecondPart, "the text after the first \"~\" of token 38"},
    {subscriber::AddressLine1, "box 38 line 2"},
    {subscriber::AddressLine2, "box 38, a line of its own when not empty"},
    {subscriber::City, "box 38 last line"},
    {subscriber::State, "box 38 last line"},
    {subscriber::ZipCode, "box 38 last line; a ZIP+4 prints with \"-\""},
    {subscriber::Country, "country of the address (not printed)"},
    {subscriber::Country2, "second country field (not printed)"},
    {subscriber::Field11Mapped, "\"1\" when token 11 came as 3 or 2, else \"0\""},
};

// ---- extended data (5010-5018, 6010-6028) -------------------------------------------
constexpr MemberNote kExtDataNotes[] = {
    {ext_data::Pairs, "the items: for each pair of tokens after token 0, \"~\", the first five "
                      "characters of the first (the item code) and the second (its value); "
                      "then \"~\" (see Extended-data items)"},
};

// ---- charge (6000) ------------------------------------------------------------------
constexpr MemberNote kChargeNotes[] = {
    {charge::ProcedureCode, "procedure (HCPCS) code: box 44 on the service line, box 74 from "
                            "the claim's first line"},
    {charge::Description, "the service line's description, box 43 (unless `NdcCode` is set); "
                          "one starting \"BP:\" gives its rest to `BpValue` and is replaced by "
                          "`BpDescription`"},
    {charge::NdcCode, "drug code: the line's description becomes N4, the code, `NdcUnit` and "
                      "`NdcQuantity` less its last character"},
    {charge::CaseId, "case id (a break rule compares it)"},
    {charge::Modifier1, "modifier, box 44; when empty it takes the next word of "
                        "`ExtraModifiers`"},
    {charge::Modifier2, "modifier, box 44 after `Modifier1`; filled like it"},
    {charge::Modifier3, "modifier (not printed); filled like `Modifier1`"},
    {charge::TosCode, "type-of-service code (a break rule compares it)"},
    {charge::PosCode, "place-of-service code (a break rule compares it); 11 and 12 are offices "
                      "for the facility switch"},
    {charge::Icd9Lead1, "first token of ICD-9 slot 1; slot k is tokens 27 + 3(k - 1) to "
                        "29 + 3(k - 1) and 108 + k, and an empty slot is closed up by the ones "
                        "after it"},
    {charge::Icd9Code1, "ICD-9 diagnosis code 1"},
    {charge::Icd9Companion1, "the value paired with ICD-9 code 1"},
    {charge::Icd9Code2, "ICD-9 diagnosis code 2"},
    {charge::Icd9Companion2, "the value paired with ICD-9 code 2"},
    {charge::Icd9Code3, "ICD-9 diagnosis code 3"},
    {charge::Icd9Companion3, "the value paired with ICD-9 code 3"},
    {charge::Icd9Code4, "ICD-9 diagnosis code 4"},
    {charge::Icd9Companion4, "the value paired with ICD-9 code 4"},
    {charge::Icd9Code5, "ICD-9 diagnosis code 5"},
    {charge::Icd9Companion5, "the value paired with ICD-9 code 5"},
    {charge::Units, "units of service: box 46 (2 prints as 2, 1.5 as 1.5)"},
    {charge::ChargeAmount, "the charge amount: box 47, and the claim's total charges (line 23, "
                           "the amount due)"},
    {charge::SecondAmount, "a second amount, kept with the service line (not printed)"},
    {charge::EncounterId, "encounter (a break rule compares it)"},
    {charge::AnesthesiaType, "anesthesia type (a break rule compares it)"},
    {charge::OnsetType, "onset kind: the occurrence code of `OnsetDate` is 01 for ACC, 04 for "
                        "EMP, 10 for LMP, 02 for MTR and 11 otherwise; MTR also prints "
                        "extended data 20003 in box 29"},
    {charge::OnsetDate, "onset or accident date: boxes 31 to 34, after the extended-data "
                        "occurrences"},
    {charge::AdmissionDate, "admission date: box 12 (a break rule compares it)"},
    {charge::DischargeDate, "discharge date (a break rule compares it)"},
    {charge::ServiceDate, "date of service, MMDDYYYY: box 45, the start of the statement "
                          "period (box 6), box 74 from the claim's first line; the month break "
                          "rule reads it"},
    {charge::ServiceToDate, "last date of service: the end of the statement period (box 6)"},
    {charge::AnesthesiaTimeUnit, "anesthesia time unit (a break rule compares it)"},
    {charge::SendOpReport, "operative-report flag (a break rule compares it)"},
    {charge::CapitatedService, "capitated-service flag (a break rule compares it)"},
    {charge::PrimaryApprovalNumber, "treatment authorization, box 63 when the insurance is the "
                                    "first payer; one starting \"NONE\" becomes empty"},
    {charge::SecondaryApprovalNumber, "treatment authorization, box 63 when the insurance is "
                                      "the second or third payer; one starting \"NONE\" "
                                      "becomes empty"},
    {charge::RevenueCode, "revenue code: box 42 as four digits; the text after its first \"/\" "
                          "goes to `RevenueCodeSecondPart`"},
    {charge::AllowedAmount, "allowed amount of the line; the other insurances' `AllowedAmount` "
                            "add to it (not printed)"},
    {charge::PaidAmount, "amount paid on the line; the other insurances' `PaidAmount` add to "
                         "it; the claim's sum is taken off the amount due"},
    {charge::WriteOffAmount, "write-off of the line; the other insurances' `WriteOffAmount` "
                             "add to it; taken off the amount due when the calculation "
                             "preferences' `AmountDueRule` is \"2\" or \"3\""},
    {charge::AdjustmentAmount, "line adjustment: taken off the amount due when `AmountDueRule` "
                               "is \"3\""},
    {charge::FifthAmount, "a fifth amount, kept with the service line (not printed)"},
    {charge::InsuranceAction, "insurance action (a break rule compares it)"},
    {charge::PayerSequence, "the payer this claim bills: \"1\", \"2\" or \"3\" puts the "
                            "insurance on row A, B or C of boxes 50 to 65 (other insurance k "
                            "fills row k); any other value leaves the insurance's rows blank "
                            "and warns the host; other than \"1\", value codes A1 and A2 "
                            "follow"},
    {charge::CodeList, "codes, each between \"~\" marks: a \"~PS-\" patient-status marker gives "
                       "box 17, ~EM~ the box 14 default"},
    {charge::Narrative, "narrative: the claim's remarks (box 80) are its first non-empty one"},
    {charge::LineText2, "a text kept with the service line (not printed)"},
    {charge::LineText1, "a text kept with the service line (not printed)"},
    {charge::ExtraModifiers, "extra modifier codes separated by blanks: they fill the empty "
                             "modifiers in order"},
    {charge::ValueCode30Amount, "amount of value code 30 (boxes 39 to 41), from the claim's "
                                "first line that has one"},
    {charge::RevenueCodeOverride, "when not empty, the revenue code of box 42"},
    {charge::ExtraModifierList1, "the first of the words of `ExtraModifiers` (three at most) "
                                 "that no empty modifier took"},
    {charge::ExtraModifierList2, "the second of those words"},
    {charge::ExtraModifierList3, "the third of those words"},
    {charge::ClaimAction, "V, A or C: the last digit of the type of bill (box 4) becomes 8, 7 "
                          "or 6"},
    {charge::DocumentControlNumber, "document control number: box 64 for the first and second "
                                    "payer"},
    {charge::DiagnosisBoxSelector, "when the insurance's `AlternatePayerId` begins 22326: 21 "
                                   "prints the first diagnosis in box 69, 22 or 24 in box 70"},
    {charge::Icd9Trailer1, "last token of ICD-9 slot 1 (slot k: token 108 + k)"},
    {charge::Modifier4, "modifier (not printed); filled like `Modifier1`"},
    {charge::NdcQuantity, "drug quantity (see `NdcCode`); 0 becomes empty"},
    {charge::NdcUnit, "drug unit (see `NdcCode`)"},
    {charge::BpDescription, "the description that replaces a `Description` starting \"BP:\""},
    {charge::StripProcedureFromNarrative, "\"1\": a `Narrative` that holds `Description` "
                                          "becomes empty"},
    {charge::Icd10Code1, "ICD-10 diagnosis code 1"},
    {charge::Icd10Companion1, "the value paired with ICD-10 code 1"},
    {charge::Icd10Code2, "ICD-10 diagnosis code 2"},
    {charge::Icd10Companion2, "the value paired with ICD-10 code 2"},
    {charge::Icd10Code3, "ICD-10 diagnosis code 3"},
    {charge::Icd10Companion3, "the value paired with ICD-10 code 3"},
    {charge::Icd10Code4, "ICD-10 diagnosis code 4"},
    {charge::Icd10Companion4, "the value paired with ICD-10 code 4"},
    {charge::Icd10Code5, "ICD-10 diagnosis code 5"},
    {charge::Icd10Companion5, "the value paired with ICD-10 code 5"},
    {charge::Icd10Extra, "a sixth ICD-10 field (`Diagnosis6`)"},
    {charge::RevenueCodeSecondPart, "the text after the first \"/\" of `RevenueCode`: the "
                                    "amount of the 20016 value code, and the key a crossover "
                                    "(MCA) other insurance follows"},
    {charge::TypeOfBill, "the four-digit type of bill, set at the end of the charge: extended "
                         "data 20007, else the insurance's, else the practice's"},
    {charge::Field00ThirdPart, "the third comma-separated field of token 0"},
    {charge::BpValue, "the text after \"BP:\" in `Description`"},
    {charge::DiagnosisCodeSet, "the diagnosis code set chosen for the charge, 9, 10 or ?: box "
                               "66 prints 0 for 10, else 9"},
    {charge::Diagnosis1, "diagnosis 1 of the chosen set: box 67 (the claim's diagnoses), "
                         "boxes 69 and 70 from the claim's first line"},
    {charge::Diagnosis1Companion, "the value paired with diagnosis 1"},
    {charge::Diagnosis2, "diagnosis 2 of the chosen set (box 67)"},
    {charge::Diagnosis2Companion, "the value paired with diagnosis 2"},
    {charge::Diagnosis3, "diagnosis 3 of the chosen set (box 67)"},
    {charge::Diagnosis3Companion, "the value paired with diagnosis 3"},
    {charge::Diagnosis4, "diagnosis 4 of the chosen set (box 67)"},
    {charge::Diagnosis4Companion, "the value paired with diagnosis 4"},
    {charge::Diagnosis5, "diagnosis 5 of the chosen set (box 67, when five per charge count)"},
    {charge::Diagnosis5Companion, "the value paired with diagnosis 5"},
    {charge::Diagnosis6, "`Icd10Extra` under ICD-10, else empty"},
};

// ---- servicing provider (6100) ------------------------------------------------------
constexpr MemberNote kSProviderNotes[] = {
    {sprovider::IhCode, "the servicing provider's code (not printed)"},
    {sprovider::OtherId, "the service line's provider id when the calculation preferences' "
                         "`LineProviderIdRule` is \"2\" (not printed)"},
    {sprovider::FirstName, "not printed"},
    {sprovider::LastName, "not printed"},
    {sprovider::MiddleName, "not printed"},
    {sprovider::SexCode, "F, M or U (not printed)"},
    {sprovider::SexDescription, "the sex code's text (not printed)"},
    {sprovider::Upin, "UPIN (not printed)"},
    {sprovider::Npi, "NPI (not printed)"},
    {sprovider::Country, "country (not printed)"},
};

// ---- other provider (6110) and other referral (6130) --------------------------------
constexpr MemberNote kOProviderNotes[] = {
    {oprovider::IhCode, "the other provider's code (not printed)"},
    {oprovider::OtherId, "box 77 id, qualifier G2"},
    {oprovider::FirstName, "box 77 first name"},
    {oprovider::LastName, "box 77 last name"},
    {oprovider::MiddleName, "its first letter and \".\", box 77 after the first name"},
    {oprovider::SexCode, "F, M or U (not printed)"},
    {oprovider::SexDescription, "the sex code's text (not printed)"},
    {oprovider::ProviderRole, "\"OP\": the operating physician, box 77; the other roles print "
                              "nowhere"},
    {oprovider::StateLicense, "box 77 id, qualifier 0B, for payer ids beginning 80142"},
    {oprovider::Upin, "box 77 id, qualifier 1G, when `UseUpin` is true"},
    {oprovider::UseUpin, "a truth value (a number, True or False): true gives box 77 `Upin`; "
                         "any other text stops the page's remaining boxes with an error"},
    {oprovider::Gate, "the record's switch"},
    {oprovider::Npi, "box 77 NPI"},
    {oprovider::Country, "country (not printed)"},
};
// The other referral shares the other provider's layout but prints nowhere.
constexpr MemberNote kOReferralNotes[] = {
    {oreferral::IhCode, "not printed"},     {oreferral::OtherId, "not printed"},
    {oreferral::FirstName, "not printed"},  {oreferral::LastName, "not printed"},
    {oreferral::MiddleName, "not printed"}, {oreferral::SexCode, "F, M or U (not printed)"},
    {oreferral::SexDescription, "the sex code's text (not printed)"},
    {oreferral::ProviderRole, "not printed"}, {oreferral::StateLicense, "not printed"},
    {oreferral::Upin, "not printed"},       {oreferral::UseUpin, "not printed"},
    {oreferral::Gate, "the record's switch"}, {oreferral::Npi, "not printed"},
    {oreferral::Country, "not printed"},
};

// ---- referral (6120) ----------------------------------------------------------------
constexpr MemberNote kReferralNotes[] = {
    {referral::IhCode, "the referring provider's code (a break rule compares it)"},
    {referral::OtherId, "box 76 id, qualifier G2"},
    {referral::FirstName, "box 76 first name"},
    {referral::LastName, "box 76 last name; when empty, box 76 shows the billing provider"},
    {referral::MiddleName, "its first letter and \".\", box 76 after the first name"},
    {referral::SexCode, "F, M or U (not printed)"},
    {referral::SexDescription, "the sex code's text (not printed)"},
    {referral::StateLicense, "box 76 id, qualifier 0B, for payer ids beginning 80142"},
    {referral::Upin, "box 76 id, qualifier 1G, when `UseUpin` is \"1\""},
    {referral::UseUpin, "\"1\": box 76 takes `Upin`"},
    {referral::Gate, "the record's switch"},
    {referral::Npi, "box 76 NPI"},
    {referral::Country, "country (not printed)"},
};

// ---- facility (6200) ----------------------------------------------------------------
constexpr MemberNote kFacilityNotes[] = {
    {facility::IhCode, "the facility's code (a break rule compares it)"},
    {facility::Npi, "the facility's NPI (not printed)"},
    {facility::Country, "country (not printed)"},
};

// ---- other insurance (6310-6340) ----------------------------------------------------
// Other insurances 1 to 3 each fill their own row (A to C) of boxes 50 to
// 65; the fourth prints nowhere.
constexpr MemberNote kOInsuranceNotes[] = {
    {oinsurance::IhCode, "the other insurance's code (a break rule compares it)"},
    {oinsurance::PayerId, "box 51 on its row; when empty it takes `AlternatePayerId`"},
    {oinsurance::PayerName, "payer name: box 50 and box 61 on its row"},
    {oinsurance::InsuredIdPrefix, "first part of the insured's id: box 60 on its row, then a "
                                  "blank and `InsuredIdNumber`"},
    {oinsurance::InsuredIdNumber, "second part of the insured's id, box 60"},
    {oinsurance::GroupNumber, "box 62 on its row"},
    {oinsurance::AssignsBenefits, "\"1\": box 53 on its row is Y, else N"},
    {oinsurance::Field11Mapped, "\"1\" when token 11 came as 5 or 4, else \"0\""},
    {oinsurance::Relationship, "relationship of the insured to the patient: box 59 on its row "
                               "(coded as the subscriber's `Relationship`)"},
    {oinsurance::InsuredFirstName, "box 58 on its row, after the last name"},
    {oinsurance::InsuredLastName, "box 58 on its row"},
    {oinsurance::AllowedAmount, "the payer's allowed amount: added to the line's "
                                "`AllowedAmount`"},
    {oinsurance::PaidAmount, "the payer's paid amount: box 54 on its row, when it comes before "
                             "the billed payer; added to the line's `PaidAmount`, so taken off "
                             "the amount due"},
    {oinsurance::WriteOffAmount, "the payer's write-off: added to the line's `WriteOffAmount`"},
    {oinsurance::EmployerName, "box 65 on its row"},
    {oinsurance::SexCode, "F, M or U (not printed)"},
    {oinsurance::FollowMarker, "\"MCA\" marks the charge as followed by a crossover claim"},
    {oinsurance::Deductible, "the deductible, of other insurance 1 only: value code A1 (boxes "
                             "39 to 41) when it is not 0 and the claim bills a later payer"},
    {oinsurance::AlternatePayerId, "stands in for an empty `PayerId`"},
    {oinsurance::AdjustmentCodes, "payment adjustments: group|reason|amount|units, repeated "
                                  "(not printed)"},
    {oinsurance::Country, "country (not printed)"},
    {oinsurance::Country2, "second country field (not printed)"},
};

}  // namespace ub04
