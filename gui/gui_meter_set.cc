// METERSET( nValue ): TMeter's Set method, native because callers set the meter for every
// record of long jobs. The value (default: the current one) is clamped to 0..nTotal and stored
// through bSetGet. Once it reaches 1 % of nTotal and leaves the range of the percentage last
// set, nRefresh grows by the new percentage, the bar is invalidated without erasing and the
// message queue is pumped, so the bar repaints at once and a Cancel click is seen.
// The object's aBounds holds { value x 100 low bound, high bound, the total they were made for }.
#include <algorithm>
#include <cmath>

#include "gui_natives.h"
#include "vm/array.h"
#include "vm/registrar.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

struct MeterMessages {
  Message total{"NTOTAL"}, setGet{"BSETGET"}, bounds{"ABOUNDS"}, refresh{"NREFRESH"}, setRefresh{"_NREFRESH"},
      hWnd{"HWND"};
};

const MeterMessages& messages() {
  static const MeterMessages m;
  return m;
}

double numberOf(PV_ITEM v) { return v && PV_IS_NUMERIC(v) ? pv_itemGetND(v) : 0.0; }

// A clamped value keeps the integer type when it is whole (nTotal, 0).
void putNumber(PV_ITEM item, double v) {
  if (v == std::floor(v) && std::fabs(v) < 9e15) pv_itemPutNLL(item, static_cast<long long>(v));
  else pv_itemPutND(item, v);
}

// Whether value x 100 lies in the bounds made for this total; else the new bounds.
bool inBounds(PV_ITEM bounds, double n100, double total) {
  return PV_IS_ARRAY(bounds) && pv_arrayLen(bounds) >= 3 && n100 >= pv_arrayGetND(bounds, 1) &&
         n100 < pv_arrayGetND(bounds, 2) && total == pv_arrayGetND(bounds, 3);
}

void setBounds(PV_ITEM bounds, double low, double high, double total) {
  if (!PV_IS_ARRAY(bounds) || pv_arrayLen(bounds) < 3) return;
  PvItem v{};
  pv_arraySet(bounds, 1, pv_itemPutND(&v, low));
  pv_arraySet(bounds, 2, pv_itemPutND(&v, high));
  pv_arraySet(bounds, 3, pv_itemPutND(&v, total));
}

void repaint(PV_ITEM self, int percent) {
  const MeterMessages& m = messages();
  PvItem sum{};
  pv_itemPutNLL(&sum, static_cast<long long>(numberOf(send(self, m.refresh))) + percent);
  pv_vmPushSymbol(m.setRefresh.symbol);
  pv_vmPush(self);
  pv_vmPush(&sum);
  pv_vmSend(1);
  InvalidateRect(reinterpret_cast<HWND>(static_cast<uintptr_t>(numberOf(send(self, m.hWnd)))), nullptr, FALSE);
  pumpMessages();
}

void PV_FUN_METERSET() {
  const MeterMessages& m = messages();
  PvItem self{}, block{}, value{}, bounds{};
  pv_itemCopy(&self, pv_stackSelfItem());
  double total = numberOf(send(&self, m.total));
  pv_itemCopy(&block, send(&self, m.setGet));
  if (PV_ITEM given = pv_param(1, PV_IT_NUMERIC)) pv_itemCopy(&value, given);
  else if (PV_IS_BLOCK(&block)) pv_itemCopy(&value, pv_vmEvalBlock(&block));
  double v = numberOf(&value);
  if (v > total || v < 0 || !PV_IS_NUMERIC(&value)) putNumber(&value, v = std::max(0.0, std::min(v, total)));
  if (PV_IS_BLOCK(&block)) pv_vmEvalBlockV(&block, 1, &value);
  pv_itemCopy(&bounds, send(&self, m.bounds));
  double n100 = v * 100;
  if (!inBounds(&bounds, n100, total)) {
    if (total == 0 || n100 < total) {
      setBounds(&bounds, 0, total, total);  // below 1 %: nothing to repaint
    } else {
      int percent = static_cast<int>(n100 / total);
      setBounds(&bounds, percent * total, (percent + 1) * total, total);
      repaint(&self, percent);
    }
  }
  pv_itemClear(&bounds);
  pv_itemClear(&value);
  pv_itemClear(&block);
  pv_itemClear(&self);
  pv_ret();
}

PvSymbol s_symbols[] = {pv_native("METERSET", PV_FUN_METERSET)};
PvModuleRegistrar s_module("gui/meter_set", s_symbols);

}  // namespace
