// The DBF table driver: the work-area record of tables served by "DBF" and the drivers that
// inherit from it.
//
// Record states of an area (besides its position):
//
//   invalid ──first field access──▶ valid (cold) ──goHot (first change)──▶ hot
//      ▲                                │                                   │
//      └────────── any move ────────────┘◀──────── goCold writes it ────────┘
//
// Position: on a real record (1…count) or on the phantom record count + 1 (EOF, a blank buffer,
// writes ignored). An appended record is hot and marked appended from the start.
#pragma once

#include <memory>
#include <vector>

#include "dbf/dbf_table.h"
#include "dbfFPT/memo_file.h"
#include "dbfFPT/memo_typed.h"
#include "rddapi.h"

// Driver-level settings of DBF and the drivers built on it (one per registered driver).
struct PvDbfSettings {
  std::string tableExt = ".dbf";
  int tableType = 1;
  int lockScheme = 0;  // 0: SET DBFLOCKSCHEME
  std::string trigger, pendingTrigger, password, pendingPassword;
  bool dirtyRead = false;
  // Memo drivers (rddInfo 6, 14, 32, 33): memo extension ("" : by memo type), memo type, block
  // size (0: SET MBLOCKSIZE, else by memo type) and FPT version of new memo files.
  std::string memoExt;
  int memoType = 2;
  uint32_t memoBlockSize = 0;
  int memoVersion = 3;
};

struct PvDbfArea : PvArea {
  std::unique_ptr<pv::dbf::DbfTable> table;
  std::unique_ptr<pv::memo::MemoFile> memo;  // opened by memo drivers
  std::vector<pv::dbf::FieldSpec> pendingFields;  // from createFields, for create
  std::vector<uint8_t> record;
  uint32_t recno = 0;
  bool valid = false, positioned = false, hot = false, appended = false, hasStamps = false;
  // Memo values replaced in the hot record (block, SMT length): freed once the record with the
  // new references is written, since until then the stored record still refers to them. Values
  // written while hot (memosWritten) are referred to by no stored record and freed at once.
  std::vector<std::pair<uint32_t, uint32_t>> memosToFree;
  std::vector<uint32_t> memosWritten;
  std::string fileName;
  PvDynSym* trigger = nullptr;  // the trigger function, while switched on
};

// Registers the table functions of "DBF" and "DBFFPT" (called before registering drivers).
void pv_dbfRegisterDriver();
void pv_fptRegisterDriver();
void pv_blobRegisterDriver();
// rddInfo of the memo drivers (DBFFPT, and DBFBLOB with `blob`): 6 memo extension, 14 memo
// type, 32 block size, 33 memo version, 34 zero, 35 false, 36 true, 37 `blob`; other codes go
// to `parent` (the DBF driver's rddInfo).
int pv_fptRddInfo(PvArea* area, PvRddArgs* x, bool blob, PvRddMethod parent);
// The extension and block size of new memo files of `memo_type` by the driver's settings.
std::string pv_fptMemoExtension(PvRddNode* node, int memo_type, bool blob);
uint32_t pv_fptBlockSize(PvRddNode* node, int memo_type);
// Memo values and items: text comes back with the memo flag; strings are stored as binary
// values with `binary`; false for a type no memo can hold.
void pv_fptTypedToItem(const pv::memo::TypedValue& v, PV_ITEM item);
bool pv_fptItemToTyped(PV_ITEM item, bool binary, pv::memo::TypedValue* v);
// The bytes of a field to or from a file (DBFILEGET, DBFILEPUT): `append` adds at the end of an
// existing file, else the file is created or emptied; reading takes at most `limit` bytes.
pv::Status WriteFileBytes(const std::string& path, std::string_view bytes, bool append);
pv::Status ReadFileBytes(const std::string& path, size_t limit, std::string* out);
// Index-file locks for index drivers, at the place the area's lock scheme gives (dbf_lock.h):
// the place and pool of the scheme (false when it has none), and taking or releasing a read
// (shared) or write (exclusive) lock of an index file; `wait` repeats until granted.
bool pv_dbfLockIdxGetData(PvArea* area, uint64_t* offset, uint64_t* pool);
pv::Status pv_dbfLockIdxFile(PvArea* area, pv::FileHandle* index, pv::dbf::IndexLock* lock,
                             pv::LockType type, bool wait);
pv::Status pv_dbfUnlockIdxFile(pv::FileHandle* index, pv::dbf::IndexLock* lock);
// Raises the error object for a failed storage Status; returns the verdict.
uint16_t pv_dbfRaise(PvArea* area, const pv::Status& st, const char* operation);
