// The table engine's interface: the driver registry, method tables, work areas and aliases.
//
// A driver is a table of 99 methods (PvRddFuncs). Every method takes the work area and an
// argument record and returns PV_SUCCESS or PV_FAILURE; what a slot reads from and writes to
// the record is listed with its slot below. A driver's table starts as a copy of its parent's
// (the default methods for "DBF") and overrides some slots; the copy it started from is kept as
// its super table, so an override can call the parent's version. Slots 93–97 receive the driver
// record in `args.node` and no work area.
//
// Work-area states (see the DBF driver for the record-level states):
//
//   free number ──pv_rddInsertAreaNode──▶ area allocated ──open/create──▶ in use
//        ▲                                        │ failure                   │ close
//        └────────────────pv_rddReleaseCurrentArea◀───────────────────────────┘
//
// Grep "ORDER RDDSLOT" when changing the slot enum.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "item.h"

struct PvArea;
struct PvRddNode;
struct PvDynSym;

enum : int { PV_SUCCESS = 0, PV_FAILURE = 1 };

// Arguments and results of a method call. Unused members stay at their defaults.
struct PvRddArgs {
  long number = 0;          // record number, skip count, info code, lock method, field 1-based
  PV_ITEM item = nullptr;   // value in or out
  PV_ITEM item2 = nullptr;  // second value (info: the extra parameter)
  bool flag = false;        // flags in or out (bof/eof/found/deleted, append's unlock-all)
  void* ptr = nullptr;      // open/create parameters (PvOpenInfo*), error object
  PvRddNode* node = nullptr;  // slots 93–97
};

// Order arguments and results of the order slots: the order (number or name, may be null),
// the bag (name or number, may be null), a new value (ORDINFO writes, scopes) and the result.
struct PvOrderInfo {
  PV_ITEM order = nullptr;
  PV_ITEM bag = nullptr;
  PV_ITEM newValue = nullptr;
  PV_ITEM result = nullptr;
  // ORDCREATE
  std::string bagName, tagName, keyText;
  PV_ITEM keyBlock = nullptr;
  bool unique = false;
};

using PvRddMethod = int (*)(PvArea* area, PvRddArgs* args);

