// Where a composed claim goes: the formatted-record file, the held-claims
// file beside it, or nowhere.
//
//   * Refused: a claim that could not be composed correctly (a charge of it
//     failed, a sum overflowed, a box could not be written). It is written
//     nowhere; a severity-3 message of the call that refused it names the
//     account, the charge and why, and the run log says the same.
//   * Held: a claim composed correctly that a check keeps from the payer.
//     Its pages go to the held-claims file (the formatted-record file's name
//     with ".held" added, its own "H" and "T"), never into the main file, so
//     it cannot be printed by accident and is never lost.
//   * Written: its pages go to the formatted-record file.
//
// Page sequence numbers and the claims counter count the pages written to
// either file. Each claim's record then goes to the observers.
#include "host/format_class.h"

#include <algorithm>

#include "base/text_util.h"
#include "compose/claim_writer.h"
#include "host/run_state.h"

namespace ub04 {

std::string HeldPathFor(const std::string& fmt_file_path) { return fmt_file_path + ".held"; }

void Format_Class::Announce(const ClaimRecord& record) {
  for (const ClaimObserver& observer : observers_) {
    try {
      observer(record);
    } catch (...) {
      // A listener's failure is its own: the claim's fate is decided.
    }
  }
}

void Format_Class::NoteSplit(ClaimRecord& record, BreakCause ended_by) {
  RunState::SplitSeries& s = run_->split;
  const bool splits = ended_by != BreakCause::kOther;
  if (!splits && s.claims == 0) return;  // a claim of its own
  s.by_lines |= ended_by == BreakCause::kLinesFull;
  s.by_diagnoses |= ended_by == BreakCause::kDiagnosisOverflow;
  ++s.claims;
  s.lines += static_cast<int32_t>(record.lines.size());
  for (const ClaimDiagnosis& d : record.diagnoses)
    if (std::find(s.diagnoses.begin(), s.diagnoses.end(), d.code) == s.diagnoses.end())
      s.diagnoses.push_back(d.code);
  if (splits) return;  // more of it follows
  Context& cx = run_->cx;
  const std::string account = ClipForMessage(record.account);
  auto note = [&](const char* locator, const char* rule, std::string text) {
    std::string message = cx.component_name + " WriteClaim()  Warning: " + text;
    cx.log.AnyLevel(message);
    record.findings.push_back({ClaimFinding::Level::kWarning, locator, rule, record.account, message});
    cx.Queue(kWarning, std::move(message));
  };
  if (s.by_lines)
    note("FL42", "CLAIM-SPLIT",
         "the claim of account " + account + " has " + PlainNum(s.lines) +
             " service lines and was split into " + PlainNum(s.claims) + " claims of at most 22 "
             "lines; host message MULTIPAGE \"1\" prints it as one claim of several pages");
  if (s.by_diagnoses)
    note("FL67", "DIAGNOSES-SPLIT",
         "the claim of account " + account + " has " + PlainNum(static_cast<long long>(s.diagnoses.size())) +
             " diagnoses, more than the 18 the form holds: it was split into " +
             PlainNum(s.claims) + " claims");
  s = RunState::SplitSeries{};
}

int16_t Format_Class::WriteClaimSoFar(BreakCause ended_by) {
  RunState& rs = *run_;
  FormEnv env = rs.form_env();
  ComposedClaim claim;
  const int16_t composed = WriteClaim(env, tables_, claim);
  NoteSplit(claim.record, ended_by);
  // What was against this claim while it was built, and what the composer
  // found: either keeps it from going out.
  std::string against = std::move(rs.refuse_current);
  rs.refuse_current = std::move(rs.refuse_next);
  rs.refuse_next.clear();
  for (const RecordSpan& span : rs.refuse_current_spans) claim.record.charge_records.push_back(span);
  rs.refuse_current_spans = std::move(rs.refuse_next_spans);
  rs.refuse_next_spans.clear();
  if (!claim.failure.empty()) against += (against.empty() ? "" : "; ") + claim.failure;
  if (against.empty() && composed != 0) against = "it could not be composed";
  if (!against.empty()) return RefuseClaim(claim.record, against);
  if (claim.lines.empty()) return composed;

  const bool hold = rs.hold_claims && claim.record.HasError();
  FmtFile& out = hold ? rs.held : rs.fmt;
  if (hold && !out.IsOpen()) {
    if (out.OpenASCIIout(HeldPathFor(rs.fmt_file_path), rs.file_mode) != 0 ||
        out.WriteHeader("") != 0)
      return kFailed;
  }
  if (out.WriteLines("WriteClaim()", claim.lines) != 0) return kFailed;
  const int32_t pages = claim.record.page_count();
  rs.total_claims += pages;
  (hold ? rs.held_pages : rs.main_pages) += pages;
  claim.record.fate = hold ? ClaimRecord::Fate::kHeld : ClaimRecord::Fate::kWritten;
  if (hold)
    rs.cx.log.AnyLevel("Held the claim of account " + claim.record.account + " (pages " +
                       PlainNum(claim.record.first_sequence()) + " on) in " +
                       HeldPathFor(rs.fmt_file_path));
  Announce(claim.record);
  return 0;
}

int16_t Format_Class::RefuseClaim(ClaimRecord& record, const std::string& why) {
  RunState& rs = *run_;
  std::string account = record.account;
  if (account.empty()) account = rs.claim.last_top.patient[patient::AccountNumber];
  rs.cx.log.AnyLevel(rs.cx.Say(kError, " WriteClaim()  Error: ",
                               "the claim of account " + ClipForMessage(account) +
                                   " was refused and written nowhere: " + why));
  record.fate = ClaimRecord::Fate::kRefused;
  record.page_sequences.clear();  // its numbers go to the next claim written
  record.findings.push_back({ClaimFinding::Level::kError, "", "REFUSED", account, why});
  Announce(record);
  return 0;
}

}  // namespace ub04
