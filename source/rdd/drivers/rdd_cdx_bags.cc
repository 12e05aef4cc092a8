// The DBFCDX driver's index files of an area: opening a CDX file with its tags' executable
// keys, the order list (numbers over all files), closing, and the key of the current record.
#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "cdx_maint.h"
#include "cdx_nav.h"
#include "dbf/dbf_codec.h"
#include "rdd_cdx.h"
#include "rdd_cdx_bags.h"
#include "rdd_cdx_file.h"
#include "rdd_cdx_keys.h"
#include "set.h"
#include "vm.h"

using namespace pv::cdx;

namespace {

std::string Lower(std::string s) {
  for (auto& c : s) c = char(std::tolower(uint8_t(c)));
  return s;
}

// Compiles a tag's texts and finds its key type by evaluating the key on the phantom record.
bool ResolveTag(PvCdxArea* a, PvCdxTagExec& exec, const std::string& keyText,
                const std::string& forText, int keyLen, CdxKeyInfo& info) {
  if (!pv_cdxExprCompile(a, keyText, nullptr, exec.key)) return false;
  if (!forText.empty()) {
    if (!pv_cdxExprCompile(a, forText, nullptr, exec.cond)) return false;
    exec.hasCond = true;
  }
  PvItem v = {PV_IT_NIL, {}};
  pv_cdxExprEval(a, exec.key, &v);
  char type = 'C';
  int len = 0;
  bool ok = pv_vmRequestQuery() == 0 && pv_cdxKeyTypeOf(&v, &type, &len);
  pv_itemClear(&v);
  if (!ok) return false;
  bool vfp = a->table->versionByte() >= 0x30 && a->table->versionByte() <= 0x32;
  if (vfp) {  // option bit 0x02 marks the null-flag byte there, 0x04 a candidate key
    info.nullFlag = info.temporary;
    info.temporary = info.custom = false;
  }
  if (type == 'N' && keyLen - (info.nullFlag ? 1 : 0) == 4) type = 'I';
  info.type = type;
  return cdxKeyLengthFits(type, keyLen, info.nullFlag);
}

}  // namespace

std::string pv_cdxFindFile(const std::string& path) {
  if (::access(path.c_str(), F_OK) == 0) return path;
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string name = Lower(slash == std::string::npos ? path : path.substr(slash + 1));
  std::string found;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (Lower(e->d_name) == name) found = (slash == std::string::npos ? "" : dir + "/") + e->d_name;
    closedir(d);
  }
  return found;
}

std::string pv_cdxBaseName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string b = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = b.rfind('.');
  if (dot != std::string::npos) b.resize(dot);
  for (auto& c : b) c = char(std::toupper(uint8_t(c)));
  return b.substr(0, 10);
}

std::string pv_cdxProductionPath(PvCdxArea* a) {
  std::string base = a->fileName;
  size_t dot = base.rfind('.'), slash = base.find_last_of("/\\");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
  return base + ".cdx";
}

CdxOpenOptions pv_cdxOpenOptions(PvCdxArea* a, PvCdxBag* bag) {
  CdxOpenOptions opt;
  opt.shared = a->table->shared();
  opt.readOnly = a->table->readOnly();
  opt.holdKeyChanges = true;  // exclusive use: index pages written at commit and close
  opt.lockScheme = a->table->lockScheme() ? a->table->lockScheme() : 3;
  opt.resolver = [a, bag](const std::string& name, const std::string& keyExpr,
                          const std::string& forExpr, int keyLen, CdxKeyInfo& info) {
    PvCdxTagExec exec;
    bool ok = ResolveTag(a, exec, keyExpr, forExpr, keyLen, info);
    if (ok) {
      bag->pendingExec.emplace_back(cdxTagNameNormal(name), exec);
    } else {
      pv_cdxExprFree(exec.key);
      pv_cdxExprFree(exec.cond);
    }
    return ok;
  };
  return opt;
}

void pv_cdxBindExecs(PvCdxBag& bag) {
  for (auto& [name, exec] : bag.pendingExec) {
    CdxTag* t = cdxIndexFindTag(*bag.index, name);
    if (t && !bag.exec.count(t)) {
      bag.exec[t] = exec;
    } else {
      pv_cdxExprFree(exec.key);
      pv_cdxExprFree(exec.cond);
    }
  }
  bag.pendingExec.clear();
}

CdxStatus pv_cdxOpenBag(PvCdxArea* a, const std::string& path, std::unique_ptr<PvCdxBag>& out) {
  auto bag = std::make_unique<PvCdxBag>();
  bag->path = path;
  std::unique_ptr<CdxPageFile> file;
  CdxStatus st = pv_cdxOpenPageFile(path, false, a->table->shared(), a->table->readOnly(), file);
  if (!st.ok()) return st;
  uint32_t saved = a->positioned ? a->recno : 0;
  pv_rddCallN(a, PV_RDD_GOTO, 0);  // the phantom record: keys evaluate on empty fields
  st = cdxIndexOpen(std::move(file), pv_cdxBaseName(path), pv_cdxOpenOptions(a, bag.get()),
                    bag->index);
  if (st.ok()) pv_cdxBindExecs(*bag);
  pv_cdxFreeBag(*bag);  // frees what was not bound (a failed open)
  pv_rddCallN(a, PV_RDD_GOTO, long(saved));
  if (st.ok()) out = std::move(bag);
  return st;
}

