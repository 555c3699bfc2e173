// Form locators 50 to 81: payers, insureds, authorizations, diagnoses,
// procedures, attending and operating providers, remarks and code-codes.
//
// Payer rows: Other insurance k (1 to 3) fills row k when present; the
// billed insurance fills the row of the payer sequence (Charge token 70).
#include <cstdlib>

#include "form/boxes.h"
#include "form/form_positions.h"

namespace ub04 {

namespace {

constexpr int kOtherPayerRows = 3;

// The Y of the billed payer's row, 0 (off the form's rows) for a payer
// sequence other than 1 to 3.
float BilledRowY(const Page& page, const pos::Rows& rows) {
  int row = page.payer_row();
  return row < 0 ? 0.0f : rows[static_cast<size_t>(row)];
}

// Box 53: "1" assigns the benefits to the provider.
std::string AssignmentOfBenefits(const std::string& flag) { return flag == "1" ? "Y" : "N"; }

// ---- boxes 50 to 57 ---------------------------------------------------------------

void OtherPayersBoxes50To53(Page& page) {
  page.log().Line("box 50");
  for (int k = 1; k <= kOtherPayerRows; ++k) {
    const Record& o = page.oins(k);
    if (!o.Present()) continue;
    float y = pos::kPayerRowY[static_cast<size_t>(k - 1)];
    page.Put(Left(o[oinsurance::Field03], 25), pos::kPayerNameX, y);
    page.Put("Y", pos::kReleaseInfoX, y);  // 52, release of information
    page.Put(AssignmentOfBenefits(o[oinsurance::Field10]), pos::kAssignBenefitsX, y);
  }
}

// Every row gets a health plan id: the other payer's, else the billed one's.
void HealthPlanIdsBox51(Page& page) {
  page.log().Line("box 51");
  for (int k = 1; k <= kOtherPayerRows; ++k) {
    const Record& o = page.oins(k);
    const std::string& id = o.Present() ? o[oinsurance::PayerId] : page.insurance()[insurance::PayerId];
    page.Put(id, pos::kHealthPlanIdX, pos::kPayerRowY[static_cast<size_t>(k - 1)]);
  }
}

void BilledPayerBoxes50To57(Page& page) {
  page.log().Line("box 50 bi");
  const Record& ins = page.insurance();
  float y = BilledRowY(page, pos::kPayerRowY);
  page.Put(Trim(Left(ins[insurance::Name], 25)), pos::kPayerNameX, y);
  page.Put("Y", pos::kReleaseInfoX, y);  // 52, release of information
  page.Put(AssignmentOfBenefits(page.subscriber()[subscriber::Field10]), pos::kAssignBenefitsX, y);
  const std::string& other_id = ins[insurance::Field33] == "1"
                                    ? page.practice()[practice::Field16]
                                    : ins[insurance::PracticeIdForPayer];
  page.Put(other_id, pos::kOtherProviderIdX, y);
  // Box 56, billing NPI: the practice's whichever party boxes 1 and 2 show.
  page.Put(page.practice()[practice::Npi], 6.9f, 6.95f);
}

// ---- boxes 58 to 62: insureds ------------------------------------------------------

struct Insured {
  std::string last, first, relationship, id1, id2, group_name, group_number;
};

void WriteInsured(const Page& page, const Insured& i, float y) {
  page.Put(Left(Trim(i.last) + ", " + Trim(i.first), 25), pos::kInsuredNameX, y);
  page.Put(MapRelationshipCode(i.relationship), pos::kRelationshipX, y);
  page.Put(i.id1 + " " + i.id2, pos::kInsuredIdX, y);
  page.Put(Left(i.group_name, 14), pos::kGroupNameX, y);
  page.Put(i.group_number, pos::kGroupNumberX, y);
}

void OtherInsuredsBoxes58To62(Page& page) {
  for (int k = 1; k <= kOtherPayerRows; ++k) {
    const Record& o = page.oins(k);
    if (!o.Present()) continue;
    WriteInsured(page, {o[oinsurance::Field18], o[oinsurance::Field17], o[oinsurance::Field14],
                  o[oinsurance::Field04], o[oinsurance::Field05], o[oinsurance::Field03],
                  o[oinsurance::Field06]},
                 pos::kInsuredRowY[static_cast<size_t>(k - 1)]);
  }
}

void BilledInsuredBoxes58To62(Page& page) {
  page.log().Line("box 57 bi");
  const Record& s = page.subscriber();
  WriteInsured(page, {s[subscriber::LastName], s[subscriber::FirstName], s[subscriber::Field15],
                s[subscriber::Field04], s[subscriber::Field05], page.insurance()[insurance::Name],
                s[subscriber::Field06]},
               BilledRowY(page, pos::kInsuredRowY));
}

// ---- boxes 63 to 65 ----------------------------------------------------------------

void OtherEmployersBox65(Page& page) {
  page.log().Line("box 58");
  for (int k = 1; k <= kOtherPayerRows; ++k) {
    const Record& o = page.oins(k);
    if (o.Present())
      page.Put(Left(o[oinsurance::Field25], 24), 5.95f, pos::kOtherEmployerRowY[static_cast<size_t>(k - 1)]);
  }
}

// Treatment authorization (63), document control number (64, not for the
// third payer) and employer (65) of the billed payer.
void BilledAuthorizationBoxes63To65(Page& page) {
  page.log().Line("box 63 bi");
  int row = page.payer_row();
  if (row < 0) return;
  float y = pos::kAuthorizationRowY[static_cast<size_t>(row)];
  const Record& c = page.charge();
  page.Put(row == 0 ? c[charge::PrimaryApprovalNumber] : c[charge::SecondaryApprovalNumber], 0.3f, y);
  std::string control = Trim(c[charge::Field99]);
  if (row < 2 && !control.empty()) page.Put(control, 3.35f, y);
  page.Put(Left(page.subscriber()[subscriber::Field34], 24), 6.0f, y);
}

// ---- boxes 66 to 74 ----------------------------------------------------------------

void DiagnosisQualifierBox66(Page& page) {
  page.Put(page.charge()[charge::DiagnosisCodeSet] == "10" ? "0" : "9", 0.2f, 9.14f);
}

// Box 67: nine diagnoses per row, two rows; a present-on-admission value
// ("20015" of the first line) beside every code.
void DiagnosesBox67(Page& page) {
  page.log().Line("box 67");
  const auto& diag = page.env.cs.diag;
  const std::string& poa = page.first_line().ext_20015;
  constexpr size_t kPositions = 18;
  for (size_t i = 0; i < diag.size() && i < kPositions; ++i) {
    float y = i < 9 ? 8.95f : 9.14f;
    float x = 0.32f + 0.8f * static_cast<float>(i % 9);
    page.Put(diag[i].code, x, y);
    if (!poa.empty() && !diag[i].code.empty()) page.Put(poa, x + 0.65f, y);
  }
}

// Payers that take neither the admitting diagnosis, the reason for visit
// nor the principal procedure.
bool SkipsBoxes69To74(const Page& page) {
  return IsOneOf(page.payer_id5(), {"63080", "23037", "60061", "54763"});
}

void AdmittingDiagnosisBoxes69And70(Page& page) {
  if (SkipsBoxes69To74(page)) return;
  std::string payer = page.alternate_payer_id5();
  double s = LeadingNumber(page.charge()[charge::Field108]);
  bool inpatient = page.charge()[charge::TypeOfBill] == "0111";
  const std::string& diagnosis = page.first_line().charge[charge::Diagnosis1];
  if ((payer == "22326" && s == 21) ||
      (IsOneOf(payer, {"27009", "25175", "60054", "23284"}) && inpatient))
    page.Put(diagnosis, 0.65f, 9.3f);  // 69, admitting diagnosis
  if ((payer == "22326" && (s == 22 || s == 24)) || (payer == "23284" && !inpatient))
    page.Put(diagnosis, 1.9f, 9.3f);  // 70, patient's reason for visit
}

void PrincipalProcedureBox74(Page& page) {
  if (SkipsBoxes69To74(page)) return;
  page.log().Line("box 74");
  if (Left(page.insurance()[insurance::Field24], 1) == "Y") return;
  const Record& first = page.first_line().charge;
  page.Put(first[charge::ProcedureCode], 0.5f, 9.62f);
  page.Put(FormatDateMMDDYY(first[charge::ServiceDate]), 1.0f, 9.62f);
}

// ---- boxes 76 and 77: providers -----------------------------------------------------

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

void WriteProvider(const Page& page, const BoxProvider& p, const pos::ProviderRows& rows) {
  page.Put(p.ProviderNPI, pos::kProviderNpiX, rows.id_y);
  if (!page.npi_only && !p.secondary_id.empty()) {
    page.Put(p.ProviderIDQualifier, pos::kProviderQualifierX, rows.id_y);
    page.Put(p.secondary_id, pos::kProviderSecondaryIdX, rows.id_y);
  }
  page.Put(p.last_name, pos::kProviderLastNameX, rows.name_y);
  page.Put(p.first_name, pos::kProviderFirstNameX, rows.name_y);
}

// The referring provider, or the billing provider when none is named.
void AttendingProviderBox76(Page& page) {
  page.log().Line("box 76");
  BoxProvider p;
  const Record& ref = page.group.referral;
  if (ref.Present()) p = ProviderFrom(page, ref, kReferralFields, ref[referral::UseUpin] == "1");
  if (p.last_name.empty()) {
    const Record& b = page.bprovider();
    p = ProviderFrom(page, b, kBProviderFields, b[bprovider::UseUpin] == "1");
  }
  WriteProvider(page, p, pos::kAttendingRows);
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

// The operating physician: an other provider in the role "OP".
void OperatingPhysicianBox77(Page& page) {
  const Record& op = page.group.oprovider;
  if (!op.Present() || op[oprovider::ProviderRole] != "OP") return;
  WriteProvider(page, ProviderFrom(page, op, kOProviderFields, ReadBoolean(op[oprovider::UseUpin])),
                pos::kOperatingRows);
}

// ---- box 80: remarks ----------------------------------------------------------------

// Without remarks the box shows the billed payer's name and address.
void PayerAddressInRemarks(const Page& page) {
  const Record& ins = page.insurance();
  page.Put(Left(ins[insurance::Name], 19), pos::kRemarksFirstX, pos::kRemarksFirstY);
  page.Put(Left(ins[insurance::AddressLine1], 50), pos::kRemarksX, pos::kRemarksNextY);
  float y = pos::kRemarksNextY + pos::kRemarksLineStep;
  if (!ins[insurance::AddressLine2].empty()) {
    page.Put(Left(ins[insurance::AddressLine2], 50), pos::kRemarksX, y);
    y += pos::kRemarksLineStep;
  }
  page.Put(Left(CityStateZipLine(ins[insurance::City], ins[insurance::State], ins[insurance::ZipCode]), 29),
      pos::kRemarksX, y);
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

// Four lines: 19 characters beside the label, then three of 24. Text
// beyond them is not printed.
void RemarksBox80(Page& page) {
  page.log().Line("box 80");
  std::string remarks = page.totals().ClaimRemarks;
  if (remarks.empty()) {
    PayerAddressInRemarks(page);
    return;
  }
  std::string line = NextRemarksLine(remarks, 19);
  if (!line.empty()) page.Put(line, pos::kRemarksFirstX, pos::kRemarksFirstY);
  float y = pos::kRemarksNextY;
  for (int i = 0; i < 3; ++i) {
    line = NextRemarksLine(remarks, 24);
    if (line.empty()) continue;
    page.Put(line, pos::kRemarksX, y);
    y += pos::kRemarksLineStep;
  }
}

// ---- box 81 -------------------------------------------------------------------------

// Payers that take NPIs only (boxes 76 and 77 then print no secondary ids,
// see Page::npi_only) get the billing taxonomy with qualifier B3.
void CodeCodeBox81(Page& page) {
  if (!PayerTakesNpiOnly(page)) return;
  const std::string& taxonomy = page.practice()[practice::Field22];
  if (taxonomy.empty()) return;
  page.Put("B3", 2.8f, 10.15f);
  page.Put(taxonomy, 3.1f, 10.15f);
}

// In form order.
using Box = void (*)(Page&);
constexpr Box kLowerBoxes[] = {
    OtherPayersBoxes50To53,      HealthPlanIdsBox51,       BilledPayerBoxes50To57,
    OtherInsuredsBoxes58To62,    BilledInsuredBoxes58To62, OtherEmployersBox65,
    BilledAuthorizationBoxes63To65, DiagnosisQualifierBox66, DiagnosesBox67,
    AdmittingDiagnosisBoxes69And70, PrincipalProcedureBox74, AttendingProviderBox76,
    OperatingPhysicianBox77,     RemarksBox80,             CodeCodeBox81,
};

}  // namespace

void WriteLowerBoxes(Page& page) {
  for (Box box : kLowerBoxes) box(page);
}

}  // namespace ub04
