// What every layer below the host works with: the run's message queue, its
// log and the names its error texts start with.
//
// The host owns one per run and hands it down, as a parameter or inside a
// layer's own small context; no layer keeps one of its own or reaches for
// the host's. Everything else a layer works on (its state, the reference
// lookups) comes the same way.
#pragma once

#include <cstdint>
#include <string>

#include "base/messages.h"
#include "base/run_log.h"
#include "base/runtime.h"

namespace ub04 {

// What the component's procedures answer.
enum Result : int16_t {
  kDone = 0,      // done (warnings may be queued)
  kReported = 1,  // failed, the error queued: how FormatRecord, ProcessEndOfFile and
                  // ProcessFormattedRecords answer a failure
  kFailed = 3,    // failed, the error queued: every other procedure's answer
};

// How an error handler reports what it caught, besides composing its text.
enum ErrorReport : unsigned {
  kQueueIt = 1,        // queued with severity kError
  kKeepAsErrorMsg = 2, // kept for the instance's gsErrorMsg
  kShowBox = 4,        // shown in a message box
};

// The one form of an error handler's text: the name it starts with (the
// component's, "QVR_UB04PPA_Format.Dll", or the module's), the procedure's
// part exactly as its handler writes it (" WriteClaimHeader()  Error: "),
// then the error's number in sign position and its description
// (" 9 Subscript out of range").
std::string ErrorMessage(std::string_view name, std::string_view procedure, const RtError& e);

struct Context {
  MessageQueue queue;
  RunLog log;
  // "QVR_UB04PPA_Format", and the component name most error texts start
  // with: the module name + ".Dll".
  std::string module_name;
  std::string component_name;
  // The last error text composed by a writer; the instance takes it into
  // its gsErrorMsg when the public call ends.
  std::string error_msg;
  // Counts the host's calls, so that a failure repeated within one call is
  // reported once.
  uint32_t call = 0;

  // AddToMessageArray: queues a message. A queue that cannot grow is shown
  // in a message box instead; the caller goes on.
  void Queue(int16_t nr, std::string msg);
  void SetErrorMsg(std::string text) { error_msg = std::move(text); }
  // Composes the handler's text for e after the component's name
  // (ErrorMessage), reports it as asked and returns it.
  std::string ReportError(std::string_view procedure, const RtError& e,
                          unsigned how = kQueueIt);
  // The same form for a failure or warning of the component's own finding:
  // the component's name, the procedure's part (" FormatRecord()  Error: ")
  // and what is wrong, queued with severity; returns the text.
  std::string Say(int16_t severity, std::string_view procedure, std::string_view text);
};

}  // namespace ub04
