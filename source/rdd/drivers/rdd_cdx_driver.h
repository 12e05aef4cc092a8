// Internals shared by the DBFCDX driver's files (rdd_cdx.cc, rdd_cdx_orders.cc).
#pragma once

#include <string>

#include "rdd_cdx.h"

// Sets the order slots (ORDLSTADD … ORDINFO) in a method table.
void pv_cdxOrderSlots(PvRddFuncs& own);
// Closes the area's index files; with keepProduction the production file stays open while
// automatic opening applies.
void pv_cdxCloseAllBags(PvCdxArea* a, bool keepProduction);
// Raises an engine failure through the area's error method; returns PV_FAILURE.
int pv_cdxRaise(PvArea* area, const pv::cdx::CdxStatus& st);
// Loads again the area's shared index files whose tags another handle replaced, added or
// removed (cheap while nothing changed); runs before every use of an order.
void pv_cdxRefreshShared(PvCdxArea* a);
// Forgets the pending order condition (and releases its FOR block).
void pv_cdxDropCondition(PvCdxArea* a);
// The order number an order argument names: a number, a tag name (within the bag when one is
// given), or the controlling order when absent. 0 when nothing matches.
int pv_cdxOrderOf(PvCdxArea* a, PvOrderInfo* oi);
// The order information slot (rdd_cdx_info.cc): x->number is the code, x->ptr a PvOrderInfo.
int pv_cdxOrderInfo(PvArea* area, PvRddArgs* x);
// Raises the failure to open an index file: generic 32/1012 for a damaged file, 21/1003
// otherwise (a share conflict, no permission); returns PV_FAILURE.
int pv_cdxRaiseOpen(PvArea* area, const pv::cdx::CdxStatus& st, const std::string& path);
