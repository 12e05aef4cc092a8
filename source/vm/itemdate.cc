// Date and date-time items.
#include <cstring>

#include "dates.h"
#include "item.h"

namespace {

PvItem* putDate(PvItem* item, long julian, long ms) {
  if (!item) item = pv_itemNew(nullptr);
  else if (PV_IS_COMPLEX(item)) pv_itemClear(item);
  item->type = PV_IT_DATE;
  item->item.asDateTime.julian = static_cast<int32_t>(julian);
  item->item.asDateTime.time = static_cast<int32_t>(ms);
  return item;
}

}  // namespace

PV_ITEM pv_itemPutDS(PV_ITEM item, const char* text) { return putDate(item, pv_dateEncStr(text), 0); }
PV_ITEM pv_itemPutDL(PV_ITEM item, long julian) { return putDate(item, julian, 0); }
PV_ITEM pv_itemPutD(PV_ITEM item, int y, int m, int d) {
  return putDate(item, pv_dateEncode(y, m, d), 0);
}
PV_ITEM pv_itemPutDTL(PV_ITEM item, long julian, long ms) { return putDate(item, julian, ms); }
PV_ITEM pv_itemPutDT(PV_ITEM item, int y, int mo, int d, int h, int mi, double s) {
  return putDate(item, pv_dateEncode(y, mo, d), pv_timeEncode(h, mi, s));
}
PV_ITEM pv_itemPutDTS(PV_ITEM item, const char* text) {
  long julian, ms;
  pv_datetimeEncStr(text, &julian, &ms);
  return putDate(item, julian, ms);
}

long pv_itemGetDL(PV_ITEM item) {
  return (item && PV_IS_DATE(item)) ? item->item.asDateTime.julian : 0;
}

long pv_itemGetT(PV_ITEM item) {
  return (item && PV_IS_DATE(item)) ? item->item.asDateTime.time : 0;
}

char* pv_itemGetDS(PV_ITEM item, char* buffer) { return pv_dateDecStr(buffer, pv_itemGetDL(item)); }

void pv_itemGetD(PV_ITEM item, int* y, int* m, int* d) { pv_dateDecode(pv_itemGetDL(item), y, m, d); }

bool pv_itemGetDTL(PV_ITEM item, long* julian, long* ms) {
  *julian = pv_itemGetDL(item);
  *ms = pv_itemGetT(item);
  return item && PV_IS_DATE(item);
}

char* pv_itemGetDTS(PV_ITEM item, char* buffer) {
  return pv_datetimeDecStr(buffer, pv_itemGetDL(item), pv_itemGetT(item));
}

void pv_itemGetDT(PV_ITEM item, int* y, int* mo, int* d, int* h, int* mi, double* s) {
  pv_dateDecode(pv_itemGetDL(item), y, mo, d);
  pv_timeDecode(pv_itemGetT(item), h, mi, s);
}
