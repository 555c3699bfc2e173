#include "print/pdf_actual_size.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <string_view>

#include "base/runtime.h"

namespace ub04 {

namespace {

// How much of the file is read at a time: the end of the file (trailer and
// startxref), a subsection header, the catalog object.
constexpr size_t kTail = 1024, kLine = 64, kObject = 4096;
// Entries of a cross-reference table are 20 bytes each.
constexpr uint64_t kEntry = 20;

bool IsSpace(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
bool IsDelimiter(char c) {
  return IsSpace(c) || c == '/' || c == '<' || c == '>' || c == '[' || c == ']' || c == '(' ||
         c == ')';
}

size_t SkipSpace(std::string_view s, size_t pos) {
  while (pos < s.size() && IsSpace(s[pos])) ++pos;
  return pos;
}

// The unsigned decimal at s[pos] after white space; pos moves past it.
std::optional<uint64_t> Number(std::string_view s, size_t& pos) {
  pos = SkipSpace(s, pos);
  uint64_t v = 0;
  size_t start = pos;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 18)
    v = v * 10 + static_cast<uint64_t>(s[pos++] - '0');
  if (pos == start) return std::nullopt;
  return v;
}

// The object at s[pos] ("<<...>>", "[...]", "(...)", "<...>"), whole, or
// nullopt when it does not end within s.
std::optional<std::string_view> Bracketed(std::string_view s, size_t pos) {
  int depth = 0;
  for (size_t i = pos; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '(') {  // a literal string: nested parentheses, escapes
      int parens = 1;
      while (++i < s.size() && parens > 0) {
        if (s[i] == '\\') ++i;
        else if (s[i] == '(') ++parens;
        else if (s[i] == ')') --parens;
      }
      --i;
    } else if (c == '<' && i + 1 < s.size() && s[i + 1] == '<') {
      ++depth, ++i;
    } else if (c == '>' && i + 1 < s.size() && s[i + 1] == '>') {
      --depth, ++i;
    } else if (c == '<') {  // a hexadecimal string
      i = s.find('>', i);
      if (i == std::string_view::npos) return std::nullopt;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']') {
      --depth;
    }
    if (depth == 0) return s.substr(pos, i + 1 - pos);
  }
  return std::nullopt;
}

// The value of key in a dictionary's text: a name, a bracketed object, or
// the words up to the next key ("13 0 R").
std::optional<std::string_view> Value(std::string_view dict, std::string_view key) {
  for (size_t at = dict.find(key); at != std::string_view::npos; at = dict.find(key, at + 1)) {
    const size_t end = at + key.size();
    if (end < dict.size() && !IsDelimiter(dict[end])) continue;  // "/Root" in "/RootX"
    const size_t v = SkipSpace(dict, end);
    if (v >= dict.size()) return std::nullopt;
    if (dict[v] == '[' || dict[v] == '<' || dict[v] == '(') return Bracketed(dict, v);
    size_t stop = v + (dict[v] == '/' ? 1 : 0);
    while (stop < dict.size() && dict[stop] != '/' && dict[stop] != '>' &&
           !(dict[v] == '/' && IsDelimiter(dict[stop])))
      ++stop;
    while (stop > v && IsSpace(dict[stop - 1])) --stop;
    return dict.substr(v, stop - v);
  }
  return std::nullopt;
}

struct Reference {
  uint64_t number, generation;
};

std::optional<Reference> ReferenceIn(std::optional<std::string_view> value) {
  if (!value) return std::nullopt;
  size_t pos = 0;
  auto number = Number(*value, pos), generation = Number(*value, pos);
  pos = SkipSpace(*value, pos);
  if (!number || !generation || value->substr(pos) != "R") return std::nullopt;
  return Reference{*number, *generation};
}

// Where object number starts, from the cross-reference table at xref.
std::optional<uint64_t> OffsetOf(const PdfReader& read, uint64_t xref, uint64_t number,
                                 uint64_t size) {
  std::string line = read(xref, kLine);
  if (line.compare(0, 4, "xref") != 0) return std::nullopt;
  uint64_t at = xref + 4;
  while (at < size) {  // subsections: "first count", then count entries
    line = read(at, kLine);
    size_t pos = 0;
    auto first = Number(line, pos), count = Number(line, pos);
    if (!first || !count) return std::nullopt;  // "trailer": not listed
    const uint64_t entries = at + SkipSpace(line, pos);
    if (number >= *first && number - *first < *count) {
      const std::string entry = read(entries + (number - *first) * kEntry, kEntry);
      size_t p = 0;
      auto offset = Number(entry, p), generation = Number(entry, p);
      p = SkipSpace(entry, p);
      if (!offset || !generation || p >= entry.size() || entry[p] != 'n') return std::nullopt;
      return offset;
    }
    at = entries + *count * kEntry;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ActualSizeUpdate(const PdfReader& read, uint64_t size) {
  const uint64_t tail_at = size > kTail ? size - kTail : 0;
  const std::string tail = read(tail_at, static_cast<size_t>(size - tail_at));
  const size_t startxref = tail.rfind("startxref");
  if (startxref == std::string::npos) return std::nullopt;
  size_t pos = startxref + 9;
  const auto xref = Number(tail, pos);
  // A file whose last section is a cross-reference stream has no trailer.
  const size_t trailer_at = tail.rfind("trailer", startxref);
  if (!xref || *xref >= size || trailer_at == std::string::npos) return std::nullopt;
  const auto trailer = Bracketed(tail, SkipSpace(tail, trailer_at + 7));
  if (!trailer || trailer->substr(0, 2) != "<<") return std::nullopt;
  const auto root = ReferenceIn(Value(*trailer, "/Root"));
  const auto objects = Value(*trailer, "/Size");
  if (!root || !objects) return std::nullopt;

  const auto at = OffsetOf(read, *xref, root->number, size);
  if (!at || *at >= size) return std::nullopt;
  const std::string object = read(*at, kObject);
  pos = 0;
  const auto number = Number(object, pos), generation = Number(object, pos);
  pos = SkipSpace(object, pos);
  if (number != root->number || generation != root->generation ||
      object.compare(pos, 3, "obj") != 0)
    return std::nullopt;
  const auto catalog = Bracketed(object, SkipSpace(object, pos + 3));
  if (!catalog || catalog->substr(0, 2) != "<<" || Value(*catalog, "/Type") != "/Catalog")
    return std::nullopt;
  if (Value(*catalog, "/ViewerPreferences")) return std::string();

  // The catalog again, its cross-reference section and a trailer that
  // leads back to the file's own.
  const std::string lead = read(size - 1, 1) == "\n" ? "" : "\n";
  const uint64_t object_at = size + lead.size();
  char head[64];
  std::snprintf(head, sizeof head, "%" PRIu64 " %" PRIu64 " obj\n", root->number,
                root->generation);
  std::string out = lead + head;
  std::string_view keys = catalog->substr(0, catalog->size() - 2);
  while (!keys.empty() && IsSpace(keys.back())) keys.remove_suffix(1);
  out.append(keys);
  out += "\n   /ViewerPreferences << /PrintScaling /None >>\n>>\nendobj\n";
  const uint64_t xref_at = size + out.size();
  char entry[96];
  std::snprintf(entry, sizeof entry, "xref\n%" PRIu64 " 1\n%010" PRIu64 " %05" PRIu64 " n \n",
                root->number, object_at, root->generation);
  out += entry;
  out += "trailer\n<< /Size " + std::string(*objects);
  for (const char* key : {"/Root", "/Info", "/ID"})
    if (auto v = Value(*trailer, key)) out += " " + std::string(key) + " " + std::string(*v);
  out += " /Prev " + std::to_string(*xref) + " >>\nstartxref\n" + std::to_string(xref_at) +
         "\n%%EOF\n";
  return out;
}

void AskForActualSize(OutFile& file, uint64_t size) {
  file.Flush();
  // The temporary file was made by this process with O_EXCL; it is read
  // back without following a link, and must hold exactly what was written.
  const int fd = ::open(file.path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) Raise(ErrnoToRtError(errno), file.path());
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) Raise(ErrnoToRtError(errno), file.path());
  if (!S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) != size)
    Raise(kErrPathFileAccess, file.path() + " changed while it was written");
  const PdfReader read = [&](uint64_t offset, size_t count) {
    std::string bytes(count, '\0');
    size_t got = 0;
    while (got < count) {
      const ssize_t n = ::pread(fd, bytes.data() + got, count - got,
                                static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Raise(ErrnoToRtError(errno), file.path());
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  };
  if (const auto update = ActualSizeUpdate(read, size)) file.Write(*update);
}

}  // namespace ub04
