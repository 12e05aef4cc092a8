// VARIANT copy/clear ownership and VariantChangeType.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "com/com.h"

using namespace com;

namespace {

// Counts references so tests can see AddRef/Release balance.
class Counted final : public IDispatch {
 public:
  ULONG refs = 1;
  double value = 42.5;
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPCOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* r, EXCEPINFO*, UINT*) override {
    if (id != DISPID_VALUE || !r) return DISP_E_MEMBERNOTFOUND;
    r->vt = VT_R8;
    r->dblVal = value;
    return S_OK;
  }
};

VARIANT Text(const char16_t* s) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s);
  return v;
}

VARIANT Number(double d) {
  VARIANT v;
  v.vt = VT_R8;
  v.dblVal = d;
  return v;
}

}  // namespace

TEST(Variant, CopyAndClearBalanceReferences) {
  Counted obj;
  VARIANT a, b;
  VariantInit(&b);
  a.vt = VT_DISPATCH;
  a.pdispVal = &obj;
  ASSERT_EQ(VariantCopy(&b, &a), S_OK);
  EXPECT_EQ(obj.refs, 2u);
  EXPECT_EQ(VariantClear(&b), S_OK);
  EXPECT_EQ(b.vt, VT_EMPTY);
  EXPECT_EQ(obj.refs, 1u);

  VARIANT s = Text(u"hello"), t;
  VariantInit(&t);
  ASSERT_EQ(VariantCopy(&t, &s), S_OK);
  EXPECT_NE(t.bstrVal, s.bstrVal);
  EXPECT_EQ(BstrView(t.bstrVal), u"hello");
  VariantClear(&s);
  VariantClear(&t);
}

TEST(Variant, ByReferenceIsNotOwnedAndCopyIndFollowsIt) {
  double d = 3.5;
  VARIANT ref;
  ref.vt = VT_R8 | VT_BYREF;
  ref.pdblVal = &d;
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantCopyInd(&out, &ref), S_OK);
  EXPECT_EQ(out.vt, VT_R8);
  EXPECT_EQ(out.dblVal, 3.5);
  EXPECT_EQ(VariantClear(&ref), S_OK);  // must not free &d

  VARIANT inner = Text(u"x");
  VARIANT vref;
  vref.vt = VT_VARIANT | VT_BYREF;
  vref.pvarVal = &inner;
  ASSERT_EQ(VariantCopyInd(&out, &vref), S_OK);
  EXPECT_EQ(out.vt, VT_BSTR);
  VariantClear(&out);
  VariantClear(&inner);
}

TEST(Variant, RejectsInvalidTypes) {
  VARIANT bad;
  bad.vt = 15;
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(VariantCopy(&out, &bad), DISP_E_BADVARTYPE);
  bad.vt = VT_VARIANT;  // a bare VARIANT is only valid by reference or in arrays
  EXPECT_EQ(VariantCopy(&out, &bad), DISP_E_BADVARTYPE);
  EXPECT_FALSE(IsValidVariantType(VT_EMPTY | VT_ARRAY));
  EXPECT_TRUE(IsValidVariantType(VT_VARIANT | VT_ARRAY | VT_BYREF));
}

