#include "base/messages.h"

#include <algorithm>

#include "base/runtime.h"

namespace ub04 {

void MessageQueue::Reset() { entries_.assign(10, MessageEntry{}); }

void MessageQueue::Clear() {
  for (auto& e : entries_) e = MessageEntry{};
}

int32_t MessageQueue::GetNextEntryNr() {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Nr == 0) return static_cast<int32_t>(i + 1);
  auto old = static_cast<int32_t>(entries_.size());
  entries_.resize(entries_.size() + 10);
  return old + 1;
}

std::string MessageQueue::LastText() const {
  const int32_t n = Count();
  return n == 0 ? std::string() : entries_[static_cast<size_t>(n - 1)].Msg;
}

void MessageQueue::Downgrade(int32_t from, int32_t to, int16_t from_nr, int16_t to_nr) {
  for (int32_t i = std::max(from, 1); i <= to && i <= Count(); ++i)
    if (entries_[static_cast<size_t>(i - 1)].Nr == from_nr)
      entries_[static_cast<size_t>(i - 1)].Nr = to_nr;
}

void MessageQueue::Add(int16_t nr, std::string msg) {
  int32_t i = GetNextEntryNr();
  entries_[static_cast<size_t>(i - 1)] = MessageEntry{nr, std::move(msg)};
}

int32_t MessageQueue::Count() const {
  int32_t n = 0;
  for (const auto& e : entries_) {
    if (e.Nr == 0) break;
    ++n;
  }
  return n;
}

int32_t MessageQueue::CountOf(int16_t nr) const {
  int32_t n = 0;
  for (const auto& e : entries_) n += e.Nr == nr ? 1 : 0;
  return n;
}

int16_t MessageQueue::MaxNr() const {
  int16_t m = 0;
  for (const auto& e : entries_) m = std::max(m, e.Nr);
  return m;
}

std::string MessageQueue::Get(int32_t index) {
  if (index < 1 || index > Capacity()) return "END";
  MessageEntry& e = entries_[static_cast<size_t>(index - 1)];
  if (e.Nr == 0) return "END";
  if (e.Msg.size() >= 2 && e.Msg.compare(e.Msg.size() - 2, 2, "//") != 0) e.Msg += "//";
  return SignNum(e.Nr) + "//" + e.Msg;
}

}  // namespace ub04
