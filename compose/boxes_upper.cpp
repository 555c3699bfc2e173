// Boxes 1 to 41 (form locators): billing and pay-to parties, patient,
// admission, condition and occurrence codes, responsible party and value
// codes. Each writer is named by its box; its positions are the pos::kBoxNN
// names of form_positions.h. Boxes 17 and the A1/A2 value codes are written
// with line 23 (page_totals.cpp).
#include <algorithm>
#include <array>

#include "compose/boxes.h"
#include "form/form_positions.h"

namespace ub04 {

namespace {

// ---- Boxes 1, 2 and 5: the billing party ------------------------------------------

// CalcPref token 6 (BillingProviderSource): an even value (empty counts as 0)
// bills as the practice, an odd value as the billing provider.
bool PracticeBills(const Page& page) {
  int16_t source = RoundToInt16(LeadingNumber(page.calc_pref()[calc_pref::BillingProviderSource]));
  return source % 2 == 0;
}

std::string CityStateZip(const Record& r, size_t city, size_t state, size_t zip) {
  return r[city] + " " + r[state] + "  " + r[zip];
}

std::string PhoneLine(const std::string& phone, const std::string& rest) {
  return phone.empty() ? rest : phone + " " + rest;
}

// Box 1: billing provider.
void Box01BillingProvider(Page& page) {
  std::array<std::string, 4> lines;
  if (PracticeBills(page)) {
    const Record& p = page.practice();
    lines = {p[practice::Name], p[practice::AddressLine1],
             CityStateZip(p, practice::City, practice::State, practice::ZipCode),
             PhoneLine(p[practice::Phone], p[practice::PhoneExtension])};
  } else {
    const Record& b = page.bprovider();
    std::string name = b[bprovider::FirstName] + " ";
    if (!b[bprovider::MiddleName].empty()) name += Left(b[bprovider::MiddleName], 1) + " ";
    name += b[bprovider::LastName] + " " + b[bprovider::NameSuffix];
    lines = {name, b[bprovider::AddressLine1],
             CityStateZip(b, bprovider::City, bprovider::State, bprovider::ZipCode),
             PhoneLine(b[bprovider::Phone], b[bprovider::PhoneExtension])};
  }
  for (size_t i = 0; i < lines.size(); ++i) page.Put(lines[i], pos::kBox01X, pos::kBox01LineY[i]);
}

// The pay-to members of the practice or the billing provider.
struct PayToFields {
  size_t name, line1, line2, city, state, zip;
};
constexpr PayToFields kPracticePayTo = {practice::PayToName,     practice::PayToAddressLine1,
                                        practice::PayToAddressLine2, practice::PayToCity,
                                        practice::PayToState,    practice::PayToZipCode};
constexpr PayToFields kBProviderPayTo = {bprovider::PayToName,     bprovider::PayToAddressLine1,
                                         bprovider::PayToAddressLine2, bprovider::PayToCity,
                                         bprovider::PayToState,    bprovider::PayToZipCode};

// Box 2: pay-to name and address.
void Box02PayTo(Page& page) {
  bool practice = PracticeBills(page);
  const Record& r = practice ? page.practice() : page.bprovider();
  const PayToFields& f = practice ? kPracticePayTo : kBProviderPayTo;
  if (r[f.line1].empty()) return;  // no pay-to address: the box stays blank
  page.Put(r[f.name], pos::kBox02X, pos::kBox02NameY);
  page.Put(r[f.line1], pos::kBox02X, pos::kBox02AddressY);
  float y = pos::kBox02NextY;
  if (!r[f.line2].empty()) {
    page.Put(r[f.line2], pos::kBox02X, y);
    y += pos::kBox02LineStep;
  }
  page.Put(CityStateZip(r, f.city, f.state, f.zip), pos::kBox02X, y);
}

// Box 2, vendor id: a payer whose alternate id starts "VID" has the rest
// printed at the end of box 2's last line.
void Box02VendorId(Page& page) {
  const std::string& alt = page.insurance()[insurance::AlternatePayerId];
  if (Left(alt, 3) == "VID") page.Put(Mid(alt, 4), pos::kBox02VendorIdX, pos::kBox02VendorIdY, 1);
}

// Box 3: the account number as 3a patient control number and 3b medical
// record number.
void Box03PatientControl(Page& page) {
  page.log().Line("Box 3");
  const std::string& account = page.patient()[patient::AccountNumber];
  page.record().account = page.record().medical_record = account;
  page.Put(account, pos::kBox03X, pos::kBox03aY);
  page.Put(account, pos::kBox03X, pos::kBox03bY);
}

// Box 4: the payer's type of bill, else the practice's; the charge's own
// (settled at the end of the charge) wins. A claim action replaces the
// frequency digit: V void 8, A adjustment 7, C correction 6.
void Box04TypeOfBill(Page& page) {
  std::string tob = page.insurance()[insurance::TypeOfBill];
  if (tob.empty()) tob = page.practice()[practice::TypeOfBill];
  const std::string& charge_tob = page.charge()[charge::TypeOfBill];
  if (!charge_tob.empty()) tob = charge_tob;
  const std::string& action = page.charge()[charge::ClaimAction];
  if (!action.empty() && !tob.empty()) {
    char frequency = action == "V" ? '8' : action == "A" ? '7' : action == "C" ? '6' : 0;
    if (frequency) tob.back() = frequency;
  }
  if (tob.size() == 3) tob = "0" + Trim(tob);
  page.record().type_of_bill = tob;
  page.Put(tob, pos::kBox04X, pos::kBox04Y);
}

// Box 5: federal tax number of the billing party.
void Box05FederalTaxNumber(Page& page) {
  std::string tax;
  if (PracticeBills(page)) {
    tax = page.practice()[practice::FederalTaxId];
  } else {
    tax = page.bprovider()[bprovider::TaxIdOverride];
    if (tax.empty()) tax = page.bprovider()[bprovider::FederalTaxId];
  }
  page.record().federal_tax_number = tax;
  page.Put(tax, pos::kBox05X, pos::kBox05Y);
}

// CCYYMMDD into a six-space MMDDYY text: characters 5 to 8, then 3 and 4.
std::string StatementDate(const std::string& ymd) {
  std::string text(6, ' ');
  std::string mmdd = Mid(ymd, 5, 4), yy = Mid(ymd, 3, 2);
  text.replace(0, mmdd.size(), mmdd);
  text.replace(4, yy.size(), yy);
  return text;
}

// Box 6: statement period, from and through.
void Box06StatementPeriod(Page& page) {
  page.log().Line("Box 6");
  page.record().statement_from = page.totals().StatementFromDate;
  page.record().statement_through = page.totals().StatementThroughDate;
  page.Put(StatementDate(page.totals().StatementFromDate), pos::kBox06FromX, pos::kBox06Y);
  page.Put(StatementDate(page.totals().StatementThroughDate), pos::kBox06ThroughX, pos::kBox06Y);
}

// Box 8a carries the insured's id for one payer only.
void Box08aPatientId(Page& page) {
  std::string id;
  if (page.insurance()[insurance::PayerId] == "345724166")
    id = Trim(page.subscriber()[subscriber::InsuredIdPrefix]) + Trim(page.subscriber()[subscriber::InsuredIdNumber]);
  page.Put(id, pos::kBox08aX, pos::kBox08aY);
}

// Box 8b: LAST SUFFIX, FIRST  M.
void Box08bPatientName(Page& page) {
  const Record& p = page.patient();
  std::string name = p[patient::LastName];
  if (!p[patient::NameSuffix].empty()) name += " " + p[patient::NameSuffix];
  name += ", " + p[patient::FirstName];
  if (!p[patient::MiddleName].empty()) name += "  " + Left(p[patient::MiddleName], 1) + ".";
  page.record().patient_name = name;
  page.Put(name, pos::kBox08bX, pos::kBox08bY);
}

// Box 9: patient address, 9a street, 9b city, 9c state, 9d ZIP.
void Box09PatientAddress(Page& page) {
  page.log().Line("Box 9");
  const Record& p = page.patient();
  std::string street = Trim(p[patient::AddressLine1]);
  if (!p[patient::AddressLine2].empty()) street += ", " + p[patient::AddressLine2];
  page.Put(street, pos::kBox09aX, pos::kBox09aY);
  page.Put(Trim(p[patient::City]), pos::kBox09bX, pos::kBox09bToDY);
  page.Put(Trim(p[patient::State]), pos::kBox09cX, pos::kBox09bToDY);
  const std::string& zip = p[patient::ZipCode];
  std::string zip_text = Trim(Left(zip, 5));
  if (zip.size() > 5) zip_text += "-" + Trim(Mid(zip, 6, 4));
  page.Put(zip_text, pos::kBox09dX, pos::kBox09bToDY);
}

// ---- Boxes 10 to 29: one row --------------------------------------------------------

// Box 10: birth date, when known.
void Box10BirthDate(Page& page) {
  const std::string& birth = page.patient()[patient::BirthDate];
  page.record().birth_date = birth;
  if (!birth.empty()) page.Put(birth, pos::kBox10BirthDateX, pos::kBoxes10To29Y);
}

// Box 11: sex.
void Box11Sex(Page& page) {
  page.record().sex = page.patient()[patient::SexCode];
  page.Put(page.record().sex, pos::kBox11SexX, pos::kBoxes10To29Y);
}

// Box 12: admission date.
void Box12AdmissionDate(Page& page) {
  const std::string& admitted = page.charge()[charge::AdmissionDate];
  page.record().admission_date = admitted;
  page.Put(FormatDateMMDDYY(admitted), pos::kBox12AdmissionDateX, pos::kBoxes10To29Y);
}

// An hour from extended data as two digits, "" when absent.
std::string HourText(const Page& page, std::string_view code) {
  std::string value;
  if (!page.ExtData(3, code, value)) return "";
  return FormatMask(LeadingNumber(value), "00");
}

// Box 13: admission hour.
void Box13AdmissionHour(Page& page) {
  page.log().Line("Box 13");
  page.record().admission_hour = HourText(page, "30005");
  page.Put(page.record().admission_hour, pos::kBox13AdmissionHourX, pos::kBoxes10To29Y);
}

// Boxes 14 and 15: the payer's value, else the practice's; a charge-level
// extended-data value wins.
std::string AdmissionValue(const Page& page, size_t ins_member, size_t practice_member,
                           std::string_view ext_code) {
  std::string text = page.insurance()[ins_member];
  if (text.empty()) text = page.practice()[practice_member];
  std::string ext;
  if (page.ExtData(2, ext_code, ext)) text = ext;
  return text;
}

// Box 14: priority (type) of admission.
void Box14AdmissionType(Page& page) {
  std::string type =
      AdmissionValue(page, insurance::AdmissionType, practice::AdmissionType, "20011");
  // Medicare emergency claims default to 1 (emergency).
  if (type.empty() && page.insurance()[insurance::PlanType] == "MCR" &&
      InStr(page.totals().ClaimCodeList, "~EM~") > 0)
    type = "1";
  page.record().admission_type = type;
  page.Put(type, pos::kBox14AdmissionTypeX, pos::kBoxes10To29Y);
}

// Box 15: point of origin (admission source).
void Box15PointOfOrigin(Page& page) {
  page.record().point_of_origin =
      AdmissionValue(page, insurance::AdmissionSource, practice::AdmissionSource, "20012");
  page.Put(page.record().point_of_origin, pos::kBox15PointOfOriginX, pos::kBoxes10To29Y);
}

// Box 16: discharge hour.
void Box16DischargeHour(Page& page) {
  page.record().discharge_hour = HourText(page, "30006");
  page.Put(page.record().discharge_hour, pos::kBox16DischargeHourX, pos::kBoxes10To29Y);
}

// Boxes 18 to 28: the distinct condition codes of the "20014" extended
// data, split on "-", left to right. The value comes from the Last copies,
// so every service line of the claim finds the same one.
void Boxes18To28ConditionCodes(Page& page) {
  bool any_line = false;
  for (const DetailEntry& e : page.tables.detail) any_line = any_line || e.used == "Y";
  std::string value;
  if (!any_line || !page.ExtData(2, "20014", value)) return;
  Tokens pieces, codes;
  SplitTokens(value, "-", pieces);
  for (const std::string& piece : pieces)  // whole codes: "1" is not the tail of "A1"
    if (std::find(codes.begin(), codes.end(), piece) == codes.end()) codes.push_back(piece);
  if (IsArrayEmpty(codes)) return;
  float x = pos::kBoxes18To28FirstX;
  int slot = 0;
  for (const std::string& c : codes) {
    if (c.empty()) continue;
    if (++slot > pos::kBoxes18To28Slots) {  // past box 28 lies box 29
      page.CodeLeftOut("18-28", pos::kBoxes18To28Slots, "condition codes", c);
      continue;
    }
    if (page.first_page()) page.record().condition_codes.push_back(c);
    page.Put(c, x, pos::kBoxes10To29Y);
    x += pos::kBoxes18To28Step;
  }
}

// Box 29: accident state, for a motor-vehicle onset.
void Box29AccidentState(Page& page) {
  std::string state;
  if (page.charge()[charge::OnsetType] == "MTR" && page.ExtData(2, "20003", state))
    page.Put(state, pos::kBox29AccidentStateX, pos::kBoxes10To29Y);
}

// Occurrence code of the onset date by onset type.
std::string OnsetOccurrenceCode(const std::string& onset_type) {
  if (onset_type == "ACC") return "01";
  if (onset_type == "EMP") return "04";
  if (onset_type == "LMP") return "10";
  if (onset_type == "MTR") return "02";
  return "11";  // ILL and anything else: onset of illness
}

// ---- Boxes 31 to 41 -----------------------------------------------------------------

// Boxes 31 to 34: occurrence codes. Also starts the page's value-code count.
void Boxes31To34OccurrenceCodes(Page& page) {
  page.log().Line("box 32");
  page.value_code_count = 0;
  struct ExtOccurrence {
    std::string_view ext_code, occurrence_code;
  };
  static constexpr std::array<ExtOccurrence, 3> kFromExtData = {
      {{"10000", "35"}, {"10001", "44"}, {"10002", "45"}}};
  int count = 0;
  std::string value;
  for (const ExtOccurrence& o : kFromExtData)
    if (page.ExtData(1, o.ext_code, value))
      WriteOccurrenceCode(page, ++count, o.occurrence_code, FormatDateMMDDYY(value));
  const std::string& onset = page.charge()[charge::OnsetDate];
  if (!onset.empty())
    WriteOccurrenceCode(page, ++count, OnsetOccurrenceCode(page.charge()[charge::OnsetType]),
                        FormatDateMMDDYY(onset));
}

// Box 38: the payer (Insurance token 38 starting "y" or "Y") or else the
// subscriber, four or five lines of at most 40 characters.
void Box38ResponsibleParty(Page& page) {
  page.log().Line("box 37");
  page.log().Line("box 38");
  std::string name, line1, line2, last;
  const Record& ins = page.insurance();
  if (Left(ins[insurance::PayerIsResponsibleParty], 1) == "y" || Left(ins[insurance::PayerIsResponsibleParty], 1) == "Y") {
    name = Trim(ins[insurance::Name]) + " ";
    line1 = ins[insurance::AddressLine1];
    line2 = ins[insurance::AddressLine2];
    last = CityStateZipLine(ins[insurance::City], ins[insurance::State], ins[insurance::ZipCode]);
  } else {
    const Record& s = page.subscriber();
    name = Trim(s[subscriber::FirstName]) + " ";
    if (!s[subscriber::MiddleName].empty())
      name += " " + Trim(s[subscriber::MiddleName]) + ". ";
    name += Trim(s[subscriber::LastName]);
    line1 = s[subscriber::AddressLine1];
    line2 = s[subscriber::AddressLine2];
    last = CityStateZipLine(s[subscriber::City], s[subscriber::State], s[subscriber::ZipCode]);
  }
  page.Put(Left(name, 40), pos::kBox38X, pos::kBox38NameY);
  page.Put(Left(line1, 40), pos::kBox38X, pos::kBox38AddressY);
  float y = pos::kBox38NextY;
  if (!line2.empty()) {
    page.Put(Left(line2, 40), pos::kBox38X, y);
    y += pos::kBox38LineStep;
  }
  page.Put(Left(last, 40), pos::kBox38X, y);
}

// Boxes 39 to 41: value codes, numbered on from the page's value-code count
// (A1 and A2 follow with line 23).
void Boxes39To41ValueCodes(Page& page) {
  std::string value;
  bool found = page.ExtData(2, "20016", value);
  if (!found && IsOneOf(page.payer_id5(), {"16146", "11315"})) {
    found = true;
    value = "24";
  }
  const std::string& amount = page.charge()[charge::RevenueCodeSecondPart];
  if (found && !amount.empty()) WriteValueCode(page, ++page.value_code_count, Left(value, 2), amount);

  for (const DetailEntry& e : page.tables.detail) {
    if (e.used != "Y" || e.charge[charge::ValueCode30Amount].empty()) continue;
    WriteValueCode(page, ++page.value_code_count, "30", e.charge[charge::ValueCode30Amount]);
    break;
  }
}

// In form order.
using Box = void (*)(Page&);
constexpr Box kBoxes01To41[] = {
    Box01BillingProvider,   Box02PayTo,          Box02VendorId,
    Box03PatientControl,    Box04TypeOfBill,     Box05FederalTaxNumber,
    Box06StatementPeriod,   Box08aPatientId,     Box08bPatientName,
    Box09PatientAddress,    Box10BirthDate,      Box11Sex,
    Box12AdmissionDate,     Box13AdmissionHour,  Box14AdmissionType,
    Box15PointOfOrigin,     Box16DischargeHour,  Boxes18To28ConditionCodes,
    Box29AccidentState,     Boxes31To34OccurrenceCodes,
    Box38ResponsibleParty,  Boxes39To41ValueCodes,
};

}  // namespace

void WriteBoxes01To41(Page& page) {
  for (Box box : kBoxes01To41) box(page);
}

}  // namespace ub04
