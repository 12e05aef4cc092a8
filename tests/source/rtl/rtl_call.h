// Calls language functions the way the machine does (symbol, NIL, arguments, pv_vmDo) and
// records the argument errors they raise through a native error handler.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "codeblock.h"
#include "dynsym.h"
#include "errors.h"
#include "item.h"
#include "start.h"
#include "vm.h"

// One argument: built from a C++ value; Ref() passes an item by reference.
struct Arg {
  mutable PvItem item = {PV_IT_NIL, {}};
  PV_ITEM ref = nullptr;
  Arg(std::nullptr_t) {}
  Arg(const char* s) { pv_itemPutC(&item, s); }
  Arg(const std::string& s) { pv_itemPutCL(&item, s.data(), static_cast<PV_SIZE>(s.size())); }
  Arg(int n) { pv_itemPutNI(&item, n); }
  Arg(long long n) { pv_itemPutNInt(&item, n); }
  Arg(double d) { pv_itemPutND(&item, d); }
  Arg(bool b) { pv_itemPutL(&item, b); }
  Arg(PV_ITEM p) { pv_itemCopy(&item, p); }
  ~Arg() { pv_itemClear(&item); }
  static Arg Ref(PV_ITEM target) {
    Arg a(nullptr);
    a.ref = target;
    return a;
  }
  Arg(const Arg&) = delete;
  Arg(Arg&& o) : ref(o.ref) { pv_itemMove(&item, &o.item); }
};

// An error the handler saw.
struct SeenError {
  uint32_t gencode, subcode;
  std::string subsystem, operation;
  int argc;
};

class RtlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    pv_stackInit();
  }

  void SetUp() override {
    uint8_t end[] = {6};
    pv_codeblockNew(pv_errorBlock(), end, 1, nullptr, 0, nullptr, 0, true);
    handler_.cargo = this;
    pv_errorHandler(&handler_);
  }
  void TearDown() override {
    pv_errorHandler(nullptr);
    pv_itemClear(pv_errorBlock());
    pv_itemClear(&result_);
    pv_itemClear(&substitute_);
    pv_vmRequestReset();
  }

  // Calls function `name` with the arguments; the result stays valid until the next call.
  PV_ITEM call(const char* name, std::initializer_list<Arg> args = {}) {
    PvDynSym* d = pv_dynsymFind(name);
    EXPECT_NE(d, nullptr) << name << " is not registered";
    if (!d) return &result_;
    pv_vmPushSymbol(d->symbol);
    pv_vmPushNil();
    for (const Arg& a : args) {
      if (a.ref) pv_vmPushItemRef(a.ref);
      else pv_vmPush(&a.item);
    }
    pv_vmDo(static_cast<uint16_t>(args.size()));
    pv_itemCopy(&result_, pv_stackReturnItem());
    return &result_;
  }

  // Shortcuts for results.
  std::string str(const char* name, std::initializer_list<Arg> args = {}) {
    PV_ITEM r = call(name, args);
    EXPECT_TRUE(PV_IS_STRING(r)) << name << " gave type " << pv_itemTypeStr(r);
    return std::string(pv_itemGetCPtr(r), static_cast<size_t>(pv_itemGetCLen(r)));
  }
  double num(const char* name, std::initializer_list<Arg> args = {}) {
    PV_ITEM r = call(name, args);
    EXPECT_TRUE(PV_IS_NUMERIC(r)) << name << " gave type " << pv_itemTypeStr(r);
    return pv_itemGetND(r);
  }
  bool logical(const char* name, std::initializer_list<Arg> args = {}) {
    PV_ITEM r = call(name, args);
    EXPECT_TRUE(PV_IS_LOGICAL(r)) << name << " gave type " << pv_itemTypeStr(r);
    return pv_itemGetL(r);
  }

  // Expects that calling `name` raises exactly one BASE argument error with `subcode` and
  // returns the handler's substitute.
  void expectArgError(const char* name, uint32_t subcode, std::initializer_list<Arg> args,
                      uint32_t gencode = PV_EG_ARG) {
    errors_.clear();
    pv_itemPutC(&substitute_, "subst");
    PV_ITEM r = call(name, args);
    ASSERT_EQ(errors_.size(), 1u) << name;
    EXPECT_EQ(errors_[0].subsystem, "BASE");
    EXPECT_EQ(errors_[0].gencode, gencode) << name;
    EXPECT_EQ(errors_[0].subcode, subcode) << name;
    EXPECT_EQ(errors_[0].operation, name);
    EXPECT_EQ(errors_[0].argc, static_cast<int>(args.size()));
    EXPECT_STREQ(pv_itemGetCPtr(r), "subst") << name;
    pv_itemClear(&substitute_);
    errors_.clear();
  }

  std::vector<SeenError> errors_;
  PvItem substitute_ = {PV_IT_NIL, {}};

 private:
  static PV_ITEM onError(PvErrorHandler* h) {
    auto* self = static_cast<RtlTest*>(h->cargo);
    PV_ITEM args = pv_errGetArgs(h->error);
    self->errors_.push_back({pv_errGetGenCode(h->error), pv_errGetSubCode(h->error),
                             pv_errGetSubSystem(h->error), pv_errGetOperation(h->error),
                             static_cast<int>(pv_itemSize(args))});
    return &self->substitute_;
  }

  PvErrorHandler handler_{onError, nullptr, nullptr, nullptr, nullptr};
  PvItem result_ = {PV_IT_NIL, {}};
};

// An RtlTest with a fresh folder of its own (removed afterwards) for the files a test writes.
class RtlFolderTest : public RtlTest {
 protected:
  void SetUp() override {
    RtlTest::SetUp();
    char tmpl[] = "/tmp/rtl_test_XXXXXX";
    dir_ = ::mkdtemp(tmpl);
  }
  void TearDown() override {
    std::string cmd = "rm -rf " + dir_;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    RtlTest::TearDown();
  }
  std::string path(const std::string& name) { return dir_ + "/" + name; }
  std::string slurp(const std::string& name) {
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string dir_;
};
