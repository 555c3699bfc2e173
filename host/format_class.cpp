#include "host/format_class.h"

#include <array>
#include <filesystem>

#include "claim/claim_state.h"
#include "form/claim_writer.h"
#include "form/fmt_file.h"
#include "form/printing.h"
#include "host/msgbox.h"
#include "host/run_log.h"
#include "host/text_util.h"
#include "records/layouts.h"
#include "records/parsers.h"
#include "refdata/refdata.h"

namespace ub04 {

namespace {

// "A//B//C" -> "A /B /C": in every run of slashes all but the last become
// spaces, as the key is quoted in error messages.
std::string KeyText(std::string key) {
  size_t p;
  while ((p = key.find("//")) != std::string::npos) key[p] = ' ';
  return key;
}

bool FindInExt(const Record& ext, std::string_view code, std::string& value) {
  return FindCodeValue(ext[ext_data::Pairs], code, value);
}

bool LookUp(const ChargeGroup& g, const TopRecords& top, int n, std::string_view code,
            std::string& value) {
  value.clear();
  if (n < 1 || n > 5) return false;
  return FindInExt(g.ext_second(n), code, value) || FindInExt(g.ext_first(n), code, value) ||
         FindInExt(top.ext[static_cast<size_t>(n - 1)], code, value);
}

// Extended data: 5010..5018 patient level, 6010..6018 and 6020..6028 the
// charge's two families; the even last digit gives the set n = 1..5.
Record* ExtDataSlot(std::string_view type, ClaimState& c) {
  if (type.size() != 4) return nullptr;
  char d = type[3];
  if (d < '0' || d > '8' || (d - '0') % 2 != 0) return nullptr;
  int n = (d - '0') / 2 + 1;
  std::string_view family = type.substr(0, 3);
  if (family == "501") return &c.this_top.ext[static_cast<size_t>(n - 1)];
  if (family == "601") return &c.this_group.ext_first(n);
  if (family == "602") return &c.this_group.ext_second(n);
  return nullptr;
}

// Flushes the outputs at the end of a public call and turns a failure that
// was queued on the way into a non-zero result.
int16_t Finish(int16_t result) {
  FlushOutputs();
  if (result == 0 && Rs().queue.MaxNr() >= 3) return 1;
  return result;
}

// The error text a writer composed during the call becomes gsErrorMsg.
void TakeErrorMsg(std::string& gsErrorMsg) {
  RunState& rs = Rs();
  if (rs.error_msg.empty()) return;
  gsErrorMsg = std::move(rs.error_msg);
  rs.error_msg.clear();
}

}  // namespace

bool LookUpExtData(int n, std::string_view code, std::string& value) {
  const ClaimState& c = Rs().claim;
  return LookUp(c.this_group, c.this_top, n, code, value);
}

bool LookUpExtDataLast(int n, std::string_view code, std::string& value) {
  const ClaimState& c = Rs().claim;
  return LookUp(c.last_group, c.last_top, n, code, value);
}

// ---- creation and destruction ----------------------------------------------------

Format_Class::Format_Class(const std::string& module_name) {
  try {
    RunState& rs = Rs();
    rs.module_name = module_name;
    rs.diag_capacity = 18;
    rs.diags_per_charge = 5;
    Shared_Initialize();
  } catch (const std::exception& e) {
    ShowMessageBox(module_name + ".Dll had a problem in Format_Class.Class_Initialize()\r" +
                   e.what());
  }
}

Format_Class::~Format_Class() {
  if (Rs().ref.db_connection_good) CloseDatabaseConnection();
  FlushOutputs();
}

// ---- messages -----------------------------------------------------------------------

std::string Format_Class::GetAMessage(int32_t& lIndex) {
  try {
    return Rs().queue.Get(lIndex);
  } catch (...) {
    return "END";
  }
}

int16_t Format_Class::SetLogLevel(const std::string& sMsg) {
  RunState& rs = Rs();
  if (sMsg != "1" && sMsg != "2") {
    rs.log_level = 0;  // an open log stays open
    return 0;
  }
  rs.log_level = static_cast<int16_t>(sMsg[0] - '0');
  if (OpenLog() != 0) return 3;
  LogLine(" >>>>> gbDBConnectionIsGood = " + BoolText(rs.ref.db_connection_good));
  return 0;
}

void Format_Class::GetBillingComponentManager() {
  static constexpr std::array<const char*, 13> kGrids = {
      "BCM//0010//P~UB04 PA~0",
      "BCM//0011//~VOIDADJ~",
      "BCM//0020//1603~Billing ID~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1630~Billing ID~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1604~Billing ID~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1605~Payor Organization#~Fld43 Description (Y/N)~Fld44 HCPCS (Y/N)"
      "~Default Patient Status~Skip Box 74? (Y/N)~Insurance Info in Box 38 (Y/N)",
      "BCM//0020//1606~Billing Code~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1608~Billing Code~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1609~Billing ID~Type of Bill (Box4)~Admission Type (Box 14)"
      "~Admission Source (Box 15)~Field 5",
      "BCM//0020//1610~Billing Code~Extra Modifiers~Field 3~Clinical Trial#~Alt. Rev. Code",
      "BCM//0020//1611~Billing ID~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1612~Billing ID~Field 2~Field 3~Field 4~Field 5",
      "BCM//0020//1613~Billing Code~Field 2~Field 3~Field 4~Field 5",
  };
  RunState& rs = Rs();
  try {
    rs.queue.Clear();
    AddToMessageArray(1, "BCM//0005//" + VersionText());
    for (const char* g : kGrids) AddToMessageArray(1, g);
  } catch (const std::exception& e) {
    ShowMessageBox(ComponentName() + " GetBillingComponentManager " + e.what());
  }
}

int16_t Format_Class::HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg) {
  RunState& rs = Rs();
  int16_t result = 0;
  bool answer_rule = false;
  try {
    rs.queue.Clear();
    if (sMsgNr == "1") {
      rs.output_path = sMsg;
    } else if (sMsgNr == "2") {
      if (HaveOutputPath())
        rs.fmt_file_path = rs.output_path + "/" + sMsg;
      else
        result = 3;
    } else if (sMsgNr == "3") {
      rs.fatal_error = sMsg == "Y";
    } else if (sMsgNr == "4") {
      if (sMsg.size() > 9) {
        float x = static_cast<float>(LeadingNumber(Mid(sMsg, 1, 4)));
        float y = static_cast<float>(LeadingNumber(Mid(sMsg, 6, 4)));
        rs.printer_x_offset = sMsg[4] == '-' ? -x : x;
        rs.printer_y_offset = sMsg[9] == '-' ? -y : y;
      }
    } else if (sMsgNr == "5") {
      // A log that would not open is a failure the host must hear about.
      if (SetLogLevel(sMsg) == 3) result = 3;
    } else if (sMsgNr == "6") {
      Tokens t;
      SplitTokens(sMsg, "//", t);
      const std::string& from = Tok(t, 0);
      const std::string& to = Tok(t, 1);
      int16_t start = RoundToInt16(LeadingNumber(from));
      int16_t end = RoundToInt16(LeadingNumber(to));
      rs.test_claims_starting = start;
      rs.test_claims_ending = end;
      rs.test_claims_mode = end != 0;
      if (rs.test_claims_mode && start == 0) rs.test_claims_starting = 1;
    } else if (sMsgNr == "7") {
      rs.printer_name = sMsg;
      if (!sMsg.empty()) SelectPrinter(sMsg);
    } else if (sMsgNr == "BCM-1") {
      GetBillingComponentManager();
      answer_rule = true;
    } else if (sMsgNr == "CONNECTIONSTRING") {
      rs.connection_string = "DSN=" + sMsg + ";UID=VRXUser;PWD=kw4tr7nmzq";
      ConnectToDatabase();
      // Messages of a retry that then connected are warnings; a connection
      // that stays down is a failure.
      if (!rs.ref.db_connection_good && rs.queue.MaxNr() >= 3) result = 3;
    } else if (sMsgNr == "BATCHROWID") {
      rs.batch_row_id = sMsg;
    } else if (sMsgNr == "QUARVELUSER") {
      rs.host_user = sMsg;
      answer_rule = true;
    } else if (sMsgNr == "VER") {
      AddToMessageArray(1, VersionText());
      answer_rule = true;
    } else if (sMsgNr == "HOW_MANY_CLAIMS") {
      AddToMessageArray(1, "TOTALCLAIMS//" + PlainNum(rs.total_claims) + "//");
      answer_rule = true;
    } else {
      answer_rule = true;
    }
    if (answer_rule && !rs.queue.Empty())
      result = std::max<int16_t>(rs.queue.MaxNr(), 1);
  } catch (const RtError& e) {
    gsErrorMsg = ComponentName() + "  HereIsAMessage()  Error: " + ErrorText(e);
    AddToMessageArray(3, gsErrorMsg);
    result = 3;
  }
  FlushOutputs();
  return result;
}

