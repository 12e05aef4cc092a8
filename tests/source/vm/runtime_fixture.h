// A runtime ready for tests: the stack exists. Internal errors end the process as they do in
// the program, so tests check them as death tests.
#pragma once

#include <gtest/gtest.h>

#include "errint.h"
#include "start.h"
#include "vm.h"

class RuntimeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    pv_stackInit();
  }
};
