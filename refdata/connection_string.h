// The connection string of the host's "CONNECTIONSTRING" message, the login
// the host provides for it, and the one masking of passwords that every
// message, error and log line goes through.
//
//   "Driver=X;Server=Y;..."  (any text holding "=") is used as given;
//   "reference"              becomes "DSN=reference", plus ";UID=u;PWD=p"
//                            when the host provides a login (below).
//
// No login is built into the component. A login comes from the environment
// (UB04_DB_USER and UB04_DB_PASSWORD) or from the file UB04_DB_CREDENTIALS
// names: two lines, user then password, owned by the running user and
// readable by no one else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ub04 {

struct DbLogin {
  std::string user;
  std::string password;
  // Where each came from, for messages that must never show the values.
  std::string user_source = "UB04_DB_USER";
  std::string password_source = "UB04_DB_PASSWORD";
};

// The login the host provides; nullopt when it provides none. A credentials
// file that is missing, unreadable, not a plain file, owned by someone else
// or readable by group or others raises RtError (75 or 53) whose text names
// the file and what is wrong with it, never its contents.
std::optional<DbLogin> HostLogin();

// An attribute value as a connection string carries it: wrapped in braces,
// with "}" doubled, when it holds ";", "{", "}" or surrounding blanks.
std::string OdbcValue(std::string_view value);

// True when the host's text is a whole connection string: it holds "=" and
// is not the path of an existing file.
bool IsFullConnectionString(const std::string& host_text);

// The connection string for the host's text (see above). A user or password
// holding ";", "{" or "}" is refused (RtError 5 naming the setting, never
// the value): not every driver reads braced values, and one that does not
// would take the rest of the value as attributes of its own.
std::string ComposeConnectionString(const std::string& host_text,
                                    const std::optional<DbLogin>& login);

// The value of attribute key (case-insensitive) in a connection string,
// braces removed; "" when absent.
std::string OdbcAttribute(std::string_view connection_string, std::string_view key);

// text with every password hidden: each "PWD=" / "PASSWORD=" value in text
// itself, and every occurrence of the password connection_string holds,
// read "***".
std::string MaskPassword(std::string text, std::string_view connection_string = {});

}  // namespace ub04
