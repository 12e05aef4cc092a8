// The DBF driver: opening, creating and closing tables, passwords, dropping table files.
#include <cstring>

#include "array.h"
#include "dbf/dbf_cipher.h"
#include "fs/posix_file.h"
#include "rdd_dbf_int.h"
#include "set.h"

namespace dbfdrv {

std::string WithExtension(const std::string& file, const std::string& ext) {
  size_t slash = file.find_last_of("/\\");
  size_t dot = file.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file + ext;
  return file;
}

// The password for the table being opened or created: the one-shot pending password first,
// else the driver's password; "" when there is none.
std::string TakePassword(PvDbfSettings* s) {
  std::string pw = !s->pendingPassword.empty() ? s->pendingPassword : s->password;
  s->pendingPassword.clear();
  return pw;
}

void SetKey(DbfTable* table, const std::string& password) {
  if (password.empty() || !table->encrypted()) return;
  uint8_t key[kKeySize];
  KeyFromPassword(password, key);
  table->setKey(key);
  std::memset(key, 0, sizeof key);
}

// Registers the table's fields with the area and positions it at the top.
int Attach(PvDbfArea* a, PvRddArgs* x) {
  a->record.assign(a->table->recordLength(), ' ');
  for (const Field& f : a->table->fields()) {
    a->hasStamps |= f.type == FieldType::kTimeStamp || f.type == FieldType::kModTime ||
                    f.type == FieldType::kRowVersion;
    PvField pf;
    pf.name = f.name;
    pf.type = int(f.type);
    pf.length = f.length;
    pf.decimals = f.decimals;
    pf.flags = f.flags;
    pf.step = f.step;
    PvRddArgs add;
    add.ptr = &pf;
    if (f.type != FieldType::kNullFlags) pv_rddCall(a, PV_RDD_ADDFIELD, &add);
  }
  if (pv_rddDefaultOpen(a, x) != PV_SUCCESS) return PV_FAILURE;
  return pv_rddCall(a, PV_RDD_GOTOP);
}

int Open(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  auto* info = static_cast<PvOpenInfo*>(x->ptr);
  PvDbfSettings* settings = SettingsOf(a);
  a->fileName = WithExtension(info->file, settings->tableExt);
  std::string trigger = !settings->pendingTrigger.empty() ? settings->pendingTrigger : settings->trigger;
  settings->pendingTrigger.clear();
  a->trigger = trigger.empty() ? nullptr : pv_dynsymFindName(trigger.c_str());
  if (a->trigger && !pv_dynsymIsFunction(a->trigger)) a->trigger = nullptr;
  PvItem name = {PV_IT_NIL, {}};
  pv_itemPutC(&name, a->fileName.c_str());
  bool go_on = Trigger(a, kPreUse, 0, &name);
  pv_itemClear(&name);
  if (!go_on) return PV_FAILURE;
  OpenOptions options{info->shared, info->readOnly,
                      settings->lockScheme ? settings->lockScheme : pv_setDBFLockScheme()};
  std::string password = TakePassword(settings);
  int r = WithRetry(a, nullptr, [&] { return DbfTable::Open(a->fileName, options, &a->table); });
  if (r != PV_SUCCESS) return PV_FAILURE;
  SetKey(a->table.get(), password);
  if (a->table->memoType() != kMemoNone && pv_rddCall(a, PV_RDD_OPENMEMFILE, x) != PV_SUCCESS) {
    a->table.reset();
    return PV_FAILURE;
  }
  if (Attach(a, x) != PV_SUCCESS) return PV_FAILURE;
  Trigger(a, kPostUse);
  return PV_SUCCESS;
}

int CreateFields(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  a->pendingFields.clear();
  for (PV_SIZE i = 1; i <= pv_arrayLen(x->item); ++i) {
    PV_ITEM e = pv_arrayGetItemPtr(x->item, i);
    FieldSpec spec{pv_arrayGetCPtr(e, 1) ? pv_arrayGetCPtr(e, 1) : "",
                   pv_arrayGetCPtr(e, 2) ? pv_arrayGetCPtr(e, 2) : "", pv_arrayGetNI(e, 3),
                   pv_arrayGetNI(e, 4), uint8_t(pv_arrayLen(e) >= 5 ? pv_arrayGetNI(e, 5) : 0)};
    Field check;
    if (!FieldFromSpec(spec, false, &check).ok()) {
      pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "DBCREATE");
      return PV_FAILURE;
    }
    a->pendingFields.push_back(spec);
  }
  return PV_SUCCESS;
}

