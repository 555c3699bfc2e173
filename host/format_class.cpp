#include "host/format_class.h"

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/msgbox.h"
#include "base/plain_text.h"
#include "base/text_util.h"
#include "claim/claim_state.h"
#include "claim/ext_data.h"
#include "checks/check_rules.h"
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


// "CONNECTIONSTRING": the run's connection string from the host's text. A
// login that cannot be read is queued as a severity-3 message and leaves the
// run without a connection string, so no connection is attempted.
void UseHostConnectionText(RunState& rs, const std::string& host_text) {
  rs.connection_string.clear();
  try {
    std::optional<DbLogin> login;
    // A full connection string carries its own login, if any.
    if (!IsFullConnectionString(host_text)) login = HostLogin();
    rs.connection_string = ComposeConnectionString(host_text, login);
  } catch (const RtError& e) {
    rs.cx.ReportError(" CONNECTIONSTRING  Error:", e);
  }
}

// "FILEMODE": the permissions of every file the run creates, or a severity-3
// message and 3 for any text but "0600" and "0640" (the mode stays).
int16_t SetFileMode(RunState& rs, const std::string& text) {
  if (FileModeFromText(text, rs.file_mode)) return 0;
  rs.cx.Say(kError, " HereIsAMessage()  ", "FILEMODE \"" + text +
                           "\" is not accepted: \"0600\" (owner only) or \"0640\" (owner and "
                           "group may read); files stay " +
                           (rs.file_mode == kGroupReadable ? "0640" : "0600"));
  return kFailed;
}

// "CHECKS" ("0" off, "1" report, "2" report and hold), "SKIPCHECK" (a rule
// id the checks skip, repeatable; "" skips none again) and "HOLDWARNINGS"
// ("1": claims with warning findings are held too). Anything else is a
// severity-3 message and 3; the settings stay.
int16_t SetChecks(RunState& rs, const std::string& nr, const std::string& text) {
  CheckSettings& s = rs.checks;
  std::string refused;
  if (nr == "CHECKS") {
    if (text == "0" || text == "1" || text == "2")
      s.mode = static_cast<CheckSettings::Mode>(text[0] - '0');
    else
      refused = "is not 0 (off), 1 (report) or 2 (report and hold)";
  } else if (nr == "HOLDWARNINGS") {
    if (text == "0" || text == "1") s.hold_warnings = text == "1";
    else refused = "is not 0 or 1";
  } else if (text.empty()) {
    s.skipped.clear();
  } else if (!FindCheckRule(text)) {
    refused = "is not the id of a check (docs/checks.md lists them)";
  } else if (!s.Skips(text)) {
    s.skipped.push_back(text);
  }
  if (refused.empty()) return 0;
  rs.cx.Say(kError, " HereIsAMessage()  ",
            nr + " \"" + ClipForMessage(text) + "\" " + refused + "; the checks stay as they were");
  return kFailed;
}

// Every public call starts with an empty queue.
void BeginCall(RunState& rs) {
  Context& cx = rs.cx;
  ++cx.call;
  cx.queue.Clear();
}

// Takes the locks of the run's outputs for the batch (the formatted-record
// file, and its PDF, which a file of another name may share) and removes
// what a killed run left beside each, under its lock. False (locked_out
// set) when another run holds one, or a lock cannot be taken: a run never
// writes unlocked. A folder that is not there is left to the opening of the
// file to report: nothing can be written there anyway.
bool TakeRunLocks(RunState& rs, std::vector<std::string>& leftovers) {
  const std::string pdf_path = PdfPathFor(rs.fmt_file_path);
  const std::string held_path = HeldPathFor(rs.fmt_file_path);
  const struct {
    const std::string& output;
    FileLock& lock;
  } outputs[] = {{rs.fmt_file_path, rs.run_lock}, {pdf_path, rs.pdf_lock},
                 {held_path, rs.held_lock}};
  for (const auto& o : outputs) {
    std::string holder;
    try {
      if (o.lock.TryLock(LockPathFor(o.output), true, rs.file_mode, holder)) continue;
      rs.locked_out = rs.cx.component_name + " FormatRecord()  Error: " + o.output +
                      " is being written by " + holder + "; this run writes nothing";
    } catch (const RtError& e) {
      if (e.number() == kErrPathNotFound) return true;
      rs.locked_out = rs.cx.component_name + " FormatRecord()  Error: the lock " +
                      LockPathFor(o.output) + " cannot be taken (" + e.description() +
                      "); this run writes nothing";
    }
    for (const auto& taken : outputs) taken.lock.Unlock();
    return false;
  }
  for (const auto& o : outputs)
    for (std::string& name : RemoveLeftoverTemporaries(o.output)) leftovers.push_back(std::move(name));
  return true;
}

