// The invented claims of the form tests: every record of a claim built by
// field, fed through Format_Class, and the formatted-record file read back.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

namespace ub04::test {

// The invented claim every test starts from: one office visit billed to
// its first payer, the practice as the billing party.
struct Claim {
  Rec practice = Full(44, {
      {practice::IhCode, "PRAC1"}, {practice::Name, "RIVERBEND MEDICAL CENTER"},
      {practice::AddressLine1, "100 RIVER RD"}, {practice::City, "SPRINGVALE"},
      {practice::State, "PA"}, {practice::ZipCode, "17001"}, {practice::Phone, "7175550100"},
      {practice::FederalTaxId, "231234567"}, {practice::TypeOfBill, "131"},
      {practice::Npi, "1234567893"}, {practice::PayToName, "RIVERBEND BILLING"},
      {practice::PayToAddressLine1, "PO BOX 55"}, {practice::PayToCity, "SPRINGVALE"},
      {practice::PayToState, "PA"}, {practice::PayToZipCode, "17001"}});
  Rec bprovider = Full(54, {
      {bprovider::IhCode, "BPROV1"}, {bprovider::FirstName, "ANNA"},
      {bprovider::LastName, "KESTREL"}, {bprovider::MiddleName, "MARIE"},
      {bprovider::NameSuffix, "MD"}, {bprovider::FederalTaxId, "251111111"},
      {bprovider::AddressLine1, "22 OAK ST"}, {bprovider::City, "HILLTOWN"},
      {bprovider::State, "PA"}, {bprovider::ZipCode, "17002"}, {bprovider::Npi, "1999999992"},
      {bprovider::OtherId, "BPG2"}, {bprovider::PayToName, "KESTREL GROUP"},
      {bprovider::PayToAddressLine1, "12 ELM ST"}, {bprovider::PayToAddressLine2, "SUITE 4"},
      {bprovider::PayToCity, "HILLTOWN"}, {bprovider::PayToState, "PA"},
      {bprovider::PayToZipCode, "17002"}});
  Rec insurance = Full(68, {
      {insurance::IhCode, "INS1"}, {insurance::PayerId, "54321"},
      {insurance::Name, "KEYSTONE HEALTH PLAN"}, {insurance::AddressLine1, "PO BOX 900"},
      {insurance::City, "HARRISBURG"}, {insurance::State, "PA"},
      {insurance::ZipCode, "171050900"}});
  Rec calc = Full(15, {{calc_pref::AmountDueRule, "1"}});
  Rec breaks = Full(25);
  Rec patient = Full(53, {
      {patient::AccountNumber, "ACCT1001"}, {patient::FirstName, "JOHN"},
      {patient::LastName, "DOE"}, {patient::BirthDate, "01151970"}, {patient::SexCode, "M"},
      {patient::AddressLine1, "5 PINE LN"}, {patient::City, "SPRINGVALE"},
      {patient::State, "PA"}, {patient::ZipCode, "17001"}});
  Rec subscriber = Full(67, {
      {subscriber::InsuredIdPrefix, "XYZ"}, {subscriber::InsuredIdNumber, "123456789"},
      {subscriber::GroupNumber, "GRP100"}, {subscriber::AssignsBenefits, "1"},
      {subscriber::Relationship, "SLF"},
      {subscriber::FirstName, "JOHN"}, {subscriber::LastName, "DOE"},
      {subscriber::EmployerName, "ACME STEEL"}, {subscriber::AddressLine1, "5 PINE LN"},
      {subscriber::City, "SPRINGVALE"}, {subscriber::State, "PA"},
      {subscriber::ZipCode, "170019876"}});
  Rec charge = Full(150, {
      {charge::ProcedureCode, "99213"}, {charge::Description, "OFFICE VISIT"},
      {charge::Modifier1, "25"}, {charge::Icd10Code1, "J101"}, {charge::Units, "1"},
      {charge::ChargeAmount, "100.00"}, {charge::ServiceDate, "03152024"},
      {charge::ServiceToDate, "03152024"}, {charge::PrimaryApprovalNumber, "AUTH1"},
      {charge::SecondaryApprovalNumber, "AUTH2"}, {charge::RevenueCode, "0450"},
      {charge::PayerSequence, "1"}, {charge::DocumentControlNumber, "DCN77"}});
  std::vector<std::pair<std::string, Rec>> companions;  // sent with every charge
  std::vector<std::pair<std::string, std::string>> ext;         // type, record text

