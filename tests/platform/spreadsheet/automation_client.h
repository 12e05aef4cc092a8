// A test client that drives Automation objects the way the runtime's bridge does: a message
// looks its name up, then tries a method call and a property get; an assignment is a property
// put with the named argument DISPID_PROPERTYPUT.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/com.h"

namespace test {

// An owned VARIANT.
class Var {
 public:
  Var() { com::VariantInit(&v_); }
  Var(int i) : Var() { v_.vt = com::VT_I4; v_.lVal = i; }
  Var(double d) : Var() { v_.vt = com::VT_R8; v_.dblVal = d; }
  Var(bool b) : Var() { v_.vt = com::VT_BOOL; v_.boolVal = b ? com::VARIANT_TRUE : com::VARIANT_FALSE; }
  Var(const char16_t* s) : Var() { v_.vt = com::VT_BSTR; v_.bstrVal = com::SysAllocString(s); }
  Var(const std::u16string& s) : Var() { v_.vt = com::VT_BSTR; v_.bstrVal = com::SysAllocString(std::u16string_view(s)); }
  static Var Null() { Var v; v.v_.vt = com::VT_NULL; return v; }
  static Var Adopt(com::VARIANT raw) { Var v; v.v_ = raw; return v; }
  // Invalid type tags own nothing: they are copied bit for bit, so tests can send them.
  Var(const Var& o) : Var() { *this = o; }
  Var& operator=(const Var& o) {
    if (com::FAILED(com::VariantCopy(&v_, &o.v_))) v_ = o.v_;
    return *this;
  }
  ~Var() { com::VariantClear(&v_); }
  com::VARIANT& raw() { return v_; }
  const com::VARIANT& raw() const { return v_; }
  com::VARTYPE vt() const { return v_.vt; }
  double Number() const;
  std::u16string Text() const;
  bool Bool() const { return v_.boolVal != 0; }

 private:
  com::VARIANT v_;
};

// The outcome of the last call of a client object.
struct Outcome {
  com::HRESULT hr = com::S_OK;
  std::u16string source, description;
};

class Obj {
 public:
  Obj() = default;
  explicit Obj(com::IDispatch* adopted) : p_(com::ComPtr<com::IDispatch>::Adopt(adopted)) {}
  com::IDispatch* get() const { return p_.get(); }
  explicit operator bool() const { return bool(p_); }

  // Message with a result (method, then property get). Fails the test unless it succeeds.
  Var Call(const std::u16string& name, std::vector<Var> args = {}) const;
  Obj Get(const std::u16string& name, std::vector<Var> args = {}) const;
  // Assignment: property put of `value`.
  void Put(const std::u16string& name, Var value, std::vector<Var> args = {}) const;
  // The same calls, returning the status instead of failing.
  Outcome TryCall(const std::u16string& name, std::vector<Var> args = {}, Var* result = nullptr) const;
  Outcome TryPut(const std::u16string& name, Var value, std::vector<Var> args = {}) const;
  // One raw Invoke with the given flags.
  Outcome Invoke(const std::u16string& name, com::WORD flags, std::vector<Var> args, Var* result) const;

 private:
  com::ComPtr<com::IDispatch> p_;
};

// Creates "Excel.Application" through the class registry (registers the server first).
Obj CreateSpreadsheet();

std::string Utf8(const std::u16string& s);

}  // namespace test