std::string RecordNumberText(int32_t n, std::string_view key) {
  return "Record# " + SignNum(n) + " Record Key: " + KeyForMessage(key);
}

// Puts the batch's files in place. The formatted-record file takes its name
// only once its trailer went in, and only when it holds a claim or nothing
// is there yet (a batch that wrote no claim leaves the last good file); the
// held-claims file follows it, and a batch that held nothing leaves no held
// file of an earlier batch beside it. Nothing stays open. 0, or 3 after
// queueing a failure.
int16_t CommitBatchFiles(RunState& rs, bool finished) {
  RunLog& log = rs.cx.log;
  const std::string held_path = HeldPathFor(rs.fmt_file_path);
  auto keep_earlier = [&](const std::string& why) {
    rs.fmt.Abandon();
    rs.held.Abandon();
    log.AnyLevel("The " + why + " formatted-record file was dropped: " + rs.fmt_file_path +
                 " keeps what it held");
  };
  if (!rs.fmt.IsOpen()) {
    rs.held.Abandon();
    return 0;
  }
  if (!finished) {
    keep_earlier("unfinished");
    return 0;
  }
  std::error_code ec;
  if (rs.main_pages == 0 && rs.held_pages == 0 &&
      std::filesystem::exists(std::filesystem::symlink_status(rs.fmt_file_path, ec))) {
    keep_earlier("claimless");
    rs.cx.Say(kNote, " ProcessEndOfFile()  ",
              "the batch wrote no claim; " + rs.fmt_file_path + " keeps what it held");
    return 0;
  }
  if (rs.fmt.CloseASCIIout() != 0) {
    rs.cx.Queue(kError, "Filename: " + rs.fmt_file_path);
    rs.held.Abandon();
    return kFailed;
  }
  rs.written = rs.fmt.committed();
  if (rs.held.IsOpen()) {
    if (rs.held.WriteTrailer("") != 0 || rs.held.CloseASCIIout() != 0) {
      rs.held.Abandon();
      rs.cx.Queue(kError, "Filename: " + held_path);
      return kFailed;
    }
    return 0;
  }
  // This batch held nothing: an earlier batch's held claims must not pass
  // for this one's. A link there is not ours to remove.
  if (std::filesystem::is_regular_file(std::filesystem::symlink_status(held_path, ec)) &&
      std::filesystem::remove(held_path, ec))
    log.AnyLevel("Removed the held-claims file of an earlier batch: " + held_path);
  return 0;
}

// Flushes the outputs at the end of a public call and turns a failure that
// was queued on the way into a non-zero result.
int16_t Finish(RunState& rs, int16_t result) {
  FlushOutputs(rs);
  if (result == kDone && rs.cx.queue.MaxNr() >= kError) return kReported;
  return result;
}

// The error text a writer composed during the call becomes gsErrorMsg.
void TakeErrorMsg(RunState& rs, std::string& gsErrorMsg) {
  Context& cx = rs.cx;
  if (cx.error_msg.empty()) return;
  gsErrorMsg = std::move(cx.error_msg);
  cx.error_msg.clear();
}


}  // namespace

// ---- creation and destruction ----------------------------------------------------

