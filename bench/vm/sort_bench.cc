// ASORT of one million numbers and one million strings, next to std::sort of the same data.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "array.h"
#include "bench_util.h"

namespace {

constexpr size_t kCount = 1000000;

template <typename Fill>
void asort(benchmark::State& state, Fill fill) {
  pvbench::ensureStack();
  PvSymbol* fn = pvbench::function("ASORT");
  PvItem array = {PV_IT_NIL, {}};
  pv_arrayNew(&array, kCount);
  for (auto _ : state) {
    state.PauseTiming();
    fill(&array);
    state.ResumeTiming();
    benchmark::DoNotOptimize(pvbench::callFunction(fn, {&array}));
  }
  pv_itemClear(&array);
  pv_ret();
}

void BM_AsortNumbers(benchmark::State& state) {
  std::vector<double> data = pvbench::randomDoubles(kCount);
  asort(state, [&](PV_ITEM a) {
    for (size_t i = 0; i < kCount; ++i) pv_itemPutND(pv_arrayGetItemPtr(a, PV_SIZE(i + 1)), data[i]);
  });
}
BENCHMARK(BM_AsortNumbers)->Unit(benchmark::kMillisecond);

void BM_StdSortNumbers(benchmark::State& state) {
  std::vector<double> data = pvbench::randomDoubles(kCount), work;
  for (auto _ : state) {
    state.PauseTiming();
    work = data;
    state.ResumeTiming();
    std::sort(work.begin(), work.end());
    benchmark::DoNotOptimize(work.data());
  }
}
BENCHMARK(BM_StdSortNumbers)->Unit(benchmark::kMillisecond);

void BM_AsortStrings(benchmark::State& state) {
  std::vector<std::string> data = pvbench::randomStrings(kCount);
  asort(state, [&](PV_ITEM a) {
    for (size_t i = 0; i < kCount; ++i)
      pv_itemPutCL(pv_arrayGetItemPtr(a, PV_SIZE(i + 1)), data[i].data(), PV_SIZE(data[i].size()));
  });
}
BENCHMARK(BM_AsortStrings)->Unit(benchmark::kMillisecond);

void BM_StdSortStrings(benchmark::State& state) {
  std::vector<std::string> data = pvbench::randomStrings(kCount), work;
  for (auto _ : state) {
    state.PauseTiming();
    work = data;
    state.ResumeTiming();
    std::sort(work.begin(), work.end());
    benchmark::DoNotOptimize(work.data());
  }
}
BENCHMARK(BM_StdSortStrings)->Unit(benchmark::kMillisecond);

}  // namespace
