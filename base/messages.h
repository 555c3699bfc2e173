// The numbered message queue through which every answer, warning and error
// reaches the host. Entries are 1-based; Nr 0 marks a free entry. The queue
// starts with 10 entries and grows by 10 whenever it is full.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ub04 {

// A message's number: what it means to the host.
enum Severity : int16_t {
  kNote = 1,     // an answer ("VER", "BCM-1", "HOW_MANY_CLAIMS") or information
  kWarning = 2,  // worth a look; the call still succeeded
  kError = 3,    // the call failed
};

struct MessageEntry {
  int16_t Nr = 0;  // a Severity; 0 marks a free entry
  std::string Msg;
};

class MessageQueue {
 public:
  MessageQueue() { Reset(); }

  // Capacity back to 10, all entries free (run-state reset).
  void Reset();
  // All entries free, capacity kept.
  void Clear();
  // Index of the first free entry, growing by 10 when the queue is full.
  int32_t GetNextEntryNr();
  void Add(int16_t nr, std::string msg);
  // Entries from to to (1-based, inclusive) numbered from_nr become to_nr: a
  // failure that a later step made good is only a warning.
  void Downgrade(int32_t from, int32_t to, int16_t from_nr, int16_t to_nr);

  bool Empty() const { return entries_.empty() || entries_[0].Nr == 0; }
  // Number of entries in use (they are always filled from index 1).
  int32_t Count() const;
  // How many queued entries have this Nr.
  int32_t CountOf(int16_t nr) const;
  // The largest Nr of the queued entries, 0 when empty.
  int16_t MaxNr() const;
  int32_t Capacity() const { return static_cast<int32_t>(entries_.size()); }
  // The host's read: " 1//TEXT//" or "END".
  std::string Get(int32_t index);
  // The text of the last entry queued, "" when none.
  std::string LastText() const;

 private:
  std::vector<MessageEntry> entries_;  // entries_[0] is index 1
};

}  // namespace ub04
