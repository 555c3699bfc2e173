#include "form/fmt_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

#include "base/runtime.h"
#include "base/text_file.h"

namespace ub04 {

namespace {

// The seven significant digits of a position as printf's "%.7g" rounds
// them, for the values it writes without an exponent (10^-4 <= |v| < 10^7,
// which holds every place on a page). Returns false for other values.
//
// It is exact: a float has a 24-bit significand and 10^k = 2^k * 5^k with
// 5^k < 2^24 for k <= 10, so |v| * 10^k is a double without rounding error,
// and rounding it to an integer (to nearest, ties to even) is the rounding
// printf does on the exact binary value.
bool SevenDigits(float v, uint32_t& digits, int& exp10) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5,
                                      1e6, 1e7, 1e8, 1e9, 1e10};
  const double a = std::fabs(static_cast<double>(v));
  if (!(a < 1e7)) return false;  // also NaN
  int k = 0;  // a * 10^k gets seven integer digits
  while (k < 10 && a * kPow10[k] < 1e6) ++k;
  double q = std::nearbyint(a * kPow10[k]);
  if (q < 1e6) return false;  // below 10^-4 even after rounding
  if (q >= 1e7) {             // rounded up to the next power of ten
    q = 1e6;
    --k;
  }
  exp10 = 6 - k;
  if (exp10 > 6) return false;
  digits = static_cast<uint32_t>(q);
  return true;
}

// Writes the position text of v to buf and returns its end: "%.7g", and a
// plain decimal where that would take an exponent.
char* PositionChars(float v, char* buf, char* end) {
  if (v == 0) {
    *buf = '0';
    return buf + 1;
  }
  char* p = buf;
  uint32_t digits;
  int exp10;
  if (SevenDigits(v, digits, exp10)) {
    char d[7];
    for (int i = 6; i >= 0; --i, digits /= 10) d[i] = static_cast<char>('0' + digits % 10);
    int used = 7;  // significant digits left once trailing zeros go
    while (d[used - 1] == '0') --used;
    if (v < 0) *p++ = '-';
    if (exp10 >= 0) {
      const int whole = exp10 + 1;
      for (int i = 0; i < whole; ++i) *p++ = d[i];
      if (used > whole) {
        *p++ = '.';
        for (int i = whole; i < used; ++i) *p++ = d[i];
      }
    } else {
      *p++ = '0';
      *p++ = '.';
      for (int i = -1; i > exp10; --i) *p++ = '0';
      for (int i = 0; i < used; ++i) *p++ = d[i];
    }
    return p;
  }
  const double d = v;
  p = std::to_chars(buf, end, d, std::chars_format::general, 7).ptr;
  if (std::find(buf, p, 'e') != p) {
    // Far outside the page; keep a plain decimal the reader accepts.
    p = std::to_chars(buf, end, d, std::chars_format::fixed, 7).ptr;
    while (p[-1] == '0') --p;
    if (p[-1] == '.') --p;
  }
  return p;
}

// A float has at most 39 integer digits; 7 decimals, sign and point.
constexpr size_t kPositionChars = 64;

void AppendPosition(std::string& out, float v) {
  char buf[kPositionChars];
  out.append(buf, PositionChars(v, buf, buf + sizeof buf));
}

}  // namespace

std::string FormattedLineTail(float x, float y, int number) {
  std::string tail;
  tail += ',';
  AppendPosition(tail, x);
  tail += ',';
  AppendPosition(tail, y);
  tail += ',';
  char buf[16];
  tail.append(buf, std::to_chars(buf, buf + sizeof buf, number).ptr);
  tail += "\r\n";
  return tail;
}

void AppendFormattedLine(std::string& out, std::string_view kind, std::string_view text,
                         std::string_view tail) {
  AppendQuoted(out, kind);
  out.push_back(',');
  AppendQuoted(out, text);
  out.append(tail.data(), tail.size());
}

void AppendFormattedLine(std::string& out, std::string_view kind, std::string_view text,
                         float x, float y, int number) {
  AppendFormattedLine(out, kind, text, FormattedLineTail(x, y, number));
}

int16_t FmtFile::WriteLines(const char* proc, std::string_view lines) {
  if (failed_ && failed_call_ == cx_.call) return kFailed;
  try {
    out_.Write(lines);
    return 0;
  } catch (const RtError& e) {
    failed_ = true;
    failed_call_ = cx_.call;
    cx_.ReportError(" " + std::string(proc) + "  Error: ", e, kQueueIt | kKeepAsErrorMsg);
    return kFailed;
  }
}

