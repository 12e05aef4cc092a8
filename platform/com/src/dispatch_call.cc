// Argument access, conversions and results of one Invoke, and the Invoke driver shared by
// every DispatchObject.
#include <cstring>
#include <new>

#include "com/dispatch_object.h"

namespace com {
namespace {

std::u16string& ExceptionSource() {
  static std::u16string source = u"Automation server";
  return source;
}

// Follows VT_BYREF | VT_VARIANT links (a few levels at most) to the variant holding the value.
const VARIANT* Resolve(const VARIANT* v) {
  for (int depth = 0; depth < 4 && v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal; ++depth)
    v = v->pvarVal;
  return v;
}

const VARIANT kEmpty = {};

void FillException(EXCEPINFO* info, const std::u16string& description) {
  if (!info) return;
  std::memset(info, 0, sizeof *info);
  info->bstrSource = SysAllocString(std::u16string_view(ExceptionSource()));
  info->bstrDescription = SysAllocString(std::u16string_view(description));
  info->scode = DISP_E_EXCEPTION;
}

}  // namespace

namespace {
char16_t FoldChar(char16_t c) { return c >= 'a' && c <= 'z' ? char16_t(c - 32) : c; }
}  // namespace

std::size_t FoldedHash::operator()(std::u16string_view s) const {
  std::size_t h = 14695981039346656037ull;  // FNV-1a over the upper-cased units
  for (char16_t c : s) h = (h ^ FoldChar(c)) * 1099511628211ull;
  return h;
}

bool FoldedEqual::operator()(std::u16string_view a, std::u16string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldChar(a[i]) != FoldChar(b[i])) return false;
  return true;
}

void SetExceptionSource(std::u16string source) { ExceptionSource() = std::move(source); }

[[noreturn]] void ThrowException(std::u16string description) {
  throw DispatchError{DISP_E_EXCEPTION, std::move(description)};
}

Call::Call(WORD kind, const DISPPARAMS& params, VARIANT* result)
    : kind_(kind), result_(result) {
  VariantInit(&put_);
  VariantInit(&scratch_);
  UINT named = params.cNamedArgs;
  std::size_t given = params.cArgs > named ? params.cArgs - named : 0;
  if (given > kInline) {
    heap_.resize(given);
    args_ = heap_.data();
  }
  try {
    // The put value is the named argument DISPID_PROPERTYPUT in rgvarg[0].
    if (kind == DISPATCH_PROPERTYPUT) putBorrowed_ = TakeValue(&put_, params.rgvarg[0], 0, true);
    for (UINT i = params.cArgs; i > named; --i) {
      VARIANT* copy = &args_[count_];
      VariantInit(copy);
      std::size_t index = count_++;
      if (TakeValue(copy, params.rgvarg[i - 1], int(index), index < 64)) borrowed_ |= std::uint64_t(1) << index;
    }
  } catch (...) {
    Release();
    throw;
  }
}

bool Call::TakeValue(VARIANT* out, const VARIANT& in, int index, bool mayBorrow) {
  const VARIANT* v = Resolve(&in);
  bool borrow = mayBorrow && !(v->vt & (VT_BYREF | VT_ARRAY)) && v->vt != VT_DISPATCH && v->vt != VT_UNKNOWN &&
                IsValidVariantType(v->vt);
  if (borrow) {
    *out = *v;
    return true;
  }
  HRESULT h = VariantCopyInd(out, v);
  if (FAILED(h)) throw DispatchError{h == E_OUTOFMEMORY ? h : DISP_E_BADVARTYPE, u"", index};
  return false;
}

void Call::Release() {
  for (std::size_t i = 0; i < count_; ++i) {
    if (i < 64 && (borrowed_ >> i & 1)) VariantInit(&args_[i]);
    else VariantClear(&args_[i]);
  }
  if (putBorrowed_) VariantInit(&put_);
  VariantClear(&put_);
  VariantClear(&scratch_);
}

Call::~Call() { Release(); }

