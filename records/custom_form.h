// Custom-form (medical necessity) answers: CCFormInfo, one question and its
// answer, and CCFormInfoArray, a fixed list of up to 100 of them per charge
// group.
//
// The forms are "CMS-849" (seat lift mechanism), "CMS-10126" (enteral and
// parenteral nutrition) and "CMS-846" (pneumatic compression devices).
// DetermineQuestionNumber gives a question its number on the printed form
// ("X" for header items) and its answer kind ("O", "D", "T" or "I").
//
// Slots are objects shared by reference: GetCustomFormInfo hands out the
// object of a slot, so a caller's changes show in the list, and an object
// handed out stays valid after Empty_Me (which puts new objects in every
// slot) or after the list itself is gone. The component never fills these
// lists; hosts and callers do.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace ub04 {

class CCFormInfo {
 public:
  std::string sChargeCustomForm;  // "CMS-849", "CMS-10126" or "CMS-846"
  std::string sQuestionIDName;    // upper case, e.g. "NARRATIVE"
  std::string sQuestionType;      // "O", "D", "T" or "I"
  std::string sAnswerValue;
  std::string sQuestionNumber;    // number on the printed form, "X" for a header item
  int16_t iSequence = 0;          // ordering key within a form

  // The five texts to "" and iSequence to 0.
  void EmptyMe();

  // Sets sQuestionNumber (and sQuestionType) from the form and question
  // name, compared exactly. A question or form not in the tables leaves the
  // number "" and the type as it was. The five numbered "CMS-846" questions
  // also set iSequence to their number.
  void DetermineQuestionNumber();
};

class CCFormInfoArray {
 public:
  static constexpr int16_t kSlots = 100;

  CCFormInfoArray() = default;

  // Puts a new, empty object in every slot 1..100.
  void Empty_Me();

  // The object in slot n (1..100), shared, not copied. Any other n raises
  // error 9.
  std::shared_ptr<CCFormInfo> GetCustomFormInfo(int16_t n);

  // Copies form, question name and answer of obj into the first free slot
  // (form "") and numbers it. A "CMS-849" narrative ("C1") is split on ";":
  // its second and third lines go into the next free slots as "C2" and "C3";
  // further lines are dropped. With no free slot nothing changes.
  void AddTail(const CCFormInfo& obj);

  // Orders the used slots by form (byte order), then iSequence; equal keys
  // keep their order. Free slots stay where they are.
  void SortArray();

 private:
  bool IsFree(int i) const;     // i 0-based
  CCFormInfo& Slot(int i);      // i 0-based, created on first use
  int NextFree(int from) const; // first free slot at or after from, or kSlots

  // A null slot stands for a new, empty object that nobody has seen yet, so
  // a fresh list costs no allocation.
  std::array<std::shared_ptr<CCFormInfo>, kSlots> slots_;
};

}  // namespace ub04