enum PvRddSlot : int {  // ORDER RDDSLOT
  PV_RDD_BOF, PV_RDD_EOF, PV_RDD_FOUND,           // out flag
  PV_RDD_GOBOTTOM,                                // —
  PV_RDD_GOTO,                                    // in number
  PV_RDD_GOTOID,                                  // in item
  PV_RDD_GOTOP, PV_RDD_SEEK,                      // seek: in item, flag (soft)
  PV_RDD_SKIP, PV_RDD_SKIPFILTER, PV_RDD_SKIPRAW,  // in number
  PV_RDD_ADDFIELD,                                // in ptr (PvField*)
  PV_RDD_APPEND,                                  // in flag (release locks)
  PV_RDD_CREATEFIELDS,                            // in item (structure array)
  PV_RDD_DELETE, PV_RDD_DELETED,                  // deleted: out flag
  PV_RDD_FIELDCOUNT,                              // out number
  PV_RDD_FIELDDISPLAY,
  PV_RDD_FIELDINFO,                               // in number (field), item2 (code); out item
  PV_RDD_FIELDNAME,                               // in number; out item
  PV_RDD_FLUSH, PV_RDD_GETREC,
  PV_RDD_GETVALUE,                                // in number; out item
  PV_RDD_GETVALUELEN,                             // in number; out number
  PV_RDD_GOCOLD, PV_RDD_GOHOT, PV_RDD_PUTREC,
  PV_RDD_PUTVALUE,                                // in number, item
  PV_RDD_RECALL,
  PV_RDD_RECCOUNT, PV_RDD_RECINFO, PV_RDD_RECNO,  // out number
  PV_RDD_RECID,                                   // out item
  PV_RDD_SETFIELDEXTENT,                          // in number
  PV_RDD_ALIAS,                                   // out item
  PV_RDD_CLOSE, PV_RDD_CREATE,                    // create: in ptr (PvOpenInfo*)
  PV_RDD_INFO,                                    // in number (code), item2; out item
  PV_RDD_NEWAREA,
  PV_RDD_OPEN,                                    // in ptr (PvOpenInfo*)
  PV_RDD_RELEASE, PV_RDD_STRUCTSIZE,
  PV_RDD_SYSNAME,                                 // out item
  PV_RDD_DBEVAL,                                  // in item (block), ptr (PvScope*)
  PV_RDD_PACK, PV_RDD_PACKREC,
  PV_RDD_SORT,                                    // in ptr (PvSortInfo*)
  PV_RDD_TRANS, PV_RDD_TRANSREC, PV_RDD_ZAP,
  PV_RDD_CHILDEND, PV_RDD_CHILDSTART, PV_RDD_CHILDSYNC, PV_RDD_SYNCCHILDREN,
  PV_RDD_CLEARREL, PV_RDD_FORCEREL, PV_RDD_RELAREA, PV_RDD_RELEVAL, PV_RDD_RELTEXT,
  PV_RDD_SETREL,                                  // in number (child), item (key), item2 (text), flag
  PV_RDD_ORDLSTADD, PV_RDD_ORDLSTCLEAR, PV_RDD_ORDLSTDELETE, PV_RDD_ORDLSTFOCUS,
  PV_RDD_ORDLSTREBUILD, PV_RDD_ORDSETCOND, PV_RDD_ORDCREATE, PV_RDD_ORDDESTROY,
  PV_RDD_ORDINFO,
  PV_RDD_CLEARFILTER, PV_RDD_CLEARLOCATE, PV_RDD_CLEARSCOPE, PV_RDD_COUNTSCOPE,
  PV_RDD_FILTERTEXT, PV_RDD_SCOPEINFO,
  PV_RDD_SETFILTER,                               // in item (block), item2 (text)
  PV_RDD_SETLOCATE,                               // in ptr (PvScope*)
  PV_RDD_SETSCOPE, PV_RDD_SKIPSCOPE,
  PV_RDD_LOCATE,                                  // in flag (continue)
  PV_RDD_COMPILE,
  PV_RDD_ERROR,                                   // in ptr (error item); out number (verdict)
  PV_RDD_EVALBLOCK,
  PV_RDD_RAWLOCK,                                 // in number (action), item (record)
  PV_RDD_LOCK,                                    // in number (method), item (record); out flag
  PV_RDD_UNLOCK,                                  // in item (record, NIL: all)
  PV_RDD_CLOSEMEMFILE, PV_RDD_CREATEMEMFILE, PV_RDD_GETVALUEFILE, PV_RDD_OPENMEMFILE,
  PV_RDD_PUTVALUEFILE, PV_RDD_READHEADER, PV_RDD_WRITEHEADER,
  PV_RDD_INIT, PV_RDD_EXIT, PV_RDD_DROP, PV_RDD_EXISTS, PV_RDD_RDDINFO,
  PV_RDD_RESERVED,
  PV_RDD_SLOTS
};
static_assert(PV_RDD_SLOTS == 99, "the method table has 99 slots");

struct PvRddFuncs {
  PvRddMethod slot[PV_RDD_SLOTS];
};

// A field of a work area.
struct PvField {
  std::string name;   // upper case, trimmed
  int type = 0;       // the internal type code of the DBF type table
  int typeExt = 0;
  uint16_t length = 0;
  uint16_t decimals = 0;
  uint16_t flags = 0;
  uint16_t step = 0;
  PvDynSym* symbol = nullptr;
};

// Open and create parameters.
struct PvOpenInfo {
  uint16_t area = 0;
  std::string file;
  std::string alias;
  bool shared = false;
  bool readOnly = false;
  std::string codePage;
};