bool Call::Has(std::size_t i) const {
  if (i >= count_) return false;
  const VARIANT& v = args_[i];
  return !(v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

const VARIANT& Call::Arg(std::size_t i) const { return Has(i) ? args_[i] : kEmpty; }

void Call::Expect(std::size_t min, std::size_t max) const {
  if (count_ > max) throw DispatchError{DISP_E_BADPARAMCOUNT, u"", -1};
  for (std::size_t i = 0; i < min; ++i)
    if (!Has(i)) throw DispatchError{DISP_E_PARAMNOTOPTIONAL, u"", int(i)};
}

VARIANT Call::Convert(const VARIANT& v, VARTYPE vt, int index) {
  VARIANT out;
  VariantInit(&out);
  if (v.vt == vt && vt != VT_BSTR) return v;  // scalars need no conversion
  if (vt == VT_R8 && v.vt == VT_I4) {         // an exact widening
    out.vt = VT_R8;
    out.dblVal = v.lVal;
    return out;
  }
  HRESULT h = v.vt == VT_NULL && vt != VT_BSTR ? DISP_E_TYPEMISMATCH
                                                : VariantChangeType(&out, &v, 0, vt);
  if (v.vt == VT_NULL && vt == VT_BSTR) {
    out.vt = VT_BSTR;
    out.bstrVal = nullptr;
    h = S_OK;
  }
  if (FAILED(h)) {
    HRESULT code = h == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
    throw DispatchError{code, u"", index};
  }
  return out;
}

LONG Call::Long(std::size_t i) const {
  const VARIANT& v = Arg(i);
  return v.vt == VT_I4 ? v.lVal : Convert(v, VT_I4, int(i)).lVal;
}
double Call::Double(std::size_t i) const {
  const VARIANT& v = Arg(i);
  return v.vt == VT_R8 ? v.dblVal : Convert(v, VT_R8, int(i)).dblVal;
}
bool Call::Bool(std::size_t i) const { return Convert(Arg(i), VT_BOOL, int(i)).boolVal != 0; }
std::u16string Call::Text(std::size_t i) const {
  VARIANT v = Convert(Arg(i), VT_BSTR, int(i));
  std::u16string s(BstrView(v.bstrVal));
  VariantClear(&v);
  return s;
}
LONG Call::PutValueLong() const { return Convert(put_, VT_I4, 0).lVal; }
double Call::PutValueDouble() const { return Convert(put_, VT_R8, 0).dblVal; }
bool Call::PutValueBool() const { return Convert(put_, VT_BOOL, 0).boolVal != 0; }
std::u16string Call::PutValueText() const {
  VARIANT v = Convert(put_, VT_BSTR, 0);
  std::u16string s(BstrView(v.bstrVal));
  VariantClear(&v);
  return s;
}

VARIANT* Call::Slot() {
  VARIANT* slot = result_ ? result_ : &scratch_;
  VariantClear(slot);
  return slot;
}

void Call::ReturnLong(LONG v) {
  VARIANT* s = Slot();
  s->vt = VT_I4;
  s->lVal = v;
}
void Call::ReturnDouble(double v) {
  VARIANT* s = Slot();
  s->vt = VT_R8;
  s->dblVal = v;
}
void Call::ReturnBool(bool v) {
  VARIANT* s = Slot();
  s->vt = VT_BOOL;
  s->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
}
void Call::ReturnText(std::u16string_view v) {
  BSTR b = SysAllocString(v);
  if (!b) throw std::bad_alloc();
  VARIANT* s = Slot();
  s->vt = VT_BSTR;
  s->bstrVal = b;
}
void Call::ReturnNull() { Slot()->vt = VT_NULL; }
void Call::ReturnDispatch(IDispatch* adopted) {
  VARIANT* s = Slot();
  s->vt = VT_DISPATCH;
  s->pdispVal = adopted;
}
void Call::ReturnUnknown(IUnknown* adopted) {
  VARIANT* s = Slot();
  s->vt = VT_UNKNOWN;
  s->punkVal = adopted;
}
void Call::ReturnVariant(VARIANT* adopted) {
  VARIANT* s = Slot();
  *s = *adopted;
  adopted->vt = VT_EMPTY;
}

namespace detail {

WORD ChooseKind(WORD flags, bool hasGet, bool hasPut, bool hasMethod) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return hasPut ? DISPATCH_PROPERTYPUT : 0;
  if ((flags & DISPATCH_METHOD) && hasMethod) return DISPATCH_METHOD;
  if ((flags & DISPATCH_PROPERTYGET) && hasGet) return DISPATCH_PROPERTYGET;
  return 0;
}

HRESULT LookupNames(UINT count, LPCOLESTR* names, DISPID* ids, DISPID found) {
  ids[0] = found;
  // Parameter names are not offered: named arguments other than the put value are refused.
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  (void)names;
  return found == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT RunInvoke(WORD kind, void* ctx, Thunk thunk, REFIID iid, DISPPARAMS* params,
                  VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (params->cArgs && !params->rgvarg) return E_INVALIDARG;
  if (params->cNamedArgs > params->cArgs || (params->cNamedArgs && !params->rgdispidNamedArgs))
    return E_INVALIDARG;
  if (kind == DISPATCH_PROPERTYPUT) {
    if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return params->cArgs ? DISP_E_PARAMNOTOPTIONAL : DISP_E_BADPARAMCOUNT;
  } else if (params->cNamedArgs) {
    return DISP_E_NONAMEDARGS;
  }
  for (UINT i = 0; i < params->cArgs; ++i)
    if (!IsValidVariantType(params->rgvarg[i].vt)) return DISP_E_BADVARTYPE;
  if (result) VariantInit(result);
  try {
    Call call(kind, *params, result);
    thunk(ctx, call);
    return S_OK;
  } catch (const DispatchError& e) {
    if (result) VariantClear(result);
    if (e.hr == DISP_E_EXCEPTION) FillException(excepInfo, e.description);
    if (argErr && e.argument >= 0) {
      // puArgErr counts like rgvarg: from the last argument.
      UINT positional = params->cArgs - params->cNamedArgs;
      *argErr = positional - 1 - UINT(e.argument);
    }
    return e.hr;
  } catch (const std::bad_alloc&) {
    if (result) VariantClear(result);
    return E_OUTOFMEMORY;
  }
}

}  // namespace detail
}  // namespace com