// ---- records ----------------------------------------------------------------------

int16_t Format_Class::FormatRecord(const std::string& sKey, const std::string& sRec) {
  RunState& rs = Rs();
  int16_t result = 0;
  try {
    LogLine("FormatRecord()");
    rs.queue.Clear();
    ++rs.record_counter;
    bool first = rs.record_counter == 1;
    if (first) {
      if (!HaveASCIIFilenm()) return Finish(1);
      if (OpenASCIIout() == 0) WriteHeader("");
      else rs.fmt_open_failed = true;
      // The first record traces everything, whatever the host asked for. The
      // queue keeps what opening the file reported.
      SetLogLevel("2");
    }
    if (rs.log_level != 0) LogItems({SignNum(rs.record_counter), sKey, sRec});
    Tokens key;
    SplitTokens(sKey, "//", key);
    for (size_t i = 0; i < rs.record_header.size(); ++i)
      rs.record_header[i] = Tok(key, static_cast<long long>(i));
    const std::string& type = rs.record_header[10];
    if (first && type != "1000") {
      AddToMessageArray(3, "1st Record was not Practice Info (type:1000)");
      AddToMessageArray(3, "Please call support for help");
      return Finish(3);
    }
    result = Dispatch(type, sRec);
    if (result == 3) result = 1;
  } catch (const RtError& e) {
    gsErrorMsg = ComponentName() + " Had a problem in FormatRecord() Error:" + " " +
                 ErrorText(e);
    AddToMessageArray(3, gsErrorMsg);
    gsErrorMsg = "Record# " + SignNum(rs.record_counter) + " Record Key: " + KeyText(sKey);
    AddToMessageArray(3, gsErrorMsg);
    result = 1;
  }
  TakeErrorMsg(gsErrorMsg);
  return Finish(result);
}

