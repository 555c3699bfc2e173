// Every position the box writers print at, in inches from the top-left
// corner of the UB-04 page, named by box (form locator) and row.
//
// Names start with the box number in two digits (kBox05..., kBox56...) or
// the range of boxes that share them (kBoxes50To57RowY), so a search for
// "Box56" finds the position here and its writer in boxes_*.cpp. X is where
// the text starts, or where it ends for a right-aligned box (noted).
// Rows A, B and C of the payer area (boxes 50 to 65) are arrays indexed 0,
// 1, 2.
#pragma once

#include <array>
#include <cstddef>

namespace ub04::pos {

using Rows = std::array<float, 3>;  // rows A, B, C

// ---- Boxes 1 to 9: the top of the form ----------------------------------------------

// Box 1: billing provider, four lines.
inline constexpr float kBox01X = 0.3f;
inline constexpr std::array<float, 4> kBox01LineY = {0.33f, 0.48f, 0.63f, 0.78f};

// Box 2: pay-to name and address; the optional second address line pushes
// the city line one step down.
inline constexpr float kBox02X = 2.8f;
inline constexpr float kBox02NameY = 0.33f;
inline constexpr float kBox02AddressY = 0.48f;
inline constexpr float kBox02NextY = 0.63f;
inline constexpr float kBox02LineStep = 0.15f;
// Box 2, vendor id at the end of its last line (right-aligned).
inline constexpr float kBox02VendorIdX = 5.1f;
inline constexpr float kBox02VendorIdY = 0.78f;

// Box 3: 3a patient control number, 3b medical record number.
inline constexpr float kBox03X = 5.6f;
inline constexpr float kBox03aY = 0.3f;
inline constexpr float kBox03bY = 0.48f;

// Box 4: type of bill.
inline constexpr float kBox04X = 7.85f;
inline constexpr float kBox04Y = 0.48f;

// Box 5: federal tax number.
inline constexpr float kBox05X = 5.18f;
inline constexpr float kBox05Y = 0.81f;

// Box 6: statement period, from and through.
inline constexpr float kBox06FromX = 6.2f;
inline constexpr float kBox06ThroughX = 6.9f;
inline constexpr float kBox06Y = 0.81f;

// Box 8: 8a patient id, 8b patient name.
inline constexpr float kBox08aX = 1.3f;
inline constexpr float kBox08aY = 0.95f;
inline constexpr float kBox08bX = 0.3f;
inline constexpr float kBox08bY = 1.13f;

// Box 9: patient address, 9a street on its own line, 9b to 9d on the next.
inline constexpr float kBox09aX = 4.3f;
inline constexpr float kBox09aY = 0.98f;
inline constexpr float kBox09bX = 3.3f;   // city
inline constexpr float kBox09cX = 6.55f;  // state
inline constexpr float kBox09dX = 7.0f;   // ZIP
inline constexpr float kBox09bToDY = 1.13f;

// ---- Boxes 10 to 29: one row --------------------------------------------------------

inline constexpr float kBoxes10To29Y = 1.45f;
inline constexpr float kBox10BirthDateX = 0.3f;
inline constexpr float kBox11SexX = 1.1f;
inline constexpr float kBox12AdmissionDateX = 1.35f;
inline constexpr float kBox13AdmissionHourX = 2.0f;
inline constexpr float kBox14AdmissionTypeX = 2.3f;
inline constexpr float kBox15PointOfOriginX = 2.6f;
inline constexpr float kBox16DischargeHourX = 2.9f;
inline constexpr float kBox17PatientStatusX = 3.2f;
// Boxes 18 to 28: condition codes from X 3.5 rightwards, one step apart.
inline constexpr float kBoxes18To28FirstX = 3.5f;
inline constexpr float kBoxes18To28Step = 0.3f;
inline constexpr int kBoxes18To28Slots = 11;
inline constexpr float kBox29AccidentStateX = 6.8f;

// ---- Boxes 31 to 41 -----------------------------------------------------------------

// Boxes 31 to 34: occurrence code columns (date one offset to the right),
// one row.
inline constexpr std::array<float, 4> kBoxes31To34X = {0.25f, 1.25f, 2.25f, 3.25f};
inline constexpr float kBoxes31To34Y = 1.82f;
inline constexpr float kBoxes31To34DateOffset = 0.25f;

// Box 38: responsible party, four or five lines; the optional second
// address line pushes the last line one step down.
inline constexpr float kBox38X = 0.3f;
inline constexpr float kBox38NameY = 2.11f;
inline constexpr float kBox38AddressY = 2.28f;
inline constexpr float kBox38NextY = 2.45f;
inline constexpr float kBox38LineStep = 0.18f;

// Boxes 39 to 41: value codes, three columns by four rows, the amount
// right-aligned one offset to the right of its code.
inline constexpr std::array<float, 3> kBoxes39To41X = {4.5f, 5.8f, 7.1f};
inline constexpr std::array<float, 4> kBoxes39To41RowY = {2.31f, 2.5f, 2.69f, 2.81f};
inline constexpr float kBoxes39To41AmountOffset = 1.22f;

// ---- Boxes 42 to 47: service lines 1 to 22, and line 23 -----------------------------

// Service-line rows lie on the form's grid of 6 lines per inch: row n at
// 3.12 + (n - 1)/6 in, so rows 1 and 22 are at 3.12 and 6.62.
inline constexpr int kDetailRowsPerPage = 22;
inline constexpr float kBoxes42To47FirstRowY = 3.12f;
inline constexpr float kBoxes42To47RowStep = 1.0f / 6;
inline constexpr std::array<float, kDetailRowsPerPage> kBoxes42To47RowY = [] {
  std::array<float, kDetailRowsPerPage> rows{};
  for (int n = 0; n < kDetailRowsPerPage; ++n)
    rows[static_cast<std::size_t>(n)] = kBoxes42To47FirstRowY + static_cast<float>(n) * kBoxes42To47RowStep;
  return rows;
}();
// Columns of a service line; line 23 shares them.
inline constexpr float kBox42RevenueCodeX = 0.25f;
inline constexpr float kBox43DescriptionX = 0.65f;
inline constexpr float kBox44HcpcsX = 3.25f;      // procedure code
inline constexpr float kBox44ModifiersX = 3.75f;  // modifiers 1 and 2
inline constexpr float kBox45ServiceDateX = 4.65f;
inline constexpr float kBox46UnitsX = 5.5f;
inline constexpr float kBox47ChargesX = 7.05f;  // right-aligned

// Line 23: the page's number and the claim's page count slightly higher,
// the creation date, and on the claim's last page revenue code 0001 with
// the claim's total.
inline constexpr float kLine23Y = 6.8f;
inline constexpr float kLine23PageNumberY = 6.77f;
inline constexpr float kLine23PageX = 1.15f;
inline constexpr float kLine23PageOfX = 1.75f;

// ---- Boxes 50 to 65: payer rows A to C ----------------------------------------------

// Boxes 50 to 53 and 57 share the payer rows; 54 and 55 sit a little lower
// on rows B and C.
inline constexpr Rows kBoxes50To57RowY = {7.12f, 7.27f, 7.42f};
inline constexpr Rows kBoxes54And55RowY = {7.12f, 7.3f, 7.45f};
inline constexpr float kBox50PayerNameX = 0.25f;
inline constexpr float kBox51HealthPlanIdX = 2.6f;
inline constexpr float kBox52ReleaseInfoX = 4.0f;
inline constexpr float kBox53AssignBenefitsX = 4.3f;
inline constexpr float kBox54PriorPaymentX = 5.4f;  // right-aligned
inline constexpr float kBox55AmountDueX = 6.5f;     // right-aligned
inline constexpr float kBox57OtherProviderIdX = 7.0f;

// Box 56: billing provider NPI, one place above the payer rows.
inline constexpr float kBox56NpiX = 6.9f;
inline constexpr float kBox56Y = 6.95f;

// Boxes 58 to 62: insureds.
inline constexpr Rows kBoxes58To62RowY = {7.8f, 7.95f, 8.11f};
inline constexpr float kBox58InsuredNameX = 0.3f;
inline constexpr float kBox59RelationshipX = 2.8f;
inline constexpr float kBox60InsuredIdX = 3.2f;
inline constexpr float kBox61GroupNameX = 5.15f;
inline constexpr float kBox62GroupNumberX = 6.7f;

// Boxes 63 to 65: authorization, document control number, employer; the
// other insurances' employers share the billed payer's rows.
inline constexpr Rows kBoxes63To65RowY = {8.5f, 8.68f, 8.82f};
inline constexpr float kBox63AuthorizationX = 0.3f;
inline constexpr float kBox64DocumentControlX = 3.35f;
inline constexpr float kBox65EmployerX = 6.0f;       // billed payer's row
inline constexpr float kBox65OtherEmployerX = 5.95f;  // other insurances' rows

// ---- Boxes 66 to 74 -----------------------------------------------------------------

// Box 66: diagnosis code set qualifier.
inline constexpr float kBox66X = 0.2f;
inline constexpr float kBox66Y = 9.14f;

// Box 67: diagnoses, nine per row from the first X one step apart, two
// rows; the present-on-admission value one offset right of its code.
inline constexpr std::size_t kBox67PerRow = 9;
inline constexpr float kBox67FirstX = 0.32f;
inline constexpr float kBox67Step = 0.8f;
inline constexpr std::array<float, 2> kBox67RowY = {8.95f, 9.14f};
inline constexpr float kBox67PoaOffset = 0.65f;

// Boxes 69 and 70: admitting diagnosis and patient's reason for visit.
inline constexpr float kBox69X = 0.65f;
inline constexpr float kBox70X = 1.9f;
inline constexpr float kBoxes69And70Y = 9.3f;

// Box 74: principal procedure code and date.
inline constexpr float kBox74CodeX = 0.5f;
inline constexpr float kBox74DateX = 1.0f;
inline constexpr float kBox74Y = 9.62f;

// ---- Boxes 76 and 77: providers -----------------------------------------------------

// An NPI line (NPI, qualifier, secondary id) and a name line.
struct ProviderRows {
  float id_y, name_y;
};
inline constexpr ProviderRows kBox76Rows = {9.5f, 9.62f};   // attending
inline constexpr ProviderRows kBox77Rows = {9.8f, 9.98f};   // operating
inline constexpr float kBoxes76And77NpiX = 6.1f;
inline constexpr float kBoxes76And77QualifierX = 7.25f;
inline constexpr float kBoxes76And77SecondaryIdX = 7.5f;
inline constexpr float kBoxes76And77LastNameX = 5.45f;
inline constexpr float kBoxes76And77FirstNameX = 7.2f;

// ---- Boxes 80 and 81 ----------------------------------------------------------------

// Box 80: remarks, the first line beside the label, then full-width lines
// one step apart.
inline constexpr float kBox80FirstX = 0.6f;
inline constexpr float kBox80FirstY = 10.15f;
inline constexpr float kBox80X = 0.25f;
inline constexpr float kBox80NextY = 10.3f;
inline constexpr float kBox80LineStep = 0.15f;

// Box 81: code-code, qualifier and taxonomy.
inline constexpr float kBox81QualifierX = 2.8f;
inline constexpr float kBox81CodeX = 3.1f;
inline constexpr float kBox81Y = 10.15f;

}  // namespace ub04::pos
