#include "host/run_log.h"

#include <cstdio>
#include <cstring>

#include "host/run_state.h"
#include "host/runtime.h"

namespace ub04 {

std::string LogFileName() {
  const RunState& rs = Rs();
  std::string dir = (!rs.output_path.empty() && rs.output_path[0] == '?') ? "." : rs.output_path;
  return OutputFilePath(dir, rs.module_name + ".Log");
}

namespace {

// Lines go straight into the log's buffer; FlushOutputs() sends them to
// the file at the end of the host call. A trace line is never worth failing
// the work it describes, so a failed write is dropped here.
template <class Fill>
void WriteLogWith(OutFile& log, Fill&& fill) {
  if (!log.IsOpen()) return;
  try {
    log.WriteWith([&](std::string& b) {
      fill(b);
      b += "\r\n";
    });
  } catch (const RtError&) {
  }
}

// One text item made of parts, as one line.
void WriteLogText(OutFile& log, std::initializer_list<std::string_view> parts) {
  WriteLogWith(log, [&](std::string& b) { AppendQuotedJoin(b, parts); });
}

void WriteLogText(std::string_view text) { WriteLogText(Rs().log, {text}); }

// The log, when trace lines are written; null otherwise.
OutFile* TraceLog() {
  RunState& rs = Rs();
  return rs.log_level >= 2 && rs.log.IsOpen() ? &rs.log : nullptr;
}

}  // namespace

int16_t OpenLog() {
  RunState& rs = Rs();
  if (rs.log.IsOpen()) return 0;
  try {
    Date today = Today();
    std::string when = LongDate(today) + " " + TimeHms();
    rs.log.Open(LogFileName(), OutFile::Mode::kAppend, rs.file_mode);
    WriteLogText("***");
    WriteLogText("*** Opened on: " + when);
    WriteLogText("***");
    WriteLogText(rs.form_code + " " + VersionText());
    WriteLogText("giTestClaims_Starting = " + SignNum(rs.test_claims_starting));
    WriteLogText("giTestClaims_Ending = " + SignNum(rs.test_claims_ending));
    LogLine(" >>>>> gbDBConnectionIsGood = " + BoolText(rs.ref.db_connection_good));
    if (!Trim(rs.ref.icd10_readiness_note).empty()) LogLine(rs.ref.icd10_readiness_note);
    return 0;
  } catch (const RtError& e) {
    if (e.number() == kErrFileAlreadyOpen) {
      rs.log_level = 0;
      return 0;
    }
    rs.log_level = 0;
    AddToMessageArray(3, ComponentName() + " OpenLog()  Error: " + ErrorText(e));
    return 3;
  }
}

int16_t CloseLog() {
  RunState& rs = Rs();
  int16_t result = 0;
  if (rs.log.IsOpen()) {
    std::string when = LongDate(Today()) + " " + TimeHms();
    WriteLogText("***");
    WriteLogText("*** Closed on: " + when);
    WriteLogText("***");
    try {
      rs.log.Close();
    } catch (const RtError& e) {
      AddToMessageArray(3, ComponentName() + " CloseLog() " + ErrorText(e));
      result = 3;
    }
  }
  rs.log_level = 0;
  return result;
}

int16_t DeleteLog() {
  int16_t result = CloseLog();
  std::remove(LogFileName().c_str());
  return result;
}

void LogLine(std::string_view text) {
  if (OutFile* log = TraceLog()) WriteLogText(*log, {text});
}

void LogJoined(std::initializer_list<std::string_view> parts) {
  if (OutFile* log = TraceLog()) WriteLogText(*log, parts);
}

void LogLineAnyLevel(std::string_view text) { WriteLogText(text); }

bool LogTracing() { return TraceLog() != nullptr; }

void LogItems(std::initializer_list<std::string_view> items) {
  RunState& rs = Rs();
  if (rs.log_level < 1) return;
  WriteLogWith(rs.log, [&](std::string& b) {
    bool first = true;
    for (std::string_view item : items) {
      if (!first) b += ',';
      first = false;
      AppendQuoted(b, item);
    }
  });
}

void LogGridValue(std::string_view label, std::string_view value) {
  OutFile* log = TraceLog();
  if (!log) return;
  char line[80];
  std::memset(line, ' ', sizeof line);
  label.copy(line, 20);
  value.copy(line + 24, 56);
  WriteLogText(*log, {std::string_view(line, sizeof line)});
}

void FlushOutputs() {
  RunState& rs = Rs();
  try {
    rs.log.Flush();
  } catch (const RtError&) {
  }
  // The formatted-record file reports its own write errors where they
  // happen; a flush failure here is caught again when the file is closed.
  try {
    rs.fmt_out.Flush();
  } catch (const RtError& e) {
    AddToMessageArray(3, ComponentName() + " WriteField()  Error: " + ErrorText(e));
  }
}

}  // namespace ub04
