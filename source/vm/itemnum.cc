// Numeric items: the three representations, display widths and decimals, and the getters.
#include <cmath>

#include "dates.h"
#include "errint.h"
#include "item.h"
#include "set.h"

namespace {

PvItem* prepare(PvItem* item) {
  if (!item) return pv_itemNew(nullptr);
  if (PV_IS_COMPLEX(item)) pv_itemClear(item);
  return item;
}

bool badWidth(int width) { return width <= 0 || width >= 100; }

int intWidth(long long v) { return v < -999999999LL ? 20 : 10; }
int longWidth(long long v) { return (v >= -999999999LL && v <= 9999999999LL) ? 10 : 20; }

constexpr double kIntMin = -2147483648.0, kIntMax = 2147483647.0;
constexpr double kLongMin = -9223372036854775808.0, kLongMax = 9223372036854775807.0;

}  // namespace

PV_ITEM pv_itemPutNI(PV_ITEM item, int value) { return pv_itemPutNILen(item, value, 0); }
PV_ITEM pv_itemPutNL(PV_ITEM item, long value) { return pv_itemPutNInt(item, value); }
PV_ITEM pv_itemPutNLL(PV_ITEM item, long long value) { return pv_itemPutNLLLen(item, value, 0); }

PV_ITEM pv_itemPutNILen(PV_ITEM item, int value, int width) {
  item = prepare(item);
  item->type = PV_IT_INTEGER;
  item->item.asInteger.value = value;
  item->item.asInteger.width = badWidth(width) ? intWidth(value) : width;
  return item;
}

PV_ITEM pv_itemPutNLLLen(PV_ITEM item, long long value, int width) {
  item = prepare(item);
  item->type = PV_IT_LONG;
  item->item.asLong.value = value;
  item->item.asLong.width = badWidth(width) ? longWidth(value) : width;
  return item;
}

PV_ITEM pv_itemPutNInt(PV_ITEM item, int64_t value) { return pv_itemPutNIntLen(item, value, 0); }

PV_ITEM pv_itemPutNIntLen(PV_ITEM item, int64_t value, int width) {
  if (value >= INT32_MIN && value <= INT32_MAX)
    return pv_itemPutNILen(item, static_cast<int>(value), width);
  return pv_itemPutNLLLen(item, value, width);
}

PV_ITEM pv_itemPutNDLen(PV_ITEM item, double value, int width, int decimals) {
  item = prepare(item);
  item->type = PV_IT_DOUBLE;
  item->item.asDouble.value = value;
  item->item.asDouble.width = badWidth(width) ? pv_itemDoubleWidth(value) : width;
  item->item.asDouble.decimal = decimals < 0 ? pv_setDecimals() : decimals;
  return item;
}

PV_ITEM pv_itemPutND(PV_ITEM item, double value) { return pv_itemPutNDLen(item, value, 0, -1); }

PV_ITEM pv_itemPutNDDec(PV_ITEM item, double value, int decimals) {
  return pv_itemPutNDLen(item, value, 0, decimals);
}

PV_ITEM pv_itemPutNLen(PV_ITEM item, double value, int width, int decimals) {
  if (decimals < 0) decimals = pv_setDecimals();
  if (decimals > 0) return pv_itemPutNDLen(item, value, width, decimals);
  if (value >= kIntMin && value <= kIntMax)
    return pv_itemPutNILen(item, static_cast<int>(value), width);
  if (value >= kLongMin && value < kLongMax)
    return pv_itemPutNLLLen(item, static_cast<long long>(value), width);
  return pv_itemPutNDLen(item, value, width, 0);
}

PV_ITEM pv_itemPutNumType(PV_ITEM item, double value, int decimals, int type1, int type2) {
  if (decimals || (type1 & PV_IT_DOUBLE) || (type2 & PV_IT_DOUBLE))
    return pv_itemPutNDDec(item, value, decimals);
  if (value >= kIntMin && value <= kIntMax) return pv_itemPutNI(item, static_cast<int>(value));
  if (value >= kLongMin && value < kLongMax)
    return pv_itemPutNLL(item, static_cast<long long>(value));
  return pv_itemPutNDDec(item, value, 0);
}

double pv_itemGetND(PV_ITEM item) {
  if (!item) return 0.0;
  switch (item->type & ~PV_IT_MEMOFLAG) {
    case PV_IT_INTEGER: return item->item.asInteger.value;
    case PV_IT_LONG: return static_cast<double>(item->item.asLong.value);
    case PV_IT_DOUBLE: return item->item.asDouble.value;
    case PV_IT_DATE:
      return item->item.asDateTime.julian +
             static_cast<double>(item->item.asDateTime.time) / PV_MILLISECS_PER_DAY;
    case PV_IT_LOGICAL: return item->item.asLogical.value ? 1.0 : 0.0;
    case PV_IT_STRING:
      return item->item.asString.length == 1
                 ? static_cast<unsigned char>(item->item.asString.value[0])
                 : 0.0;
    default: return 0.0;
  }
}

int64_t pv_itemGetNInt(PV_ITEM item) {
  if (!item) return 0;
  switch (item->type & ~PV_IT_MEMOFLAG) {
    case PV_IT_INTEGER: return item->item.asInteger.value;
    case PV_IT_LONG: return item->item.asLong.value;
    case PV_IT_DATE: return item->item.asDateTime.julian;
    default: {
      double d = pv_itemGetND(item);
      if (std::isnan(d)) return 0;
      if (d >= kLongMax) return INT64_MAX;
      if (d <= kLongMin) return INT64_MIN;
      return static_cast<int64_t>(d);
    }
  }
}

int pv_itemGetNI(PV_ITEM item) { return static_cast<int>(pv_itemGetNInt(item)); }
long pv_itemGetNL(PV_ITEM item) { return static_cast<long>(pv_itemGetNInt(item)); }
long long pv_itemGetNLL(PV_ITEM item) { return pv_itemGetNInt(item); }

double pv_itemGetNDDec(PV_ITEM item, int* decimals) {
  *decimals = 0;
  if (item && PV_IS_DOUBLE(item)) *decimals = item->item.asDouble.decimal;
  else if (item && PV_IS_DATE(item)) *decimals = item->item.asDateTime.time ? 255 : 0;
  else if (!item || !(PV_IS_NUMERIC(item) || PV_IS_DATE(item) || PV_IS_STRING(item)))
    pv_errInternal(9018, "pv_itemGetNDDec()", nullptr, nullptr);
  return pv_itemGetND(item);
}

void pv_itemGetNLen(PV_ITEM item, int* width, int* decimals) {
  int w = 0, d = 0;
  if (item) {
    if (PV_IS_INTEGER(item)) w = item->item.asInteger.width;
    else if (PV_IS_LONG(item)) w = item->item.asLong.width;
    else if (PV_IS_DOUBLE(item)) {
      w = item->item.asDouble.width;
      if (w == 0) w = pv_itemDoubleWidth(item->item.asDouble.value);
      d = item->item.asDouble.decimal;
    }
  }
  if (width) *width = w;
  if (decimals) *decimals = d;
}

int pv_itemDefaultWidth(PV_ITEM item) {
  if (PV_IS_INTEGER(item)) return intWidth(item->item.asInteger.value);
  if (PV_IS_LONG(item)) return longWidth(item->item.asLong.value);
  return pv_itemDoubleWidth(pv_itemGetND(item));
}
