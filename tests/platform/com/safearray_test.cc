// SAFEARRAY bounds, element ownership and multi-dimensional indexing.
#include <gtest/gtest.h>

#include "com/com.h"

using namespace com;

TEST(SafeArray, ThreeDimensionsWithOwnBounds) {
  SAFEARRAYBOUND b[3] = {{2, 1}, {3, -1}, {4, 10}};
  SAFEARRAY* psa = SafeArrayCreate(VT_I4, 3, b);
  ASSERT_NE(psa, nullptr);
  EXPECT_EQ(SafeArrayGetDim(psa), 3u);
  LONG lo, hi;
  ASSERT_EQ(SafeArrayGetLBound(psa, 2, &lo), S_OK);
  ASSERT_EQ(SafeArrayGetUBound(psa, 2, &hi), S_OK);
  EXPECT_EQ(lo, -1);
  EXPECT_EQ(hi, 1);
  EXPECT_EQ(SafeArrayGetLBound(psa, 4, &lo), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetLBound(psa, 0, &lo), DISP_E_BADINDEX);
  for (LONG i = 1; i <= 2; ++i)
    for (LONG j = -1; j <= 1; ++j)
      for (LONG k = 10; k <= 13; ++k) {
        LONG idx[3] = {i, j, k};
        LONG v = i * 100 + (j + 5) * 10 + k;
        ASSERT_EQ(SafeArrayPutElement(psa, idx, &v), S_OK);
      }
  // The first index varies fastest.
  auto* data = static_cast<LONG*>(psa->pvData);
  EXPECT_EQ(data[0], 1 * 100 + 4 * 10 + 10);
  EXPECT_EQ(data[1], 2 * 100 + 4 * 10 + 10);
  EXPECT_EQ(data[2], 1 * 100 + 5 * 10 + 10);
  LONG idx[3] = {2, 1, 13}, out = 0;
  ASSERT_EQ(SafeArrayGetElement(psa, idx, &out), S_OK);
  EXPECT_EQ(out, 2 * 100 + 6 * 10 + 13);
  LONG bad[3] = {3, 1, 13};
  EXPECT_EQ(SafeArrayGetElement(psa, bad, &out), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, BstrAndVariantElementsAreCopied) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 2);
  BSTR s = SysAllocString(u"abc");
  LONG i = 1;
  ASSERT_EQ(SafeArrayPutElement(psa, &i, s), S_OK);
  SysFreeString(s);  // the array holds its own copy
  BSTR got = nullptr;
  ASSERT_EQ(SafeArrayGetElement(psa, &i, &got), S_OK);
  EXPECT_EQ(BstrView(got), u"abc");
  SysFreeString(got);
  ASSERT_EQ(SafeArrayPutElement(psa, &i, nullptr), S_OK);  // replaces and frees the old one
  SafeArrayDestroy(psa);

  SAFEARRAY* va = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(u"in a variant");
  i = 0;
  ASSERT_EQ(SafeArrayPutElement(va, &i, &v), S_OK);
  VariantClear(&v);
  VARIANT holder;
  holder.vt = VT_ARRAY | VT_VARIANT;
  holder.parray = va;
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &holder), S_OK);
  VariantClear(&holder);
  VARIANT out;
  ASSERT_EQ(SafeArrayGetElement(copy.parray, &i, &out), S_OK);
  EXPECT_EQ(BstrView(out.bstrVal), u"in a variant");
  VariantClear(&out);
  VariantClear(&copy);
}

TEST(SafeArray, RefusesBadShapesAndLockedDestroy) {
  SAFEARRAYBOUND b = {1, 0};
  EXPECT_EQ(SafeArrayCreate(VT_EMPTY, 1, &b), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &b), nullptr);
  SAFEARRAYBOUND huge[2] = {{0x10000, 0}, {0x10000, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_VARIANT, 2, huge), nullptr);
  SAFEARRAY* psa = SafeArrayCreateVector(VT_R8, 0, 3);
  void* data;
  ASSERT_EQ(SafeArrayAccessData(psa, &data), S_OK);
  EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
  SafeArrayUnaccessData(psa);
  EXPECT_EQ(SafeArrayUnlock(psa), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
  SAFEARRAY* empty = SafeArrayCreateVector(VT_I4, 1, 0);
  ASSERT_NE(empty, nullptr);
  LONG hi;
  SafeArrayGetUBound(empty, 1, &hi);
  EXPECT_EQ(hi, 0);
  SafeArrayDestroy(empty);
}
