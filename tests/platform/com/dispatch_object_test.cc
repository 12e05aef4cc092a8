// A DispatchObject answers IID_IFixedNames with itself (its names are those of its class), finds
// members by name in any letter case and runs the handler the call kind chooses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/com.h"
#include "com/dispatch_object.h"

using namespace com;

namespace {

class Counter final : public DispatchObject<Counter> {
 public:
  static const MemberTable<Counter>& Members() {
    static const MemberTable<Counter> table({
        {u"Value", DISPID_VALUE, [](Counter& c, Call& call) { call.ReturnLong(c.n); },
         [](Counter& c, Call& call) { c.n = call.PutValueLong(); }, nullptr},
        {u"Join", 1, nullptr, nullptr, [](Counter&, Call& call) {
           std::u16string all;
           for (std::size_t i = 0; i < call.Count(); ++i) all += call.Text(i) + u"|";
           call.ReturnText(all);
         }},
    });
    return table;
  }
  LONG n = 0;
};

TEST(DispatchObject, AnswersFixedNamesWithItselfAndCountsTheReference) {
  auto c = ComPtr<Counter>::Adopt(new Counter);
  void* p = nullptr;
  ASSERT_EQ(c->QueryInterface(IID_IFixedNames, &p), S_OK);
  EXPECT_EQ(p, static_cast<IDispatch*>(c.get()));
  EXPECT_EQ(c->Release(), 1u) << "the answer held one reference of its own";
  void* none = nullptr;
  EXPECT_EQ(c->QueryInterface(IID_IEnumVARIANT, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
}

TEST(DispatchObject, SameIdForEveryObjectAndAnyLetterCase) {
  auto a = ComPtr<Counter>::Adopt(new Counter);
  auto b = ComPtr<Counter>::Adopt(new Counter);
  LPCOLESTR upper[] = {u"VALUE"}, lower[] = {u"value"};
  DISPID ia = 1, ib = 1;
  ASSERT_EQ(a->GetIDsOfNames(IID_NULL, upper, 1, 0, &ia), S_OK);
  ASSERT_EQ(b->GetIDsOfNames(IID_NULL, lower, 1, 0, &ib), S_OK);
  EXPECT_EQ(ia, DISPID_VALUE);
  EXPECT_EQ(ib, DISPID_VALUE);
}

// Texts and numbers are read in call order however many there are (more than the few kept
// inline), given directly or by reference; the caller's arguments stay as they were.
TEST(DispatchObject, ArgumentsOfAnyCountAndKindReachTheHandler) {
  auto c = ComPtr<Counter>::Adopt(new Counter);
  for (UINT count : {2u, 7u}) {
    std::vector<VARIANT> args(count);
    LONG referenced = 42;
    for (UINT i = 0; i < count; ++i) {
      VariantInit(&args[i]);
      args[i].vt = VT_BSTR;
      args[i].bstrVal = SysAllocString(std::u16string(1, char16_t(u'a' + i)));
    }
    VariantClear(&args[0]);
    args[0].vt = VT_I4 | VT_BYREF;  // the last argument, by reference
    args[0].plVal = &referenced;
    DISPPARAMS p{args.data(), nullptr, count, 0};
    VARIANT r;
    VariantInit(&r);
    ASSERT_EQ(c->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &p, &r, nullptr, nullptr), S_OK);
    std::u16string expected;
    for (UINT i = count - 1; i > 0; --i) expected += std::u16string(1, char16_t(u'a' + i)) + u"|";
    EXPECT_EQ(std::u16string(BstrView(r.bstrVal)), expected + u"42|");
    EXPECT_EQ(std::u16string(BstrView(args[count - 1].bstrVal)), std::u16string(1, char16_t(u'a' + count - 1)))
        << "the caller's text is untouched";
    VariantClear(&r);
    for (VARIANT& v : args) if (!(v.vt & VT_BYREF)) VariantClear(&v);
  }
}

}  // namespace
