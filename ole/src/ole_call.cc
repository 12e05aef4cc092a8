// Argument blocks, name lookup and Invoke.
#include "ole_call.h"

#include <string>

#include "ole/ole.h"
#include "ole_convert.h"
#include "ole_state.h"
#include "vm.h"

namespace ole {

using namespace com;

namespace {

// Makes `arg` point at the storage VARIANT `store` (already holding the value).
void PointAt(VARIANT* arg, VARIANT* store) {
  if (store->vt == VT_EMPTY || store->vt == VT_NULL) {
    arg->vt = store->vt;
    return;
  }
  arg->vt = static_cast<VARTYPE>(store->vt | VT_BYREF);
  arg->byref = (store->vt & VT_ARRAY) ? static_cast<void*>(&store->parray) : static_cast<void*>(&store->llVal);
}

bool RefLike(PV_ITEM raw) {
  if (PV_IS_BYREF(raw)) return true;
  return PV_IS_ARRAY(pv_itemUnRef(raw));
}

}  // namespace

ArgBlock::ArgBlock(int first, int count)
    : args_(static_cast<std::size_t>(count)), store_(static_cast<std::size_t>(count)),
      refs_(static_cast<std::size_t>(count), nullptr) {
  for (auto& v : args_) VariantInit(&v);
  for (auto& v : store_) VariantInit(&v);
  for (int i = 0; i < count; ++i) {
    PV_ITEM raw = pv_stackItemFromBase(first + i);
    VARIANT* arg = &args_[static_cast<std::size_t>(count - 1 - i)];
    if (i == 0) firstRefLike_ = RefLike(raw);
    HRESULT h;
    if (PV_IS_BYREF(raw)) {
      refs_[static_cast<std::size_t>(i)] = raw;
      h = pv_oleItemToVariant(&store_[static_cast<std::size_t>(i)], raw);
      PointAt(arg, &store_[static_cast<std::size_t>(i)]);
    } else {
      h = pv_oleItemToVariant(arg, raw);
    }
    if (FAILED(h) && SUCCEEDED(status_)) status_ = h;
  }
}

ArgBlock::~ArgBlock() {
  for (std::size_t i = 0; i < args_.size(); ++i)
    if (!(args_[i].vt & VT_BYREF)) VariantClear(&args_[i]);
  for (auto& v : store_) VariantClear(&v);
}

DISPPARAMS ArgBlock::Params(bool put) {
  DISPPARAMS p{args_.empty() ? nullptr : args_.data(), nullptr, static_cast<UINT>(args_.size()), 0};
  if (put) {
    p.rgdispidNamedArgs = &putId_;
    p.cNamedArgs = 1;
  }
  return p;
}

void ArgBlock::WriteBack() {
  for (std::size_t i = 0; i < refs_.size(); ++i) {
    if (!refs_[i]) continue;
    PvItem value{PV_IT_NIL, {}};
    VariantToItem(&value, &store_[i]);
    pv_itemCopy(pv_itemUnRefWrite(refs_[i]), &value);
    pv_itemClear(&value);
    VariantClear(&store_[i]);
  }
}

HRESULT LookupName(IDispatch* d, const char* name, std::size_t len, int argc, DISPID* id, bool* put) {
  *put = false;
  if (len > 1 && name[0] == '_' && argc >= 1) {
    std::u16string bare = AnsiToWide(std::string_view(name + 1, len - 1));
    LPCOLESTR names[] = {bare.c_str()};
    if (SUCCEEDED(SetStatus(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, id)))) {
      *put = true;
      return state().status;
    }
  }
  std::u16string whole = AnsiToWide(std::string_view(name, len));
  LPCOLESTR names[] = {whole.c_str()};
  return SetStatus(d->GetIDsOfNames(IID_NULL, names, 1, 0, id));
}

HRESULT InvokeMember(IDispatch* d, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  ClearException();
  return SetStatus(d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, params, result,
                             &state().excep, &state().argErr));
}

HRESULT PutMember(IDispatch* d, DISPID id, ArgBlock& args, bool tryRef) {
  DISPPARAMS p = args.Params(true);
  if (tryRef && SUCCEEDED(InvokeMember(d, id, DISPATCH_PROPERTYPUTREF, &p, nullptr))) return state().status;
  return InvokeMember(d, id, DISPATCH_PROPERTYPUT, &p, nullptr);
}

}  // namespace ole
