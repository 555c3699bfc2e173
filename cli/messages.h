// The component's queued answers, shown to people: severity as note,
// warning or error, the component's name dropped, and where in the batch the
// call that queued it came from. Identical messages in a row are shown once.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ub04fmt {

// One queue entry split into its parts: " 3//text//" is severity 3, "text".
struct QueuedMessage {
  int severity = 0;
  std::string text;
};
QueuedMessage ParseQueued(std::string_view entry);

// How a message reads for people: the component's name in front dropped.
std::string PlainText(std::string_view text);

class MessagePrinter {
 public:
  // raw: every entry written exactly as queued; notes: show severity 1.
  MessagePrinter(std::FILE* out, bool raw, bool notes) : out_(out), raw_(raw), notes_(notes) {}
  ~MessagePrinter() { Flush(); }
  MessagePrinter(const MessagePrinter&) = delete;
  MessagePrinter& operator=(const MessagePrinter&) = delete;

  // entry as queued; where: "batch line 3, record 6000", "end of batch", ...
  void Show(const std::string& entry, const QueuedMessage& m, const std::string& where);
  // Writes a held message (and its repeat count) out.
  void Flush();
  // True when a line is waiting to be written (the progress line must wait).
  bool holding() const { return repeats_ > 0; }

 private:
  std::FILE* out_;
  bool raw_, notes_;
  std::string held_;    // the text compared for repeats (severity and text)
  std::string held_line_;
  long long repeats_ = 0;
};

}  // namespace ub04fmt
