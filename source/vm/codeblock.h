// Code blocks: a stretch of bytecode with its module's symbols, parameter count, module statics
// and the detached locals it shares with the procedure that created it.
#pragma once

#include "item.h"

struct PvCodeBlock {
  const uint8_t* pcode;     // the block's bytecode (starting after the PUSHBLOCK operands)
  PvSymbol* symbols;        // the module's symbol table
  PvItem* statics;          // the module statics array item it uses, or nullptr
  PvItem* locals;           // detached locals: localCount by-reference items (index 1..count)
  uint16_t localCount;
  uint16_t paramCount;
  uint32_t pcodeSize;
  bool ownsPcode;           // macro-compiled blocks own a copy of their bytecode
  bool rewritable;          // the bytecode lies in the machine's own copy of a procedure
  PvSymbol* defProc;        // the procedure that created it (for error reports)
  const char* defModuleName;  // its "FILE.prg:PROC" text, or nullptr
  int defLine;
};

// A new code block held by `item`. `locals` are copied in (count items).
PvCodeBlock* pv_codeblockNew(PV_ITEM item, const uint8_t* pcode, uint32_t pcodeSize,
                             PvSymbol* symbols, uint16_t paramCount, const PvItem* locals,
                             uint16_t localCount, bool copyPcode);
extern const PvGcFuncs pv_codeblockGcFuncs;
