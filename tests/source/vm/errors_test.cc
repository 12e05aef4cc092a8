// Error objects and the launch protocol: verdicts, substitution, nesting, requests.
#include <gtest/gtest.h>

#include "array.h"
#include "classes.h"
#include "codeblock.h"
#include "errors.h"
#include "runtime_fixture.h"
#include "set.h"

namespace {

PvItem g_answer = {PV_IT_NIL, {}};
int g_calls = 0;
bool g_nest = false;
bool g_break = false;

PV_ITEM answer(PvErrorHandler*) {
  ++g_calls;
  if (g_nest) pv_errRT_BASE(1, 1, nullptr, "nested", 0);
  if (g_break) pv_vmRequestBreak(nullptr);
  return &g_answer;
}

class ErrorTest : public RuntimeTest {
 protected:
  PvErrorHandler handler{answer, nullptr, nullptr, nullptr, nullptr};
  void SetUp() override {
    uint8_t end[] = {6};
    pv_codeblockNew(pv_errorBlock(), end, 1, nullptr, 0, nullptr, 0, true);
    pv_errorHandler(&handler);
    g_calls = 0;
    g_nest = g_break = false;
    pv_itemClear(&g_answer);
  }
  void TearDown() override {
    pv_errorHandler(nullptr);
    pv_vmRequestReset();
  }
};

TEST_F(ErrorTest, ObjectFieldsInDeclarationOrder) {
  PV_ITEM e = pv_errRT_New(2, nullptr, 5, 1340, nullptr, "/", 0, PV_ERR_FLAG_SUBSTITUTE);
  EXPECT_STREQ(pv_objGetClsName(e), "ERROR");
  EXPECT_EQ(pv_arrayLen(e), PV_ERRF_COUNT);
  EXPECT_STREQ(pv_errGetSubSystem(e), "BASE");
  EXPECT_STREQ(pv_errGetDescription(e), "Zero divisor");
  EXPECT_EQ(pv_errGetFlags(e), PV_ERR_FLAG_SUBSTITUTE);
  EXPECT_TRUE(pv_itemGetL(pv_arrayGetItemPtr(e, PV_ERRF_CANSUBSTITUTE)));
  EXPECT_EQ(pv_errGetSeverity(e), 2);
  EXPECT_TRUE(PV_IS_ARRAY(pv_arrayGetItemPtr(e, PV_ERRF_AASTACK)));
  pv_errRelease(e);
}

TEST_F(ErrorTest, DefaultAndRetryFollowTheFlags) {
  pv_itemPutL(&g_answer, false);
  EXPECT_EQ(pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, "DBSKIP"), PV_ERR_DEFAULT);
  pv_itemPutL(&g_answer, true);
  PV_ITEM e = pv_errRT_New(2, nullptr, 14, 1003, nullptr, "X", 0, PV_ERR_FLAG_RETRY);
  EXPECT_EQ(pv_errLaunch(e), PV_ERR_RETRY);
  EXPECT_EQ(pv_errGetTries(e), 1);
  pv_errRelease(e);
}

TEST_F(ErrorTest, RetryWithoutCanRetryIsRecoveryFailure) {
  pv_itemPutL(&g_answer, true);
  EXPECT_EXIT(pv_errRT_BASE(1, 1099, nullptr, "X", 0), ::testing::ExitedWithCode(1),
              "Unrecoverable error 9001: Error recovery failure");
}

TEST_F(ErrorTest, SubstitutionReturnsTheHandlersValue) {
  pv_itemPutNI(&g_answer, 0);
  PV_ITEM v = pv_errRT_BASE_Subst(5, 1340, nullptr, "/", 0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(pv_itemGetNI(v), 0);
  EXPECT_TRUE(PV_IS_NUMERIC(v));
  pv_itemRelease(v);
}

TEST_F(ErrorTest, NinthNestedLaunchIsTooManyRecursiveCalls) {
  g_nest = true;
  EXPECT_EXIT(
      {
        pv_errRT_BASE(1, 1, nullptr, "outer", 0);
      },
      ::testing::ExitedWithCode(1), "Unrecoverable error 9003: Too many recursive error handler calls");
}

TEST_F(ErrorTest, BreakInTheHandlerAbandonsTheOperation) {
  g_break = true;
  EXPECT_EQ(pv_errRT_BASE(1, 1, nullptr, "X", 0), PV_ERR_BREAK);
  EXPECT_TRUE(pv_vmRequestQuery() & PV_BREAK_REQUESTED);
  // With a request pending, a launch reports break at once without calling the handler.
  g_calls = 0;
  PvItem e = {PV_IT_NIL, {}};
  EXPECT_EQ(pv_errLaunch(&e), PV_ERR_BREAK);
  EXPECT_EQ(g_calls, 0);
}

TEST_F(ErrorTest, NoErrorBlockIsInternalError) {
  pv_itemClear(pv_errorBlock());
  EXPECT_EXIT(pv_errRT_BASE(1, 1, nullptr, "X", 0), ::testing::ExitedWithCode(1),
              "Unrecoverable error 9002: No ERRORBLOCK\\(\\) for error");
}

TEST_F(ErrorTest, DosErrorRemembersTheOsCode) {
  pv_itemPutL(&g_answer, false);
  pv_errRT_BASE_Ext1(21, 1001, nullptr, "FOPEN", 2, PV_ERR_FLAG_DEFAULT, 0);
  EXPECT_EQ(pv_errDosError(), 2u);
}

TEST_F(ErrorTest, GenericTexts) {
  EXPECT_STREQ(pv_errGenCodeText(41), "Lock Failure");
  EXPECT_STREQ(pv_errGenCodeText(9), "");
  EXPECT_STREQ(pv_errGenCodeText(35), "Workarea not in use");
}

}  // namespace
