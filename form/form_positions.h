// Named positions of the UB-04 page, in inches from the top-left corner.
//
// Only positions that more than one box uses, or that come in rows, are
// named here; a box printed once keeps its coordinates beside its code.
// Rows A, B and C of the payer area are indexed 0, 1, 2.
#pragma once

#include <array>

namespace ub04::pos {

// Service lines (form locators 42 to 47): 22 rows per page.
inline constexpr int kDetailRowsPerPage = 22;
inline constexpr std::array<float, kDetailRowsPerPage> kDetailRowY = {
    3.12f, 3.27f, 3.43f, 3.62f, 3.80f, 3.94f, 4.12f, 4.30f, 4.44f, 4.62f, 4.77f,
    4.92f, 5.11f, 5.28f, 5.44f, 5.61f, 5.77f, 5.92f, 6.11f, 6.25f, 6.43f, 6.62f};

// Columns of a service line; the totals line (line 23) shares them.
inline constexpr float kRevenueCodeX = 0.25f;   // 42
inline constexpr float kDescriptionX = 0.65f;   // 43
inline constexpr float kHcpcsX = 3.25f;         // 44, procedure code
inline constexpr float kModifiersX = 3.75f;     // 44, modifiers 1 and 2
inline constexpr float kServiceDateX = 4.65f;   // 45
inline constexpr float kUnitsX = 5.5f;          // 46
inline constexpr float kChargesX = 7.05f;       // 47, right-aligned

// Line 23: totals, and "page 1 of 1" slightly higher.
inline constexpr float kTotalsY = 6.8f;
inline constexpr float kPageNumberY = 6.77f;

// Payer rows A to C.
using Rows = std::array<float, 3>;
inline constexpr Rows kPayerRowY = {7.12f, 7.27f, 7.42f};         // boxes 50 to 53, 57
inline constexpr Rows kPayerAmountRowY = {7.12f, 7.3f, 7.45f};    // boxes 54 and 55
inline constexpr Rows kInsuredRowY = {7.8f, 7.95f, 8.11f};        // boxes 58 to 62
inline constexpr Rows kOtherEmployerRowY = {8.6f, 8.78f, 9.02f};  // box 65, other insurances
inline constexpr Rows kAuthorizationRowY = {8.5f, 8.68f, 8.82f};  // boxes 63 to 65, billed payer

// Boxes 50 to 62 columns.
inline constexpr float kPayerNameX = 0.25f;       // 50
inline constexpr float kHealthPlanIdX = 2.6f;     // 51
inline constexpr float kReleaseInfoX = 4.0f;      // 52
inline constexpr float kAssignBenefitsX = 4.3f;   // 53
inline constexpr float kPriorPaymentX = 5.4f;     // 54, right-aligned
inline constexpr float kAmountDueX = 6.5f;        // 55, right-aligned
inline constexpr float kOtherProviderIdX = 7.0f;  // 57
inline constexpr float kInsuredNameX = 0.3f;      // 58
inline constexpr float kRelationshipX = 2.8f;     // 59
inline constexpr float kInsuredIdX = 3.2f;        // 60
inline constexpr float kGroupNameX = 5.15f;       // 61
inline constexpr float kGroupNumberX = 6.7f;      // 62

// Boxes 31 to 34: occurrence code columns (date 0.25 to the right), one row.
inline constexpr std::array<float, 4> kOccurrenceX = {0.25f, 1.25f, 2.25f, 3.25f};
inline constexpr float kOccurrenceY = 1.82f;
inline constexpr float kOccurrenceDateOffset = 0.25f;

// Boxes 39 to 41: value codes, three columns by four rows, the amount
// right-aligned 1.22 to the right of its code.
inline constexpr std::array<float, 3> kValueCodeX = {4.5f, 5.8f, 7.1f};
inline constexpr std::array<float, 4> kValueCodeY = {2.31f, 2.5f, 2.69f, 2.81f};
inline constexpr float kValueAmountOffset = 1.22f;

// The row of boxes 10 to 29 (birth date to accident state).
inline constexpr float kAdmissionRowY = 1.45f;

// Boxes 76 and 77: provider lines (NPI, qualifier, identifier) and name lines.
struct ProviderRows {
  float id_y, name_y;
};
inline constexpr ProviderRows kAttendingRows = {9.5f, 9.62f};  // 76
inline constexpr ProviderRows kOperatingRows = {9.8f, 9.98f};  // 77
inline constexpr float kProviderNpiX = 6.1f;
inline constexpr float kProviderQualifierX = 7.25f;
inline constexpr float kProviderSecondaryIdX = 7.5f;
inline constexpr float kProviderLastNameX = 5.45f;
inline constexpr float kProviderFirstNameX = 7.2f;

// Box 80: first line beside the label, then full-width lines 0.15 apart.
inline constexpr float kRemarksFirstX = 0.6f;
inline constexpr float kRemarksFirstY = 10.15f;
inline constexpr float kRemarksX = 0.25f;
inline constexpr float kRemarksNextY = 10.3f;
inline constexpr float kRemarksLineStep = 0.15f;

}  // namespace ub04::pos
