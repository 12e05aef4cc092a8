// The registry of in-process classes, ProgID lookup and CoCreateInstance.
#include <string>
#include <vector>

#include "com/registry.h"
#include "guid_internal.h"

namespace com {
namespace {

struct ClassEntry {
  CLSID clsid;
  std::u16string progId;  // upper-cased for lookup
  ClassCreateFn create;
};

std::vector<ClassEntry>& Classes() {
  static std::vector<ClassEntry> classes;
  return classes;
}

std::u16string Upper(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = char16_t(c - 32);
  return out;
}

// A ProgID: 1–39 characters, letters, digits and dots, not starting with a digit.
bool ValidProgId(std::u16string_view s) {
  if (s.empty() || s.size() > 39 || (s[0] >= '0' && s[0] <= '9')) return false;
  for (char16_t c : s) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::u16string_view View(LPCOLESTR s) { return s ? std::u16string_view(s) : std::u16string_view(); }

}  // namespace

HRESULT RegisterInprocClass(REFCLSID clsid, LPCOLESTR progId, ClassCreateFn create) {
  if (!create || (progId && !ValidProgId(View(progId)))) return E_INVALIDARG;
  RevokeInprocClass(clsid);
  Classes().push_back({clsid, progId ? Upper(View(progId)) : std::u16string(), create});
  return S_OK;
}

HRESULT RevokeInprocClass(REFCLSID clsid) {
  auto& classes = Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (it->clsid == clsid) {
      classes.erase(it);
      return S_OK;
    }
  }
  return REGDB_E_CLASSNOTREG;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (!clsid || !progId || !*progId) return E_INVALIDARG;
  std::u16string key = Upper(View(progId));
  for (const auto& c : Classes()) {
    if (!c.progId.empty() && c.progId == key) {
      *clsid = c.clsid;
      return S_OK;
    }
  }
  *clsid = IID_NULL;
  return CO_E_CLASSSTRING;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  if (!clsid || !text) return E_INVALIDARG;
  std::u16string_view s = View(text);
  if (!s.empty() && s[0] == '{') return ParseGuid(s, clsid) ? S_OK : CO_E_CLASSSTRING;
  return CLSIDFromProgID(text, clsid);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID iid,
                         void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!OleIsInitialized()) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!(clsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  for (const auto& c : Classes())
    if (c.clsid == clsid) return c.create(iid, out);
  return REGDB_E_CLASSNOTREG;
}

}  // namespace com
