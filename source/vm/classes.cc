// The class table and message dispatch.
//
// A class is identified by its 1-based position in the table. Each class keeps its message
// records in definition order and an index of (dynamic symbol, message number) pairs sorted by
// the symbol's address, searched by bisection. Instances are arrays carrying the class handle.
#include "classes.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <deque>
#include <string>
#include <vector>

#include "array.h"
#include "codeblock.h"
#include "dynsym.h"
#include "errint.h"
#include "errors.h"
#include "gc.h"
#include "itemwords.h"
#include "stackdef.h"
#include "vm.h"

namespace {

struct Method {
  PvDynSym* message = nullptr;
  PvSymbol* function = nullptr;
  int kind = 0;
  uint32_t scope = PV_OO_CLSTP_EXPORTED;
  uint32_t index = 0;       // data/class data position (1-based), inline slot, super handle
  uint16_t definedIn = 0;
  bool assigns = false;     // the name begins with "_": a data message of this name assigns
  PvItem initValue = {PV_IT_NIL, {}};
};

struct Class {
  std::string name;
  uint16_t datas = 0;
  std::vector<Method> methods;
  std::vector<std::pair<PvDynSym*, uint32_t>> index;  // sorted by symbol address
  PvItem classData = {PV_IT_NIL, {}};
  PvItem inlines = {PV_IT_NIL, {}};
  int onError = -1;        // message number of the error handler
  int destructor = -1;
  uint32_t operators = 0;
  uint16_t clsDatas = 0;
  std::vector<uint16_t> parents;
  bool classDataInitialised = false;
  std::vector<uint32_t> initialData;  // numbers of the data methods with an initial value
  bool initialDataStale = true;       // set by every change of methods or data count
};

// Classes are made only after start-up (never from static initialisers), so plain globals do.
std::deque<Class> g_classes;             // stable addresses
std::vector<Class*> g_classByHandle;     // handle n is g_classByHandle[n - 1]

std::deque<Class>& classes() { return g_classes; }

uint16_t g_scalarClass[12] = {};  // by scalar type slot (see scalarSlot)

inline Class* classOf(uint16_t h) {
  return (h >= 1 && h <= g_classByHandle.size()) ? g_classByHandle[h - 1] : nullptr;
}

void markClasses() {
  for (auto& c : classes()) {
    pv_gcItemMark(&c.classData);
    pv_gcItemMark(&c.inlines);
    for (auto& m : c.methods) pv_gcItemMark(&m.initValue);
  }
}

struct Registrar {
  Registrar() { pv_gcRegisterRoots(markClasses); }
} g_registrar;

struct OperatorName {
  const char* op;
  const char* name;
  uint32_t bit;
};

const OperatorName kOperators[] = {
    {"+", "__OPPLUS", PV_OO_OP_PLUS},         {"-", "__OPMINUS", PV_OO_OP_MINUS},
    {"*", "__OPMULT", PV_OO_OP_MULT},         {"/", "__OPDIVIDE", PV_OO_OP_DIVIDE},
    {"%", "__OPMOD", PV_OO_OP_MOD},           {"^", "__OPPOWER", PV_OO_OP_POWER},
    {"**", "__OPPOWER", PV_OO_OP_POWER},      {"++", "__OPINC", PV_OO_OP_INC},
    {"--", "__OPDEC", PV_OO_OP_DEC},          {"=", "__OPEQUAL", PV_OO_OP_EQUAL},
    {"==", "__OPEXACTEQUAL", PV_OO_OP_EXACTEQUAL}, {"!=", "__OPNOTEQUAL", PV_OO_OP_NOTEQUAL},
    {"<>", "__OPNOTEQUAL", PV_OO_OP_NOTEQUAL}, {"#", "__OPNOTEQUAL", PV_OO_OP_NOTEQUAL},
    {"<", "__OPLESS", PV_OO_OP_LESS},         {"<=", "__OPLESSEQUAL", PV_OO_OP_LESSEQUAL},
    {">", "__OPGREATER", PV_OO_OP_GREATER},   {">=", "__OPGREATEREQUAL", PV_OO_OP_GREATEREQUAL},
    {":=", "__OPASSIGN", PV_OO_OP_ASSIGN},    {"$", "__OPINSTRING", PV_OO_OP_INSTRING},
    {"!", "__OPNOT", PV_OO_OP_NOT},           {".NOT.", "__OPNOT", PV_OO_OP_NOT},
    {".AND.", "__OPAND", PV_OO_OP_AND},       {".OR.", "__OPOR", PV_OO_OP_OR},
    {"[]", "__OPARRAYINDEX", PV_OO_OP_ARRAYINDEX}, {"&", "__OPBITAND", PV_OO_OP_BITAND},
    {"|", "__OPBITOR", PV_OO_OP_BITOR},       {"^^", "__OPBITXOR", PV_OO_OP_BITXOR},
    {">>", "__OPBITSHIFTR", PV_OO_OP_SHIFTR}, {"<<", "__OPBITSHIFTL", PV_OO_OP_SHIFTL},
    {"FOR EACH", "__OPFOREACH", PV_OO_OP_FOREACH},
};

const char* operatorMessage(uint32_t bit) {
  for (const auto& o : kOperators)
    if (o.bit == bit) return o.name;
  return nullptr;
}

// Where `msg` is or belongs in the class's index (bisection).
auto indexPosition(Class* c, PvDynSym* msg) {
  return std::lower_bound(c->index.begin(), c->index.end(), msg,
                          [](const auto& e, PvDynSym* m) { return e.first < m; });
}

// The message number of `msg` in the class, or -1.
int indexFind(Class* c, PvDynSym* msg) {
  auto it = indexPosition(c, msg);
  return (it != c->index.end() && it->first == msg) ? static_cast<int>(it->second) : -1;
}

// Sends repeat the same (class, message) pairs: a direct-mapped cache of the message record
// each pair finds (or none) sits in front of the bisection. An entry belongs to the generation
// it was made in; making a class or adding a message to one starts a new generation, which
// drops every older entry at once (a class's records move when it gains one).
struct Lookup {
  uint64_t key = 0;             // class handle | generation << 16; 0 matches no lookup
  const PvDynSym* msg = nullptr;
  Method* method = nullptr;     // null: the class has no such message
};
Lookup g_lookups[1024];
uint64_t g_generation = 1;

void forgetLookups() { ++g_generation; }

// The slot of a pair: the top bits of a multiplicative hash, which mix every bit of the
// symbol's address (whose low bits are the same for all) with the handle.
inline Lookup& lookupSlot(uint16_t cls, const PvDynSym* msg) {
  constexpr int kBits = 10;
  static_assert(std::size(g_lookups) == 1u << kBits);
  uint64_t hash = (reinterpret_cast<uintptr_t>(msg) ^ cls) * 0x9E3779B97F4A7C15ull;
  return g_lookups[hash >> (64 - kBits)];
}

[[gnu::noinline]] Method* lookupMiss(Lookup& slot, uint64_t key, uint16_t cls, PvDynSym* msg) {
  Class* c = classOf(cls);
  int number = c ? indexFind(c, msg) : -1;
  slot = {key, msg, number >= 0 ? &c->methods[number] : nullptr};
  return slot.method;
}

// The message record class `cls` answers `msg` with; null when it has none (or no such class).
PV_HOT inline Method* methodOf(uint16_t cls, PvDynSym* msg) {
  uint64_t key = cls | g_generation << 16;
  Lookup& slot = lookupSlot(cls, msg);
  if (slot.key == key && slot.msg == msg) return slot.method;
  return lookupMiss(slot, key, cls, msg);
}

void indexInsert(Class* c, PvDynSym* msg, uint32_t number) {
  c->index.insert(indexPosition(c, msg), {msg, number});
  forgetLookups();
}

int scalarSlot(PV_ITEM p) {
  if (PV_IS_NIL(p)) return 0;
  if (PV_IS_ARRAY(p)) return 1;
  if (PV_IS_STRING(p)) return 2;
  if (PV_IS_BLOCK(p)) return 3;
  if (PV_IS_SYMBOL(p)) return 4;
  if (PV_IS_DATE(p)) return 5;
  if (PV_IS_NUMERIC(p)) return 6;
  if (PV_IS_LOGICAL(p)) return 7;
  if (PV_IS_POINTER(p)) return 8;
  if (PV_IS_HASH(p)) return 9;
  return -1;
}

void copyClassInto(Class* dst, uint16_t parentHandle, uint16_t dataShift, uint16_t clsDataShift) {
  Class* p = classOf(parentHandle);
  auto inlineShift = static_cast<uint32_t>(pv_arrayLen(&dst->inlines));
  for (const Method& pm : p->methods) {
    Method m = pm;
    m.initValue = {PV_IT_NIL, {}};
    if (m.kind == PV_OO_MSG_DATA) m.index += dataShift;
    if (m.kind == PV_OO_MSG_CLASSDATA) m.index += clsDataShift;
    if (m.kind == PV_OO_MSG_INLINE) m.index += inlineShift;
    pv_itemCopy(&m.initValue, const_cast<PvItem*>(&pm.initValue));
    int existing = indexFind(dst, m.message);
    if (existing >= 0) {
      pv_itemClear(&dst->methods[existing].initValue);
      dst->methods[existing] = m;
    } else {
      dst->methods.push_back(m);
      indexInsert(dst, m.message, static_cast<uint32_t>(dst->methods.size() - 1));
    }
  }
  // Inline blocks and class data of later parents follow those before them.
  for (PV_SIZE i = 1; i <= pv_arrayLen(&p->inlines); ++i)
    pv_arrayAdd(&dst->inlines, pv_arrayGetItemPtr(&p->inlines, i));
  for (PV_SIZE i = 1; i <= pv_arrayLen(&p->classData); ++i)
    pv_arrayAdd(&dst->classData, pv_arrayGetItemPtr(&p->classData, i));
  dst->operators |= p->operators;
  dst->initialDataStale = true;
}

// Runs a method function in the frame already built for the send.
PV_HOT inline void callMethod(PvSymbol* function, uint16_t argc, uint16_t cls) {
  PvStackState state;
  pv_stackNewFrame(&state, argc);
  state.classHandle = cls;
  pv_vmRunFrame(function);
  pv_stackOldFrame(&state);
}

// Answers the send of a data or class-data message: read, or assign with one argument.
void discardFrame(uint16_t argc) {
  for (int n = argc + 2; n > 0; --n) pv_stackPopFast();
}

// A data message assigns its first argument when it is the assigning form ("_NAME") or has one
// argument.
PV_HOT inline void assignData(PvItem* slot, const Method& m, uint16_t argc) {
  if (argc >= 1 && (m.assigns || argc == 1)) {
    PV_ITEM value = pv_itemUnRef(pv_stackItemFromTop(-static_cast<int>(argc)));
    pv_itemCopy(slot, value);
    slot->type &= ~PV_IT_MEMOFLAG;
  }
}

// The object's slot a data method answers with; null when the receiver has no such slot.
PV_HOT inline PvItem* dataSlot(PV_ITEM self, const Method& m) {
  if (!PV_IS_ARRAY(self) || m.index < 1 || m.index > self->item.asArray.value->len) return nullptr;
  return &self->item.asArray.value->items[m.index - 1];
}

void answerData(PvItem* slot, const Method& m, uint16_t argc) {
  assignData(slot, m, argc);
  pv_itemCopy(pv_stackReturnItem(), slot);
  discardFrame(argc);
}

// Evaluates the block of inline message `m` of class `c` in the frame of the send: the frame
// (message, receiver, arguments) becomes the block's (EVAL, block, receiver, arguments) in place.
[[gnu::noinline]] void evalInline(Class* c, const Method& m, uint16_t argc) {
  pv_stackPushSlot();
  for (int i = 0; i <= argc; ++i) pv_itemSwap(pv_stackTop(-1 - i), pv_stackTop(-2 - i));
  PV_ITEM symItem = pv_stackTop(-3 - argc);
  symItem->item.asSymbol = {pv_symEval, nullptr, 0, 0};
  pv_itemCopy(pv_stackTop(-2 - argc), pv_arrayGetItemPtr(&c->inlines, m.index));
  pv_vmDo(static_cast<uint16_t>(argc + 1));
}

// Answers a super message with the receiver seen as the parent. The parent is that of the
// class whose method is running, not of the receiver's class: a parent's method calling Super
// reaches the grandparent.
[[gnu::noinline]] void answerSuper(const Method& m, PvDynSym* msg, PV_ITEM self, uint16_t argc) {
  uint32_t parent = m.index;
  Method* own = methodOf(pv_stackBaseState()->classHandle, msg);
  if (own && own->kind == PV_OO_MSG_SUPER) parent = own->index;
  pv_itemCopy(pv_stackReturnItem(), self);
  pv_stackReturnItem()->item.asArray.superCls = static_cast<uint16_t>(parent);
  discardFrame(argc);
}

bool universalMessage(const char* name, PV_ITEM self, uint16_t argc) {
  if (name[0] != 'C' && name[0] != 'I' && name[0] != 'E') return false;  // none of the names below
  uint16_t cls = pv_objGetClass(self);
  PV_ITEM ret = pv_stackReturnItem();
  if (!std::strcmp(name, "CLASSNAME")) {
    pv_itemPutC(ret, pv_objGetClsName(self));
  } else if (!std::strcmp(name, "CLASSH")) {
    pv_itemPutNI(ret, cls);
  } else if (!std::strcmp(name, "CLASSSEL") || !std::strcmp(name, "CLASSFULLSEL")) {
    pv_clsMessageList(cls, ret, name[5] == 'F');
  } else if (!std::strcmp(name, "ISDERIVEDFROM")) {
    PV_ITEM arg = argc ? pv_itemUnRef(pv_stackItemFromTop(-static_cast<int>(argc))) : nullptr;
    bool yes = false;
    if (arg && PV_IS_STRING(arg)) yes = pv_clsIsParent(cls, pv_itemGetCPtr(arg));
    else if (arg && PV_IS_OBJECT(arg)) yes = pv_clsIsParent(cls, pv_clsName(pv_objGetClass(arg)));
    pv_itemPutL(ret, yes);
  } else if (!std::strcmp(name, "EVAL") && PV_IS_BLOCK(self)) {
    return false;  // handled by the caller as a block evaluation
  } else {
    return false;
  }
  discardFrame(argc);
  return true;
}

void noMethodError(PV_ITEM self, const char* name, uint16_t argc) {
  bool assign = name[0] == '_';
  std::string desc = std::string("Class: '") + pv_objGetClsName(self) +
                     (assign ? "' has no property" : "' has no exported method");
  PV_ITEM args = pv_itemNew(nullptr);
  pv_arrayNew(args, argc + 1);
  pv_arraySet(args, 1, self);
  for (uint16_t i = 0; i < argc; ++i)
    pv_arraySet(args, i + 2, pv_stackItemFromTop(-static_cast<int>(argc) + i));
  discardFrame(argc);
  PV_ITEM subst = pv_errRT_BASE_SubstArray(assign ? 16 : 13, assign ? 1005 : 1004, desc.c_str(),
                                           assign ? name + 1 : name, args);
  pv_itemRelease(args);
  if (subst) {
    pv_itemMove(pv_stackReturnItem(), subst);
    pv_itemRelease(subst);
  } else {
    pv_itemClear(pv_stackReturnItem());
  }
}

}  // namespace

