// The work-area table, the current area, aliases and NETERR.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "dynsym.h"
#include "errors.h"
#include "rddapi.h"

namespace {

struct Areas {
  std::map<int, std::unique_ptr<PvArea>> used;  // by area number, ascending
  std::vector<PvArea*> byNumber;  // area number -> area, grown in steps of 256
  int current = 1;
  PvArea* currentArea = nullptr;  // the area of `current`, kept in step by SetCurrent
  bool netErr = false;
};

Areas& areas() {
  static Areas a;
  return a;
}

constexpr int kMaxArea = 65534;
constexpr int kMemvarArea = 65535;

PvArea* Lookup(int area) {
  const auto& v = areas().byNumber;
  return area >= 0 && size_t(area) < v.size() ? v[size_t(area)] : nullptr;
}

void Bind(int number, PvArea* area) {
  auto& v = areas().byNumber;
  if (size_t(number) >= v.size()) v.resize((size_t(number) / 256 + 1) * 256, nullptr);
  v[size_t(number)] = area;
}

// Every change of the current number or of the area table passes here.
void SetCurrent(int area) {
  areas().current = area;
  areas().currentArea = Lookup(area);
}

}  // namespace

int pv_rddGetCurrentWorkAreaNumber() { return areas().current; }

PvArea* pv_rddGetWorkAreaPointer(int area) {
  return area == 0 ? areas().currentArea : Lookup(area);
}

PvArea* pv_rddGetCurrentWorkAreaPointer() { return areas().currentArea; }

int pv_rddSelectWorkAreaNumber(int area) {
  SetCurrent((area < 1 || area > kMemvarArea) ? 0 : area);
  return areas().currentArea ? PV_SUCCESS : PV_FAILURE;
}

int pv_rddSelectFirstAvailable() {
  int n = 1;
  for (auto& [number, area] : areas().used) {
    if (number != n) break;
    ++n;
  }
  if (n > kMaxArea) return PV_FAILURE;
  SetCurrent(n);
  return PV_SUCCESS;
}

int pv_rddInsertAreaNode(const char* driver) {
  Areas& a = areas();
  uint16_t number = 0;
  PvRddNode* node = pv_rddFindNode(driver, &number);
  if (!node || (a.current && pv_rddGetCurrentWorkAreaPointer())) return PV_FAILURE;
  if (a.current == 0 && pv_rddSelectFirstAvailable() != PV_SUCCESS) return PV_FAILURE;
  std::unique_ptr<PvArea> area = node->makeArea();
  area->table = &node->table;
  area->driverNum = number;
  area->areaNum = uint16_t(a.current);
  if (pv_rddCall(area.get(), PV_RDD_NEWAREA) != PV_SUCCESS) return PV_FAILURE;
  Bind(a.current, area.get());
  a.used[a.current] = std::move(area);
  SetCurrent(a.current);
  return PV_SUCCESS;
}

void pv_rddReleaseCurrentArea() {
  PvArea* area = pv_rddGetCurrentWorkAreaPointer();
  if (!area) return;
  if (pv_rddCall(area, PV_RDD_CLOSE) != PV_SUCCESS) return;
  pv_rddCall(area, PV_RDD_RELEASE);
  areas().used.erase(areas().current);
  Bind(areas().current, nullptr);
  SetCurrent(areas().current);
}

void pv_rddCloseAll() {
  Areas& a = areas();
  while (!a.used.empty()) {
    SetCurrent(a.used.begin()->first);
    PvArea* area = a.used.begin()->second.get();
    pv_rddCall(area, PV_RDD_CLOSE);
    pv_rddCall(area, PV_RDD_RELEASE);
    Bind(a.used.begin()->first, nullptr);
    a.used.erase(a.used.begin());
  }
  a.byNumber.clear();
  SetCurrent(1);
}

// Calls `slot` of every area in area-number order and reselects the area that was current.
static int ForEachArea(int slot) {
  int saved = areas().current, result = PV_SUCCESS;
  for (auto& [number, area] : areas().used) {
    SetCurrent(number);
    if (pv_rddCall(area.get(), slot) != PV_SUCCESS) result = PV_FAILURE;
  }
  SetCurrent(saved);
  return result;
}

int pv_rddFlushAll() { return ForEachArea(PV_RDD_FLUSH); }

