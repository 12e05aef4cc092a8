// Code-block records: creation, release and marking of their detached locals.
#include "codeblock.h"

#include <cstring>

#include "gc.h"

namespace {

void blockClear(void* block) {
  auto* cb = static_cast<PvCodeBlock*>(block);
  if (cb->locals) {
    PvItem* locals = cb->locals;
    uint16_t n = cb->localCount;
    cb->locals = nullptr;
    cb->localCount = 0;
    for (uint16_t i = 0; i < n; ++i) pv_itemClear(&locals[i]);
    pv_xfree(locals);
  }
  if (cb->ownsPcode && cb->pcode) {
    pv_xfree(const_cast<uint8_t*>(cb->pcode));
    cb->pcode = nullptr;
  }
}

void blockMark(void* block) {
  auto* cb = static_cast<PvCodeBlock*>(block);
  for (uint16_t i = 0; i < cb->localCount; ++i) pv_gcItemMark(&cb->locals[i]);
  if (cb->statics) pv_gcItemMark(cb->statics);
}

}  // namespace

const PvGcFuncs pv_codeblockGcFuncs = {blockClear, blockMark};

PvCodeBlock* pv_codeblockNew(PV_ITEM item, const uint8_t* pcode, uint32_t pcodeSize,
                             PvSymbol* symbols, uint16_t paramCount, const PvItem* locals,
                             uint16_t localCount, bool copyPcode) {
  auto* cb = static_cast<PvCodeBlock*>(pv_gcAlloc(sizeof(PvCodeBlock), &pv_codeblockGcFuncs));
  if (copyPcode) {
    auto* copy = static_cast<uint8_t*>(pv_xgrab(pcodeSize ? pcodeSize : 1));
    std::memcpy(copy, pcode, pcodeSize);
    pcode = copy;
  }
  cb->pcode = pcode;
  cb->pcodeSize = pcodeSize;
  cb->ownsPcode = copyPcode;
  cb->rewritable = false;
  cb->symbols = symbols;
  cb->statics = nullptr;
  cb->paramCount = paramCount;
  cb->localCount = localCount;
  cb->locals = nullptr;
  cb->defProc = nullptr;
  cb->defModuleName = nullptr;
  cb->defLine = 0;
  if (localCount) {
    cb->locals = static_cast<PvItem*>(pv_xgrab(localCount * sizeof(PvItem)));
    for (uint16_t i = 0; i < localCount; ++i) {
      cb->locals[i].type = PV_IT_NIL;
      pv_itemCopy(&cb->locals[i], const_cast<PvItem*>(&locals[i]));
    }
  }
  pv_itemClear(item);
  item->type = PV_IT_BLOCK;
  item->item.asBlock.value = cb;
  return cb;
}
