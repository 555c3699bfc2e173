#include "cli/messages.h"

#include <cctype>

#include "checks/claim_checks.h"

namespace ub04fmt {

namespace {
// The component names itself at the front of many of its messages; for
// people the "ub04fmt: error:" in front says enough.
constexpr std::string_view kComponentPrefixes[] = {"QVR_UB04PPA_Format.Dll",
                                                   "QVR_UB04PPA_Format"};
}

QueuedMessage ParseQueued(std::string_view entry) {
  QueuedMessage m;
  size_t sep = entry.find("//");
  std::string_view nr = entry.substr(0, sep == std::string_view::npos ? 0 : sep);
  bool digits = !nr.empty();
  for (char c : nr) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') digits = false;
    else m.severity = m.severity * 10 + (c - '0');
  }
  if (!digits) {  // not in the queue's form: show it whole, as a note
    m.severity = 1;
    m.text = entry;
    return m;
  }
  std::string_view text = entry.substr(sep + 2);
  if (text.size() >= 2 && text.substr(text.size() - 2) == "//") text.remove_suffix(2);
  m.text = text;
  return m;
}

std::string PlainText(std::string_view text) {
  size_t lead = text.find_first_not_of(' ');
  text.remove_prefix(lead == std::string_view::npos ? text.size() : lead);
  for (std::string_view p : kComponentPrefixes) {
    if (text.substr(0, p.size()) == p &&
        (text.size() == p.size() || text[p.size()] == ' ')) {
      text.remove_prefix(p.size());
      size_t first = text.find_first_not_of(' ');
      text.remove_prefix(first == std::string_view::npos ? text.size() : first);
      break;
    }
  }
  return std::string(text);
}

void MessagePrinter::Show(const std::string& entry, const QueuedMessage& m,
                          const std::string& where) {
  if (raw_) {
    std::fprintf(out_, "%s\n", entry.c_str());
    return;
  }
  if (m.severity <= 1 && !notes_) return;
  const char* kind = m.severity >= 3 ? "error" : m.severity == 2 ? "warning" : "note";
  std::string text = PlainText(m.text);
  // A finding of the checks: "CheckClaim()  Error: claim 3 ..." reads
  // "finding: error: claim 3 ...".
  const std::string procedure = std::string(ub04::kFindingProcedure) + "  ";
  if (m.severity == 2 && text.starts_with(procedure)) {
    kind = "finding";
    text = text.substr(procedure.size());
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  }
  std::string key = std::string(kind) + ": " + text;
  if (repeats_ > 0 && key == held_) {
    ++repeats_;
    return;
  }
  Flush();
  held_ = key;
  held_line_ = "ub04fmt: " + key + (where.empty() ? "" : " (" + where + ")");
  repeats_ = 1;
}

void MessagePrinter::Flush() {
  if (repeats_ == 0) return;
  if (repeats_ > 1)
    std::fprintf(out_, "%s (repeated %lld times)\n", held_line_.c_str(), repeats_);
  else
    std::fprintf(out_, "%s\n", held_line_.c_str());
  repeats_ = 0;
  held_.clear();
}

}  // namespace ub04fmt
