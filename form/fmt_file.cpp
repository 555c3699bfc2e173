#include "form/fmt_file.h"

#include <cerrno>
#include <cstdlib>

#include "host/run_log.h"
#include "host/run_state.h"
#include "host/runtime.h"
#include "host/text_file.h"

namespace ub04 {

std::string PositionItem(float v) {
  if (v == 0) return "0";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(v));
  std::string s = buf;
  if (s.find('e') != std::string::npos) {
    // Far outside the page; keep a plain decimal the reader accepts.
    std::snprintf(buf, sizeof buf, "%.7f", static_cast<double>(v));
    s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s;
}

std::string FormatRecordLine(std::string_view kind, std::string_view text, float x,
                             float y, int number) {
  std::string line = QuoteItem(kind);
  line += ',';
  line += QuoteItem(text);
  line += ',';
  line += PositionItem(x);
  line += ',';
  line += PositionItem(y);
  line += ',';
  line += PlainNum(number);
  line += "\r\n";
  return line;
}

namespace {

int16_t WriteLine(const char* proc, std::string_view kind, std::string_view text, float x,
                  float y, int number) {
  RunState& rs = Rs();
  try {
    rs.fmt_out.Write(FormatRecordLine(kind, text, x, y, number));
    return 0;
  } catch (const RtError& e) {
    std::string msg = ComponentName() + " " + proc + "  Error: " + ErrorText(e);
    SetErrorMsg(msg);
    AddToMessageArray(3, msg);
    return 3;
  }
}

}  // namespace

int16_t OpenASCIIout() {
  RunState& rs = Rs();
  if (rs.fmt_out.IsOpen()) return 0;
  try {
    rs.fmt_out.Open(rs.fmt_file_path, OutFile::Mode::kTruncate);
    return 0;
  } catch (const RtError& e) {
    AddToMessageArray(3, ComponentName() + " OpenASCIIout()  Error: " + ErrorText(e));
    AddToMessageArray(3, "Filename: " + rs.fmt_file_path);
    return 3;
  }
}

int16_t CloseASCIIout() {
  RunState& rs = Rs();
  try {
    rs.fmt_out.Close();
    return 0;
  } catch (const RtError& e) {
    AddToMessageArray(3, ComponentName() + " CloseASCIIout() " + ErrorText(e));
    return 3;
  }
}

int16_t WriteField(std::string_view text, float x, float y, int16_t align) {
  return WriteLine("WriteField()", "F", text, x, y, align);
}

int16_t WriteNewPage() {
  LogLine("WriteNewPage()");
  return WriteLine("WriteNewPage()", "N", "", 0, 0, 0);
}

int16_t WriteHeader(std::string_view text) {
  LogLine("WriteHeader()");
  return WriteLine("WriteHeader()", "H", text, 0, 0, 0);
}

int16_t WriteTrailer(std::string_view text) {
  LogLine("WriteTrailer()");
  return WriteLine("WriteTrailer()", "T", text, 0, 0, 0);
}

int16_t WriteClaimLine(std::string_view index_text, int32_t sequence) {
  return WriteLine("WriteClaimHeader()", "C", index_text, 0, 0, sequence);
}

// ---- reading ------------------------------------------------------------------

namespace {

// Takes the next item from line at pos: a quoted text (up to the closing
// quote) or a bare token up to the next comma.
bool NextItem(std::string_view line, size_t& pos, std::string& item, bool& quoted) {
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos > line.size()) return false;
  item.clear();
  quoted = false;
  if (pos < line.size() && line[pos] == '"') {
    quoted = true;
    size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) {
      item.assign(line.substr(pos + 1));
      pos = line.size() + 1;
      return true;
    }
    item.assign(line.substr(pos + 1, close - pos - 1));
    pos = close + 1;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] == ',') ++pos;
    else pos = line.size() + 1;
    return true;
  }
  size_t comma = line.find(',', pos);
  if (comma == std::string_view::npos) {
    item.assign(Trim(line.substr(pos)));
    pos = line.size() + 1;
  } else {
    item.assign(Trim(line.substr(pos, comma - pos)));
    pos = comma + 1;
  }
  return true;
}

double NumberItem(const std::string& item) {
  if (item.empty()) return 0;
  char* end = nullptr;
  double v = std::strtod(item.c_str(), &end);
  if (end == item.c_str() || *end != '\0') Raise(kErrTypeMismatch);
  return v;
}

}  // namespace

void ParseFormattedLine(std::string_view line, FormattedLine& out) {
  size_t pos = 0;
  std::string item;
  bool quoted = false;
  std::string items[5];
  for (int i = 0; i < 5; ++i) {
    if (!NextItem(line, pos, item, quoted)) Raise(kErrInputPastEnd);
    items[i] = std::move(item);
  }
  out.kind = std::move(items[0]);
  out.text = std::move(items[1]);
  out.x = static_cast<float>(NumberItem(items[2]));
  out.y = static_cast<float>(NumberItem(items[3]));
  double n = NumberItem(items[4]);
  if (n < -2147483648.0 || n > 2147483647.0) Raise(kErrOverflow);
  out.number = static_cast<int32_t>(n);
}

FormattedFileReader::~FormattedFileReader() {
  if (f_) std::fclose(f_);
}

void FormattedFileReader::Open(const std::string& path) {
  if (f_) Raise(kErrFileAlreadyOpen);
  errno = 0;
  f_ = std::fopen(path.c_str(), "rb");
  if (!f_) Raise(errno == ENOENT ? kErrFileNotFound : ErrnoToRtError(errno));
}

bool FormattedFileReader::Next(FormattedLine& out) {
  if (!f_) Raise(kErrBadFileName);
  for (;;) {
    line_.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(f_)) != EOF) {
      any = true;
      if (c == '\n') break;
      line_ += static_cast<char>(c);
    }
    if (std::ferror(f_)) Raise(57);
    if (!any) return false;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    if (Trim(line_).empty()) continue;  // blank lines hold no record
    ParseFormattedLine(line_, out);
    return true;
  }
}

void FormattedFileReader::Close() {
  if (f_) {
    std::fclose(f_);
    f_ = nullptr;
  }
}

}  // namespace ub04
