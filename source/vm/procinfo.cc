// Introspection of the running calls.
#include "procinfo.h"

#include <cstring>

#include "classes.h"
#include "codeblock.h"
#include "dynsym.h"
#include "vm.h"

namespace {

// Absolute base offset of a level, or -1.
PV_SIZE baseOf(int level) {
  if (level < 0) return -1;
  PV_SIZE base = pv_stackBaseOffset();
  for (; level > 0; --level) {
    if (base == 0) return -1;
    base = pv_stackItem(base)->item.asSymbol.state->prevBase;
  }
  return base == 0 ? -1 : base;
}

// Where the next frame above `level` begins (or the stack top for level 0).
PV_SIZE frameEnd(int level) {
  if (level == 0) return pv_stackTopOffset();
  PV_SIZE inner = baseOf(level - 1);
  return inner < 0 ? pv_stackTopOffset() : inner;
}

}  // namespace

bool pv_procExists(int level) { return baseOf(level) >= 0; }

std::string pv_procName(int level) {
  PV_SIZE base = baseOf(level);
  if (base < 0) return "";
  PV_ITEM sym = pv_stackItem(base);
  PvSymbol* s = sym->item.asSymbol.value;
  if (!s) return "";
  PV_ITEM self = pv_stackItem(base + 1);
  if (PV_IS_BLOCK(self)) {  // a code block: named after the procedure that made it
    PvSymbol* def = self->item.asBlock.value->defProc;
    return "(b)" + std::string(def ? def->name : s->name);
  }
  if (PV_IS_OBJECT(self) || (!PV_IS_NIL(self) && pv_objGetClass(self)))
    return std::string(pv_objGetClsName(self)) + ":" + s->name;
  return s->name;
}

int pv_procLine(int level) {
  PV_SIZE base = baseOf(level);
  return base < 0 ? 0 : pv_stackItem(base)->item.asSymbol.state->line;
}

// The file part of a "FILE.prg:PROC" module-name text.
static std::string fileOf(const char* moduleName) {
  const char* colon = std::strchr(moduleName, ':');
  return colon ? std::string(moduleName, colon) : std::string(moduleName);
}

std::string pv_procFile(int level) {
  PV_SIZE base = baseOf(level);
  if (base < 0) return "";
  PvStackState* st = pv_stackItem(base)->item.asSymbol.state;
  if (st->moduleName) return fileOf(st->moduleName);
  PV_ITEM self = pv_stackItem(base + 1);
  if (PV_IS_BLOCK(self) && self->item.asBlock.value->defModuleName)  // the maker's module
    return fileOf(self->item.asBlock.value->defModuleName);
  PvSymbol* s = pv_stackItem(base)->item.asSymbol.value;
  PvSymbol* def = (s && s->dynsym) ? s->dynsym->symbol : s;
  if (!def || !(def->scope & PV_FS_PCODEFUNC)) return "";  // native functions have no module file
  PvModule* m = pv_moduleOfSymbol(def);
  return m ? m->name : "";
}

int pv_procParamCount(int level) {
  PV_SIZE base = baseOf(level);
  return base < 0 ? 0 : pv_stackItem(base)->item.asSymbol.paramcnt;
}

int pv_procLocalCount(int level) {
  PV_SIZE base = baseOf(level);
  if (base < 0) return 0;
  PV_SIZE slots = frameEnd(level) - base - 2;
  int locals = static_cast<int>(slots) - pv_procParamCount(level);
  return locals > 0 ? locals : 0;
}

PV_ITEM pv_procLocal(int level, int n) {
  PV_SIZE base = baseOf(level);
  if (base < 0 || n < 1 || base + 1 + n >= frameEnd(level)) return nullptr;
  return pv_stackItem(base + 1 + n);
}