int16_t Format_Class::Dispatch(const std::string& type, const std::string& sRec) {
  ClaimState& c = Rs().claim;
  TopRecords& top = c.this_top;
  ChargeGroup& grp = c.this_group;

  if (Record* ext = ExtDataSlot(type, c)) return ParseExtDataRec(sRec, *ext);

  if (type == "1000") return ParsePracticeRec(sRec, top.practice);
  if (type == "1050") return ParseSubmitterRec(sRec, top.submitter);
  if (type == "2000") return ParseBProviderRec(sRec, top.bprovider);
  if (type == "3000") {
    bool keep_empty_payer_id = false;
    return ParseInsuranceRec(sRec, top.insurance, keep_empty_payer_id);
  }
  if (type == "3100") return ParseCalcPrefRec(sRec, top.calc_pref);
  if (type == "3101") return ParseBreakPrefRec(sRec, top.break_pref);
  if (type == "4000") return ParsePatientRec(sRec, top.patient);
  if (type == "5000") return ParseSubscriberRec(sRec, top.subscriber);
  if (type == "6000") {
    EmptyThisGroup();
    return ParseChargeRec(sRec, grp.charge);
  }
  if (type == "6050") return ParseAmbulanceRec(sRec, grp.ambulance);
  if (type == "6060") return ParseChiropractorRec(sRec, grp.chiropractor);
  if (type == "6100") return ParseSProviderRec(sRec, grp.sprovider);
  if (type == "6110") return ParseOProviderRec(sRec, grp.oprovider);
  if (type == "6120") return ParseReferralRec(sRec, grp.referral);
  if (type == "6130") return ParseOReferralRec(sRec, grp.oreferral);
  if (type == "6200") {
    // Facility switch of the billing preferences: "1" never, "2" not for an
    // office place of service, anything else always.
    const std::string& sw = top.calc_pref[calc_pref::FacilitySwitch];
    const std::string& pos = grp.charge[charge::PosCode];
    if (sw == "1" || (sw == "2" && (pos == "11" || pos == "12"))) return 0;
    return ParseFacilityRec(sRec, grp.facility);
  }
  if (type == "6310" || type == "6320" || type == "6330" || type == "6340") {
    int slot = type[2] - '0';
    return ParseOInsuranceRec(sRec, grp.oins[static_cast<size_t>(slot - 1)], slot);
  }
  if (type == "6990") {
    int16_t r = EndOfCharge();
    return r == 3 ? 3 : 0;
  }
  LogLine("FormatRecord() - Didn't know the case type");
  return 0;
}

