// Record texts built by member name, and a batch that has already sent its
// practice record, for the record tests.
#pragma once

#include <string>
#include <vector>

#include "host/run_log.h"
#include "host/run_state.h"
#include "records/layout_rules.h"
#include "records/layouts.h"
#include "tests/test_support.h"

namespace ub04::test {

// count tokens: token 0 "X", token k "v<k>", unless set.
struct RecordText {
  RecordText(const RecordLayout& layout, size_t count) : rules(*layout.rules), t(Tokens(count)) {}
  // Sets the token that fills member (the layout's shift applied).
  RecordText& Set(size_t member, std::string v) {
    t.at(static_cast<size_t>(TokenForMember(rules, member))) = std::move(v);
    return *this;
  }
  RecordText& Token(size_t token, std::string v) {
    t.at(token) = std::move(v);
    return *this;
  }
  // Every token after token 0 "".
  RecordText& Blank() {
    for (size_t k = 1; k < t.size(); ++k) t[k].clear();
    return *this;
  }
  std::string str() const { return Join(t); }

  const LayoutRules& rules;
  std::vector<std::string> t;
};

// A harness whose first record, a practice of 21 tokens, has been sent.
struct Batch : Harness {
  explicit Batch(bool send_practice = true) {
    if (send_practice) Send("1000", RecordText(kPracticeLayout, 21).str());
  }
  int16_t Send(const std::string& type, const std::string& rec) {
    return fc.FormatRecord(Key(type), rec);
  }
  int16_t Send(const std::string& type, const RecordText& rec) { return Send(type, rec.str()); }
  std::vector<std::string> Msgs() { return Messages(fc); }
  // Flushed first, so that lines of direct calls show too.
  std::string Log() const {
    FlushOutputs();
    return ReadFile(log_path());
  }
  // The run log holds the trace line text.
  bool Logged(const std::string& text) const {
    return Log().find("\"" + text + "\"\r\n") != std::string::npos;
  }
  ClaimState& claim() { return Rs().claim; }
};

// A grid-dump line of the run log: label, value from column 25, 80 wide.
inline std::string GridLine(std::string label, const std::string& value) {
  label.resize(24, ' ');
  return (label + value).append(80 - 24 - value.size(), ' ');
}

// The queued error of a parser: " 3//" + component + text + " 9 ..." + "//".
inline std::string Error9(const std::string& text) {
  return " 3//QVR_UB04PPA_Format.Dll" + text + " 9 Subscript out of range//";
}

}  // namespace ub04::test