int Create(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  auto* info = static_cast<PvOpenInfo*>(x->ptr);
  PvDbfSettings* settings = SettingsOf(a);
  a->fileName = WithExtension(info->file, settings->tableExt);
  CreateOptions options;
  options.table_type = settings->tableType;
  options.lock_scheme = settings->lockScheme ? settings->lockScheme : pv_setDBFLockScheme();
  bool memo_fields = false;
  for (const FieldSpec& f : a->pendingFields) {
    char c = char(std::toupper(uint8_t(f.type.empty() ? ' ' : f.type[0])));
    memo_fields |= c == 'M' || c == 'P' || c == 'W' || c == 'G';
  }
  if (memo_fields) {  // the memo driver answers its memo type
    PvItem type = {PV_IT_NIL, {}};
    PvRddArgs q;
    q.number = 133;
    q.item = &type;
    if (pv_rddCall(a, PV_RDD_INFO, &q) == PV_SUCCESS) options.memo_type = pv_itemGetNI(&type);
  }
  std::string password = TakePassword(settings);
  options.encrypted = !password.empty() && options.table_type == kTableDbf;
  int r = WithRetry(a, nullptr, [&] {
    return DbfTable::Create(a->fileName, a->pendingFields, options, &a->table);
  });
  if (r != PV_SUCCESS) return PV_FAILURE;
  SetKey(a->table.get(), password);
  if (memo_fields && pv_rddCall(a, PV_RDD_CREATEMEMFILE, x) != PV_SUCCESS) {
    a->table.reset();
    return PV_FAILURE;
  }
  return Attach(a, x);
}

int Close(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (!Trigger(a, kPreClose)) return PV_FAILURE;
  int result = PV_SUCCESS;
  if (a->table) {
    if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) result = PV_FAILURE;
    Status st = a->table->readOnly() ? Status::Ok() : a->table->flush(pv_setHardCommit());
    Status closed = a->table->close();
    if (st.ok()) st = closed;
    if (!st.ok()) {
      pv_dbfRaise(a, st, nullptr);
      result = PV_FAILURE;
    }
    a->table.reset();
  }
  a->memo.reset();
  pv_rddDefaultClose(a, x);
  Trigger(a, kPostClose);
  a->trigger = nullptr;
  return result;
}

// exists / drop (called with the driver record): `item` names the table.
int Exists(PvArea*, PvRddArgs* x) {
  x->flag = FileExists(WithExtension(pv_itemGetCPtr(x->item), SettingsOf(x->node)->tableExt));
  return PV_SUCCESS;
}

int Drop(PvArea*, PvRddArgs* x) {
  std::string table = WithExtension(pv_itemGetCPtr(x->item), SettingsOf(x->node)->tableExt);
  x->flag = DeleteFile(table).ok();
  if (x->flag) {
    std::string base = table.substr(0, table.rfind('.'));
    for (const char* ext : {".fpt", ".dbt", ".smt", ".cdx"}) DeleteFile(base + ext);
  }
  return PV_SUCCESS;
}

// The plain driver keeps no memo files.
int CreateMemoFile(PvArea* a, PvRddArgs*) {
  pv_rddRaise(a, 20, kSubDataType, Dbf(a)->fileName.c_str(), 0, 0, nullptr);  // "Create error"

  return PV_FAILURE;
}

int OpenMemoFile(PvArea* a, PvRddArgs*) {
  Status st = Status::Make(StatusKind::kNotSupported, "no memo driver", Dbf(a)->fileName)
                  .sub(kSubOpen, kCanDefault);
  return pv_dbfRaise(a, st, nullptr) == PV_ERR_DEFAULT ? PV_SUCCESS : PV_FAILURE;
}

}  // namespace dbfdrv
