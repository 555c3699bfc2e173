#include "host/format_class.h"

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/msgbox.h"
#include "base/text_util.h"
#include "claim/claim_state.h"
#include "claim/ext_data.h"
#include "compose/claim_writer.h"
#include "form/fmt_file.h"
#include "print/printing.h"
#include "host/run_log.h"
#include "host/run_state.h"
#include "records/layouts.h"
#include "records/record_parser.h"
#include "records/record_types.h"
#include "refdata/connection_string.h"

namespace ub04 {

namespace {

RunLog& Log() { return Rs().cx.log; }
void AddToMessageArray(int16_t nr, std::string msg) { Rs().cx.Queue(nr, std::move(msg)); }
const std::string& ComponentName() { return Rs().cx.component_name; }

// "A//B//C" -> "A /B /C": in every run of slashes all but the last become
// spaces, as the key is quoted in error messages; clipped for a message.
std::string KeyText(std::string_view key) {
  std::string text = ClipForMessage(key);
  const size_t n = std::min(key.size(), kMessageQuoteChars);
  for (size_t i = 0; i < n; ++i)
    if (key[i] == '/' && i + 1 < key.size() && key[i + 1] == '/') text[i] = ' ';
  return text;
}

// "CONNECTIONSTRING": the run's connection string from the host's text. A
// login that cannot be read is queued as a severity-3 message and leaves the
// run without a connection string, so no connection is attempted.
void UseHostConnectionText(const std::string& host_text) {
  RunState& rs = Rs();
  rs.connection_string.clear();
  std::optional<DbLogin> login;
  // A full connection string carries its own login, if any.
  if (!IsFullConnectionString(host_text)) {
    try {
      login = HostLogin();
    } catch (const RtError& e) {
      AddToMessageArray(3, ComponentName() + " CONNECTIONSTRING  Error:" + ErrorText(e));
      return;
    }
  }
  rs.connection_string = ComposeConnectionString(host_text, login);
}

// "FILEMODE": the permissions of every file the run creates, or a severity-3
// message and 3 for any text but "0600" and "0640" (the mode stays).
int16_t SetFileMode(const std::string& text) {
  RunState& rs = Rs();
  if (FileModeFromText(text, rs.file_mode)) return 0;
  AddToMessageArray(3, ComponentName() + " HereIsAMessage()  FILEMODE \"" + text +
                           "\" is not accepted: \"0600\" (owner only) or \"0640\" (owner and "
                           "group may read); files stay " +
                           (rs.file_mode == kGroupReadable ? "0640" : "0600"));
  return 3;
}

// Every public call starts with an empty queue.
void BeginCall() {
  Context& cx = Rs().cx;
  ++cx.call;
  cx.queue.Clear();
}

// Takes the lock of the run's formatted-record file for the batch and
// removes what a killed run left beside it. False (locked_out set) when
// another run holds it.
bool TakeRunLock(std::vector<std::string>& leftovers) {
  RunState& rs = Rs();
  const std::string lock_path = LockPathFor(rs.fmt_file_path);
  std::string holder;
  try {
    if (rs.run_lock.TryLock(lock_path, true, rs.file_mode, holder)) {
      leftovers = RemoveLeftoverTemporaries(rs.fmt_file_path);
      for (std::string& name : RemoveLeftoverTemporaries(PdfPathFor(rs.fmt_file_path)))
        leftovers.push_back(std::move(name));
      return true;
    }
    rs.locked_out = ComponentName() + " FormatRecord()  Error: " + rs.fmt_file_path +
                    " is being written by " + holder + "; this run writes nothing";
  } catch (const RtError&) {
    // No lock file can be made beside it (a folder that is missing or not
    // writable): neither can the formatted-record file, whose opening then
    // says why.
    return true;
  }
  return false;
}

std::string RecordNumberText(int32_t n, std::string_view key) {
  return "Record# " + SignNum(n) + " Record Key: " + KeyText(key);
}

// Flushes the outputs at the end of a public call and turns a failure that
// was queued on the way into a non-zero result.
int16_t Finish(int16_t result) {
  FlushOutputs();
  if (result == 0 && Rs().cx.queue.MaxNr() >= 3) return 1;
  return result;
}

// The error text a writer composed during the call becomes gsErrorMsg.
void TakeErrorMsg(std::string& gsErrorMsg) {
  Context& cx = Rs().cx;
  if (cx.error_msg.empty()) return;
  gsErrorMsg = std::move(cx.error_msg);
  cx.error_msg.clear();
}


}  // namespace

bool LookUpExtData(int n, std::string_view code, std::string& value) {
  return LookUpExtDataThis(Rs().claim, n, code, value);
}

bool LookUpExtDataLast(int n, std::string_view code, std::string& value) {
  return ub04::LookUpExtDataLast(Rs().claim, n, code, value);
}

void SetPreviewFolder(const std::string& dir) { Rs().print.preview_dir = dir; }

void SetPreviewGrid(bool on) { Rs().print.preview_grid = on; }

void SetComponentFolder(const std::string& dir) { Rs().ref.state().component_folder = dir; }

// ---- creation and destruction ----------------------------------------------------

Format_Class::Format_Class(const std::string& module_name) {
  try {
    Shared_Initialize(module_name, 18, 5);
  } catch (const std::exception& e) {
    ShowMessageBox(module_name + ".Dll had a problem in Format_Class.Class_Initialize()\r" +
                   e.what());
  }
}

Format_Class::~Format_Class() {
  if (Rs().ref.connected()) Rs().ref.CloseDatabaseConnection();
  FlushOutputs();
}

// ---- messages -----------------------------------------------------------------------

std::string Format_Class::GetAMessage(int32_t& lIndex) {
  try {
    return Rs().cx.queue.Get(lIndex);
  } catch (...) {
    return "END";
  }
}

int16_t Format_Class::SetLogLevel(const std::string& sMsg) {
  RunState& rs = Rs();
  if (sMsg != "1" && sMsg != "2") {
    rs.cx.log.set_level(0);  // an open log stays open
    return 0;
  }
  rs.cx.log.set_level(static_cast<int16_t>(sMsg[0] - '0'));
  if (OpenLog() != 0) return 3;
  Log().Line(" >>>>> gbDBConnectionIsGood = " + BoolText(rs.ref.connected()));
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
  try {
    BeginCall();
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
    BeginCall();
    if (sMsgNr == "1") {
      rs.output_path = sMsg;
    } else if (sMsgNr == "2") {
      if (HaveOutputPath())
        rs.fmt_file_path = OutputFilePath(rs.output_path, sMsg);
      else
        result = 3;
    } else if (sMsgNr == "3") {
      rs.fatal_error = sMsg == "Y";
    } else if (sMsgNr == "4") {
      if (sMsg.size() > 9) {
        float x = static_cast<float>(LeadingNumber(Mid(sMsg, 1, 4)));
        float y = static_cast<float>(LeadingNumber(Mid(sMsg, 6, 4)));
        rs.print.printer_x_offset = sMsg[4] == '-' ? -x : x;
        rs.print.printer_y_offset = sMsg[9] == '-' ? -y : y;
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
      PrintState& ps = rs.print;
      ps.test_claims_starting = start;
      ps.test_claims_ending = end;
      ps.test_claims_mode = end != 0;
      if (ps.test_claims_mode && start == 0) ps.test_claims_starting = 1;
    } else if (sMsgNr == "7") {
      rs.printer_name = sMsg;
      if (!sMsg.empty()) SelectPrinter(rs.print, sMsg);
    } else if (sMsgNr == "BCM-1") {
      GetBillingComponentManager();
      answer_rule = true;
    } else if (sMsgNr == "CONNECTIONSTRING") {
      UseHostConnectionText(sMsg);
      rs.ref.ConnectToDatabase(rs.connection_string);
      // Messages of a retry that then connected are warnings; a connection
      // that stays down is a failure.
      if (!rs.ref.connected() && rs.cx.queue.MaxNr() >= 3) result = 3;
    } else if (sMsgNr == "FILEMODE") {
      result = SetFileMode(sMsg);
    } else if (sMsgNr == "PRINTFORM") {
      // The form drawn under the text: "1" red, "2" grey, "0" none.
      if (auto ink = FormInkFromText(sMsg)) {
        rs.print.form_ink = *ink;
      } else {
        AddToMessageArray(3, ComponentName() + " HereIsAMessage()  PRINTFORM \"" + sMsg +
                                 "\" is not 0, 1 or 2; the form is not drawn");
        result = 3;
      }
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
    if (answer_rule && !rs.cx.queue.Empty())
      result = std::max<int16_t>(rs.cx.queue.MaxNr(), 1);
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
    Log().Line("FormatRecord()");
    BeginCall();
    ++rs.record_counter;
    bool first = rs.record_counter == 1;
    if (first) {
      if (!HaveASCIIFilenm()) return Finish(1);
      std::vector<std::string> leftovers;
      if (TakeRunLock(leftovers)) {
        if (rs.fmt.OpenASCIIout(rs.fmt_file_path, rs.file_mode) == 0) rs.fmt.WriteHeader("");
        else rs.fmt_open_failed = true;
      }
      if (!rs.locked_out.empty()) {
        // Another run writes this file: this one writes nothing, its log
        // included.
        CloseLog();
      } else {
        // The first record traces everything, whatever the host asked for.
        // The queue keeps what opening the file reported.
        SetLogLevel("2");
        for (const std::string& name : leftovers)
          Log().AnyLevel("Removed a temporary file an earlier run left unfinished: " + name);
      }
    }
    if (!rs.locked_out.empty()) {
      AddToMessageArray(3, rs.locked_out);
      return Finish(1);
    }
    if (rs.cx.log.level() != 0) Log().Items({SignNum(rs.record_counter), sKey, sRec});
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
    result = Dispatch(type, sKey, sRec);
    if (result == 3) result = 1;
  } catch (const RtError& e) {
    gsErrorMsg = ComponentName() + " Had a problem in FormatRecord() Error:" + " " +
                 ErrorText(e);
    AddToMessageArray(3, gsErrorMsg);
    gsErrorMsg = RecordNumberText(rs.record_counter, sKey);
    AddToMessageArray(3, gsErrorMsg);
    result = 1;
  }
  TakeErrorMsg(gsErrorMsg);
  return Finish(result);
}

int16_t Format_Class::Dispatch(const std::string& type, const std::string& sKey,
                               const std::string& sRec) {
  RunState& rs = Rs();
  const RecordType* t = FindRecordType(type);
  if (!t) {
    Log().Line("FormatRecord() - Didn't know the case type");
    return 0;
  }
  ClaimState& c = rs.claim;
  RunState::OpenCharge& charge = rs.charge_in_progress;
  switch (t->step) {
    case RecordStep::kEndOfCharge:
      if (!charge.open) return OutsideACharge(type, "no claim was written");
      charge.open = false;
      if (charge.failed) {
        // The charge record's failure was reported when it came; its
        // companions go with it.
        ClaimEnv env = rs.claim_env();
        Log().Line("End of a charge whose charge record failed: nothing billed");
        EmptyThisGroup(env);
        return 0;
      }
      return EndOfCharge() == 3 ? 3 : 0;
    case RecordStep::kStartCharge: {
      if (charge.open)
        Warn(RecordNumberText(rs.record_counter, sKey) +
             " starts a charge before the charge of record key " + KeyText(charge.key) +
             " ended (6990): that charge was not billed");
      charge = RunState::OpenCharge{true, false, sKey, 1};
      ClaimEnv env = rs.claim_env();
      EmptyThisGroup(env);
      break;
    }
    case RecordStep::kFacility:
    case RecordStep::kCompanion:
      if (!charge.open) return OutsideACharge(type, "it was not read");
      ++charge.records;
      if (t->step == RecordStep::kFacility &&
          !TakesFacility(c.this_top.calc_pref, c.this_group.charge))
        return 0;
      break;
    case RecordStep::kTop:
      break;
  }
  ParseEnv env = rs.parse_env();
  const int16_t result = ParseRecord(env, sRec, t->slot(c.this_top, c.this_group));
  if (result != 0 && t->step == RecordStep::kStartCharge) {
    // A charge record that failed bills nothing: its companions and its
    // 6990 go with it. The failure names the record once.
    charge.failed = true;
    AddToMessageArray(3, RecordNumberText(rs.record_counter, sKey));
  }
  return result;
}

int16_t Format_Class::OutsideACharge(const std::string& type, const char* outcome) {
  Warn("record " + SignNum(Rs().record_counter) + " (type " + type +
       ") came with no charge record (6000) since the last claim: " + outcome);
  return 0;
}

void Format_Class::Warn(const std::string& text) {
  std::string msg = ComponentName() + " FormatRecord()  Warning: " + text;
  Log().AnyLevel(msg);
  AddToMessageArray(2, msg);
}

int16_t Format_Class::WriteClaimSoFar() {
  FormEnv env = Rs().form_env();
  return WriteClaim(env, tables_);
}

int16_t Format_Class::EndOfCharge() {
  RunState& rs = Rs();
  ClaimState& c = rs.claim;
  ++rs.charge_counter;

  const std::string& sub13 = c.this_top.subscriber[subscriber::ChargeCodes];
  if (!sub13.empty()) c.this_group.charge[charge::CodeList] += "~" + sub13;

  std::string tob;
  if (!LookUpExtDataThis(c, 2, "20007", tob)) {
    tob = c.this_top.insurance[insurance::TypeOfBill];
    if (tob.empty()) tob = c.this_top.practice[practice::TypeOfBill];
  }
  c.this_group.charge[charge::TypeOfBill] = Right("0000" + tob, 4);

  ClaimEnv env = rs.claim_env();
  bool new_claim = false;
  if (rs.first_charge) {
    rs.first_charge = false;
    new_claim = true;
    Log().Line("1st Charge, not calling CheckBreak()");
  } else {
    new_claim = c.last_top.practice[practice::IhCode] != c.this_top.practice[practice::IhCode];
    bool is_break = false;
    if (CheckBreak(env, tables_, is_break) == 3) return 3;
    // The writer empties the tables also when it fails and queues its own
    // message, so the new charge starts a clean claim either way.
    if (is_break) WriteClaimSoFar();
  }

  CopyThisTopToLast(env);
  CopyThisGroupToLast(env);
  if (new_claim)
    rs.ref.ClearOtherInsIDArrays(c.last_top.practice[practice::IhCode], rs.record_header[0],
                                 c.last_top.practice[practice::DefaultBillingId]);
  DealWithLastGroup(env, tables_);
  Strip19FromNarrative(rs.cx, c.last_group.charge[charge::Narrative]);
  return 0;
}

// ---- end of batch and printing --------------------------------------------------------

int16_t Format_Class::ProcessEndOfFile() {
  RunState& rs = Rs();
  int16_t result = 0;
  bool finished = false;  // the trailer went in
  try {
    BeginCall();
    if (!rs.locked_out.empty()) {
      AddToMessageArray(3, rs.locked_out);
      return 1;
    }
    Log().Line("ProcessEndOfFile() gbThereWasAFatalError = " + BoolText(rs.fatal_error));
    if (rs.charge_in_progress.open) {
      // The batch ends inside a charge: its claim is neither dropped
      // silently nor guessed at. The claims before it are written.
      const RunState::OpenCharge& open = rs.charge_in_progress;
      AddToMessageArray(3, ComponentName() + " ProcessEndOfFile()  Error: the batch ended inside "
                           "the charge of record key " + KeyText(open.key) + ": its " +
                           PlainNum(open.records) +
                           " record(s) have no end-of-charge record (6990) and were not billed");
      rs.charge_in_progress = RunState::OpenCharge{};
    }
    if (rs.fatal_error) {
      Log().Line("VC++ says there was a Fatal Error");
    } else {
      int16_t r = 0;
      if (rs.charge_counter > 0) r = WriteClaimSoFar();
      // Every batch whose file is open ends with its trailer, also one
      // without any charge; a failed claim leaves the trailer off. A file
      // that never opened cannot take it either, and that is reported
      // here too: the end of such a batch is not a success.
      if (r != 3 && (rs.fmt.IsOpen() || rs.fmt_open_failed))
        finished = rs.fmt.WriteTrailer("") == 0;
    }
  } catch (const RtError& e) {
    gsErrorMsg = ComponentName() + " Had a problem in ProcessEndOfFile()  Error: " +
                 rs.record_header[10] + " " + ErrorText(e);
    AddToMessageArray(3, gsErrorMsg);
    result = 1;
  }
  TakeErrorMsg(gsErrorMsg);
  // The file takes its name only once its trailer went in; otherwise the
  // last good file keeps the name. Either way nothing stays open.
  if (rs.fmt.IsOpen()) {
    if (!finished) {
      rs.fmt.Abandon();
      Log().AnyLevel("The unfinished formatted-record file was dropped: " + rs.fmt_file_path +
                     " keeps what it held");
    } else if (rs.fmt.CloseASCIIout() == 0) {
      rs.written = rs.fmt.committed();
    } else {
      AddToMessageArray(3, "Filename: " + rs.fmt_file_path);
      result = 1;
    }
  }
  rs.batch_ended = true;
  rs.run_lock.Unlock();
  // Any message but a warning (severity 2, which the host reads without
  // the end of the batch failing) makes the end a failure.
  const MessageQueue& queue = rs.cx.queue;
  if (!queue.Empty()) {
    Log().Line("ProcessEndOfFile: Had extra Messages in the array");
    if (queue.Count() > queue.CountOf(2)) result = 1;
  }
  CloseLog();
  if (queue.Count() > queue.CountOf(2)) result = 1;
  return result == 0 ? 0 : 1;
}

int16_t Format_Class::ProcessFormattedRecords() {
  RunState& rs = Rs();
  int16_t result = 0;
  try {
    BeginCall();
    if (!HaveASCIIFilenm()) return 1;
    DeleteLog();
    if (rs.batch_ended && rs.written == OutFile::FileId{}) {
      // An earlier run's file would pass for this batch's claims.
      AddToMessageArray(3, ComponentName() + " ProcessFormattedRecords()  Error: this run's batch "
                           "wrote no formatted-record file; " + rs.fmt_file_path +
                           " is not this batch's and was not printed");
      return 1;
    }
    result = PrintFormattedRecords(rs.cx, rs.print, rs.fmt_file_path, rs.file_mode, rs.written);
  } catch (const RtError& e) {
    AddToMessageArray(3, "ProcessFormattedRecords()  Error: " + ErrorText(e));
    AddToMessageArray(3, "File: " + rs.fmt_file_path);
    result = 1;
  }
  if (!rs.cx.queue.Empty()) result = 1;
  return result;
}

std::string OtherInsuranceBillingId(const std::string& insurance_ih_code) {
  return Rs().ref.FetchOInsPracticeBillingIDFromArray(insurance_ih_code);
}

}  // namespace ub04
