// The machine's interface for native code: the evaluation stack, frames, calls and sends,
// parameters and return values, code-block evaluation and the quit/break requests.
//
// Stack layout of a call, from its base upward:
//   base+0  the callee's symbol item (its payload carries the frame's PvStackState)
//   base+1  "self": the receiver of a message, the block of a block evaluation, else NIL
//   base+2  parameter 1 ... parameter n, then the locals
// The running call's base is remembered; local n is at base + 1 + n.
#pragma once

#include <cstdarg>

#include "item.h"

// Per-call state, kept in the C++ frame of the function that made the call.
struct PvStackState {
  PV_SIZE prevBase;      // base of the caller's frame
  PV_SIZE privateBase;   // memvar privates stack base of the caller
  PvItem* statics;       // module statics array in use (set by the statics-frame opcode)
  PvSymbol* module;      // symbol of the running module's first entry (for file names)
  int line;              // current source line
  int baseLine;          // base of the line-offset opcode
  const char* moduleName;  // "FILE.prg:PROC" text of the module-name opcode, or nullptr
  uint16_t withObjectBase;
  uint16_t recoverBase;
  uint16_t classHandle;  // class of the running method (for scope and super)
};

// ---- requests ---------------------------------------------------------------------------------
enum : uint16_t {
  PV_QUIT_REQUESTED = 1,
  PV_BREAK_REQUESTED = 2,
  PV_ENDPROC_REQUESTED = 4,
};
void pv_vmRequestQuit();
void pv_vmRequestBreak(PV_ITEM value);   // value handed to the recovery code (may be null)
void pv_vmRequestEndProc();
extern uint16_t pv_vmRequestFlags;  // the pending requests (read through pv_vmRequestQuery)
inline uint16_t pv_vmRequestQuery() { return pv_vmRequestFlags; }
void pv_vmRequestCancel();               // clears break and end-procedure requests
void pv_vmRequestReset();                // clears every request
PV_ITEM pv_vmBreakValue();               // the value of the last break request

// ---- pushing ----------------------------------------------------------------------------------
void pv_vmPushSymbol(PvSymbol* symbol);
void pv_vmPushDynSym(PvDynSym* dynsym);
void pv_vmPushNil();
void pv_vmPush(PV_ITEM item);
void pv_vmPushString(const char* text, PV_SIZE len);
void pv_vmPushNumber(double value, int decimals);
void pv_vmPushInteger(int value);
void pv_vmPushLong(long long value);
void pv_vmPushLogical(bool value);
void pv_vmPushDate(long julian);
void pv_vmPushPointer(void* value);
void pv_vmPushItemRef(PV_ITEM item);     // a reference to an item of native code

// ---- calls ------------------------------------------------------------------------------------
void pv_vmDo(uint16_t argc);         // symbol, NIL, args pushed; result in the return slot
void pv_vmFunction(uint16_t argc);   // the same, result pushed
void pv_vmSend(uint16_t argc);       // message symbol, receiver, args; result in the return slot
PV_ITEM pv_vmEvalBlock(PV_ITEM block);                 // result: the return slot
PV_ITEM pv_vmEvalBlockV(PV_ITEM block, int argc, ...);  // PV_ITEM arguments
PV_ITEM pv_vmEvalBlockOrMacro(PV_ITEM value);
// Evaluates the code block in the running frame's self slot, with the frame's parameters.
void pv_vmEvalFrameBlock();
// Runs a procedure's (or block's) bytecode in the current frame until its end opcode.
// `rewritable`: the code lies in the machine's own copy of a procedure, where it may replace
// operations by equivalent ones that run faster.
void pv_vmExecute(const uint8_t* pcode, PvSymbol* symbols, bool rewritable = false);
// Runs a bytecode procedure, its prologue read once and then applied without decoding.
void pv_vmExecuteProc(PvPcodeFunc* proc);
// Calls the function of `symbol` in the frame just made (native or bytecode); raises 12/1001
// when there is none.
void pv_vmProcCall(PvSymbol* symbol);
// The same, with a bytecode procedure already run once entered at its body directly.
void pv_vmRunFrame(PvSymbol* symbol);

