// C++ interface of the UB-04 claim formatter (C++17 or later).
//
// The classes here are handles on the library's own objects: they hold a
// pointer to an implementation the library keeps, so a host sees only these
// calls and nothing of the formatter's internals. They follow the same rules
// as the C interface (ub04/ub04.h): the call order, the message numbers and
// the results documented there hold here too.
//
//   ub04::api::Format_Class fc;              // a run of its own
//   fc.HereIsAMessage("1", "/var/claims");   // output folder
//   fc.HereIsAMessage("2", "batch.fmt");     // formatted-record file
//   fc.FormatRecord(key, rec);               // ... every record of the batch
//   fc.ProcessEndOfFile();                   // last claim and the "T" line
//   fc.ProcessFormattedRecords();            // print it
//
// After a call with a non-zero result read GetAMessage(1), GetAMessage(2),
// ... until "END"; the next call empties the queue. All calls on an object
// come from the thread that created it.
//
// Errors: the calls of Format_Class never throw. The helper classes' calls
// that can fail throw std::runtime_error whose what() is the run-time error,
// number first (" 9 Subscript out of range"); allocation failures throw
// std::bad_alloc.
#ifndef UB04_FORMAT_CLASS_HPP
#define UB04_FORMAT_CLASS_HPP

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ub04/export.h"
#include "ub04/version.h"

namespace ub04::api {

// A claim as the run decided it, read by name: plain items ("account",
// "total_charges", "fate"), and lists ("lines", "payers", "findings", ...)
// whose entries have items of their own. docs/host-protocol.md lists every
// name. A record lives only during the callback that receives it.
class UB04_API ClaimRecord {
 public:
  // A plain item; nullopt for a name that is not one.
  std::optional<std::string> Item(const std::string& name) const;
  // The number of entries of a list; -1 for a name that is not a list.
  int32_t Count(const std::string& list) const;
  // An item of entry index (from 0) of a list; nullopt when not there.
  std::optional<std::string> ListItem(const std::string& list, int32_t index,
                                      const std::string& name) const;
  // The whole record as one line of JSON.
  std::string Json() const;

 private:
  friend class Format_Class;
  explicit ClaimRecord(const void* record) : record_(record) {}
  const void* record_;
};

class UB04_API Format_Class {
 public:
  // Creates a run of its own: instances never share anything.
  Format_Class();
  // Abandons an unfinished batch and closes the database connection.
  ~Format_Class();
  Format_Class(const Format_Class&) = delete;
  Format_Class& operator=(const Format_Class&) = delete;

  // gsErrorMsg: the last error text the run composed; the host may set it.
  std::string& gsErrorMsg();
  const std::string& gsErrorMsg() const;

  // " N//TEXT//" for queue entry lIndex (1-based), or "END".
  std::string GetAMessage(int32_t& lIndex);
  int16_t HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg);
  int16_t FormatRecord(const std::string& sKey, const std::string& sRec);
  int16_t ProcessEndOfFile();
  int16_t ProcessFormattedRecords();

  // Called with each claim's record in the call that decided it (written,
  // held or refused), in batch order; an empty function stops the calls.
  // The callback must not call back into this object; what it throws is
  // ignored.
  using ClaimCallback = std::function<void(const ClaimRecord&)>;
  void SetClaimCallback(ClaimCallback callback);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// An amount: fixed point with four decimals, so sums are exact. 12.5 is
// FromScaled(125000).
class Currency {
 public:
  constexpr Currency() = default;
  static constexpr Currency FromScaled(int64_t ten_thousandths) {
    Currency c;
    c.v_ = ten_thousandths;
    return c;
  }
  constexpr int64_t Scaled() const { return v_; }
  constexpr double ToDouble() const { return static_cast<double>(v_) / 10000.0; }
  friend constexpr bool operator==(Currency a, Currency b) { return a.v_ == b.v_; }
  friend constexpr bool operator!=(Currency a, Currency b) { return a.v_ != b.v_; }
  friend constexpr bool operator<(Currency a, Currency b) { return a.v_ < b.v_; }