Format_Class::Format_Class(const std::string& module_name)
    : run_(std::make_unique<RunState>(module_name, 18, 5)) {
  EnterRun(*run_);
}

Format_Class::~Format_Class() {
  LeaveRun(*run_);
  RunState& rs = *run_;
  try {
    if (rs.fmt.IsOpen() || rs.held.IsOpen()) {
      // The host let go before the end of its batch: nothing of it is kept,
      // and nothing of it may hold up the next run on this output.
      rs.fmt.Abandon();
      rs.held.Abandon();
      rs.cx.log.AnyLevel("The batch was abandoned: the component was destroyed before the end "
                         "of the batch; " + rs.fmt_file_path + " keeps what it held");
    }
    rs.run_lock.Unlock();
    rs.pdf_lock.Unlock();
    rs.held_lock.Unlock();
    if (rs.ref.connected()) rs.ref.CloseDatabaseConnection();
    CloseLog(rs);
  } catch (const std::exception&) {
    // Destruction reports nothing: each step above leaves nothing open
    // when it fails, and the run's files close with the run itself.
  }
}

void Format_Class::AddClaimObserver(ClaimObserver observer) {
  observers_.push_back(std::move(observer));
}

void Format_Class::SetPreviewFolder(const std::string& dir) { run_->print.preview_dir = dir; }

void Format_Class::SetPreviewGrid(bool on) { run_->print.preview_grid = on; }

void Format_Class::SetComponentFolder(const std::string& dir) {
  run_->ref.state().component_folder = dir;
}

int32_t Format_Class::PagesPrinted() const { return run_->print.pages_printed; }

bool Format_Class::JobSent() const { return run_->print.job_sent; }

bool Format_Class::BatchWritten() const { return !(run_->written == OutFile::FileId{}); }

// ---- messages -----------------------------------------------------------------------

std::string Format_Class::GetAMessage(int32_t& lIndex) {
  try {
    return run_->cx.queue.Get(lIndex);
  } catch (...) {
    return "END";
  }
}

int16_t Format_Class::SetLogLevel(const std::string& sMsg) {
  RunState& rs = *run_;
  if (sMsg != "1" && sMsg != "2") {
    rs.cx.log.set_level(0);  // an open log stays open
    return 0;
  }
  rs.cx.log.set_level(static_cast<int16_t>(sMsg[0] - '0'));
  if (OpenLog(rs) != 0) return kFailed;
  rs.cx.log.Line(" >>>>> gbDBConnectionIsGood = " + BoolText(rs.ref.connected()));
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
  Context& cx = run_->cx;
  try {
    BeginCall(*run_);
    cx.Queue(kNote, "BCM//0005//" + VersionText());
    for (const char* g : kGrids) cx.Queue(kNote, g);
  } catch (const std::exception& e) {
    ShowMessageBox(cx.component_name + " GetBillingComponentManager " + e.what());
  }
}

