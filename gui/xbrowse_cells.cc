// XBRWCELLS: a run of one grid row's data cells painted in one call. For each cell the colour
// block and the text block are evaluated here, then the cell is filled and its text drawn. The
// places come from the grid's cell layout, made once per paint: one array per shown column,
// { oCol, bStrData, nLeft, nRight, nTextLeft, nTextRight, hFont, nFormat, bClrStd, bClrSel,
// bClrSelFocus, nWidth, oDataFont } (XBRW_CELL_* in xbrowse.ch name the slots).
// XBRWLAYOUTCURRENT tells whether the columns still have what their entries were made from.
#include <string>

#include "gui_natives.h"
#include "registrar.h"
#include "vm/array.h"
#include "vm/classes.h"
#include "vm/dynsym.h"
#include "xbrowse_paint.h"

namespace {

using namespace pv::gui;

enum Slot {
  kColumn = 1, kTextBlock, kLeft, kRight, kTextLeft, kTextRight, kFont, kFormat,
  kClrStd, kClrSel, kClrSelFocus, kWidth, kDataFont
};

// The text a cell shows for a text block's value: text as it is, anything else as
// XBRWVALUETEXT makes it.
std::string shownText(PV_ITEM value) {
  if (!PV_IS_STRING(value)) {
    static PvSymbol* valueText = pv_dynsymGet("XBRWVALUETEXT")->symbol;
    pv_vmPushSymbol(valueText);
    pv_vmPushNil();
    pv_vmPush(value);
    pv_vmDo(1);
    value = pv_stackReturnItem();
    if (!PV_IS_STRING(value)) return {};
  }
  return std::string(pv_itemGetCPtr(value), static_cast<size_t>(pv_itemGetCLen(value)));
}

struct Colors {
  COLORREF text = 0, back = 0xFFFFFF;
};

// The { nText, nBack } a colour block gives (black on white for anything else).
Colors colorsOf(PV_ITEM block) {
  Colors c;
  if (!block || !PV_IS_BLOCK(block)) return c;
  PV_ITEM pair = pv_vmEvalBlock(block);
  if (PV_IS_ARRAY(pair) && pv_arrayLen(pair) >= 2) {
    c.text = COLORREF(pv_arrayGetNL(pair, 1));
    c.back = COLORREF(pv_arrayGetNL(pair, 2));
  }
  return c;
}

// One cell of the layout; false when a block's error is unwinding the calls.
bool paintCell(HDC dc, int top, int bottom, PV_ITEM cell, PV_SIZE colorSlot) {
  Colors colors = colorsOf(pv_arrayGetItemPtr(cell, colorSlot));
  if (pv_vmRequestQuery()) return false;
  std::string text;
  PV_ITEM textBlock = pv_arrayGetItemPtr(cell, kTextBlock);
  if (textBlock && PV_IS_BLOCK(textBlock)) {
    text = shownText(pv_vmEvalBlockV(textBlock, 1, pv_arrayGetItemPtr(cell, kColumn)));
    if (pv_vmRequestQuery()) return false;
  }
  auto number = [cell](PV_SIZE slot) { return pv_arrayGetNI(cell, slot); };
  drawCell(dc, RECT{number(kLeft), top, number(kRight), bottom}, colors.back, text,
           CellText{number(kTextLeft), number(kTextRight),
                    reinterpret_cast<HFONT>(static_cast<uintptr_t>(pv_arrayGetNL(cell, kFont))), colors.text,
                    UINT(pv_arrayGetNL(cell, kFormat))});
  return true;
}

// The cell at position n of a layout painted in the colours of slot; false when a block's error
// is unwinding the calls.
bool paintAt(HDC dc, int top, int bottom, PV_ITEM layout, PV_SIZE n, PV_SIZE slot) {
  PV_ITEM cell = pv_arrayGetItemPtr(layout, n);
  return !cell || !PV_IS_ARRAY(cell) || paintCell(dc, top, bottom, cell, slot);
}

// XBRWCELLS( hDC, nTop, nBottom, aLayout, nFirst, nLast, nColorSlot [, nMarked, nMarkedSlot] ):
// the cells at display positions nFirst to nLast, in the colours of the block in slot
// nColorSlot of each cell; with nMarked, that cell is left out of them and painted last, whether
// in the range or not, in the colours of slot nMarkedSlot.
void PV_FUN_XBRWCELLS() {
  PV_ITEM layout = pv_param(4, PV_IT_ARRAY);
  if (!layout) return pv_ret();
  HDC dc = parHandle<HDC>(1);
  int top = pv_parni(2), bottom = pv_parni(3);
  PV_SIZE length = pv_arrayLen(layout), last = std::min<PV_SIZE>(pv_parnl(6), length), slot = pv_parnl(7);
  PV_SIZE marked = pv_param(8, PV_IT_NUMERIC) ? pv_parnl(8) : 0;
  PV_ITEM hold = pv_itemNew(layout);  // a block may drop the grid's reference to the layout
  bool going = true;
  for (PV_SIZE n = std::max<PV_SIZE>(pv_parnl(5), 1); going && n <= last; ++n)
    if (n != marked) going = paintAt(dc, top, bottom, hold, n, slot);
  if (going && marked >= 1 && marked <= length) paintAt(dc, top, bottom, hold, marked, pv_parnl(9));
  pv_itemRelease(hold);
  pv_ret();
}

// The same value for a layout: the same block, array or object, the same number, or both NIL.
bool sameValue(PV_ITEM a, PV_ITEM b) {
  if (PV_IS_BLOCK(a) || PV_IS_BLOCK(b))
    return PV_IS_BLOCK(a) && PV_IS_BLOCK(b) && a->item.asBlock.value == b->item.asBlock.value;
  if (PV_IS_ARRAY(a) || PV_IS_ARRAY(b))
    return PV_IS_ARRAY(a) && PV_IS_ARRAY(b) && a->item.asArray.value == b->item.asArray.value;
  if (PV_IS_NUMERIC(a) || PV_IS_NUMERIC(b))
    return PV_IS_NUMERIC(a) && PV_IS_NUMERIC(b) && pv_itemGetND(a) == pv_itemGetND(b);
  return PV_IS_NIL(a) && PV_IS_NIL(b);
}

// True when the column answers `message` with `expected` (the machine's send answers a plain
// data slot in place and runs an access method in full).
bool answersWith(PV_ITEM column, PvSymbol* message, PV_ITEM expected) {
  pv_vmPushSymbol(message);
  pv_vmPush(column);
  pv_clsSend(0);
  bool same = sameValue(pv_stackItemFromTop(-1), expected);
  pv_stackPop();
  return same;
}

// True when the column of the entry still has the text block, format, colour blocks, width and
// data font the entry was made from.
bool entryCurrent(PV_ITEM cell) {
  struct Check {
    const char* message;
    Slot slot;
  };
  static const Check checks[] = {{"BSTRDATA", kTextBlock}, {"NDATASTYLE", kFormat},  {"BCLRSTD", kClrStd},
                                 {"BCLRSEL", kClrSel},      {"BCLRSELFOCUS", kClrSelFocus}, {"NWIDTH", kWidth},
                                 {"ODATAFONT", kDataFont}};
  static PvSymbol* symbols[std::size(checks)] = {};
  PV_ITEM column = pv_arrayGetItemPtr(cell, kColumn);
  if (!column || !PV_IS_OBJECT(column) || pv_arrayLen(cell) < kDataFont) return false;
  for (size_t i = 0; i < std::size(checks); ++i) {
    if (!symbols[i]) symbols[i] = pv_dynsymGet(checks[i].message)->symbol;
    if (!answersWith(column, symbols[i], pv_arrayGetItemPtr(cell, checks[i].slot))) return false;
  }
  return true;
}

// XBRWLAYOUTCURRENT( aLayout ) -> .T. when every entry's column still has what the entry was
// made from (a program may swap a column's block, font, colours or width without a Refresh).
void PV_FUN_XBRWLAYOUTCURRENT() {
  PV_ITEM layout = pv_param(1, PV_IT_ARRAY);
  if (!layout) return pv_retl(false);
  PV_ITEM hold = pv_itemNew(layout);
  bool current = true;
  for (PV_SIZE n = 1; current && n <= pv_arrayLen(hold); ++n) {
    PV_ITEM cell = pv_arrayGetItemPtr(hold, n);
    current = cell && PV_IS_ARRAY(cell) && entryCurrent(cell) && !pv_vmRequestQuery();
  }
  pv_itemRelease(hold);
  pv_retl(current);
}

PvSymbol s_symbols[] = {
    pv_native("XBRWCELLS", PV_FUN_XBRWCELLS),
    pv_native("XBRWLAYOUTCURRENT", PV_FUN_XBRWLAYOUTCURRENT),
};
PvModuleRegistrar s_module("gui/xbrowse_cells", s_symbols);

}  // namespace
