#include "refdata/connection_string.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <tuple>
#include <vector>

#include "base/runtime.h"

namespace ub04 {

namespace {

constexpr size_t kMaxCredentialsBytes = 4096;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? v : nullptr;
}

// Closes a descriptor on every path out of the reader.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

[[noreturn]] void RefuseFile(const std::string& path, const std::string& why) {
  Raise(kErrPathFileAccess, "The credentials file " + path + " (UB04_DB_CREDENTIALS) " + why);
}

DbLogin ReadCredentialsFile(const std::string& path) {
  // Not through a link: the file's owner and mode are what is checked.
  Fd f{::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)};
  if (f.fd < 0) {
    int err = errno;
    if (err == ELOOP) RefuseFile(path, "is a symbolic link; name the file itself");
    if (err == ENOENT) Raise(kErrFileNotFound, "The credentials file " + path +
                                                   " (UB04_DB_CREDENTIALS) does not exist");
    RefuseFile(path, "cannot be opened: " + std::string(std::strerror(err)));
  }
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) RefuseFile(path, "cannot be examined");
  if (!S_ISREG(st.st_mode)) RefuseFile(path, "is not a plain file");
  if (st.st_uid != ::geteuid())
    RefuseFile(path, "does not belong to the user running the formatter");
  if ((st.st_mode & 077) != 0) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    RefuseFile(path, std::string("can be read by others (mode ") + mode +
                         "); make it readable by its owner only (chmod 600)");
  }
  if (st.st_size > static_cast<off_t>(kMaxCredentialsBytes))
    RefuseFile(path, "is too large to be a user and a password");
  std::string text(kMaxCredentialsBytes, '\0');
  size_t got = 0;
  for (;;) {
    ssize_t n = ::read(f.fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RefuseFile(path, "cannot be read");
    if (n == 0) break;
    got += static_cast<size_t>(n);
    if (got == text.size()) RefuseFile(path, "is too large to be a user and a password");
  }
  text.resize(got);
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size() && lines.size() < 2) {
    size_t nl = text.find('\n', at);
    std::string line = text.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (nl == std::string::npos) break;
    at = nl + 1;
  }
  if (lines.size() < 2 || lines[0].empty())
    RefuseFile(path, "must hold two lines: the user, then the password");
  return {lines[0], lines[1], "the user line of " + path + " (UB04_DB_CREDENTIALS)",
          "the password line of " + path + " (UB04_DB_CREDENTIALS)"};
}

// Where the value starting at text[from] ends: after its closing brace when
// it is braced ("}}" inside stands for "}"), else at the first ";".
size_t ValueEnd(std::string_view text, size_t from) {
  if (from < text.size() && text[from] == '{') {
    for (size_t i = from + 1; i < text.size(); ++i) {
      if (text[i] != '}') continue;
      if (i + 1 < text.size() && text[i + 1] == '}') {
        ++i;
        continue;
      }
      return i + 1;
    }
    return text.size();
  }
  size_t end = text.find(';', from);
  return end == std::string_view::npos ? text.size() : end;
}

std::string Unbrace(std::string_view v) {
  if (v.size() < 2 || v.front() != '{' || v.back() != '}') return std::string(v);
  std::string out;
  v = v.substr(1, v.size() - 2);
  for (size_t i = 0; i < v.size(); ++i) {
    out += v[i];
    if (v[i] == '}' && i + 1 < v.size() && v[i + 1] == '}') ++i;
  }
  return out;
}

// Hides the values of "PWD=" and "PASSWORD=" wherever text names them. In a
// free text (a driver message) an unbraced value also ends at a blank or a
// quote.
void MaskNamedValues(std::string& text) {
  static constexpr std::string_view kKeys[] = {"PWD=", "PASSWORD="};
  std::string upper = UpperAscii(text);
  for (std::string_view key : kKeys) {
    for (size_t at = upper.find(key); at != std::string::npos; at = upper.find(key, at + 1)) {
      size_t from = at + key.size();
      size_t end = ValueEnd(text, from);
      if (from < text.size() && text[from] != '{') {
        size_t stop = text.find_first_of(" \t\r\n\"'", from);
        if (stop != std::string::npos && stop < end) end = stop;
      }
      if (end == from) continue;
      text.replace(from, end - from, "***");
      upper.replace(from, end - from, "***");
    }
  }
}

void MaskLiteral(std::string& text, const std::string& secret) {
  if (secret.empty()) return;
  for (size_t p = text.find(secret); p != std::string::npos; p = text.find(secret, p + 3))
    text.replace(p, secret.size(), "***");
}

}  // namespace

std::optional<DbLogin> HostLogin() {
  const char* user = Env("UB04_DB_USER");
  const char* password = Env("UB04_DB_PASSWORD");
  if (user != nullptr || password != nullptr)
    return DbLogin{user ? user : "", password ? password : ""};
  if (const char* file = Env("UB04_DB_CREDENTIALS")) return ReadCredentialsFile(file);
  return std::nullopt;
}

std::string OdbcValue(std::string_view v) {
  bool brace = v.find_first_of(";{}") != std::string_view::npos ||
               (!v.empty() && (v.front() == ' ' || v.back() == ' '));
  if (!brace) return std::string(v);
  std::string out = "{";
  for (char c : v) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

bool IsFullConnectionString(const std::string& host_text) {
  if (host_text.find('=') == std::string::npos) return false;
  // A database file whose path happens to hold "=" is still a path.
  std::error_code ec;
  return !std::filesystem::exists(host_text, ec);
}

std::string ComposeConnectionString(const std::string& host_text,
                                    const std::optional<DbLogin>& login) {
  if (IsFullConnectionString(host_text)) return host_text;
  std::string cs = "DSN=" + OdbcValue(host_text);
  if (login) {
    for (const auto& [value, source, what] :
         {std::tuple{&login->user, &login->user_source, "database user"},
          std::tuple{&login->password, &login->password_source, "database password"}})
      if (value->find_first_of(";{}") != std::string::npos)
        Raise(kErrInvalidCall, std::string("The ") + what + " in " + *source +
                                   " holds \";\", \"{\" or \"}\", which a driver may read as "
                                   "attributes of the connection; no connection was made");
    if (!login->user.empty()) cs += ";UID=" + OdbcValue(login->user);
    cs += ";PWD=" + OdbcValue(login->password);
  }
  return cs;
}

std::string OdbcAttribute(std::string_view cs, std::string_view key) {
  size_t at = 0;
  while (at < cs.size()) {
    size_t eq = cs.find('=', at);
    if (eq == std::string_view::npos) return "";
    size_t end = ValueEnd(cs, eq + 1);
    if (SameIgnoringCase(Trim(cs.substr(at, eq - at)), key))
      return Unbrace(cs.substr(eq + 1, end - eq - 1));
    at = end + 1;
  }
  return "";
}

std::string MaskPassword(std::string text, std::string_view cs) {
  MaskNamedValues(text);
  MaskLiteral(text, OdbcAttribute(cs, "PWD"));
  MaskLiteral(text, OdbcAttribute(cs, "PASSWORD"));
  return text;
}

}  // namespace ub04