int16_t Format_Class::EndOfCharge() {
  RunState& rs = Rs();
  ClaimState& c = rs.claim;
  ++rs.charge_counter;

  const std::string& sub13 = c.this_top.subscriber[subscriber::Field13];
  if (!sub13.empty()) c.this_group.charge[charge::CodeList] += "~" + sub13;

  std::string tob;
  if (!LookUpExtData(2, "20007", tob)) {
    tob = c.this_top.insurance[insurance::TypeOfBill];
    if (tob.empty()) tob = c.this_top.practice[practice::TypeOfBill];
  }
  c.this_group.charge[charge::TypeOfBill] = Right("0000" + tob, 4);

  bool new_claim = false;
  if (rs.first_charge) {
    rs.first_charge = false;
    new_claim = true;
    LogLine("1st Charge, not calling CheckBreak()");
  } else {
    new_claim = c.last_top.practice[practice::IhCode] != c.this_top.practice[practice::IhCode];
    if (CheckBreak(tables_) == 3) return 3;
  }

  CopyThisTopToLast();
  CopyThisGroupToLast();
  if (new_claim)
    ClearOtherInsIDArrays(c.last_top.practice[practice::IhCode], rs.record_header[0],
                          c.last_top.practice[practice::Field16]);
  DealWithLastGroup(tables_);
  Strip19FromNarrative(c.last_group.charge[charge::Narrative]);
  return 0;
}

// ---- end of batch and printing --------------------------------------------------------

int16_t Format_Class::ProcessEndOfFile() {
  RunState& rs = Rs();
  int16_t result = 0;
  try {
    rs.queue.Clear();
    LogLine("ProcessEndOfFile() gbThereWasAFatalError = " + BoolText(rs.fatal_error));
    if (rs.fatal_error) {
      LogLine("VC++ says there was a Fatal Error");
    } else {
      int16_t r = 0;
      if (rs.charge_counter > 0) r = WriteClaim(tables_);
      // Every batch whose file is open ends with its trailer, also one
      // without any charge; a failed claim leaves the trailer off. A file
      // that never opened cannot take it either, and that is reported
      // here too: the end of such a batch is not a success.
      if (r != 3 && (rs.fmt_out.IsOpen() || rs.fmt_open_failed)) WriteTrailer("");
    }
  } catch (const RtError& e) {
    gsErrorMsg = ComponentName() + " Had a problem in ProcessEndOfFile()  Error: " +
                 rs.record_header[10] + " " + ErrorText(e);
    AddToMessageArray(3, gsErrorMsg);
    result = 1;
  }
  TakeErrorMsg(gsErrorMsg);
  // The file and the log are closed on every path, so nothing stays
  // unflushed before printing.
  const bool was_open = rs.fmt_out.IsOpen();
  int16_t closed = CloseASCIIout();
  if (closed > 0) result = closed;
  // A file removed under the run (its folder cleaned away) took every line
  // with it, although each write succeeded.
  std::error_code ec;
  if (closed == 0 && was_open && !std::filesystem::exists(rs.fmt_file_path, ec)) {
    AddToMessageArray(3, ComponentName() + " CloseASCIIout() " +
                             ErrorText(RtError(kErrFileNotFound)));
    AddToMessageArray(3, "Filename: " + rs.fmt_file_path);
  }
  if (!rs.queue.Empty()) {
    LogLine("ProcessEndOfFile: Had extra Messages in the array");
    result = 1;
  }
  CloseLog();
  if (!rs.queue.Empty()) result = 1;
  return result == 0 ? 0 : 1;
}

int16_t Format_Class::ProcessFormattedRecords() {
  RunState& rs = Rs();
  int16_t result = 0;
  try {
    rs.queue.Clear();
    if (!HaveASCIIFilenm()) return 1;
    DeleteLog();
    result = PrintFormattedRecords();
  } catch (const RtError& e) {
    AddToMessageArray(3, "ProcessFormattedRecords()  Error: " + ErrorText(e));
    AddToMessageArray(3, "File: " + rs.fmt_file_path);
    result = 1;
  }
  if (!rs.queue.Empty()) result = 1;
  return result;
}

void SetComponentFolder(const std::string& dir) { Rs().ref.component_folder = dir; }

std::string OtherInsuranceBillingId(const std::string& insurance_ih_code) {
  return FetchOInsPracticeBillingIDFromArray(insurance_ih_code);
}

}  // namespace ub04
