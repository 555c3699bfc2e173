// SplitTokens, the one tokenizer every record goes through, on the longest
// record of a batch: a full charge record of 150 tokens.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/micro_support.h"
#include "base/runtime.h"

namespace {

void BM_SplitTokens_Charge(benchmark::State& state) {
  const std::string rec = ub04_bench::kCharge.rec;
  ub04::Tokens tokens;
  for (auto _ : state) {
    ub04::SplitTokens(rec, "//", tokens);
    benchmark::DoNotOptimize(tokens.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rec.size()));
  state.counters["tokens"] = static_cast<double>(tokens.size());
}
BENCHMARK(BM_SplitTokens_Charge);

// The key of every record: 11 short tokens.
void BM_SplitTokens_Key(benchmark::State& state) {
  const std::string key = ub04_bench::kCharge.key;
  ub04::Tokens tokens;
  for (auto _ : state) {
    ub04::SplitTokens(key, "//", tokens);
    benchmark::DoNotOptimize(tokens.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * key.size()));
}
BENCHMARK(BM_SplitTokens_Key);

}  // namespace