std::string PositionItem(float v) {
  char buf[kPositionChars];
  return std::string(buf, PositionChars(v, buf, buf + sizeof buf));
}

std::string FormatRecordLine(std::string_view kind, std::string_view text, float x,
                             float y, int number) {
  std::string line;
  AppendFormattedLine(line, kind, text, x, y, number);
  return line;
}

int16_t FmtFile::OpenASCIIout(const std::string& path, unsigned perms) {
  if (out_.IsOpen()) return 0;
  try {
    out_.OpenBeside(path, perms);
    failed_ = false;
    return 0;
  } catch (const RtError& e) {
    cx_.ReportError(" OpenASCIIout()  Error: ", e);
    cx_.Queue(kError, "Filename: " + path);
    return kFailed;
  }
}

int16_t FmtFile::CloseASCIIout() {
  if (!out_.IsOpen()) return 0;
  try {
    out_.Commit();
    return 0;
  } catch (const RtError& e) {
    cx_.ReportError(" CloseASCIIout() ", e);
    return kFailed;
  }
}

void FmtFile::Abandon() {
  try {
    out_.Close();
  } catch (const RtError&) {
  }
}

void FmtFile::Flush() {
  // The file reports its own write errors where they happen; a flush
  // failure here is caught again when the file is closed.
  try {
    out_.Flush();
  } catch (const RtError& e) {
    cx_.ReportError(" WriteField()  Error: ", e);
  }
}

int16_t FmtFile::WriteHeader(std::string_view text) {
  cx_.log.Line("WriteHeader()");
  return WriteLines("WriteHeader()", FormatRecordLine("H", text, 0, 0, 0));
}

int16_t FmtFile::WriteTrailer(std::string_view text) {
  cx_.log.Line("WriteTrailer()");
  return WriteLines("WriteTrailer()", FormatRecordLine("T", text, 0, 0, 0));
}

// ---- reading ------------------------------------------------------------------

namespace {

// Takes the next item from line at pos: a quoted text (up to the closing
// quote) or a bare token up to the next comma, without its spaces.
bool NextItem(std::string_view line, size_t& pos, std::string_view& item) {
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos > line.size()) return false;
  if (pos < line.size() && line[pos] == '"') {
    size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) {
      item = line.substr(pos + 1);
      pos = line.size() + 1;
      return true;
    }
    item = line.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] == ',') ++pos;
    else pos = line.size() + 1;
    return true;
  }
  size_t comma = line.find(',', pos);
  if (comma == std::string_view::npos) {
    item = line.substr(pos);
    pos = line.size() + 1;
  } else {
    item = line.substr(pos, comma - pos);
    pos = comma + 1;
  }
  size_t b = item.find_first_not_of(' ');
  item = b == std::string_view::npos ? std::string_view()
                                     : item.substr(b, item.find_last_not_of(' ') - b + 1);
  return true;
}

// A number as the file writes it: an optional sign, digits with at most one
// decimal point, an optional exponent (after blanks, in a quoted item). The C
// library would also take hex forms, "inf" and "nan", which no writer of this
// file produces.
bool PlainDecimal(std::string_view s) {
  size_t i = 0, digits = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  for (bool point = false; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') ++digits;
    else if (s[i] == '.' && !point) point = true;
    else break;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    if (++i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exp_digits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) ++exp_digits;
    if (exp_digits == 0) return false;
  }
  return i == s.size();
}

// A position beyond single precision is off any paper; it reads as an
// infinite one, which printing reports, instead of an undefined conversion.
float PositionValue(double v) {
  if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
  if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}

double NumberItem(std::string_view item) {
  if (item.empty()) return 0;
  if (!PlainDecimal(item)) Raise(kErrTypeMismatch);
  // Only plain decimals get this far. from_chars reads them without a copy;
  // the few it declines (a leading "+", a value out of range) go to strtod,
  // which gives a signed value or an infinity that printing reports.
  double v = 0;
  auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
  if (ec == std::errc() && end == item.data() + item.size()) return v;
  std::string text(item);
  char* stop = nullptr;
  v = std::strtod(text.c_str(), &stop);
  if (stop == text.c_str() || *stop != '\0') Raise(kErrTypeMismatch);
  return v;
}

}  // namespace

