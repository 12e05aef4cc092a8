// A DispatchObject answers IID_IFixedNames with itself (its names are those of its class), finds
// members by name in any letter case and runs the handler the call kind chooses.
#include <gtest/gtest.h>

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

}  // namespace
