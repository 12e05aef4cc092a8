// Class registry, CLSID parsing, CoCreateInstance, the running-object table and OleInitialize.
#include <gtest/gtest.h>

#include "com/com.h"

using namespace com;

namespace {

constexpr CLSID kTestClass = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
int live_objects = 0;

class Thing final : public RefCounted<IUnknown> {
 public:
  Thing() { ++live_objects; }
  ~Thing() override { --live_objects; }
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown) { *out = nullptr; return E_NOINTERFACE; }
    AddRef();
    *out = this;
    return S_OK;
  }
};

HRESULT CreateThing(REFIID iid, void** out) {
  auto* t = new Thing;
  HRESULT h = t->QueryInterface(iid, out);
  t->Release();
  return h;
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ASSERT_EQ(RegisterInprocClass(kTestClass, u"Test.Thing", CreateThing), S_OK);
  }
  void TearDown() override {
    RevokeInprocClass(kTestClass);
    OleUninitialize();
    EXPECT_EQ(live_objects, 0);
  }
};

}  // namespace

TEST_F(Registry, ProgIdLookupIsCaseInsensitive) {
  CLSID c;
  ASSERT_EQ(CLSIDFromProgID(u"test.THING", &c), S_OK);
  EXPECT_EQ(c, kTestClass);
  EXPECT_EQ(CLSIDFromProgID(u"No.Such", &c), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(u"", &c), E_INVALIDARG);
  EXPECT_EQ(RegisterInprocClass(kTestClass, u"bad name", CreateThing), E_INVALIDARG);
}

TEST_F(Registry, ClsidStringsParseAndFormat) {
  std::u16string text = GuidToString(kTestClass);
  EXPECT_EQ(text, u"{12345678-9ABC-DEF0-0102-030405060708}");
  CLSID c;
  ASSERT_EQ(CLSIDFromString(u"{12345678-9abc-def0-0102-030405060708}", &c), S_OK);
  EXPECT_EQ(c, kTestClass);
  ASSERT_EQ(CLSIDFromString(u"Test.Thing", &c), S_OK);
  EXPECT_EQ(CLSIDFromString(u"{12345678-9abc-def0-0102-03040506070}", &c), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromString(u"{12345678-9abc-def0-0102-03040506070g}", &c), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromString(u"{00020400-0000-0000-C000-000000000046}", &c), S_OK);
  EXPECT_EQ(c, IID_IDispatch);
  OLECHAR buf[39];
  EXPECT_EQ(StringFromGUID2(kTestClass, buf, 38), 0);
  EXPECT_EQ(StringFromGUID2(kTestClass, buf, 39), 39);
}

TEST_F(Registry, CoCreateInstanceChecksContextInterfaceAndClass) {
  IUnknown* p = nullptr;
  ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_SERVER, IID_IUnknown, (void**)&p), S_OK);
  EXPECT_EQ(live_objects, 1);
  p->Release();
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_SERVER, IID_IDispatch, (void**)&p),
            E_NOINTERFACE);
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, (void**)&p),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(IID_IDispatch, nullptr, CLSCTX_SERVER, IID_IUnknown, (void**)&p),
            REGDB_E_CLASSNOTREG);
  auto* outer = new Thing;
  EXPECT_EQ(CoCreateInstance(kTestClass, outer, CLSCTX_SERVER, IID_IUnknown, (void**)&p),
            CLASS_E_NOAGGREGATION);
  outer->Release();
  EXPECT_EQ(live_objects, 0);
}

TEST_F(Registry, RunningObjectTableStrongAndWeak) {
  IUnknown* found = nullptr;
  EXPECT_EQ(GetActiveObject(kTestClass, nullptr, &found), MK_E_UNAVAILABLE);
  auto* t = new Thing;
  DWORD strong, weak;
  ASSERT_EQ(RegisterActiveObject(t, kTestClass, ACTIVEOBJECT_STRONG, &strong), S_OK);
  t->Release();  // the table keeps it alive
  EXPECT_EQ(live_objects, 1);
  ASSERT_EQ(GetActiveObject(kTestClass, nullptr, &found), S_OK);
  EXPECT_EQ(found, t);
  found->Release();
  auto* w = new Thing;
  ASSERT_EQ(RegisterActiveObject(w, kTestClass, ACTIVEOBJECT_WEAK, &weak), S_OK);
  ASSERT_EQ(GetActiveObject(kTestClass, nullptr, &found), S_OK);
  EXPECT_EQ(found, w);  // the latest registration wins
  found->Release();
  EXPECT_EQ(RevokeActiveObject(weak, nullptr), S_OK);
  EXPECT_EQ(RevokeActiveObject(weak, nullptr), E_INVALIDARG);
  w->Release();
  EXPECT_EQ(RevokeActiveObject(strong, nullptr), S_OK);
  EXPECT_EQ(live_objects, 0);
}

TEST(OleInit, CountedAndRequiredForCreation) {
  EXPECT_FALSE(OleIsInitialized());
  IUnknown* p = nullptr;
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_SERVER, IID_IUnknown, (void**)&p),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  OleUninitialize();
  EXPECT_TRUE(OleIsInitialized());
  auto* t = new Thing;
  DWORD reg;
  RegisterActiveObject(t, kTestClass, ACTIVEOBJECT_STRONG, &reg);
  t->Release();
  OleUninitialize();  // the last one empties the running-object table
  EXPECT_FALSE(OleIsInitialized());
  EXPECT_EQ(live_objects, 0);
  OleUninitialize();  // unbalanced: ignored
  EXPECT_FALSE(OleIsInitialized());
}