int16_t Format_Class::HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg) {
  RunState& rs = *run_;
  int16_t result = 0;
  bool answer_rule = false;
  try {
    BeginCall(rs);
    if (sMsgNr == "1") {
      rs.output_path = sMsg;
    } else if (sMsgNr == "2") {
      if (!HaveOutputPath(rs)) {
        result = kFailed;
      } else if (!IsPlainFileName(sMsg)) {
        // Every output stays in the output folder.
        rs.cx.Say(kError, " HereIsAMessage()  ", "2 \"" + ClipForMessage(sMsg) +
                           "\" is not a plain file name (no \"/\", no \"..\"): the formatted-"
                           "record file must be in the output folder; nothing will be written");
        rs.fmt_file_path = "?";
        result = kFailed;
      } else {
        rs.fmt_file_path = OutputFilePath(rs.output_path, sMsg);
      }
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
      if (SetLogLevel(sMsg) == kFailed) result = kFailed;
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
      UseHostConnectionText(rs, sMsg);
      rs.ref.ConnectToDatabase(rs.connection_string);
      // Any error on the way (a connection that stays down, a table it
      // could not load) fails the message; a retry that then connected
      // leaves warnings.
      if (rs.cx.queue.MaxNr() >= kError) result = kFailed;
    } else if (sMsgNr == "MULTIPAGE") {
      // "1": a claim goes on over as many pages as its lines need; "0" or
      // never sent: a full page of lines ends it (and a warning says so).
      if (sMsg == "0" || sMsg == "1") {
        rs.claim.multipage = sMsg == "1";
      } else {
        rs.cx.Say(kError, " HereIsAMessage()  ",
                  "MULTIPAGE \"" + ClipForMessage(sMsg) + "\" is not 0 or 1; claims stay as they were");
        result = kFailed;
      }
    } else if (sMsgNr == "CHECKS" || sMsgNr == "SKIPCHECK" || sMsgNr == "HOLDWARNINGS") {
      result = SetChecks(rs, sMsgNr, sMsg);
    } else if (sMsgNr == "FILEMODE") {
      result = SetFileMode(rs, sMsg);
    } else if (sMsgNr == "PRINTFORM") {
      // The form drawn under the text: "1" red, "2" grey, "0" none.
      if (auto ink = FormInkFromText(sMsg)) {
        rs.print.form_ink = *ink;
      } else {
        rs.cx.Say(kError, " HereIsAMessage()  ", "PRINTFORM \"" + sMsg +
                                 "\" is not 0, 1 or 2; the form is not drawn");
        result = kFailed;
      }
    } else if (sMsgNr == "BATCHROWID") {
      rs.batch_row_id = sMsg;
    } else if (sMsgNr == "QUARVELUSER") {
      rs.host_user = sMsg;
      answer_rule = true;
    } else if (sMsgNr == "VER") {
      rs.cx.Queue(kNote, VersionText());
      answer_rule = true;
    } else if (sMsgNr == "HOW_MANY_CLAIMS") {
      rs.cx.Queue(kNote, "TOTALCLAIMS//" + PlainNum(rs.total_claims) + "//");
      answer_rule = true;
    } else {
      answer_rule = true;
    }
    if (answer_rule && !rs.cx.queue.Empty())
      result = std::max<int16_t>(rs.cx.queue.MaxNr(), 1);
  } catch (const RtError& e) {
    gsErrorMsg = rs.cx.ReportError("  HereIsAMessage()  Error: ", e);
    result = kFailed;
  }
  FlushOutputs(rs);
  return result;
}

// ---- records ----------------------------------------------------------------------

