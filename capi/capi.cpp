// The C interface: a thin shell that keeps exceptions on the C++ side.
#include "capi/ub04.h"

#include <new>
#include <string>

#include "host/format_class.h"
#include "host/run_state.h"
#include "base/msgbox.h"

struct ub04_format {
  ub04::Format_Class impl;
  std::string last;  // storage behind the returned texts
};

namespace {
std::string Str(const char* s) { return s ? std::string(s) : std::string(); }
}  // namespace

extern "C" {

const char* ub04_version(void) {
  // The version of the library actually loaded, built once.
  static const std::string text = ub04::VersionText();
  return text.c_str();
}

ub04_format* ub04_create(void) {
  try {
    return new ub04_format();
  } catch (...) {
    return nullptr;
  }
}

void ub04_destroy(ub04_format* f) { delete f; }

const char* ub04_get_message(ub04_format* f, int32_t index) {
  if (!f) return "END";
  try {
    f->last = f->impl.GetAMessage(index);
  } catch (...) {
    f->last = "END";
  }
  return f->last.c_str();
}

int16_t ub04_here_is_a_message(ub04_format* f, const char* msg_nr, const char* msg) {
  if (!f) return 3;
  try {
    return f->impl.HereIsAMessage(Str(msg_nr), Str(msg));
  } catch (...) {
    return 3;
  }
}

int16_t ub04_format_record(ub04_format* f, const char* key, const char* rec) {
  if (!f) return 1;
  try {
    return f->impl.FormatRecord(Str(key), Str(rec));
  } catch (...) {
    return 1;
  }
}

int16_t ub04_process_end_of_file(ub04_format* f) {
  if (!f) return 1;
  try {
    return f->impl.ProcessEndOfFile();
  } catch (...) {
    return 1;
  }
}

int16_t ub04_process_formatted_records(ub04_format* f) {
  if (!f) return 1;
  try {
    return f->impl.ProcessFormattedRecords();
  } catch (...) {
    return 1;
  }
}

const char* ub04_error_msg(ub04_format* f) {
  if (!f) return "";
  f->last = f->impl.gsErrorMsg;
  return f->last.c_str();
}

void ub04_set_error_msg(ub04_format* f, const char* text) {
  if (f) f->impl.gsErrorMsg = Str(text);
}

void ub04_set_message_box_sink(ub04_message_box_fn fn, void* user) {
  if (!fn) {
    ub04::SetMessageBoxSink({});
    return;
  }
  ub04::SetMessageBoxSink([fn, user](std::string_view text) {
    std::string s(text);
    fn(s.c_str(), user);
  });
}

}  // extern "C"
