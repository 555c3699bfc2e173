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

namespace ub04 {

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
};

}  // namespace ub04