int16_t Format_Class::FormatRecord(const std::string& sKey, const std::string& sRec) {
  RunState& rs = *run_;
  RunLog& log = rs.cx.log;
  int16_t result = 0;
  try {
    log.Line("FormatRecord()");
    BeginCall(rs);
    ++rs.record_counter;
    bool first = rs.record_counter == 1;
    if (first) {
      if (!HaveASCIIFilenm(rs)) return Finish(rs, kReported);
      std::vector<std::string> leftovers;
      if (TakeRunLocks(rs, leftovers)) {
        if (rs.fmt.OpenASCIIout(rs.fmt_file_path, rs.file_mode) == 0) rs.fmt.WriteHeader("");
        else rs.fmt_open_failed = true;
      }
      if (!rs.locked_out.empty()) {
        // Another run writes this file: this one writes nothing, its log
        // included.
        CloseLog(rs);
      } else {
        // The first record traces everything, whatever the host asked for.
        // The queue keeps what opening the file reported.
        SetLogLevel("2");
        for (const std::string& name : leftovers)
          log.AnyLevel("Removed a temporary file an earlier run left unfinished: " + name);
      }
    }
    if (!rs.locked_out.empty()) {
      rs.cx.Queue(kError, rs.locked_out);
      return Finish(rs, kReported);
    }
    if (log.level() != 0) log.Items({SignNum(rs.record_counter), sKey, sRec});
    TokenViews& key = rs.key_tokens;
    SplitTokenViews(sKey, "//", key);
    for (size_t i = 0; i < rs.record_header.size(); ++i)
      rs.record_header[i] = Tok(key, static_cast<long long>(i));
    const std::string& type = rs.record_header[10];
    if (first && type != "1000") {
      rs.cx.Queue(kError, "1st Record was not Practice Info (type:1000)");
      rs.cx.Queue(kError, "Please call support for help");
      return Finish(rs, kFailed);
    }
    if (first) rs.practice_first = true;
    // The form prints plain ASCII: names and descriptions in UTF-8 or
    // Windows-1252 become the letters a clerk would type.
    std::string plain;
    const std::string* rec = &sRec;
    if (!IsPrintableAscii(sRec)) {
      std::vector<std::string> dropped;
      plain = ToPrintableAscii(sRec, dropped);
      rec = &plain;
      if (!dropped.empty()) {
        std::string list;
        for (const std::string& c : dropped) list += (list.empty() ? "" : ", ") + c;
        const std::string text = RecordNumberText(rs.record_counter, sKey) + " (type " +
                                 ClipForMessage(type) + ") holds " +
                                 (dropped.size() == 1 ? "a character" : "characters") +
                                 " the form cannot print (" + list + "): left out";
        if (rs.checks.on()) {
          // Said with the claim these records belong to.
          std::string message = rs.cx.component_name + " FormatRecord()  Warning: " + text;
          log.AnyLevel(message);
          rs.noticed.push_back({rs.record_counter,
                                {ClaimFinding::Level::kWarning, "", "CHARACTER-DROPPED", list,
                                 std::move(message)}});
        } else {
          Warn(text);
        }
      }
    }
    result = Dispatch(type, sKey, *rec);
    if (result == kFailed) result = kReported;
  } catch (const RtError& e) {
    rs.cx.ReportError(" Had a problem in FormatRecord() Error: ", e);
    gsErrorMsg = RecordNumberText(rs.record_counter, sKey);
    rs.cx.Queue(kError, gsErrorMsg);
    result = kReported;
  }
  TakeErrorMsg(rs, gsErrorMsg);
  return Finish(rs, result);
}

