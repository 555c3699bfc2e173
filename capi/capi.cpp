// The C interface: a thin shell that keeps exceptions on the C++ side.
#include "capi/ub04.h"

#include <deque>
#include <new>
#include <string>

#include "base/msgbox.h"
#include "claim/claim_fields.h"
#include "host/format_class.h"
#include "host/run_state.h"

// A claim record during the host's callback, with the storage behind every
// text read from it.
struct ub04_claim {
  const ub04::ClaimRecord& record;
  mutable std::deque<std::string> texts;

  const char* Keep(std::string text) const { return texts.emplace_back(std::move(text)).c_str(); }
};

struct ub04_format {
  ub04::Format_Class impl;
  std::string last;  // storage behind the returned texts
  ub04_claim_fn on_claim = nullptr;
  void* on_claim_user = nullptr;
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
    auto* f = new ub04_format();
    f->impl.AddClaimObserver([f](const ub04::ClaimRecord& record) {
      if (!f->on_claim) return;
      const ub04_claim claim{record, {}};
      f->on_claim(&claim, f->on_claim_user);
    });
    return f;
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
  if (!f) return ub04::kFailed;
  try {
    return f->impl.HereIsAMessage(Str(msg_nr), Str(msg));
  } catch (...) {
    return ub04::kFailed;
  }
}

int16_t ub04_format_record(ub04_format* f, const char* key, const char* rec) {
  if (!f) return ub04::kReported;
  try {
    return f->impl.FormatRecord(Str(key), Str(rec));
  } catch (...) {
    return ub04::kReported;
  }
}

int16_t ub04_process_end_of_file(ub04_format* f) {
  if (!f) return ub04::kReported;
  try {
    return f->impl.ProcessEndOfFile();
  } catch (...) {
    return ub04::kReported;
  }
}

int16_t ub04_process_formatted_records(ub04_format* f) {
  if (!f) return ub04::kReported;
  try {
    return f->impl.ProcessFormattedRecords();
  } catch (...) {
    return ub04::kReported;
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

void ub04_set_claim_callback(ub04_format* f, ub04_claim_fn fn, void* user) {
  if (!f) return;
  f->on_claim = fn;
  f->on_claim_user = user;
}

const char* ub04_claim_item(const ub04_claim* claim, const char* name) {
  if (!claim || !name) return nullptr;
  try {
    std::string value;
    return ub04::ClaimItem(claim->record, name, value) ? claim->Keep(std::move(value)) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

int32_t ub04_claim_count(const ub04_claim* claim, const char* list) {
  if (!claim || !list) return -1;
  return ub04::ClaimListSize(claim->record, list);
}

const char* ub04_claim_list_item(const ub04_claim* claim, const char* list, int32_t index,
                                 const char* name) {
  if (!claim || !list || !name) return nullptr;
  try {
    std::string value;
    if (!ub04::ClaimListItem(claim->record, list, index, name, value)) return nullptr;
    return claim->Keep(std::move(value));
  } catch (...) {
    return nullptr;
  }
}

const char* ub04_claim_json(const ub04_claim* claim) {
  if (!claim) return nullptr;
  try {
    return claim->Keep(ub04::ClaimJson(claim->record));
  } catch (...) {
    return nullptr;
  }
}

}  // extern "C"
