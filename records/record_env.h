// What the record rules need besides the record they read: the run's
// context, a few component-wide values, the This records around the one
// being read, and the lookups that live in the layers above (reference data,
// payment adjustments), reached through RecordServices so that the records
// layer depends on nothing above it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/context.h"
#include "base/runtime.h"
#include "records/record.h"
#include "records/record_groups.h"

namespace ub04 {

class RecordServices {
 public:
  virtual ~RecordServices() = default;
  // The alternate billing NPI of a practice, provider and insurance, or "".
  virtual std::string AlternatePracticeNpi(const std::string& practice_ih_code,
                                           const std::string& provider_ih_code,
                                           const std::string& insurance_ih_code) = 0;
  // Replaces the practice name and address with the stored original ones;
  // False after an error.
  virtual bool OriginalPracticeAddress(Record& practice) = 0;
  // Decides the charge's diagnosis code set against the This insurance.
  virtual void ChooseDiagnosisCodeSet(Record& charge, const Record& insurance) = 0;
  // Merges and orders an other insurance's adjustment list in place.
  virtual void NormalizeAdjustmentCodes(std::string& codes) = 0;
};

// A warning about a token of the record being read, kept for the claim it
// belongs to instead of queued (see ParseEnv::notes).
struct TokenNote {
  std::string rule;     // "NOT-A-NUMBER", "NOT-A-DATE"
  std::string value;    // the token's text
  std::string message;  // what the queue would have said
};

struct ParseEnv {
  Context& cx;
  RecordServices& services;
  // The This copies being filled: a rule of one record may read or set
  // another (the insurance sets the practice NPI; an "MCA" other insurance
  // marks the charge followed).
  TopRecords& top;
  ChargeGroup& group;
  FollowMark& follow;
  // Component-wide values.
  std::string_view form_code;        // "UB04PPA"
  std::string_view npi_legacy_note;  // logged by the practice parser
  Date npi_cutover_date = 0;         // NPIs are dropped while later than today
  bool suppress_upin = true;
  // When set, warnings about tokens (WarnNotANumber, WarnNotADate) are
  // logged and kept here for the host, which reports them with the claim's
  // other findings; when null they are queued.
  std::vector<TokenNote>* notes = nullptr;
};

}  // namespace ub04
