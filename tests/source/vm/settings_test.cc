// The settings record: defaults, validation, the century coupling and listeners.
#include <gtest/gtest.h>

#include <vector>

#include "codeblock.h"
#include "errors.h"
#include "runtime_fixture.h"
#include "set.h"

namespace {

struct SetCall {
  PvItem old = {PV_IT_NIL, {}};
  PvItem value = {PV_IT_NIL, {}};
  ~SetCall() {
    pv_itemClear(&old);
    pv_itemClear(&value);
  }
};

std::vector<int> g_events;
void listener(int setting, int after) { g_events.push_back(setting * 10 + after); }

PV_ITEM defaultAnswer(PvErrorHandler*) {
  static PvItem f = {PV_IT_LOGICAL, {}};
  return &f;
}

class SettingsTest : public RuntimeTest {
 protected:
  void SetUp() override { pv_setInitialize(); }
};

TEST_F(SettingsTest, DateFormatSetsTheCentury) {
  SetCall c;
  pv_itemPutC(&c.value, "dd.mm.yyyy");
  pv_setGetSet(PV_SET_DATEFORMAT, &c.value, nullptr, &c.old);
  EXPECT_STREQ(pv_itemGetCPtr(&c.old), "mm/dd/yy");
  EXPECT_TRUE(pv_setCentury());
  pv_itemPutC(&c.value, "dd.mm.yy");
  pv_setGetSet(PV_SET_DATEFORMAT, &c.value, nullptr, &c.old);
  EXPECT_FALSE(pv_setCentury());
}

TEST_F(SettingsTest, CenturyRewritesTheDateFormat) {
  SetCall c;
  pv_itemPutC(&c.value, "dd.mm.yy");
  pv_setGetSet(PV_SET_DATEFORMAT, &c.value, nullptr, &c.old);
  pv_itemPutL(&c.value, true);
  EXPECT_FALSE(pv_setCenturySet(&c.value));
  EXPECT_STREQ(pv_setDateFormat(), "DD.MM.YYYY");
  pv_setInitialize();
  pv_itemPutC(&c.value, "ON");
  pv_setCenturySet(&c.value);
  EXPECT_STREQ(pv_setDateFormat(), "MM/DD/YYYY");
}

TEST_F(SettingsTest, ReadWithoutChangeAndLogicalTexts) {
  SetCall c;
  pv_setGetSet(PV_SET_EXCLUSIVE, nullptr, nullptr, &c.old);
  EXPECT_TRUE(pv_itemGetL(&c.old));
  EXPECT_TRUE(pv_setExclusive());
  pv_itemPutC(&c.value, "off");
  pv_setGetSet(PV_SET_EXCLUSIVE, &c.value, nullptr, &c.old);
  EXPECT_FALSE(pv_setExclusive());
  pv_itemPutNI(&c.value, 3);  // not a logical: unchanged
  pv_setGetSet(PV_SET_EXCLUSIVE, &c.value, nullptr, &c.old);
  EXPECT_FALSE(pv_setExclusive());
}

TEST_F(SettingsTest, NegativeEpochRaisesAndKeepsTheOldValue) {
  uint8_t end[] = {6};
  pv_codeblockNew(pv_errorBlock(), end, 1, nullptr, 0, nullptr, 0, true);
  PvErrorHandler h{[](PvErrorHandler* self) -> PV_ITEM {
                     EXPECT_EQ(pv_errGetSubCode(self->error), 2020u);
                     EXPECT_STREQ(pv_errGetOperation(self->error), "SET");
                     pv_errPutFlags(self->error, PV_ERR_FLAG_DEFAULT);
                     return defaultAnswer(self);
                   },
                   nullptr, nullptr, nullptr, nullptr};
  pv_errorHandler(&h);
  SetCall c;
  pv_itemPutNI(&c.value, -1);
  pv_setGetSet(PV_SET_EPOCH, &c.value, nullptr, &c.old);
  EXPECT_EQ(pv_setEpoch(), 1900);
  pv_errorHandler(nullptr);
}

TEST_F(SettingsTest, ListenersHearBeforeAndAfter) {
  g_events.clear();
  int id = pv_setListenerAdd(listener);
  SetCall c;
  pv_itemPutL(&c.value, true);
  pv_setGetSet(PV_SET_DELETED, &c.value, nullptr, &c.old);
  pv_setCenturySet(&c.value);
  pv_setListenerRemove(id);
  pv_setGetSet(PV_SET_DELETED, &c.value, nullptr, &c.old);
  EXPECT_EQ(g_events, (std::vector<int>{110, 111, 40, 41}));
}

TEST_F(SettingsTest, PathIsSplit) {
  SetCall c;
  pv_itemPutC(&c.value, "a;b;;c");
  pv_setGetSet(PV_SET_PATH, &c.value, nullptr, &c.old);
  EXPECT_EQ(pv_setPathList().size(), 3u);
}

}  // namespace
