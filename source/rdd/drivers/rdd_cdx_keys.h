// Key expressions of the DBFCDX driver (rdd_cdx_keys.cc).
#pragma once

#include <string>

#include "rdd_cdx.h"

// Compiles a key or FOR text for an area: a code block given by the caller is kept, a single
// field is recognised, anything else goes through the macro compiler. False when the text
// does not compile (nothing is raised).
bool pv_cdxExprCompile(PvArea* area, const std::string& text, PV_ITEM block, PvCdxExpr& out);
void pv_cdxExprFree(PvCdxExpr& e);
// Evaluates the expression with `area` as the current work area (restored afterwards).
void pv_cdxExprEval(PvArea* area, const PvCdxExpr& e, PV_ITEM out);
// The key type and length a value gives ('C' its length up to 240, 'N'/'D' 8, 'L' 1); false
// for any other value.
bool pv_cdxKeyTypeOf(PV_ITEM v, char* type, int* len);
// Key bytes of a value for a tag of this type and length; pad fills character keys up to the
// length (record keys), without it they stay a prefix (seek and scope values). out.rec is kept.
bool pv_cdxKeyFromItem(PV_ITEM v, char type, int keyLen, bool pad, pv::cdx::CdxKey& out);
