// The C interface of PayAdjHelper, CCFormInfo and CCFormInfoArray: thin
// shells that keep exceptions on the C++ side and own the storage behind
// the texts they return.
#include "capi/classes.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "claim/payment_adjustments.h"
#include "base/msgbox.h"
#include "host/run_state.h"
#include "records/custom_form.h"

struct ub04_payadj {
  ub04::PayAdjHelper impl;
  std::string total;                            // behind *total_out
  std::vector<ub04::PaymentAdjStruct> structs;  // behind the item texts
  std::vector<ub04_payment_adj> items;
};

struct ub04_cform {
  std::shared_ptr<ub04::CCFormInfo> obj;  // possibly a list's slot
  std::string last;                       // behind the returned text
};

struct ub04_cform_array {
  ub04::CCFormInfoArray impl;
};

namespace {

std::string Str(const char* s) { return s ? std::string(s) : std::string(); }

// The run-time error number of a failed call; 0 when it went through.
template <class F>
int16_t ErrorNumber(F&& body) {
  try {
    ub04::Guard(body);
    return 0;
  } catch (const ub04::RtError& e) {
    return static_cast<int16_t>(e.number());
  } catch (...) {
    return ub04::kErrInvalidCall;
  }
}

// Creation: a failure is shown in a message box, as the classes' own
// initialisation reports it, and the caller gets NULL.
template <class T>
T* Create(const char* problem, bool with_error) {
  try {
    return ub04::Guard([] { return new T(); });
  } catch (const ub04::RtError& e) {
    try {
      std::string text = ub04::CurrentRun().cx.component_name + problem;
      if (with_error) text += "\r" + ub04::ErrorText(e);
      ub04::ShowMessageBox(text);
    } catch (...) {
    }
    return nullptr;
  }
}

std::string* Field(ub04::CCFormInfo& q, ub04_cform_field field) {
  switch (field) {
    case UB04_CFORM_CHARGE_CUSTOM_FORM: return &q.sChargeCustomForm;
    case UB04_CFORM_QUESTION_ID_NAME: return &q.sQuestionIDName;
    case UB04_CFORM_QUESTION_TYPE: return &q.sQuestionType;
    case UB04_CFORM_ANSWER_VALUE: return &q.sAnswerValue;
    case UB04_CFORM_QUESTION_NUMBER: return &q.sQuestionNumber;
  }
  return nullptr;
}

}  // namespace

extern "C" {

// ---- PayAdjHelper -----------------------------------------------------------

ub04_payadj* ub04_payadj_create(void) {
  return Create<ub04_payadj>(" had a problem in PayAdjHelper.Class_Initialize()", true);
}

void ub04_payadj_destroy(ub04_payadj* p) { delete p; }

int16_t ub04_payadj_add_codes(ub04_payadj* p, const char* total, const char* detail,
                              const char** total_out) {
  if (total_out) *total_out = "";
  if (!p) return ub04::kFailed;
  int16_t status = 3;
  try {
    p->total = Str(total);
    status = p->impl.AddThePaymentAdjCodes(p->total, Str(detail));
  } catch (...) {
    status = 3;  // only the copies above can fail
  }
  if (total_out) *total_out = p->total.c_str();
  return status;
}

int16_t ub04_payadj_parse(ub04_payadj* p, const char* codes, const ub04_payment_adj** items,
                          int32_t* count) {
  if (items) *items = nullptr;
  if (count) *count = 0;
  if (!p) return ub04::kErrInvalidCall;
  int16_t err = ErrorNumber([&] {
    p->impl.ParseThePaymentAdjCodeStructs(Str(codes), p->structs);
    p->items.clear();
    for (const auto& s : p->structs)
      p->items.push_back({s.sGroup.c_str(), s.sReason.c_str(), s.curAmount.scaled(), s.dfUnit});
  });
  if (err != 0) {
    p->structs.clear();
    p->items.clear();
    return err;
  }
  if (items) *items = p->items.data();
  if (count) *count = static_cast<int32_t>(p->items.size());
  return 0;
}

// ---- CCFormInfo -------------------------------------------------------------

ub04_cform* ub04_cform_create(void) {
  try {
    return new ub04_cform{std::make_shared<ub04::CCFormInfo>(), {}};
  } catch (...) {
    return nullptr;
  }
}

void ub04_cform_destroy(ub04_cform* q) { delete q; }

const char* ub04_cform_get(ub04_cform* q, ub04_cform_field field) {
  if (!q) return "";
  const std::string* s = Field(*q->obj, field);
  if (!s) return "";
  try {
    q->last = *s;
  } catch (...) {
    return "";
  }
  return q->last.c_str();
}

int16_t ub04_cform_set(ub04_cform* q, ub04_cform_field field, const char* value) {
  if (!q) return ub04::kErrInvalidCall;
  std::string* s = Field(*q->obj, field);
  if (!s) return ub04::kErrInvalidCall;
  return ErrorNumber([&] { *s = Str(value); });
}

int16_t ub04_cform_sequence(ub04_cform* q) { return q ? q->obj->iSequence : 0; }

void ub04_cform_set_sequence(ub04_cform* q, int16_t sequence) {
  if (q) q->obj->iSequence = sequence;
}

void ub04_cform_empty_me(ub04_cform* q) {
  if (q) q->obj->EmptyMe();
}

void ub04_cform_determine_question_number(ub04_cform* q) {
  if (q) ErrorNumber([&] { q->obj->DetermineQuestionNumber(); });
}

// ---- CCFormInfoArray --------------------------------------------------------

ub04_cform_array* ub04_cform_array_create(void) {
  return Create<ub04_cform_array>(" had a problem in CustomFormInfoArray.Class_Initialize()",
                                  false);
}

void ub04_cform_array_destroy(ub04_cform_array* a) { delete a; }

void ub04_cform_array_empty_me(ub04_cform_array* a) {
  if (a) a->impl.Empty_Me();
}

ub04_cform* ub04_cform_array_get(ub04_cform_array* a, int32_t n) {
  if (!a || n < 1 || n > ub04::CCFormInfoArray::kSlots) return nullptr;
  try {
    auto obj = a->impl.GetCustomFormInfo(static_cast<int16_t>(n));
    return new ub04_cform{std::move(obj), {}};
  } catch (...) {
    return nullptr;
  }
}

int16_t ub04_cform_array_add_tail(ub04_cform_array* a, const ub04_cform* q) {
  if (!a || !q) return ub04::kErrInvalidCall;
  return ErrorNumber([&] { a->impl.AddTail(*q->obj); });
}

void ub04_cform_array_sort(ub04_cform_array* a) {
  if (a) ErrorNumber([&] { a->impl.SortArray(); });
}

}  // extern "C"
