// The bridge-like test client.
#include "automation_client.h"

#include "spreadsheet/server.h"

namespace test {

double Var::Number() const {
  com::VARIANT out;
  com::VariantInit(&out);
  EXPECT_EQ(com::VariantChangeType(&out, &v_, 0, com::VT_R8), com::S_OK) << "vt " << v_.vt;
  return out.dblVal;
}

std::u16string Var::Text() const {
  EXPECT_EQ(v_.vt, com::VT_BSTR);
  return v_.vt == com::VT_BSTR ? std::u16string(com::BstrView(v_.bstrVal)) : u"";
}

std::string Utf8(const std::u16string& s) { return com::WideToUtf8(s); }

Outcome Obj::Invoke(const std::u16string& name, com::WORD flags, std::vector<Var> args, Var* result) const {
  Outcome out;
  com::LPCOLESTR names[] = {name.c_str()};
  com::DISPID id;
  out.hr = p_->GetIDsOfNames(com::IID_NULL, const_cast<com::LPCOLESTR*>(names), 1, com::LOCALE_SYSTEM_DEFAULT, &id);
  if (com::FAILED(out.hr)) return out;
  std::vector<com::VARIANT> raw;
  for (auto it = args.rbegin(); it != args.rend(); ++it) raw.push_back(it->raw());  // last first
  com::DISPID putId = com::DISPID_PROPERTYPUT;
  com::DISPPARAMS params = {raw.data(), nullptr, com::UINT(raw.size()), 0};
  if (flags & com::DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  com::EXCEPINFO info = {};
  com::VARIANT res;
  com::VariantInit(&res);
  com::UINT argErr = 0;
  out.hr = p_->Invoke(id, com::IID_NULL, com::LOCALE_SYSTEM_DEFAULT, flags, &params,
                      (flags & com::DISPATCH_PROPERTYPUT) ? nullptr : &res, &info, &argErr);
  if (out.hr == com::DISP_E_EXCEPTION) {
    out.source = com::BstrView(info.bstrSource);
    out.description = com::BstrView(info.bstrDescription);
  }
  com::ClearExcepInfo(&info);
  if (result) *result = Var::Adopt(res);
  else com::VariantClear(&res);
  return out;
}

Outcome Obj::TryCall(const std::u16string& name, std::vector<Var> args, Var* result) const {
  Outcome o = Invoke(name, com::DISPATCH_METHOD, args, result);
  if (com::FAILED(o.hr) && o.hr != com::DISP_E_UNKNOWNNAME && o.hr != com::DISP_E_EXCEPTION)
    o = Invoke(name, com::DISPATCH_PROPERTYGET, args, result);
  return o;
}

Outcome Obj::TryPut(const std::u16string& name, Var value, std::vector<Var> args) const {
  args.push_back(value);
  return Invoke(name, com::DISPATCH_PROPERTYPUT, args, nullptr);
}

Var Obj::Call(const std::u16string& name, std::vector<Var> args) const {
  Var result;
  Outcome o = TryCall(name, std::move(args), &result);
  EXPECT_EQ(o.hr, com::S_OK) << Utf8(name) << ": " << Utf8(o.description);
  return result;
}

Obj Obj::Get(const std::u16string& name, std::vector<Var> args) const {
  Var v = Call(name, std::move(args));
  EXPECT_EQ(v.vt(), com::VT_DISPATCH) << Utf8(name);
  if (v.vt() != com::VT_DISPATCH || !v.raw().pdispVal) return Obj();
  v.raw().pdispVal->AddRef();
  return Obj(v.raw().pdispVal);
}

void Obj::Put(const std::u16string& name, Var value, std::vector<Var> args) const {
  Outcome o = TryPut(name, std::move(value), std::move(args));
  EXPECT_EQ(o.hr, com::S_OK) << Utf8(name) << ": " << Utf8(o.description);
}

Obj CreateSpreadsheet() {
  EXPECT_TRUE(com::SUCCEEDED(pv_spreadsheetRegister()));
  static bool initialised = com::SUCCEEDED(com::OleInitialize(nullptr));  // for the whole test run
  EXPECT_TRUE(initialised);
  com::CLSID clsid;
  EXPECT_EQ(com::CLSIDFromProgID(u"Excel.Application", &clsid), com::S_OK);
  com::IDispatch* app = nullptr;
  EXPECT_EQ(com::CoCreateInstance(clsid, nullptr, com::CLSCTX_SERVER, com::IID_IDispatch,
                                  reinterpret_cast<void**>(&app)), com::S_OK);
  return Obj(app);
}

}  // namespace test
