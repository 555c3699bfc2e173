// The command line's side of the host protocol: every call to the
// component, every answer it queues shown with the batch line that caused
// it, every claim it decides counted and listed.
//
// A run fails (nothing is printed unless asked) on a set-up message the
// component refused, a host message or a record answered with an error, a
// failed end of batch. Errors of a charge's records are the claims': the
// component refuses the claim they concern and the run goes on; they fail
// the run only when no refused claim holds them.
//
// Messages go to the claims they concern by record number: a claim's record
// names the records of its charges, and the call that decided it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/findings_report.h"
#include "cli/manifest.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "host/format_class.h"

namespace ub04fmt {

// A claim that did not go out with the batch, for the summary.
struct ClaimNote {
  int32_t sequence = 0;  // its first page's number; 0 for a refused claim
  std::string account;
  std::string why;       // why it was refused, or the rules that held it
};

class Driver {
 public:
  // manifest: where the claims' rows go, report: where their findings go;
  // either may be null.
  Driver(const Options& o, bool tty, ManifestWriter* manifest, FindingsReport* report = nullptr);
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // A set-up message; false when the component refused it.
  bool Setup(const std::string& nr, const std::string& text, const std::string& option);
  void Message(const std::string& nr, const std::string& text, long long line);
  void Record(const std::string& key, const std::string& rec, long long line);
  void Finish();
  // ProcessFormattedRecords; false when printing failed.
  bool Print();
  void Flush() { printer_.Flush(); }

  ub04::Format_Class& component() { return fc_; }
  bool failed() const { return !why_failed_.empty(); }
  const std::string& why_failed() const { return why_failed_; }
  void Fail(const std::string& why) {
    if (why_failed_.empty()) why_failed_ = why;
  }
  // Warnings other than the checks' findings (--strict counts these).
  long long warnings() const { return warnings_; }
  // The checks' findings of the claims decided, and those of level error.
  long long findings() const { return findings_; }
  long long finding_errors() const { return finding_errors_; }
  long long errors() const { return errors_; }
  long long charges() const { return charges_; }
  long long records() const { return records_; }
  // Claims written to the formatted-record file, and their pages.
  long long claims() const { return claims_; }
  long long pages() const { return pages_; }
  const std::vector<ClaimNote>& refused() const { return refused_; }
  const std::vector<ClaimNote>& held() const { return held_claims_; }
  bool file_written() const { return fc_.BatchWritten(); }
  int32_t pages_printed() const { return fc_.PagesPrinted(); }
  bool job_sent() const { return fc_.JobSent(); }

 private:
  // A claim decided by the current call; its manifest row waits for the
  // call's messages.
  struct ClaimWrite {
    int64_t decided_in;  // the record number of the call that decided it
    std::vector<ub04::RecordSpan> charges;
    bool refused;
    ClaimRow row;
  };
  // A message of a call, by the call's record number (0: not a record).
  struct HeldMessage {
    int64_t record;
    bool charge_error;  // an error of one of a charge's records
    ClaimMessage m;
  };

  static std::string Where(long long line, const std::string& what);
  // Shows and counts every queued answer of the last call; false when the
  // call failed (an error queued, or a failure result with nothing said).
  bool Drain(const std::string& where, int64_t record, bool charge_record, int16_t result);
  void OnClaim(const ub04::ClaimRecord& claim);
  // Gives each warning and error to the claim it was queued while forming
  // and lists the claims decided so far in the manifest.
  void ListClaims();
  void Progress(bool last);
  void ClearProgress();

  const Options& o_;
  ub04::Format_Class fc_;
  bool tty_;
  MessagePrinter printer_;
  ManifestWriter* manifest_;
  FindingsReport* report_;
  std::string why_failed_;
  long long warnings_ = 0, errors_ = 0, findings_ = 0, finding_errors_ = 0;
  long long records_ = 0, charges_ = 0, claims_ = 0, pages_ = 0;
  int64_t call_record_ = 0;     // the record number of the current call (0: none)
  bool in_charge_ = false;      // a 6000 came and its 6990 has not
  int refused_in_call_ = 0;     // claims the current call refused
  // Failures of charge records waiting for the refused claim that holds
  // them: (record number, why the run fails if none does).
  std::vector<std::pair<int64_t, std::string>> claim_errors_;
  std::vector<ClaimWrite> writes_;
  std::vector<HeldMessage> messages_;
  // What the component showed in a message box during the current call:
  // an error of its own, shown with the call's messages unless it queued
  // the same text.
  std::vector<std::string> boxes_;
  std::vector<ClaimNote> refused_, held_claims_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_, drawn_{};
};

}  // namespace ub04fmt
