// The run log: a trace file beside the outputs that lets a support person
// follow how a batch became claims. Lines use the delimited form of the
// formatted-record file. Level 0 writes nothing, 1 the banners and one line
// per record, 2 every trace line.
//
// Writing to the log never fails the operation that writes: a failed write
// is dropped. Nothing is written to a log that is not open. Which file the
// log is and what its banners say is the host's business; this class only
// keeps the file and the level.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/text_file.h"

namespace ub04 {

class RunLog {
 public:
  // Opens path for appending, creating it with permissions perms. Raises
  // the file's run-time error.
  void Open(const std::string& path, unsigned perms) {
    file_.Open(path, OutFile::Mode::kAppend, perms);
  }
  // Writes what is buffered and closes; raises the close's run-time error.
  void Close() { file_.Close(); }
  bool IsOpen() const { return file_.IsOpen(); }
  // Sends buffered lines to the file; a failure is dropped like any write.
  void Flush();

  int16_t level() const { return level_; }
  void set_level(int16_t level) { level_ = level; }

  // One line holding text, when the level is 2 or more and the log is open.
  void Line(std::string_view text) {
    if (Tracing()) Quoted(&text, 1);
  }
  // The same line for the parts joined, without building the joined text:
  // Joined({"index = ", SignNum(i)}) writes what Line("index = " +
  // SignNum(i)) writes.
  void Joined(std::initializer_list<std::string_view> parts) {
    if (Tracing()) Quoted(parts.begin(), parts.size());
  }
  // One line holding text whenever the log is open, whatever the level: the
  // banners, and the few decisions support must always be able to see.
  void AnyLevel(std::string_view text) { Quoted(&text, 1); }
  // True when trace lines are written (level 2 and the log open).
  bool Tracing() const { return level_ >= 2 && file_.IsOpen(); }
  // One line of several text items, each quoted, written at level 1 and up
  // (the per-record line: counter, key, record).
  void Items(std::initializer_list<std::string_view> items);
  // An 80-column grid line: label in columns 1-20, value from column 25.
  void Grid(std::string_view label, std::string_view value);

 private:
  // One line of one quoted item, the n parts joined, when the log is open.
  void Quoted(const std::string_view* parts, size_t n);

  OutFile file_;
  int16_t level_ = 0;
};

}  // namespace ub04
