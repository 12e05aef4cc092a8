// Regular-expression matching for the LIKE and HAS operators (PCRE2).
#pragma once

#include "item.h"

// 1 when `text` matches `pattern` (the whole text when `whole`, else anywhere), 0 when not,
// -1 when the pattern does not compile.
int pv_regexMatch(const char* pattern, PV_SIZE patternLen, const char* text, PV_SIZE textLen,
                  bool whole);