// A scope of records for dbEval and locate: the for- and while-conditions, the next n
// records, one record, or the rest from the current record.
struct PvScope {
  PV_ITEM forBlock = nullptr;
  PV_ITEM whileBlock = nullptr;
  long next = 0;            // 0: no limit
  PV_ITEM record = nullptr;  // a record number, or nullptr
  bool rest = false;
};

// A sort key: a field of the source area, in descending order and/or without regard to case.
struct PvSortKey {
  uint16_t field = 0;  // 1-based
  bool descending = false;
  bool noCase = false;
};

// What the sort slot (__DBARRANGE) does: the records of `scope` written in the order of `keys`
// (records with equal keys keep their order) into `target`, copying the (source, target) field
// pairs of `fields` (1-based).
struct PvSortInfo {
  PvScope scope;
  std::vector<PvSortKey> keys;
  PvArea* target = nullptr;
  std::vector<std::pair<uint16_t, uint16_t>> fields;
};

// A relation from a parent area to a child area: after each move of the parent the key block
// is evaluated in the parent and the child goes to the record the key names.
struct PvRelation {
  uint16_t child = 0;
  PV_ITEM key = nullptr;  // grip item
  std::string text;
  bool scoped = false;
};

// The common part of every work area; drivers extend it.
struct PvArea {
  virtual ~PvArea() = default;
  const PvRddFuncs* table = nullptr;
  uint16_t areaNum = 0;
  uint16_t driverNum = 0;
  PvDynSym* alias = nullptr;
  std::vector<PvField> fields;
  uint16_t fieldExtent = 0;
  uint16_t maxFieldNameLength = 10;
  PvItem result = {PV_IT_NIL, {}};
  bool top = false, bottom = false, bof = false, eof = false, found = false;
  PV_ITEM filterBlock = nullptr;  // grip item while a filter is set
  std::string filterText;
  PV_ITEM locateFor = nullptr;    // grip items of the locate condition (__DBSETLOCATE)
  PV_ITEM locateWhile = nullptr;
  std::vector<PvRelation> relations;  // to child areas
  int parentCount = 0;                // relations in which this area is the child
};

// A registered driver.
struct PvRddNode {
  std::string name;
  uint16_t type = 1;
  uint16_t number = 0;
  PvRddFuncs table = {};
  PvRddFuncs super = {};
  std::unique_ptr<PvArea> (*makeArea)() = nullptr;  // the driver's work-area record
  std::shared_ptr<void> settings;                   // created by init, dropped by exit
};

// A driver's table function: fills `table` and `super` for driver `number`; 0 on success.
using PvRddGetFuncTable = int (*)(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super,
                                  uint16_t number, PvRddNode* node);

// ---- registry ---------------------------------------------------------------------------------
// 0 registered, 1 already there, 2 no table function of that name, 3 the table function failed.
int pv_rddRegister(const char* name, uint16_t type);
// Registers the table function of a driver under "<NAME>_GETFUNCTABLE" (driver modules do this
// at start-up; pv_rddRegister finds it there).
void pv_rddRegisterFuncTable(const char* name, PvRddGetFuncTable fn);
// Copies the parent's table (the defaults for an empty name) into table and super, then every
// non-null slot of `own` over table. Fails when the parent is not registered.
int pv_rddInherit(PvRddFuncs* table, const PvRddFuncs* own, PvRddFuncs* super, const char* parent);
PvRddNode* pv_rddFindNode(const char* name, uint16_t* number = nullptr);
PvRddNode* pv_rddGetNode(uint16_t number);
std::vector<std::string> pv_rddList(uint16_t type);
// With a name: makes that registered driver the default (nullptr when unknown). Without: the
// default, choosing the first registered of DBFNTX, DBFCDX, DBFFPT, DBF once.
const char* pv_rddDefaultDrv(const char* name);
const PvRddFuncs* pv_rddDefaultMethods();
void pv_rddShutDown();