uint16_t pv_clsCreate(const char* name, uint16_t datas, const uint16_t* parents, int parentCount) {
  forgetLookups();
  classes().emplace_back();
  auto handle = static_cast<uint16_t>(classes().size());
  Class* c = &classes().back();
  g_classByHandle.push_back(c);
  c->name = name ? name : "";
  for (auto& ch : c->name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  pv_arrayNew(&c->classData, 0);
  pv_arrayNew(&c->inlines, 0);
  uint16_t dataShift = 0, clsShift = 0;
  for (int i = 0; i < parentCount; ++i) {
    Class* p = classOf(parents[i]);
    if (!p) continue;
    c->parents.push_back(parents[i]);
    copyClassInto(c, parents[i], dataShift, clsShift);
    if (i == 0) {
      c->onError = p->onError;
      c->destructor = p->destructor;
    }
    dataShift = static_cast<uint16_t>(dataShift + p->datas);
    clsShift = static_cast<uint16_t>(clsShift + p->clsDatas);
  }
  c->datas = static_cast<uint16_t>(dataShift + datas);
  c->initialDataStale = true;
  c->clsDatas = clsShift;
  return handle;
}

bool pv_clsAddMsg(uint16_t cls, const char* name, int kind, PvSymbol* function, uint32_t index,
                  PV_ITEM block, PV_ITEM initValue, uint32_t scope) {
  Class* c = classOf(cls);
  if (!c || !name) return false;
  if (kind == PV_OO_MSG_PROPERTY || kind == PV_OO_MSG_CLSPROPERTY) {
    int base = kind == PV_OO_MSG_PROPERTY ? PV_OO_MSG_DATA : PV_OO_MSG_CLASSDATA;
    std::string assign = std::string("_") + name;
    return pv_clsAddMsg(cls, name, base, nullptr, index, nullptr, initValue, scope) &&
           pv_clsAddMsg(cls, assign.c_str(), base, nullptr, index, nullptr, nullptr, scope);
  }
  if (kind < 0 || kind > PV_OO_MSG_DELEGATE || kind == 8)
    pv_errInternal(9005, nullptr, "__clsAddMsg", nullptr);
  if (kind == PV_OO_MSG_INLINE && !(block && PV_IS_BLOCK(block))) {
    pv_errRT_BASE(1, 3000, nullptr, "__CLSADDMSG", 0);
    return false;
  }
  std::string msgName = name;
  for (const auto& o : kOperators) {
    if (msgName == o.op) {
      msgName = o.name;
      c->operators |= o.bit;
      break;
    }
  }
  PvDynSym* msg = pv_dynsymGet(msgName.c_str());
  int number = indexFind(c, msg);
  if (number < 0) {
    c->methods.emplace_back();
    number = static_cast<int>(c->methods.size() - 1);
    indexInsert(c, msg, static_cast<uint32_t>(number));
  }
  Method& m = c->methods[number];
  c->initialDataStale = true;
  pv_itemClear(&m.initValue);
  m.message = msg;
  m.function = function;
  m.kind = kind;
  m.scope = scope ? scope : PV_OO_CLSTP_EXPORTED;
  m.index = index;
  m.definedIn = cls;
  m.assigns = msgName[0] == '_';
  if (initValue && !PV_IS_NIL(initValue)) pv_itemCopy(&m.initValue, initValue);
  if (kind == PV_OO_MSG_INLINE) {
    pv_arrayAdd(&c->inlines, block);
    m.index = static_cast<uint32_t>(pv_arrayLen(&c->inlines));
  } else if (kind == PV_OO_MSG_CLASSDATA) {
    if (pv_arrayLen(&c->classData) < index) pv_arraySize(&c->classData, index);
    if (index > c->clsDatas) c->clsDatas = static_cast<uint16_t>(index);
    if (initValue && !PV_IS_NIL(initValue) && msgName[0] != '_')
      pv_itemCloneTo(pv_arrayGetItemPtr(&c->classData, index), initValue);
  } else if (kind == PV_OO_MSG_ONERROR) {
    c->onError = number;
  } else if (kind == PV_OO_MSG_DESTRUCTOR) {
    c->destructor = number;
  } else if (kind == PV_OO_MSG_DATA && index > c->datas) {
    c->datas = static_cast<uint16_t>(index);
  }
  return true;
}

bool pv_clsIsValid(uint16_t cls) { return classOf(cls) != nullptr; }

namespace {

// The data methods whose initial value a new object gets, listed again after a class change.
const std::vector<uint32_t>& initialDataOf(Class* c) {
  if (c->initialDataStale) {
    c->initialData.clear();
    for (uint32_t n = 0; n < c->methods.size(); ++n) {
      const Method& m = c->methods[n];
      if (m.kind == PV_OO_MSG_DATA && !PV_IS_NIL(&m.initValue) && m.index >= 1 && m.index <= c->datas)
        c->initialData.push_back(n);
    }
    c->initialDataStale = false;
  }
  return c->initialData;
}

}  // namespace

bool pv_clsInst(uint16_t cls, PV_ITEM dest) {
  Class* c = classOf(cls);
  if (!c) {
    pv_errRT_BASE(1, 3006, "Invalid class handle", "pv_clsInst()", 0);
    pv_itemClear(dest);
    return false;
  }
  pv_arrayNew(dest, c->datas);
  dest->item.asArray.value->uiClass = cls;
  for (uint32_t number : initialDataOf(c)) {
    Method& m = c->methods[number];
    pv_itemCloneTo(&dest->item.asArray.value->items[m.index - 1], &m.initValue);
  }
  c->classDataInitialised = true;
  return true;
}

const char* pv_clsName(uint16_t cls) {
  Class* c = classOf(cls);
  return c ? c->name.c_str() : "";
}

uint16_t pv_clsFindClass(const char* name) {
  std::string n = name ? name : "";
  for (auto& ch : n) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (size_t i = 0; i < classes().size(); ++i)
    if (classes()[i].name == n) return static_cast<uint16_t>(i + 1);
  return 0;
}

uint16_t pv_clsDataCount(uint16_t cls) { return classOf(cls) ? classOf(cls)->datas : 0; }
uint16_t pv_clsClassDataCount(uint16_t cls) { return classOf(cls) ? classOf(cls)->clsDatas : 0; }
uint32_t pv_clsOperators(uint16_t cls) { return classOf(cls) ? classOf(cls)->operators : 0; }
uint16_t pv_clsCount() { return static_cast<uint16_t>(classes().size()); }

bool pv_clsIsParent(uint16_t cls, const char* parentName) {
  Class* c = classOf(cls);
  if (!c) return false;
  std::string n = parentName;
  for (auto& ch : n) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (c->name == n) return true;
  for (uint16_t p : c->parents)
    if (pv_clsIsParent(p, n.c_str())) return true;
  return false;
}

bool pv_clsAssocType(uint16_t cls, const char* typeName) {
  static const char* const kNames[] = {"NIL", "ARRAY", "CHARACTER", "BLOCK", "SYMBOL",
                                       "DATE", "NUMERIC", "LOGICAL", "POINTER", "HASH"};
  Class* c = classOf(cls);
  if (!c) return false;
  if (c->datas) {
    pv_errRT_BASE(1, 3005, "Scalar class can not contain any datas", "__CLSASSOCTYPE", 0);
    return false;
  }
  for (int i = 0; i < 10; ++i)
    if (!std::strcmp(typeName, kNames[i])) {
      g_scalarClass[i] = cls;
      return true;
    }
  return false;
}

const char* pv_clsConstructorMessage(uint16_t cls) {
  Class* c = classOf(cls);
  if (!c || c->methods.empty()) return "";
  for (const Method& m : c->methods)
    if (m.scope & PV_OO_CLSTP_CTOR) return pv_dynsymName(m.message);
  return pv_dynsymName(c->methods.back().message);
}

void pv_clsMessageList(uint16_t cls, PV_ITEM dest, bool full) {
  Class* c = classOf(cls);
  pv_arrayNew(dest, 0);
  if (!c) return;
  for (const Method& m : c->methods) {
    if (!full && m.kind == PV_OO_MSG_DATA && pv_dynsymName(m.message)[0] == '_') continue;
    PvItem name = {PV_IT_NIL, {}};
    pv_itemPutC(&name, pv_dynsymName(m.message));
    pv_arrayAddForward(dest, &name);
  }
}

uint16_t pv_objGetClass(PV_ITEM object) {
  if (!object) return 0;
  object = pv_itemUnRef(object);
  if (PV_IS_ARRAY(object)) {
    if (object->item.asArray.value->uiClass) return object->item.asArray.value->uiClass;
  }
  int slot = scalarSlot(object);
  return slot >= 0 ? g_scalarClass[slot] : 0;
}

const char* pv_objGetClsName(PV_ITEM object) {
  uint16_t cls = pv_objGetClass(object);
  if (cls) return pv_clsName(cls);
  object = pv_itemUnRef(object);
  if (PV_IS_ARRAY(object)) return "ARRAY";
  if (PV_IS_STRING(object)) return "CHARACTER";
  if (PV_IS_NUMERIC(object)) return "NUMERIC";
  if (PV_IS_DATE(object)) return "DATE";
  if (PV_IS_LOGICAL(object)) return "LOGICAL";
  if (PV_IS_BLOCK(object)) return "BLOCK";
  if (PV_IS_HASH(object)) return "HASH";
  if (PV_IS_POINTER(object)) return "POINTER";
  if (PV_IS_SYMBOL(object)) return "SYMBOL";
  return "NIL";
}

bool pv_objHasMessage(PV_ITEM object, PvDynSym* msg) {
  return msg && methodOf(pv_objGetClass(object), msg);
}

PvSymbol* pv_clsMethodFunction(uint16_t cls, PvDynSym* msg) {
  Method* m = msg ? methodOf(cls, msg) : nullptr;
  return m ? m->function : nullptr;
}

bool pv_objHasMsg(PV_ITEM object, const char* message) {
  PvDynSym* d = pv_dynsymFindName(message);
  return d && pv_objHasMessage(object, d);
}

bool pv_objHasOperator(PV_ITEM object, uint32_t op) {
  object = pv_itemUnRef(object);
  return PV_IS_OBJECT(object) && (pv_clsOperators(object->item.asArray.value->uiClass) & op);
}

void pv_clsDispatch(uint16_t argc) {
  PV_ITEM symItem = pv_stackItemFromTop(-static_cast<int>(argc) - 2);
  PV_ITEM self = pv_stackItemFromTop(-static_cast<int>(argc) - 1);
  PvSymbol* sym = symItem->item.asSymbol.value;
  PvDynSym* msg = sym->dynsym ? sym->dynsym : pv_dynsymGet(sym->name);
  if (PV_IS_BYREF(self)) pv_itemCopy(self, pv_itemUnRef(self));
  uint16_t lookIn = 0;
  if (PV_IS_ARRAY(self) && self->item.asArray.superCls) {
    lookIn = self->item.asArray.superCls;
    self->item.asArray.superCls = 0;  // inside the method Self is the plain object again
  }
  if (!lookIn) lookIn = PV_IS_ARRAY(self) ? self->item.asArray.value->uiClass : 0;
  if (!lookIn) lookIn = pv_objGetClass(self);
  Class* c = classOf(lookIn);
  if (Method* found = methodOf(lookIn, msg)) {
    Method& m = *found;
    switch (m.kind) {
      case PV_OO_MSG_METHOD:
      case PV_OO_MSG_ONERROR:
      case PV_OO_MSG_DESTRUCTOR:
        callMethod(m.function, argc, m.definedIn);
        return;
      case PV_OO_MSG_DATA:
        if (PvItem* slot = dataSlot(self, m))
          answerData(slot, m, argc);
        else
          discardFrame(argc), pv_itemClear(pv_stackReturnItem());
        return;
      case PV_OO_MSG_CLASSDATA: {
        PV_ITEM slot = pv_arrayGetItemPtr(&c->classData, m.index);
        answerData(slot ? slot : pv_arrayScratchNil(), m, argc);
        return;
      }
      case PV_OO_MSG_INLINE:  // the block gets the receiver, then the message's arguments
        evalInline(c, m, argc);
        return;
      case PV_OO_MSG_VIRTUAL:
        discardFrame(argc);
        pv_itemClear(pv_stackReturnItem());
        return;
      case PV_OO_MSG_SUPER:
        answerSuper(m, msg, self, argc);
        return;
      case PV_OO_MSG_DELEGATE: {
        PvItem target = {PV_IT_NIL, {}};
        if (PV_IS_ARRAY(self)) pv_arrayGet(self, m.index, &target);
        pv_itemMove(self, &target);
        pv_clsDispatch(argc);
        return;
      }
      default:
        pv_errInternal(9005, nullptr, "pv_clsDispatch", nullptr);
    }
  }
  if (universalMessage(sym->name, self, argc)) return;
  if (PV_IS_BLOCK(self) && !std::strcmp(sym->name, "EVAL")) {
    symItem->item.asSymbol.value = pv_symEval;
    pv_vmDo(argc);
    return;
  }
  if (c && c->onError >= 0) {
    callMethod(c->methods[c->onError].function, argc, lookIn);
    return;
  }
  noMethodError(self, sym->name, argc);
}

namespace {

// The message record a send to a plain object (an instance not seen as its parent) finds, or
// null when the send needs the dispatcher.
PV_HOT inline Method* plainMethod(PV_ITEM self, PvDynSym* msg) {
  if (self->type != PV_IT_ARRAY || self->item.asArray.superCls) return nullptr;
  uint16_t cls = self->item.asArray.value->uiClass;
  return cls ? methodOf(cls, msg) : nullptr;
}

// The method or inline message a send to an instance seen as its parent runs, or null when
// the send needs the dispatcher.
[[gnu::noinline]] Method* parentBody(PV_ITEM self, PvDynSym* msg) {
  if (self->type != PV_IT_ARRAY || !self->item.asArray.superCls) return nullptr;
  Method* m = methodOf(self->item.asArray.superCls, msg);
  return m && (m->kind == PV_OO_MSG_METHOD || m->kind == PV_OO_MSG_INLINE) ? m : nullptr;
}

// Runs method or inline message `m` of class `cls` in the send's frame and pushes its result.
PV_HOT inline void runBody(const Method& m, uint16_t cls, uint16_t argc) {
  pv_itemClear(pv_stackReturnItem());
  if (m.kind == PV_OO_MSG_METHOD) callMethod(m.function, argc, m.definedIn);
  else evalInline(classOf(cls), m, argc);
  pv_itemMoveWords(pv_stackPushSlot(), pv_stackReturnItem());
}

}  // namespace

// The commonest sends take one lookup: to an instance, a data message is answered in place, a
// method's body or an inline block is run directly and a super message is answered; to an
// instance seen as its parent, a method or inline block is run. The others go through the
// dispatcher.
void pv_clsSend(uint16_t argc) {
  PV_ITEM symItem = pv_stackItemFromTop(-static_cast<int>(argc) - 2);
  PV_ITEM self = pv_stackItemFromTop(-static_cast<int>(argc) - 1);
  if (Method* m = plainMethod(self, symItem->item.asSymbol.value->dynsym)) {
    if (m->kind == PV_OO_MSG_DATA) {
      if (PvItem* slot = dataSlot(self, *m)) {
        assignData(slot, *m, argc);
        pv_itemCopyWords(symItem, slot);  // before the receiver, which may hold the object's last count
        for (int n = argc + 1; n > 0; --n) pv_stackPopFast();
        return;
      }
    } else if (m->kind == PV_OO_MSG_METHOD || m->kind == PV_OO_MSG_INLINE) {
      runBody(*m, self->item.asArray.value->uiClass, argc);
      return;
    } else if (m->kind == PV_OO_MSG_SUPER) {
      answerSuper(*m, m->message, self, argc);
      pv_itemMoveWords(pv_stackPushSlot(), pv_stackReturnItem());
      return;
    }
  } else if (Method* body = parentBody(self, symItem->item.asSymbol.value->dynsym)) {
    uint16_t cls = self->item.asArray.superCls;
    self->item.asArray.superCls = 0;  // inside the method Self is the plain object again
    runBody(*body, cls, argc);
    return;
  }
  pv_vmSend(argc);
  pv_itemMoveWords(pv_stackPushSlot(), pv_stackReturnItem());
}

bool pv_clsPushData(PV_ITEM object, PvSymbol* message) {
  Method* m = plainMethod(object, message->dynsym);
  PvItem* slot = m && m->kind == PV_OO_MSG_DATA ? dataSlot(object, *m) : nullptr;
  if (!slot) return false;
  pv_itemCopyWords(pv_stackPushSlot(), slot);
  return true;
}

namespace {

// Sends `message` to `object` with the argc items of `ap`; the result is the return item.
PV_ITEM sendWithArgs(PV_ITEM object, PvSymbol* message, int argc, va_list ap) {
  pv_vmPushSymbol(message);
  pv_vmPush(object);
  for (int i = 0; i < argc; ++i) pv_vmPush(va_arg(ap, PV_ITEM));
  pv_vmSend(static_cast<uint16_t>(argc));
  return pv_stackReturnItem();
}

}  // namespace

PV_ITEM pv_objSendSymbol(PV_ITEM object, PvSymbol* message, int argc, ...) {
  va_list ap;
  va_start(ap, argc);
  PV_ITEM result = sendWithArgs(object, message, argc, ap);
  va_end(ap);
  return result;
}

PV_ITEM pv_objSendMsg(PV_ITEM object, const char* message, int argc, ...) {
  va_list ap;
  va_start(ap, argc);
  PV_ITEM result = sendWithArgs(object, pv_dynsymGet(message)->symbol, argc, ap);
  va_end(ap);
  return result;
}

bool pv_objOperatorCall(uint32_t op, PV_ITEM result, PV_ITEM object, PV_ITEM arg1, PV_ITEM arg2) {
  if (!pv_objHasOperator(object, op)) return false;
  pv_vmPushSymbol(pv_dynsymGet(operatorMessage(op))->symbol);
  pv_vmPush(object);
  uint16_t argc = 0;
  if (arg1) { pv_vmPush(arg1); ++argc; }
  if (arg2) { pv_vmPush(arg2); ++argc; }
  pv_vmSend(argc);
  pv_itemCopy(result, pv_stackReturnItem());
  return true;
}

void pv_clsDestruct(PvBaseArray* object) {
  Class* c = classOf(object->uiClass);
  if (!c || c->destructor < 0 || pv_gcIsDead(object)) return;
  PvItem self = {PV_IT_ARRAY, {}};
  self.item.asArray.value = object;
  self.item.asArray.superCls = 0;
  pv_gcIncRef(object);
  PvItem saved = {PV_IT_NIL, {}};
  pv_itemMove(&saved, pv_stackReturnItem());  // a destructor must not disturb a result
  pv_vmPushSymbol(c->methods[c->destructor].message->symbol);
  pv_vmPush(&self);
  callMethod(c->methods[c->destructor].function, 0, object->uiClass);
  pv_itemMove(pv_stackReturnItem(), &saved);
  pv_itemClear(&self);
}

void pv_clsReleaseAll() {
  for (auto& c : classes()) {
    pv_itemClear(&c.classData);
    pv_itemClear(&c.inlines);
    for (auto& m : c.methods) pv_itemClear(&m.initValue);
  }
}
