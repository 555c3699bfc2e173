// What the micro-benchmarks share: sample records of a typical batch, and a
// formatter whose formatted-record file and run log go to /dev/null, so a
// benchmark measures the component's work and not the disk.
#pragma once

#include <string>

#include "host/format_class.h"

namespace ub04_bench {

// Keys and record texts as bench/gen writes them.
struct Sample {
  const char* key;
  const char* rec;
};

extern const Sample kPractice, kInsurance, kCalcPref, kBreakPref, kPatient, kSubscriber;
// A full charge record (150 tokens, ICD-10 codes, a drug line) and its
// usual companions.
extern const Sample kCharge, kServicingProvider, kOtherInsurance, kEndOfCharge;

// One formatter run in a private folder whose two output files are links to
// /dev/null. The practice, insurance, preference, patient and subscriber
// records are fed on construction; log_level is the run-log verbosity from
// then on (the first record forces 2, the production level).
class NullRun {
 public:
  explicit NullRun(int log_level = 2);
  ~NullRun();
  NullRun(const NullRun&) = delete;
  NullRun& operator=(const NullRun&) = delete;

  // FormatRecord, then reads the queue as a host does. The first failure
  // is kept: a benchmark reports it instead of a time, so a broken build
  // cannot pass for a fast one.
  void Feed(const Sample& s);
  // A charge record and its companions, without the end-of-charge record.
  void FeedChargeBody();
  // One charge with its companions and its end-of-charge record.
  void FeedCharge();

  // "" while every record was taken.
  const std::string& failure() const { return failure_; }

 private:
  void Drain();
  std::string dir_;
  std::string failure_;
  ub04::Format_Class fc_;
};

}  // namespace ub04_bench
