// The DBFCDX driver's key helpers: recognising single-field keys (with alias and FIELD
// qualifiers, long names cut to 10 characters) and turning values into key bytes.
#include <gtest/gtest.h>

#include "dynsym.h"
#include "rdd_cdx.h"
#include "rdd_cdx_keys.h"
#include "start.h"
#include "vm.h"

using namespace pv::cdx;

namespace {

class CdxKeysTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { pv_stackInit(); }
  void SetUp() override {
    for (const char* name : {"ID_NR", "CUSTOMER", "PRODUCT", "SHIPPEDDAT"}) {
      PvField f;
      f.name = name;
      area.fields.push_back(f);
    }
    area.alias = pv_dynsymGet("PRODUCT");
  }
  PvArea area;
};

TEST_F(CdxKeysTest, SingleFieldKeys) {
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "PRODUCT"), 3);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "  product \r\n"), 3);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "FIELD->PRODUCT"), 3);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "fiel -> product"), 3);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "_FIELD->ID_NR"), 1);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "PRODUCT->PRODUCT"), 3);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "shippeddate"), 4);  // long name, first 10 characters
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "LOWER(PRODUCT)"), 0);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "FIE->PRODUCT"), 0);   // too short for FIELD
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "OTHER->PRODUCT"), 0); // another alias
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "PRODUCT + CUSTOMER"), 0);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, "NOFIELD"), 0);
  EXPECT_EQ(pv_rddFieldExpIndex(&area, ""), 0);
}

TEST_F(CdxKeysTest, KeyTypesOfValues) {
  PvItem v = {PV_IT_NIL, {}};
  char type = 0;
  int len = 0;
  pv_itemPutC(&v, "abc");
  ASSERT_TRUE(pv_cdxKeyTypeOf(&v, &type, &len));
  EXPECT_EQ(type, 'C');
  EXPECT_EQ(len, 3);
  pv_itemPutC(&v, std::string(300, 'x').c_str());
  ASSERT_TRUE(pv_cdxKeyTypeOf(&v, &type, &len));
  EXPECT_EQ(len, 240);
  pv_itemPutND(&v, 1.5);
  ASSERT_TRUE(pv_cdxKeyTypeOf(&v, &type, &len));
  EXPECT_EQ(type, 'N');
  EXPECT_EQ(len, 8);
  pv_itemPutDL(&v, 2460000);
  ASSERT_TRUE(pv_cdxKeyTypeOf(&v, &type, &len));
  EXPECT_EQ(type, 'D');
  pv_itemPutL(&v, true);
  ASSERT_TRUE(pv_cdxKeyTypeOf(&v, &type, &len));
  EXPECT_EQ(type, 'L');
  EXPECT_EQ(len, 1);
  pv_itemClear(&v);
  EXPECT_FALSE(pv_cdxKeyTypeOf(&v, &type, &len));
}

TEST_F(CdxKeysTest, KeyBytesOfValues) {
  PvItem v = {PV_IT_NIL, {}};
  CdxKey k;
  k.rec = 7;
  pv_itemPutC(&v, "ab");
  ASSERT_TRUE(pv_cdxKeyFromItem(&v, 'C', 4, true, k));
  EXPECT_EQ(k.bytes(), "ab  ");  // record keys are padded
  EXPECT_EQ(k.rec, 7u);
  ASSERT_TRUE(pv_cdxKeyFromItem(&v, 'C', 4, false, k));
  EXPECT_EQ(k.bytes(), "ab");  // seek values stay prefixes
  pv_itemPutC(&v, "abcdef");
  ASSERT_TRUE(pv_cdxKeyFromItem(&v, 'C', 4, true, k));
  EXPECT_EQ(k.bytes(), "abcd");  // cut to the key length
  EXPECT_FALSE(pv_cdxKeyFromItem(&v, 'N', 8, true, k));  // another type gives no key
  pv_itemPutND(&v, -2.5);
  ASSERT_TRUE(pv_cdxKeyFromItem(&v, 'N', 8, true, k));
  auto expect = cdxKeyFromDouble(-2.5);
  EXPECT_EQ(k.bytes(), std::string(expect.begin(), expect.end()));
  pv_itemPutNL(&v, -1);
  ASSERT_TRUE(pv_cdxKeyFromItem(&v, 'I', 4, true, k));
  EXPECT_EQ(k.bytes(), std::string("\x7f\xff\xff\xff", 4));
  pv_itemPutL(&v, false);
  ASSERT_TRUE(pv_cdxKeyFromItem(&v, 'L', 1, true, k));
  EXPECT_EQ(k.bytes(), "F");
  pv_itemClear(&v);
}

}  // namespace
