// Decimal rounding shared by ROUND and TRANSFORM.
#pragma once

// Rounds half away from zero to `decimals` places (negative: tens, hundreds, ...), after cutting
// the binary noise of the scaled value to 16 significant digits, so 2.675 rounds to 2.68.
double pv_rtlRound(double value, int decimals);
