#include "records/custom_form.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "base/runtime.h"

namespace ub04 {

namespace {

struct QuestionRule {
  std::string_view name;
  std::string_view number;
  std::string_view type;
  int16_t sequence = 0;  // 0: iSequence is left alone
};

constexpr QuestionRule kCms849[] = {
    {"AMBULATE", "B4", "O"},
    {"ARTHRITISHIPKNEE", "B1", "O"},
    {"CANNOTSTANDUP", "B3", "O"},
    {"CERTIFICATIONDATE", "X", "D"},
    {"CERTIFICATIONTYPE", "X", "O"},
    {"HCPCS1", "X", "T"},
    {"HCPCS2", "X", "T"},
    {"HCPCS3", "X", "T"},
    {"HCPCS4", "X", "T"},
    {"MODALITIESFAILED", "B5", "O"},
    {"NARRATIVE", "C1", "T"},
    {"NEEDLENGTH", "X", "I"},
    {"NEUROMUSCULAR", "B2", "O"},
    {"PATIENTHEIGHT", "X", "T"},
    {"PATIENTWEIGHT", "X", "T"},
    {"SECBEMPLOYER", "X", "T"},
    {"SECBNAME", "X", "T"},
    {"SECBTITLE", "X", "T"},
};

constexpr QuestionRule kCms10126[] = {
    {"ADMINISTRATIONMETHOD", "5", "T"},
    {"ADMINISTRATIONROUTE", "9", "T"},
    {"AMINOACIDCONCENTRATION", "8", "I"},
    {"AMINOACIDML", "8", "T"},
    {"AMINOACIDPROTEIN", "8", "T"},
    {"CALORIES1", "4A", "T"},
    {"CALORIES2", "4B", "T"},
    {"CERTIFICATIONDATE", "X", "D"},
    {"CERTIFICATIONTYPE", "X", "O"},
    {"DAYSADMINISTERED", "6", "T"},
    {"DEXTROSECONCENTRATION", "8", "I"},
    {"DEXTROSEML", "8", "T"},
    {"HCPCS1", "X", "T"},
    {"HCPCS2", "X", "T"},
    {"HCPCS3", "X", "T"},
    {"HCPCS4", "X", "T"},
    {"LIPIDSCONCENTRATION", "8", "I"},
    {"LIPIDSDAYS", "8", "T"},
    {"LIPIDSML", "8", "T"},
    {"NEEDLENGTH", "X", "I"},
    {"NONFUNCTIONBEFORESMALLBOWEL", "1", "O"},
    {"NUTRITIONVIATUBE", "2", "O"},
    {"PATIENTHEIGHT", "X", "T"},
    {"PATIENTWEIGHT", "X", "T"},
    {"PRODUCTHCPCS1", "3A", "T"},
    {"PRODUCTHCPCS2", "3B", "T"},
    {"SEVEREMALABSORPTION", "7", "O"},
};

constexpr QuestionRule kCms846[] = {
    {"CERTIFICATIONDATE", "X", "D"},
    {"CHRONICVENOUS", "1", "O", 1},
    {"SEENANDTREATEDULCERS", "2", "O", 2},
    {"INTERRUPTEDNORMALDRAINAGE", "3", "O", 3},
    {"MALIGNANTTUMOR", "4", "O", 4},
    {"LYMPHEDEMA", "5", "O", 5},
    {"CERTIFICATIONTYPE", "X", "O"},
    {"HCPCS1", "X", "T"},
    {"HCPCS2", "X", "T"},
    {"HCPCS3", "X", "T"},
    {"HCPCS4", "X", "T"},
    {"NARRATIVE", "X", "T"},
    {"NEEDLENGTH", "X", "I"},
    {"PATIENTHEIGHT", "X", "T"},
    {"PATIENTWEIGHT", "X", "T"},
    {"SECBEMPLOYER", "X", "T"},
    {"SECBNAME", "X", "T"},
    {"SECBTITLE", "X", "T"},
};

struct FormTable {
  std::string_view form;
  std::span<const QuestionRule> rules;
};

constexpr FormTable kForms[] = {
    {"CMS-849", kCms849},
    {"CMS-10126", kCms10126},
    {"CMS-846", kCms846},
};

constexpr std::string_view kNarrativeForm = "CMS-849";
constexpr std::string_view kNarrativeFirst = "C1";
// Numbers of the narrative's second and third lines.
constexpr std::string_view kNarrativeMore[] = {"C2", "C3"};

}  // namespace

void CCFormInfo::EmptyMe() { *this = CCFormInfo(); }

void CCFormInfo::DetermineQuestionNumber() {
  sQuestionNumber.clear();
  for (const FormTable& f : kForms) {
    if (f.form != sChargeCustomForm) continue;
    for (const QuestionRule& r : f.rules) {
      if (r.name != sQuestionIDName) continue;
      sQuestionNumber = r.number;
      sQuestionType = r.type;
      if (r.sequence != 0) iSequence = r.sequence;
      return;
    }
    return;
  }
}

bool CCFormInfoArray::IsFree(int i) const {
  const auto& s = slots_[static_cast<size_t>(i)];
  return !s || s->sChargeCustomForm.empty();
}

CCFormInfo& CCFormInfoArray::Slot(int i) {
  auto& s = slots_[static_cast<size_t>(i)];
  if (!s) s = std::make_shared<CCFormInfo>();
  return *s;
}

int CCFormInfoArray::NextFree(int from) const {
  while (from < kSlots && !IsFree(from)) ++from;
  return from;
}

void CCFormInfoArray::Empty_Me() {
  for (auto& s : slots_) s.reset();
}

std::shared_ptr<CCFormInfo> CCFormInfoArray::GetCustomFormInfo(int16_t n) {
  if (n < 1 || n > kSlots) Raise(kErrSubscript);
  Slot(n - 1);
  return slots_[static_cast<size_t>(n - 1)];
}

void CCFormInfoArray::AddTail(const CCFormInfo& obj) {
  const int i = NextFree(0);
  if (i >= kSlots) return;

  // Worked out on a copy so that a narrative too long to split leaves the
  // list as it was.
  CCFormInfo& slot = Slot(i);
  CCFormInfo added = slot;
  added.sChargeCustomForm = obj.sChargeCustomForm;
  added.sQuestionIDName = obj.sQuestionIDName;
  added.sAnswerValue = obj.sAnswerValue;
  added.DetermineQuestionNumber();
  const bool narrative =
      added.sQuestionNumber == kNarrativeFirst && added.sChargeCustomForm == kNarrativeForm;
  Tokens lines;
  if (narrative) {
    SplitTokens(added.sAnswerValue, ";", lines);
    added.sAnswerValue = lines[0];
  }
  slot = std::move(added);
  if (!narrative) return;

  // Later lines go into free slots only, so a filled answer is never
  // overwritten; past slot 100 they are dropped.
  int next = i;
  for (size_t k = 1; k < lines.size() && k <= std::size(kNarrativeMore); ++k) {
    next = NextFree(next + 1);
    if (next >= kSlots) return;
    CCFormInfo& more = Slot(next);
    more.sChargeCustomForm = slot.sChargeCustomForm;
    more.sQuestionIDName = slot.sQuestionIDName;
    more.sAnswerValue = lines[k];
    more.sQuestionNumber = kNarrativeMore[k - 1];
    more.sQuestionType = "T";
  }
}

void CCFormInfoArray::SortArray() {
  // The used slots are ordered among their own positions; the objects move,
  // so references handed out follow their answer.
  std::array<int, kSlots> pos;
  std::array<std::shared_ptr<CCFormInfo>, kSlots> used;
  size_t n = 0;
  for (int i = 0; i < kSlots; ++i) {
    if (IsFree(i)) continue;
    pos[n] = i;
    used[n++] = slots_[static_cast<size_t>(i)];
  }
  std::stable_sort(used.begin(), used.begin() + static_cast<std::ptrdiff_t>(n),
                   [](const auto& a, const auto& b) {
                     if (a->sChargeCustomForm != b->sChargeCustomForm)
                       return a->sChargeCustomForm < b->sChargeCustomForm;
                     return a->iSequence < b->iSequence;
                   });
  for (size_t k = 0; k < n; ++k) slots_[static_cast<size_t>(pos[k])] = std::move(used[k]);
}

}  // namespace ub04
