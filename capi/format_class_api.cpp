// The public C++ interface (ub04/format_class.hpp): handles that forward to
// the library's own classes, so a host compiled as C++17 against the
// installed headers sees none of the internals.
#include "ub04/format_class.hpp"

#include <new>
#include <stdexcept>

#include "base/runtime.h"
#include "claim/claim_fields.h"
#include "claim/payment_adjustments.h"
#include "host/format_class.h"
#include "records/custom_form.h"

namespace ub04::api {

namespace {

// A run-time error of the helper classes reaches a C++ host as a standard
// exception carrying the same text the error handlers write.
template <class F>
decltype(auto) Translate(F&& body) {
  try {
    return ub04::Guard(body);
  } catch (const ub04::RtError& e) {
    if (e.number() == ub04::kErrOutOfMemory) throw std::bad_alloc();  // as Guard turned it
    throw std::runtime_error(ub04::ErrorText(e));
  }
}

}  // namespace

// ---- Format_Class ----------------------------------------------------------

// ---- ClaimRecord -----------------------------------------------------------

namespace {
const ub04::ClaimRecord& Of(const void* record) {
  return *static_cast<const ub04::ClaimRecord*>(record);
}
}  // namespace

std::optional<std::string> ClaimRecord::Item(const std::string& name) const {
  std::string value;
  if (!ub04::ClaimItem(Of(record_), name, value)) return std::nullopt;
  return value;
}

int32_t ClaimRecord::Count(const std::string& list) const {
  return ub04::ClaimListSize(Of(record_), list);
}

std::optional<std::string> ClaimRecord::ListItem(const std::string& list, int32_t index,
                                                 const std::string& name) const {
  std::string value;
  if (!ub04::ClaimListItem(Of(record_), list, index, name, value)) return std::nullopt;
  return value;
}

std::string ClaimRecord::Json() const { return ub04::ClaimJson(Of(record_)); }

struct Format_Class::Impl {
  ub04::Format_Class fc;
  ClaimCallback on_claim;
};

Format_Class::Format_Class() : impl_(std::make_unique<Impl>()) {
  Impl* impl = impl_.get();
  impl->fc.AddClaimObserver([impl](const ub04::ClaimRecord& record) {
    if (impl->on_claim) impl->on_claim(ClaimRecord(&record));
  });
}
Format_Class::~Format_Class() = default;

void Format_Class::SetClaimCallback(ClaimCallback callback) {
  impl_->on_claim = std::move(callback);
}

std::string& Format_Class::gsErrorMsg() { return impl_->fc.gsErrorMsg; }
const std::string& Format_Class::gsErrorMsg() const { return impl_->fc.gsErrorMsg; }

std::string Format_Class::GetAMessage(int32_t& lIndex) { return impl_->fc.GetAMessage(lIndex); }

// The calls below never throw: a failure the run did not catch itself is an
// error result, as the C interface answers it.
int16_t Format_Class::HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg) {
  try {
    return impl_->fc.HereIsAMessage(sMsgNr, sMsg);
  } catch (...) {
    return ub04::kFailed;
  }
}

int16_t Format_Class::FormatRecord(const std::string& sKey, const std::string& sRec) {
  try {
    return impl_->fc.FormatRecord(sKey, sRec);
  } catch (...) {
    return ub04::kReported;
  }
}

int16_t Format_Class::ProcessEndOfFile() {
  try {
    return impl_->fc.ProcessEndOfFile();
  } catch (...) {
    return ub04::kReported;
  }
}

int16_t Format_Class::ProcessFormattedRecords() {
  try {
    return impl_->fc.ProcessFormattedRecords();
  } catch (...) {
    return ub04::kReported;
  }
}

// ---- PayAdjHelper ----------------------------------------------------------

struct PayAdjHelper::Impl {
  ub04::PayAdjHelper helper;
};

PayAdjHelper::PayAdjHelper() : impl_(std::make_unique<Impl>()) {}
PayAdjHelper::~PayAdjHelper() = default;

int16_t PayAdjHelper::AddThePaymentAdjCodes(std::string& sTot, const std::string& sDetailIns) {
  return Translate([&] { return impl_->helper.AddThePaymentAdjCodes(sTot, sDetailIns); });
}

