#include "records/record_rules.h"

#include "base/text_util.h"
#include "records/layouts.h"
#include "records/payer_rules.h"
#include "records/record_parser.h"

namespace ub04 {

std::string NormalizeCountry(const std::string& s) {
  if (s == "1.0" || s == "USA" || s == "United States" || s == "US") return "";
  if (s == "2.0" || s == "CANADA") return "CA";
  if (s == "GERMANY") return "DE";
  return s;
}

bool NpiNotYetInUse(const ParseEnv& env) { return env.npi_cutover_date > Today(); }

namespace {

void SplitAtSlash(Record& rec, size_t member, size_t second_part) {
  SplitAtFirst(rec[member], '/', rec[member], rec[second_part]);
}

// An empty PayerId takes the alternate one, unless the caller keeps it.
void FallBackToAlternatePayerId(ParseContext& c, size_t payer_id, size_t alternate) {
  if (c.rec[payer_id].empty() && !c.keep_empty_payer_id) c.rec[payer_id] = c.rec[alternate];
}

// A coded token mapped in place: from_one -> "1" and from_zero -> "0"; the
// mapped flag (when there is one) tells whether either happened.
void MapCode(std::string& code, const char* from_one, const char* from_zero,
             std::string* mapped) {
  if (mapped) *mapped = "0";
  if (code == from_one) {
    code = "1";
  } else if (code == from_zero) {
    code = "0";
  } else {
    return;
  }
  if (mapped) *mapped = "1";
}

}  // namespace

// ---- practice ----

void LogNpiLegacyNote(ParseEnv& env) {
  if (!env.npi_legacy_note.empty()) env.cx.log.Line(env.npi_legacy_note);
}

void KeepNpiAsReceived(ParseContext& c) { c.rec[practice::NpiAsReceived] = c.rec[practice::Npi]; }

int16_t FetchOriginalAddressForForm(ParseContext& c) {
  Record& rec = c.rec;
  for (size_t m = practice::OriginalName; m <= practice::OriginalCountry; ++m) rec[m].clear();
  std::string_view form = c.env.form_code;
  bool original_form = form.ends_with("_P5") || form.ends_with("_I5");
  if (!original_form || rec[practice::PayToAddressLine1].empty()) return 0;
  if (c.env.services.OriginalPracticeAddress(rec)) return 0;
  Context& cx = c.env.cx;
  cx.Queue(kError, cx.component_name +
                  " ParsePracticeRec had an error when fetching original practice address");
  return kFailed;
}

// ---- billing provider, insurance ----

int16_t SplitBProviderOtherId(ParseContext& c) {
  SplitAtSlash(c.rec, bprovider::OtherId, bprovider::OtherIdSecondPart);
  return 0;
}

int16_t FinishInsurance(ParseContext& c) {
  SplitAtSlash(c.rec, insurance::ProviderIdForPayer, insurance::ProviderIdSecondPart);
  FallBackToAlternatePayerId(c, insurance::PayerId, insurance::AlternatePayerId);
  return 0;
}

void OverridePracticeNpiAndSetFlags(ParseContext& c) {
  TopRecords& top = c.env.top;
  Record& prac = top.practice;
  std::string npi = c.env.services.AlternatePracticeNpi(
      prac[practice::IhCode], top.bprovider[bprovider::IhCode], c.rec[insurance::IhCode]);
  prac[practice::Npi] = npi.empty() ? prac[practice::NpiAsReceived] : npi;
  SetPayerFlags(c.rec);
}

// ---- patient, subscriber ----

int16_t ClearPatientMember53(ParseContext& c) {
  c.rec[patient::Member53].clear();
  return 0;
}

void MapSubscriberField11(ParseContext& c) {
  MapCode(c.rec[subscriber::Field11], "3", "2", &c.rec[subscriber::Field11Mapped]);
}

// The second part is the whole text after the first "~" (nothing reads it).
void SplitSubscriberField38(ParseContext& c) {
  std::string& field = c.rec[subscriber::Field38];
  std::string& second = c.rec[subscriber::Field38SecondPart];
  size_t p = field.find('~');
  if (p == std::string::npos) {
    second.clear();
    return;
  }
  second = field.substr(p + 1);
  field.erase(p);
}

// ---- charge ----

void ClearThisFollowed(ParseEnv& env) {
  env.follow.key.clear();
  env.follow.followed = false;
  env.cx.log.Line("** ParseChargeRec  This-followed is now false");
}

void BlankNoneApprovals(ParseContext& c) {
  for (size_t m : {charge::PrimaryApprovalNumber, charge::SecondaryApprovalNumber})
    if (Left(c.rec[m], 4) == "NONE") c.rec[m].clear();
}

void FrameCodeList(ParseContext& c) {
  std::string& list = c.rec[charge::CodeList];
  list = "~" + list + "~";
}

void BlankZeroQuantities(ParseContext& c) {
  for (size_t m : {charge::NdcQuantity, charge::Field124})
    if (LeadingNumber(c.rec[m]) == 0) c.rec[m].clear();
}

bool TakeIcd10Group(ParseContext& c) {
  RunLog& log = c.env.cx.log;
  const long long n = c.n;
  if (n >= 129 && n <= 179) {
    log.Line("parsing ICD10's because I have field 129 and less than 180 fields");
    return true;
  }
  log.Line("blanking ICD10's because I have field 129 but more than 180 fields, or dont have 129");
  log.Joined({"ubound is ", PlainNum(n)});
  return false;
}

namespace {

// The text between the second and third comma of token 0 (to the end
// without a third comma); "" with fewer than two commas.
std::string ThirdCommaField(const std::string& text) {
  size_t first = text.find(',');
  if (first == std::string::npos) return "";
  size_t second = text.find(',', first + 1);
  if (second == std::string::npos) return "";
  size_t third = text.find(',', second + 1);
  return text.substr(second + 1, third == std::string::npos ? third : third - second - 1);
}

}  // namespace

int16_t FinishCharge(ParseContext& c) {
  Record& rec = c.rec;
  rec[charge::TypeOfBill].clear();  // settled at the end of the charge
  rec[charge::Field00ThirdPart] = ThirdCommaField(rec[charge::Field00]);
  SplitAtSlash(rec, charge::RevenueCode, charge::RevenueCodeSecondPart);
  rec[charge::RevenueCode] = PadText(rec[charge::RevenueCode], 4, '0', false);
  c.env.services.ChooseDiagnosisCodeSet(rec, c.env.top.insurance);
  FillModifiersFromList(rec);
  rec[charge::BpValue].clear();
  TakeBPPrefix(rec);
  return 0;
}

// With the switch on, a narrative that holds the procedure text is dropped
// altogether. An empty procedure text changes nothing.
void StripProcedureFromNarrative(ParseContext& c) {
  Record& rec = c.rec;
  const std::string& procedure = rec[charge::Description];
  if (rec[charge::StripProcedureFromNarrative] != "1" || procedure.empty()) return;
  std::string& narrative = rec[charge::Narrative];
  if (StripMidStringFromWholeString(c.env.cx, procedure, narrative) != narrative)
    narrative.clear();
}

void FillModifiersFromList(Record& rec) {
  for (int i = 1; i <= 3; ++i) rec[charge::ExtraModifierSlot(i)].clear();
  std::string work = Trim(rec[charge::ExtraModifiers]);
  int i = 0;
  while (!work.empty()) {
    if (!rec[charge::ExtraModifierSlot(3)].empty()) break;
    if (++i > 3) break;
    std::string& slot = rec[charge::ExtraModifierSlot(i)];
    slot = work;
    long long blank = InStr(slot, " ");
    if (blank > 0) {
      work = Trim(Mid(slot, blank));
      slot = Trim(Left(slot, blank));
    } else {
      work.clear();
    }
  }
  for (size_t m : {charge::Modifier1, charge::Modifier2, charge::Modifier3, charge::Modifier4})
    if (rec[m].empty()) rec[m] = PopExtraModifier(rec);
}

std::string PopExtraModifier(Record& rec) {
  std::string first = rec[charge::ExtraModifierSlot(1)];
  if (first.empty()) return first;
  rec[charge::ExtraModifierSlot(1)] = rec[charge::ExtraModifierSlot(2)];
  rec[charge::ExtraModifierSlot(2)] = rec[charge::ExtraModifierSlot(3)];
  rec[charge::ExtraModifierSlot(3)].clear();
  return first;
}

// ---- companions ----

int16_t ApplySProviderNpiCutover(ParseContext& c) {
  if (NpiNotYetInUse(c.env)) c.rec[sprovider::Npi].clear();
  return 0;
}

int16_t ApplyFacilityNpiCutover(ParseContext& c) {
  if (NpiNotYetInUse(c.env)) c.rec[facility::Npi].clear();
  return 0;
}

void MapOInsuranceAssignsBenefits(ParseContext& c) {
  MapCode(c.rec[oinsurance::AssignsBenefits], "3", "2", nullptr);
}

void MapOInsuranceField11(ParseContext& c) {
  MapCode(c.rec[oinsurance::Field11], "5", "4", &c.rec[oinsurance::Field11Mapped]);
}

void NormalizeOInsuranceAdjustments(ParseContext& c) {
  std::string& codes = c.rec[oinsurance::AdjustmentCodes];
  if (codes.empty()) return;
  // group|reason|amount|units, repeated: the amounts and units are numbers.
  size_t field = 0, start = 0;
  for (size_t i = 0; i <= codes.size(); ++i) {
    if (i < codes.size() && codes[i] != '|') continue;
    std::string_view piece(codes.data() + start, i - start);
    if (field % 4 >= 2 && !IsPlainNumber(piece))
      WarnNotANumber(c.env, c.rules, TokenForMember(c.rules, oinsurance::AdjustmentCodes), piece);
    ++field;
    start = i + 1;
  }
  c.env.services.NormalizeAdjustmentCodes(codes);
}

int16_t FinishOInsurance(ParseContext& c) {
  FallBackToAlternatePayerId(c, oinsurance::PayerId, oinsurance::AlternatePayerId);
  return 0;
}

void MarkChargeFollowed(ParseContext& c) {
  if (c.rec[oinsurance::FollowMarker] != "MCA") return;
  c.env.follow.key = c.env.group.charge[charge::RevenueCodeSecondPart];
  c.env.follow.followed = true;
  c.env.cx.log.Line("ParseOIns  This-followed is now True");
}

}  // namespace ub04
