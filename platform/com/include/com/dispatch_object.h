// Building blocks for Automation servers: an IDispatch implemented from a table of members
// (name, dispatch id, handlers for property get, property put and method call), a view of one
// call's arguments with checked conversions, and the error a handler throws to refuse a call.
//
// Example:
//   class Counter : public com::DispatchObject<Counter> {
//    public:
//     static const com::MemberTable<Counter>& Members() {
//       static const com::MemberTable<Counter> table({
//           {u"Value", com::DISPID_VALUE,
//            [](Counter& c, com::Call& call) { call.ReturnLong(c.n); },      // get
//            [](Counter& c, com::Call& call) { c.n = call.PutValueLong(); },  // put
//            nullptr},                                                     // no method
//       });
//       return table;
//     }
//     int n = 0;
//   };
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "com/interfaces.h"
#include "com/object.h"

namespace com {

// Thrown by a member handler to refuse a call. With DISP_E_EXCEPTION, `description` goes to
// the caller's EXCEPINFO; `argument` is the 0-based argument at fault (reported in puArgErr).
struct DispatchError {
  HRESULT hr;
  std::u16string description;
  int argument = -1;
};

// Throws DISP_E_EXCEPTION with the text.
[[noreturn]] void ThrowException(std::u16string description);

// The source named in every EXCEPINFO a DispatchObject fills.
void SetExceptionSource(std::u16string source);

// One Invoke: copies of the arguments in call order (by-reference values followed), the
// property-put value and the result slot.
class Call {
 public:
  Call(WORD kind, const DISPPARAMS& params, VARIANT* result);
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;
  ~Call();

  WORD kind() const { return kind_; }
  std::size_t Count() const { return count_; }
  // True when argument i was given and is not the "missing" marker (VT_ERROR
  // DISP_E_PARAMNOTFOUND).
  bool Has(std::size_t i) const;
  const VARIANT& Arg(std::size_t i) const;  // VT_EMPTY when absent
  const VARIANT& PutValue() const { return put_; }

  // Refuses the call unless min <= number of arguments <= max (DISP_E_BADPARAMCOUNT), and
  // each of the first `min` arguments is present (DISP_E_PARAMNOTOPTIONAL).
  void Expect(std::size_t min, std::size_t max) const;

  // Checked conversions of argument i (DISP_E_TYPEMISMATCH / DISP_E_OVERFLOW with the
  // argument index on failure).
  LONG Long(std::size_t i) const;
  double Double(std::size_t i) const;
  bool Bool(std::size_t i) const;
  std::u16string Text(std::size_t i) const;
  LONG PutValueLong() const;
  double PutValueDouble() const;
  bool PutValueBool() const;
  std::u16string PutValueText() const;

  // Results (ignored when the caller passed no result slot).
  void ReturnLong(LONG v);
  void ReturnDouble(double v);
  void ReturnBool(bool v);
  void ReturnText(std::u16string_view v);
  void ReturnNull();
  void ReturnDispatch(IDispatch* adopted);  // takes over the caller's reference
  void ReturnUnknown(IUnknown* adopted);
  void ReturnVariant(VARIANT* adopted);      // takes over the variant's contents

 private:
  VARIANT* Slot();
  // *out := the value of `in`. With `mayBorrow`, plain scalars and texts are borrowed from the
  // caller's arguments (they outlive the call and handlers only read them; true is returned);
  // anything else is copied.
  static bool TakeValue(VARIANT* out, const VARIANT& in, int index, bool mayBorrow);
  void Release();
  static VARIANT Convert(const VARIANT& v, VARTYPE vt, int index);

  WORD kind_;
  // Calls with up to kInline arguments keep their copies here, larger ones on the heap.
  static constexpr std::size_t kInline = 4;
  VARIANT inline_[kInline];
  std::vector<VARIANT> heap_;
  VARIANT* args_ = inline_;  // by-reference values copied out, in call order
  std::size_t count_ = 0;    // copies made so far
  std::uint64_t borrowed_ = 0;  // bit i: argument i is borrowed (only the first 64 can be)
  bool putBorrowed_ = false;
  VARIANT put_;
  VARIANT* result_;
  VARIANT scratch_;
};

template <class T>
struct Member {
  using Handler = void (*)(T&, Call&);
  const char16_t* name;
  DISPID id;
  Handler get;
  Handler put;
  Handler method;
};

// ASCII case-insensitive hashing and comparison of member names, usable with string views so
// a lookup allocates nothing.
struct FoldedHash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view s) const;
};
struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const;
};

// Case-insensitive lookup of an object's members by name and by dispatch id.
template <class T>
class MemberTable {
 public:
  explicit MemberTable(std::vector<Member<T>> members) : members_(std::move(members)) {
    for (const auto& m : members_) {
      byName_.emplace(std::u16string(m.name), &m);
      byId_.emplace(m.id, &m);
    }
  }
  const Member<T>* Find(std::u16string_view name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
  }
  const Member<T>* Find(DISPID id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
  }

 private:
  std::vector<Member<T>> members_;
  std::unordered_map<std::u16string, const Member<T>*, FoldedHash, FoldedEqual> byName_;
  std::unordered_map<DISPID, const Member<T>*> byId_;
};

namespace detail {
// The call kind (DISPATCH_METHOD, _PROPERTYGET or _PROPERTYPUT) that answers `flags` for a
// member with the given handlers; 0 when none does.
WORD ChooseKind(WORD flags, bool hasGet, bool hasPut, bool hasMethod);
// Runs one call through `thunk(ctx, call)` and turns a DispatchError into the HRESULT,
// the exception record and the argument-error index.
using Thunk = void (*)(void* ctx, Call& call);
HRESULT RunInvoke(WORD kind, void* ctx, Thunk thunk, REFIID iid, DISPPARAMS* params,
                  VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);
HRESULT LookupNames(UINT count, LPCOLESTR* names, DISPID* ids, DISPID found);
}  // namespace detail

// IDispatch over T::Members(). T derives from DispatchObject<T>. Its names are fixed by T, so it
// answers IID_IFixedNames.
template <class T>
class DispatchObject : public RefCounted<IDispatch> {
 public:
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IFixedNames) {
      AddRef();
      *out = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPCOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids || count == 0 || !names[0]) return E_INVALIDARG;
    const Member<T>* m = T::Members().Find(std::u16string_view(names[0]));
    return detail::LookupNames(count, names, ids, m ? m->id : DISPID_UNKNOWN);
  }
  HRESULT Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) override {
    const Member<T>* m = T::Members().Find(id);
    if (!m) return DISP_E_MEMBERNOTFOUND;
    WORD kind = detail::ChooseKind(flags, m->get, m->put, m->method);
    if (!kind) return DISP_E_MEMBERNOTFOUND;
    Bound bound{static_cast<T*>(this),
                kind == DISPATCH_METHOD ? m->method : kind == DISPATCH_PROPERTYGET ? m->get : m->put};
    return detail::RunInvoke(kind, &bound, &Bound::Run, iid, params, result, excepInfo, argErr);
  }

 private:
  struct Bound {
    T* self;
    typename Member<T>::Handler handler;
    static void Run(void* ctx, Call& call) {
      auto* b = static_cast<Bound*>(ctx);
      b->handler(*b->self, call);
    }
  };
};

}  // namespace com
