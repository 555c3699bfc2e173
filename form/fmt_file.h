// The formatted-record file: every positioned text of every claim page, one
// line each, with the run's header and trailer. Line form: five items, kind,
// text, X, Y, number (alignment for "F", sequence for "C"), e.g.
//
//   "F","ACME CLINIC, INC.",0.65,3.12,0
//
// The writer is the run's one formatted-record file: its header, the
// claims composed elsewhere, its trailer; each write returns 0, or 3 after
// queueing its error. The reader serves printing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/text_file.h"

namespace ub04 {

// A position as written: single precision, at most 7 significant digits,
// trailing zeros dropped, leading zero kept (6.72, 0.65, 0).
std::string PositionItem(float v);
// One complete line, CR LF included.
std::string FormatRecordLine(std::string_view kind, std::string_view text, float x,
                             float y, int number);
// The same line appended to out.
void AppendFormattedLine(std::string& out, std::string_view kind, std::string_view text,
                         float x, float y, int number);
// What follows a line's text item: ",X,Y,NUMBER" and CR LF. Every line
// written at one place with one number ends the same, so a writer that
// puts many texts at a few places makes each tail once.
std::string FormattedLineTail(float x, float y, int number);
// The line of kind and text that ends with tail.
void AppendFormattedLine(std::string& out, std::string_view kind, std::string_view text,
                         std::string_view tail);

class FmtFile {
 public:
  explicit FmtFile(Context& cx) : cx_(cx) {}
  FmtFile(const FmtFile&) = delete;
  FmtFile& operator=(const FmtFile&) = delete;

  // Starts the file of path: a new file with permissions perms under a
  // temporary name beside it; the last good file at path stays until
  // CloseASCIIout(). Does nothing while open.
  int16_t OpenASCIIout(const std::string& path, unsigned perms);
  // Finishes the file: on the disk, then renamed over path. 0, or 3 after
  // queueing the failure (path then keeps what it held).
  int16_t CloseASCIIout();
  // Drops an unfinished file: path keeps what it held. Never raises (a
  // device written directly is closed; its failures were reported).
  void Abandon();
  bool IsOpen() const { return out_.IsOpen(); }
  // The file the last CloseASCIIout() put at path ({0, 0} before).
  const OutFile::FileId& committed() const { return out_.committed(); }
  // Sends buffered lines to the file (end of each host call).
  void Flush();

  int16_t WriteHeader(std::string_view text);
  int16_t WriteTrailer(std::string_view text);
  // Lines composed elsewhere (a whole claim, its pages from "C" to "N"),
  // written as they are. proc names the writer in a failure's message; a
  // failure is queued once per host call.
  int16_t WriteLines(const char* proc, std::string_view lines);

 private:
  Context& cx_;
  OutFile out_;
  // Once a write failed, later writes of the same host call fail quietly:
  // the failure is reported once per call, not once per field.
  bool failed_ = false;
  uint32_t failed_call_ = 0;
};

struct FormattedLine {
  std::string kind;
  std::string text;
  float x = 0;
  float y = 0;
  int32_t number = 0;
};

// Reads a formatted-record file line by line. Open raises 53 when the file
// does not exist and 75 when it is not a regular file (a device or a pipe
// has no end); a malformed line raises 13 (a number that is not one) or 62
// (items missing).
class FormattedFileReader {
 public:
  FormattedFileReader() = default;
  ~FormattedFileReader();
  FormattedFileReader(const FormattedFileReader&) = delete;
  FormattedFileReader& operator=(const FormattedFileReader&) = delete;

  // Opens path and notes its size: the reader ends there, so lines added
  // after opening are not read.
  void Open(const std::string& path);
  // False at the end of the file.
  bool Next(FormattedLine& out);
  void Close();
  // The identity of the open file.
  OutFile::FileId id() const;
  // True while the open file has the identity and size it had when opened:
  // what was read is what the file holds.
  bool Unchanged() const;

 private:
  static constexpr size_t kReadBuffer = 64 * 1024;
  // The next line without its LF, false at the end of the file. The view
  // lasts until the next call.
  bool ReadLine(std::string_view& line);

  std::FILE* f_ = nullptr;
  OutFile::FileId opened_id_;
  long long opened_size_ = 0;
  long long unread_ = 0;       // bytes of the opened size not yet read
  std::string buf_;            // read ahead; bytes [begin_, end_) not yet taken
  size_t begin_ = 0, end_ = 0;
  std::string line_;           // a line that spans two reads
};

// The shape of a file a run finished: it starts with its "H" line, ends with
// its "T" line, and every "C" line's page ends with an "N" line before the
// next page or the trailer. Fed the kinds of the lines in order, it says
// why a file is not one a run finished as soon as that shows.
class FileShape {
 public:
  // The next line's kind: "" while the file may still be whole, else why
  // it is not (naming the line).
  std::string Take(std::string_view kind);
  // After the last line: "" or why the file is not whole.
  std::string End() const;

 private:
  long long number_ = 0;
  bool in_page_ = false;
  std::string last_kind_;
};

// Why the formatted-record file at path is not one a run finished (see
// FileShape), "" when it is. A file that cannot be read raises RtError.
std::string WhyIncomplete(const std::string& path);

// Parses one line (without its line end) into its five items.
void ParseFormattedLine(std::string_view line, FormattedLine& out);

}  // namespace ub04