// ---- work areas -------------------------------------------------------------------------------
int pv_rddSelectWorkAreaNumber(int area);
int pv_rddSelectFirstAvailable();
int pv_rddInsertAreaNode(const char* driver);
void pv_rddReleaseCurrentArea();
void pv_rddCloseAll();
int pv_rddFlushAll();
// Calls `fn` for every area in area-number order until it returns PV_FAILURE.
int pv_rddIterateWorkAreas(int (*fn)(PvArea* area, void* data), void* data);
int pv_rddUnLockAll();
int pv_rddGetCurrentWorkAreaNumber();
PvArea* pv_rddGetCurrentWorkAreaPointer();
PvArea* pv_rddGetWorkAreaPointer(int area);
bool pv_rddGetNetErr();
void pv_rddSetNetErr(bool value);

// ---- aliases ----------------------------------------------------------------------------------
bool pv_rddVerifyAliasName(const char* text);
int pv_rddGetAliasNumber(const char* text, int* area);
int pv_rddAllocWorkAreaAlias(const char* name, int area);
int pv_rddSelectWorkAreaAlias(const char* text);
// The first of "__PVTMP001" … "__PVTMP999" not in use; "" when all are.
std::string pv_rddGetTempAlias();

// ---- fields by name ---------------------------------------------------------------------------
// The field of that name (any case, 1-based), 0 when none. Where no field has the exact name
// and the name is longer than 10 characters, its first 10 characters name the field.
inline constexpr size_t kMaxFieldNameLen = 10;
uint16_t pv_rddFieldIndex(PvArea* area, const char* name);
// The field a key text names when it is exactly one field: leading "alias->", "FIELD->" and
// "_FIELD->" qualifiers are skipped (any case, FIELD and _FIELD shortened to four letters or
// more); a long name matches the field named by its first 10 characters. 0 otherwise.
uint16_t pv_rddFieldExpIndex(PvArea* area, const char* text);

// ---- opening and creating ---------------------------------------------------------------------
int pv_rddOpenTable(const char* file, const char* driver, uint16_t area, const char* alias,
                    bool shared, bool readOnly);
int pv_rddCreateTable(const char* file, const char* driver, uint16_t area, const char* alias,
                      bool keepOpen, PV_ITEM structure);

// ---- calling methods --------------------------------------------------------------------------
inline int pv_rddCall(PvArea* area, int slot, PvRddArgs* args) {
  return area->table->slot[slot](area, args);
}
inline int pv_rddCall(PvArea* area, int slot) {
  PvRddArgs args;
  return pv_rddCall(area, slot, &args);
}
inline int pv_rddCallN(PvArea* area, int slot, long number) {
  PvRddArgs args;
  args.number = number;
  return pv_rddCall(area, slot, &args);
}

// The default methods every driver starts from (rdd_default.cc), for drivers that call them.
int pv_rddUnsupported(PvArea* area, PvRddArgs* args);
int pv_rddDefaultSkip(PvArea* area, PvRddArgs* args);
int pv_rddDefaultClose(PvArea* area, PvRddArgs* args);
int pv_rddDefaultOpen(PvArea* area, PvRddArgs* args);
int pv_rddDefaultInfo(PvArea* area, PvRddArgs* args);
int pv_rddDefaultAddField(PvArea* area, PvRddArgs* args);
int pv_rddDefaultCreateFields(PvArea* area, PvRddArgs* args);
// Walks a scope (dbEval, locate, sort): one record, the next n, or the rest while the while-block
// holds, from the top when `fromTop` and the scope names no start; `visit` runs for the records
// that pass the for-block and returns false to stop. The record reached last stays current.
int pv_rddWalkScope(PvArea* area, const PvScope& scope, bool fromTop,
                    const std::function<bool()>& visit);

// Launches a table-engine error through the area's error method; returns the verdict
// (PV_ERR_RETRY, PV_ERR_DEFAULT, PV_ERR_BREAK).
uint16_t pv_rddRaise(PvArea* area, uint32_t gencode, uint32_t subcode, const char* file,
                     uint32_t oscode, uint16_t flags, const char* operation);
