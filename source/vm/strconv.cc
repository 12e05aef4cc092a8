// Conversion of values to text: STR with its digit walk and rounding, and the text of any value.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dates.h"
#include "item.h"
#include "set.h"

namespace {

bool overflow(char* buffer, int size) {
  std::memset(buffer, '*', size);
  buffer[size] = 0;
  return false;
}

// Integer values (and plain dates as Julian days).
bool strInteger(char* buffer, int64_t value, int size, int decimals) {
  int intEnd = decimals > 0 ? size - decimals - 1 : size;
  std::memset(buffer, ' ', size);
  buffer[size] = 0;
  if (decimals > 0) {
    buffer[intEnd] = '.';
    std::memset(buffer + intEnd + 1, '0', decimals);
  }
  bool neg = value < 0;
  uint64_t v = neg ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  int pos = intEnd;
  do {
    if (--pos < 0) return overflow(buffer, size);
    buffer[pos] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  if (neg) {
    if (--pos < 0) return overflow(buffer, size);
    buffer[pos] = '-';
  }
  return true;
}

// Number of digit positions from `from` to `to` inclusive, the point not counted.
int digitSpan(int from, int to, int dot) { return to - from + 1 - ((from < dot && to > dot) ? 1 : 0); }

// Walks the rounding carry left from position `pos`; false when it runs off the buffer.
bool carryLeft(char* buffer, int pos) {
  for (; pos >= 0; --pos) {
    char c = buffer[pos];
    if (c == '.') continue;
    if (c == '9') {
      buffer[pos] = '0';
      continue;
    }
    buffer[pos] = (c == ' ') ? '1' : static_cast<char>(c + 1);
    return true;
  }
  return false;
}

bool strDouble(char* buffer, double value, int size, int decimals) {
  constexpr int kSignificant = 16;
  int dot = decimals > 0 ? size - decimals - 1 : size;
  bool neg = value < 0;
  double dInt;
  double dFract = std::modf(std::fabs(value), &dInt);
  std::memset(buffer, ' ', size);
  buffer[size] = 0;
  int first = -1;  // leftmost significant digit
  int pos = dot;
  do {  // integer digits, right to left
    if (--pos < 0) return overflow(buffer, size);
    double q = std::floor(dInt / 10.0);
    // Far beyond 2^53 the difference is rounding noise, possibly far outside 0…9.
    double rest = dInt - q * 10.0 + 0.01;
    int digit = rest >= 9 ? 9 : (rest > 0 ? static_cast<int>(rest) : 0);
    buffer[pos] = static_cast<char>('0' + digit);
    if (digit) first = pos;
    dInt = q;
  } while (dInt >= 1.0);
  if (first < 0 && buffer[pos] != '0') first = pos;
  double next = dFract * 10.0;  // produces the next digit L
  if (decimals > 0) {
    buffer[dot] = '.';
    for (int p = dot + 1; p < size; ++p) {
      if (first >= 0 && digitSpan(first, p, dot) > kSignificant) {
        buffer[p] = '0';
        continue;
      }
      int digit = static_cast<int>(next);
      buffer[p] = static_cast<char>('0' + digit);
      if (digit && first < 0) first = p;
      next = (next - digit) * 10.0;
    }
  }
  int z = 0;
  if (first >= 0) z = size - first - kSignificant - ((decimals > 0 && first < dot) ? 1 : 0);
  int l = static_cast<int>(next);
  if (l == 4 && z < 0) {  // binary representation just below a 5: look further
    double look = next - l;
    bool allNines = true;
    for (int k = 1; k <= -z && allNines; ++k) {
      look *= 10.0;
      int d = static_cast<int>(look + 0.01);
      allNines = (k == -z) ? d >= 2 : d >= 9;
      look -= static_cast<int>(look);
    }
    if (allNines) l = 5;
  }
  bool carry = l >= 5;
  int p = size - 1;
  for (; z > 0 && p >= 0; --p) {
    if (buffer[p] == '.') continue;
    if (p <= dot + 1) carry = buffer[p] >= '5';
    buffer[p] = '0';
    --z;
  }
  if (carry && !carryLeft(buffer, p)) return overflow(buffer, size);
  if (neg) {
    int sig = -1;
    for (int i = 0; i < size && sig < 0; ++i)
      if (buffer[i] >= '1' && buffer[i] <= '9') sig = i;
    if (sig >= 0) {
      int signPos = sig < dot ? sig - 1 : dot - 2;
      if (signPos < 0 || buffer[signPos] != ' ') return overflow(buffer, size);
      buffer[signPos] = '-';
    }
  }
  return true;
}

}  // namespace

bool pv_itemStrBuf(char* buffer, PV_ITEM item, int size, int decimals) {
  if (size <= 0) {
    buffer[0] = 0;
    return false;
  }
  if (decimals >= size) decimals = size - 1;
  if (PV_IS_INTEGER(item)) return strInteger(buffer, item->item.asInteger.value, size, decimals);
  if (PV_IS_LONG(item)) return strInteger(buffer, item->item.asLong.value, size, decimals);
  if (PV_IS_DATE(item) && item->item.asDateTime.time == 0)
    return strInteger(buffer, item->item.asDateTime.julian, size, decimals);
  if (PV_IS_DATE(item))
    return strDouble(buffer, pv_itemGetND(item), size, decimals);
  if (PV_IS_DOUBLE(item)) {
    double v = item->item.asDouble.value;
    if (item->item.asDouble.width == 99 || !std::isfinite(v)) return overflow(buffer, size);
    return strDouble(buffer, v, size, decimals);
  }
  return overflow(buffer, size);
}

char* pv_itemStr(PV_ITEM item, PV_ITEM width, PV_ITEM decimals) {
  if (!item) return nullptr;
  int w, d;
  pv_itemGetNLen(item, &w, &d);
  if (w <= 0 || w >= 100) w = pv_itemDefaultWidth(item);
  if (w > 90) w = 90;
  if (pv_setFixed() && PV_IS_NUMERIC(item)) d = pv_setDecimals();
  if (width && PV_IS_NUMERIC(width)) {
    w = pv_itemGetNI(width);
    if (w < 1) w = 10;
    d = 0;
  }
  if (decimals && PV_IS_NUMERIC(decimals)) {
    int dec = pv_itemGetNI(decimals);
    if (dec < 0) {
      d = 0;
    } else if (dec > 0) {
      d = dec;
      if (width && PV_IS_NUMERIC(width)) w -= d + 1;
    } else {
      d = 0;
    }
  }
  if (w <= 0) return nullptr;
  int size = w + (d > 0 ? d + 1 : 0);
  char* buffer = static_cast<char*>(pv_xgrab(size + 1));
  pv_itemStrBuf(buffer, item, size, d);
  return buffer;
}

char* pv_itemString(PV_ITEM item, PV_SIZE* len, bool* freeReq) {
  *freeReq = false;
  *len = 0;
  if (!item) return const_cast<char*>("");
  item = pv_itemUnRef(item);
  if (PV_IS_STRING(item)) {
    *len = pv_itemGetCLen(item);
    return const_cast<char*>(pv_itemGetCPtr(item));
  }
  char* out = nullptr;
  if (PV_IS_NUMERIC(item)) {
    out = pv_itemStr(item, nullptr, nullptr);
    if (!out) return const_cast<char*>("");
  } else if (PV_IS_DATE(item)) {
    const char* picture = pv_setDateFormat();
    size_t n = std::strlen(picture);
    out = static_cast<char*>(pv_xgrab(n + 32));
    pv_dateFormat(out, pv_itemGetDL(item), picture);
    if (pv_itemGetT(item)) {
      int h, m;
      double s;
      pv_timeDecode(pv_itemGetT(item), &h, &m, &s);
      std::snprintf(out + n, 32, " %02d:%02d:%05.2f", h, m, s);
    }
  } else if (PV_IS_LOGICAL(item)) {
    *len = 1;
    return const_cast<char*>(pv_itemGetL(item) ? "T" : "F");
  } else if (PV_IS_NIL(item)) {
    *len = 3;
    return const_cast<char*>("NIL");
  } else if (PV_IS_POINTER(item)) {
    out = static_cast<char*>(pv_xgrab(32));
    std::snprintf(out, 32, "%p", pv_itemGetPtr(item));
  } else {
    return const_cast<char*>("");
  }
  *len = static_cast<PV_SIZE>(std::strlen(out));
  *freeReq = true;
  return out;
}

char* pv_itemPadConv(PV_ITEM item, PV_SIZE* len, bool* freeReq) {
  char* text = pv_itemString(item, len, freeReq);
  if (item && PV_IS_NUMERIC(pv_itemUnRef(item))) {
    PV_SIZE skip = 0;
    while (skip < *len && text[skip] == ' ') ++skip;
    std::memmove(text, text + skip, *len - skip + 1);
    *len -= skip;
  }
  return text;
}

PV_ITEM pv_itemValToStr(PV_ITEM item) {
  PV_SIZE len;
  bool freeReq;
  char* text = pv_itemString(item, &len, &freeReq);
  PV_ITEM result = pv_itemPutCL(nullptr, text, len);
  if (freeReq) pv_xfree(text);
  return result;
}