int16_t PayAdjHelper::ParseThePaymentAdjCodeStructs(const std::string& sAdjCodes,
                                                    std::vector<PaymentAdjStruct>& aStructs) {
  return Translate([&] {
    std::vector<ub04::PaymentAdjStruct> parsed;
    int16_t result = impl_->helper.ParseThePaymentAdjCodeStructs(sAdjCodes, parsed);
    std::vector<PaymentAdjStruct> out;
    out.reserve(parsed.size());
    for (auto& s : parsed)
      out.push_back({std::move(s.sGroup), std::move(s.sReason),
                     Currency::FromScaled(s.curAmount.scaled()), s.dfUnit});
    aStructs = std::move(out);  // the caller's array changes only on success
    return result;
  });
}

// ---- CCFormInfo ------------------------------------------------------------

// A question is shared with a list's slot when the list handed it out.
struct CCFormInfo::Impl {
  std::shared_ptr<ub04::CCFormInfo> obj;
};

CCFormInfo::CCFormInfo()
    : impl_(std::make_unique<Impl>(Impl{std::make_shared<ub04::CCFormInfo>()})) {}

CCFormInfo::CCFormInfo(const CCFormInfo& other)
    : impl_(std::make_unique<Impl>(Impl{std::make_shared<ub04::CCFormInfo>(*other.impl_->obj)})) {}

CCFormInfo& CCFormInfo::operator=(const CCFormInfo& other) {
  if (this != &other) *impl_->obj = *other.impl_->obj;
  return *this;
}

CCFormInfo::~CCFormInfo() = default;

std::string& CCFormInfo::sChargeCustomForm() { return impl_->obj->sChargeCustomForm; }
std::string& CCFormInfo::sQuestionIDName() { return impl_->obj->sQuestionIDName; }
std::string& CCFormInfo::sQuestionType() { return impl_->obj->sQuestionType; }
std::string& CCFormInfo::sAnswerValue() { return impl_->obj->sAnswerValue; }
std::string& CCFormInfo::sQuestionNumber() { return impl_->obj->sQuestionNumber; }
int16_t& CCFormInfo::iSequence() { return impl_->obj->iSequence; }
const std::string& CCFormInfo::sChargeCustomForm() const { return impl_->obj->sChargeCustomForm; }
const std::string& CCFormInfo::sQuestionIDName() const { return impl_->obj->sQuestionIDName; }
const std::string& CCFormInfo::sQuestionType() const { return impl_->obj->sQuestionType; }
const std::string& CCFormInfo::sAnswerValue() const { return impl_->obj->sAnswerValue; }
const std::string& CCFormInfo::sQuestionNumber() const { return impl_->obj->sQuestionNumber; }
int16_t CCFormInfo::iSequence() const { return impl_->obj->iSequence; }

void CCFormInfo::EmptyMe() { impl_->obj->EmptyMe(); }

void CCFormInfo::DetermineQuestionNumber() {
  Translate([&] { impl_->obj->DetermineQuestionNumber(); });
}

// ---- CCFormInfoArray -------------------------------------------------------

struct CCFormInfoArray::Impl {
  ub04::CCFormInfoArray list;
};

CCFormInfoArray::CCFormInfoArray() : impl_(std::make_unique<Impl>()) {}
CCFormInfoArray::~CCFormInfoArray() = default;

void CCFormInfoArray::Empty_Me() {
  Translate([&] { impl_->list.Empty_Me(); });
}

std::shared_ptr<CCFormInfo> CCFormInfoArray::GetCustomFormInfo(int16_t n) {
  return Translate([&] {
    auto handle = std::make_shared<CCFormInfo>();
    handle->impl_->obj = impl_->list.GetCustomFormInfo(n);
    return handle;
  });
}

void CCFormInfoArray::AddTail(const CCFormInfo& obj) {
  Translate([&] { impl_->list.AddTail(*obj.impl_->obj); });
}

void CCFormInfoArray::SortArray() {
  Translate([&] { impl_->list.SortArray(); });
}

}  // namespace ub04::api
