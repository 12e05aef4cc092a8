// Evaluating a macro-compiled key expression: LOWER(CUSTOMER) + INVOICE with the two names as
// memory variables (a work area's fields answer the same way through the machine).
#include <benchmark/benchmark.h>

#include "bench_util.h"
#include "compiler/macro.h"
#include "dynsym.h"
#include "memvar.h"
#include "stackdef.h"

namespace {

void BM_MacroKeyExpression(benchmark::State& state) {
  pvbench::ensureStack();
  PvItem customer = {PV_IT_NIL, {}}, invoice = {PV_IT_NIL, {}};
  pv_itemPutC(&customer, "Jürgen Müller GmbH            ");
  pv_itemPutC(&invoice, "R-0004711 ");
  pv_memvarCreatePrivate(pv_dynsymGet("CUSTOMER"), &customer);
  pv_memvarCreatePrivate(pv_dynsymGet("INVOICE"), &invoice);
  PvMacro* key = pv_macroCompile("LOWER(CUSTOMER) + INVOICE");
  for (auto _ : state) {
    pv_macroRun(key);
    benchmark::DoNotOptimize(pv_stackTop(-1)->item.asString.length);
    pv_stackPop();
  }
  pv_macroDelete(key);
  pv_itemClear(&customer);
  pv_itemClear(&invoice);
}
BENCHMARK(BM_MacroKeyExpression);

}  // namespace