// ---- the stack, for the machine and natives ---------------------------------------------------
PV_ITEM pv_stackAllocItem();           // push a NIL slot and return it
void pv_stackPop();                    // pop and clear
void pv_stackPopReturn();              // pop into the return slot
void pv_stackDec();                    // pop without clearing (the slot was moved out)
void pv_stackRemove(PV_SIZE untilTop); // pop and clear down to the given top offset
// The stack's record: slot pointers (the items themselves never move), the top and the base of
// the running call, and the return slot. Read through the accessors below.
struct PvStack {
  PvItem** items = nullptr;  // slot pointers
  PV_SIZE size = 0;          // allocated slots
  PV_SIZE top = 0;           // first free slot
  PV_SIZE base = 0;          // base of the running call
  PvItem ret = {PV_IT_NIL, {}};
  PvStackState rootState = {};
};
extern PvStack pv_stack;

inline PV_ITEM pv_stackItemFromTop(int offset) { return pv_stack.items[pv_stack.top + offset]; }  // -1: top
// Parameter or local n of the running call.
inline PV_ITEM pv_stackItemFromBase(int n) { return pv_stack.items[pv_stack.base + 1 + n]; }
inline PV_ITEM pv_stackItem(PV_SIZE offset) { return pv_stack.items[offset]; }  // absolute slot
inline PV_SIZE pv_stackTopOffset() { return pv_stack.top; }
inline PV_SIZE pv_stackBaseOffset() { return pv_stack.base; }
inline PV_ITEM pv_stackBaseItem() { return pv_stack.items[pv_stack.base]; }  // the call's symbol
inline PV_ITEM pv_stackSelfItem() { return pv_stack.items[pv_stack.base + 1]; }
inline PV_ITEM pv_stackReturnItem() { return &pv_stack.ret; }
inline PvStackState* pv_stackBaseState() { return pv_stackBaseItem()->item.asSymbol.state; }
PvItem*** pv_stackItemsBase();         // address of the item-pointer vector (for references)
// Caller frames: level 0 is the running call; nullptr past the outermost.
PV_ITEM pv_stackFrameSymbolItem(int level);
int pv_stackFrameCount();
void pv_stackInit();
void pv_stackFree();

// ---- parameters and results of native functions -----------------------------------------------
int pv_pcount();
PV_ITEM pv_param(int n, uint32_t typeMask);   // nullptr when absent or of another type
PV_ITEM pv_paramError(int n);                 // the parameter, or a NIL item
uint32_t pv_parinfo(int n);                   // type bits (0 for n = 0: the count is in pv_pcount)
const char* pv_parc(int n);                   // nullptr when not a string
PV_SIZE pv_parclen(int n);
int pv_parni(int n);
long pv_parnl(int n);
long long pv_parnll(int n);
double pv_parnd(int n);
bool pv_parl(int n);
long pv_pardl(int n);
char* pv_pards(int n, char* buffer9);
bool pv_ispar(int n, uint32_t typeMask);
void pv_ret();
void pv_retc(const char* text);
void pv_retclen(const char* text, PV_SIZE len);
void pv_retni(int value);
void pv_retnl(long value);
void pv_retnll(long long value);
void pv_retnint(int64_t value);
void pv_retnd(double value);
void pv_retndlen(double value, int width, int decimals);
void pv_retnlen(double value, int width, int decimals);
void pv_retl(bool value);
void pv_retdl(long julian);
void pv_retds(const char* dateString);
void pv_reta(PV_SIZE len);
void pv_itemReturn(PV_ITEM item);
void pv_itemReturnRelease(PV_ITEM item);      // return and release a grip item
void pv_itemReturnForward(PV_ITEM item);      // move into the return slot
// Stores into a by-reference parameter; false when parameter n is not a reference.
bool pv_storc(const char* text, int n);
bool pv_storclen(const char* text, PV_SIZE len, int n);
bool pv_storni(int value, int n);
bool pv_stornd(double value, int n);
bool pv_storl(bool value, int n);
bool pv_itemParamStore(int n, PV_ITEM value);

// True while a TRY is active: a launched error then breaks with the error object.
bool pv_vmTryActive();

// Symbols the machine itself calls.
extern PvSymbol* pv_symEval;    // __EVAL: evaluates the code block in its self slot