int16_t Format_Class::Dispatch(const std::string& type, const std::string& sKey,
                               const std::string& sRec) {
  RunState& rs = *run_;
  const RecordType* t = FindRecordType(type);
  if (!t) {
    rs.cx.log.Line("FormatRecord() - Didn't know the case type");
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
        std::vector<RecordSpan>& spans = charge.against_next ? rs.refuse_next_spans
                                                             : rs.refuse_current_spans;
        if (!spans.empty()) spans.back().last = rs.record_counter;  // its records end here
        rs.cx.log.Line("End of a charge whose charge record failed: nothing billed");
        EmptyThisGroup(env);
        return 0;
      }
      return EndOfCharge() == kFailed ? kFailed : kDone;
    case RecordStep::kStartCharge: {
      if (charge.open)
        Warn(RecordNumberText(rs.record_counter, sKey) +
             " starts a charge before the charge of record key " + KeyForMessage(charge.key) +
             " ended (6990): that charge was not billed");
      charge = RunState::OpenCharge{true, false, sKey, 1, rs.record_counter, {}, false};
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
  for (TokenNote& note : rs.token_notes)
    rs.noticed.push_back({rs.record_counter,
                          {ClaimFinding::Level::kWarning, "", std::move(note.rule),
                           std::move(note.value), std::move(note.message)}});
  rs.token_notes.clear();
  if (result != 0 && t->step == RecordStep::kStartCharge) {
    // A charge record that failed bills nothing: its companions and its
    // 6990 go with it. The failure names the record once. The claim it
    // belongs to must not go out without it: the claim being built, or,
    // when top records came before it (they begin a new claim), the next.
    charge.failed = true;
    rs.cx.Queue(kError, RecordNumberText(rs.record_counter, sKey));
    const TopRecords& top = c.this_top;
    const bool starts_a_claim = !rs.first_charge &&
        (top.practice.Present() || top.submitter.Present() || top.bprovider.Present() ||
         top.insurance.Present() || top.patient.Present() || top.subscriber.Present());
    std::string& against = starts_a_claim ? rs.refuse_next : rs.refuse_current;
    against += (against.empty() ? "" : "; ") +
               ChargeOrigin{rs.record_counter, sKey}.Describe() + " could not be read";
    charge.against_next = starts_a_claim;
    (starts_a_claim ? rs.refuse_next_spans : rs.refuse_current_spans)
        .push_back({rs.record_counter, rs.record_counter});
  } else if (result != 0 && charge.open) {
    // A companion that could not be read leaves its charge's claim wrong.
    charge.trouble += (charge.trouble.empty() ? "" : "; ") + std::string("record ") +
                      PlainNum(rs.record_counter) + " (type " + ClipForMessage(type) +
                      ") of " + ChargeOrigin{charge.record_number, charge.key}.Describe() +
                      " could not be read";
  }
  return result;
}

int16_t Format_Class::OutsideACharge(const std::string& type, const char* outcome) {
  Warn("record " + SignNum(run_->record_counter) + " (type " + type +
       ") came with no charge record (6000) since the last claim: " + outcome);
  return 0;
}

void Format_Class::Warn(const std::string& text) {
  Context& cx = run_->cx;
  cx.log.AnyLevel(cx.Say(kWarning, " FormatRecord()  Warning: ", text));
}

int16_t Format_Class::EndOfCharge() {
  RunState& rs = *run_;
  ClaimState& c = rs.claim;
  ++rs.charge_counter;
  const int32_t charge_record = rs.charge_in_progress.record_number;
  const std::string charge_key = rs.charge_in_progress.key;

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
    rs.cx.log.Line("1st Charge, not calling CheckBreak()");
  } else {
    new_claim = c.last_top.practice[practice::IhCode] != c.this_top.practice[practice::IhCode];
    bool is_break = false;
    if (CheckBreak(env, tables_, is_break) == kFailed) return kFailed;
    // The writer empties the tables also when it fails and queues its own
    // message, so the new charge starts a clean claim either way.
    if (is_break) WriteClaimSoFar(c.last_break);
  }

  CopyThisTopToLast(env);
  CopyThisGroupToLast(env);
  if (new_claim)
    rs.ref.ClearOtherInsIDArrays(c.last_top.practice[practice::IhCode], rs.record_header[0],
                                 c.last_top.practice[practice::DefaultBillingId]);
  const ChargeOrigin origin{charge_record, charge_key, rs.record_counter};
  if (!rs.charge_in_progress.trouble.empty()) {
    // The charge joins the claim being built now (any claim before it is
    // written): that claim must not go out.
    std::string& against = rs.refuse_current;
    against += (against.empty() ? "" : "; ") + rs.charge_in_progress.trouble;
  }
  if (DealWithLastGroup(env, tables_, origin) != 0) {
    // Its line or its amounts are not what the batch said: the claim must
    // not go out.
    std::string& against = rs.refuse_current;
    against += (against.empty() ? "" : "; ") + origin.Describe() + " could not be added (" +
               rs.cx.queue.LastText() + ")";
  }
  Strip19FromNarrative(rs.cx, c.last_group.charge[charge::Narrative]);
  return 0;
}

// ---- end of batch and printing --------------------------------------------------------