// Every plain type tag: the valid ones that own nothing clear to VT_EMPTY, invalid ones are
// refused and left alone.
TEST(Variant, ClearsEveryPlainTypeTag) {
  const VARTYPE kValid[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE,
                            VT_ERROR, VT_BOOL, VT_DECIMAL, VT_I1, VT_UI1, VT_UI2, VT_UI4,
                            VT_I8, VT_UI8, VT_INT, VT_UINT, VT_PTR};
  for (VARTYPE vt = 0; vt < 80; ++vt) {
    bool valid = std::find(std::begin(kValid), std::end(kValid), vt) != std::end(kValid);
    bool owner = vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_UNKNOWN;
    EXPECT_EQ(IsValidVariantType(vt), valid || owner) << vt;
    if (owner) continue;
    VARIANT v;
    v.vt = vt;
    v.llVal = 0;
    EXPECT_EQ(VariantClear(&v), valid ? S_OK : DISP_E_BADVARTYPE) << vt;
    EXPECT_EQ(v.vt, valid ? VARTYPE(VT_EMPTY) : vt) << vt;
  }
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(VariantChangeType, NumbersTextAndBooleans) {
  VARIANT v = Number(2.5), out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 2);  // half to even
  v.dblVal = 3.5;
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 4);
  v.dblVal = 1e10;
  EXPECT_EQ(VariantChangeType(&out, &v, 0, VT_I4), DISP_E_OVERFLOW);
  v.dblVal = 0.1;
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_BSTR), S_OK);
  EXPECT_EQ(BstrView(out.bstrVal), u"0.1");
  VARIANT t = Text(u"  -12.25 ");
  ASSERT_EQ(VariantChangeType(&out, &t, 0, VT_R8), S_OK);
  EXPECT_EQ(out.dblVal, -12.25);
  VariantClear(&t);
  t = Text(u"12abc");
  EXPECT_EQ(VariantChangeType(&out, &t, 0, VT_R8), DISP_E_TYPEMISMATCH);
  VariantClear(&t);
  t = Text(u"True");
  ASSERT_EQ(VariantChangeType(&out, &t, 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.boolVal, VARIANT_TRUE);
  ASSERT_EQ(VariantChangeType(&t, &t, 0, VT_I2), S_OK);  // in place
  EXPECT_EQ(t.vt, VT_I2);
  EXPECT_EQ(t.iVal, -1);
}

TEST(VariantChangeType, NullEmptyObjectsCurrencyAndDecimal) {
  VARIANT n, out;
  n.vt = VT_NULL;
  VariantInit(&out);
  EXPECT_EQ(VariantChangeType(&out, &n, 0, VT_R8), DISP_E_TYPEMISMATCH);
  n.vt = VT_EMPTY;
  ASSERT_EQ(VariantChangeType(&out, &n, 0, VT_BSTR), S_OK);
  EXPECT_EQ(SysStringLen(out.bstrVal), 0u);
  VariantClear(&out);

  Counted obj;
  VARIANT d;
  d.vt = VT_DISPATCH;
  d.pdispVal = &obj;
  ASSERT_EQ(VariantChangeType(&out, &d, 0, VT_R8), S_OK);  // through the default value
  EXPECT_EQ(out.dblVal, 42.5);
  EXPECT_EQ(obj.refs, 1u);

  VARIANT c = Number(12.3456);
  ASSERT_EQ(VariantChangeType(&out, &c, 0, VT_CY), S_OK);
  EXPECT_EQ(out.cyVal.int64, 123456);
  double back;
  VarR8FromCy(out.cyVal, &back);
  EXPECT_DOUBLE_EQ(back, 12.3456);
  c.dblVal = -0.125;
  ASSERT_EQ(VariantChangeType(&out, &c, 0, VT_DECIMAL), S_OK);
  VarR8FromDec(&out.decVal, &back);
  EXPECT_DOUBLE_EQ(back, -0.125);
  EXPECT_EQ(VariantChangeType(&out, &c, 0, 99), DISP_E_BADVARTYPE);
  c.dblVal = 1e6;
  ASSERT_EQ(VariantChangeType(&out, &c, 0, VT_DATE), S_OK);
  c.dblVal = 1e9;
  EXPECT_EQ(VariantChangeType(&out, &c, 0, VT_DATE), DISP_E_OVERFLOW);
}

TEST(VariantEnumerator, NextSkipResetClone) {
  std::vector<VARIANT> items = {Number(1), Number(2), Number(3)};
  IEnumVARIANT* e = CreateVariantEnumerator(std::move(items));
  VARIANT got[2];
  ULONG n = 0;
  ASSERT_EQ(e->Next(2, got, &n), S_OK);
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(got[1].dblVal, 2);
  IEnumVARIANT* c = nullptr;
  ASSERT_EQ(e->Clone(&c), S_OK);
  EXPECT_EQ(e->Next(2, got, &n), S_FALSE);
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(got[0].dblVal, 3);
  ASSERT_EQ(c->Next(1, got, &n), S_OK);
  EXPECT_EQ(got[0].dblVal, 3);
  e->Reset();
  EXPECT_EQ(e->Skip(5), S_FALSE);
  e->Release();
  c->Release();
}