void ParseFormattedLine(std::string_view line, FormattedLine& out) {
  size_t pos = 0;
  std::string_view items[5];
  for (std::string_view& item : items)
    if (!NextItem(line, pos, item)) Raise(kErrInputPastEnd);
  out.kind.assign(items[0]);
  out.text.assign(items[1]);
  out.x = PositionValue(NumberItem(items[2]));
  out.y = PositionValue(NumberItem(items[3]));
  double n = NumberItem(items[4]);
  if (!(n >= -2147483648.0 && n <= 2147483647.0)) Raise(kErrOverflow);
  out.number = static_cast<int32_t>(n);
}

FormattedFileReader::~FormattedFileReader() {
  if (f_) std::fclose(f_);
}

OutFile::FileId FormattedFileReader::id() const {
  struct stat st {};
  if (!f_ || ::fstat(::fileno(f_), &st) != 0) return {};
  return FileIdOf(st);
}

std::string FileShape::Take(std::string_view kind) {
  ++number_;
  const std::string at = " (line " + PlainNum(number_) + ")";
  if (number_ == 1 && kind != "H") return "it does not start with an \"H\" line";
  if (last_kind_ == "T") return "a line follows its \"T\" line" + at;
  last_kind_.assign(kind);
  if (kind == "C") {
    if (in_page_) return "a \"C\" line starts a page before the last one ended" + at;
    in_page_ = true;
  } else if (kind == "N") {
    if (!in_page_) return "an \"N\" line ends no page" + at;
    in_page_ = false;
  } else if (kind == "F" && !in_page_) {
    return "an \"F\" line lies outside any page" + at;
  } else if (kind == "T" && in_page_) {
    return "its last page has no \"N\" line" + at;
  }
  return "";
}

std::string FileShape::End() const {
  if (number_ == 0) return "it is empty";
  if (last_kind_ != "T") return "it does not end with a \"T\" line";
  return "";
}

std::string WhyIncomplete(const std::string& path) {
  FormattedFileReader reader;
  reader.Open(path);
  FormattedLine line;
  FileShape shape;
  while (reader.Next(line))
    if (std::string why = shape.Take(line.kind); !why.empty()) return why;
  return shape.End();
}

void FormattedFileReader::Open(const std::string& path) {
  if (f_) Raise(kErrFileAlreadyOpen);
  errno = 0;
  // Not blocking on a FIFO without a writer while it is looked at.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) Raise(errno == ENOENT ? kErrFileNotFound : ErrnoToRtError(errno));
  // Only a file has an end: a device or a pipe could feed one line forever.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    Raise(kErrPathFileAccess);
  }
  f_ = ::fdopen(fd, "rb");
  if (!f_) {
    int err = errno;
    ::close(fd);
    Raise(ErrnoToRtError(err));
  }
  opened_id_ = FileIdOf(st);
  opened_size_ = unread_ = static_cast<long long>(st.st_size);
  buf_.resize(kReadBuffer);
  begin_ = end_ = 0;
}

bool FormattedFileReader::Unchanged() const {
  struct stat st {};
  if (!f_ || ::fstat(::fileno(f_), &st) != 0) return false;
  return FileIdOf(st) == opened_id_ && static_cast<long long>(st.st_size) == opened_size_;
}

bool FormattedFileReader::ReadLine(std::string_view& line) {
  line_.clear();
  bool any = false;
  for (;;) {
    if (begin_ == end_) {
      begin_ = 0;
      const size_t want = static_cast<size_t>(std::min<long long>(unread_, static_cast<long long>(buf_.size())));
      end_ = want == 0 ? 0 : std::fread(buf_.data(), 1, want, f_);
      if (std::ferror(f_)) Raise(kErrDeviceIO);
      unread_ -= static_cast<long long>(end_);
      if (end_ == 0) {
        line = line_;
        return any;
      }
    }
    const char* from = buf_.data() + begin_;
    const size_t avail = end_ - begin_;
    const char* nl = static_cast<const char*>(std::memchr(from, '\n', avail));
    any = true;
    if (!nl) {
      line_.append(from, avail);
      begin_ = end_;
      continue;
    }
    const size_t len = static_cast<size_t>(nl - from);
    begin_ += len + 1;
    if (line_.empty()) {
      line = std::string_view(from, len);  // the whole line is in the buffer
    } else {
      line_.append(from, len);
      line = line_;
    }
    return true;
  }
}

bool FormattedFileReader::Next(FormattedLine& out) {
  if (!f_) Raise(kErrBadFileName);
  std::string_view line;
  while (ReadLine(line)) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(' ') == std::string_view::npos) continue;  // blank: no record
    ParseFormattedLine(line, out);
    return true;
  }
  return false;
}

void FormattedFileReader::Close() {
  if (f_) {
    std::fclose(f_);
    f_ = nullptr;
  }
}

}  // namespace ub04
