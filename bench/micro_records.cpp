// The record path through the public interface: a charge parse, the
// end-of-charge record (break check, fold-in, detail line) and the record
// that closes a claim and writes it. Each runs at log verbosity 2 (what the
// first record forces) and 0 (to show what tracing costs); the outputs go to
// /dev/null.
#include <benchmark/benchmark.h>

#include "bench/micro_support.h"

namespace {

using ub04_bench::NullRun;

void Report(benchmark::State& state, const NullRun& run) {
  if (!run.failure().empty()) state.SkipWithError(run.failure().c_str());
}

// "6000": clears the charge group and parses a 150-token charge record.
void BM_ChargeParse(benchmark::State& state) {
  NullRun run(static_cast<int>(state.range(0)));
  for (auto _ : state) run.Feed(ub04_bench::kCharge);
  Report(state, run);
}
BENCHMARK(BM_ChargeParse)->Arg(2)->Arg(0)->ArgName("log");

// "6990" after a charge with two companions: the break check against the
// previous charge, the copy into the Last state and the detail line. The
// same charge repeats, so a claim fills to 22 lines and is written on the
// 23rd: one claim write per 22 iterations is part of the time (see
// BM_ClaimWritten for what that costs alone).
void BM_EndOfCharge(benchmark::State& state) {
  NullRun run(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    run.FeedChargeBody();
    state.ResumeTiming();
    run.Feed(ub04_bench::kEndOfCharge);
  }
  Report(state, run);
}
BENCHMARK(BM_EndOfCharge)->Arg(2)->Arg(0)->ArgName("log");

// One charge with its companions, from "6000" to "6990": the unit of work
// of a batch.
void BM_WholeCharge(benchmark::State& state) {
  NullRun run(static_cast<int>(state.range(0)));
  for (auto _ : state) run.FeedCharge();
  Report(state, run);
}
BENCHMARK(BM_WholeCharge)->Arg(2)->Arg(0)->ArgName("log");

// One claim written: the "6990" that follows a new patient record breaks the
// claim of `lines` service lines built so far, writes it (every box, the
// lines and totals of each page) and starts the next claim.
void BM_ClaimWritten(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  NullRun run(2);
  run.FeedCharge();  // the first charge never checks for a break
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 1; i < lines; ++i) run.FeedCharge();  // the claim has one line already
    run.Feed(ub04_bench::kPatient);
    run.FeedChargeBody();
    state.ResumeTiming();
    run.Feed(ub04_bench::kEndOfCharge);
  }
  Report(state, run);
}
BENCHMARK(BM_ClaimWritten)->Arg(1)->Arg(8)->Arg(22)->ArgName("lines");

}  // namespace
