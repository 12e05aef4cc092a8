// String items: static and owned text, holder counts, unsharing and buffer reuse.
#include <cstring>

#include "errint.h"
#include "item.h"

namespace {

// The 256 one-character strings, each followed by its NUL.
struct OneCharTable {
  char bytes[256][2];
  OneCharTable() {
    for (int i = 0; i < 256; ++i) {
      bytes[i][0] = static_cast<char>(i);
      bytes[i][1] = 0;
    }
  }
};
const OneCharTable kOneChar;
char kEmpty[1] = {0};

// Layout of an owned buffer: a 16-byte header whose first 4 bytes are the holder count, then
// the text and its NUL.
constexpr size_t kHeader = 16;

char* textOf(uint32_t* holders) { return reinterpret_cast<char*>(holders) + kHeader; }

void setStatic(PvItem* item, const char* text, PV_SIZE len) {
  item->type = PV_IT_STRING;
  auto& s = item->item.asString;
  s.length = static_cast<uint32_t>(len);
  s.allocated = 0;
  s.value = const_cast<char*>(text);
  s.holders = nullptr;
}

// A fresh owned buffer of `len` bytes plus NUL (content undefined except the NUL).
void setOwned(PvItem* item, PV_SIZE len, PV_SIZE capacity) {
  auto* holders = static_cast<uint32_t*>(pv_xgrab(kHeader + capacity + 1));
  *holders = 1;
  item->type = PV_IT_STRING;
  auto& s = item->item.asString;
  s.length = static_cast<uint32_t>(len);
  s.allocated = static_cast<uint32_t>(capacity + 1);
  s.holders = holders;
  s.value = textOf(holders);
  s.value[len] = 0;
}

PvItem* prepare(PvItem* item) {
  if (!item) return pv_itemNew(nullptr);
  return item;
}

bool ownsSingle(PvItem* item) {
  return PV_IS_STRING(item) && item->item.asString.allocated && *item->item.asString.holders == 1;
}

}  // namespace

PV_ITEM pv_itemPutCL(PV_ITEM item, const char* text, PV_SIZE len) {
  item = prepare(item);
  if (len <= 1) {
    unsigned char c = (len == 1 && text) ? static_cast<unsigned char>(text[0]) : 0;
    pv_itemClear(item);
    setStatic(item, len == 1 ? kOneChar.bytes[c] : kEmpty, len);
    return item;
  }
  if (ownsSingle(item)) {
    auto& s = item->item.asString;
    if (text == s.value) {  // the buffer itself: only cut
      s.length = static_cast<uint32_t>(len);
      s.value[len] = 0;
      item->type = PV_IT_STRING;
      return item;
    }
    bool inside = text > s.value && text <= s.value + s.length;
    if (!inside) {
      if (static_cast<size_t>(len) + 1 > s.allocated) {
        PV_SIZE cap = len >= 0x7FFFFFFF ? len : len * 2;
        s.holders = static_cast<uint32_t*>(pv_xrealloc(s.holders, kHeader + cap + 1));
        s.value = textOf(s.holders);
        s.allocated = static_cast<uint32_t>(cap + 1);
      }
      std::memmove(s.value, text, len);
      s.value[len] = 0;
      s.length = static_cast<uint32_t>(len);
      item->type = PV_IT_STRING;
      return item;
    }
  }
  PvItem fresh;
  setOwned(&fresh, len, len);
  std::memcpy(fresh.item.asString.value, text, len);
  pv_itemClear(item);
  *item = fresh;
  return item;
}

PV_ITEM pv_itemPutC(PV_ITEM item, const char* text) {
  return pv_itemPutCL(item, text, text ? static_cast<PV_SIZE>(std::strlen(text)) : 0);
}

PV_ITEM pv_itemPutCPtr(PV_ITEM item, char* text, PV_SIZE len) {
  item = prepare(item);
  pv_itemPutCL(item, text, len);
  pv_xfree(text);
  return item;
}

PV_ITEM pv_itemPutCLStatic(PV_ITEM item, const char* text, PV_SIZE len) {
  item = prepare(item);
  pv_itemClear(item);
  if (len == 1) text = kOneChar.bytes[static_cast<unsigned char>(text[0])];
  setStatic(item, len == 0 ? kEmpty : text, len);
  return item;
}

PV_ITEM pv_itemPutCStatic(PV_ITEM item, const char* text) {
  return pv_itemPutCLStatic(item, text, text ? static_cast<PV_SIZE>(std::strlen(text)) : 0);
}

const char* pv_itemGetCPtr(PV_ITEM item) {
  return (item && PV_IS_STRING(item)) ? item->item.asString.value : "";
}

PV_SIZE pv_itemGetCLen(PV_ITEM item) {
  return (item && PV_IS_STRING(item)) ? item->item.asString.length : 0;
}

char* pv_itemGetC(PV_ITEM item) {
  PV_SIZE len = pv_itemGetCLen(item);
  char* copy = static_cast<char*>(pv_xgrab(len + 1));
  std::memcpy(copy, pv_itemGetCPtr(item), len);
  copy[len] = 0;
  return copy;
}

PV_SIZE pv_itemCopyC(PV_ITEM item, char* buffer, PV_SIZE max) {
  PV_SIZE len = pv_itemGetCLen(item);
  if (max > 0 && len > max) len = max;
  std::memcpy(buffer, pv_itemGetCPtr(item), len);
  return len;
}

bool pv_itemSetCMemo(PV_ITEM item) {
  if (!item || !PV_IS_STRING(item)) return false;
  item->type |= PV_IT_MEMOFLAG;
  return true;
}

PV_ITEM pv_itemUnShareString(PV_ITEM item) {
  if (!ownsSingle(item)) {
    auto& s = item->item.asString;
    PvItem fresh;
    setOwned(&fresh, s.length, s.length);
    std::memcpy(fresh.item.asString.value, s.value, s.length);
    fresh.type = item->type;
    pv_itemClear(item);
    *item = fresh;
  }
  return item;
}

PV_ITEM pv_itemUnShare(PV_ITEM item) {
  item = pv_itemUnRef(item);
  return PV_IS_STRING(item) ? pv_itemUnShareString(item) : item;
}

char* pv_itemLockWriteCPtr(PV_ITEM item, PV_SIZE* len) {
  item = pv_itemUnRef(item);
  if (!PV_IS_STRING(item)) return nullptr;
  pv_itemUnShareString(item);
  *len = item->item.asString.length;
  return item->item.asString.value;
}

char* pv_itemReSizeString(PV_ITEM item, PV_SIZE len) {
  if (ownsSingle(item)) {
    auto& s = item->item.asString;
    if (static_cast<size_t>(len) + 1 > s.allocated) {
      PV_SIZE cap = len >= 0x3FFFFFFF ? len : len * 2;
      s.holders = static_cast<uint32_t*>(pv_xrealloc(s.holders, kHeader + cap + 1));
      s.value = textOf(s.holders);
      s.allocated = static_cast<uint32_t>(cap + 1);
    }
    s.length = static_cast<uint32_t>(len);
    s.value[len] = 0;
    item->type = PV_IT_STRING;
    return s.value;
  }
  PvItem fresh;
  setOwned(&fresh, len, len);
  PV_SIZE keep = PV_IS_STRING(item) ? item->item.asString.length : 0;
  if (keep > len) keep = len;
  if (keep) std::memcpy(fresh.item.asString.value, item->item.asString.value, keep);
  pv_itemClear(item);
  *item = fresh;
  return item->item.asString.value;
}