 private:
  int64_t v_ = 0;
};

// One payment adjustment: group, reason, amount and units.
struct PaymentAdjStruct {
  std::string sGroup;
  std::string sReason;
  Currency curAmount;
  double dfUnit = 0;
};

// Payment adjustment codes: "group|reason|amount|units|..." lists (every
// field followed by "|" but the last), merged by group and reason and
// ordered by group. Errors go, at each call, to the run of the newest
// Format_Class alive on the calling thread (its message queue and log);
// while none is alive they go to no queue a host reads.
class UB04_API PayAdjHelper {
 public:
  PayAdjHelper();
  ~PayAdjHelper();
  PayAdjHelper(const PayAdjHelper&) = delete;
  PayAdjHelper& operator=(const PayAdjHelper&) = delete;

  // Merges sDetailIns into the running total sTot ("" leaves it as it is).
  // Returns 0, or 3 with the error queued and sTot unchanged.
  int16_t AddThePaymentAdjCodes(std::string& sTot, const std::string& sDetailIns);
  // Reads sAdjCodes into aStructs: at least one element, a blank one when
  // the text holds no complete adjustment. Returns 0; throws for a text
  // over 32767 bytes (error 6).
  int16_t ParseThePaymentAdjCodeStructs(const std::string& sAdjCodes,
                                        std::vector<PaymentAdjStruct>& aStructs);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class CCFormInfoArray;

// One custom-form (medical necessity) question and its answer. The fields
// are reached through references; a copy is a separate question with the
// same values.
class UB04_API CCFormInfo {
 public:
  CCFormInfo();
  CCFormInfo(const CCFormInfo& other);
  CCFormInfo& operator=(const CCFormInfo& other);
  ~CCFormInfo();

  std::string& sChargeCustomForm();  // "CMS-849", "CMS-10126" or "CMS-846"
  std::string& sQuestionIDName();    // upper case, e.g. "NARRATIVE"
  std::string& sQuestionType();      // "O", "D", "T" or "I"
  std::string& sAnswerValue();
  std::string& sQuestionNumber();    // number on the printed form, "X" for a header item
  int16_t& iSequence();              // ordering key within a form
  const std::string& sChargeCustomForm() const;
  const std::string& sQuestionIDName() const;
  const std::string& sQuestionType() const;
  const std::string& sAnswerValue() const;
  const std::string& sQuestionNumber() const;
  int16_t iSequence() const;

  // The five texts to "" and iSequence to 0.
  void EmptyMe();
  // Sets sQuestionNumber (and sQuestionType) from the form and question name.
  void DetermineQuestionNumber();

 private:
  friend class CCFormInfoArray;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A fixed list of 100 questions (slots 1..100) for one charge group.
class UB04_API CCFormInfoArray {
 public:
  static constexpr int16_t kSlots = 100;

  CCFormInfoArray();
  ~CCFormInfoArray();
  CCFormInfoArray(const CCFormInfoArray&) = delete;
  CCFormInfoArray& operator=(const CCFormInfoArray&) = delete;

  // Puts a new, empty question in every slot; questions handed out before
  // stay valid but no longer belong to the list.
  void Empty_Me();
  // The question in slot n (1..100), shared with the list: changes through
  // it show in the list. Throws for any other n (error 9).
  std::shared_ptr<CCFormInfo> GetCustomFormInfo(int16_t n);
  // Copies obj's form, question name and answer into the first free slot
  // and numbers it; a "CMS-849" narrative is split on ";" into up to three
  // slots. With no free slot nothing changes. Throws for a narrative over
  // 32767 bytes (error 6).
  void AddTail(const CCFormInfo& obj);
  // Orders the used slots by form, then iSequence; equal keys keep their
  // order.
  void SortArray();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ub04::api

#endif