  void Only(const std::string& type, const Rec& companion) {
    companions.clear();
    companions.emplace_back(type, companion);
  }
};

inline Rec OtherInsurance(const char* id, const char* name, const char* paid) {
  return Full(89, {
      {oinsurance::PayerId, id}, {oinsurance::PayerName, name}, {oinsurance::AssignsBenefits, "3"},
      {oinsurance::Relationship, "WIF"}, {oinsurance::InsuredFirstName, "JANE"},
      {oinsurance::InsuredLastName, "DOE"},
      {oinsurance::PaidAmount, paid}, {oinsurance::EmployerName, "MILL WORKS"},
      {oinsurance::Deductible, "50.00"}});
}

struct Field {
  float x, y;
  std::string text;  // kNone: no field there
};

// Feeds claims to a fresh component and reads the formatted-record file.
struct Formatted {
  Harness h;
  std::vector<FormattedLine> lines;
  std::vector<std::string> messages;

  // Payers here still take secondary provider ids: their NPI-only date is
  // far ahead.
  Formatted() { h.WriteNpiFile("00,,1/1/2099\r\n"); }
  // One charge per claim.
  explicit Formatted(const std::vector<Claim>& claims) : Formatted() { Run(claims); }
  // Sends "CONNECTIONSTRING" (before the claims); its answers in messages.
  int16_t Connect(const std::string& dsn) {
    int16_t r = h.fc.HereIsAMessage("CONNECTIONSTRING", dsn);
    messages = Messages(h.fc);
    return r;
  }
  void Run(const std::vector<Claim>& claims) {
    for (const Claim& c : claims) {
      Top(c);
      Charge(c, c.charge);
    }
    Finish();
  }
  // The top records (a new claim) and the claim-level extended data.
  void Top(const Claim& c) {
    for (const auto& [type, rec] :
         {std::pair<const char*, const Rec*>{"1000", &c.practice}, {"2000", &c.bprovider},
          {"3000", &c.insurance}, {"3100", &c.calc}, {"3101", &c.breaks},
          {"4000", &c.patient}, {"5000", &c.subscriber}})
      Send(type, rec->str());
    for (const auto& [type, text] : c.ext) Send(type, text);
  }
  void Charge(const Claim& c, const Rec& charge) {
    Send("6000", charge.str());
    for (const auto& [type, rec] : c.companions) Send(type, rec.str());
    Send("6990", "");
  }
  // messages: those of every record sent and of the end of the batch.
  void Finish() {
    lines = h.Lines();
    messages = sent_messages;
    messages.insert(messages.end(), h.end_messages.begin(), h.end_messages.end());
  }
  void Send(const std::string& type, const std::string& text) {
    int16_t r = h.fc.FormatRecord(Key(type), text);
    std::vector<std::string> m = Messages(h.fc);
    EXPECT_EQ(r, 0) << type << ::testing::PrintToString(m);
    sent_messages.insert(sent_messages.end(), m.begin(), m.end());
  }
  std::vector<std::string> sent_messages;

  std::string At(float x, float y) const { return FieldAt(lines, x, y); }
  void Expect(std::initializer_list<Field> fields) const {
    for (const Field& f : fields) EXPECT_EQ(At(f.x, f.y), f.text) << "at " << f.x << ", " << f.y;
  }
};

}  // namespace ub04::test