void pv_cdxExecFree(PvCdxTagExec& exec) {
  pv_cdxExprFree(exec.key);
  pv_cdxExprFree(exec.cond);
  for (PV_ITEM& block : exec.scopeBlock) {
    if (block) pv_itemRelease(block);
    block = nullptr;
  }
}

void pv_cdxFreeBag(PvCdxBag& bag) {
  for (auto& [name, exec] : bag.pendingExec) {
    pv_cdxExprFree(exec.key);
    pv_cdxExprFree(exec.cond);
  }
  bag.pendingExec.clear();
  if (bag.index) return;
  for (auto& [t, exec] : bag.exec) pv_cdxExecFree(exec);
  bag.exec.clear();
}

CdxStatus pv_cdxCloseBag(PvCdxBag& bag) {
  CdxStatus st;
  if (bag.index) {
    st = cdxIndexFlush(*bag.index);
    CdxStatus closed = cdxIndexClose(bag.index);
    if (st.ok()) st = closed;
    bag.index.reset();
  }
  pv_cdxFreeBag(bag);
  if (bag.temporary) ::unlink(bag.path.c_str());
  return st;
}

void pv_cdxForgetTag(PvCdxBag& bag, const CdxTag* t) {
  auto it = bag.exec.find(t);
  if (it == bag.exec.end()) return;
  pv_cdxExecFree(it->second);
  bag.exec.erase(it);
}

CdxTag* pv_cdxAreaTag(PvCdxArea* a, int n, PvCdxBag** bagOut) {
  if (n < 1) return nullptr;
  for (auto& bag : a->bags) {
    int count = int(bag->index->tags.size());
    if (n <= count) {
      if (bagOut) *bagOut = bag.get();
      return bag->index->tags[size_t(n - 1)].get();
    }
    n -= count;
  }
  return nullptr;
}

int pv_cdxTagNumber(PvCdxArea* a, const CdxTag* t) {
  int n = 0;
  for (auto& bag : a->bags)
    for (auto& tag : bag->index->tags) {
      ++n;
      if (tag.get() == t) return n;
    }
  return 0;
}

int pv_cdxOrderCount(PvCdxArea* a) {
  int n = 0;
  for (auto& bag : a->bags) n += int(bag->index->tags.size());
  return n;
}

bool pv_cdxCurrentKey(PvCdxArea* a, PvCdxBag& bag, CdxTag& tag, CdxKey& out) {
  auto it = bag.exec.find(&tag);
  if (it == bag.exec.end()) return false;
  PvItem v = {PV_IT_NIL, {}};
  if (it->second.hasCond) {
    pv_cdxExprEval(a, it->second.cond, &v);
    bool pass = PV_IS_LOGICAL(&v) && pv_itemGetL(&v);
    pv_itemClear(&v);
    if (!pass) return false;
  }
  pv_cdxExprEval(a, it->second.key, &v);
  out.rec = a->recno;
  bool ok;
  const pv::dbf::Field* field =
      it->second.key.field ? &a->table->fields()[size_t(it->second.key.field - 1)] : nullptr;
  if (tag.nullFlag && field && pv::dbf::IsNull(*field, a->record.data(), a->table->nullFlags())) {
    uint8_t buf[kMaxKeyLen] = {};  // a null value: flag byte 0, the rest zero
    out.set(buf, tag.keyLen, a->recno);
    ok = true;
  } else if (tag.nullFlag) {
    CdxKey inner;
    ok = pv_cdxKeyFromItem(&v, tag.keyType, tag.keyLen - 1, true, inner);
    uint8_t buf[kMaxKeyLen + 1];
    buf[0] = kNullFlagPresent;
    std::memcpy(buf + 1, inner.val, inner.len);
    out.set(buf, inner.len + 1, a->recno);
  } else {
    ok = pv_cdxKeyFromItem(&v, tag.keyType, tag.keyLen, true, out);
  }
  pv_itemClear(&v);
  return ok;
}

bool pv_cdxDirectoryCurrent(PvCdxBag& bag) {
  bool started = false;
  if (cdxIndexReadUnlocked(*bag.index, started).ok() && started) {
    // Unchanged since its tags were last found current (see cdxIndexReadUnlocked).
    (void)pv_cdxIndexUnLockRead(*bag.index);
    return true;
  }
  bool current = true;
  CdxStatus st = cdxIndexTagsCurrent(*bag.index, current);
  return !st.ok() || current;  // a failure is reported by the next operation
}

CdxStatus pv_cdxReloadBag(PvCdxArea* a, size_t i) {
  PvCdxBag* bag = nullptr;
  CdxTag* current = pv_cdxAreaTag(a, a->order, &bag);
  bool inThis = current && bag == a->bags[i].get();
  std::string focus = inThis ? current->name : "";
  std::string path = a->bags[i]->path;
  pv_cdxCloseBag(*a->bags[i]);
  std::unique_ptr<PvCdxBag> fresh;
  CdxStatus st = pv_cdxOpenBag(a, path, fresh);
  if (st.ok()) {
    fresh->loadedWhileHot = a->hot;
    for (auto& h : a->hotKeys)
      if (h.bag == a->bags[i].get()) h.bag = fresh.get();
    a->bags[i] = std::move(fresh);
    if (inThis) current = cdxIndexFindTag(*a->bags[i]->index, focus);
  } else {
    a->bags.erase(a->bags.begin() + long(i));
    if (i == 0) a->production = false;
    if (inThis) current = nullptr;
  }
  a->order = current ? pv_cdxTagNumber(a, current) : 0;
  return st;
}
