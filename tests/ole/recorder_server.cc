// "PvTest.Recorder": a small Automation server for the bridge's tests. It records every
// GetIDsOfNames and Invoke it receives (read and cleared through its "Log" property), answers
// each member only in the call kinds listed below, and fails the next call on demand.
//
//   Value (DISPID_VALUE)  get, put          the stored value
//   Name                  get               "Recorder"
//   Echo(x)               method            x as it arrived
//   TypeOf(x)             method            the VARTYPE x arrived with
//   AsDouble(x)           method            x changed to VT_R8 (a date's day number)
//   Twice(@x)             method            doubles a by-reference number or text
//   Child                 get               a new recorder (sharing the log)
//   Wrapper               get               an object whose default value is a recorder
//   FailNext := hr        put               the next call fails with hr (DISP_E_EXCEPTION
//                                           fills the exception record)
//   Dates, Matrix, Doubles, Bytes   get     VT_DATE 0.5, a 2x3 VARIANT array, VT_R8 and
//                                           VT_UI1 vectors
//   OldDate               get               VT_DATE -1.25 (29 December 1899, 6:00)
//   Count, Item(n), _NewEnum        get     a collection of 1, "two" and a recorder
//   PutOnly := x          put               stored into Value
//   Log                   get               the record so far (not recorded itself)
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "com/com.h"
#include "start.h"

