// Where a composed claim goes: the formatted-record file, the held-claims
// file beside it, or nowhere.
//
//   * Refused: a claim that could not be composed correctly (a charge of it
//     failed, a sum overflowed, a box could not be written). It is written
//     nowhere; a severity-3 message of the call that refused it names the
//     account, the charge and why, and the run log says the same.
//   * Held: a claim composed correctly that the checks keep from the payer
//     (checks/claim_checks.h: an error finding, or any with HOLDWARNINGS).
//     Its pages go to the held-claims file (the formatted-record file's name
//     with ".held" added, its own "H" and "T"), never into the main file, so
//     it cannot be printed by accident and is never lost.
//   * Written: its pages go to the formatted-record file.
//
// Page sequence numbers and the claims counter count the pages written to
// either file. With the checks on, each finding of the claim is then
// reported once, in the call that decided it. Each claim's record then goes
// to the observers.
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
    if (!run_->checks.on()) cx.Queue(kWarning, std::move(message));
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
  TakeNoticed(claim.record);
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

  if (rs.checks.on()) CheckClaim(claim.record, rs.checks);
  const bool hold = HoldsClaim(claim.record, rs.checks);
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
  ReportFindings(claim.record);
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
  std::erase_if(record.findings,
                [&](const ClaimFinding& f) { return rs.checks.Skips(f.rule); });
  ReportFindings(record);  // what was noticed before; the refusal says itself
  record.findings.push_back({ClaimFinding::Level::kError, "", "REFUSED", account, why});
  Announce(record);
  return 0;
}

void Format_Class::TakeNoticed(ClaimRecord& record) {
  std::vector<RunState::Noticed>& noticed = run_->noticed;
  if (noticed.empty()) return;
  // A claim's records run up to its last charge's end; what came after
  // belongs to the claims still to come.
  int32_t last = 0;
  for (const RecordSpan& span : record.charge_records) last = std::max(last, span.last);
  std::vector<ClaimFinding> mine;
  std::erase_if(noticed, [&](RunState::Noticed& n) {
    if (n.record > last) return false;
    mine.push_back(std::move(n.finding));
    return true;
  });
  record.findings.insert(record.findings.begin(), std::make_move_iterator(mine.begin()),
                         std::make_move_iterator(mine.end()));
}

void Format_Class::ReportFindings(const ClaimRecord& record) {
  Context& cx = run_->cx;
  if (!run_->checks.on()) return;
  for (const ClaimFinding& f : record.findings) {
    const char* label = f.level == ClaimFinding::Level::kError ? "  Error: " : "  Warning: ";
    std::string message = cx.component_name + " " + std::string(kFindingProcedure) + label +
                          FindingLine(record, f);
    cx.log.AnyLevel(message);
    cx.Queue(kWarning, std::move(message));
  }
}

void Format_Class::ReportUnclaimedNotices() {
  Context& cx = run_->cx;
  for (RunState::Noticed& n : run_->noticed)
    if (!run_->checks.Skips(n.finding.rule)) cx.Queue(kWarning, std::move(n.finding.message));
  run_->noticed.clear();
}

}  // namespace ub04
