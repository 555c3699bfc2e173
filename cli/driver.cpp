#include "cli/driver.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "base/msgbox.h"
#include "base/text_util.h"
#include "checks/claim_checks.h"

namespace ub04fmt {

namespace {

constexpr int64_t kEndOfBatch = INT64_MAX;  // the "record" of end-of-batch messages

// Token 10 of a record key, its record type, bounded for a message.
std::string KeyType(const std::string& key) {
  size_t at = key.rfind("//");
  return ub04::ClipForMessage(at == std::string::npos ? key : key.substr(at + 2));
}

// The records of a charge: the charge record, its companions, its end.
bool ChargeRecord(const std::string& type) { return !type.empty() && type[0] == '6'; }

}  // namespace

Driver::Driver(const Options& o, bool tty, ManifestWriter* manifest, FindingsReport* report)
    : o_(o),
      tty_(tty && !o.quiet),
      printer_(stderr, o.raw_messages, !o.quiet),
      manifest_(manifest),
      report_(report),
      start_(std::chrono::steady_clock::now()) {
  fc_.AddClaimObserver([this](const ub04::ClaimRecord& claim) { OnClaim(claim); });
  ub04::SetMessageBoxSink([this](std::string_view text) { boxes_.emplace_back(text); });
  if (o.preview) fc_.SetPreviewFolder(*o.preview);
  if (o.grid) fc_.SetPreviewGrid(true);  // no host message carries it
}

Driver::~Driver() { ub04::SetMessageBoxSink({}); }

std::string Driver::Where(long long line, const std::string& what) {
  return "batch line " + std::to_string(line) + ", " + what;
}

bool Driver::Setup(const std::string& nr, const std::string& text, const std::string& option) {
  int16_t r = fc_.HereIsAMessage(nr, text);
  if (Drain(option, 0, false, r)) return true;
  Fail("the set-up message " + nr + " (" + option + ") failed");
  return false;
}

void Driver::Message(const std::string& nr, const std::string& text, long long line) {
  call_record_ = 0;
  const std::string what = "message " + ub04::ClipForMessage(nr);
  int16_t r = fc_.HereIsAMessage(nr, text);
  if (!Drain(Where(line, what), 0, false, r))
    Fail("batch line " + std::to_string(line) + " (" + what + ") reported an error");
}

void Driver::Record(const std::string& key, const std::string& rec, long long line) {
  const std::string type = KeyType(key);
  call_record_ = ++records_;  // the component numbers the records it is sent the same way
  refused_in_call_ = 0;
  int16_t r = fc_.FormatRecord(key, rec);
  if (!Drain(Where(line, "record " + type), call_record_, ChargeRecord(type), r)) {
    std::string why = "batch line " + std::to_string(line) + " (record " + type + ") reported an error";
    // A charge's failure is its claim's: the refusal of that claim settles it.
    if (ChargeRecord(type) && r != 3)
      claim_errors_.emplace_back(call_record_, std::move(why));
    else
      Fail(why);
  }
  ListClaims();
  if (type == "6000") {
    ++charges_;
    in_charge_ = true;
  } else if (type == "6990") {
    in_charge_ = false;
  }
  Progress(false);
}

void Driver::Finish() {
  call_record_ = kEndOfBatch;
  refused_in_call_ = 0;
  int16_t r = fc_.ProcessEndOfFile();
  const bool ok = Drain("end of batch", kEndOfBatch, false, r);
  // Refusing the last claim is the end's only error when its file went in
  // and no charge was left open.
  const bool only_refusals = refused_in_call_ > 0 && fc_.BatchWritten() && !in_charge_;
  if (!ok && !only_refusals) Fail("the end of the batch failed");
  ListClaims();
  if (!claim_errors_.empty()) Fail(claim_errors_.front().second);
  Progress(true);
  printer_.Flush();
}

bool Driver::Print() {
  int16_t r = fc_.ProcessFormattedRecords();
  bool ok = Drain("printing", 0, false, r);
  printer_.Flush();
  if (!ok) Fail("printing failed");
  return ok;
}

bool Driver::Drain(const std::string& where, int64_t record, bool charge_record, int16_t result) {
  int max = 0, n = 0;
  std::vector<std::string> queued;
  auto show = [&](const std::string& entry, const QueuedMessage& m) {
    ++n;
    max = std::max(max, m.severity);
    // The checks' findings are counted from the claims' records, apart
    // from the other warnings, and listed in the report.
    const bool finding = m.severity == 2 && ub04::IsFindingMessage(m.text);
    if (m.severity == 2 && !finding) ++warnings_;
    if (m.severity >= 3) ++errors_;
    if (m.severity >= 2 && record > 0 && !finding)
      messages_.push_back({record, charge_record && m.severity >= 3, {m.severity, PlainText(m.text)}});
    ClearProgress();
    printer_.Show(entry, m, where);
  };
  for (int32_t i = 1;; ++i) {
    std::string entry = fc_.GetAMessage(i);
    if (entry == "END") break;
    QueuedMessage m = ParseQueued(entry);
    if (!boxes_.empty()) queued.push_back(m.text);
    show(entry, m);
  }
  for (std::string& box : boxes_) {
    if (std::find(queued.begin(), queued.end(), box) != queued.end()) continue;
    std::replace_if(box.begin(), box.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    show(" 3//" + box + "//", {3, box});
  }
  boxes_.clear();
  return max < 3 && result != 3 && (result == 0 || n > 0);
}

void Driver::OnClaim(const ub04::ClaimRecord& claim) {
  using Fate = ub04::ClaimRecord::Fate;
  if (claim.fate == Fate::kRefused) {
    ++refused_in_call_;
    const ub04::ClaimFinding* why = nullptr;
    for (const ub04::ClaimFinding& f : claim.findings)
      if (f.rule == "REFUSED") why = &f;
    refused_.push_back({0, claim.account, why ? why->message : ""});
  } else if (claim.fate == Fate::kHeld) {
    held_claims_.push_back({claim.first_sequence(), claim.account, HeldReasons(claim)});
  }
  for (const ub04::ClaimFinding& f : claim.findings) {
    if (f.rule == "REFUSED") continue;  // the component's error, counted as one
    ++findings_;
    finding_errors_ += f.level == ub04::ClaimFinding::Level::kError;
  }
  if (report_) report_->Add(claim);
  const bool in_file = claim.fate == Fate::kWritten;
  writes_.push_back({call_record_, claim.charge_records, claim.fate == Fate::kRefused,
                     ClaimRow::Of(claim, in_file ? pages_ + 1 : 0)});
  if (in_file) {
    ++claims_;
    pages_ += claim.page_count();
  }
}

void Driver::ListClaims() {
  for (ClaimWrite& w : writes_) {
    int32_t last = 0;
    for (const ub04::RecordSpan& span : w.charges) last = std::max(last, span.last);
    auto mine = [&](const HeldMessage& h) {
      if (h.record == w.decided_in) return true;
      for (const ub04::RecordSpan& span : w.charges)
        if (h.record <= INT32_MAX && span.Holds(static_cast<int32_t>(h.record))) return true;
      return false;
    };
    for (const HeldMessage& h : messages_) {
      if (!mine(h)) continue;
      w.row.messages.push_back(h.m);
      // An error of a charge that the refusal of this claim accounts for
      // is the claim's, not the run's.
      if (w.refused && h.charge_error)
        std::erase_if(claim_errors_, [&](const auto& e) { return e.first == h.record; });
    }
    // Claims follow each other through the batch: nothing up to this one's
    // last charge can concern a claim still to come.
    std::erase_if(messages_, [&](const HeldMessage& h) { return h.record <= last || mine(h); });
    if (manifest_) manifest_->Add(w.row);
  }
  writes_.clear();
}

void Driver::Progress(bool last) {
  if (!tty_) return;
  auto now = std::chrono::steady_clock::now();
  if (!last && now - drawn_ < std::chrono::milliseconds(100)) return;
  if (printer_.holding()) return;  // a held message goes first
  drawn_ = now;
  double secs = std::chrono::duration<double>(now - start_).count();
  std::fprintf(stderr, "\r%lld records, %lld charges, %.0f records/s ", records_, charges_,
               secs > 0 ? records_ / secs : 0.0);
  if (last) std::fputc('\n', stderr);
  shown_ = !last;
}

void Driver::ClearProgress() {
  if (shown_) std::fputs("\r\033[K", stderr);
  shown_ = false;
}

}  // namespace ub04fmt
