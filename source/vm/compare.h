// Comparison of values: strings under SET EXACT, the relational rules, the array sort order.
#pragma once

#include "item.h"

// Compares two values by the relational rules (strings; integers; mixes of numbers, dates and
// one-byte strings as doubles; dates by day then time; logicals false < true). Returns false
// when the pair has no such order (the caller raises its operator error).
bool pv_itemRelCompare(PV_ITEM a, PV_ITEM b, bool forceExact, int* result);