namespace {

using namespace com;

struct Shared {
  std::string log;
  HRESULT failNext = S_OK;
};

enum Id : DISPID {
  kName = 1, kEcho, kTypeOf, kTwice, kChild, kWrapper, kFailNext, kLog, kDates, kMatrix,
  kDoubles, kBytes, kCount, kItem, kPutOnly, kAsDouble, kOldDate,
};

struct MemberInfo {
  const char16_t* name;
  DISPID id;
  WORD kinds;  // DISPATCH_* flags answered
};

constexpr WORD G = DISPATCH_PROPERTYGET, P = DISPATCH_PROPERTYPUT, M = DISPATCH_METHOD;
const MemberInfo kMembers[] = {
    {u"Value", DISPID_VALUE, G | P}, {u"Name", kName, G},       {u"Echo", kEcho, M},
    {u"TypeOf", kTypeOf, M},         {u"Twice", kTwice, M},     {u"Child", kChild, G},
    {u"Wrapper", kWrapper, G},       {u"FailNext", kFailNext, P}, {u"Log", kLog, G},
    {u"Dates", kDates, G},           {u"Matrix", kMatrix, G},   {u"Doubles", kDoubles, G},
    {u"Bytes", kBytes, G},           {u"Count", kCount, G},     {u"Item", kItem, G},
    {u"_NewEnum", DISPID_NEWENUM, G}, {u"PutOnly", kPutOnly, P}, {u"AsDouble", kAsDouble, M},
    {u"OldDate", kOldDate, G},
};

bool SameName(const char16_t* a, const char16_t* b) {
  for (; *a && *b; ++a, ++b) {
    char16_t x = *a >= 'a' && *a <= 'z' ? char16_t(*a - 32) : *a;
    char16_t y = *b >= 'a' && *b <= 'z' ? char16_t(*b - 32) : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

std::string Narrow(const char16_t* s) {
  std::string out;
  for (; *s; ++s) out += static_cast<char>(*s);
  return out;
}

class Recorder : public RefCounted<IDispatch> {
 public:
  Recorder(std::shared_ptr<Shared> shared, bool wrapper) : shared_(std::move(shared)), wrapper_(wrapper) {
    VariantInit(&value_);
  }
  ~Recorder() override { VariantClear(&value_); }

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  HRESULT GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT GetIDsOfNames(REFIID, LPCOLESTR* names, UINT, LCID lcid, DISPID* ids) override {
    const MemberInfo* m = Find(names[0]);
    if (!m || m->id != kLog) shared_->log += "ids " + Narrow(names[0]) + " " + std::to_string(lcid) + "\n";
    *ids = m ? m->id : DISPID_UNKNOWN;
    return m ? S_OK : DISP_E_UNKNOWNNAME;
  }

  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result, EXCEPINFO* ex,
                 UINT*) override {
    if (id != kLog)
      shared_->log += "inv " + std::to_string(id) + " " + std::to_string(flags) + " " + std::to_string(p->cArgs) +
                      " " + std::to_string(p->cNamedArgs) + (p->cNamedArgs ? " " + std::to_string(p->rgdispidNamedArgs[0]) : "") + "\n";
    if (HRESULT h = std::exchange(shared_->failNext, S_OK); FAILED(h)) return Fail(h, ex);
    const MemberInfo* m = FindId(id);
    if (!m || !(m->kinds & flags)) return DISP_E_MEMBERNOTFOUND;
    VARIANT scratch;
    VariantInit(&scratch);
    if (!result) result = &scratch;
    HRESULT h = Answer(id, flags, *p, result);
    VariantClear(&scratch);
    return h;
  }

 private:
  const MemberInfo* Find(const char16_t* name) const {
    for (const MemberInfo& m : kMembers)
      if (SameName(m.name, name) && (!wrapper_ || m.id == DISPID_VALUE || m.id == kLog)) return &m;
    return nullptr;
  }
  const MemberInfo* FindId(DISPID id) const {
    for (const MemberInfo& m : kMembers)
      if (m.id == id && (!wrapper_ || m.id == DISPID_VALUE || m.id == kLog)) return &m;
    return nullptr;
  }

  static HRESULT Fail(HRESULT h, EXCEPINFO* ex) {
    if (h == DISP_E_EXCEPTION && ex) {
      std::memset(ex, 0, sizeof *ex);
      ex->bstrSource = SysAllocString(u"PvTest.Recorder");
      ex->bstrDescription = SysAllocString(u"failure on demand");
      ex->scode = h;
    }
    return h;
  }

  // The last positional argument's slot: the first argument of the call.
  static VARIANT* FirstArg(const DISPPARAMS& p) { return p.cArgs ? &p.rgvarg[p.cArgs - 1] : nullptr; }

  static void ReturnText(VARIANT* r, std::u16string_view text) {
    r->vt = VT_BSTR;
    r->bstrVal = SysAllocString(text);
  }
  void ReturnObject(VARIANT* r, bool wrapper) {
    r->vt = VT_DISPATCH;
    r->pdispVal = new Recorder(shared_, wrapper);
  }
  static void ReturnVector(VARIANT* r, VARTYPE vt, ULONG n, const void* data, std::size_t size) {
    SAFEARRAY* psa = SafeArrayCreateVector(vt, 0, n);
    void* out = nullptr;
    SafeArrayAccessData(psa, &out);
    std::memcpy(out, data, size);
    SafeArrayUnaccessData(psa);
    r->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
    r->parray = psa;
  }
  void ReturnMatrix(VARIANT* r) {
    SAFEARRAYBOUND b[2] = {{2, 1}, {3, 1}};
    SAFEARRAY* psa = SafeArrayCreate(VT_VARIANT, 2, b);
    for (LONG row = 1; row <= 2; ++row)
      for (LONG col = 1; col <= 3; ++col) {
        LONG index[2] = {row, col};
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = row * 10 + col;
        SafeArrayPutElement(psa, index, &v);
      }
    r->vt = VT_ARRAY | VT_VARIANT;
    r->parray = psa;
  }
  std::vector<VARIANT> Items() {
    std::vector<VARIANT> items(3);
    items[0].vt = VT_I4;
    items[0].lVal = 1;
    ReturnText(&items[1], u"two");
    ReturnObject(&items[2], false);
    return items;
  }

  static HRESULT Twice(VARIANT* arg) {
    if (!arg) return DISP_E_BADPARAMCOUNT;
    if (arg->vt == (VT_I4 | VT_BYREF)) *arg->plVal *= 2;
    else if (arg->vt == (VT_R8 | VT_BYREF)) *arg->pdblVal *= 2;
    else if (arg->vt == (VT_BSTR | VT_BYREF)) {
      std::u16string text(BstrView(*arg->pbstrVal));
      SysFreeString(*arg->pbstrVal);
      *arg->pbstrVal = SysAllocString(std::u16string_view(text + text));
    } else return DISP_E_TYPEMISMATCH;
    return S_OK;
  }

  HRESULT Answer(DISPID id, WORD flags, const DISPPARAMS& p, VARIANT* r) {
    VARIANT* first = FirstArg(p);
    switch (id) {
      case DISPID_VALUE:
        if (wrapper_) return ReturnObject(r, false), S_OK;
        if (flags & P) return VariantCopyInd(&value_, first);
        return VariantCopy(r, &value_);
      case kPutOnly: return VariantCopyInd(&value_, first);
      case kName: return ReturnText(r, u"Recorder"), S_OK;
      case kEcho: return first ? VariantCopyInd(r, first) : DISP_E_BADPARAMCOUNT;
      case kTypeOf: r->vt = VT_I4; r->lVal = first ? first->vt : -1; return S_OK;
      case kTwice: return Twice(first);
      case kAsDouble: return first ? VariantChangeType(r, first, 0, VT_R8) : DISP_E_BADPARAMCOUNT;
      case kChild: return ReturnObject(r, false), S_OK;
      case kWrapper: return ReturnObject(r, true), S_OK;
      case kFailNext: {
        VARIANT n;
        VariantInit(&n);
        HRESULT h = VariantChangeType(&n, first, 0, VT_I4);
        if (SUCCEEDED(h)) shared_->failNext = n.lVal;
        return h;
      }
      case kLog: ReturnText(r, std::u16string(shared_->log.begin(), shared_->log.end())); shared_->log.clear(); return S_OK;
      case kDates: r->vt = VT_DATE; r->date = 0.5; return S_OK;
      case kOldDate: r->vt = VT_DATE; r->date = -1.25; return S_OK;
      case kMatrix: return ReturnMatrix(r), S_OK;
      case kDoubles: { const double d[] = {1.5, 2.5}; return ReturnVector(r, VT_R8, 2, d, sizeof d), S_OK; }
      case kBytes: { const unsigned char b[] = {0x41, 0x00, 0xFF}; return ReturnVector(r, VT_UI1, 3, b, sizeof b), S_OK; }
      case kCount: r->vt = VT_I4; r->lVal = 3; return S_OK;
      case kItem: {
        VARIANT n;
        VariantInit(&n);
        if (!first || FAILED(VariantChangeType(&n, first, 0, VT_I4)) || n.lVal < 1 || n.lVal > 3) return DISP_E_BADINDEX;
        std::vector<VARIANT> items = Items();
        *r = items[static_cast<std::size_t>(n.lVal - 1)];
        for (std::size_t i = 0; i < items.size(); ++i) if (i != static_cast<std::size_t>(n.lVal - 1)) VariantClear(&items[i]);
        return S_OK;
      }
      case DISPID_NEWENUM: r->vt = VT_UNKNOWN; r->punkVal = CreateVariantEnumerator(Items()); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

  std::shared_ptr<Shared> shared_;
  bool wrapper_;
  VARIANT value_;
};

constexpr CLSID kRecorderClsid = {0x5A17E001, 0x0BAD, 0x4E11, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};

HRESULT CreateRecorder(REFIID iid, void** out) {
  auto* r = new Recorder(std::make_shared<Shared>(), false);
  HRESULT h = r->QueryInterface(iid, out);
  r->Release();
  return h;
}

void RegisterRecorder(void*) { RegisterInprocClass(kRecorderClsid, u"PvTest.Recorder", CreateRecorder); }

struct Registration {
  Registration() { pv_vmAtInit(RegisterRecorder, nullptr); }
};
Registration s_registration;

}  // namespace
