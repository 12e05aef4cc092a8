// Item copy and clear, string concatenation and STR of doubles.
#include <benchmark/benchmark.h>

#include <cstring>

#include "array.h"
#include "bench_util.h"

namespace {

void copyAndClear(benchmark::State& state, PV_ITEM src) {
  PvItem dest = {PV_IT_NIL, {}};
  for (auto _ : state) {
    pv_itemCopy(&dest, src);
    pv_itemClear(&dest);
    benchmark::DoNotOptimize(dest);
  }
  pv_itemClear(src);
}

void BM_ItemCopyClearNumber(benchmark::State& state) {
  PvItem src = {PV_IT_NIL, {}};
  pv_itemPutND(&src, 3.25);
  copyAndClear(state, &src);
}
BENCHMARK(BM_ItemCopyClearNumber);

void BM_ItemCopyClearString(benchmark::State& state) {
  PvItem src = {PV_IT_NIL, {}};
  pv_itemPutC(&src, "an owned string of some length");
  copyAndClear(state, &src);
}
BENCHMARK(BM_ItemCopyClearString);

void BM_ItemCopyClearArray(benchmark::State& state) {
  PvItem src = {PV_IT_NIL, {}};
  pv_arrayNew(&src, 10);
  copyAndClear(state, &src);
}
BENCHMARK(BM_ItemCopyClearArray);

// a + b into a new item, as the "+" operator makes it.
void concat(PV_ITEM dest, PV_ITEM a, PV_ITEM b) {
  PV_SIZE la = pv_itemGetCLen(a), lb = pv_itemGetCLen(b);
  PvItem out = {PV_IT_NIL, {}};
  char* p = pv_itemReSizeString(&out, la + lb);
  std::memcpy(p, pv_itemGetCPtr(a), static_cast<size_t>(la));
  std::memcpy(p + la, pv_itemGetCPtr(b), static_cast<size_t>(lb));
  pv_itemMove(dest, &out);
}

// Two 32-byte strings joined into a new one.
void BM_StringConcatPair(benchmark::State& state) {
  PvItem a = {PV_IT_NIL, {}}, b = {PV_IT_NIL, {}}, r = {PV_IT_NIL, {}};
  pv_itemPutC(&a, "0123456789abcdef0123456789abcdef");
  pv_itemPutC(&b, "fedcba9876543210fedcba9876543210");
  for (auto _ : state) {
    concat(&r, &a, &b);
    benchmark::DoNotOptimize(r);
  }
  pv_itemClear(&a);
  pv_itemClear(&b);
  pv_itemClear(&r);
}
BENCHMARK(BM_StringConcatPair);

// s := s + "abc" repeated range(0) times, starting from "".
void BM_StringConcatGrow(benchmark::State& state) {
  PvItem piece = {PV_IT_NIL, {}}, s = {PV_IT_NIL, {}};
  pv_itemPutC(&piece, "abc");
  for (auto _ : state) {
    pv_itemPutC(&s, "");
    for (int64_t i = 0; i < state.range(0); ++i) concat(&s, &s, &piece);
    benchmark::DoNotOptimize(s);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  pv_itemClear(&piece);
  pv_itemClear(&s);
}
BENCHMARK(BM_StringConcatGrow)->Arg(1000)->Arg(10000);

// STR() of one million doubles through the language function.
void BM_StrMillionDoubles(benchmark::State& state) {
  pvbench::ensureStack();
  std::vector<double> data = pvbench::randomDoubles(1000000);
  PvSymbol* str = pvbench::function("STR");
  PvItem n = {PV_IT_NIL, {}};
  for (auto _ : state) {
    for (double d : data) {
      pv_itemPutNDDec(&n, d, 2);
      benchmark::DoNotOptimize(pvbench::callFunction(str, {&n}));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_StrMillionDoubles)->Unit(benchmark::kMillisecond);

// The same conversions with snprintf("%13.2f"), the C library's peer.
void BM_SnprintfMillionDoubles(benchmark::State& state) {
  std::vector<double> data = pvbench::randomDoubles(1000000);
  char buffer[64];
  for (auto _ : state) {
    for (double d : data) {
      std::snprintf(buffer, sizeof buffer, "%13.2f", d);
      benchmark::DoNotOptimize(buffer);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_SnprintfMillionDoubles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
