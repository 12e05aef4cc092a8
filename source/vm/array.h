// Arrays and objects: a shared base holding the element vector, the class handles and the
// allocation step. Elements are numbered from 1; reads outside 1..length give NIL and report
// failure, writes outside change nothing and report failure.
#pragma once

#include "item.h"

struct PvBaseArray {
  PvItem* items;       // the elements made with the array follow the base in its own block
  PV_SIZE len;
  PV_SIZE allocated;
  int32_t step;        // spare elements added when growing past the allocation
  uint16_t uiClass;    // 0: a plain array; otherwise an object of that class
  uint16_t uiPrevCls;  // class of a running parent-class method
};

bool pv_arrayNew(PV_ITEM item, PV_SIZE len);
PV_SIZE pv_arrayLen(PV_ITEM array);
bool pv_arrayIsObject(PV_ITEM array);
bool pv_arraySize(PV_ITEM array, PV_SIZE len);
PV_ITEM pv_arrayGetItemPtr(PV_ITEM array, PV_SIZE index);  // nullptr outside 1..len
bool pv_arrayGet(PV_ITEM array, PV_SIZE index, PV_ITEM dest);
bool pv_arraySet(PV_ITEM array, PV_SIZE index, PV_ITEM value);
bool pv_arraySetForward(PV_ITEM array, PV_SIZE index, PV_ITEM value);  // moves value in
bool pv_arrayAdd(PV_ITEM array, PV_ITEM value);
bool pv_arrayAddForward(PV_ITEM array, PV_ITEM value);
bool pv_arrayIns(PV_ITEM array, PV_SIZE index);
bool pv_arrayDel(PV_ITEM array, PV_SIZE index);
bool pv_arrayLast(PV_ITEM array, PV_ITEM dest);
bool pv_arrayFill(PV_ITEM array, PV_ITEM value, PV_SIZE start, PV_SIZE count);
// 0 when not found; `value` may be a code block (evaluated with element and index) or a value
// compared with `=` rules (exact when `exact`).
PV_SIZE pv_arrayScan(PV_ITEM array, PV_ITEM value, PV_SIZE start, PV_SIZE count, bool exact);
bool pv_arrayEval(PV_ITEM array, PV_ITEM block, PV_SIZE start, PV_SIZE count);
bool pv_arrayCopy(PV_ITEM src, PV_ITEM dest, PV_SIZE start, PV_SIZE count, PV_SIZE target);
PV_ITEM pv_arrayClone(PV_ITEM array);  // a new grip item, nested arrays cloned
bool pv_arraySort(PV_ITEM array, PV_SIZE start, PV_SIZE count, PV_ITEM block);

// Typed element getters, like the item getters.
uint32_t pv_arrayGetType(PV_ITEM array, PV_SIZE index);
int pv_arrayGetNI(PV_ITEM array, PV_SIZE index);
long pv_arrayGetNL(PV_ITEM array, PV_SIZE index);
double pv_arrayGetND(PV_ITEM array, PV_SIZE index);
bool pv_arrayGetL(PV_ITEM array, PV_SIZE index);
const char* pv_arrayGetCPtr(PV_ITEM array, PV_SIZE index);
PV_SIZE pv_arrayGetCLen(PV_ITEM array, PV_SIZE index);
char* pv_arrayGetC(PV_ITEM array, PV_SIZE index);
char* pv_arrayGetDS(PV_ITEM array, PV_SIZE index, char* buffer9);
bool pv_arraySetC(PV_ITEM array, PV_SIZE index, const char* text);
bool pv_arraySetNI(PV_ITEM array, PV_SIZE index, int value);
bool pv_arraySetL(PV_ITEM array, PV_SIZE index, bool value);

// The array sort order without a comparison block: true when a goes before b.
bool pv_itemSortLess(PV_ITEM a, PV_ITEM b);

// The collector's view of array bases (used by the class layer and the VM).
extern const PvGcFuncs pv_arrayGcFuncs;
// A NIL item for answers that have no element to point to (cleared at each call).
PV_ITEM pv_arrayScratchNil();
PvBaseArray* pv_arrayBaseNew(PV_SIZE len);
