// The running-object table behind GetActiveObject, and the counted OLE initialisation.
#include <vector>

#include "com/registry.h"

namespace com {
namespace {

struct RunningEntry {
  DWORD id;
  CLSID clsid;
  IUnknown* object;
  bool strong;  // holds a reference
};

std::vector<RunningEntry>& Running() {
  static std::vector<RunningEntry> table;
  return table;
}

DWORD next_registration = 1;
int init_count = 0;

void EmptyRunningTable() {
  std::vector<RunningEntry> old;
  old.swap(Running());
  for (auto& e : old)
    if (e.strong) e.object->Release();
}

}  // namespace

HRESULT RegisterActiveObject(IUnknown* object, REFCLSID clsid, DWORD flags, DWORD* registration) {
  if (!object || !registration) return E_INVALIDARG;
  bool strong = !(flags & ACTIVEOBJECT_WEAK);
  if (strong) object->AddRef();
  *registration = next_registration++;
  Running().push_back({*registration, clsid, object, strong});
  return S_OK;
}

HRESULT RevokeActiveObject(DWORD registration, void*) {
  auto& table = Running();
  for (auto it = table.begin(); it != table.end(); ++it) {
    if (it->id == registration) {
      RunningEntry e = *it;
      table.erase(it);
      if (e.strong) e.object->Release();
      return S_OK;
    }
  }
  return E_INVALIDARG;
}

HRESULT GetActiveObject(REFCLSID clsid, void*, IUnknown** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto& table = Running();
  for (auto it = table.rbegin(); it != table.rend(); ++it) {
    if (it->clsid == clsid) {
      it->object->AddRef();
      *out = it->object;
      return S_OK;
    }
  }
  return MK_E_UNAVAILABLE;
}

HRESULT OleInitialize(void*) { return init_count++ == 0 ? S_OK : S_FALSE; }

void OleUninitialize() {
  if (init_count == 0) return;
  if (--init_count == 0) EmptyRunningTable();
}

HRESULT CoInitialize(void* reserved) { return OleInitialize(reserved); }
void CoUninitialize() { OleUninitialize(); }
bool OleIsInitialized() { return init_count > 0; }

}  // namespace com
