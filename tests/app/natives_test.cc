// The natives xlforms adds: report files that never replace another one, the executable's whole
// path in backslash form, and the runtime figures of the error report.
#include <unistd.h>

#include "rtl_call.h"

namespace {

using AppNativesTest = RtlFolderTest;

TEST_F(AppNativesTest, ReportIsWrittenWithTheEndOfFileByte) {
  EXPECT_TRUE(logical("MEMOWRITNEW", {path("FEHLER_1.log"), std::string("a\r\nb\0c", 6)}));
  EXPECT_EQ(slurp("FEHLER_1.log"), std::string("a\r\nb\0c\x1a", 7));
}

TEST_F(AppNativesTest, AnExistingReportIsNeverReplaced) {
  std::ofstream(path("FEHLER_1.log")) << "first";
  EXPECT_FALSE(logical("MEMOWRITNEW", {path("FEHLER_1.log"), "second"}));
  EXPECT_EQ(slurp("FEHLER_1.log"), "first");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(AppNativesTest, BackslashPathsReachTheFile) {
  std::string windows = dir_;
  for (char& c : windows)
    if (c == '/') c = '\\';
  EXPECT_TRUE(logical("MEMOWRITNEW", {windows + "\\FEHLER_2.log", "x"}));
  EXPECT_EQ(slurp("FEHLER_2.log"), "x\x1a");
}

TEST_F(AppNativesTest, AFolderThatIsMissingRaisesACreateError) {
  pv_itemPutL(&substitute_, false);  // the default: nothing written
  EXPECT_FALSE(logical("MEMOWRITNEW", {path("missing/FEHLER_1.log"), "x"}));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].gencode, static_cast<uint32_t>(PV_EG_CREATE));
  EXPECT_EQ(errors_[0].operation, path("missing/FEHLER_1.log"));
}

TEST_F(AppNativesTest, WrongArgumentsRaiseAnArgumentError) {
  expectArgError("MEMOWRITNEW", 3012, {1, "x"});
  expectArgError("MEMOWRITNEW", 3012, {path("a.log")});
}

TEST_F(AppNativesTest, ModulePathIsTheWholeExecutablePathWithBackslashes) {
  char exe[4096];
  ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  std::string want(exe, static_cast<size_t>(n));
  for (char& c : want)
    if (c == '/') c = '\\';
  EXPECT_EQ(str("GETMODULEFILENAME", {num("GETINSTANCE")}), want);
}

TEST_F(AppNativesTest, RuntimeFiguresForTheReport) {
  EXPECT_EQ(str("VERSION").rfind("xlforms runtime ", 0), 0u);
  EXPECT_GE(num("NSTATICS"), 0);
  EXPECT_EQ(num("SETHANDLECOUNT", {95}), 95);
}

}  // namespace