int16_t Format_Class::ProcessEndOfFile() {
  RunState& rs = *run_;
  RunLog& log = rs.cx.log;
  int16_t result = 0;
  bool finished = false;  // the trailer went in
  try {
    BeginCall(rs);
    if (!rs.locked_out.empty()) {
      rs.cx.Queue(kError, rs.locked_out);
      return kReported;
    }
    log.Line("ProcessEndOfFile() gbThereWasAFatalError = " + BoolText(rs.fatal_error));
    if (rs.charge_in_progress.open) {
      // The batch ends inside a charge: its claim is neither dropped
      // silently nor guessed at. The claims before it are written.
      const RunState::OpenCharge& open = rs.charge_in_progress;
      rs.cx.Say(kError, " ProcessEndOfFile()  Error: ", "the batch ended inside "
                           "the charge of record key " + KeyForMessage(open.key) + ": its " +
                           PlainNum(open.records) +
                           " record(s) have no end-of-charge record (6990) and were not billed");
      rs.charge_in_progress = RunState::OpenCharge{};
    }
    if (rs.fmt.IsOpen() && !rs.practice_first)
      rs.cx.Say(kError, " ProcessEndOfFile()  Error: ", "the batch's first record was not a "
                "practice record (1000): nothing of the batch was written; " + rs.fmt_file_path +
                " keeps what it held");
    if (rs.fatal_error) {
      log.Line("VC++ says there was a Fatal Error");
    } else {
      int16_t r = 0;
      if (rs.charge_counter > 0) r = WriteClaimSoFar();
      ReportUnclaimedNotices();
      // Every batch whose file is open ends with its trailer, also one
      // without any charge; a failed claim leaves the trailer off. A file
      // that never opened cannot take it either, and that is reported
      // here too: the end of such a batch is not a success.
      if (r != kFailed && (rs.fmt.IsOpen() || rs.fmt_open_failed))
        finished = rs.fmt.WriteTrailer("") == 0;
    }
  } catch (const RtError& e) {
    gsErrorMsg = rs.cx.ReportError(
        " Had a problem in ProcessEndOfFile()  Error: " + rs.record_header[10] + " ", e);
    result = kReported;
  }
  TakeErrorMsg(rs, gsErrorMsg);
  if (CommitBatchFiles(rs, finished && rs.practice_first) != 0) result = kReported;
  rs.batch_ended = true;
  rs.run_lock.Unlock();
  rs.pdf_lock.Unlock();
  rs.held_lock.Unlock();
  // An error makes the end a failure; warnings and notes (which the host
  // reads without the end of the batch failing) do not.
  const MessageQueue& queue = rs.cx.queue;
  if (!queue.Empty()) log.Line("ProcessEndOfFile: Had extra Messages in the array");
  CloseLog(rs);
  if (queue.MaxNr() >= kError) result = kReported;
  return result == kDone ? kDone : kReported;
}

int16_t Format_Class::ProcessFormattedRecords() {
  RunState& rs = *run_;
  int16_t result = 0;
  try {
    BeginCall(rs);
    if (!HaveASCIIFilenm(rs)) return kReported;
    DeleteLog(rs);
    // An earlier run's file must never pass for this batch's claims.
    const char* why_not = nullptr;
    if (rs.fatal_error)
      why_not = "the host declared this batch failed (message 3)";
    else if (rs.record_counter > 0 && !rs.batch_ended)
      why_not = "this run's batch has not ended (ProcessEndOfFile)";
    else if (rs.batch_ended && rs.written == OutFile::FileId{})
      why_not = "this run's batch wrote no formatted-record file";
    if (why_not) {
      rs.cx.Say(kError, " ProcessFormattedRecords()  Error: ",
                std::string(why_not) + "; " + rs.fmt_file_path +
                    " is not this batch's and was not printed");
      return kReported;
    }
    result = PrintFormattedRecords(rs.cx, rs.print, rs.fmt_file_path, rs.file_mode, rs.written);
  } catch (const RtError& e) {
    rs.cx.Queue(kError, ErrorMessage("", "ProcessFormattedRecords()  Error: ", e));
    rs.cx.Queue(kError, "File: " + rs.fmt_file_path);
    result = kReported;
  }
  if (!rs.cx.queue.Empty()) result = kReported;
  return result;
}

std::string Format_Class::OtherInsuranceBillingId(const std::string& insurance_ih_code) {
  return run_->ref.FetchOInsPracticeBillingIDFromArray(insurance_ih_code);
}

}  // namespace ub04