int pv_rddIterateWorkAreas(int (*fn)(PvArea* area, void* data), void* data) {
  for (auto& [number, area] : areas().used) {
    if (fn(area.get(), data) != PV_SUCCESS) return PV_FAILURE;
  }
  return PV_SUCCESS;
}

int pv_rddUnLockAll() { return ForEachArea(PV_RDD_UNLOCK); }

bool pv_rddGetNetErr() { return areas().netErr; }
void pv_rddSetNetErr(bool value) { areas().netErr = value; }

bool pv_rddVerifyAliasName(const char* text) {
  if (!text || !(std::isalpha(uint8_t(*text)) || *text == '_')) return false;
  const char* p = text + 1;
  while (std::isalnum(uint8_t(*p)) || *p == '_') ++p;
  while (*p == ' ') ++p;
  return *p == '\0';
}

int pv_rddGetAliasNumber(const char* text, int* area) {
  while (*text == ' ') ++text;
  if (std::isdigit(uint8_t(*text))) {
    *area = std::atoi(text);
    return PV_SUCCESS;
  }
  char c = char(std::toupper(uint8_t(text[0])));
  if (c && (text[1] == '\0' || text[1] == ' ')) {
    if (c >= 'A' && c <= 'K') {
      *area = c - 'A' + 1;
      return PV_SUCCESS;
    }
    if (c == 'M') {
      *area = kMemvarArea;
      return PV_SUCCESS;
    }
  }
  std::string name(text);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  PvDynSym* sym = pv_dynsymFindName(name.c_str());
  if (!sym || sym->area == 0) return PV_FAILURE;
  *area = int(sym->area);
  return PV_SUCCESS;
}

int pv_rddAllocWorkAreaAlias(const char* name, int area) {
  int existing = 0;
  if (!pv_rddVerifyAliasName(name)) {
    pv_errRT_DBCMD_Ext(PV_EG_BADALIAS, 1010, nullptr, name, PV_ERR_FLAG_DEFAULT);
    return PV_FAILURE;
  }
  if (pv_rddGetAliasNumber(name, &existing) == PV_SUCCESS) {
    pv_errRT_DBCMD_Ext(PV_EG_DUPALIAS, 1011, nullptr, name, PV_ERR_FLAG_DEFAULT);
    return PV_FAILURE;
  }
  std::string trimmed(name);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  PvDynSym* sym = pv_dynsymGet(trimmed.c_str());
  sym->area = uint32_t(area);
  pv_rddGetWorkAreaPointer(area)->alias = sym;
  return PV_SUCCESS;
}

int pv_rddSelectWorkAreaAlias(const char* text) {
  int area = 0;
  while (pv_rddGetAliasNumber(text, &area) != PV_SUCCESS) {
    uint16_t verdict = pv_errRT_BASE_Ext1(PV_EG_NOALIAS, 1002, nullptr, text, 0,
                                          PV_ERR_FLAG_RETRY, 0);
    if (verdict != PV_ERR_RETRY) return PV_FAILURE;
  }
  if (area < 1 || area > kMemvarArea) return pv_rddSelectFirstAvailable();
  return pv_rddSelectWorkAreaNumber(area);
}

uint16_t pv_rddFieldIndex(PvArea* area, const char* name) {
  while (*name == ' ' || *name == '\t' || *name == '\r' || *name == '\n') ++name;
  std::string upper(name);
  while (!upper.empty() && upper.back() == ' ') upper.pop_back();
  for (char& c : upper) c = char(std::toupper(uint8_t(c)));
  for (size_t i = 0; i < area->fields.size(); ++i) {
    if (area->fields[i].name == upper) return uint16_t(i + 1);
  }
  // A table keeps at most 10 characters of a name; other programs keep the long name outside
  // the table and use it in expressions.
  if (upper.size() <= kMaxFieldNameLen) return 0;
  return pv_rddFieldIndex(area, upper.substr(0, kMaxFieldNameLen).c_str());
}

std::string pv_rddGetTempAlias() {
  char name[16];
  for (int i = 1; i <= 999; ++i) {
    std::snprintf(name, sizeof name, "__PVTMP%03i", i);
    int area = 0;
    if (pv_rddGetAliasNumber(name, &area) != PV_SUCCESS) return name;
  }
  return {};
}


