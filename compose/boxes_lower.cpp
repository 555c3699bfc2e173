// Boxes 50 to 81 (form locators): payers, insureds, authorizations,
// diagnoses, procedures, attending and operating providers, remarks and
// code-codes. Each writer is named by its box; its positions are the
// pos::kBoxNN names of form_positions.h. Boxes 54 and 55 are written with
// line 23 (page_totals.cpp).
//
// Payer rows: the billed insurance fills the row of the payer sequence
// (Charge token 70); the other insurances present fill the other rows in
// their order (Page::other_payer_at), so that no two payers share a row.
#include <cstdlib>
#include <string>
#include <utility>

#include "base/text_util.h"
#include "compose/boxes.h"
#include "form/form_positions.h"

namespace ub04 {

namespace {

constexpr int kPayerRows = 3;  // A, B and C

std::string Quoted(const std::string& text) { return "\"" + ClipForMessage(text) + "\""; }

// A payer sequence other than 1 to 3 names no row: the billed payer's row
// boxes (50 to 53, 57, 58 to 62, 63 to 65 and, with line 23, 54 and 55) are
// left blank rather than printed at the top edge of the paper, and the host
// is warned once per page (here, the first of them to run).
void ReportUnknownPayerSequence(const Page& page) {
  page.Warn("FL50", "PAYER-SEQUENCE", page.payer_sequence(),
            page.env.cx.component_name + " WriteAllPageButDetail()  Payer sequence " +
                Quoted(page.payer_sequence()) +
                " is not 1, 2 or 3: the billed payer's rows of boxes 50 to 65 were left blank");
}

// Box 53: "1" assigns the benefits to the provider.
std::string AssignmentOfBenefits(const std::string& flag) { return flag == "1" ? "Y" : "N"; }

// ---- Boxes 50 to 57 ---------------------------------------------------------------

// Boxes 50, 52 and 53 on the rows of the other insurances: payer name,
// release of information, assignment of benefits.
void Boxes50To53OtherPayers(Page& page) {
  page.log().Line("box 50");
  for (int row = 0; row < kPayerRows; ++row) {
    const Record* other = page.other_payer_at(row);
    if (!other) continue;
    const Record& o = *other;
    float y = pos::kBoxes50To57RowY[static_cast<size_t>(row)];
    ClaimPayer& payer = page.record().payers[static_cast<size_t>(row)];
    payer.used = true;
    payer.name = Left(o[oinsurance::PayerName], 25);
    payer.release_of_info = "Y";
    payer.assignment = AssignmentOfBenefits(o[oinsurance::AssignsBenefits]);
    page.Put(payer.name, pos::kBox50PayerNameX, y);
    page.Put(payer.release_of_info, pos::kBox52ReleaseInfoX, y);
    page.Put(payer.assignment, pos::kBox53AssignBenefitsX, y);
  }
}

// Box 51: every row gets a health plan id, the other payer's, else the
// billed one's.
void Box51HealthPlanIds(Page& page) {
  page.log().Line("box 51");
  for (int row = 0; row < kPayerRows; ++row) {
    const Record* o = page.other_payer_at(row);
    const std::string& id = o ? (*o)[oinsurance::PayerId] : page.insurance()[insurance::PayerId];
    page.record().payers[static_cast<size_t>(row)].health_plan_id = id;
    page.Put(id, pos::kBox51HealthPlanIdX, pos::kBoxes50To57RowY[static_cast<size_t>(row)]);
  }
}

// Boxes 50, 52, 53 and 57 on the billed payer's row: payer name, release of
// information, assignment of benefits, other provider id.
void Boxes50To57BilledPayer(Page& page) {
  page.log().Line("box 50 bi");
  int row = page.payer_row();
  if (row < 0) {
    ReportUnknownPayerSequence(page);
    return;
  }
  const Record& ins = page.insurance();
  float y = pos::kBoxes50To57RowY[static_cast<size_t>(row)];
  ClaimPayer& payer = page.record().payers[static_cast<size_t>(row)];
  payer.used = payer.billed = true;
  payer.name = Trim(Left(ins[insurance::Name], 25));
  payer.release_of_info = "Y";
  payer.assignment = AssignmentOfBenefits(page.subscriber()[subscriber::AssignsBenefits]);
  payer.other_provider_id = ins[insurance::UseDefaultBillingId] == "1" ? page.practice()[practice::DefaultBillingId]
                                                           : ins[insurance::PracticeIdForPayer];
  page.Put(payer.name, pos::kBox50PayerNameX, y);
  page.Put(payer.release_of_info, pos::kBox52ReleaseInfoX, y);
  page.Put(payer.assignment, pos::kBox53AssignBenefitsX, y);
  page.Put(payer.other_provider_id, pos::kBox57OtherProviderIdX, y);
}

// Box 56: the billing provider NPI is the practice's, whichever party boxes
// 1 and 2 show.
void Box56BillingProviderNpi(Page& page) {
  page.record().billing_npi = page.practice()[practice::Npi];
  page.Put(page.record().billing_npi, pos::kBox56NpiX, pos::kBox56Y);
}

// ---- Boxes 58 to 62: insureds ------------------------------------------------------

struct Insured {
  std::string last, first, relationship, id1, id2, group_name, group_number;
};

void WriteInsured(const Page& page, const Insured& i, int row) {
  const float y = pos::kBoxes58To62RowY[static_cast<size_t>(row)];
  ClaimPayer& payer = page.record().payers[static_cast<size_t>(row)];
  payer.insured_name = Left(Trim(i.last) + ", " + Trim(i.first), 25);
  payer.relationship = MapRelationshipCode(i.relationship);
  payer.insured_id = i.id1 + " " + i.id2;
  payer.group_name = Left(i.group_name, 14);
  payer.group_number = i.group_number;
  page.Put(payer.insured_name, pos::kBox58InsuredNameX, y);
  page.Put(payer.relationship, pos::kBox59RelationshipX, y);
  page.Put(payer.insured_id, pos::kBox60InsuredIdX, y);
  page.Put(payer.group_name, pos::kBox61GroupNameX, y);
  page.Put(payer.group_number, pos::kBox62GroupNumberX, y);
}

// Boxes 58 to 62 on the rows of the other insurances.
void Boxes58To62OtherInsureds(Page& page) {
  for (int row = 0; row < kPayerRows; ++row) {
    const Record* other = page.other_payer_at(row);
    if (!other) continue;
    const Record& o = *other;
    WriteInsured(page, {o[oinsurance::InsuredLastName], o[oinsurance::InsuredFirstName], o[oinsurance::Relationship],
                  o[oinsurance::InsuredIdPrefix], o[oinsurance::InsuredIdNumber], o[oinsurance::PayerName],
                  o[oinsurance::GroupNumber]},
                 row);
  }
}

// Boxes 58 to 62 on the billed payer's row: the subscriber.
void Boxes58To62BilledInsured(Page& page) {
  page.log().Line("box 57 bi");
  int row = page.payer_row();
  if (row < 0) return;  // reported by Boxes50To57BilledPayer
  const Record& s = page.subscriber();
  WriteInsured(page, {s[subscriber::LastName], s[subscriber::FirstName], s[subscriber::Relationship],
                s[subscriber::InsuredIdPrefix], s[subscriber::InsuredIdNumber], page.insurance()[insurance::Name],
                s[subscriber::GroupNumber]},
               row);
}

// ---- Boxes 63 to 65 ----------------------------------------------------------------

// Box 65: the employer of each other insurance, on the rows of boxes 63 to
// 65 like the billed payer's.
void Box65OtherEmployers(Page& page) {
  page.log().Line("box 58");
  for (int row = 0; row < kPayerRows; ++row) {
    const Record* o = page.other_payer_at(row);
    if (!o) continue;
    std::string& employer = page.record().payers[static_cast<size_t>(row)].employer;
    employer = Left((*o)[oinsurance::EmployerName], 24);
    page.Put(employer, pos::kBox65OtherEmployerX, pos::kBoxes63To65RowY[static_cast<size_t>(row)]);
  }
}

// Boxes 63 to 65 of the billed payer: treatment authorization (63),
// document control number (64, not for the third payer) and employer (65).
void Boxes63To65BilledAuthorization(Page& page) {
  page.log().Line("box 63 bi");
  int row = page.payer_row();
  if (row < 0) return;
  float y = pos::kBoxes63To65RowY[static_cast<size_t>(row)];
  const Record& c = page.charge();
  ClaimPayer& payer = page.record().payers[static_cast<size_t>(row)];
  payer.authorization = row == 0 ? c[charge::PrimaryApprovalNumber] : c[charge::SecondaryApprovalNumber];
  page.Put(payer.authorization, pos::kBox63AuthorizationX, y);
  std::string control = Trim(c[charge::DocumentControlNumber]);
  if (row < 2 && !control.empty()) {
    payer.document_control = control;
    page.Put(control, pos::kBox64DocumentControlX, y);
  }
  payer.employer = Left(page.subscriber()[subscriber::EmployerName], 24);
  page.Put(payer.employer, pos::kBox65EmployerX, y);
}

// ---- Boxes 66 to 74 ----------------------------------------------------------------

// Box 66: diagnosis code set qualifier, 0 for ICD-10, else 9.
void Box66DiagnosisQualifier(Page& page) {
  page.record().diagnosis_qualifier = page.charge()[charge::DiagnosisCodeSet] == "10" ? "0" : "9";
  page.record().icd10_received = !page.first_line().charge[charge::Icd10Code1].empty();
  page.Put(page.record().diagnosis_qualifier, pos::kBox66X, pos::kBox66Y);
}

// Box 67: nine diagnoses per row, two rows; a present-on-admission value
// ("20015" of the first line) beside every code.
void Box67Diagnoses(Page& page) {
  page.log().Line("box 67");
  const auto& diag = page.env.cs.diag;
  const std::string& poa = page.first_line().ext_20015;
  constexpr size_t kPositions = pos::kBox67PerRow * pos::kBox67RowY.size();
  for (size_t i = 0; i < diag.size() && i < kPositions; ++i) {
    float y = pos::kBox67RowY[i / pos::kBox67PerRow];
    float x = pos::kBox67FirstX + pos::kBox67Step * static_cast<float>(i % pos::kBox67PerRow);
    page.Put(diag[i].code, x, y);
    if (!poa.empty() && !diag[i].code.empty()) page.Put(poa, x + pos::kBox67PoaOffset, y);
    if (page.first_page() && !diag[i].code.empty())
      page.record().diagnoses.push_back({diag[i].code, poa});
  }
}

// Payers that take neither the admitting diagnosis, the reason for visit
// nor the principal procedure.
bool SkipsBoxes69To74(const Page& page) {
  return IsOneOf(page.payer_id5(), {"63080", "23037", "60061", "54763"});
}

// What boxes 69 and 70 decide on: the alternate payer, Charge token 108 and
// whether the bill is inpatient.
struct DiagnosisCase {
  std::string payer;
  double s;
  bool inpatient;
};

DiagnosisCase DiagnosisCaseOf(const Page& page) {
  return {page.alternate_payer_id5(), LeadingNumber(page.charge()[charge::DiagnosisBoxSelector]),
          page.charge()[charge::TypeOfBill] == "0111"};
}

// The first service line's first diagnosis, what boxes 69 and 70 print.
const std::string& FirstDiagnosis(const Page& page) {
  return page.first_line().charge[charge::Diagnosis1];
}

// Box 69: admitting diagnosis, for some payers.
void Box69AdmittingDiagnosis(Page& page) {
  if (SkipsBoxes69To74(page)) return;
  DiagnosisCase d = DiagnosisCaseOf(page);
  if ((d.payer == "22326" && d.s == 21) ||
      (IsOneOf(d.payer, {"27009", "25175", "60054", "23284"}) && d.inpatient)) {
    page.record().admitting_diagnosis = FirstDiagnosis(page);
    page.Put(FirstDiagnosis(page), pos::kBox69X, pos::kBoxes69And70Y);
  }
}

// Box 70: patient's reason for visit, for some payers.
void Box70ReasonForVisit(Page& page) {
  if (SkipsBoxes69To74(page)) return;
  DiagnosisCase d = DiagnosisCaseOf(page);
  if ((d.payer == "22326" && (d.s == 22 || d.s == 24)) || (d.payer == "23284" && !d.inpatient)) {
    page.record().reason_for_visit = FirstDiagnosis(page);
    page.Put(FirstDiagnosis(page), pos::kBox70X, pos::kBoxes69And70Y);
  }
}

// Box 74: principal procedure code and date, from the first service line,
// unless the payer (Insurance token 24 "Y") wants none.
void Box74PrincipalProcedure(Page& page) {
  if (SkipsBoxes69To74(page)) return;
  page.log().Line("box 74");
  if (Left(page.insurance()[insurance::OmitPrincipalProcedure], 1) == "Y") return;
  const Record& first = page.first_line().charge;
  page.record().principal_procedure = first[charge::ProcedureCode];
  page.record().principal_procedure_date = first[charge::ServiceDate];
  page.Put(first[charge::ProcedureCode], pos::kBox74CodeX, pos::kBox74Y);
  page.Put(FormatDateMMDDYY(first[charge::ServiceDate]), pos::kBox74DateX, pos::kBox74Y);
}

// ---- Boxes 76 and 77: providers -----------------------------------------------------

// The provider placed in box 76 or 77.
struct BoxProvider {
  std::string ProviderNPI, ProviderIDQualifier, secondary_id, last_name, first_name;
};

// Where a provider-like record keeps what boxes 76 and 77 print.
struct ProviderFields {
  size_t other_id, upin, state_license, npi, last, first, middle;
};
constexpr ProviderFields kReferralFields = {referral::OtherId, referral::Upin,
                                            referral::StateLicense, referral::Npi,
                                            referral::LastName, referral::FirstName,
                                            referral::MiddleName};
constexpr ProviderFields kBProviderFields = {bprovider::OtherId, bprovider::Upin,
                                             bprovider::StateLicense, bprovider::Npi,
                                             bprovider::LastName, bprovider::FirstName,
                                             bprovider::MiddleName};
constexpr ProviderFields kOProviderFields = {oprovider::OtherId, oprovider::Upin,
                                             oprovider::StateLicense, oprovider::Npi,
                                             oprovider::LastName, oprovider::FirstName,
                                             oprovider::MiddleName};

// The secondary id is the "G2" other id, or the UPIN ("1G") when the record
// asks for it, or the state license ("0B") for payers starting 80142.
BoxProvider ProviderFrom(const Page& page, const Record& r, const ProviderFields& f,
                         bool use_upin) {
  BoxProvider p;
  p.ProviderIDQualifier = "G2";
  p.secondary_id = r[f.other_id];
  if (use_upin) {
    p.secondary_id = r[f.upin];
    p.ProviderIDQualifier = "1G";
  }
  if (page.payer_id5() == "80142") {
    p.secondary_id = r[f.state_license];
    p.ProviderIDQualifier = "0B";
  }
  p.ProviderNPI = r[f.npi];
  p.last_name = r[f.last];
  p.first_name = Trim(r[f.first]);
  if (!r[f.middle].empty()) p.first_name += " " + r[f.middle] + ".";
  return p;
}

void WriteProvider(const Page& page, const BoxProvider& p, const pos::ProviderRows& rows,
                   ClaimProvider& shown) {
  shown = ClaimProvider{p.ProviderNPI, "", "", p.last_name, p.first_name};
  page.Put(p.ProviderNPI, pos::kBoxes76And77NpiX, rows.id_y);
  if (!page.npi_only && !p.secondary_id.empty()) {
    shown.qualifier = p.ProviderIDQualifier;
    shown.secondary_id = p.secondary_id;
    page.Put(p.ProviderIDQualifier, pos::kBoxes76And77QualifierX, rows.id_y);
    page.Put(p.secondary_id, pos::kBoxes76And77SecondaryIdX, rows.id_y);
  }
  page.Put(p.last_name, pos::kBoxes76And77LastNameX, rows.name_y);
  page.Put(p.first_name, pos::kBoxes76And77FirstNameX, rows.name_y);
}

// Box 76: the referring provider, or the billing provider when none is named.
void Box76AttendingProvider(Page& page) {
  page.log().Line("box 76");
  BoxProvider p;
  const Record& ref = page.group.referral;
  if (ref.Present()) p = ProviderFrom(page, ref, kReferralFields, ref[referral::UseUpin] == "1");
  if (p.last_name.empty()) {
    const Record& b = page.bprovider();
    p = ProviderFrom(page, b, kBProviderFields, b[bprovider::UseUpin] == "1");
  }
  WriteProvider(page, p, pos::kBox76Rows, page.record().attending);
}

// A Boolean text: "" False; "True"/"False" in any case; a number is True
// when not 0; anything else is a type mismatch (error 13).
bool ReadBoolean(const std::string& text) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  std::string upper = UpperAscii(t);
  if (upper == "TRUE") return true;
  if (upper == "FALSE") return false;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0') Raise(kErrTypeMismatch);
  return v != 0;
}

// Box 77: the operating physician, an other provider in the role "OP".
void Box77OperatingPhysician(Page& page) {
  const Record& op = page.group.oprovider;
  if (!op.Present() || op[oprovider::ProviderRole] != "OP") return;
  WriteProvider(page, ProviderFrom(page, op, kOProviderFields, ReadBoolean(op[oprovider::UseUpin])),
                pos::kBox77Rows, page.record().operating);
}

// ---- Box 80: remarks ----------------------------------------------------------------

// One line of box 80, kept in the claim's record as printed.
void PutRemarksLine(const Page& page, const std::string& text, float x, float y) {
  if (page.first_page()) page.record().remarks.push_back(text);
  page.Put(text, x, y);
}

// Without remarks the box shows the billed payer's name and address.
void PayerAddressInRemarks(const Page& page) {
  const Record& ins = page.insurance();
  PutRemarksLine(page, Left(ins[insurance::Name], 19), pos::kBox80FirstX, pos::kBox80FirstY);
  PutRemarksLine(page, Left(ins[insurance::AddressLine1], 50), pos::kBox80X, pos::kBox80NextY);
  float y = pos::kBox80NextY + pos::kBox80LineStep;
  if (!ins[insurance::AddressLine2].empty()) {
    PutRemarksLine(page, Left(ins[insurance::AddressLine2], 50), pos::kBox80X, y);
    y += pos::kBox80LineStep;
  }
  PutRemarksLine(page, Left(CityStateZipLine(ins[insurance::City], ins[insurance::State], ins[insurance::ZipCode]), 29),
      pos::kBox80X, y);
}

// Takes the next line of at most width characters off remarks, not cutting
// words; "" when nothing more fits (a line of one character is not printed).
std::string NextRemarksLine(std::string& remarks, int width) {
  int16_t n = GetWrapLength(remarks, width);
  if (n <= 1) return "";
  std::string line = Left(remarks, n);
  remarks = Mid(remarks, n + 1);
  remarks.erase(0, remarks.find_first_not_of(' '));
  return line;
}

// Box 80: four lines, 19 characters beside the label, then three of 24.
// Text beyond them is not printed, and a warning quotes it.
void Box80Remarks(Page& page) {
  page.log().Line("box 80");
  std::string remarks = page.totals().ClaimRemarks;
  if (remarks.empty()) {
    PayerAddressInRemarks(page);
    return;
  }
  std::string line = NextRemarksLine(remarks, 19);
  if (!line.empty()) PutRemarksLine(page, line, pos::kBox80FirstX, pos::kBox80FirstY);
  float y = pos::kBox80NextY;
  for (int i = 0; i < 3; ++i) {
    line = NextRemarksLine(remarks, 24);
    if (line.empty()) continue;
    PutRemarksLine(page, line, pos::kBox80X, y);
    y += pos::kBox80LineStep;
  }
  const std::string left = Trim(remarks);
  if (left.empty()) return;
  auto says = [&](std::string_view quoted) {
    return page.env.cx.component_name + " WriteClaim()  Warning: the claim of account " +
           ClipForMessage(page.patient()[patient::AccountNumber]) +
           ": box 80 holds four lines of remarks; \"" + std::string(quoted) + "\" was not printed";
  };
  page.Warn("FL80", "REMARKS-LEFT-OUT", left, says(ClipForMessage(left)), says(left));
}

// ---- Box 81 -------------------------------------------------------------------------

// Box 81: payers that take NPIs only (boxes 76 and 77 then print no
// secondary ids, see Page::npi_only) get the billing taxonomy with
// qualifier B3.
void Box81CodeCode(Page& page) {
  if (!PayerTakesNpiOnly(page)) return;
  const std::string& taxonomy = page.practice()[practice::Taxonomy];
  if (taxonomy.empty()) return;
  page.Put("B3", pos::kBox81QualifierX, pos::kBox81Y);
  page.Put(taxonomy, pos::kBox81CodeX, pos::kBox81Y);
}

// In form order.
using Box = void (*)(Page&);
constexpr Box kBoxes50To81[] = {
    Boxes50To53OtherPayers,         Box51HealthPlanIds,       Boxes50To57BilledPayer,
    Box56BillingProviderNpi,        Boxes58To62OtherInsureds, Boxes58To62BilledInsured,
    Box65OtherEmployers,            Boxes63To65BilledAuthorization,
    Box66DiagnosisQualifier,        Box67Diagnoses,           Box69AdmittingDiagnosis,
    Box70ReasonForVisit,            Box74PrincipalProcedure,  Box76AttendingProvider,
    Box77OperatingPhysician,        Box80Remarks,             Box81CodeCode,
};

}  // namespace

void WriteBoxes50To81(Page& page) {
  for (Box box : kBoxes50To81) box(page);
}

}  // namespace ub04
