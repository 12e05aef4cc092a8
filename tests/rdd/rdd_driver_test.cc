// The driver registry and work areas at the C++ interface: inheritance of method tables and the
// super table, registration results, aliases, temporary aliases and field lookup by expression.
#include <gtest/gtest.h>

#include "array.h"
#include "dynsym.h"
#include "rddapi.h"
#include "test_util.h"
#include "vm.h"

namespace {

int g_calls = 0;
int CountingGoTop(PvArea* a, PvRddArgs* x) {
  ++g_calls;
  return pv_rddGetNode(a->driverNum)->super.slot[PV_RDD_GOTOP](a, x);  // the parent's goTop
}

int ChildTable(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super, uint16_t, PvRddNode* node) {
  *count = PV_RDD_SLOTS;
  PvRddFuncs own = {};
  own.slot[PV_RDD_GOTOP] = CountingGoTop;
  node->makeArea = pv_rddFindNode("DBF")->makeArea;
  return pv_rddInherit(table, &own, super, "DBF");
}

class DriverTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { pv_stackInit(); }
  void TearDown() override { pv_rddCloseAll(); }
  // Creates and opens t.dbf with fields NAME C(5) and QTY N(3) through `driver`.
  void createTable(const char* driver) {
    PvItem structure = {PV_IT_NIL, {}}, field = {PV_IT_NIL, {}};
    pv_arrayNew(&structure, 0);
    for (auto [name, type, len] : {std::tuple{"NAME", "C", 5}, std::tuple{"QTY", "N", 3}}) {
      pv_arrayNew(&field, 4);
      pv_arraySetC(&field, 1, name);
      pv_arraySetC(&field, 2, type);
      pv_arraySetNI(&field, 3, len);
      pv_arraySetNI(&field, 4, 0);
      pv_arrayAdd(&structure, &field);
    }
    ASSERT_EQ(pv_rddCreateTable(dir_.file("t.dbf").c_str(), driver, 0, "T", true, &structure),
              PV_SUCCESS);
    pv_itemClear(&structure);
    pv_itemClear(&field);
  }
  pv::test::ScratchDir dir_;
};

TEST_F(DriverTest, RegistrationResults) {
  EXPECT_EQ(pv_rddRegister("DBF", 1), 1);     // there already
  EXPECT_EQ(pv_rddRegister("NOSUCH", 1), 2);  // no table function
  pv_rddRegisterFuncTable("BROKEN", [](uint16_t*, PvRddFuncs*, PvRddFuncs*, uint16_t, PvRddNode*) {
    return 1;
  });
  EXPECT_EQ(pv_rddRegister("BROKEN", 1), 3);
  EXPECT_EQ(pv_rddFindNode("BROKEN"), nullptr);
  EXPECT_EQ(pv_rddDefaultDrv("nosuch"), nullptr);
}

TEST_F(DriverTest, InheritedTablesCallTheParentThroughTheSuperTable) {
  pv_rddRegisterFuncTable("COUNTING", ChildTable);
  ASSERT_EQ(pv_rddRegister("counting", 1), 0);
  uint16_t number = 0;
  PvRddNode* node = pv_rddFindNode("COUNTING", &number);
  ASSERT_NE(node, nullptr);
  PvRddNode* dbf = pv_rddFindNode("DBF");
  EXPECT_EQ(node->super.slot[PV_RDD_GOTOP], dbf->table.slot[PV_RDD_GOTOP]);
  EXPECT_EQ(node->table.slot[PV_RDD_SKIP], dbf->table.slot[PV_RDD_SKIP]);
  createTable("COUNTING");
  int before = g_calls;
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  pv_rddCall(a, PV_RDD_GOTOP);  // open went to the top through the override too
  EXPECT_EQ(g_calls, before + 1);
  PvItem name = {PV_IT_NIL, {}};
  PvRddArgs x;
  x.item = &name;
  pv_rddCall(a, PV_RDD_SYSNAME, &x);
  EXPECT_STREQ(pv_itemGetCPtr(&name), "COUNTING");
  pv_itemClear(&name);
}

TEST_F(DriverTest, FieldsByExpressionAndTemporaryAliases) {
  createTable("DBF");
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  EXPECT_EQ(pv_rddFieldIndex(a, "  qty "), 2);
  EXPECT_EQ(pv_rddFieldExpIndex(a, "t->QTY"), 2);
  EXPECT_EQ(pv_rddFieldExpIndex(a, "field -> name"), 1);
  EXPECT_EQ(pv_rddFieldExpIndex(a, "_FIEL->NAME"), 1);
  EXPECT_EQ(pv_rddFieldExpIndex(a, "FIE->NAME"), 0);  // too short to be FIELD
  EXPECT_EQ(pv_rddFieldExpIndex(a, "OTHER->NAME"), 0);
  EXPECT_EQ(pv_rddGetTempAlias(), "__PVTMP001");
  int area = 0;
  EXPECT_EQ(pv_rddGetAliasNumber("t", &area), PV_SUCCESS);
  EXPECT_EQ(area, a->areaNum);
  EXPECT_EQ(pv_rddGetAliasNumber(" 12", &area), PV_SUCCESS);
  EXPECT_EQ(area, 12);
  EXPECT_EQ(pv_rddGetAliasNumber("k", &area), PV_SUCCESS);
  EXPECT_EQ(area, 11);
  EXPECT_EQ(pv_rddGetAliasNumber("m ", &area), PV_SUCCESS);
  EXPECT_EQ(area, 65535);
  EXPECT_FALSE(pv_rddVerifyAliasName("1ab"));
  EXPECT_TRUE(pv_rddVerifyAliasName("_a1  "));
  pv_rddReleaseCurrentArea();
  EXPECT_EQ(pv_rddGetAliasNumber("T", &area), PV_FAILURE);  // unbound when closed
}

}  // namespace
